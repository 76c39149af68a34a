#ifndef FILUM_MESHER_NODE_DISTRIBUTION_H
#define FILUM_MESHER_NODE_DISTRIBUTION_H

// Node distribution along an edge whose target size varies linearly from h0 at its
// start to h1 at its end: how many elements fit (normalized length), the rounding of
// that real count, and where the node at a fraction of the normalized length lies.
// Nodes at equal steps of normalized length form a geometric progression of sizes.

#include <cstdint>

#include <vorn/dense.h>

#include "frame/append.h"

namespace vorn {
namespace filum {

/// \brief The number of elements of sizes h0 .. h1 (linear in the distance) that fit
/// on an edge of length L: L over the logarithmic mean of h0 and h1; 0 when that mean
/// is not positive.
double normalized_length(double L, double h0, double h1) noexcept;

/// \brief Rounds a real element count x >= 0 to a multiple of step (1 or 2), to the
/// nearer one in the ratio sense: the break-even point is sqrt(lo x hi).
std::uint64_t nearest_count(double x, std::uint64_t step) noexcept;

/// \brief The fraction of the geometric length at which the node at fraction t of the
/// normalized length lies: (r^t - 1) / (r - 1) with r = h1 / h0, within [0, 1].
/// Equal (or NaN) sizes, t = 0 and t = 1 return t unchanged.
double progression_fraction(double t, double h0, double h1) noexcept;

/// \brief Appends a point as a new column of a 2-row pos. \return false when pos has
/// another row count (and entries) or storage fails.
inline bool append_point2d(const double* point, dense2D<double>& pos) noexcept {
  return append_fixed_column<2>(point, pos);
}

/// \brief Appends a point as a new column of a 3-row pos.
inline bool append_point3d(const double* point, dense2D<double>& pos) noexcept {
  return append_fixed_column<3>(point, pos);
}

}  // namespace filum
}  // namespace vorn

#endif
