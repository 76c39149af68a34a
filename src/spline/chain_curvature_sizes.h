#ifndef FILUM_SPLINE_CHAIN_CURVATURE_SIZES_H
#define FILUM_SPLINE_CHAIN_CURVATURE_SIZES_H

// Element lengths allowed by the spline's curvature at the nodes of a padded chain.

#include <cstddef>

#include <vorn/dense.h>

namespace vorn {
namespace filum {

/// \brief One chordal size per entry of a padded chain, from the spline's curvature at
/// its nodes: at an interior node the mean of the end curvature of the piece before and
/// the start curvature of the piece after it; each ghost repeats its end node's size.
/// A chain of fewer than 4 entries leaves sizes empty.
/// \param[in] pos coordinates with D rows.
/// \param[in] chain padded chain (valid columns of pos), as made by turning_chain.
/// \param[in] e chordal-error setting (>= 0 a distance, < 0 a fraction of the radius).
/// \param[out] sizes one size per entry of chain, the largest double for no limit
/// (emptied first).
template <std::size_t D>
void chain_curvature_sizes(const dense2D<double>& pos, const dense1D<unsigned>& chain, double e,
                           dense1D<double>& sizes) noexcept;

/// \brief The same sizes from the curvatures of the chain's pieces at their ends, as
/// sample_spline gives them, without building the pieces again.
/// \param[in] end_curvatures 2 per piece: at t = 0 and at t = 1, piece by piece.
/// \param[in] e chordal-error setting (>= 0 a distance, < 0 a fraction of the radius).
/// \param[out] sizes one size per entry of the chain (emptied first).
void chain_curvature_sizes(const dense1D<double>& end_curvatures, double e,
                           dense1D<double>& sizes) noexcept;

}  // namespace filum
}  // namespace vorn

#endif
