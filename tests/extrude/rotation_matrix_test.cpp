#include "extrude/rotation_matrix.h"

#include <cmath>

#include <gtest/gtest.h>

using namespace vorn::filum;

TEST(RotationMatrix, MatchesRodriguesOnBothSidesOfTheSeriesThreshold) {
  const double pi = 3.141592653589793;
  const point<3> vectors[] = {{1e-8, -2e-8, 3e-8},  {0.03, 0.04, 0}, {0, 0.1, 0},
                              {0, 0.1000000001, 0}, {0.6, 0.8, 0},   {1, 2, -2},
                              {0, 2 * pi, 0},       {1e8, 0, 0}};
  for (const point<3>& v : vectors) {
    // cos t I + sin t [k]x + (1 - cos t) k k' in long double, k = v / t.
    const long double t = std::sqrt(static_cast<long double>(dot(v, v)));
    const long double k[3] = {v[0] / t, v[1] / t, v[2] / t};
    const long double cross[3][3] = {{0, -k[2], k[1]}, {k[2], 0, -k[0]}, {-k[1], k[0], 0}};
    const matrix3 R = rotation_matrix(v);
    for (std::size_t i = 0; i < 3; ++i)
      for (std::size_t j = 0; j < 3; ++j)
        EXPECT_NEAR(R.entry[i][j],
                    static_cast<double>((i == j ? std::cos(t) : 0) + std::sin(t) * cross[i][j] +
                                        (1 - std::cos(t)) * k[i] * k[j]),
                    4e-16)
            << t << " (" << i << ", " << j << ")";
  }
}
