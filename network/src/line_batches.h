#ifndef FILUM_NETWORK_LINE_BATCHES_H
#define FILUM_NETWORK_LINE_BATCHES_H

// The lines of an analyzed network meshed in batches of consecutive lines, each batch on
// its own and into its own storage, so that batches can run on any thread and be appended
// afterwards in line order with the same bits.

#include <cstddef>
#include <cstdint>
#include <vector>

#include <vorn/dense.h>
#include <vorn/filum/network.h>

#include "remesh/network_analysis.h"
#include "remesh/network_line.h"

namespace vorn {
namespace filum {

/// \brief What the batches share: the network, its analysis and the settings.
struct batch_job {
  const dense2D<double>* pos;
  const dense2D<unsigned>* connectM;
  const line_network* net;
  const dense1D<double>* lengths;  ///< line_length of every line
  remesh_settings settings;
  placement node_placement;
  unsigned min_closed_elements;
  double min_closed_length;
};

/// \brief The working storage of one thread, reserved for the longest line once and
/// reused by every line it meshes.
struct batch_buffers {
  line_work work;                  ///< chain, sizes, padded chain and mesher outputs
  dense1D<unsigned> global_chain;  ///< the line's nodes under their network identifiers
  dense2D<double> local_pos;       ///< the line's nodes, then the new nodes of its mesh
  dense1D<double> node_params;     ///< spline piece parameters for on_curve placement
  bool ready = false;

  /// \brief Storage for lines of up to `elements` elements. \return false when it fails.
  bool reserve(std::size_t rows, std::size_t elements) noexcept;
};

/// \brief The mesh of consecutive lines [first_line, last_line).
struct line_batch {
  std::size_t first_line = 0;
  std::size_t last_line = 0;
  dense2D<double> new_pos;       ///< the new nodes of every line, in line order
  dense1D<std::int64_t> chains;  ///< each line's chain: a node >= 0, or new node -1 - k
  dense1D<unsigned> chain_ends;  ///< end of each line's chain in chains
  int code = 0;                  ///< 0, or the first failure of the batch
};

/// \brief Splits the lines into batches of consecutive lines of about `elements` elements
/// each, in line order. \return false when storage fails.
bool make_batches(const line_network& net, std::size_t elements,
                  std::vector<line_batch>& batches) noexcept;

/// \brief Meshes the lines of a batch; their records go to records[line].
template <std::size_t D>
void mesh_batch(const batch_job& job, batch_buffers& buffers, line_batch& batch,
                line_record* records) noexcept;

extern template void mesh_batch<2>(const batch_job&, batch_buffers&, line_batch&,
                                   line_record*) noexcept;
extern template void mesh_batch<3>(const batch_job&, batch_buffers&, line_batch&,
                                   line_record*) noexcept;

}  // namespace filum
}  // namespace vorn

#endif
