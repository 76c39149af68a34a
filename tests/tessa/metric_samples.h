#ifndef TESSA_TEST_METRIC_SAMPLES_H
#define TESSA_TEST_METRIC_SAMPLES_H

// Random metrics with known sizes and directions, for tests typed on the dimension.

#include <cmath>
#include <cstddef>
#include <random>
#include <type_traits>

#include <gtest/gtest.h>
#include <vorn/tessa.h>

namespace tessa_test {

template <std::size_t D>
using sym = vorn::symmetric_fixed<double, D>;
using dimensions = ::testing::Types<std::integral_constant<std::size_t, 2>,
                                    std::integral_constant<std::size_t, 3>>;

/// A random orthonormal basis, column-major D x D: the reflection I - 2 v v' / |v|^2.
template <std::size_t D>
void random_basis(std::mt19937& rng, double* r) {
  std::normal_distribution<double> normal;
  double v[D], squared = 0;
  for (double& x : v)
    x = normal(rng), squared += x * x;
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
sym<D> random_metric(std::mt19937& rng, double lo, double hi) {
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

}  // namespace tessa_test

#endif
