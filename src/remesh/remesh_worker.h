#ifndef FILUM_REMESH_REMESH_WORKER_H
#define FILUM_REMESH_REMESH_WORKER_H

// The checked body of remesh_lines: a line network is cut into lines at its hard nodes,
// every line is remeshed on its own (through a spline or along its polyline) and the new
// lines replace the old elements.

#include <cstddef>

#include <vorn/dense.h>

#include "remesh/network_analysis.h"

namespace vorn {
namespace filum {

/// \brief Remeshes a checked, non-empty E2 network whose nodes have D coordinates.
///
/// Lines are cut at free ends, head-to-head nodes, corners, the nodes of hard edges, the
/// given hard nodes not above the largest node identifier N, and color changes (when
/// colors is not empty). Every node is sized default_size, lowered at each line end to the
/// line's length (at least min_size) and overridden by a positive node_sizes entry. A
/// hard edge that forms a line alone is kept as it is; any other line is meshed by
/// mesh_spline when chordal_tol is not 0, and by mesh_line with sizes when chordal_tol >= 0
/// and the spline strays more than chordal_tol from the polyline (chordal_tol = 0: always,
/// with a tolerance of 1e-12 of the line's length). Each line takes the first real color
/// of its elements, or a new one above every color in use.
/// \param[in,out] pos D rows; the new nodes are appended; on failure back to its columns
/// at entry.
/// \param[in,out] connectM E2 elements (rows 0 and 1 read), every node a column of pos;
/// replaced on success by the new elements, line after line.
/// \param[in] node_sizes per node identifier; an entry > 0 overrides the size of the node.
/// \param[in,out] colors one color per element (no_id: none); replaced on success by one
/// color per new element.
/// \param[in,out] hard_nodes replaced on success by every hard node, ascending.
/// \param[in] hard_edges element identifiers, each a column of connectM.
/// \param[in] settings checked scalar settings.
/// \return 0; -199 when storage fails; the negative code of the neighbor or color
/// boundary search, of a line mesher or of the chain conversion. connectM, colors and
/// hard_nodes are unchanged by a failed call.
template <std::size_t D>
int remesh_lines_worker(dense2D<double>& pos, dense2D<unsigned>& connectM,
                        const dense1D<double>& node_sizes, dense1D<unsigned>& colors,
                        dense1D<unsigned>& hard_nodes, const dense1D<unsigned>& hard_edges,
                        const remesh_settings& settings) noexcept;

extern template int remesh_lines_worker<2>(dense2D<double>&, dense2D<unsigned>&,
                                           const dense1D<double>&, dense1D<unsigned>&,
                                           dense1D<unsigned>&, const dense1D<unsigned>&,
                                           const remesh_settings&) noexcept;
extern template int remesh_lines_worker<3>(dense2D<double>&, dense2D<unsigned>&,
                                           const dense1D<double>&, dense1D<unsigned>&,
                                           dense1D<unsigned>&, const dense1D<unsigned>&,
                                           const remesh_settings&) noexcept;

}  // namespace filum
}  // namespace vorn

#endif
