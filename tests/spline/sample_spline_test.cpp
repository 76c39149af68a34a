#include "spline/sample_spline.h"

#include <cfloat>

#include "spline/chain_curvature_sizes.h"
#include "spline/spline_segment.h"

#include "spline_test_points.h"
#include "support/line_geometry.h"

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
    total = sample_spline<D>(pos, filum_test::padded_chain(static_cast<unsigned>(pos.cols())), tol,
                             size_floor, samples, node_params, sample_params, node_samples,
                             max_deviation);
  }
};

}  // namespace

// A straight line has no deviation and its nodes among the samples, at chord parameters;
// on a small arc the deviation is the sagitta of the pieces.
TYPED_TEST(SampleSpline, SamplesHoldTheNodesAndMeasureTheDeviation) {
  constexpr std::size_t D = TypeParam::value;
  const double s = 1e8;
  const auto line = coordinates<D>({{0, 0}, {1, 0.5}, {2, 1}, {3, 1.5}}, s);
  const sampling<D> straight(line, DBL_MAX, 0);
  ASSERT_EQ(straight.node_samples.size(), 4u);
  EXPECT_NEAR(straight.max_deviation, 0, 1e-15 * s);
  EXPECT_NEAR(straight.total, 3 * std::sqrt(1.25) * s, 1e-14 * s);
  for (std::size_t k = 0; k < 4; ++k) {
    EXPECT_EQ(column(straight.samples, straight.node_samples[k]), column(line, k)) << k;
    EXPECT_NEAR(straight.node_params[k], k / 3.0, 1e-15) << k;
  }
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

TYPED_TEST(SampleSpline, CurvatureSizesFromTheEndCurvaturesOfTheSamplingGiveTheSameBits) {
  constexpr std::size_t D = TypeParam::value;
  const auto pos = coordinates<D>({{0, 0}, {1, 0.2}, {1.7, 0.9}, {2, 2}, {1.6, 3}, {0.5, 3.4}});
  const vorn::dense1D<unsigned> chains[] = {filum_test::padded_chain(6),
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
