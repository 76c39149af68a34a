#include "spline/chain_curvature_sizes.h"

#include "spline/spline_segment.h"

#include "spline_test_points.h"

using namespace vorn::filum;
using spline_test::coordinates;

template <class Dim>
using ChainCurvatureSizes = spline_test::both_dimensions<Dim>;
TYPED_TEST_SUITE(ChainCurvatureSizes, spline_test::dimensions);

TYPED_TEST(ChainCurvatureSizes, OneSizePerEntryGhostsRepeatTheirNeighbour) {
  constexpr std::size_t D = TypeParam::value;
  const double R = 1e8;  // real neighbours as ghosts give every piece both tangents
  const auto arc = coordinates<D>(spline_test::arc(R, 8, 15));
  // Chordal setting, expected size over R (DBL_MAX: no limit).
  for (auto [e, size] : {std::pair{-0.01, std::sqrt(1.99 * 0.01 * 4)},
                         {1e-3 * R, std::sqrt(1.999 * 0.001 * 4)},
                         {DBL_MAX, DBL_MAX}}) {
    vorn::dense1D<double> z = filum_test::values({1, 2, 3});  // emptied first
    chain_curvature_sizes<D>(arc, filum_test::ids({0, 1, 2, 3, 4, 5, 6, 7}), e, z);
    ASSERT_EQ(z.size(), 8u);
    EXPECT_TRUE(z[0] == z[1] && z[6] == z[7]);
    for (std::size_t k = 0; k < 8; ++k)
      EXPECT_TRUE(size == DBL_MAX ? z[k] == DBL_MAX : std::abs(z[k] / R - size) < 0.02 * size)
          << e << " " << k;
  }
  vorn::dense1D<double> z;  // a straight chain sets no limit
  chain_curvature_sizes<D>(coordinates<D>({{0, 0}, {1, 2}, {2, 4}, {4, 8}}),
                           spline_test::padded_chain(4), -0.05, z);
  EXPECT_EQ(filum_test::entries(z), std::vector<double>(6, DBL_MAX));
  // Where a straight run turns into a bend, node 2 takes the mean of both pieces' ends.
  const auto pos = coordinates<D>({{0, 0}, {1, 0}, {2, 0}, {2.5, 0.5}, {2.5, 1}});
  chain_curvature_sizes<D>(pos, spline_test::padded_chain(5), -0.05, z);
  const double before = spline_curvature(build_spline_segment<D>(pos, 0, 1, 2, 3), 1);
  const double after = spline_curvature(build_spline_segment<D>(pos, 1, 2, 3, 4), 0);
  ASSERT_TRUE(z.size() == 7u && before != after);
  EXPECT_DOUBLE_EQ(z[3], chordal_size((after + before) / 2, -0.05));
}
