#include "spline/sample_spline.h"

#include <cfloat>

#include "spline/chain_curvature_sizes.h"
#include "spline/spline_segment.h"

#include "spline_test_points.h"

using namespace vorn::filum;
using filum_test::column;
using spline_test::arc;
using spline_test::coordinates;

template <class Dim>
using SampleSpline = spline_test::both_dimensions<Dim>;
TYPED_TEST_SUITE(SampleSpline, spline_test::dimensions);

namespace {

// The outputs of sampling the open spline through all columns of pos; they start with
// stale content that must be emptied.
template <std::size_t D>
struct sampling {
  vorn::dense2D<double> samples{5, 2};
  vorn::dense1D<double> node_params{3, 9.0}, sample_params{3, 9.0};
  vorn::dense1D<unsigned> node_samples{3, 9u};
  double max_deviation = -1, total = -1;

  sampling(const vorn::dense2D<double>& pos, double tol, double size_floor) {
    total = sample_spline<D>(pos, spline_test::padded_chain(static_cast<unsigned>(pos.cols())), tol,
                             size_floor, samples, node_params, sample_params, node_samples,
                             max_deviation);
  }
  unsigned count(std::size_t piece) const {  // sub-intervals of a piece
    return node_samples[piece + 1] - node_samples[piece];
  }
};

}  // namespace

TYPED_TEST(SampleSpline, NodesAndMidpointsOrCountsOfTheChordalSizeOrTheFloor) {
  constexpr std::size_t D = TypeParam::value;
  const double s = 1e8;  // without a tolerance: nodes exactly, midpoints, chord parameters
  const auto line = coordinates<D>({{0, 0}, {1, 0.5}, {2, 1}, {3, 1.5}}, s);
  const sampling<D> straight(line, DBL_MAX, 0);
  ASSERT_TRUE(straight.samples.cols() == 7u && straight.sample_params.size() == 7u);
  EXPECT_EQ(filum_test::entries(straight.node_samples), (std::vector<unsigned>{0, 2, 4, 6}));
  EXPECT_NEAR(straight.max_deviation, 0, 1e-15 * s);
  EXPECT_NEAR(straight.total, 3 * std::sqrt(1.25) * s, 1e-14 * s);
  for (std::size_t j = 0; j < 7; ++j) {
    EXPECT_NEAR(straight.sample_params[j], j / 6.0, 1e-15) << j;
    EXPECT_TRUE(j % 2 == 1 || column(straight.samples, j) == column(line, j / 2)) << j;
    for (std::size_t i = 0; j % 2 == 1 && i < D; ++i)
      EXPECT_NEAR(straight.samples(i, j), (line(i, j / 2) + line(i, j / 2 + 1)) / 2, 1e-15 * s);
  }
  EXPECT_TRUE(straight.sample_params[6] == 1 && straight.node_params[3] == 1);
  EXPECT_NEAR(straight.node_params[2], 2 / 3.0, 1e-15);
  // On pieces of about 0.349 the chordal sizes are below 0.003 and the floor decides. The
  // first piece matches only its end tangent, 10 degrees off the chord: its |a1|, the
  // parameter length, exceeds the chord; the second piece's |a1| is its chord.
  const auto pos = coordinates<D>(arc(1, 3, 20));
  const double chord = 2 * std::sin(10 * spline_test::pi / 180);
  const double first = chord * std::sqrt(5 - 4 * std::cos(10 * spline_test::pi / 180));
  for (auto [size_floor, m] : {std::pair{0.15, 3u}, {0.08, 5u}, {0.045, 8u}, {1, 2u}}) {
    const sampling<D> out(pos, 1e-6, size_floor);
    EXPECT_TRUE(out.count(0) == m && out.count(1) == m) << size_floor;
    EXPECT_EQ(out.samples.cols(), 2 * m + 1);
    EXPECT_EQ(column(out.samples, 2 * m), column(pos, 2));
    EXPECT_NEAR(out.total, first + chord, 1e-15);
  }
  // Without a floor: the piece length 0.3 over the chordal size 0.0283 of radius 1. The
  // deviation is the sagitta of the pieces.
  EXPECT_EQ(sampling<D>(coordinates<D>(arc(1, 4, 17.19)), 1e-4, 0).count(1), 11u);
  const sampling<D> small(coordinates<D>(arc(1e-8, 5, 20)), DBL_MAX, 0);
  EXPECT_NEAR(small.max_deviation / 1e-8, 1 - std::cos(10 * spline_test::pi / 180), 5e-4);
}

