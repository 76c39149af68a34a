#include <vorn/filum.h>

#include "spline_test_points.h"

using spline_test::coordinates;
using vorn::vector_fixed;
using vorn::filum::no_id;
using vorn::filum::spline_point;

TEST(SplinePoint, CodesInArgumentOrderStartNodeExactlyAndChordsWithoutTangents) {
  const auto plane = coordinates<2>({{0, 0}, {1, 0}, {2, 1}});
  const auto space = coordinates<3>({{0, 0}, {1, 0}, {2, 1}});
  vector_fixed<double, 2> p2(-7.0, -7.0);
  vector_fixed<double, 3> p3(-7.0, -7.0, -7.0);
  const std::tuple<unsigned, unsigned, unsigned, unsigned, int> cases[] = {
      {3, 0, 1, 2, -2}, {0, 3, 1, 2, -3}, {0, 1, 3, 2, -4},
      {0, 1, 2, 3, -5}, {0, 7, 1, 9, -3}, {0, 1, 9, no_id, -4}};
  for (const auto& [i0, i1, i2, i3, code] : cases) {
    EXPECT_EQ(spline_point(plane, i0, i1, i2, i3, 0.5, p2), code);
    EXPECT_EQ(spline_point(space, i0, i1, i2, i3, 0.5, p3), code);
  }
  EXPECT_EQ(spline_point(space, 0, 0, 1, 1, 0.5, p2), -1);
  EXPECT_EQ(spline_point(plane, 9, 9, 9, 9, 0.5, p3), -1);  // rows are tested first
  EXPECT_TRUE(p2[0] == -7 && p2[1] == -7 && p3[0] == -7 && p3[2] == -7);
  const auto four = coordinates<3>({{-1.3, 0.7}, {0.1, 0.35}, {2.9, 1.45}, {3.3, 4.1}});
  ASSERT_EQ(spline_point(four, 0, 1, 2, 3, 0.0, p3), 0);
  EXPECT_TRUE(p3[0] == 0.1 && p3[1] == 0.35 && p3[2] == 0);
  ASSERT_EQ(spline_point(four, 0, 1, 2, 3, 1.0, p3), 0);
  EXPECT_NEAR(p3[0], 2.9, 1e-15);
  EXPECT_NEAR(p3[1], 1.45, 1e-15);
  for (double t : {-0.5, 0.3, 2.0}) {  // no tangent at either end: the chord, extrapolated
    ASSERT_EQ(spline_point(coordinates<2>({{0.1, 0.35}, {2.9, 1.45}}), 0, 0, 1, 1, t, p2), 0);
    EXPECT_TRUE(p2[0] == (2.9 - 0.1) * t + 0.1 && p2[1] == (1.45 - 0.35) * t + 0.35) << t;
  }
}
