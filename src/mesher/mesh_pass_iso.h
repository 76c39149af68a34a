#ifndef FILUM_MESHER_MESH_PASS_ISO_H
#define FILUM_MESHER_MESH_PASS_ISO_H

// One meshing pass over a chain that carries a size at each entry: N elements of equal
// normalized length, whose interior nodes are placed along the chain's segments with
// geometric progressions of element lengths.

#include <cstddef>
#include <cstdint>

#include <vorn/dense.h>

namespace vorn {
namespace filum {

/// \brief The element count of a pass over a chain of total normalized length T: the nearest
/// count (a multiple of 2 under force_even), at least 1, raised to min_count, lowered to
/// max_count, and finally made even under force_even (which may exceed an odd max_count).
/// Shared by the size and the metric passes.
std::uint64_t element_count(double T, bool force_even, std::uint64_t min_count,
                            std::uint64_t max_count) noexcept;

/// \brief Replaces a cumulative normalized length that overflowed (sizes or metrics that ask
/// for more elements than a double counts) by the cumulative length, c[0] = 0: the pass then
/// takes the count capped by max_count and spaces its nodes evenly.
/// \return whether the cumulative length is finite (when it is not, the pass adds no node).
bool cumulate_length_on_overflow(const dense2D<double>& pos, const dense1D<unsigned>& chain,
                                 double* c) noexcept;

/// \brief Places the N - 1 interior nodes of a new discretisation of a chain with sizes.
///
/// The chain's end nodes are the ends of the new discretisation; its interior entries are not
/// kept. No node is created when the total normalized length is below min_length or NaN,
/// when N = 1, when the chain has a single entry, or when the outputs cannot be reserved.
/// The caller guarantees: identifiers are columns of pos (D rows), params is empty or has
/// one value per entry, sizes has one positive value per entry, min_count <= max_count.
/// \param[in] pos coordinates of the chain's nodes.
/// \param[in] chain n >= 1 node identifiers in line order.
/// \param[in] params parameter of each chain entry, or empty.
/// \param[in] sizes target size of each chain entry (by position in the chain).
/// \param[in] min_length total normalized length below which no node is created.
/// \param[in] force_even the element count must be even.
/// \param[in] min_count minimum element count.
/// \param[in] max_count maximum element count.
/// \param[out] new_pos coordinates of the new nodes (D rows, one column each), rebuilt.
/// \param[out] new_sizes size of each new node, interpolated, rebuilt.
/// \param[out] new_params parameter of each new node when params is not empty, rebuilt.
template <std::size_t D>
void mesh_pass_iso(const dense2D<double>& pos, const dense1D<unsigned>& chain,
                   const dense1D<double>& params, const dense1D<double>& sizes, double min_length,
                   bool force_even, std::uint64_t min_count, std::uint64_t max_count,
                   dense2D<double>& new_pos, dense1D<double>& new_sizes,
                   dense1D<double>& new_params) noexcept;

extern template void mesh_pass_iso<2>(const dense2D<double>&, const dense1D<unsigned>&,
                                      const dense1D<double>&, const dense1D<double>&, double, bool,
                                      std::uint64_t, std::uint64_t, dense2D<double>&,
                                      dense1D<double>&, dense1D<double>&) noexcept;
extern template void mesh_pass_iso<3>(const dense2D<double>&, const dense1D<unsigned>&,
                                      const dense1D<double>&, const dense1D<double>&, double, bool,
                                      std::uint64_t, std::uint64_t, dense2D<double>&,
                                      dense1D<double>&, dense1D<double>&) noexcept;

}  // namespace filum
}  // namespace vorn

#endif
