#include "mesher/mesh_chain.h"

#include <cmath>
#include <cstdint>

#include <gtest/gtest.h>
#include <vorn/filum.h>

#include "support/filum_test.h"
#include "support/line_geometry.h"

using namespace vorn;
using namespace vorn::filum;
using namespace filum_test;

namespace {

// The results of one driver call on the chain of all columns, by chord-length parameters.
struct chain_result {
  dense2D<double> pos;
  dense1D<unsigned> chain;
  dense1D<double> params, sizes;
};

chain_result drive(const dense2D<double>& pos, const dense1D<double>& sizes,
                   std::uint64_t min_count = 1, std::uint64_t max_count = 4294967295u,
                   double chordal_tol = 0, double min_size = 0, bool force_even = false) {
  chain_result r;
  r.pos.copy(pos);
  EXPECT_EQ(
      mesh_chain_iso<2>(r.pos, first_columns(pos.cols()), chord_params(pos), sizes, force_even,
                        min_count, max_count, chordal_tol, min_size, r.chain, r.params, r.sizes),
      0);
  return r;
}

}  // namespace

TEST(MeshChain, NewNodesLieOnTheGivenLineAtTheirParameters) {
  // Collinear, unevenly spaced nodes along (3, 4) / 5 with graded sizes, at three scales:
  // after several passes every new node is on the line, as far from the start as its
  // parameter says.
  for (double scale : {1e-8, 1.0, 1e8}) {
    const double offsets[] = {0, 0.7, 1.1, 4.0, 4.2, 9.5};
    dense2D<double> pos(2, 6);
    for (std::size_t k = 0; k < 6; ++k) {
      pos(0, k) = (1e3 + 0.6 * offsets[k]) * scale;
      pos(1, k) = (-2e3 + 0.8 * offsets[k]) * scale;
    }
    const auto r = drive(pos, values({0.1 * scale, 0.5 * scale, 0.2 * scale, 0.3 * scale,
                                      0.3 * scale, 0.05 * scale}));
    ASSERT_GT(r.chain.size(), 20u);
    for (std::size_t j = 1; j + 1 < r.chain.size(); ++j) {
      EXPECT_LT(distance_to_polyline(r.pos, r.chain[j], first_columns(6)), 1e-12 * scale);
      EXPECT_NEAR(distance_between(r.pos, 0, r.chain[j]), r.params[j], 1e-12 * scale);
    }
    EXPECT_EQ(r.pos.cols(), 6 + r.chain.size() - 2);
  }
}

TEST(MeshChain, LastPassNodesAreAppendedAsThatPassComputedThem) {
  // A zigzag of right-angle corners with size 0.45. Passes after the first mesh chords across
  // the corners; the nodes of the last pass are appended as that pass computed them, so those
  // that fell on such a chord lie off the zigzag (by less than the sag of a chord).
  dense2D<double> pos(2, 9);
  for (std::size_t k = 0; k < 9; ++k) {
    pos(0, k) = static_cast<double>(k);
    pos(1, k) = static_cast<double>(k % 2);
  }
  const auto r = drive(pos, dense1D<double>(9, 0.45));
  std::size_t off_line = 0;
  for (std::size_t j = 1; j + 1 < r.chain.size(); ++j) {
    const double d = distance_to_polyline(r.pos, r.chain[j], first_columns(9));
    off_line += d > 1e-12;
    EXPECT_LT(d, 0.45 / 2);
  }
  EXPECT_GT(off_line, 0u);
}

TEST(MeshChain, CurvatureCapShrinksSizesDownToTheMinimumSize) {
  // A quarter circle of radius 2 by 17 nodes, sizes 1: a sag of 0.001 caps each size to
  // sqrt(0.008) / curvature (about 0.179), or to min_size when that is larger.
  const auto pos = arc(17, 2, M_PI / 2);
  dense1D<double> kappa;
  ASSERT_EQ(curvatures(pos, first_columns(17), kappa), 0);
  for (double min_size : {0.0, 0.15, 2.0}) {
    const auto r = drive(pos, dense1D<double>(17, 1.0), 1, 4294967295u, -0.001, min_size);
    const double first = std::min(1.0, std::max(std::sqrt(0.008) / kappa[0], min_size));
    EXPECT_EQ(r.sizes[0], first);
    EXPECT_EQ(r.sizes[r.sizes.size() - 1],
              std::min(1.0, std::max(std::sqrt(0.008) / kappa[16], min_size)));
    for (std::size_t j = 0; j < r.sizes.size(); ++j)
      EXPECT_GE(r.sizes[j], std::min(1.0, min_size) * (1 - 1e-15));
    EXPECT_NEAR(static_cast<double>(r.chain.size() - 1), M_PI / first, 1.5) << min_size;
  }
  // A straight chain has no curvature: the cap changes nothing.
  const auto straight = make_pos({{0, 0}, {1, 1}, {3, 3}, {4, 4}});
  const auto plain = drive(straight, values({0.1, 0.3, 0.2, 0.4}));
  const auto capped = drive(straight, values({0.1, 0.3, 0.2, 0.4}), 1, 4294967295u, -1e-9);
  EXPECT_EQ(entries(capped.chain), entries(plain.chain));
  EXPECT_EQ(entries(capped.sizes), entries(plain.sizes));
}
