#include "spline/spline_segment.h"

#include <cfloat>
#include <cmath>

#include <gtest/gtest.h>

#include "spline_test_points.h"

using namespace vorn::filum;
using spline_test::coordinates;

namespace {

template <class Dim>
class SplineSegment : public ::testing::Test {};
TYPED_TEST_SUITE(SplineSegment, spline_test::dimensions);

constexpr double scales[] = {1e-8, 1, 1e8};

// Whether the piece is the straight chord P1 -> P2 of pos, coefficient for coefficient.
template <std::size_t D>
bool is_chord(const spline_segment<D>& p, const vorn::dense2D<double>& pos) {
  const point<D> d = column_point<D>(pos, 2) - column_point<D>(pos, 1);
  for (std::size_t i = 0; i < D; ++i)
    if (p.a1[i] != d[i] || p.a2[i] != 0 || p.a3[i] != 0) return false;
  return true;
}

}  // namespace

TYPED_TEST(SplineSegment, PieceWithoutTangentsIsItsChordBitForBit) {
  constexpr std::size_t D = TypeParam::value;
  for (double s : scales) {
    const auto pos = coordinates<D>({{0, 0}, {0.3, -1.7}, {2.9, 0.4}}, s);
    const auto piece = build_spline_segment<D>(pos, 1, 1, 2, 2);
    EXPECT_TRUE(is_chord(piece, pos)) << s;
    EXPECT_DOUBLE_EQ(piece.chord, std::hypot(2.6, 2.1) * s);
    for (double t : {0.0, 0.3, 1.0, 1.5}) {
      const point<D> p = piece.a0 + spline_offset(piece, t);
      EXPECT_EQ(p[0], (2.9 * s - 0.3 * s) * t + 0.3 * s) << t;
      EXPECT_EQ(p[1], (0.4 * s - -1.7 * s) * t + -1.7 * s) << t;
    }
  }
}

TYPED_TEST(SplineSegment, CollinearEvenlySpacedNodesGiveChordPoints) {
  constexpr std::size_t D = TypeParam::value;
  for (double s : scales) {
    const auto pos = coordinates<D>({{-1, -2}, {0, 0}, {1, 2}, {2, 4}}, s);
    const auto piece = build_spline_segment<D>(pos, 0, 1, 2, 3);
    for (double t : {0.25, 0.5, 0.75}) {
      const point<D> p = piece.a0 + spline_offset(piece, t);
      EXPECT_NEAR(p[0], t * s, 1e-15 * s);
      EXPECT_NEAR(p[1], 2 * t * s, 1e-15 * s);
    }
  }
}

// Tangents scaled to the chord keep the cubic's projection on the chord monotone, so the
// guard only meets cubics that are straight up to rounding; its absolute bound of 1e-4
// then replaces them by the chord on short pieces only. Power-of-two scales keep the
// rounding of one shape identical.
TYPED_TEST(SplineSegment, BacktrackingGuardFallsBackToTheChordOnShortPieces) {
  constexpr std::size_t D = TypeParam::value;
  const struct {
    int exponent;
    bool chord;
  } cases[] = {{0, false}, {27, false}, {-30, true}};
  for (const auto& c : cases) {
    const double s = std::ldexp(1.0, c.exponent);
    const auto pos = coordinates<D>({{-0.1, -0.1}, {0, 0}, {0.1, 0.1}, {0.2, 0.2}}, s);
    const auto piece = build_spline_segment<D>(pos, 0, 1, 2, 3);
    EXPECT_EQ(is_chord(piece, pos), c.chord) << c.exponent;
    EXPECT_EQ(piece.a3[0] != 0 || piece.a3[1] != 0, !c.chord) << c.exponent;
  }
}

TYPED_TEST(SplineSegment, NeighbourTurnedAwayIsIgnoredAtEveryScale) {
  constexpr std::size_t D = TypeParam::value;
  const struct {
    double x0, y0, x3, y3;
    bool start_ignored, end_ignored;
  } cases[] = {{0.6, 0.05, 2, 0.5, true, false},    // doubles back: quadratic row
               {0.6, 0.05, 0.4, 0.05, true, true},  // both double back: the chord
               {-1, 0.5, 2, 0.5, false, false},     // a genuine neighbour counts
               {0, 1, 2, 0.5, false, false}};       // at 90 degrees the blend still leans in
  for (double s : scales)
    for (const auto& c : cases) {
      const auto pos = coordinates<D>({{c.x0, c.y0}, {0, 0}, {1, 0}, {c.x3, c.y3}}, s);
      const auto piece = build_spline_segment<D>(pos, 0, 1, 2, 3);
      const auto without = build_spline_segment<D>(pos, 1, 1, 2, c.end_ignored ? 2 : 3);
      const bool same = piece.a1[0] == without.a1[0] && piece.a1[1] == without.a1[1] &&
                        piece.a2[0] == without.a2[0] && piece.a2[1] == without.a2[1] &&
                        piece.a3[0] == without.a3[0] && piece.a3[1] == without.a3[1];
      EXPECT_EQ(same, c.start_ignored) << s << " " << c.x0;
      if (c.end_ignored) {
        EXPECT_TRUE(is_chord(piece, pos));
      }
    }
}

