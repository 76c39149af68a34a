#ifndef FILUM_TESTS_METRICS_METRIC_CHECKS_H
#define FILUM_TESTS_METRICS_METRIC_CHECKS_H

// Packed metrics from sizes along orthogonal directions, and their comparison.

#include <algorithm>
#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "support/filum_test.h"

namespace metric_checks {

using Values = std::vector<double>;

// The packed metric of size h_k along each orthogonal direction u_k (2 or 3 of them).
inline Values tensor_of(const std::vector<Values>& directions, const Values& sizes) {
  const std::size_t d = directions.size();
  Values m(d * (d + 1) / 2, 0.0);
  for (std::size_t k = 0; k < d; ++k) {
    const Values& u = directions[k];
    const double scale =
        1 / ((u[0] * u[0] + u[1] * u[1] + (d > 2 ? u[2] * u[2] : 0)) * sizes[k] * sizes[k]);
    for (std::size_t j = 0; j < d; ++j)
      for (std::size_t i = 0; i <= j; ++i)
        m[j * (j + 1) / 2 + i] += scale * u[i] * u[j];
  }
  return m;
}

// Entry by entry, within `relative` of the largest expected entry.
inline void expect_close(const Values& actual, const Values& expected, double relative) {
  ASSERT_EQ(actual.size(), expected.size());
  double scale = 0;
  for (double x : expected)
    scale = std::max(scale, std::fabs(x));
  for (std::size_t i = 0; i < actual.size(); ++i)
    EXPECT_NEAR(actual[i], expected[i], relative * scale) << "entry " << i;
}

// Columns of m against the expected ones, each as expect_close.
inline void expect_columns_close(const vorn::dense2D<double>& m,
                                 const std::vector<Values>& expected, double relative) {
  ASSERT_EQ(m.cols(), expected.size());
  for (std::size_t j = 0; j < expected.size(); ++j) {
    SCOPED_TRACE(j);
    expect_close(filum_test::column(m, j), expected[j], relative);
  }
}

}  // namespace metric_checks

#endif
