#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "metric_samples.h"

using namespace vorn;
using namespace vorn::tessa;
using tessa_test::sym;

TEST(TessaEigen2d, AscendingEigenpairsOnAQuarterTurnBasis) {
  std::mt19937 rng(7);
  double l0, l1, v0, v1;
  vector_fixed<double, 2> e0, e1;
  for (int n = 0; n < 500; ++n) {
    const sym<2> m = tessa_test::random_metric<2>(rng, 1e-3, 1e3);
    ASSERT_TRUE(eigen_decompose2d(m[0], m[1], m[2], true, l0, l1, e0, e1));
    ASSERT_TRUE(eigen_values2d(m[0], m[1], m[2], v0, v1));
    EXPECT_TRUE(l0 <= l1 && v0 == l0 && v1 == l1);
    EXPECT_NEAR(e0[0] * e0[0] + e0[1] * e0[1], 1, 1e-14);
    EXPECT_TRUE(e1[0] == -e0[1] && e1[1] == e0[0]);
    for (auto [l, e] : {std::make_pair(l0, e0), std::make_pair(l1, e1)}) {
      EXPECT_NEAR(m[0] * e[0] + m[1] * e[1], l * e[0], 1e-12 * l1);
      EXPECT_NEAR(m[1] * e[0] + m[2] * e[1], l * e[1], 1e-12 * l1);
    }
  }
  // A multiple of the identity gets the axes; without normalisation e0 keeps its length.
  ASSERT_TRUE(eigen_decompose2d(4, 0, 4, false, l0, l1, e0, e1));
  EXPECT_TRUE(l0 == 4 && l1 == 4 && e0[0] == 1 && e0[1] == 0 && e1[0] == 0 && e1[1] == 1);
  ASSERT_TRUE(eigen_decompose2d(2, 1, 2, false, l0, l1, e0, e1));
  EXPECT_EQ(l0, 1);
  EXPECT_DOUBLE_EQ(std::fabs(e0[0]), 1);
  EXPECT_DOUBLE_EQ(e0[0] + e0[1], 0);
  // The small eigenvalue survives the cancellation of the quadratic formula.
  ASSERT_TRUE(eigen_values2d(1e-3, 0, 1e12, l0, l1));
  EXPECT_NEAR(l0, 1e-3, 1e-17);
  EXPECT_EQ(l1, 1e12);
  EXPECT_FALSE(eigen_values2d(std::nan(""), 0, 1, l0, l1));
  EXPECT_FALSE(eigen_decompose2d(HUGE_VAL, 0, 1, true, l0, l1, e0, e1));
}

TEST(TessaEigen3d, AscendingRightHandedEigenbases) {
  std::mt19937 rng(11);
  vector_fixed<double, 3> w, only;
  vector_fixed<double, 9> z, untouched;
  for (int n = 0; n < 300; ++n) {
    const sym<3> m = tessa_test::random_metric<3>(rng, 1e-3, 1e3);
    ASSERT_TRUE(eigen_decompose3d(m, true, w, z));
    ASSERT_TRUE(eigen_decompose3d(m, false, only, untouched));
    EXPECT_TRUE(untouched[0] == 0 && w[0] <= w[1] && w[1] <= w[2]);
    for (int k = 0; k < 3; ++k) {
      EXPECT_NEAR(only[k], w[k], 1e-12 * w[2]);
      for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(m(i, 0) * z[3 * k] + m(i, 1) * z[3 * k + 1] + m(i, 2) * z[3 * k + 2],
                    w[k] * z[3 * k + i], 1e-12 * w[2]);
    }
    EXPECT_NEAR(z[0] * (z[4] * z[8] - z[5] * z[7]) - z[3] * (z[1] * z[8] - z[2] * z[7]) +
                    z[6] * (z[1] * z[5] - z[2] * z[4]),
                1, 1e-13);
  }
  sym<3> bad = tessa_test::iso<3>(1);
  bad[4] = std::nan("");
  EXPECT_FALSE(eigen_decompose3d(bad, true, w, z));
}
