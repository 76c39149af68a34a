#include "geometry/length.h"

#include <cmath>

#include <gtest/gtest.h>

#include <vorn/filum.h>

#include "support/filum_test.h"

using namespace vorn;
using namespace vorn::filum;
using filum_test::ids;
using filum_test::make_pos;

TEST(Length, ChainsAreWalkedUntilTheFirstBadIdentifier) {
  const dense2D<double> plane = make_pos({{0, 0}, {3, 4}, {3, 0}});
  struct Case {
    dense1D<unsigned> chain;
    int result;
    double total;
  } cases[] = {
      {ids({0, 1}), 0, 5},        {ids({0, 1, 0}), 0, 10},  // a repeated segment counts twice
      {ids({2, 2}), 0, 0},        {ids({0, 1, 2, 0}), 0, 12},
      {ids({0, 1, 3, 2}), -2, 5},  // the sum of the segments before the bad identifier
      {ids({9, 1, 2}), -2, 0},    {ids({0}), -2, 0},
      {ids({}), -2, 0},
  };
  for (const Case& c : cases) {
    double total = -1;
    EXPECT_EQ(length(plane, c.chain, total), c.result) << c.chain.size();
    EXPECT_EQ(total, c.total) << c.chain.size();
  }
  const dense2D<double> space = make_pos({{1, 2, 2}, {1, 2, 4}, {0, 0, 0}});
  double total = -1;
  EXPECT_EQ(length(space, ids({2, 0, 1}), total), 0);
  EXPECT_EQ(total, 5);
}

TEST(Length, ElementsAreMeasuredBetweenTheirEndNodes) {
  const dense2D<double> plane = make_pos({{0, 0}, {3, 4}, {100, 100}});
  double total = -1;
  EXPECT_EQ(length(plane, filum_test::make_columns<unsigned>({{0, 1, 2}, {1, 0, 2}}), total), 0);
  EXPECT_EQ(total, 10);  // E3: the middle row is not used
  EXPECT_EQ(length(plane, dense2D<unsigned>(), total), 0);
  EXPECT_EQ(total, 0);
  total = -1;
  EXPECT_EQ(length(plane, filum_test::make_columns<unsigned>({{0, 1}, {1, 3}}), total), -2);
  EXPECT_EQ(total, 0);
  EXPECT_EQ(length(plane, filum_test::make_columns<unsigned>({{0}, {1}}), total), -2);  // 1 row
}

TEST(Length, RowCountIsTestedFirst) {
  for (std::size_t rows : {0, 1, 4}) {
    const dense2D<double> pos(rows, 3);
    double total = -1;
    EXPECT_EQ(length(pos, ids({}), total), -1);
    EXPECT_EQ(total, 0);
    total = -1;
    EXPECT_EQ(length(pos, filum_test::make_columns<unsigned>({{7}}), total), -1);
    EXPECT_EQ(total, 0);
  }
}

TEST(Length, FarFromTheOriginAndAtSmallScales) {
  const dense2D<double> far = make_pos({{1e8, -1e8}, {1e8 + 3, -1e8 + 4}});
  const dense2D<double> tiny = make_pos({{1e-8, 0}, {4e-8, 4e-8}});
  double total = 0;
  ASSERT_EQ(length(far, ids({0, 1, 0}), total), 0);
  EXPECT_EQ(total, 10);
  ASSERT_EQ(length(tiny, filum_test::make_columns<unsigned>({{1, 0}}), total), 0);
  EXPECT_DOUBLE_EQ(total, 5e-8);
}

TEST(Length, ChainWorkerTakesTheDimensionFromItsCaller) {
  // Only the first two rows of a 3-row pos are read by the plane worker.
  const dense2D<double> pos = make_pos({{0, 0, 0}, {3, 4, 12}});
  double total = 0;
  EXPECT_TRUE(chain_length<2>(pos, ids({0, 1}), total));
  EXPECT_EQ(total, 5);
  EXPECT_TRUE(chain_length<3>(pos, ids({0, 1}), total));
  EXPECT_EQ(total, 13);
  EXPECT_TRUE(chain_length<3>(pos, ids({}), total));
  EXPECT_EQ(total, 0);
}
