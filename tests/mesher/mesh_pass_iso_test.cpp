#include "mesher/mesh_pass_iso.h"

#include <cstdint>

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
                 const dense1D<double>& params, std::uint64_t min_count = 1) {
  pass_result r;
  auto run = pos.rows() == 3 ? mesh_pass_iso<3> : mesh_pass_iso<2>;
  run(pos, first_columns(pos.cols()), params, sizes, 0, false, min_count, no_max, r.pos, r.sizes,
      r.params);
  return r;
}

}  // namespace

TEST(MeshPassIso, DegenerateChains) {
  // All segments of length 0 with a minimum of 3 elements: two nodes at the first node.
  auto r = pass(make_pos({{4, 5}, {4, 5}, {4, 5}}), values({1, 2, 3}), values({0, 0, 0}), 3);
  ASSERT_EQ(r.pos.cols(), 2u);
  EXPECT_EQ(column(r.pos, 1), std::vector<double>({4, 5}));
  EXPECT_EQ(entries(r.sizes), std::vector<double>({1, 1}));
  // T = 0.3: one element and no node, unless two elements are the minimum.
  EXPECT_EQ(pass(make_pos({{0, 0}, {0.3, 0}}), values({1, 1}), values({})).pos.cols(), 0u);
  EXPECT_EQ(pass(make_pos({{0, 0}, {0.3, 0}}), values({1, 1}), values({}), 2).pos.cols(), 1u);
}
