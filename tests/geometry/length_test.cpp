#include "geometry/length.h"

#include <gtest/gtest.h>

#include <vorn/filum.h>

#include "support/filum_test.h"

using namespace vorn;
using namespace vorn::filum;
using filum_test::ids;
using filum_test::make_columns;
using filum_test::make_pos;

TEST(Length, ChainsAreWalkedUntilTheFirstBadIdentifier) {
  const dense2D<double> plane = make_pos({{0, 0}, {3, 4}, {3, 0}});
  const dense2D<double> far = make_pos({{1e8, -1e8}, {1e8 + 3, -1e8 + 4}});
  const dense2D<double> space = make_pos({{1, 2, 2}, {1, 2, 4}, {0, 0, 0}});
  const dense2D<double> tiny = make_pos({{1e-8, 0}, {4e-8, 4e-8}});
  struct Case {
    const dense2D<double>& pos;
    dense1D<unsigned> chain;
    int result;
    double total;
  } cases[] = {
      {plane, ids({0, 1, 0}), 0, 10},  // a repeated segment counts twice
      {plane, ids({2, 2}), 0, 0},
      {plane, ids({0, 1, 2, 0}), 0, 12},
      {plane, ids({0, 1, 3, 2}), -2, 5},  // the segments before the bad identifier
      {plane, ids({9, 1, 2}), -2, 0},
      {plane, ids({0}), -2, 0},
      {plane, ids({}), -2, 0},
      {far, ids({0, 1, 0}), 0, 10},
      {space, ids({2, 0, 1}), 0, 5},
      {tiny, ids({0, 1}), 0, 5e-8},
      {dense2D<double>(4, 3), ids({}), -1, 0},
  };
  for (const Case& c : cases) {
    double total = -1;
    EXPECT_EQ(length(c.pos, c.chain, total), c.result) << c.chain.size();
    EXPECT_DOUBLE_EQ(total, c.total) << c.chain.size();
  }
  double total = 0;  // the plane worker reads only two rows
  EXPECT_TRUE(chain_length<2>(space, ids({0, 1}), total));
  EXPECT_EQ(total, 0);
}

TEST(Length, ElementsAreMeasuredBetweenTheirEndNodes) {
  const dense2D<double> plane = make_pos({{0, 0}, {3, 4}, {100, 100}});
  double total = -1;
  EXPECT_EQ(length(plane, make_columns<unsigned>({{0, 1, 2}, {1, 0, 2}}), total), 0);
  EXPECT_EQ(total, 10);  // E3: ends only
  EXPECT_EQ(length(plane, dense2D<unsigned>(), total), 0);
  EXPECT_EQ(total, 0);
  EXPECT_EQ(length(plane, make_columns<unsigned>({{0, 1}, {1, 3}}), total), -2);
  EXPECT_EQ(length(plane, make_columns<unsigned>({{0}, {1}}), total), -2);  // one row
  EXPECT_EQ(length(dense2D<double>(1, 3), make_columns<unsigned>({{7}}), total), -1);
  EXPECT_EQ(total, 0);
}
