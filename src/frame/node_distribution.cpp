#include "frame/node_distribution.h"

#include <algorithm>
#include <cmath>

namespace vorn {
namespace filum {
namespace {

// Above this relative difference of the end sizes (sizes within 10 %) the closed forms
// lose precision to cancellation in log1p(x) and expm1 and truncated series take over;
// their first dropped term is then about 2e-7 of the result.
constexpr double series_threshold = -0.1;

// x = (m - M) / M for the smaller size m and the larger size M: in (-1, 0).
double relative_difference(double h0, double h1) noexcept {
  const double M = std::max(h0, h1);
  const double m = std::min(h0, h1);
  return (m - M) / M;
}

}  // namespace

double normalized_length(double L, double h0, double h1) noexcept {
  double mean = h0;
  if (!(h0 == h1 || std::isnan(h0) || std::isnan(h1))) {
    const double x = relative_difference(h0, h1);
    double c;  // logarithmic mean over the larger size
    if (x > series_threshold) {
      // x / log1p(x) = 1 + x/2 - x^2/12 + x^3/24 - 19 x^4/720 ..., written in y = x/2:
      // 1 + y - y^2/3 + y^3/3 - (19/45) y^4, and 19/45 = 0.42222...
      const double y = x / 2;
      c = 1 + y * (1 - y * (1.0 / 3 - y * (1.0 / 3 - 0.42222222222222217 * y)));
    } else {
      c = x / std::log1p(x);
    }
    mean = std::max(h0, h1) * c;
  }
  return mean > 0 ? L / mean : 0;
}

std::uint64_t nearest_count(double x, std::uint64_t step) noexcept {
  // 2^62 is beyond any storage and leaves lo and hi room: the count saturates there
  // instead of wrapping past the largest 64-bit value.
  constexpr std::uint64_t saturated = std::uint64_t(1) << 62;
  const double quotient = x / static_cast<double>(step);
  std::uint64_t q = 0;
  const std::uint64_t whole_steps = saturated / step;  // whole steps below the cap
  if (quotient >= static_cast<double>(whole_steps)) return saturated;
  if (quotient >= 1) q = static_cast<std::uint64_t>(quotient);
  const std::uint64_t lo = q * step;
  const std::uint64_t hi = lo + step;
  return x * x > static_cast<double>(lo * hi) ? hi : lo;
}

double progression_fraction(double t, double h0, double h1) noexcept {
  return progression(h0, h1)(t);
}

progression::progression(double h0, double h1) noexcept
    : uniform_(h0 == h1 || std::isnan(h0) || std::isnan(h1)),
      mirrored_(h1 > h0),
      series_(false),
      x_(0),
      log_ratio_(0) {
  if (uniform_) return;
  x_ = relative_difference(h0, h1);
  series_ = x_ > series_threshold;
  if (!series_) log_ratio_ = std::log1p(x_);
}

}  // namespace filum
}  // namespace vorn
