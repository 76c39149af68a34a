// Measures of lines: lengths of chains and elements, and node normals.
#include <cmath>
#include <vector>

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

TEST(Normals, WeightedLongestAndShortestElementNormals) {
  const double r = std::sqrt(2.0) / 2;
  const dense2D<double> square = make_pos({{0, 0}, {1, 0}, {1, 1}});
  const dense2D<double> tall = make_pos({{0, 0}, {1, 0}, {1, 3}});  // lengths 1 and 3
  const dense2D<unsigned> corner = make_columns<unsigned>({{0, 1}, {1, 2}});
  // clang-format off
  const struct {  // x, y: the normal of node 1
    dense2D<double> pos; dense2D<unsigned> connectM; double exponent; bool normalize; double x, y;
  } cases[] = {
      {square, corner, 0, false, -0.5, 0.5},   {square, corner, 0, true, -r, r},
      {tall, corner, 1, false, -0.75, 0.25},   {tall, corner, -1, false, -0.25, 0.75},
      {tall, corner, unset, true, -1, 0},      {tall, corner, -unset, false, 0, 1},
      {square, corner, unset, false, 0, 1},  // equal lengths: the first one met stays
      {square, make_columns<unsigned>({{1, 2}, {0, 1}}), -unset, false, -1, 0},
      {make_pos({{0, 0}, {1, 0}}), make_columns<unsigned>({{0, 1}, {1, 0}}), 0, true, 0, 0},
      {make_pos({{0, 0}, {1, 0}, {1, 0}}), corner, 0, true, 0, 1}};  // zero length
  // clang-format on
  for (const auto& c : cases) {
    dense2D<double> values;
    ASSERT_EQ(normals(c.pos, c.connectM, c.exponent, c.normalize, values), 0);
    EXPECT_DOUBLE_EQ(values(0, 1), c.x) << &c - cases;
    EXPECT_DOUBLE_EQ(values(1, 1), c.y) << &c - cases;
  }
  // One element gives its left normal whatever the exponent; other nodes get zero.
  for (double p : {2.5, HUGE_VAL, std::nan("")})
    for (bool normalize : {false, true}) {
      dense2D<double> values;
      ASSERT_EQ(normals(make_pos({{0, 0}, {2, 0}, {5, 5}}), make_columns<unsigned>({{0, 1}}), p,
                        normalize, values),
                0);
      EXPECT_EQ(entries(values.as_vector()), (std::vector<double>{0, 1, 0, 1, 0, 0})) << p;
    }
}

TEST(Normals, CodesAndStorageFailures) {
  const dense2D<double> plane = make_pos({{0, 0}, {1, 0}});
  const dense2D<unsigned> edge = make_columns<unsigned>({{0, 1}});
  // clang-format off
  const struct { dense2D<double> pos; dense2D<unsigned> connectM; int expected; } cases[] = {
      {dense2D<double>(3, 0), edge, 0},            {make_pos({{0, 0, 0}}), {}, 0},
      {make_pos({{0, 0, 0}}), edge, -1},           {plane, make_columns<unsigned>({{0}}), -2},
      {plane, make_columns<unsigned>({{0, 2}}), -2}};
  // clang-format on
  for (const auto& c : cases) {
    dense2D<double> values = make_pos({{1, 1}});
    EXPECT_EQ(normals(c.pos, c.connectM, 0, true, values), c.expected);
    EXPECT_TRUE(values.empty());
  }
  EXPECT_GT(expect_empty_output_on_storage_failure<dense2D<double>>(
                [&](dense2D<double>& values) { return normals(plane, edge, 1, true, values); }, 2),
            0u);
}
