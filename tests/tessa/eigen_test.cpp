#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "metric_samples.h"

using namespace vorn;
using namespace vorn::tessa;
using tessa_test::sym;

TEST(TessaEigen2d, RandomMatricesGiveAscendingEigenpairsOnAQuarterTurnBasis) {
  std::mt19937 rng(7);
  for (int n = 0; n < 500; ++n) {
    const sym<2> m = tessa_test::random_metric<2>(rng, 1e-3, 1e3);
    double l0, l1;
    vector_fixed<double, 2> e0, e1;
    ASSERT_TRUE(eigen_decompose2d(m[0], m[1], m[2], true, l0, l1, e0, e1));
    EXPECT_LE(l0, l1);
    EXPECT_NEAR(e0[0] * e0[0] + e0[1] * e0[1], 1, 1e-14);
    EXPECT_EQ(e1[0], -e0[1]);
    EXPECT_EQ(e1[1], e0[0]);
    for (auto [l, e] : {std::make_pair(l0, e0), std::make_pair(l1, e1)}) {
      EXPECT_NEAR(m[0] * e[0] + m[1] * e[1], l * e[0], 1e-12 * l1);
      EXPECT_NEAR(m[1] * e[0] + m[2] * e[1], l * e[1], 1e-12 * l1);
    }
    double v0, v1;
    ASSERT_TRUE(eigen_values2d(m[0], m[1], m[2], v0, v1));
    EXPECT_EQ(v0, l0);
    EXPECT_EQ(v1, l1);
  }
}

TEST(TessaEigen2d, EdgeCases) {
  double l0, l1;
  vector_fixed<double, 2> e0, e1;
  // A multiple of the identity gets the coordinate axes.
  ASSERT_TRUE(eigen_decompose2d(4, 0, 4, false, l0, l1, e0, e1));
  EXPECT_EQ(l0, 4);
  EXPECT_EQ(l1, 4);
  EXPECT_EQ(e0[0], 1);
  EXPECT_EQ(e0[1], 0);
  EXPECT_EQ(e1[0], 0);
  EXPECT_EQ(e1[1], 1);
  // Without normalisation the vector keeps the length of the formula.
  ASSERT_TRUE(eigen_decompose2d(2, 1, 2, false, l0, l1, e0, e1));
  EXPECT_EQ(l0, 1);
  EXPECT_DOUBLE_EQ(std::fabs(e0[0]), 1);
  EXPECT_DOUBLE_EQ(e0[0] + e0[1], 0);
  // The small eigenvalue survives the cancellation of the quadratic formula.
  ASSERT_TRUE(eigen_values2d(1e-3, 0, 1e12, l0, l1));
  EXPECT_NEAR(l0, 1e-3, 1e-17);
  EXPECT_EQ(l1, 1e12);
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_FALSE(eigen_values2d(std::nan(""), 0, 1, l0, l1));
  EXPECT_FALSE(eigen_decompose2d(inf, 0, 1, true, l0, l1, e0, e1));
}

TEST(TessaEigen3d, RandomMatricesGiveAscendingRightHandedEigenbases) {
  std::mt19937 rng(11);
  for (int n = 0; n < 300; ++n) {
    const sym<3> m = tessa_test::random_metric<3>(rng, 1e-3, 1e3);
    vector_fixed<double, 3> w, only;
    vector_fixed<double, 9> z, untouched;
    ASSERT_TRUE(eigen_decompose3d(m, true, w, z));
    ASSERT_TRUE(eigen_decompose3d(m, false, only, untouched));
    EXPECT_EQ(untouched[0], 0);
    EXPECT_LE(w[0], w[1]);
    EXPECT_LE(w[1], w[2]);
    for (int k = 0; k < 3; ++k) {
      EXPECT_NEAR(only[k], w[k], 1e-12 * w[2]);
      for (int i = 0; i < 3; ++i) {
        double mz = 0;
        for (int j = 0; j < 3; ++j)
          mz += m(i, j) * z[3 * k + j];
        EXPECT_NEAR(mz, w[k] * z[3 * k + i], 1e-12 * w[2]);
      }
    }
    const double det = z[0] * (z[4] * z[8] - z[5] * z[7]) - z[3] * (z[1] * z[8] - z[2] * z[7]) +
                       z[6] * (z[1] * z[5] - z[2] * z[4]);
    EXPECT_NEAR(det, 1, 1e-13);
  }
  sym<3> bad = tessa_test::iso<3>(1);
  bad[4] = std::nan("");
  vector_fixed<double, 3> w;
  vector_fixed<double, 9> z;
  EXPECT_FALSE(eigen_decompose3d(bad, true, w, z));
}
