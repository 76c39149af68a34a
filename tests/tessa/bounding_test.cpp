#include <algorithm>
#include <cmath>
#include <cstring>

#include <gtest/gtest.h>

#include "metric_samples.h"

using namespace vorn;
using namespace vorn::tessa;
using tessa_test::sym;

template <class T>
class TessaBounding : public ::testing::Test {};
TYPED_TEST_SUITE(TessaBounding, tessa_test::dimensions);

TYPED_TEST(TessaBounding, ClampsEverySizeInTheMetricsOwnDirections) {
  constexpr std::size_t D = TypeParam::value;
  std::mt19937 rng(13);
  std::uniform_real_distribution<double> log_size(std::log(0.1), std::log(10));
  for (int n = 0; n < 300; ++n) {
    double basis[D * D], h[D], lambda[D];
    tessa_test::random_basis<D>(rng, basis);
    for (std::size_t k = 0; k < D; ++k)
      h[k] = std::exp(log_size(rng)), lambda[k] = 1 / (h[k] * h[k]);
    double lo = std::exp(log_size(rng)), hi = std::exp(log_size(rng));
    if (lo > hi) std::swap(lo, hi);
    if (n % 5 == 0) lo = 0;   // no lower bound
    if (n % 7 == 0) hi = -1;  // no upper bound
    const double top = hi > 0 ? hi : HUGE_VAL;
    sym<D> m = tessa_test::outer_sum<D>(lambda, basis);
    const sym<D> before = m;
    const bool outside = std::any_of(h, h + D, [&](double x) { return x < lo || x > top; });
    EXPECT_EQ(tessa_test::dim<D>::bound(m, lo, hi), outside);
    if (!outside) {
      EXPECT_EQ(std::memcmp(&m, &before, sizeof m), 0);
    }
    for (std::size_t k = 0; k < D; ++k) {
      const double* e = basis + k * D;
      EXPECT_NEAR(1 / std::sqrt(tessa_test::form<D>(m, e)), std::clamp(h[k], lo, top),
                  1e-10 * h[k]);
    }
    sym<D> again = before;
    EXPECT_EQ(bound_metric(again, lo, hi), outside ? 0 : 1);
    EXPECT_EQ(std::memcmp(&again, &m, sizeof m), 0);
  }
}

TYPED_TEST(TessaBounding, EdgeCases) {
  constexpr std::size_t D = TypeParam::value;
  using ops = tessa_test::dim<D>;
  sym<D> m = tessa_test::iso<D>(2);
  m[1] = 0.1;
  const sym<D> before = m;
  EXPECT_FALSE(ops::bound(m, 0, 0));  // no bounds: nothing to do
  EXPECT_EQ(std::memcmp(&m, &before, sizeof m), 0);
  EXPECT_TRUE(ops::bound(m, 5, 3));  // crossed bounds: the upper one wins
  EXPECT_LT(tessa_test::relative_gap<D>(m, tessa_test::iso<D>(3)), 1e-14);
  sym<D> broken = before;
  broken[0] = std::nan("");  // a failed decomposition leaves the metric as it was
  EXPECT_FALSE(ops::bound(broken, 1, 3));
  EXPECT_TRUE(std::isnan(broken[0]));
  EXPECT_EQ(broken[1], before[1]);
  sym<D> negative = tessa_test::iso<D>(1);
  negative[0] = -1;  // clamping cannot make an indefinite metric valid without a size cap
  const sym<D> kept = negative;
  EXPECT_FALSE(ops::bound(negative, 0.5, 0));
  EXPECT_EQ(std::memcmp(&negative, &kept, sizeof kept), 0);
}
