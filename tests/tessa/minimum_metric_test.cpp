#include <cmath>

#include <gtest/gtest.h>

#include "metric_samples.h"

using namespace vorn;
using namespace vorn::tessa;
using tessa_test::iso;
using tessa_test::relative_gap;
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
    sym<D> out, swapped, in_a = a, in_b = b;
    ASSERT_TRUE(minimum_metric(a, b, out) && minimum_metric(b, a, swapped));
    ASSERT_TRUE(minimum_metric(in_a, b, in_a) && minimum_metric(a, in_b, in_b));  // aliasing
    EXPECT_LT(relative_gap<D>(out, swapped), 1e-10);
    EXPECT_TRUE(relative_gap<D>(in_a, out) == 0 && relative_gap<D>(in_b, out) == 0);
    for (int k = 0; k < 20; ++k) {
      double u[D];
      for (double& x : u)
        x = normal(rng);
      const double fa = tessa_test::form<D>(a, u), fb = tessa_test::form<D>(b, u);
      EXPECT_GE(tessa_test::form<D>(out, u), std::max(fa, fb) * (1 - 1e-10));
    }
    typename tessa_test::dim<D>::pair p;
    ASSERT_TRUE(tessa_test::dim<D>::reduce(a, b, p));
    for (std::size_t k = 0; k < D; ++k) {
      const double larger = std::max(p.eigen_a[k], p.eigen_b[k]);
      EXPECT_NEAR(tessa_test::form<D>(out, p.dirs + k * D), larger, 1e-10 * larger);
    }
  }
}

TYPED_TEST(TessaMinimumMetric, ZeroOperandsRankOneAndFailures) {
  constexpr std::size_t D = TypeParam::value;
  std::mt19937 rng(19);
  const sym<D> a = tessa_test::random_metric<D>(rng);
  sym<D> out, rank_one, want = iso<D>(1), indefinite = iso<D>(1);
  EXPECT_TRUE(minimum_metric(a, sym<D>(), out) && relative_gap<D>(out, a) == 0);
  EXPECT_TRUE(minimum_metric(sym<D>(), a, out) && relative_gap<D>(out, a) == 0);
  rank_one[0] = want[0] = 4;  // unlimited size across it: reduced on B instead
  ASSERT_TRUE(minimum_metric(rank_one, iso<D>(1), out));
  EXPECT_LT(relative_gap<D>(out, want), 1e-14);
  indefinite[1] = 3;
  sym<D> negative = indefinite;
  negative[0] = -1;
  EXPECT_FALSE(minimum_metric(indefinite, negative, out));
  EXPECT_EQ(relative_gap<D>(out, indefinite), 0);
}
