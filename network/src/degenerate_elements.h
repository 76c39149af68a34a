#ifndef FILUM_NETWORK_DEGENERATE_ELEMENTS_H
#define FILUM_NETWORK_DEGENERATE_ELEMENTS_H

// Elements that real line data often holds and that no line can be made of: [a, a], an
// element whose two nodes stand at the same place, and an element given twice.

#include <cstddef>

#include <vorn/dense.h>

#include "node_ends.h"

namespace vorn {
namespace filum {

/// \brief How many elements of each kind were found.
struct degenerate_counts {
  std::size_t self_loops = 0;
  std::size_t zero_length = 0;
  std::size_t duplicates = 0;

  std::size_t total() const noexcept { return self_loops + zero_length + duplicates; }
};

/// \brief The network without its degenerate elements. An element that joins the same two
/// nodes as an earlier one (in either direction) is a duplicate; the first stays.
/// \param[in] pos coordinates, every node of connectM a column.
/// \param[in] connectM E2 elements, rows 0 and 1 read.
/// \param[in] colors one color per element, or fewer (the rest have none).
/// \param[in] hard_edges element identifiers below E.
/// \param[out] counts what was found.
/// \param[out] kept_connectM, kept_colors, kept_hard_edges the network that remains, with
/// the hard edges renumbered; filled only when something was dropped.
/// \param[out] ends the element ends at each node of the network that remains.
/// \param[in] threads threads for the per-element passes (0 or 1: this thread); the result
/// is the same on any.
/// \return 0, or -199 when storage fails.
int drop_degenerate_elements(const dense2D<double>& pos, const dense2D<unsigned>& connectM,
                             const dense1D<unsigned>& colors, const dense1D<unsigned>& hard_edges,
                             degenerate_counts& counts, dense2D<unsigned>& kept_connectM,
                             dense1D<unsigned>& kept_colors, dense1D<unsigned>& kept_hard_edges,
                             node_ends& ends, unsigned threads = 1) noexcept;

}  // namespace filum
}  // namespace vorn

#endif
