#ifndef FILUM_TEST_SPLINE_POINTS_H
#define FILUM_TEST_SPLINE_POINTS_H

// Plane point sets for the spline tests, as coordinates of 2 rows or of 3 (z = 0), and the
// fixture of the tests that run in both dimensions.

#include <algorithm>
#include <array>
#include <cfloat>
#include <cmath>
#include <type_traits>
#include <vector>

#include <gtest/gtest.h>
#include <vorn/dense.h>

#include "support/filum_test.h"

namespace spline_test {

using plane_points = std::vector<std::array<double, 2>>;
using dimensions = ::testing::Types<std::integral_constant<std::size_t, 2>,
                                    std::integral_constant<std::size_t, 3>>;
constexpr double pi = 3.14159265358979323846;

template <class Dim>
class both_dimensions : public ::testing::Test {};

/// Coordinates with D rows, one column per point, scaled by scale.
template <std::size_t D>
vorn::dense2D<double> coordinates(const plane_points& points, double scale = 1) {
  vorn::dense2D<double> pos(D, points.size());
  for (std::size_t j = 0; j < points.size(); ++j)
    for (std::size_t i = 0; i < 2; ++i)
      pos(i, j) = points[j][i] * scale;
  return pos;
}

/// n points of the circle of radius R about the origin, step degrees apart.
inline plane_points arc(double R, std::size_t n, double step_degrees) {
  plane_points points(n);
  for (std::size_t k = 0; k < n; ++k) {
    const double a = static_cast<double>(k) * step_degrees * pi / 180;
    points[k] = {R * std::cos(a), R * std::sin(a)};
  }
  return points;
}

}  // namespace spline_test

#endif
