#include "mesher/chordal_split.h"

#include <gtest/gtest.h>

#include "support/filum_test.h"
#include "support/line_geometry.h"

using namespace vorn;
using namespace vorn::filum;
using namespace filum_test;

TEST(ChordalSplit, DecisionsOnSmallChains) {
  // A bump of height 1 under one element (M = 2, deviation 1, mean 1), or under two through
  // the extra node 3 (M = 3).
  const auto bump = make_pos({{0, 0}, {1, 1}, {2, 0}, {1, 0}});
  const auto p3 = values({0, 1, 2}), one_p = values({0, 2}), two_p = values({0, 1, 2});
  const auto one = ids({0, 2}), two = ids({0, 3, 2});
  // The bump at 1e8 with height 1e-8: the tolerance grows by 1e8 x epsilon (2.2e-8); near
  // the origin it does not. In space the deviation (0, 1, 1) is sqrt 2.
  const auto far = make_pos({{1e8, 0}, {1e8 + 1, 1e-8}, {1e8 + 2, 0}});
  const auto near = make_pos({{0, 0}, {1e-8, 1e-8}, {2e-8, 0}});
  const auto space = make_columns<double>({{0, 0, 0}, {1, 1, 1}, {2, 0, 0}});
  struct Case {
    const char* what;
    dense2D<double> pos;
    dense1D<double> params;
    dense1D<unsigned> mesh;
    dense1D<double> mesh_params;
    bool force_even;
    double tol;
    bool remesh;
    std::size_t split;
    std::uint64_t count;
  } cases[] = {
      {"within tolerance", bump, p3, one, one_p, false, 1.5, false, 2, 1},
      {"uniform regrowth", bump, p3, one, one_p, false, 0.3, true, 2, 2},
      {"split", bump, p3, one, one_p, false, 0.2, true, 1, 1},
      {"even count kept", bump, p3, two, two_p, true, 1.5, false, 2, 1},
      {"odd count made even", bump, p3, one, one_p, true, 1.5, true, 2, 2},
      {"even count grows by two", bump, p3, two, two_p, true, 0.5, true, 2, 4},
      {"mesh of one entry", bump, p3, ids({0}), values({0}), false, 0.1, false, 2, 1},
      {"coordinates widen the tolerance", far, p3, one, one_p, false, 1e-9, false, 2, 1},
      {"small scale", near, p3, one, one_p, false, 1e-9, true, 1, 1},
      {"deviation in space", space, p3, one, one_p, false, 1.2, true, 2, 2},
      // Equal parameters: no node can be weighted, and a whole-chain remesh would repeat.
      {"no weight, no growth", bump, values({0, 0, 0}), one, values({-1, 0}), false, 0.2, false, 2,
       1},
  };
  for (const Case& c : cases) {
    const std::size_t n = c.params.size();
    const auto chain = first_columns(n);
    const chordal_split got =
        c.pos.rows() == 3 ? plan_chordal_split<3>(c.pos, chain.data(), c.params.data(), n, c.mesh,
                                                  c.mesh_params, c.force_even, c.tol)
                          : plan_chordal_split<2>(c.pos, chain.data(), c.params.data(), n, c.mesh,
                                                  c.mesh_params, c.force_even, c.tol);
    EXPECT_EQ(got.remesh, c.remesh) << c.what;
    if (!c.remesh || !got.remesh) continue;
    EXPECT_EQ(got.split, c.split) << c.what;
    EXPECT_EQ(got.count, c.count) << c.what;
  }
}
