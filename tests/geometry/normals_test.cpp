#include <cmath>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

#include <vorn/filum.h>

#include "support/filum_test.h"

using namespace vorn;
using namespace vorn::filum;
using filum_test::column;
using filum_test::make_columns;
using filum_test::make_pos;

namespace {

const double inf = std::numeric_limits<double>::infinity();

// Element columns from (start, end) pairs.
dense2D<unsigned> elements(std::initializer_list<std::initializer_list<unsigned>> pairs) {
  return make_columns<unsigned>(pairs);
}

}  // namespace

TEST(Normals, SingleElementGivesItsLeftNormalForEveryExponent) {
  const dense2D<double> pos = make_pos({{0, 0}, {2, 0}, {5, 5}});
  for (double p : {0.0, 1.0, -1.0, 2.5, unset, -unset, inf, std::nan("")}) {
    for (bool normalize : {false, true}) {
      dense2D<double> values;
      ASSERT_EQ(normals(pos, elements({{0, 1}}), p, normalize, values), 0);
      ASSERT_EQ(values.rows(), 2u);
      ASSERT_EQ(values.cols(), 3u);
      EXPECT_DOUBLE_EQ(values(0, 0), 0) << p;
      EXPECT_DOUBLE_EQ(values(1, 0), 1) << p;
      EXPECT_DOUBLE_EQ(values(1, 1), 1) << p;
      EXPECT_EQ(column(values, 2), (std::vector<double>{0, 0})) << p;  // untouched node
    }
  }
}

TEST(Normals, CornersFoldsAndZeroLengthElements) {
  const double half_sqrt2 = std::sqrt(2.0) / 2;
  struct Case {
    const char* name;
    dense2D<double> pos;
    dense2D<unsigned> connectM;
    double exponent;
    bool normalize;
    double x, y;  // the normal of node 1
  } cases[] = {
      {"corner, average", make_pos({{0, 0}, {1, 0}, {1, 1}}), elements({{0, 1}, {1, 2}}), 0, false,
       -0.5, 0.5},
      {"corner, unit", make_pos({{0, 0}, {1, 0}, {1, 1}}), elements({{0, 1}, {1, 2}}), 0, true,
       -half_sqrt2, half_sqrt2},
      {"corner, by length", make_pos({{0, 0}, {1, 0}, {1, 3}}), elements({{0, 1}, {1, 2}}), 1,
       false, -0.75, 0.25},
      {"corner, by inverse length", make_pos({{0, 0}, {1, 0}, {1, 3}}), elements({{0, 1}, {1, 2}}),
       -1, false, -0.25, 0.75},
      {"corner, longest", make_pos({{0, 0}, {1, 0}, {1, 3}}), elements({{0, 1}, {1, 2}}), unset,
       true, -1, 0},
      {"corner, shortest", make_pos({{0, 0}, {1, 0}, {1, 3}}), elements({{0, 1}, {1, 2}}), -unset,
       false, 0, 1},
      {"equal lengths, first longest stays", make_pos({{0, 0}, {1, 0}, {1, 1}}),
       elements({{0, 1}, {1, 2}}), unset, false, 0, 1},
      {"equal lengths, first shortest stays", make_pos({{0, 0}, {1, 0}, {1, 1}}),
       elements({{1, 2}, {0, 1}}), -unset, false, -1, 0},
      {"fold back", make_pos({{0, 0}, {1, 0}}), elements({{0, 1}, {1, 0}}), 0, true, 0, 0},
      {"zero length", make_pos({{0, 0}, {1, 0}, {1, 0}}), elements({{0, 1}, {1, 2}}), 0, true, 0,
       1},
      {"far corner", make_pos({{1e8, 1e8}, {1e8 + 1, 1e8}, {1e8 + 1, 1e8 + 1}}),
       elements({{0, 1}, {1, 2}}), 0, true, -half_sqrt2, half_sqrt2},
      {"tiny corner, by length", make_pos({{0, 0}, {1e-8, 0}, {1e-8, 3e-8}}),
       elements({{0, 1}, {1, 2}}), 1, false, -0.75, 0.25},
  };
  for (const Case& c : cases) {
    dense2D<double> values;
    ASSERT_EQ(normals(c.pos, c.connectM, c.exponent, c.normalize, values), 0) << c.name;
    EXPECT_DOUBLE_EQ(values(0, 1), c.x) << c.name;
    EXPECT_DOUBLE_EQ(values(1, 1), c.y) << c.name;
  }
}

TEST(Normals, CodesInArgumentOrder) {
  const dense2D<double> plane = make_pos({{0, 0}, {1, 0}});
  struct Case {
    const char* name;
    dense2D<double> pos;
    dense2D<unsigned> connectM;
    int expected;
  } cases[] = {
      {"empty pos", dense2D<double>(3, 0), make_columns<unsigned>({{0}}), 0},
      {"no elements", make_pos({{0, 0, 0}}), dense2D<unsigned>(), 0},
      {"pos rows", make_pos({{0, 0, 0}}), make_columns<unsigned>({{0}}), -1},
      {"one row", plane, make_columns<unsigned>({{0}}), -2},
      {"identifier", plane, elements({{0, 2}}), -2},
  };
  for (const Case& c : cases) {
    dense2D<double> values = make_pos({{1, 1}});
    EXPECT_EQ(normals(c.pos, c.connectM, 0, true, values), c.expected) << c.name;
    EXPECT_TRUE(values.empty()) << c.name;
  }
}

TEST(Normals, StorageFailures) {
  struct inputs {
    dense2D<double> pos;
    dense2D<unsigned> connectM;
    dense2D<double> values;
  };
  const std::size_t failures = filum_test::sweep_allocation_failures(
      [] {
        return inputs{make_pos({{0, 0}, {1, 0}}), elements({{0, 1}}), dense2D<double>()};
      },
      [](inputs& in) { return normals(in.pos, in.connectM, 1, true, in.values); },
      [](inputs& in, int result, bool failed) {
        EXPECT_EQ(result, failed ? -199 : 0);
        EXPECT_EQ(in.values.cols(), failed ? 0u : 2u);
      });
  EXPECT_GT(failures, 0u);
}
