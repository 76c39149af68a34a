#include "mesher/mesh_pass_iso.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include <gtest/gtest.h>

#include "support/filum_test.h"
#include "support/line_geometry.h"

using namespace vorn;
using namespace vorn::filum;
using namespace filum_test;

namespace {

constexpr std::uint64_t no_max = 4294967295u;

// The outputs of one pass.
struct pass_result {
  dense2D<double> pos;
  dense1D<double> sizes, params;
};

// One pass over the chain of all columns of pos (2 or 3 rows).
pass_result pass(const dense2D<double>& pos, const dense1D<double>& sizes,
                 const dense1D<double>& params, std::uint64_t min_count = 1,
                 double min_length = 0) {
  pass_result r;
  const auto chain = first_columns(pos.cols());
  if (pos.rows() == 3)
    mesh_pass_iso<3>(pos, chain, params, sizes, min_length, false, min_count, no_max, r.pos,
                     r.sizes, r.params);
  else
    mesh_pass_iso<2>(pos, chain, params, sizes, min_length, false, min_count, no_max, r.pos,
                     r.sizes, r.params);
  return r;
}

}  // namespace

TEST(MeshPassIso, ElementCountRoundsThenClampsThenEvens) {
  struct Case {
    double T;
    bool even;
    std::uint64_t min, max, expected;
  } cases[] = {
      {10, false, 1, no_max, 10}, {2.4, false, 1, no_max, 2}, {2.46, false, 1, no_max, 3},
      {0.3, false, 1, no_max, 1}, {0, false, 1, no_max, 1},   {2.8, true, 1, no_max, 2},
      {3.5, true, 1, no_max, 4},  {0.3, true, 1, no_max, 2},  {100, true, 3, 3, 4},
      {10, false, 12, 20, 12},    {10, false, 1, 4, 4},       {10, true, 1, 5, 6},
  };
  for (const Case& c : cases)
    EXPECT_EQ(element_count(c.T, c.even, c.min, c.max), c.expected) << c.T << " " << c.even;
}

TEST(MeshPassIso, UniformSegmentGetsEvenlySpacedNodes) {
  const auto r = pass(make_pos({{0, 0}, {10, 0}}), values({1, 1}), values({0, 5}));
  ASSERT_EQ(r.pos.cols(), 9u);
  for (std::size_t j = 0; j < 9; ++j) {
    EXPECT_DOUBLE_EQ(r.pos(0, j), static_cast<double>(j + 1));
    EXPECT_EQ(r.pos(1, j), 0);
    EXPECT_EQ(r.sizes[j], 1);
    EXPECT_DOUBLE_EQ(r.params[j], 0.5 * static_cast<double>(j + 1));
  }
}

TEST(MeshPassIso, GradedSegmentFollowsAGeometricProgression) {
  // Sizes 1 .. 2 over L = 10 / ln 2: T = 10; node j at L (2^(j/10) - 1) with size 2^(j/10),
  // every element 2^(1/10) times longer than the one before. In the plane and in space.
  const double L = 10 / std::log(2.0);
  for (std::size_t dim : {2u, 3u}) {
    dense2D<double> pos(dim, 2, 0.0);
    pos(dim - 1, 1) = L;
    const auto r = pass(pos, values({1, 2}), values({}));
    ASSERT_EQ(r.pos.cols(), 9u);
    EXPECT_TRUE(r.params.empty());
    for (std::size_t j = 1; j <= 9; ++j) {
      const double grown = std::pow(2.0, static_cast<double>(j) / 10);
      EXPECT_NEAR(r.pos(dim - 1, j - 1), L * (grown - 1), 1e-12 * L);
      EXPECT_EQ(r.pos(0, j - 1), 0);
      EXPECT_NEAR(r.sizes[j - 1], grown, 1e-12);
    }
  }
}

TEST(MeshPassIso, NodesCrossSegmentsAndDropTheInteriorEntries) {
  // Segments of normalized lengths 2.5 (size 1) and 1.5 (sizes 1 .. 2 over 1.5 / ln 2):
  // T = 4, nodes at normalized 1, 2, 3; the interior entry (at 2.5) is not among them.
  // Normalized 3 lies a third into the second segment: at the fraction (2^(1/3) - 1) of its
  // length, where the size is 2^(1/3).
  const double L2 = 1.5 / std::log(2.0), s = std::cbrt(2.0) - 1;
  const auto r =
      pass(make_pos({{0, 0}, {2.5, 0}, {2.5, L2}}), values({1, 1, 2}), values({0, 10, 20}));
  ASSERT_EQ(r.pos.cols(), 3u);
  EXPECT_DOUBLE_EQ(r.pos(0, 0), 1);
  EXPECT_DOUBLE_EQ(r.pos(0, 1), 2);
  EXPECT_DOUBLE_EQ(r.params[1], 8);
  EXPECT_EQ(r.pos(0, 2), 2.5);
  EXPECT_NEAR(r.pos(1, 2), L2 * s, 1e-12);
  EXPECT_NEAR(r.sizes[2], 1 + s, 1e-12);
  EXPECT_NEAR(r.params[2], 10 + 10 * s, 1e-11);
}

TEST(MeshPassIso, DegenerateChainsAndTheMinimumLength) {
  const double not_a_number = std::numeric_limits<double>::quiet_NaN();
  // All segments of length 0 with a minimum of 3 elements: two nodes at the first node.
  auto r = pass(make_pos({{4, 5}, {4, 5}, {4, 5}}), values({1, 2, 3}), values({0, 0, 0}), 3);
  ASSERT_EQ(r.pos.cols(), 2u);
  EXPECT_EQ(column(r.pos, 1), std::vector<double>({4, 5}));
  EXPECT_EQ(entries(r.sizes), std::vector<double>({1, 1}));
  // T = 0.3: one element and no node, unless two elements are the minimum.
  EXPECT_EQ(pass(make_pos({{0, 0}, {0.3, 0}}), values({1, 1}), values({})).pos.cols(), 0u);
  EXPECT_EQ(pass(make_pos({{0, 0}, {0.3, 0}}), values({1, 1}), values({}), 2).pos.cols(), 1u);
  // Below the minimum length, a NaN length, or a single entry: nothing.
  EXPECT_TRUE(pass(make_pos({{0, 0}, {10, 0}}), values({1, 1}), values({}), 1, 10.5).pos.empty());
  EXPECT_TRUE(
      pass(make_pos({{0, 0}, {not_a_number, 0}}), values({1, 1}), values({}), 4).sizes.empty());
  EXPECT_TRUE(pass(make_pos({{0, 0}}), values({1}), values({0}), 5).sizes.empty());
}
