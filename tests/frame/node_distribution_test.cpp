#include "frame/node_distribution.h"

#include <cmath>

#include <gtest/gtest.h>

using namespace vorn::filum;

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
  // (r^t - 1) / (r - 1) in the series branch (ratio 1.03) and in the closed one (ratio 5);
  // a growing size is the mirror of the shrinking one, bit for bit.
  for (double t : {0.125, 0.25, 0.5, 0.75, 0.875})
    for (double r : {1.03, 5.0}) {
      EXPECT_NEAR(progression_fraction(t, 1, r), (std::pow(r, t) - 1) / (r - 1), 1e-7) << r;
      EXPECT_EQ(progression_fraction(t, 1, r), 1 - progression_fraction(1 - t, r, 1));
    }
}
