#include "frame/node_distribution.h"

#include <cmath>

#include <gtest/gtest.h>

using namespace vorn::filum;

namespace {

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

TEST(NodeDistribution, SeriesBranchesStartStrictlyAboveTheThreshold) {
  // (9 - 10) / 10 is exactly -0.1: the closed forms apply there.
  const double x = (9.0 - 10.0) / 10.0;
  ASSERT_EQ(x, -0.1);
  EXPECT_EQ(normalized_length(3, 9, 10), 3 / (10 * (x / std::log1p(x))));
  EXPECT_EQ(progression_fraction(0.3, 10, 9), fraction_closed(0.3, x));
  EXPECT_EQ(progression_fraction(0.3, 9, 10), 1 - fraction_closed(0.7, x));
  // Just inside, the truncated series stay close to the closed forms (their dropped terms
  // reach a few 1e-6 of the fraction).
  const double xs = (9.0001 - 10) / 10;
  EXPECT_NEAR(normalized_length(3, 9.0001, 10) * 10 * (xs / std::log1p(xs)), 3, 1e-6);
  EXPECT_NEAR(progression_fraction(0.3, 10, 9.0001), fraction_closed(0.3, xs), 5e-6);
  EXPECT_NEAR(progression_fraction(0.3, 9.0001, 10), 1 - fraction_closed(0.7, xs), 5e-6);
}
