#include <cmath>

#include <gtest/gtest.h>

#include "metric_samples.h"

using namespace vorn;
using namespace vorn::tessa;
using tessa_test::sym;

template <class T>
class TessaMinimumMetric : public ::testing::Test {};
TYPED_TEST_SUITE(TessaMinimumMetric, tessa_test::dimensions);

TYPED_TEST(TessaMinimumMetric, NeverLargerThanEitherInputAndTightOnCommonDirections) {
  constexpr std::size_t D = TypeParam::value;
  std::mt19937 rng(17);
  std::normal_distribution<double> normal;
  for (int n = 0; n < 200; ++n) {
    const double scale = n % 3 == 0 ? 1e-8 : n % 3 == 1 ? 1 : 1e8;
    const sym<D> a = tessa_test::random_metric<D>(rng, 0.1 * scale, 10 * scale);
    const sym<D> b = tessa_test::random_metric<D>(rng, 0.1 * scale, 10 * scale);
    sym<D> out, swapped;
    ASSERT_TRUE(minimum_metric(a, b, out));
    ASSERT_TRUE(minimum_metric(b, a, swapped));
    EXPECT_LT(tessa_test::relative_gap<D>(out, swapped), 1e-10);
    for (int k = 0; k < 20; ++k) {
      double u[D];
      for (double& x : u)
        x = normal(rng);
      const double fa = tessa_test::form<D>(a, u), fb = tessa_test::form<D>(b, u);
      EXPECT_GE(tessa_test::form<D>(out, u), std::max(fa, fb) * (1 - 1e-10));
    }
    typename tessa_test::dim<D>::pair p;
    ASSERT_TRUE(tessa_test::dim<D>::reduce(a, b, p));
    for (std::size_t k = 0; k < D; ++k)
      EXPECT_NEAR(tessa_test::form<D>(out, p.dirs + k * D), std::max(p.eigen_a[k], p.eigen_b[k]),
                  1e-10 * std::max(p.eigen_a[k], p.eigen_b[k]));
  }
}

TYPED_TEST(TessaMinimumMetric, ZeroOperandsAliasingAndFailures) {
  constexpr std::size_t D = TypeParam::value;
  std::mt19937 rng(19);
  const sym<D> a = tessa_test::random_metric<D>(rng), b = tessa_test::random_metric<D>(rng);
  sym<D> out;
  EXPECT_TRUE(minimum_metric(a, sym<D>(), out));
  EXPECT_EQ(tessa_test::relative_gap<D>(out, a), 0);
  EXPECT_TRUE(minimum_metric(sym<D>(), b, out));
  EXPECT_EQ(tessa_test::relative_gap<D>(out, b), 0);
  ASSERT_TRUE(minimum_metric(a, b, out));
  sym<D> in_a = a, in_b = b;
  ASSERT_TRUE(minimum_metric(in_a, b, in_a));
  ASSERT_TRUE(minimum_metric(a, in_b, in_b));
  EXPECT_EQ(tessa_test::relative_gap<D>(in_a, out), 0);
  EXPECT_EQ(tessa_test::relative_gap<D>(in_b, out), 0);
  // A rank-one A (unlimited size across it) is reduced on B instead.
  sym<D> rank_one, want = tessa_test::iso<D>(1);
  rank_one[0] = want[0] = 4;
  ASSERT_TRUE(minimum_metric(rank_one, tessa_test::iso<D>(1), out));
  EXPECT_LT(tessa_test::relative_gap<D>(out, want), 1e-14);
  sym<D> indefinite = tessa_test::iso<D>(1);
  indefinite[1] = 3;
  sym<D> negative = indefinite;
  negative[0] = -1;
  EXPECT_FALSE(minimum_metric(indefinite, negative, out));
  EXPECT_EQ(tessa_test::relative_gap<D>(out, indefinite), 0);
}
