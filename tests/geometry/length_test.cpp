#include <gtest/gtest.h>

#include <vorn/filum.h>

#include "support/filum_test.h"

using namespace vorn;
using namespace vorn::filum;
using namespace filum_test;

TEST(Length, ChainsAreWalkedUntilTheFirstBadIdentifierElementsBetweenTheirEnds) {
  const dense2D<double> plane = make_pos({{0, 0}, {3, 4}, {3, 0}});
  const dense2D<double> space = make_pos({{1e8, 2, 2}, {1e8, 2, 4}, {1e8 - 3, -2, 2}});
  // clang-format off
  // A repeated segment counts twice; a bad identifier ends the walk.
  const struct { const dense2D<double>& pos; dense1D<unsigned> chain; int result; double total; }
      cases[] = {{plane, ids({0, 1, 0}), 0, 10}, {plane, ids({0, 1, 3, 2}), -2, 5},
                 {plane, ids({9, 1, 2}), -2, 0}, {plane, ids({0}), -2, 0},
                 {space, ids({2, 0, 1}), 0, 7},  {dense2D<double>(4, 3), ids({}), -1, 0}};
  // clang-format on
  for (const auto& c : cases) {
    double total = -1;
    EXPECT_EQ(length(c.pos, c.chain, total), c.result) << c.chain.size();
    EXPECT_EQ(total, c.total) << c.chain.size();
  }
  double total = -1;
  EXPECT_EQ(length(plane, make_columns<unsigned>({{0, 1, 2}, {1, 0, 2}}), total), 0);
  EXPECT_EQ(total, 10);  // E3: ends only
  EXPECT_EQ(length(plane, make_columns<unsigned>({{0, 1}, {1, 3}}), total), -2);
  EXPECT_EQ(length(plane, make_columns<unsigned>({{0}, {1}}), total), -2);  // one row
  EXPECT_EQ(length(dense2D<double>(1, 3), dense2D<unsigned>(), total), -1);
  EXPECT_EQ(total, 0);
}
