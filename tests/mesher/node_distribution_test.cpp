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

namespace {

// The documented truncated series of both primitives, in their documented evaluation order.
double length_series_factor(double x) {
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

TEST(NodeDistribution, SeriesBranchesStopStrictlyAtTheThreshold) {
  // (9 - 10) / 10 is exactly the double -0.1: the closed forms apply there.
  const double x = (9.0 - 10.0) / 10.0;
  ASSERT_EQ(x, -0.1);
  EXPECT_EQ(normalized_length(3, 9, 10), 3 / (10 * (x / std::log1p(x))));
  EXPECT_EQ(progression_fraction(0.3, 10, 9), fraction_closed(0.3, x));
  EXPECT_EQ(progression_fraction(0.3, 9, 10), 1 - fraction_closed(0.7, x));

  // Just inside the threshold the series are used as written, truncation included: their
  // values differ from the closed forms by far more than rounding.
  const double M = 10, m = 9.0001;
  const double xs = (m - M) / M;
  ASSERT_GT(xs, -0.1);
  EXPECT_EQ(normalized_length(3, m, M), 3 / (M * length_series_factor(xs)));
  EXPECT_GT(std::abs(length_series_factor(xs) - xs / std::log1p(xs)), 1e-9);
  EXPECT_EQ(progression_fraction(0.3, M, m), fraction_series(0.3, xs));
  EXPECT_EQ(progression_fraction(0.3, m, M), 1 - fraction_series(0.7, xs));
  EXPECT_GT(std::abs(fraction_series(0.3, xs) - fraction_closed(0.3, xs)), 1e-9);
}

TEST(NodeDistribution, MirrorIdentityHoldsExactlyInBothBranches) {
  // A growing size (h1 > h0) is computed as the mirror of the shrinking one, so
  // progression_fraction(t, h0, h1) = 1 - progression_fraction(1 - t, h1, h0) bit for bit
  // in the series branch (ratio 1.03) and in the closed one (ratio 5).
  for (double t : {0.125, 0.25, 0.5, 0.75, 0.875})
    for (double r : {1.03, 5.0})
      EXPECT_EQ(progression_fraction(t, 1, r), 1 - progression_fraction(1 - t, r, 1));
}
