#include "mesher/mesh_chain.h"

#include <cmath>
#include <cstdint>

#include <gtest/gtest.h>
#include <vorn/filum.h>

#include "mesher/line_geometry.h"
#include "support/filum_test.h"

using namespace vorn;
using namespace vorn::filum;
using namespace filum_test;

namespace {

constexpr std::uint64_t no_max = 4294967295u;

// The results of one driver call.
struct chain_result {
  dense2D<double> pos;
  dense1D<unsigned> chain;
  dense1D<double> params, sizes;
  int code = 0;
};

chain_result drive(const dense2D<double>& pos, const dense1D<unsigned>& chain,
                   const dense1D<double>& params, const dense1D<double>& sizes,
                   std::uint64_t min_count = 1, std::uint64_t max_count = no_max,
                   double chordal_tol = 0, double min_size = 0, bool force_even = false) {
  chain_result r;
  r.pos.copy(pos);
  r.code = mesh_chain_iso<2>(r.pos, chain, params, sizes, force_even, min_count, max_count,
                             chordal_tol, min_size, r.chain, r.params, r.sizes);
  return r;
}

// Parameters of a chain by cumulative chord length.
dense1D<double> chord_params(const dense2D<double>& pos, const dense1D<unsigned>& chain) {
  dense1D<double> p(chain.size(), 0.0);
  for (std::size_t k = 1; k < chain.size(); ++k)
    p[k] = p[k - 1] + std::hypot(pos(0, chain[k]) - pos(0, chain[k - 1]),
                                 pos(1, chain[k]) - pos(1, chain[k - 1]));
  return p;
}

}  // namespace

TEST(MeshChain, TwoNodeChainIsMeshedOnceAndAppended) {
  const auto pos = make_pos({{0, 0}, {5, 5}, {10, 0}});
  const auto r = drive(pos, ids({0, 2}), values({2, 4}), values({1, 1}));
  ASSERT_EQ(r.code, 0);
  ASSERT_EQ(r.pos.cols(), 12u);
  std::vector<unsigned> expected_chain = {0};
  for (unsigned id = 3; id < 12; ++id)
    expected_chain.push_back(id);
  expected_chain.push_back(2);
  EXPECT_EQ(entries(r.chain), expected_chain);
  ASSERT_EQ(r.params.size(), 11u);
  ASSERT_EQ(r.sizes.size(), 11u);
  for (std::size_t j = 1; j < 10; ++j) {
    EXPECT_DOUBLE_EQ(r.pos(0, 2 + j), static_cast<double>(j));
    EXPECT_DOUBLE_EQ(r.params[j], 2 + 0.2 * static_cast<double>(j));
  }
  EXPECT_EQ(r.params[0], 2);
  EXPECT_EQ(r.params[10], 4);
  EXPECT_EQ(entries(r.sizes), std::vector<double>(11, 1.0));
}

TEST(MeshChain, NewNodesLieOnTheGivenLineAtTheirParameters) {
  // Collinear, unevenly spaced nodes along (3, 4) / 5, graded sizes: after several passes
  // every new node is on the line, at the distance from the start its parameter says.
  for (double scale : {1e-8, 1.0, 1e8}) {
    const double offsets[] = {0, 0.7, 1.1, 4.0, 4.2, 9.5};
    dense2D<double> pos(2, 6);
    for (std::size_t k = 0; k < 6; ++k) {
      pos(0, k) = 1e3 * scale + 0.6 * offsets[k] * scale;
      pos(1, k) = -2e3 * scale + 0.8 * offsets[k] * scale;
    }
    const auto chain = first_columns(6);
    const auto params = chord_params(pos, chain);
    const auto sizes =
        values({0.1 * scale, 0.5 * scale, 0.2 * scale, 0.3 * scale, 0.3 * scale, 0.05 * scale});
    const auto r = drive(pos, chain, params, sizes);
    ASSERT_EQ(r.code, 0);
    ASSERT_GT(r.chain.size(), 20u);
    for (std::size_t j = 1; j + 1 < r.chain.size(); ++j) {
      const unsigned id = r.chain[j];
      EXPECT_LT(distance_to_polyline(r.pos, id, chain), 1e-12 * scale) << scale << " " << j;
      const double along = std::hypot(r.pos(0, id) - pos(0, 0), r.pos(1, id) - pos(1, 0));
      EXPECT_NEAR(along, r.params[j], 1e-12 * scale) << scale << " " << j;
      EXPECT_GE(r.params[j], r.params[j - 1]);
    }
  }
}

