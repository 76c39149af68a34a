#ifndef FILUM_REMESH_DETECT_CORNERS_H
#define FILUM_REMESH_DETECT_CORNERS_H

// Hard nodes of a line network found from its topology and geometry: free ends,
// nodes where two elements meet head to head, and corners where the direction turns
// by more than a threshold angle between two edges longer than a minimum size.

#include <cstddef>

#include <vorn/dense.h>

#include "remesh/node_set.h"

namespace vorn {
namespace filum {

/// \brief Adds the free ends, head-to-head nodes and corners of an E2 network to a set.
///
/// Each element e = [a, b] is judged at its end b with the element f = neighbors(0, e)
/// that follows it; a is inserted only when e has no element before it (a free start).
/// b is inserted when e has no follower, when f also ends at b, or when both edges are
/// longer than min_size (|u|^2 > min_size^2 and |v|^2 > min_size^2, u = b - a and v the
/// vector of f) and d = u.v satisfies d <= 0 or d^2 < |u|^2 c2 |v|^2, with c2 = min(c^2,
/// 0.999999999999) and c = cos(corner_angle in radians). Neighbor entries not below E
/// (0xFFFFFFFF among them) count as no neighbor.
/// \param[in] pos coordinates, at least D rows; every node of connectM is a column.
/// \param[in] connectM E2 elements; only rows 0 and 1 are read.
/// \param[in] neighbors 2 x E: row 0 the element after e (sharing its end node), row 1
/// the element before it (sharing its start node).
/// \param[in] corner_angle threshold turning angle, in degrees.
/// \param[in] min_size edges not longer than this never make a corner.
/// \param[in,out] hard_nodes only added to.
/// \return 0, or -199 when an insertion could not obtain storage (the nodes found before
/// are in the set).
template <std::size_t D>
int detect_corners(const dense2D<double>& pos, const dense2D<unsigned>& connectM,
                   const dense2D<unsigned>& neighbors, double corner_angle, double min_size,
                   node_set& hard_nodes) noexcept;

/// \brief The nodes detect_corners adds for the elements [first, last) alone, appended to
/// nodes in element order (a node may come more than once): ranges of elements can be
/// judged apart and their nodes added to the set in any order.
/// \param[in] pos, connectM, neighbors, corner_angle, min_size as for detect_corners.
/// \param[in] first first element judged.
/// \param[in] last one past the last element judged, at most E.
/// \param[in,out] nodes only appended to.
/// \return false when an append could not obtain storage.
template <std::size_t D>
bool corner_nodes(const dense2D<double>& pos, const dense2D<unsigned>& connectM,
                  const dense2D<unsigned>& neighbors, double corner_angle, double min_size,
                  std::size_t first, std::size_t last, dense1D<unsigned>& nodes) noexcept;

extern template int detect_corners<2>(const dense2D<double>&, const dense2D<unsigned>&,
                                      const dense2D<unsigned>&, double, double, node_set&) noexcept;
extern template int detect_corners<3>(const dense2D<double>&, const dense2D<unsigned>&,
                                      const dense2D<unsigned>&, double, double, node_set&) noexcept;

}  // namespace filum
}  // namespace vorn

#endif
