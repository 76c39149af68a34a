#include <algorithm>
#include <cmath>
#include <cstring>

#include <gtest/gtest.h>

#include "metric_samples.h"

using namespace vorn;
using namespace vorn::tessa;
using tessa_test::iso;
using tessa_test::sym;

template <class T>
class TessaBounding : public ::testing::Test {};
TYPED_TEST_SUITE(TessaBounding, tessa_test::dimensions);

TYPED_TEST(TessaBounding, ClampsEverySizeInTheMetricsOwnDirections) {
  constexpr std::size_t D = TypeParam::value;
  using ops = tessa_test::dim<D>;
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
    sym<D> m = tessa_test::outer_sum<D>(lambda, basis), again = m;
    const sym<D> before = m;
    const bool outside = std::any_of(h, h + D, [&](double x) { return x < lo || x > top; });
    EXPECT_EQ(ops::bound(m, lo, hi), outside);
    EXPECT_EQ(bound_metric(again, lo, hi), outside ? 0 : 1);
    EXPECT_EQ(std::memcmp(&again, &m, sizeof m), 0);
    EXPECT_TRUE(outside || std::memcmp(&m, &before, sizeof m) == 0);
    for (std::size_t k = 0; k < D; ++k)
      EXPECT_NEAR(1 / std::sqrt(tessa_test::form<D>(m, basis + k * D)), std::clamp(h[k], lo, top),
                  1e-10 * h[k]);
  }
  // No bounds change nothing; with crossed bounds the upper one wins; a metric that does
  // not decompose, or that a lower bound alone cannot make definite, stays as it was.
  sym<D> m = iso<D>(2), broken = iso<D>(2), negative = iso<D>(1);
  m[1] = 0.1;
  broken[0] = std::nan("");
  negative[0] = -1;
  const sym<D> kept[] = {m, broken, negative};
  EXPECT_FALSE(ops::bound(m, 0, 0));
  EXPECT_FALSE(ops::bound(broken, 1, 3));
  EXPECT_FALSE(ops::bound(negative, 0.5, 0));
  EXPECT_EQ(std::memcmp(&m, &kept[0], sizeof m), 0);
  EXPECT_EQ(std::memcmp(&broken, &kept[1], sizeof m), 0);
  EXPECT_EQ(std::memcmp(&negative, &kept[2], sizeof m), 0);
  EXPECT_TRUE(ops::bound(m, 5, 3));
  EXPECT_LT(tessa_test::relative_gap<D>(m, iso<D>(3)), 1e-14);
}
