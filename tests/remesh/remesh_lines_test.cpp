#include <algorithm>
#include <cmath>
#include <complex>
#include <functional>
#include <limits>
#include <set>
#include <vector>

#include <gtest/gtest.h>
#include <vorn/filum.h>

#include "support/filum_test.h"
#include "support/line_geometry.h"
#include "support/random_network.h"

using namespace vorn;
using namespace filum_test;
using filum::no_id;

namespace {

const double not_a_number = std::numeric_limits<double>::quiet_NaN();
const double pi = std::acos(-1.0);
using element_list = std::vector<std::vector<unsigned>>;

// The arguments of one call; overload 0 is the general one, 1 the one with colors, 2 the
// one without.
struct remesh_call {
  dense2D<double> pos;
  dense2D<unsigned> connectM;
  dense1D<double> node_sizes;
  dense1D<unsigned> colors, hard_nodes, hard_edges;
  double default_size = 0.25, corner_angle = 30, chordal_tol = 0, max_gradation = 0, min_size = 0;
  unsigned min_elements = 1, max_elements = no_id;

  // A copy that shares no storage with the given network.
  remesh_call(const dense2D<double>& p, const dense2D<unsigned>& c,
              const dense1D<unsigned>& k = {}) {
    pos.copy(p), connectM.copy(c), colors.copy(k);
  }
  remesh_call deep_copy() const {
    remesh_call c = *this;
    c.pos.copy(pos), c.connectM.copy(connectM), c.colors.copy(colors),
        c.hard_nodes.copy(hard_nodes);
    return c;
  }
  int run(int overload = 0) {
    if (overload == 1)
      return filum::remesh_lines(pos, connectM, default_size, colors, false, corner_angle,
                                 chordal_tol, max_gradation, min_size, min_elements, max_elements);
    if (overload == 2)
      return filum::remesh_lines(pos, connectM, default_size, false, corner_angle, chordal_tol,
                                 max_gradation, min_size, min_elements, max_elements);
    return filum::remesh_lines(pos, connectM, default_size, node_sizes, colors, hard_nodes,
                               hard_edges, false, corner_angle, chordal_tol, max_gradation,
                               min_size, min_elements, max_elements);
  }
  element_list elements() const {
    element_list result;
    for (std::size_t j = 0; j < connectM.cols(); ++j)
      result.push_back(column(connectM, j));
    return result;
  }
};

// Checks a remeshed network against its input: pos only grew; the elements are E2 columns
// over pos; a node that is not hard has one element in and one out, or starts two elements
// as it did before; every hard node survives and every given one up to the largest input
// node is hard; each output line (cut at hard nodes) has one color. Returns those colors.
std::vector<unsigned> check_network(const remesh_call& c, const remesh_call& given) {
  const std::set<unsigned> hard(c.hard_nodes.begin(), c.hard_nodes.end());
  EXPECT_TRUE(std::is_sorted(c.hard_nodes.begin(), c.hard_nodes.end()) &&
              hard.size() == c.hard_nodes.size());
  for (std::size_t j = 0; j < given.pos.cols(); ++j)
    EXPECT_EQ(column(c.pos, j), column(given.pos, j));
  const auto all = given.connectM.as_vector();
  for (unsigned node : given.hard_nodes)
    EXPECT_TRUE(node > *std::max_element(all.begin(), all.end()) || hard.count(node)) << node;
  EXPECT_EQ(c.colors.size(), c.connectM.cols());
  const auto out = c.connectM.as_vector();
  if (c.connectM.rows() != 2 ||
      !std::all_of(out.begin(), out.end(), [&](unsigned n) { return n < c.pos.cols(); })) {
    ADD_FAILURE() << "elements not over pos";
    return {};
  }
  std::vector<int> ins(c.pos.cols()), outs(c.pos.cols()), given_outs(c.pos.cols());
  std::vector<unsigned> line_colors;
  for (std::size_t j = 0; j < c.connectM.cols(); ++j) {
    const unsigned s = c.connectM(0, j);
    ++outs[s], ++ins[c.connectM(1, j)];
    if (j == 0 || s != c.connectM(1, j - 1) || hard.count(s)) line_colors.push_back(c.colors[j]);
    EXPECT_EQ(c.colors[j], line_colors.back()) << "element " << j;
  }
  for (std::size_t e = 0; e < given.connectM.cols(); ++e)
    ++given_outs[given.connectM(0, e)];
  for (unsigned node = 0; node < ins.size(); ++node)
    EXPECT_TRUE(hard.count(node) || (ins[node] == outs[node] && ins[node] <= 1) ||
                (ins[node] == 0 && outs[node] == 2 && given_outs[node] == 2))
        << node;
  for (unsigned node : hard)
    EXPECT_GT(ins[node] + outs[node], 0) << node;
  return line_colors;
}

// Checks that a failed call left pos at its columns and the network as it was.
void expect_untouched(const remesh_call& c, const remesh_call& given) {
  EXPECT_EQ(c.pos.cols(), given.pos.cols());
  EXPECT_EQ(c.elements(), given.elements());
  EXPECT_EQ(entries(c.colors), entries(given.colors));
  EXPECT_EQ(entries(c.hard_nodes), entries(given.hard_nodes));
}

}  // namespace

