#include "mesher/node_distribution.h"

#include <cmath>

#include <gtest/gtest.h>

using namespace vorn::filum;

TEST(NodeDistribution, NormalizedLengthClosedFormsAndSeries) {
  EXPECT_EQ(normalized_length(10, 2, 2), 5);
  EXPECT_EQ(normalized_length(10, 0, 0), 0);
  EXPECT_EQ(normalized_length(10, -1, -1), 0);
  EXPECT_DOUBLE_EQ(normalized_length(1, 1, 2), std::log(2.0));
  EXPECT_DOUBLE_EQ(normalized_length(1, 2, 1), std::log(2.0));
  // Sizes within 10 %: the series agrees with the closed form to a few parts in 1e9.
  const double closed = std::log(1.05) / 0.05;
  EXPECT_NEAR(normalized_length(1, 1, 1.05), closed, 1e-8);
  EXPECT_NE(normalized_length(1, 1, 1.05), closed);
}

TEST(NodeDistribution, NearestCountRoundsAtTheGeometricMean) {
  struct Case {
    double x;
    std::uint64_t step, expected;
  } cases[] = {{0, 1, 0},   {0.3, 1, 1}, {0.3, 2, 2}, {2.4, 1, 2}, {2.46, 1, 3},
               {3.5, 2, 4}, {2.8, 2, 2}, {10, 1, 10}, {1.4, 1, 1}, {1.42, 1, 2}};
  for (const Case& c : cases)
    EXPECT_EQ(nearest_count(c.x, c.step), c.expected) << c.x;
}

TEST(NodeDistribution, ProgressionFractionExamplesAndMirror) {
  EXPECT_EQ(progression_fraction(0.5, 1, 1), 0.5);
  EXPECT_DOUBLE_EQ(progression_fraction(0.5, 1, 4), 1.0 / 3);
  EXPECT_DOUBLE_EQ(progression_fraction(0.5, 4, 1), 2.0 / 3);
  for (double t : {0.1, 0.37, 0.8})
    for (double r : {1.05, 2.0, 7.0})
      EXPECT_NEAR(progression_fraction(t, 1, r), 1 - progression_fraction(1 - t, r, 1), 1e-15);
  EXPECT_EQ(progression_fraction(1.5, 1, 1), 1.5);  // equal sizes return t as it is
  EXPECT_EQ(progression_fraction(1.5, 1, 3), 1);    // the computed branch is clamped
  EXPECT_EQ(progression_fraction(-0.5, 1, 3), 0);
}