TYPED_TEST(SampleSpline, UnboundedPiecesEndTheSamplingInsteadOfLoopingOnFailedAppends) {
  constexpr std::size_t D = TypeParam::value;
  // An infinite node gives pieces of infinite length; a tolerance of 1e-300 on a bent
  // piece asks for more samples than 32-bit indices or storage hold.
  for (auto [far, tol] : {std::pair{-INFINITY, 2.3125}, {1e6, 1e-300}}) {
    const auto pos = coordinates<D>({{0, 0}, {0, far}, {1, far}}, 1);
    const sampling<D> s(pos, tol, 0);
    EXPECT_LE(s.samples.cols(), 6u) << far;
    EXPECT_EQ(s.sample_params.size(), s.samples.cols()) << far;
  }
}

TYPED_TEST(SampleSpline, CurvatureSizesTakeTheMeanOfBothPiecesAtANodeGhostsRepeatTheirNeighbor) {
  constexpr std::size_t D = TypeParam::value;
  vorn::dense1D<double> z = filum_test::values({1, 2, 3});  // emptied first
  chain_curvature_sizes<D>(coordinates<D>({{0, 0}, {1, 2}, {2, 4}, {4, 8}}),
                           spline_test::padded_chain(4), -0.05, z);
  EXPECT_EQ(filum_test::entries(z), std::vector<double>(6, DBL_MAX));  // straight: no limit
  // Where a straight run turns into a bend, node 2 takes the mean of both pieces' ends.
  const auto pos = coordinates<D>({{0, 0}, {1, 0}, {2, 0}, {2.5, 0.5}, {2.5, 1}});
  chain_curvature_sizes<D>(pos, spline_test::padded_chain(5), -0.05, z);
  const double before = spline_curvature(build_spline_segment<D>(pos, 0, 1, 2, 3), 1);
  const double after = spline_curvature(build_spline_segment<D>(pos, 1, 2, 3, 4), 0);
  const double last = spline_curvature(build_spline_segment<D>(pos, 2, 3, 4, 4), 1);
  ASSERT_TRUE(z.size() == 7u && before != after);
  EXPECT_DOUBLE_EQ(z[3], chordal_size((after + before) / 2, -0.05));
  EXPECT_TRUE(z[0] == z[1] && z[5] == z[6] && z[6] == chordal_size(last, -0.05));
}

TYPED_TEST(SampleSpline, CurvatureSizesFromTheEndCurvaturesOfTheSamplingGiveTheSameBits) {
  constexpr std::size_t D = TypeParam::value;
  const auto pos = coordinates<D>({{0, 0}, {1, 0.2}, {1.7, 0.9}, {2, 2}, {1.6, 3}, {0.5, 3.4}});
  const vorn::dense1D<unsigned> chains[] = {spline_test::padded_chain(6),
                                            filum_test::ids({0, 0, 1, 2, 3, 4, 5, 5})};
  for (const auto& chain : chains)
    for (double tol : {DBL_MAX, 1e-3, -0.02}) {  // none, a distance, a fraction
      vorn::dense2D<double> samples;
      vorn::dense1D<double> node_params, sample_params, ends{2, 7.0}, by_pieces, by_ends;
      vorn::dense1D<unsigned> node_samples;
      double deviation = 0;
      sample_spline<D>(pos, chain, tol, 0, samples, node_params, sample_params, node_samples,
                       deviation, &ends);
      ASSERT_EQ(ends.size(), 2 * (chain.size() - 3));
      EXPECT_EQ(ends[1],
                spline_curvature(
                    build_spline_segment<D>(pos, chain[0], chain[1], chain[2], chain[3]), 1));
      chain_curvature_sizes<D>(pos, chain, -0.05, by_pieces);
      chain_curvature_sizes(ends, -0.05, by_ends);
      EXPECT_EQ(filum_test::entries(by_ends), filum_test::entries(by_pieces)) << tol;
    }
}