TEST(RemeshLines, ChecksArgumentsInOrderShiftsTheShortOverloadCodesAndGivesFiniteNodes) {
  const struct {
    std::function<void(remesh_call&)> change;
    int codes[3];  // general, with colors, without colors
  } cases[] = {
      {[](remesh_call& c) { c.pos = dense2D<double>(4, 3), c.connectM = {}; }, {0, 0, 0}},
      {[](remesh_call& c) { c.pos = dense2D<double>(4, 3); }, {-1, -1, -1}},
      {[](remesh_call& c) { c.connectM(1, 1) = 3; }, {-2, -2, -2}},
      {[](remesh_call& c) { c.default_size = not_a_number; }, {-3, -3, -3}},
      {[](remesh_call& c) { c.hard_edges = dense1D<unsigned>(1, 2u); }, {-7, 0, 0}},
      {[](remesh_call& c) { c.corner_angle = -1; }, {-9, -6, -5}},
      {[](remesh_call& c) { c.max_gradation = not_a_number; }, {-11, -8, -7}},
      {[](remesh_call& c) { c.min_size = -1; }, {-12, -9, -8}},
      {[](remesh_call& c) { c.min_elements = 3, c.max_elements = 2; }, {-13, -10, -9}},
      // refused by the mesher after a first line that meshed
      {[](remesh_call& c) {
         c.default_size = 0, c.node_sizes = values({0.3, 0.3});
       },
       {-3, -3, -3}},
      {[](remesh_call& c) { c.min_elements = 0; }, {-5, -2, -5}},
      {[](remesh_call& c) { c.chordal_tol = -0.01, c.min_elements = 0; }, {-5, -2, -5}},
      // self-loops around a segment, a denormal floor and a spline always
      {[](remesh_call& c) {
         c = remesh_call(make_pos({{0, 0}, {0, -3.995849609375}}),
                         make_columns<unsigned>({{1, 1}, {1, 0}, {0, 0}}));
         c.default_size = 0.01, c.corner_angle = 0, c.chordal_tol = -4.37207;
         c.min_size = 4.94e-324, c.min_elements = 4;
       },
       {0, 0, 0}},
      // a non-finite coordinate is a fault of pos, not of storage; no endless sampling
      {[](remesh_call& c) {
         c = remesh_call(make_pos({{0, 0}, {1, not_a_number}}), make_columns<unsigned>({{0, 1}}));
       },
       {-1, -1, -1}},
      {[](remesh_call& c) {
         c = remesh_call(make_pos({{0, 0}, {0, -HUGE_VAL}}), make_columns<unsigned>({{1, 0}}));
         c.default_size = 0.01, c.chordal_tol = 2.3125;
       },
       {-1, -1, -1}},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i)
    for (int overload = 0; overload < 3; ++overload) {
      remesh_call c(make_pos({{0, 0}, {1, 0}, {2, 0.5}}), make_columns<unsigned>({{0, 1}, {1, 2}}),
                    ids({4, 4}));
      c.hard_nodes = ids({1});
      cases[i].change(c);
      const remesh_call given = c.deep_copy();
      const int code = c.run(overload);
      EXPECT_EQ(code, cases[i].codes[overload]) << "case " << i << " overload " << overload;
      if (code != 0) expect_untouched(c, given);
      for (std::size_t j = given.pos.cols(); j < c.pos.cols(); ++j)
        EXPECT_TRUE(std::isfinite(c.pos(0, j)) && std::isfinite(c.pos(1, j))) << j;
    }
}

