#include "mesher/mesh_pass_iso.h"

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

struct pass_result {
  dense2D<double> pos;
  dense1D<double> sizes, params;
};

// One pass over the chain of all columns of pos (2 or 3 rows).
pass_result pass(const dense2D<double>& pos, const dense1D<double>& sizes,
                 const dense1D<double>& params, std::uint64_t min_count = 1,
                 double min_length = 0) {
  pass_result r;
  auto run = pos.rows() == 3 ? mesh_pass_iso<3> : mesh_pass_iso<2>;
  run(pos, first_columns(pos.cols()), params, sizes, min_length, false, min_count, no_max, r.pos,
      r.sizes, r.params);
  return r;
}

}  // namespace

TEST(MeshPassIso, ElementCountClampsThenEvens) {
  // clang-format off
  const struct { double T; bool even; std::uint64_t min, max, expected; } cases[] = {
      {0.3, false, 1, no_max, 1}, {0, false, 1, no_max, 1},   {2.8, true, 1, no_max, 2},
      {3.5, true, 1, no_max, 4},  {0.3, true, 1, no_max, 2},  {100, true, 3, 3, 4},
      {10, false, 12, 20, 12},    {10, false, 1, 4, 4},       {10, true, 1, 5, 6}};
  // clang-format on
  for (const auto& c : cases)
    EXPECT_EQ(element_count(c.T, c.even, c.min, c.max), c.expected) << c.T << " " << c.even;
}

TEST(MeshPassIso, DegenerateChainsAndTheMinimumLength) {
  // All segments of length 0 with a minimum of 3 elements: two nodes at the first node.
  auto r = pass(make_pos({{4, 5}, {4, 5}, {4, 5}}), values({1, 2, 3}), values({0, 0, 0}), 3);
  ASSERT_EQ(r.pos.cols(), 2u);
  EXPECT_EQ(column(r.pos, 1), std::vector<double>({4, 5}));
  EXPECT_EQ(entries(r.sizes), std::vector<double>({1, 1}));
  // T = 0.3: one element and no node, unless two elements are the minimum.
  EXPECT_EQ(pass(make_pos({{0, 0}, {0.3, 0}}), values({1, 1}), values({})).pos.cols(), 0u);
  EXPECT_EQ(pass(make_pos({{0, 0}, {0.3, 0}}), values({1, 1}), values({}), 2).pos.cols(), 1u);
  // Below the minimum length, a NaN length, or a single entry: nothing.
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_TRUE(pass(make_pos({{0, 0}, {10, 0}}), values({1, 1}), values({}), 1, 10.5).pos.empty());
  EXPECT_TRUE(pass(make_pos({{0, 0}, {nan, 0}}), values({1, 1}), values({}), 4).sizes.empty());
  EXPECT_TRUE(pass(make_pos({{0, 0}}), values({1}), values({0}), 5).sizes.empty());
}
