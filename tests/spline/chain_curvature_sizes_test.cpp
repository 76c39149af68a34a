#include "spline/chain_curvature_sizes.h"

#include <cfloat>

#include "spline/sample_spline.h"
#include "spline/spline_segment.h"

#include "spline_test_points.h"

using namespace vorn::filum;
using spline_test::coordinates;

template <class Dim>
using ChainCurvatureSizes = spline_test::both_dimensions<Dim>;
TYPED_TEST_SUITE(ChainCurvatureSizes, spline_test::dimensions);

TYPED_TEST(ChainCurvatureSizes, MeanOfBothPiecesAtANodeGhostsRepeatTheirNeighbor) {
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

TYPED_TEST(ChainCurvatureSizes, EndCurvaturesOfTheSamplingGiveTheSameBits) {
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
