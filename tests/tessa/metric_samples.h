#ifndef TESSA_TEST_METRIC_SAMPLES_H
#define TESSA_TEST_METRIC_SAMPLES_H

// Random metrics with known sizes and directions, and the dimension-generic names of the
// metric arithmetic, for tests typed on the dimension.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <random>
#include <type_traits>

#include <gtest/gtest.h>
#include <vorn/tessa.h>

namespace tessa_test {

template <std::size_t D>
using sym = vorn::symmetric_fixed<double, D>;

/// The metric arithmetic of dimension D under one name.
template <std::size_t D>
struct dim;
template <>
struct dim<2> {
  using pair = vorn::tessa::metric_pair2d;
  static constexpr auto reduce = &vorn::tessa::reduce_metrics2d;
  static constexpr auto interpolate = &vorn::tessa::interpolate_reduced2d;
  static constexpr auto bound = &vorn::tessa::bound_metric_sizes2d;
};
template <>
struct dim<3> {
  using pair = vorn::tessa::metric_pair3d;
  static constexpr auto reduce = &vorn::tessa::reduce_metrics3d;
  static constexpr auto interpolate = &vorn::tessa::interpolate_reduced3d;
  static constexpr auto bound = &vorn::tessa::bound_metric_sizes3d;
};

using dimensions = ::testing::Types<std::integral_constant<std::size_t, 2>,
                                    std::integral_constant<std::size_t, 3>>;

/// A random orthonormal basis, column-major D x D: the reflection I - 2 v v' / |v|^2.
template <std::size_t D>
void random_basis(std::mt19937& rng, double* r) {
  std::normal_distribution<double> normal;
  double v[D], squared = 0;
  for (double& x : v)
    x = normal(rng);
  for (double x : v)
    squared += x * x;
  for (std::size_t j = 0; j < D; ++j)
    for (std::size_t i = 0; i < D; ++i)
      r[j * D + i] = (i == j ? 1 : 0) - 2 * v[i] * v[j] / squared;
}

/// sum_k w[k] v_k v_k' over the columns v_k of a column-major D x D matrix.
template <std::size_t D>
sym<D> outer_sum(const double* w, const double* v) {
  sym<D> m;
  for (std::size_t k = 0; k < D; ++k)
    for (std::size_t j = 0; j < D; ++j)
      for (std::size_t i = 0; i <= j; ++i)
        m(i, j) += w[k] * v[k * D + i] * v[k * D + j];
  return m;
}

/// A metric with D sizes drawn log-uniformly in [lo, hi] along a random basis.
template <std::size_t D>
sym<D> random_metric(std::mt19937& rng, double lo = 0.1, double hi = 10) {
  std::uniform_real_distribution<double> exponent(std::log(lo), std::log(hi));
  double r[D * D], w[D];
  random_basis<D>(rng, r);
  for (double& x : w)
    x = std::exp(-2 * exponent(rng));
  return outer_sum<D>(w, r);
}

/// u' M u.
template <std::size_t D>
double form(const sym<D>& m, const double* u) {
  double s = 0;
  for (std::size_t i = 0; i < D; ++i)
    for (std::size_t j = 0; j < D; ++j)
      s += m(i, j) * u[i] * u[j];
  return s;
}

/// The largest entry difference relative to the largest entry.
template <std::size_t D>
double relative_gap(const sym<D>& a, const sym<D>& b) {
  double scale = 0, gap = 0;
  for (std::size_t k = 0; k < a.size(); ++k) {
    scale = std::max({scale, std::fabs(a[k]), std::fabs(b[k])});
    gap = std::max(gap, std::fabs(a[k] - b[k]));
  }
  return scale > 0 ? gap / scale : gap;
}

/// The isotropic metric I/h^2.
template <std::size_t D>
sym<D> iso(double h) {
  sym<D> m;
  for (std::size_t i = 0; i < D; ++i)
    m(i, i) = 1 / (h * h);
  return m;
}

}  // namespace tessa_test

#endif
