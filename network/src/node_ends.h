#ifndef FILUM_NETWORK_NODE_ENDS_H
#define FILUM_NETWORK_NODE_ENDS_H

// The element ends that meet at each node of an E2 network, found with one pass over the
// elements and arrays indexed by node: the neighbor table and the repeated elements
// follow from them in linear time, with 9 bytes per node of working storage.

#include <cstddef>

#include <vorn/dense.h>

namespace vorn {
namespace filum {

/// \brief Per node: how many element ends meet there (held at 3 for three or more) and
/// the first two, each as the end code 2 e + side (side 0 the start, 1 the end of e).
struct node_ends {
  dense1D<unsigned> first, second;
  dense1D<unsigned char> count;

  /// \brief Gathers the ends of the elements of connectM not marked in skip (skip may be
  /// empty), on `threads` threads (0 or 1: this thread); the same result on any.
  /// \return false when storage fails.
  bool gather(const dense2D<unsigned>& connectM, const dense1D<unsigned char>& skip,
              unsigned threads = 1) noexcept;

  /// \brief The end met at node v other than end code `end`, when exactly two meet there;
  /// no_id otherwise.
  unsigned other_end(unsigned v, unsigned end) const noexcept;
};

/// \brief The neighbor table of the network, as tessa::get_neighbors gives it: row 0 of
/// column e the other element whose end lies at connectM(1, e) when exactly two element
/// ends meet there, row 1 likewise for connectM(0, e); no_id otherwise (also where one
/// element has both ends).
/// \param[in] threads threads to fill it with (0 or 1: this thread); same result on any.
/// \return false when storage fails.
bool neighbor_table(const dense2D<unsigned>& connectM, const node_ends& ends,
                    dense2D<unsigned>& neighbors, unsigned threads = 1) noexcept;

}  // namespace filum
}  // namespace vorn

#endif
