#include "remesh/detect_corners.h"
#include "remesh/extract_lines.h"
#include "remesh/node_set.h"

#include <cmath>
#include <cstdint>
#include <iterator>
#include <random>
#include <set>
#include <vector>

#include <gtest/gtest.h>
#include <vorn/tessa.h>

#include "support/filum_test.h"

// The hard nodes of a network: their set, the corners among them and the lines between them.

using namespace vorn;
using filum::node_set;
using filum_test::make_columns;
using hard = std::set<unsigned>;
using keys = std::vector<unsigned>;
using lines = std::vector<std::vector<unsigned>>;

namespace {

// The members in ascending order; each must be listed once.
keys members(const node_set& set) {
  const std::set<unsigned> sorted(set.begin(), set.end());
  EXPECT_EQ(sorted.size(), set.size());
  return keys(sorted.begin(), sorted.end());
}

// The nodes detect_corners<2> or <3> (by the rows of pos) adds to an empty set for the two
// edges 0 -> 1 -> 2.
hard detect(const dense2D<double>& pos, double angle, double min_size) {
  const auto connectM = make_columns<unsigned>({{0, 1}, {1, 2}});
  dense2D<unsigned> neighbors;
  node_set set;
  EXPECT_EQ(tessa::get_neighbors(connectM, tessa::element_type::edge2, false, neighbors), 0);
  EXPECT_EQ(pos.rows() == 2
                ? filum::detect_corners<2>(pos, connectM, neighbors, angle, min_size, set)
                : filum::detect_corners<3>(pos, connectM, neighbors, angle, min_size, set),
            0);
  return hard(set.begin(), set.end());
}

}  // namespace

TEST(NodeSet, AgreesWithAnOrderedSetOnManyKeys) {
  node_set set;
  std::set<unsigned> reference;
  std::uint64_t state = 12345;
  for (int i = 0; i < 200000; ++i) {  // 19-bit keys: long chains and many repeats
    state = state * 6364136223846793005u + 1442695040888963407u;
    const unsigned key = i == 7 ? 0xFFFFFFFFu : static_cast<unsigned>(state >> 45);
    EXPECT_EQ(set.insert(key) == node_set::insertion::added, reference.insert(key).second);
  }
  EXPECT_EQ(members(set), keys(reference.begin(), reference.end()));
  for (unsigned key = 0; key < (1u << 19); key += 3)
    EXPECT_EQ(set.contains(key), reference.count(key) == 1);
}

TEST(DetectCorners, TurnsAndEdgeLengthsAtEveryScale) {
  // Node 1 joins u = (lu, 0) to v of length lv turned by `turn` degrees (exactly so at 90);
  // in 3D the plane is tilted so that y and z share the turn (by 3/5 and 4/5).
  const struct {
    double angle, turn, lu, lv, min_size;
    bool corner;
  } cases[] = {
      {0, 0, 1, 1, 0, false},        {0, 30, 1, 1, 0, true},     {60, 50, 1, 1, 0, false},
      {60, 70, 1, 1, 0, true},       {90, 90, 1, 1, 0, true},    {135, 30, 1, 1, 0, false},
      {135, 50, 1, 1, 0, true},      {180, 0, 1, 1, 0, false},   {180, 30, 1, 1, 0, true},
      {135, 90, 5, 10, 5, false},    {135, 90, 10, 5, 5, false}, {135, 90, 4, 10, 5, false},
      {135, 90, 5, 10, 4.999, true},
  };
  const double geometries[][2] = {
      {1, 0}, {std::ldexp(1, -27), 0}, {std::ldexp(1, 27), 0}, {1, 1e8}};
  for (std::size_t dim : {2, 3})
    for (const auto& [scale, offset] : geometries)
      for (const auto& c : cases) {
        const double t = c.turn * 3.141592653589793 / 180;
        const double x = c.turn == 90 ? 0 : c.lv * std::cos(t),
                     y = c.turn == 90 ? c.lv : c.lv * std::sin(t);
        const double plane[3][3] = {
            {-c.lu, 0, 0}, {0, 0, 0}, {x, dim == 2 ? y : y * 3 / 5, y * 4 / 5}};
        dense2D<double> pos(dim, 3);
        for (std::size_t j = 0; j < 3; ++j)
          for (std::size_t i = 0; i < dim; ++i)
            pos(i, j) = offset + scale * plane[j][i];
        const hard expected = c.corner ? hard{0, 1, 2} : hard{0, 2};
        EXPECT_EQ(detect(pos, c.angle, c.min_size * scale), expected)
            << "dim " << dim << " scale " << scale << " offset " << offset << " angle " << c.angle
            << " turn " << c.turn << " lengths " << c.lu << ", " << c.lv;
      }
}

