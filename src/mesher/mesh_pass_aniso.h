#ifndef FILUM_MESHER_MESH_PASS_ANISO_H
#define FILUM_MESHER_MESH_PASS_ANISO_H

// One meshing pass over a chain that carries a metric tensor at each entry: the metric
// counterpart of the size pass. Segments are measured in their end metrics along their own
// direction, and each new node gets the metric interpolated between the two end metrics of
// its segment in their common basis.

#include <cstddef>
#include <cstdint>

#include <vorn/dense.h>

namespace vorn {
namespace filum {

/// \brief Places the N - 1 interior nodes of a new discretisation of a chain with metrics.
///
/// A segment e with end metrics M0, M1 has the normalized length of a segment whose sizes are
/// |e| / l0 and |e| / l1, with l = sqrt(e' M e); a segment that is not measurable in both
/// ends counts 0 and puts its nodes at its start. The element count follows element_count.
/// The end metrics of a segment that receives nodes are reduced once; a pair that cannot be
/// reduced or interpolated, like a storage failure, leaves all three outputs empty.
/// The caller guarantees: identifiers are columns of pos (D rows), params is empty or has
/// one value per entry, metrics has one valid column per entry (D (D + 1) / 2 rows),
/// min_count <= max_count.
/// \param[in] pos coordinates of the chain's nodes.
/// \param[in] chain n >= 1 node identifiers in line order.
/// \param[in] params parameter of each chain entry, or empty.
/// \param[in] metrics packed metric of each chain entry (by position in the chain).
/// \param[in] min_length total normalized length below which no node is created.
/// \param[in] force_even the element count must be even.
/// \param[in] min_count minimum element count.
/// \param[in] max_count maximum element count.
/// \param[out] new_pos coordinates of the new nodes (D rows, one column each), rebuilt.
/// \param[out] new_metrics metric of each new node (one column each), rebuilt.
/// \param[out] new_params parameter of each new node when params is not empty, rebuilt.
template <std::size_t D>
void mesh_pass_aniso(const dense2D<double>& pos, const dense1D<unsigned>& chain,
                     const dense1D<double>& params, const dense2D<double>& metrics,
                     double min_length, bool force_even, std::uint64_t min_count,
                     std::uint64_t max_count, dense2D<double>& new_pos,
                     dense2D<double>& new_metrics, dense1D<double>& new_params) noexcept;

extern template void mesh_pass_aniso<2>(const dense2D<double>&, const dense1D<unsigned>&,
                                        const dense1D<double>&, const dense2D<double>&, double,
                                        bool, std::uint64_t, std::uint64_t, dense2D<double>&,
                                        dense2D<double>&, dense1D<double>&) noexcept;
extern template void mesh_pass_aniso<3>(const dense2D<double>&, const dense1D<unsigned>&,
                                        const dense1D<double>&, const dense2D<double>&, double,
                                        bool, std::uint64_t, std::uint64_t, dense2D<double>&,
                                        dense2D<double>&, dense1D<double>&) noexcept;

}  // namespace filum
}  // namespace vorn

#endif
