// Joining coincident nodes and dropping unused ones keep the network's elements and data.
#include <gtest/gtest.h>

#include "io_test_support.h"

namespace {

using namespace io_test;

// Two pieces of one shoreline, clipped apart: the end of the first lies on (or near) the
// start of the second.
io::line_network clipped(double gap) {
  io::line_network net;
  net.coords = {0, 0, 1, 0, 2, 0, 2 + gap, 0, 3, 1, 4, 1};
  net.edges = {0, 1, 1, 2, 3, 4, 4, 5};
  net.colors = {1, 1, 2, 2};
  net.point_arrays.push_back({"depth", 1, {10, 11, 12, 13, 14, 15}});
  return net;
}

TEST(Network, MergingJoinsPiecesWithinTheToleranceOnly) {
  struct merge_case {
    double gap, tolerance;
    std::size_t removed;
  } cases[] = {{0, 0, 1}, {-0.0, 0, 1}, {1e-9, 0, 0}, {1e-9, 1e-8, 1}, {0.5, 0.1, 0}};
  for (const merge_case& c : cases) {
    SCOPED_TRACE(std::to_string(c.gap) + " " + std::to_string(c.tolerance));
    io::line_network net = clipped(c.gap);
    std::vector<unsigned> old_to_new;
    EXPECT_EQ(io::merge_coincident_nodes(net, c.tolerance, &old_to_new), c.removed);
    EXPECT_EQ(net.node_count(), 6 - c.removed);
    EXPECT_EQ(net.point_arrays[0].values.size(), net.node_count());
    EXPECT_EQ(net.colors, (std::vector<unsigned>{1, 1, 2, 2}));
    if (c.removed) {
      EXPECT_EQ(net.edges, (std::vector<unsigned>{0, 1, 1, 2, 2, 3, 3, 4}));
      EXPECT_EQ(old_to_new, (std::vector<unsigned>{0, 1, 2, 2, 3, 4}));
      EXPECT_EQ(net.point_arrays[0].values[2], 12);  // the first node's value stays
    }
    io::validate(net, "merged");
  }
}

TEST(Network, MergingDropsElementsThatCollapse) {
  io::line_network net;
  net.coords = {0, 0, 1e-12, 0, 1, 0};
  net.edges = {0, 1, 1, 2};
  net.colors = {3, 4};
  EXPECT_EQ(io::merge_coincident_nodes(net, 1e-9), 1u);
  EXPECT_EQ(net.edges, (std::vector<unsigned>{0, 1}));
  EXPECT_EQ(net.colors, (std::vector<unsigned>{4}));
  // Far-away nodes share the border cells of the grid and are still told apart.
  io::line_network far;
  far.coords = {1e300, -1e300, 9e299, -1e300, 1e300, -1e300};
  far.edges = {0, 1, 1, 2};
  EXPECT_EQ(io::merge_coincident_nodes(far, 1e-9), 1u);
  EXPECT_EQ(far.edges, (std::vector<unsigned>{0, 1, 1, 0}));
}

TEST(Network, DroppingUnusedNodesRenumbersTagsAndArrays) {
  io::line_network net = sample(2);
  net.node_tags = {1, 2, 3, 4, 5, 6, 7, 8};
  net.edges = {5, 6, 6, 7, 7, 5};
  net.colors = {0, 0, 0};
  net.point_arrays.push_back({"h", 1, {0, 1, 2, 3, 4, 5, 6, 7}});
  EXPECT_EQ(io::drop_unused_nodes(net), 5u);
  EXPECT_EQ(net.edges, (std::vector<unsigned>{0, 1, 1, 2, 2, 0}));
  EXPECT_EQ(net.node_tags, (std::vector<std::int64_t>{6, 7, 8}));
  EXPECT_EQ(net.point_arrays[0].values, (std::vector<double>{5, 6, 7}));
  EXPECT_EQ(net.coords[0], 10);
}

TEST(Network, ValidateNamesTheFault) {
  struct fault {
    void (*spoil)(io::line_network&);
    const char* message;
  } faults[] = {
      {[](io::line_network& n) { n.edges[3] = 99; },
       "element 2: expected a node below 8, found 99"},
      {[](io::line_network& n) { n.coords[5] = 1.0 / 0.0; }, "node 3: expected finite coordinates"},
      {[](io::line_network& n) { n.colors.pop_back(); }, "expected one color per element, found 6"},
      {[](io::line_network& n) {
         n.point_arrays.push_back({"a", 2, {1}});
       },
       "point array 'a': expected 16 values, found 1"},
  };
  for (const fault& f : faults) {
    io::line_network net = sample(2);
    f.spoil(net);
    EXPECT_PRED_FORMAT2(::testing::IsSubstring, f.message,
                        error_of([&] { io::validate(net, "x.msh"); }));
  }
}

}  // namespace