TEST(DetectCorners, RangesFindTheNodesOfTheWholeSearch) {
  // A random walk with sharp and gentle turns, free ends and joints, cut into ranges.
  std::mt19937 rng(3);
  dense2D<double> pos(2, 400);
  for (unsigned v = 0; v < 400; ++v)
    pos(0, v) = std::cos(0.3 * v) * v + rng() % 3, pos(1, v) = std::sin(0.2 * v) * v;
  dense2D<unsigned> connectM(2, 500);
  for (unsigned e = 0; e < 500; ++e)
    connectM(0, e) = e < 399 ? e : rng() % 400, connectM(1, e) = e < 399 ? e + 1 : rng() % 400;
  dense2D<unsigned> neighbors;
  ASSERT_EQ(tessa::get_neighbors(connectM, tessa::element_type::edge2, false, neighbors), 0);
  node_set set;
  ASSERT_EQ(filum::detect_corners<2>(pos, connectM, neighbors, 30, 0.5, set), 0);
  dense1D<unsigned> nodes;
  const std::size_t cuts[] = {0, 1, 137, 398, 450, 500};
  for (std::size_t k = 0; k + 1 < std::size(cuts); ++k)
    ASSERT_TRUE(
        filum::corner_nodes<2>(pos, connectM, neighbors, 30, 0.5, cuts[k], cuts[k + 1], nodes));
  EXPECT_TRUE(set.size() > 20 && set.size() < 300);
  EXPECT_EQ(hard(nodes.begin(), nodes.end()), hard(set.begin(), set.end()));
}

TEST(ExtractLines, WalksFromHardNodesFirstThenFromTheLowestUntakenElement) {
  const auto chain = make_columns<unsigned>({{0, 1}, {1, 2}, {2, 3}, {3, 4}});
  const auto loop = make_columns<unsigned>({{2, 3}, {3, 0}, {0, 1}, {1, 2}});
  // Connectivity, hard nodes, lines.
  const std::tuple<dense2D<unsigned>, std::vector<unsigned>, lines> cases[] = {
      {chain, {0, 4}, {{0, 1, 2, 3}}},
      {make_columns<unsigned>({{2, 3}, {0, 1}, {1, 2}}), {0, 3}, {{1, 2, 0}}},
      {chain, {2}, {{2, 3}, {0, 1}}},  // a line from a hard node comes first
      {chain, {0, 1, 4}, {{0}, {1, 2, 3}}},
      {loop, {}, {{0, 1, 2, 3}}},  // from the start of its lowest element
      {loop, {1}, {{3, 0, 1, 2}}},
      {make_columns<unsigned>({{1, 0}, {1, 2}}), {0, 2}, {{0}, {1}}},  // both start at 1
      {dense2D<unsigned>(), {}, {}},
  };
  for (const auto& [connectM, hard_nodes, expected] : cases) {
    node_set set;
    set.insert_all(hard_nodes.data(), hard_nodes.size());
    dense2D<unsigned> neighbors;
    tessa::get_neighbors(connectM, tessa::element_type::edge2, false, neighbors);
    dense1D<unsigned> starts = filum_test::ids({7, 7}), elements = filum_test::ids({7});
    ASSERT_EQ(filum::extract_lines(connectM, neighbors, set, starts, elements), 0);
    // The compressed form starts at 0 and ends with every element.
    ASSERT_TRUE(starts.size() >= 1 && starts[0] == 0 &&
                starts[starts.size() - 1] == elements.size());
    lines walked;
    for (std::size_t k = 0; k + 1 < starts.size(); ++k)
      walked.emplace_back(elements.begin() + starts[k], elements.begin() + starts[k + 1]);
    EXPECT_EQ(walked, expected) << connectM.cols() << " elements, " << hard_nodes.size() << " hard";
  }
}
