#ifndef FILUM_REMESH_NETWORK_LINE_H
#define FILUM_REMESH_NETWORK_LINE_H

// Meshing of one line of an analyzed network: its padded chain and sizes, and the mesher
// of its path (the spline, or the polyline when the spline strays or is not tried).

#include <cstddef>

#include <vorn/dense.h>

#include "remesh/network_analysis.h"

namespace vorn {
namespace filum {

/// \brief The per-line working vectors, reserved once for the longest line and reused by
/// every line, and the outputs of the line meshers, which keep their storage from line to
/// line.
struct line_work {
  dense1D<unsigned> chain;         ///< the line's nodes in walking order
  dense1D<double> sizes;           ///< their sizes
  dense1D<unsigned> padded_chain;  ///< ghost, the line's nodes, ghost
  dense1D<double> padded_sizes;
  dense1D<unsigned> new_indices;
  dense1D<double> new_params;
  dense1D<double> new_sizes;
  double max_deviation = 0;  ///< of the spline, when it was tried
  bool spline_used = false;  ///< whether new_indices came from the spline

  /// \brief Storage for lines of up to `elements` elements. \return false when it fails.
  bool reserve(std::size_t elements) noexcept;
};

/// \brief Fills w.sizes from the network's sizes of w.chain, and the padded chain and
/// sizes of the spline: a closed line takes its neighbors across the closing node as
/// ghosts, an open one repeats its ends. \return false when storage fails.
bool pad_line(const line_network& net, line_work& w) noexcept;

/// \brief Meshes the line in w.chain (padded by pad_line) into w.new_indices: through the
/// spline when chordal_tol is not 0, along the polyline when chordal_tol >= 0 and the
/// spline strays beyond it or was not tried (chordal_tol = 0: with a tolerance of 1e-12 of
/// the line's length). pos keeps only the new nodes of the mesh that stands.
/// \return 0 or the negative code of the mesher.
template <std::size_t D>
int mesh_line_nodes(dense2D<double>& pos, const remesh_settings& s, line_work& w) noexcept;

extern template int mesh_line_nodes<2>(dense2D<double>&, const remesh_settings&,
                                       line_work&) noexcept;
extern template int mesh_line_nodes<3>(dense2D<double>&, const remesh_settings&,
                                       line_work&) noexcept;

/// \brief Whether a mesher's chain is whole: at least one element, from s to t, over
/// columns of pos. A mesher that ran out of storage inside may leave less.
bool is_whole_chain(const dense1D<unsigned>& chain, unsigned s, unsigned t,
                    const dense2D<double>& pos) noexcept;

}  // namespace filum
}  // namespace vorn

#endif
