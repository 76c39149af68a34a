#include "frame/node_distribution.h"

#include <cmath>

#include <gtest/gtest.h>

using namespace vorn::filum;

namespace {

// The truncated series of both primitives, in their documented evaluation order.
double length_series(double x) {
  const double y = x / 2;
  return 1 + y * (1 - y * (1.0 / 3 - y * (1.0 / 3 - 0.42222222222222217 * y)));
}
double fraction_series(double u, double x) {
  return u * (1 + (u - 1) * x / 2 + (u - 1) * (u - 2) * (x * x) * 0.16666666666666666 +
              (u - 1) * (u - 2) * (u - 3) * (x * x * x) * 0.041666666666666664);
}
double fraction_closed(double u, double x) {
  return std::expm1(std::log1p(x) * u) / x;
}

}  // namespace

TEST(NodeDistribution, DocumentedValuesRoundingClampAndMirror) {
  // nearest_count rounds at the geometric mean of the two multiples of step.
  // clang-format off
  const struct { double x; std::uint64_t step, expected; } counts[] = {
      {0, 1, 0}, {0.3, 1, 1}, {0.3, 2, 2}, {2.4, 1, 2}, {2.46, 1, 3}, {3.5, 2, 4}, {2.8, 2, 2},
      {1.4, 1, 1}, {1.42, 1, 2}};
  // clang-format on
  for (const auto& c : counts)
    EXPECT_EQ(nearest_count(c.x, c.step), c.expected) << c.x;
  EXPECT_EQ(normalized_length(10, 2, 2), 5);
  EXPECT_EQ(normalized_length(10, 0, 0), 0);
  EXPECT_EQ(normalized_length(10, -1, -1), 0);
  EXPECT_DOUBLE_EQ(normalized_length(1, 1, 2), std::log(2.0));
  EXPECT_DOUBLE_EQ(normalized_length(1, 2, 1), std::log(2.0));
  EXPECT_NEAR(normalized_length(1, 1, 1.05), std::log(1.05) / 0.05, 1e-8);
  EXPECT_EQ(progression_fraction(0.5, 1, 1), 0.5);
  EXPECT_DOUBLE_EQ(progression_fraction(0.5, 1, 4), 1.0 / 3);
  EXPECT_DOUBLE_EQ(progression_fraction(0.5, 4, 1), 2.0 / 3);
  EXPECT_EQ(progression_fraction(1.5, 1, 1), 1.5);  // equal sizes return t as it is
  EXPECT_EQ(progression_fraction(1.5, 1, 3), 1);    // otherwise clamped to [0, 1]
  EXPECT_EQ(progression_fraction(-0.5, 1, 3), 0);
  // A growing size is the mirror of the shrinking one, bit for bit, in the series branch
  // (ratio 1.03) and in the closed one (ratio 5).
  for (double t : {0.125, 0.25, 0.5, 0.75, 0.875})
    for (double r : {1.03, 5.0})
      EXPECT_EQ(progression_fraction(t, 1, r), 1 - progression_fraction(1 - t, r, 1));
}

TEST(NodeDistribution, SeriesBranchesStopStrictlyAtTheThreshold) {
  // (9 - 10) / 10 is exactly -0.1: the closed forms apply there.
  const double x = (9.0 - 10.0) / 10.0;
  ASSERT_EQ(x, -0.1);
  EXPECT_EQ(normalized_length(3, 9, 10), 3 / (10 * (x / std::log1p(x))));
  EXPECT_EQ(progression_fraction(0.3, 10, 9), fraction_closed(0.3, x));
  EXPECT_EQ(progression_fraction(0.3, 9, 10), 1 - fraction_closed(0.7, x));
  // Just inside, the series are used as written: they differ from the closed forms by far
  // more than rounding.
  const double xs = (9.0001 - 10) / 10;
  EXPECT_EQ(normalized_length(3, 9.0001, 10), 3 / (10 * length_series(xs)));
  EXPECT_GT(std::abs(length_series(xs) - xs / std::log1p(xs)), 1e-9);
  EXPECT_EQ(progression_fraction(0.3, 10, 9.0001), fraction_series(0.3, xs));
  EXPECT_EQ(progression_fraction(0.3, 9.0001, 10), 1 - fraction_series(0.7, xs));
  EXPECT_GT(std::abs(fraction_series(0.3, xs) - fraction_closed(0.3, xs)), 1e-9);
}
