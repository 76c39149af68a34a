#include "mesher/mesh_pass_iso.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include <gtest/gtest.h>

#include "support/filum_test.h"

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

// One pass in the plane over the chain of all columns of pos.
pass_result pass2d(const dense2D<double>& pos, const dense1D<double>& sizes,
                   const dense1D<double>& params, bool force_even = false,
                   std::uint64_t min_count = 1, std::uint64_t max_count = no_max,
                   double min_length = 0) {
  dense1D<unsigned> chain(pos.cols());
  for (std::size_t k = 0; k < pos.cols(); ++k)
    chain[k] = static_cast<unsigned>(k);
  pass_result r;
  mesh_pass_iso<2>(pos, chain, params, sizes, min_length, force_even, min_count, max_count, r.pos,
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
  const auto r = pass2d(make_pos({{0, 0}, {10, 0}}), values({1, 1}), values({0, 5}));
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
  // every element 2^(1/10) times longer than the one before. The same in space, along z.
  const double L = 10 / std::log(2.0);
  for (std::size_t dim : {2u, 3u}) {
    dense2D<double> pos(dim, 2, 0.0);
    pos(dim - 1, 1) = L;
    dense1D<unsigned> chain = ids({0, 1});
    dense2D<double> new_pos;
    dense1D<double> new_sizes, new_params;
    if (dim == 2)
      mesh_pass_iso<2>(pos, chain, values({}), values({1, 2}), 0, false, 1, no_max, new_pos,
                       new_sizes, new_params);
    else
      mesh_pass_iso<3>(pos, chain, values({}), values({1, 2}), 0, false, 1, no_max, new_pos,
                       new_sizes, new_params);
    ASSERT_EQ(new_pos.cols(), 9u);
    ASSERT_EQ(new_pos.rows(), dim);
    EXPECT_TRUE(new_params.empty());
    double previous_length = 0;
    for (std::size_t j = 1; j <= 9; ++j) {
      const double grown = std::pow(2.0, static_cast<double>(j) / 10);
      EXPECT_NEAR(new_pos(dim - 1, j - 1), L * (grown - 1), 1e-12 * L);
      EXPECT_EQ(new_pos(0, j - 1), 0);
      EXPECT_NEAR(new_sizes[j - 1], grown, 1e-12);
      const double length = new_pos(dim - 1, j - 1) - (j > 1 ? new_pos(dim - 1, j - 2) : 0);
      if (j > 1) {
        EXPECT_NEAR(length / previous_length, std::pow(2.0, 0.1), 1e-12);
      }
      previous_length = length;
    }
  }
}

TEST(MeshPassIso, NodesCrossSegmentsAndDropTheInteriorEntries) {
  // Segments of normalized lengths 2.5 (size 1) and 1.5 (sizes 1 .. 2 over 1.5 / ln 2):
  // T = 4, nodes at normalized 1, 2, 3; the interior entry (at 2.5) is not among them.
  const double L2 = 1.5 / std::log(2.0);
  const auto r =
      pass2d(make_pos({{0, 0}, {2.5, 0}, {2.5, L2}}), values({1, 1, 2}), values({0, 10, 20}));
  ASSERT_EQ(r.pos.cols(), 3u);
  EXPECT_DOUBLE_EQ(r.pos(0, 0), 1);
  EXPECT_DOUBLE_EQ(r.pos(0, 1), 2);
  EXPECT_DOUBLE_EQ(r.params[1], 8);
  // Normalized 3 lies a third into the second segment: at the fraction (2^(1/3) - 1) / (2 - 1)
  // of its length, where the size is 2^(1/3).
  const double s = std::cbrt(2.0) - 1;
  EXPECT_EQ(r.pos(0, 2), 2.5);
  EXPECT_NEAR(r.pos(1, 2), L2 * s, 1e-12);
  EXPECT_NEAR(r.sizes[2], 1 + s, 1e-12);
  EXPECT_NEAR(r.params[2], 10 + 10 * s, 1e-11);
}

TEST(MeshPassIso, CountsOnARealLine) {
  // Segment length T with size 1 has normalized length T.
  struct Case {
    double T;
    bool even;
    std::uint64_t min, max;
    std::size_t nodes;
  } cases[] = {{2.4, false, 1, no_max, 1}, {2.46, false, 1, no_max, 2}, {2.8, true, 1, no_max, 1},
               {3.5, true, 1, no_max, 3},  {0.3, false, 1, no_max, 0},  {7, true, 3, 3, 3},
               {0.3, false, 2, no_max, 1}};
  for (const Case& c : cases) {
    const auto r =
        pass2d(make_pos({{0, 0}, {c.T, 0}}), values({1, 1}), values({}), c.even, c.min, c.max);
    EXPECT_EQ(r.pos.cols(), c.nodes) << c.T;
    EXPECT_EQ(r.sizes.size(), c.nodes) << c.T;
  }
}

TEST(MeshPassIso, DegenerateChainsAndTheMinimumLength) {
  // All segments of length 0 with a minimum of 3 elements: two nodes at the first node.
  auto r =
      pass2d(make_pos({{4, 5}, {4, 5}, {4, 5}}), values({1, 2, 3}), values({0, 0, 0}), false, 3);
  ASSERT_EQ(r.pos.cols(), 2u);
  EXPECT_EQ(column(r.pos, 0), std::vector<double>({4, 5}));
  EXPECT_EQ(column(r.pos, 1), std::vector<double>({4, 5}));
  EXPECT_EQ(entries(r.sizes), std::vector<double>({1, 1}));

  // A total normalized length below the minimum length, or NaN, creates nothing.
  r = pass2d(make_pos({{0, 0}, {10, 0}}), values({1, 1}), values({}), false, 1, no_max, 10.5);
  EXPECT_TRUE(r.pos.empty());
  const double nan = std::numeric_limits<double>::quiet_NaN();
  r = pass2d(make_pos({{0, 0}, {nan, 0}}), values({1, 1}), values({}), false, 4);
  EXPECT_TRUE(r.pos.empty());

  // A single entry has no segment to put nodes on, whatever the minimum count.
  r = pass2d(make_pos({{0, 0}}), values({1}), values({0}), false, 5);
  EXPECT_TRUE(r.pos.empty());
  EXPECT_TRUE(r.sizes.empty());
}

TEST(MeshPassIso, FailedReservationLeavesEveryOutputEmpty) {
  const auto pos = make_pos({{0, 0}, {3, 4}, {10, 4}});
  const auto sizes = values({1, 0.5, 1});
  const auto params = values({0, 1, 2});
  const auto chain = ids({0, 1, 2});
  sweep_allocation_failures([] { return pass_result(); },
                            [&](pass_result& r) {
                              mesh_pass_iso<2>(pos, chain, params, sizes, 0, false, 1, no_max,
                                               r.pos, r.sizes, r.params);
                              return 0;
                            },
                            [](const pass_result& r, int, bool failed) {
                              const std::size_t count = failed ? 0 : r.pos.cols();
                              EXPECT_EQ(r.pos.cols(), count);
                              EXPECT_EQ(r.sizes.size(), count);
                              EXPECT_EQ(r.params.size(), count);
                              if (!failed) {
                                EXPECT_GT(count, 10u);
                              }
                            });
}