TEST(MeshChain, LastPassNodesAreAppendedAsThatPassComputedThem) {
  // A zigzag of right-angle corners with size 0.45. Passes after the first mesh chords across
  // the corners; the nodes of the last pass are appended as that pass computed them, so those
  // that fell on such a chord lie off the zigzag (by less than the sag of a chord).
  const std::size_t n = 9;
  dense2D<double> pos(2, n, 0.0);
  for (std::size_t k = 0; k < n; ++k) {
    pos(0, k) = static_cast<double>(k);
    pos(1, k) = static_cast<double>(k % 2);
  }
  const auto chain = first_columns(n);
  const auto r = drive(pos, chain, chord_params(pos, chain), dense1D<double>(n, 0.45));
  ASSERT_EQ(r.code, 0);
  std::size_t off_line = 0;
  for (std::size_t j = 1; j + 1 < r.chain.size(); ++j) {
    const double d = distance_to_polyline(r.pos, r.chain[j], chain);
    if (d > 1e-12) ++off_line;
    EXPECT_LT(d, 0.45 / 2);
  }
  EXPECT_GT(off_line, 0u);
}

TEST(MeshChain, MinimumCountSettlesTheLoop) {
  const auto pos = arc(9, 1, 3);
  const auto chain = first_columns(9);
  const auto params = chord_params(pos, chain);
  for (bool even : {false, true}) {
    const auto r = drive(pos, chain, params, values({1, 1, 1, 1, 1, 1, 1, 1, 1}), 5, 5, 0, 0, even);
    ASSERT_EQ(r.code, 0);
    EXPECT_EQ(r.chain.size(), even ? 7u : 6u);
    EXPECT_EQ(r.pos.cols(), 9 + r.chain.size() - 2);
  }
}

TEST(MeshChain, CurvatureCapShrinksSizesDownToTheMinimumSize) {
  // A quarter circle of radius 2 sampled by 17 nodes, sizes 1: a sag of 0.001 caps the
  // sizes to sqrt(0.008) / curvature, or to min_size when that is larger.
  const auto pos = arc(17, 2, M_PI / 2);
  const auto chain = first_columns(17);
  const auto params = chord_params(pos, chain);
  const dense1D<double> sizes(17, 1.0);
  dense1D<double> kappa;
  ASSERT_EQ(curvatures(pos, chain, kappa), 0);
  for (double min_size : {0.0, 0.15, 2.0}) {
    const auto r = drive(pos, chain, params, sizes, 1, no_max, -0.001, min_size);
    ASSERT_EQ(r.code, 0);
    const double expected_first = std::min(1.0, std::max(std::sqrt(0.008) / kappa[0], min_size));
    EXPECT_EQ(r.sizes[0], expected_first) << min_size;
    EXPECT_EQ(r.sizes[r.sizes.size() - 1],
              std::min(1.0, std::max(std::sqrt(0.008) / kappa[16], min_size)));
    for (std::size_t j = 0; j < r.sizes.size(); ++j)
      EXPECT_GE(r.sizes[j], std::min(1.0, min_size) * (1 - 1e-15)) << min_size;
    // Arc length pi with sizes near the cap (about 0.179): about 18 elements.
    const std::size_t elements = r.chain.size() - 1;
    if (min_size == 0.0) {
      EXPECT_NEAR(static_cast<double>(elements), M_PI / expected_first, 2);
    } else if (min_size == 2.0) {
      EXPECT_EQ(elements, 3u);
    }
  }
}

TEST(MeshChain, CurvatureCapLeavesAStraightChainAlone) {
  const auto pos = make_pos({{0, 0}, {1, 1}, {3, 3}, {4, 4}});
  const auto chain = first_columns(4);
  const auto params = chord_params(pos, chain);
  const auto sizes = values({0.1, 0.3, 0.2, 0.4});
  const auto plain = drive(pos, chain, params, sizes);
  const auto capped = drive(pos, chain, params, sizes, 1, no_max, -1e-6, 0);
  EXPECT_EQ(entries(capped.chain), entries(plain.chain));
  EXPECT_EQ(entries(capped.sizes), entries(plain.sizes));
  EXPECT_EQ(entries(capped.params), entries(plain.params));
}

TEST(MeshChain, StorageFailureLeavesPosAndResultsEmptyOrComplete) {
  const auto pos = arc(12, 3, 2.5);
  const auto chain = first_columns(12);
  const auto params = chord_params(pos, chain);
  const dense1D<double> sizes(12, 0.4);
  const std::size_t runs = sweep_allocation_failures(
      [&] {
        chain_result r;
        r.pos.copy(pos);
        return r;
      },
      [&](chain_result& r) {
        return mesh_chain_iso<2>(r.pos, chain, params, sizes, false, 1, no_max, -0.01, 0, r.chain,
                                 r.params, r.sizes);
      },
      [&](const chain_result& r, int code, bool failed) {
        if (code != 0) {
          EXPECT_TRUE(failed);
          EXPECT_EQ(code, storage_failure);
          EXPECT_EQ(r.pos.cols(), 12u);
          EXPECT_TRUE(r.chain.empty());
          return;
        }
        ASSERT_GE(r.chain.size(), 2u);
        EXPECT_EQ(r.params.size(), r.chain.size());
        EXPECT_EQ(r.sizes.size(), r.chain.size());
        EXPECT_EQ(r.pos.cols(), 12 + r.chain.size() - 2);
      });
  EXPECT_GT(runs, 10u);
}