TEST(RemeshLines, CutsAtHardNodesAndGivesEachLineItsColor) {
  // 0 -> 1 -> 2 straight, then a 45 degree turn at 2 towards 3; a second piece 4 -> 5 <- 6.
  const auto pos = make_pos({{0, 0}, {1, 0}, {2, 0}, {3, 1}, {0, 2}, {1, 2}, {2, 2}});
  const auto net = make_columns<unsigned>({{0, 1}, {1, 2}, {2, 3}, {4, 5}, {6, 5}});
  // Corner angle, colors, hard nodes, hard edges; the hard nodes after, the line colors.
  const std::tuple<double, dense1D<unsigned>, dense1D<unsigned>, dense1D<unsigned>,
                   std::vector<unsigned>, std::vector<unsigned>>
      cases[] = {
          {30, {}, {}, {}, {0, 2, 3, 4, 5, 6}, {0, 1, 2, 3}},  // no colors: 0, 1, 2 ... by line
          {60, {}, {}, {}, {0, 3, 4, 5, 6}, {0, 1, 2}},
          {60, ids({5, 5, 7, 2, 2}), {}, {}, {0, 2, 3, 4, 5, 6}, {5, 7, 2, 2}},
          {60, ids({no_id, 5, 5, no_id}), ids({1, 99}), {}, {0, 1, 3, 4, 5, 6}, {6, 5, 7, 8}},
          {60, {}, ids({1, 2}), {}, {0, 1, 2, 3, 4, 5, 6}, {0, 1, 2, 3, 4}},  // remeshed alone
          {60, {}, {}, ids({1}), {0, 1, 2, 3, 4, 5, 6}, {0, 1, 2, 3, 4}},     // kept as it is
      };
  for (const auto& [corner_angle, colors, hard_nodes, hard_edges, hard, line_colors] : cases) {
    remesh_call c(pos, net, colors);
    c.corner_angle = corner_angle, c.hard_nodes = hard_nodes, c.hard_edges = hard_edges;
    const remesh_call given = c.deep_copy();
    ASSERT_EQ(c.run(), 0) << corner_angle;
    EXPECT_EQ(entries(c.hard_nodes), hard) << corner_angle;
    EXPECT_EQ(check_network(c, given), line_colors) << corner_angle;
    const auto out = c.elements();
    EXPECT_EQ(std::count(out.begin(), out.end(), std::vector<unsigned>{1, 2}), hard_edges.size());
  }
}

TEST(RemeshLines, CapsLineEndsByLineLengthUnlessANodeHasItsOwnSize) {
  // A line 0 -> 1 of length 10 and one 1 -> 2 of length 0.5, default size 2: the count of
  // the long line follows its end sizes (about 10 ln(h0 / h1) / (h0 - h1) elements).
  const std::tuple<dense1D<double>, double, std::size_t> cases[] = {
      {{}, 0, 9},                  // 2 .. 0.5 at the joint
      {values({0, 2}), 0, 5},      // the joint keeps its own size
      {values({0, -1, 0}), 1, 7},  // cap floored at min_size: 2 .. 1
      {values({1, 0, 9}), 0, 14},  // 1 .. 0.5
  };
  for (const auto& [node_sizes, min_size, long_elements] : cases) {
    remesh_call c(make_pos({{0, 0}, {10, 0}, {10.5, 0}}), make_columns<unsigned>({{0, 1}, {1, 2}}));
    c.hard_nodes = ids({1}), c.default_size = 2, c.node_sizes = node_sizes, c.min_size = min_size;
    ASSERT_EQ(c.run(), 0);
    EXPECT_EQ(c.connectM.cols(), long_elements + 1) << long_elements;
  }
}

