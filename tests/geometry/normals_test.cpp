#include <cmath>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

#include <vorn/filum.h>

#include "support/filum_test.h"

using namespace vorn;
using namespace vorn::filum;
using filum_test::column;
using filum_test::make_pos;

namespace {

// Element columns from (start, end) pairs.
dense2D<unsigned> elements(std::initializer_list<std::initializer_list<unsigned>> pairs) {
  return filum_test::make_columns<unsigned>(pairs);
}

}  // namespace

TEST(Normals, SingleElementGivesItsLeftNormalForEveryExponent) {
  const dense2D<double> pos = make_pos({{0, 0}, {2, 0}, {5, 5}});
  const double inf = std::numeric_limits<double>::infinity();
  for (double p : {0.0, 1.0, -1.0, 2.5, unset, -unset, inf, std::nan("")})
    for (bool normalize : {false, true}) {
      dense2D<double> values;
      ASSERT_EQ(normals(pos, elements({{0, 1}}), p, normalize, values), 0);
      ASSERT_EQ(values.cols(), 3u);
      EXPECT_DOUBLE_EQ(values(1, 0), 1) << p;
      EXPECT_DOUBLE_EQ(values(1, 1), 1) << p;
      EXPECT_EQ(column(values, 2), (std::vector<double>{0, 0})) << p;  // untouched node
    }
}

TEST(Normals, CornersFoldsAndZeroLengthElements) {
  const double r = std::sqrt(2.0) / 2;
  const dense2D<double> square = make_pos({{0, 0}, {1, 0}, {1, 1}});
  const dense2D<double> tall = make_pos({{0, 0}, {1, 0}, {1, 3}});  // lengths 1 and 3
  const dense2D<unsigned> corner = elements({{0, 1}, {1, 2}});
  struct Case {
    dense2D<double> pos;
    dense2D<unsigned> connectM;
    double exponent;
    bool normalize;
    double x, y;  // the normal of node 1
  } cases[] = {
      {square, corner, 0, false, -0.5, 0.5},
      {square, corner, 0, true, -r, r},
      {tall, corner, 1, false, -0.75, 0.25},
      {tall, corner, -1, false, -0.25, 0.75},
      {tall, corner, unset, true, -1, 0},
      {tall, corner, -unset, false, 0, 1},
      {square, corner, unset, false, 0, 1},  // equal lengths: the first one met stays
      {square, elements({{1, 2}, {0, 1}}), -unset, false, -1, 0},
      {make_pos({{0, 0}, {1, 0}}), elements({{0, 1}, {1, 0}}), 0, true, 0, 0},  // fold back
      {make_pos({{0, 0}, {1, 0}, {1, 0}}), corner, 0, true, 0, 1},              // zero length
      {make_pos({{1e8, 1e8}, {1e8 + 1, 1e8}, {1e8 + 1, 1e8 + 1}}), corner, 0, true, -r, r},
      {make_pos({{0, 0}, {1e-8, 0}, {1e-8, 3e-8}}), corner, 1, false, -0.75, 0.25},
  };
  for (const Case& c : cases) {
    dense2D<double> values;
    ASSERT_EQ(normals(c.pos, c.connectM, c.exponent, c.normalize, values), 0);
    EXPECT_DOUBLE_EQ(values(0, 1), c.x) << c.exponent << " " << c.pos(0, 0);
    EXPECT_DOUBLE_EQ(values(1, 1), c.y) << c.exponent << " " << c.pos(0, 0);
  }
}

TEST(Normals, CodesAndStorageFailures) {
  const dense2D<double> plane = make_pos({{0, 0}, {1, 0}});
  struct Case {
    dense2D<double> pos;
    dense2D<unsigned> connectM;
    int expected;
  } cases[] = {
      {dense2D<double>(3, 0), elements({{0}}), 0},
      {make_pos({{0, 0, 0}}), {}, 0},
      {make_pos({{0, 0, 0}}), elements({{0}}), -1},
      {plane, elements({{0}}), -2},
      {plane, elements({{0, 2}}), -2},
  };
  for (const Case& c : cases) {
    dense2D<double> values = make_pos({{1, 1}});
    EXPECT_EQ(normals(c.pos, c.connectM, 0, true, values), c.expected);
    EXPECT_TRUE(values.empty());
  }
  struct inputs {
    dense2D<double> pos, values;
    dense2D<unsigned> connectM;
  };
  const std::size_t failures = filum_test::sweep_allocation_failures(
      [&] {
        return inputs{plane, {}, elements({{0, 1}})};
      },
      [](inputs& in) { return normals(in.pos, in.connectM, 1, true, in.values); },
      [](inputs& in, int result, bool failed) {
        EXPECT_EQ(result, failed ? -199 : 0);
        EXPECT_EQ(in.values.cols(), failed ? 0u : 2u);
      });
  EXPECT_GT(failures, 0u);
}
