#include "extrude/rotation_matrix.h"

#include <cmath>

#include <gtest/gtest.h>

using namespace vorn::filum;

namespace {

// Rodrigues' formula in long double: cos t I + sin t [k]x + (1 - cos t) k k'.
long double reference_entry(const point<3>& v, std::size_t i, std::size_t j) {
  const long double t = std::sqrt(static_cast<long double>(dot(v, v)));
  if (t == 0) return i == j ? 1 : 0;
  const long double k[3] = {v[0] / t, v[1] / t, v[2] / t};
  const long double cross[3][3] = {{0, -k[2], k[1]}, {k[2], 0, -k[0]}, {-k[1], k[0], 0}};
  return (i == j ? std::cos(t) : 0) + std::sin(t) * cross[i][j] + (1 - std::cos(t)) * k[i] * k[j];
}

}  // namespace

TEST(RotationMatrix, MatchesRodriguesOnBothSidesOfTheSeriesThreshold) {
  const double pi = 3.141592653589793;
  const point<3> vectors[] = {
      {0, 0, 0},       {1e-8, -2e-8, 3e-8},  {0.03, 0.04, 0},   // |v| = 0.05
      {0, 0.1, 0},     {0, 0.1000000001, 0}, {0.06, -0.08, 0},  // |v| = 0.1, series
      {0.6, 0.8, 0.0}, {0, 0, pi / 2},       {1, 2, -2},        // |v| = 3
      {0, 2 * pi, 0},  {1e8, 0, 0},
  };
  for (const point<3>& v : vectors) {
    const matrix3 R = rotation_matrix(v);
    for (std::size_t i = 0; i < 3; ++i)
      for (std::size_t j = 0; j < 3; ++j)
        EXPECT_NEAR(R.entry[i][j], static_cast<double>(reference_entry(v, i, j)), 4e-16)
            << v[0] << " " << v[1] << " " << v[2] << " (" << i << ", " << j << ")";
  }
}

TEST(RotationMatrix, ZeroVectorGivesTheIdentityExactly) {
  const matrix3 R = rotation_matrix(point<3>(0, 0, 0));
  const point<3> r(0.1, -7, 1e8);
  const point<3> p = R * r;
  for (std::size_t i = 0; i < 3; ++i)
    EXPECT_EQ(p[i], r[i]);
}

TEST(RotationMatrix, SmallAnglesKeepTheirFirstOrderTermExact) {
  // a = 1 and b = 1/2 to double precision: the off-diagonal entries are the components.
  const matrix3 R = rotation_matrix(point<3>(0, 0, 1e-9));
  EXPECT_EQ(R.entry[1][0], 1e-9);
  EXPECT_EQ(R.entry[0][1], -1e-9);
  EXPECT_EQ(R.entry[2][2], 1);
}