TEST(RemeshLines, ChordalToleranceChoosesTheSplineOrThePolyline) {
  // A quarter circle of 7 nodes off the origin, at small and large scales; its spline
  // strays about 1e-3 of the radius from the nodes' polyline.
  for (double scale : {1e-8, 1.0, 1e8})
    for (auto [tol, on_polyline] : {std::pair{0.0, true},
                                    {-1e-3, false},
                                    {1.0, false},
                                    {not_a_number, false},
                                    {1e-9, true}}) {
      remesh_call c(arc(7, scale, pi / 2, 3 * scale),
                    make_columns<unsigned>({{0, 1}, {1, 2}, {2, 3}, {3, 4}, {4, 5}, {5, 6}}));
      c.default_size = 0.05 * scale, c.corner_angle = 60, c.chordal_tol = tol * scale;
      ASSERT_EQ(c.run(), 0) << scale << " " << tol;
      double farthest = 0;
      for (std::size_t j = 7; j < c.pos.cols(); ++j)
        farthest = std::max(farthest, distance_to_polyline(c.pos, j, first_columns(7)));
      EXPECT_EQ(farthest < 1e-12 * scale, on_polyline) << scale << " " << tol << " " << farthest;
    }
}

TEST(RemeshLines, ClosedLoopWithoutHardNodesGetsPeriodicEnds) {
  // A regular octagon (turns of 45 degrees, below the corner angle) meshed by its spline:
  // at the closing node it turns like at any other node.
  remesh_call c(
      arc(9, 1, 2 * pi),
      make_columns<unsigned>({{0, 1}, {1, 2}, {2, 3}, {3, 4}, {4, 5}, {5, 6}, {6, 7}, {7, 0}}));
  c.corner_angle = 60, c.chordal_tol = -1e-3, c.default_size = 0.2;
  const remesh_call given = c.deep_copy();
  ASSERT_EQ(c.run(), 0);
  EXPECT_TRUE(c.hard_nodes.empty());
  EXPECT_EQ(check_network(c, given).size(), 1u);
  const std::size_t m = c.connectM.cols();
  ASSERT_TRUE(c.connectM(0, 0) == 0 && c.connectM(1, m - 1) == 0);
  auto direction = [&](std::size_t j) {
    const unsigned s = c.connectM(0, j), t = c.connectM(1, j);
    return std::complex<double>(c.pos(0, t) - c.pos(0, s), c.pos(1, t) - c.pos(1, s));
  };
  EXPECT_NEAR(std::arg(direction(0) / direction(m - 1)), 2 * pi / m, pi / m);
}

TEST(RemeshLines, StorageFailureRestoresPosAndLeavesTheNetworkUntouched) {
  // Three lines and a hard edge; every storage failure, on both mesher paths, fails the call
  // or is absorbed by a line mesher.
  remesh_call given(make_pos({{0, 0}, {1, 0}, {2, 0.5}, {0, 3}, {1, 3}, {2, 3}}),
                    make_columns<unsigned>({{0, 1}, {1, 2}, {3, 4}, {4, 5}}), ids({3, 4, 5}));
  given.hard_nodes = ids({1}), given.hard_edges = ids({2});
  for (double chordal_tol : {0.0, -1e-3}) {
    std::size_t refused = 0;
    given.chordal_tol = chordal_tol;
    sweep_allocation_failures([&] { return given.deep_copy(); },
                              [&](remesh_call& c) { return c.run(); },
                              [&](remesh_call& c, int code, bool failed) {
                                EXPECT_EQ(code, failed && code != 0 ? -199 : 0);
                                if (code != 0) expect_untouched(c, given), ++refused;
                                if (code == 0) check_network(c, given);
                              });
    EXPECT_GT(refused, 5u) << chordal_tol;
  }
}

TEST(RemeshLines, RandomNetworksKeepHardNodesJoinsAndColors) {
  for (unsigned seed = 1; seed <= 16; ++seed) {
    const double scale = seed % 3 == 0 ? 1e-8 : 1, offset = seed % 3 == 1 ? 1e8 : 0;
    const random_lines r = random_network(seed, 2 + seed % 2, scale, offset);
    remesh_call c(r.pos, r.connectM, r.colors);
    c.hard_nodes = r.hard_nodes, c.hard_edges = r.hard_edges, c.node_sizes = r.node_sizes;
    c.default_size = 0.1 * scale, c.corner_angle = 20.0 + 40 * (seed % 3);
    c.chordal_tol = seed % 5 == 0 ? -1e-2 * scale : 0;
    const remesh_call given = c.deep_copy();
    ASSERT_EQ(c.run(), 0) << seed;
    check_network(c, given);
    const auto out = c.elements();
    EXPECT_EQ(std::count(out.begin(), out.end(), column(r.connectM, c.hard_edges[0])), 1);
  }
}
