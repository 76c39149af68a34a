#include "frame/checks.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "support/filum_test.h"

using namespace vorn::filum;
using filum_test::values;

TEST(Checks, NonDecreasingRejectsDescentsAndNaN) {
  const double nan = std::nan("");
  EXPECT_TRUE(is_non_decreasing(values({})));
  EXPECT_TRUE(is_non_decreasing(values({0, 1, 1, 2})));
  EXPECT_FALSE(is_non_decreasing(values({0, 2, 1})));
  EXPECT_FALSE(is_non_decreasing(values({nan})));
  EXPECT_FALSE(is_non_decreasing(values({0, nan, 2})));
}

TEST(Checks, UnsetMeansLargestDoubleOrNaN) {
  const double big = std::numeric_limits<double>::max();
  EXPECT_TRUE(is_unset(big));
  EXPECT_TRUE(is_unset(-big));
  EXPECT_TRUE(is_unset(std::nan("")));
  EXPECT_FALSE(is_unset(0));
  EXPECT_FALSE(is_unset(std::numeric_limits<double>::infinity()));
}

TEST(Checks, IdentifiersAgainstColumnsOfPos) {
  vorn::dense2D<double> pos(2, 3);
  EXPECT_TRUE(ids_in(filum_test::ids({0, 2}), pos));
  EXPECT_FALSE(ids_in(filum_test::ids({0, 3}), pos));
  EXPECT_TRUE(ids_in(filum_test::make_columns<unsigned>({{0, 2}}), pos));
  EXPECT_FALSE(ids_in(filum_test::make_columns<unsigned>({{3, 2}}), pos));
  EXPECT_FALSE(ids_in(filum_test::make_columns<unsigned>({{1}}), pos));  // one row: no edge
}
