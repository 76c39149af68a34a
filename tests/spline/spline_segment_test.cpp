#include "spline/spline_segment.h"

#include <cfloat>

#include <vorn/filum.h>

#include "spline_test_points.h"

using namespace vorn::filum;
using spline_test::coordinates;
using vorn::vector_fixed;

template <class Dim>
using SplineSegment = spline_test::both_dimensions<Dim>;
TYPED_TEST_SUITE(SplineSegment, spline_test::dimensions);

namespace {

// Whether two pieces have the same coefficients, bit for bit.
template <std::size_t D>
bool same(const spline_segment<D>& p, const spline_segment<D>& q) {
  return norm2(p.a1 - q.a1) + norm2(p.a2 - q.a2) + norm2(p.a3 - q.a3) == 0;
}

}  // namespace

// A neighbor that doubles back on the chord gives no tangent; one square to it still does.
TYPED_TEST(SplineSegment, TangentsFromTheNeighborsAtEveryScale) {
  constexpr std::size_t D = TypeParam::value;
  const struct {
    double x0, y0, x3, y3;
    bool start_ignored, end_ignored;
  } turned[] = {{0.6, 0.05, 2, 0.5, true, false},    // doubles back: quadratic row
                {0.6, 0.05, 0.4, 0.05, true, true},  // both double back: the chord
                {0, 1, 2, 0.5, false, false}};       // square to the chord: still used
  for (double s : {1e-8, 1.0, 1e8})
    for (const auto& c : turned) {
      const auto pos = coordinates<D>({{c.x0, c.y0}, {0, 0}, {1, 0}, {c.x3, c.y3}}, s);
      const auto piece = build_spline_segment<D>(pos, 0, 1, 2, 3);
      EXPECT_EQ(same(piece, build_spline_segment<D>(pos, 1, 1, 2, c.end_ignored ? 2 : 3)),
                c.start_ignored)
          << s << " " << c.x0;
      EXPECT_EQ(same(piece, build_spline_segment<D>(pos, 1, 1, 2, 2)), c.end_ignored);
    }
}

TYPED_TEST(SplineSegment, CurvatureAndTheChordalSizeItAllows) {
  constexpr std::size_t D = TypeParam::value;
  auto pos = coordinates<D>(spline_test::arc(1e-8, 4, 15));
  for (std::size_t j = 0; D == 3 && j < 4; ++j)  // tilt the plane about the x axis
    pos(D - 1, j) = 0.8 * pos(1, j), pos(1, j) *= 0.6;
  for (double t : {0.0, 0.5, 1.0})
    EXPECT_NEAR(spline_curvature(build_spline_segment<D>(pos, 0, 1, 2, 3), t) * 1e-8, 1, 0.02);
  const auto line = coordinates<D>({{0, 0}, {1, 1}, {2, 2}, {4, 4}});
  EXPECT_NEAR(spline_curvature(build_spline_segment<D>(line, 0, 1, 2, 3), 0.5), 0, 1e-14);
  // Coincident end nodes: a constant piece, without tangent and curvature.
  const auto point = coordinates<D>({{-1, 0.5}, {0.25, 3}, {0.25, 3}, {2, 1}});
  const auto constant = build_spline_segment<D>(point, 0, 1, 2, 3);
  EXPECT_EQ(constant.chord + norm2(constant.a1) + norm2(constant.a2) + norm2(constant.a3), 0);
  EXPECT_EQ(spline_curvature(constant, 0.5), DBL_MAX);
  EXPECT_DOUBLE_EQ(chordal_size(1, -0.01), 0.28213471959331771);
  EXPECT_DOUBLE_EQ(chordal_size(2, 0.25), std::sqrt(3.0) / 2);
  for (auto [kappa, e] : {std::pair{0.5, 2.0}, {1, -1}, {0, 0.1}, {-1, 0.1}, {1e-300, DBL_MAX}})
    EXPECT_EQ(chordal_size(kappa, e), DBL_MAX) << kappa << " " << e;
}

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
