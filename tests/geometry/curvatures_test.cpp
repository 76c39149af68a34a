#include <cmath>

#include <gtest/gtest.h>
#include <vorn/filum.h>

#include "support/filum_test.h"
#include "support/line_geometry.h"

using namespace vorn;
using namespace filum_test;

TEST(Curvatures, ResultCodesAndStorageFailure) {
  dense1D<double> out = values({7, 7});
  const auto pos2 = make_pos({{0, 0}, {1, 0}});
  const auto pos4 = make_columns<double>({{0, 0, 0, 0}, {1, 0, 0, 0}});
  EXPECT_EQ(filum::curvatures(pos4, ids({}), out), 0);  // empty chain before the rows
  EXPECT_EQ(filum::curvatures(pos4, ids({0, 1}), out), -1);
  EXPECT_EQ(filum::curvatures(pos2, ids({0, 2}), out), -2);
  EXPECT_TRUE(out.empty());
  EXPECT_EQ(filum::curvatures(pos2, ids({1}), out), 0);
  EXPECT_EQ(entries(out), std::vector<double>({0}));
  EXPECT_EQ(filum::curvatures(pos2, ids({0, 1}), out), 0);
  EXPECT_EQ(entries(out), std::vector<double>({0, 0}));
  const auto pos = arc(7, 1, 3);
  const auto chain = first_columns(7);
  sweep_allocation_failures(
      [] { return dense1D<double>(); },
      [&](dense1D<double>& values) { return filum::curvatures(pos, chain, values); },
      [](const dense1D<double>& values, int result, bool failed) {
        EXPECT_EQ(result, failed ? filum::storage_failure : 0);
        EXPECT_EQ(values.size(), failed ? 0u : 7u);
      });
}

TEST(Curvatures, RegularPolygonGivesTheInverseRadiusAtAnyScale) {
  for (std::size_t dim : {2u, 3u})
    for (double R : {1e-8, 1.0, 1e8})
      for (double center : {0.0, 1e8 * R}) {
        dense1D<double> values;
        ASSERT_EQ(filum::curvatures(arc(13, R, 2 * M_PI, center, dim), first_columns(13), values),
                  0);
        for (std::size_t i = 0; i < 13; ++i)
          EXPECT_NEAR(values[i] * R, 1, center == 0 ? 1e-14 : 1e-7) << dim << " " << R;
      }
}

TEST(Curvatures, StraightLinesZeroLengthSegmentsAndUnequalSegments) {
  dense1D<double> values;
  // Segment lengths 7, 14 and 3.5 along (2, 3, 6) / 7 give one rounded direction: 0.
  const auto line = make_pos({{0, 0, 0}, {2, 3, 6}, {6, 9, 18}, {7, 10.5, 21}});
  ASSERT_EQ(filum::curvatures(line, ids({0, 1, 2, 3}), values), 0);
  EXPECT_EQ(entries(values), std::vector<double>(4, 0.0));
  // A right angle of unit segments gives 2 |d - d'| / 2 = sqrt 2 at node 1, copied to the
  // ends; the zero-length segment 2-3 leaves 0 on both its sides.
  const double r2 = std::sqrt(2.0);
  const auto corner = make_pos({{0, 0}, {1, 0}, {1, 1}, {1, 1}, {2, 1}});
  ASSERT_EQ(filum::curvatures(corner, ids({0, 1, 2, 3, 4}), values), 0);
  EXPECT_EQ(entries(values), std::vector<double>({r2, r2, 0, 0, 0}));
  // Lengths 1 and sqrt 2: their sum divides.
  ASSERT_EQ(filum::curvatures(make_pos({{0, 0}, {1, 0}, {2, 1}}), ids({0, 1, 2}), values), 0);
  const double dx = 1 - 1 / r2, dy = 1 / r2;
  EXPECT_EQ(values[1], 2 * std::sqrt(dx * dx + dy * dy) / (1 + r2));
}