// Below a hundredth of the chord the neighbour's length enters in absolute units.
TYPED_TEST(SplineSegment, ShortNeighbourWeighsByItsOwnLength) {
  constexpr std::size_t D = TypeParam::value;
  const double c45 = std::sqrt(0.5);
  for (double s : scales)
    for (double fraction : {0.005, 0.02}) {
      const double L0 = fraction * s;
      const auto pos = coordinates<D>({{-L0 * c45, -L0 * c45}, {0, 0}, {s, 0}}, 1);
      const auto piece = build_spline_segment<D>(pos, 0, 1, 2, 2);
      const double expected =
          fraction < 0.01 ? std::atan2(L0 * c45, 1 + L0 * c45) : std::atan2(s * c45, s * c45 + L0);
      EXPECT_NEAR(std::atan2(piece.a1[1], piece.a1[0]), expected, 1e-12) << s;
      EXPECT_NEAR(std::sqrt(norm2(piece.a1)), s, 1e-15 * s);
    }
}

TYPED_TEST(SplineSegment, CoincidentEndNodesGiveAConstant) {
  constexpr std::size_t D = TypeParam::value;
  const auto pos = coordinates<D>({{-1, 0.5}, {0.25, 3}, {0.25, 3}, {2, 1}});
  const auto piece = build_spline_segment<D>(pos, 0, 1, 2, 3);
  EXPECT_EQ(piece.chord, 0);
  for (std::size_t i = 0; i < D; ++i)
    EXPECT_TRUE(piece.a1[i] == 0 && piece.a2[i] == 0 && piece.a3[i] == 0);
  EXPECT_EQ(spline_curvature(piece, 0.5), DBL_MAX);
}

TYPED_TEST(SplineSegment, ConsecutivePiecesShareTheirTangentDirection) {
  constexpr std::size_t D = TypeParam::value;
  const auto pos = coordinates<D>({{0, 0}, {1, 0.2}, {1.5, 1}, {3.5, 1.5}, {4, 3}});
  for (unsigned k = 0; k + 4 < 6; ++k) {
    const auto first = build_spline_segment<D>(pos, k, k + 1, k + 2, k + 3);
    const auto second = build_spline_segment<D>(pos, k + 1, k + 2, k + 3, k + 4);
    const point<D> end = spline_derivative(first, 1);
    const point<D> start = spline_derivative(second, 0);
    EXPECT_NEAR(cross_norm2(end, start), 0, 1e-24 * norm2(end) * norm2(start));
    EXPECT_GT(dot(end, start), 0);
    EXPECT_NEAR(std::sqrt(norm2(start)), second.chord, 1e-15);
    const point<D> last = first.a0 + spline_offset(first, 1);
    EXPECT_NEAR(std::sqrt(norm2(last - column_point<D>(pos, k + 2))), 0, 1e-15);
  }
}

TYPED_TEST(SplineSegment, CurvatureOfACircleLikeSplineIsNearOneOverR) {
  constexpr std::size_t D = TypeParam::value;
  for (double R : scales) {
    auto pos = coordinates<D>(spline_test::arc(R, 4, 15));
    if (D == 3)  // tilt the circle's plane about the x axis
      for (std::size_t j = 0; j < 4; ++j) {
        const double y = pos(1, j);
        pos(1, j) = 0.6 * y;
        pos(D - 1, j) = 0.8 * y;
      }
    const auto piece = build_spline_segment<D>(pos, 0, 1, 2, 3);
    for (double t : {0.0, 0.5, 1.0})
      EXPECT_NEAR(spline_curvature(piece, t) * R, 1, 0.02) << R << " " << t;
  }
  const auto straight = coordinates<D>({{0, 0}, {1, 1}, {2, 2}, {3, 3}});
  EXPECT_NEAR(spline_curvature(build_spline_segment<D>(straight, 0, 1, 2, 3), 0.5), 0, 1e-14);
}

TEST(ChordalSize, ClosedFormsAndLimits) {
  EXPECT_DOUBLE_EQ(chordal_size(1, -0.01), 0.28213471959331771);
  EXPECT_DOUBLE_EQ(chordal_size(2, 0.25), std::sqrt(3.0) / 2);  // d = 0.5
  const struct {
    double kappa, e;
  } unlimited[] = {{0.5, 2}, {1, -1}, {1, -3}, {0, 0.1}, {-1, 0.1}, {1e-300, DBL_MAX}};
  for (const auto& c : unlimited)
    EXPECT_EQ(chordal_size(c.kappa, c.e), DBL_MAX) << c.kappa << " " << c.e;
  // The size is the chord of the circle of radius 1/kappa whose sagitta is d / kappa.
  for (double kappa : {1e-8, 0.3, 1e8})
    for (double e : {-0.2, -1e-6, 1e-3 / kappa, 0.7 / kappa}) {
      const double h = chordal_size(kappa, e);
      const double R = 1 / kappa;
      const double sagitta = R - std::sqrt(R * R - h * h / 4);
      EXPECT_NEAR(sagitta / R, e < 0 ? -e : e * kappa, 1e-9) << kappa << " " << e;
    }
}
