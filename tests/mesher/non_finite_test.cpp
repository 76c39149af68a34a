#include <cmath>
#include <limits>

#include <gtest/gtest.h>
#include <vorn/filum.h>

#include "support/filum_test.h"

using namespace vorn;
using namespace filum_test;
using filum::no_id;

namespace {

const double inf = std::numeric_limits<double>::infinity();
const double not_a_number = std::numeric_limits<double>::quiet_NaN();

// One line meshing call with a chain [0, 1, 2] over the given nodes, and its outputs.
struct line_outputs {
  dense2D<double> pos;
  dense1D<unsigned> chain = ids({0, 1, 2}), padded = ids({0, 0, 1, 2, 2}), new_indices;
  dense1D<double> params = values({0, 0.5, 1}), sizes = values({0.25, 0.25, 0.25, 0.25, 0.25});
  dense1D<double> new_params, new_sizes;
  dense2D<double> metrics = dense2D<double>(3, 5, 16.0), new_metrics;
  double deviation = 0;
  unsigned max_elements = 10;

  // mesh_line by sizes with and without parameters, by metrics, mesh_straight, mesh_spline.
  int run(int overload) {
    if (overload == 0)
      return filum::mesh_line(pos, chain, params, sizes, false, 1, max_elements, 0, 0, new_indices,
                              new_params, new_sizes);
    if (overload == 1)
      return filum::mesh_line(pos, chain, sizes, false, 1, max_elements, 0, 0, new_indices,
                              new_params, new_sizes);
    if (overload == 2)
      return filum::mesh_line(pos, chain, params, metrics, false, 1, max_elements, 0, 0,
                              new_indices, new_params, new_metrics);
    if (overload == 3) return filum::mesh_straight(pos, chain, 4u, false, new_indices);
    return filum::mesh_spline(pos, padded, sizes, false, 1, max_elements, -0.1, 0, 0, 0,
                              new_indices, new_params, new_sizes, deviation);
  }
};

bool new_nodes_finite(const line_outputs& o, std::size_t first) {
  for (std::size_t j = first; j < o.pos.cols(); ++j)
    for (std::size_t i = 0; i < o.pos.rows(); ++i)
      if (!std::isfinite(o.pos(i, j))) return false;
  return true;
}

}  // namespace

// A chain node with a non-finite coordinate is a fault of pos (-1), except for mesh_line
// without parameters, whose chain of non-finite length is documented as -2.
TEST(LineMeshing, NonFiniteCoordinatesGetTheCodeOfPos) {
  for (int overload = 0; overload < 5; ++overload)
    for (double bad : {not_a_number, inf, -inf}) {
      line_outputs o;
      o.pos = make_pos({{0, 0}, {1, bad}, {2, 0}});
      EXPECT_EQ(o.run(overload), overload == 1 ? -2 : -1) << overload << " " << bad;
      EXPECT_EQ(o.pos.cols(), 3u) << overload;
      EXPECT_TRUE(o.new_indices.empty()) << overload;
    }
}

// Sizes so small that the element count overflows, or that storage cannot hold: the count
// is capped and the nodes spread evenly, or the pass is refused at once; never NaN nodes,
// never a wrapped count, never an allocation the machine cannot hold.
TEST(LineMeshing, OverflowingCountsAreCappedOrRefused) {
  for (double size : {4.94e-324, 1e-300, 1e-9})
    for (unsigned max_elements : {4u, 3000000000u, no_id}) {
      line_outputs o;
      o.pos = make_pos({{0, 0}, {5e5, 0}, {1e6, 0}});
      o.sizes = values({size, size, size}), o.max_elements = max_elements;
      ASSERT_EQ(o.run(1), 0);
      EXPECT_TRUE(new_nodes_finite(o, 3)) << size;
      // max_elements when it fits, else one element from end to end.
      EXPECT_EQ(o.new_indices.size(), max_elements == 4 ? 5u : 2u) << size << " " << max_elements;
      if (max_elements == 4) {
        EXPECT_DOUBLE_EQ(o.pos(0, 3), 2.5e5);
      }
    }
  // Every storage failure on the way ends as documented: pos untouched or fully meshed.
  const auto fresh = [] {
    line_outputs o;
    o.pos = make_pos({{0, 0}, {5e5, 0}, {1e6, 0}});
    o.sizes = values({1e-9, 1e-9, 1e-9}), o.max_elements = no_id;
    return o;
  };
  sweep_allocation_failures(
      fresh, [](line_outputs& o) { return o.run(1); },
      [](line_outputs& o, int code, bool) {
        EXPECT_TRUE(code == 0 || code == filum::storage_failure) << code;
        EXPECT_EQ(o.pos.cols(), 3u);
      });
}

// A metric of denormal stiffness defeats the quadratic law of chordal error: the refinement
// used to raise the element count one by one without end.
TEST(LineMeshing, DegenerateMetricsEndTheChordalRefinement) {
  line_outputs o;
  o.pos = make_pos({{0, 285}, {290, 290}, {275, 1}, {3, 1}, {0, 0}});
  const dense1D<unsigned> chain = ids({2, 1, 3, 2, 0});
  o.metrics = make_columns<double>({{2, 1, 3}, {1, 0, 1}, {4, 0, 1}, {1, 0, 1}, {1, 0, 5e-324}});
  ASSERT_EQ(filum::mesh_line(o.pos, chain, values({0, 4, 5, 9, 12}), o.metrics, false, 4, 8, 55,
                             0.5, o.new_indices, o.new_params, o.new_metrics),
            0);
  EXPECT_TRUE(new_nodes_finite(o, 5));
}
