#ifndef FILUM_SPLINE_TURNING_CHAIN_H
#define FILUM_SPLINE_TURNING_CHAIN_H

// The nodes of a padded chain at which its polyline turns, with chord-length
// parameters: the chain on which curvature sizes are worth computing.

#include <cstddef>

#include <vorn/dense.h>

namespace vorn {
namespace filum {

/// \brief Reduces a padded chain to its ghosts, its first and last spline nodes and
/// every interior spline node where the polyline is not exactly straight (a node
/// between collinear chords or at a zero-length chord is dropped). Each kept node gets
/// the polyline length from the first spline node, over all nodes of the chain,
/// divided by the total: reduced_params runs 0, 0, ..., 1, 1.
/// A chain of fewer than 4 entries leaves both outputs empty.
/// \param[in] pos coordinates with D rows.
/// \param[in] chain padded chain (valid columns of pos).
/// \param[out] reduced the kept entries of chain, in order (emptied first).
/// \param[out] reduced_params one parameter per entry of reduced (emptied first).
template <std::size_t D>
void turning_chain(const dense2D<double>& pos, const dense1D<unsigned>& chain,
                   dense1D<unsigned>& reduced, dense1D<double>& reduced_params) noexcept;

}  // namespace filum
}  // namespace vorn

#endif
