#ifndef FILUM_TESTS_SUPPORT_METRIC_COLUMNS_H
#define FILUM_TESTS_SUPPORT_METRIC_COLUMNS_H

// Packed metrics for the metric mesher tests: (m11, m12, m22) in the plane,
// (m11, m12, m22, m13, m23, m33) in space.

#include <cstddef>
#include <vector>

#include <vorn/dense.h>

namespace filum_test {

/// The metric asking for size a along the unit vector u and b across it: I/b² + (1/a² - 1/b²) uu'.
inline std::vector<double> metric_along(std::size_t dim, std::vector<double> u, double a,
                                        double b) {
  std::vector<double> m;
  for (std::size_t j = 0; j < dim; ++j)
    for (std::size_t i = 0; i <= j; ++i)
      m.push_back((i == j ? 1 / (b * b) : 0) + (1 / (a * a) - 1 / (b * b)) * u[i] * u[j]);
  return m;
}

/// One column per metric; n copies of a single metric when n is given.
inline vorn::dense2D<double> metric_columns(const std::vector<std::vector<double>>& m,
                                            std::size_t n = 0) {
  vorn::dense2D<double> columns(m[0].size(), n ? n : m.size());
  for (std::size_t j = 0; j < columns.cols(); ++j)
    for (std::size_t i = 0; i < columns.rows(); ++i)
      columns(i, j) = m[n ? 0 : j][i];
  return columns;
}

}  // namespace filum_test

#endif
