#include "remesh/extract_lines.h"

#include <iterator>
#include <vector>

#include <gtest/gtest.h>
#include <vorn/tessa.h>

#include "support/filum_test.h"

using namespace vorn;
using filum_test::make_columns;
using lines = std::vector<std::vector<unsigned>>;

TEST(ExtractLines, WalksFromHardNodesFirstThenFromTheLowestUntakenElement) {
  const auto chain = make_columns<unsigned>({{0, 1}, {1, 2}, {2, 3}, {3, 4}});
  const auto loop = make_columns<unsigned>({{2, 3}, {3, 0}, {0, 1}, {1, 2}});
  // Connectivity, hard nodes, neighbor table (empty: that of the mesh utilities), lines.
  const std::tuple<dense2D<unsigned>, std::vector<unsigned>, dense2D<unsigned>, lines> cases[] = {
      {chain, {0, 4}, {}, {{0, 1, 2, 3}}},
      {make_columns<unsigned>({{2, 3}, {0, 1}, {1, 2}}), {0, 3}, {}, {{1, 2, 0}}},
      {chain, {2}, {}, {{2, 3}, {0, 1}}},  // a line from a hard node comes first
      {chain, {0, 1, 4}, {}, {{0}, {1, 2, 3}}},
      {loop, {}, {}, {{0, 1, 2, 3}}},  // from the start of its lowest element
      {loop, {1}, {}, {{3, 0, 1, 2}}},
      {make_columns<unsigned>({{1, 0}, {1, 2}}), {0, 2}, {}, {{0}, {1}}},  // both start at 1
      {chain,
       {},
       make_columns<unsigned>({{1, 4}, {4, 0}, {0xFFFFFFFEu, 1}, {2, 2}}),
       {{0, 1}, {2}, {3}}},
      {chain, {}, make_columns<unsigned>({{1, 9}, {2, 0}, {1, 1}, {9, 9}}), {{0, 1, 2}, {3}}},
      {dense2D<unsigned>(), {}, {}, {}},
  };
  for (const auto& [connectM, hard_nodes, given, expected] : cases) {
    filum::node_set hard;
    hard.insert_all(hard_nodes.data(), hard_nodes.size());
    dense2D<unsigned> neighbors = given;
    if (neighbors.empty())
      tessa::get_neighbors(connectM, tessa::element_type::edge2, false, neighbors);
    dense1D<unsigned> starts = filum_test::ids({7, 7}), elements = filum_test::ids({7});
    ASSERT_EQ(filum::extract_lines(connectM, neighbors, hard, starts, elements), 0);
    // The compressed form starts at 0 and ends with every element.
    ASSERT_TRUE(starts.size() >= 1 && starts[0] == 0 &&
                starts[starts.size() - 1] == elements.size());
    lines walked;
    for (std::size_t k = 0; k + 1 < starts.size(); ++k)
      walked.emplace_back(elements.begin() + starts[k], elements.begin() + starts[k + 1]);
    EXPECT_EQ(walked, expected) << connectM.cols() << " elements, " << hard_nodes.size() << " hard";
  }
}
