#include "spline/turning_chain.h"

#include "spline_test_points.h"

using namespace vorn::filum;
using filum_test::ids;
using spline_test::coordinates;

template <class Dim>
using TurningChain = spline_test::both_dimensions<Dim>;
TYPED_TEST_SUITE(TurningChain, spline_test::dimensions);

TYPED_TEST(TurningChain, KeepsEndsGhostsAndTurningNodesWithLengthFractions) {
  constexpr std::size_t D = TypeParam::value;
  const double bend = 2 * std::sqrt(1.25) / (2 * std::sqrt(1.25) + std::sqrt(2.0));
  const auto open = ids({0, 0, 1, 2, 3, 4, 4});
  const std::tuple<spline_test::plane_points, vorn::dense1D<unsigned>, std::vector<unsigned>,
                   std::vector<double>>
      cases[] = {
          // points, chain, the kept entries and their parameters
          {{{0, 0}, {1, 0}, {2, 0}, {2, 1}, {2, 3}}, open, {0, 0, 2, 4, 4}, {0, 0, 0.4, 1, 1}},
          // coincident nodes 1 and 2 are both dropped; the bend at 3 stays
          {{{0, 0}, {1, 0.5}, {1, 0.5}, {2, 0}, {3, 1}}, open, {0, 0, 3, 4, 4}, {0, 0, bend, 1, 1}},
          // ghosts off the line are kept and do not make the end nodes bends
          {{{0, 0}, {1, 0}, {2, 0}, {3, 0}, {-1, 5}, {4, 5}},
           ids({4, 0, 1, 2, 3, 5}),
           {4, 0, 3, 5},
           {0, 0, 1, 1}}};
  for (const auto& [points, chain, expected, expected_params] : cases) {
    vorn::dense1D<unsigned> kept = ids({7, 7, 7});  // emptied first
    vorn::dense1D<double> params;
    turning_chain<D>(coordinates<D>(points), chain, kept, params);
    EXPECT_EQ(filum_test::entries(kept), expected);
    ASSERT_EQ(params.size(), expected_params.size());
    for (std::size_t k = 0; k < params.size(); ++k)
      EXPECT_NEAR(params[k], expected_params[k], 1e-15) << k;
  }
}
