#ifndef FILUM_FRAME_NODE_DISTRIBUTION_H
#define FILUM_FRAME_NODE_DISTRIBUTION_H

// Node distribution along an edge whose target size varies linearly from h0 at its
// start to h1 at its end: how many elements fit (normalized length), the rounding of
// that real count, and where the node at a fraction of the normalized length lies.
// Nodes at equal steps of normalized length form a geometric progression of sizes.

#include <algorithm>
#include <cmath>
#include <cstdint>

#include <vorn/dense.h>

namespace vorn {
namespace filum {

/// \brief The number of elements of sizes h0 .. h1 (linear in the distance) that fit
/// on an edge of length L: L over the logarithmic mean of h0 and h1; 0 when that mean
/// is not positive.
double normalized_length(double L, double h0, double h1) noexcept;

/// \brief Rounds a real element count x >= 0 to a multiple of step (1 or 2), to the
/// nearer one in the ratio sense: the break-even point is sqrt(lo x hi). Counts of 2^62
/// and more (and infinity) give 2^62, which no storage holds; NaN gives 0.
std::uint64_t nearest_count(double x, std::uint64_t step) noexcept;

/// \brief The fraction of the geometric length at which the node at fraction t of the
/// normalized length lies: (r^t - 1) / (r - 1) with r = h1 / h0, within [0, 1].
/// Equal (or NaN) sizes, t = 0 and t = 1 return t unchanged.
double progression_fraction(double t, double h0, double h1) noexcept;

/// \brief progression_fraction along one edge: the end sizes are analyzed once, then each
/// call gives exactly progression_fraction(t, h0, h1), for edges that receive many nodes.
class progression {
 public:
  /// \brief The edge with sizes h0 at its start and h1 at its end.
  progression(double h0, double h1) noexcept;
  /// \brief progression_fraction(t, h0, h1).
  double operator()(double t) const noexcept;

 private:
  bool uniform_;      // equal or NaN sizes: t is returned unchanged
  bool mirrored_;     // h1 > h0: computed as 1 - the fraction of 1 - t from the other end
  bool series_;       // sizes within 10 %: truncated series instead of the closed form
  double x_;          // (smaller - larger) / larger, in (-1, 0)
  double log_ratio_;  // log1p(x_), for the closed form
};

inline double progression::operator()(double t) const noexcept {
  if (uniform_ || t == 0 || t == 1) return t;
  const double u = mirrored_ ? 1 - t : t;
  const double x = x_;
  double v;
  if (!series_) {
    v = std::expm1(log_ratio_ * u) / x;
  } else {
    // ((1 + x)^u - 1) / x by the binomial series: u (1 + (u-1) x/2 + (u-1)(u-2) x^2/6
    // + (u-1)(u-2)(u-3) x^3/24), with 1/6 and 1/24 as the nearest doubles.
    const double a = u - 1;
    const double b = u - 2;
    const double c = u - 3;
    v = u * (1 + a * x / 2 + a * b * (x * x) * 0.16666666666666666 +
             a * b * c * (x * x * x) * 0.041666666666666664);
  }
  if (mirrored_) v = 1 - v;
  if (std::isnan(v)) return 0;
  return std::min(std::max(v, 0.0), 1.0);
}

}  // namespace filum
}  // namespace vorn

#endif
