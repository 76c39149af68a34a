// Lines and loops are counted where remesh_lines would cut the network.
#include "network_summary.h"

#include <cmath>

#include <gtest/gtest.h>

namespace {

namespace io = vorn::filum::io;

// A unit square loop (4 corners of 90 degrees), its bottom side in 2 elements, and an
// open line of 3 elements that bends by 20 degrees.
io::line_network square_and_line() {
  io::line_network net;
  net.coords = {0, 0, 0.5, 0, 1, 0, 1, 1, 0, 1, 5, 0, 6, 0, 7, 0.36397, 8, 0.72794};
  net.edges = {0, 1, 1, 2, 2, 3, 3, 4, 4, 0, 5, 6, 6, 7, 7, 8};
  net.colors = {1, 1, 1, 1, 1, 2, 2, 2};
  return net;
}

TEST(NetworkSummary, CountsLinesAtCornersColorsAndJoints) {
  struct summary_case {
    const char* what;
    void (*change)(io::line_network&);
    double corner_angle;
    std::size_t lines, loops, colors;
  } cases[] = {
      {"corners cut the square", [](io::line_network&) {}, 30, 5, 0, 2},
      {"a wide angle keeps the square whole", [](io::line_network&) {}, 95, 2, 1, 2},
      {"the bend cuts at 10 degrees", [](io::line_network&) {}, 10, 6, 0, 2},
      {"a color change cuts", [](io::line_network& n) { n.colors[1] = 3; }, 95, 3, 0, 3},
      {"head to head cuts", [](io::line_network& n) { std::swap(n.edges[10], n.edges[11]); }, 95, 3,
       1, 2},
      {"a branch cuts",
       [](io::line_network& n) {
         n.edges.insert(n.edges.end(), {6, 1});
         n.colors.push_back(2);
       },
       95, 4, 0, 2},
  };
  for (const summary_case& c : cases) {
    SCOPED_TRACE(c.what);
    io::line_network net = square_and_line();
    c.change(net);
    const filum_cli::network_summary s = filum_cli::summarize(net, c.corner_angle, false);
    EXPECT_EQ((std::vector<std::size_t>{s.lines, s.closed_loops, s.colors}),
              (std::vector<std::size_t>{c.lines, c.loops, c.colors}));
  }
}

TEST(NetworkSummary, MeasuresLengthsAndTheBox) {
  const filum_cli::network_summary s = filum_cli::summarize(square_and_line(), 30, true);
  EXPECT_EQ(s.nodes, 9u);
  EXPECT_EQ(s.elements, 8u);
  EXPECT_NEAR(s.total_length, 4 + 1 + 2 * std::hypot(1, 0.36397), 1e-9);
  EXPECT_DOUBLE_EQ(s.shortest, 0.5);
  EXPECT_DOUBLE_EQ(s.longest, std::hypot(1, 0.36397));
  EXPECT_EQ(s.low, (std::vector<double>{0, 0}));
  EXPECT_EQ(s.high, (std::vector<double>{8, 1}));
  EXPECT_TRUE(s.looks_geographic);
  EXPECT_FALSE(filum_cli::summarize(square_and_line(), 30, false).looks_geographic);
}

}  // namespace
