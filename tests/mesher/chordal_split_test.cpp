#include "mesher/chordal_split.h"

#include <cmath>

#include <gtest/gtest.h>

#include "support/filum_test.h"

using namespace vorn;
using namespace vorn::filum;
using namespace filum_test;

namespace {

// A chain of the first n columns of pos, measured against a mesh of other columns.
struct split_case {
  const char* what;
  dense2D<double> pos;
  std::size_t n;
  dense1D<double> params;
  dense1D<unsigned> mesh;
  dense1D<double> mesh_params;
  bool force_even;
  double tol;
  bool remesh;
  std::size_t split;
  std::uint64_t count;
};

chordal_split plan(const split_case& c) {
  dense1D<unsigned> chain(c.n);
  for (std::size_t k = 0; k < c.n; ++k)
    chain[k] = static_cast<unsigned>(k);
  if (c.pos.rows() == 3)
    return plan_chordal_split<3>(c.pos, chain.data(), c.params.data(), c.n, c.mesh, c.mesh_params,
                                 c.force_even, c.tol);
  return plan_chordal_split<2>(c.pos, chain.data(), c.params.data(), c.n, c.mesh, c.mesh_params,
                               c.force_even, c.tol);
}

}  // namespace

TEST(ChordalSplit, DecisionsOnSmallChains) {
  // A bump of height 1 under a single element (M = 2, deviation 1, mean 1), and the same
  // under two elements through the extra node 3 (M = 3).
  const auto bump = make_pos({{0, 0}, {1, 1}, {2, 0}, {1, 0}});
  const auto p3 = values({0, 1, 2});
  const auto one = ids({0, 2});
  const auto one_p = values({0, 2});
  const auto two = ids({0, 3, 2});
  const auto two_p = values({0, 1, 2});
  // Nodes at relative parameters 0.25, 0.5, 0.875 with deviations 0, 1, 1.3 from one chord:
  // weights 2 x 1 beat 1.4375 x 1.3, so the middle node is the split; and two equal peaks.
  const auto peaks = make_pos({{0, 0}, {2, 0}, {4, 1}, {7, 1.3}, {8, 0}});
  const auto twins = make_pos({{0, 0}, {2, 1}, {6, 1}, {8, 0}});
  // The bump at 1e8 with height 1e-8: the tolerance grows by 1e8 x epsilon (2.2e-8); the
  // same bump near the origin does not get that allowance.
  const auto far = make_pos({{1e8, 0}, {1e8 + 1, 1e-8}, {1e8 + 2, 0}});
  const auto near = make_pos({{0, 0}, {1e-8, 1e-8}, {2e-8, 0}});
  // In space the deviation (0, 1, 1) from the chord along x is sqrt 2.
  const auto space = make_columns<double>({{0, 0, 0}, {1, 1, 1}, {2, 0, 0}});
  // All chain parameters equal: no node can be weighted, and remeshing the whole chain with
  // no more elements would repeat itself.
  const auto flat = values({0, 0, 0});

  split_case cases[] = {
      {"within tolerance", bump, 3, p3, one, one_p, false, 1.5, false, 2, 1},
      {"uniform regrowth", bump, 3, p3, one, one_p, false, 0.6, true, 2, 2},
      {"split", bump, 3, p3, one, one_p, false, 0.2, true, 1, 1},
      {"even count kept", bump, 3, p3, two, two_p, true, 1.5, false, 2, 1},
      {"odd count made even", bump, 3, p3, one, one_p, true, 1.5, true, 2, 2},
      {"even count grows by two", bump, 3, p3, two, two_p, true, 0.5, true, 2, 4},
      {"mesh of one entry", peaks, 5, values({0, 2, 4, 7, 8}), ids({0}), values({0}), false, 0.1,
       false, 4, 1},
      {"weighted split", peaks, 5, values({0, 2, 4, 7, 8}), ids({0, 4}), values({0, 8}), false, 0.1,
       true, 2, 1},
      {"first of equal peaks", twins, 4, values({0, 2, 6, 8}), ids({0, 3}), values({0, 8}), false,
       0.1, true, 1, 1},
      {"coordinates widen the tolerance", far, 3, p3, one, one_p, false, 1e-9, false, 2, 1},
      {"small scale", near, 3, p3, one, one_p, false, 1e-9, true, 1, 1},
      {"deviation in space", space, 3, p3, one, one_p, false, 1.2, true, 2, 2},
      {"no weight, no growth", bump, 3, flat, one, values({-1, 0}), false, 0.2, false, 2, 1},
  };
  for (const split_case& c : cases) {
    const chordal_split got = plan(c);
    EXPECT_EQ(got.remesh, c.remesh) << c.what;
    if (!c.remesh || !got.remesh) continue;
    EXPECT_EQ(got.split, c.split) << c.what;
    EXPECT_EQ(got.count, c.count) << c.what;
  }
}
