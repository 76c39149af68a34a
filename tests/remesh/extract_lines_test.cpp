#include "remesh/extract_lines.h"

#include <iterator>
#include <memory>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "remesh/neighbor_table.h"
#include "support/filum_test.h"

using namespace vorn;
using filum::extract_lines;
using filum_test::make_columns;
using lines = std::vector<std::vector<unsigned>>;

namespace {

// The lines of the compressed form, checking that it starts at 0 and ends with every element.
lines unpack(const dense1D<unsigned>& starts, const dense1D<unsigned>& elements) {
  EXPECT_TRUE(starts.size() >= 1 && starts[0] == 0 && starts[starts.size() - 1] == elements.size());
  lines result;
  for (std::size_t i = 0; i + 1 < starts.size(); ++i)
    result.emplace_back(elements.begin() + starts[i], elements.begin() + starts[i + 1]);
  return result;
}

}  // namespace

TEST(ExtractLines, WalksFromHardNodesFirstThenFromTheLowestUntakenElement) {
  const auto chain = make_columns<unsigned>({{0, 1}, {1, 2}, {2, 3}, {3, 4}});
  const auto loop = make_columns<unsigned>({{2, 3}, {3, 0}, {0, 1}, {1, 2}});
  struct Case {
    dense2D<unsigned> connectM;
    std::vector<unsigned> hard;
    dense2D<unsigned> neighbors;  // empty: as the mesh utilities give them
    lines expected;
  } cases[] = {
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
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    filum::node_set hard;
    hard.insert_all(c.hard.data(), c.hard.size());
    const auto neighbors =
        c.neighbors.empty() ? filum_test::neighbor_table(c.connectM) : c.neighbors;
    dense1D<unsigned> starts = filum_test::ids({7, 7}), elements = filum_test::ids({7});
    ASSERT_EQ(extract_lines(c.connectM, neighbors, hard, starts, elements), 0);
    EXPECT_EQ(unpack(starts, elements), c.expected) << "case " << i;
  }
}

TEST(ExtractLines, StorageFailureEmptiesTheOutputs) {
  const auto connectM = make_columns<unsigned>({{0, 1}, {1, 2}, {3, 4}});
  const auto neighbors = filum_test::neighbor_table(connectM);
  const filum::node_set hard;
  using outputs = std::pair<dense1D<unsigned>, dense1D<unsigned>>;
  const std::size_t failures = filum_test::sweep_allocation_failures(
      [] {
        return std::make_unique<outputs>(filum_test::ids({7, 7}), filum_test::ids({7}));
      },
      [&](auto& out) { return extract_lines(connectM, neighbors, hard, out->first, out->second); },
      [&](auto& out, int result, bool failed) {
        EXPECT_EQ(result, failed ? -199 : 0);
        if (failed) {
          EXPECT_TRUE(out->first.empty() && out->second.empty());
        } else {
          EXPECT_EQ(unpack(out->first, out->second), (lines{{0, 1}, {2}}));
        }
      });
  EXPECT_GE(failures, 3u);
}
