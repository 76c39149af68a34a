#include <vector>

#include <gtest/gtest.h>
#include <vorn/tessa.h>

#include "support/filum_test.h"

using namespace vorn;
using filum_test::make_columns;

namespace {

constexpr unsigned none = 0xFFFFFFFFu;
constexpr tessa::element_type edge2 = tessa::element_type::edge2;

// The neighbour table as rows: {row 0 (end side), row 1 (start side)}.
std::vector<std::vector<unsigned>> table(const dense2D<unsigned>& neighbors) {
  std::vector<std::vector<unsigned>> rows(2);
  for (std::size_t e = 0; e < neighbors.cols(); ++e)
    for (std::size_t r = 0; r < 2; ++r)
      rows[r].push_back(neighbors(r, e));
  return rows;
}

}  // namespace

TEST(TessaGetNeighbors, MatchesExactlyTwoEndsOfDifferentElements) {
  struct Case {
    const char* name;
    dense2D<unsigned> connect;
    std::vector<unsigned> end_side, start_side;
  };
  const unsigned big = 0xFFFFFF00u;  // identifiers far beyond the element count
  const Case cases[] = {
      {"chain", make_columns<unsigned>({{0, 1}, {1, 2}, {2, 3}}), {1, 2, none}, {none, 0, 1}},
      {"loop", make_columns<unsigned>({{0, 1}, {1, 2}, {2, 0}}), {1, 2, 0}, {2, 0, 1}},
      {"branch",
       make_columns<unsigned>({{0, 1}, {1, 2}, {1, 3}}),
       {none, none, none},
       {none, none, none}},
      {"head to head", make_columns<unsigned>({{0, 1}, {0, 2}}), {none, none}, {1, 0}},
      {"tail to tail", make_columns<unsigned>({{1, 0}, {2, 0}}), {1, 0}, {none, none}},
      {"degenerate alone", make_columns<unsigned>({{5, 5}}), {none}, {none}},
      {"degenerate in a chain",
       make_columns<unsigned>({{0, 1}, {1, 1}, {1, 2}}),
       {none, none, none},
       {none, none, none}},
      {"large identifiers",
       make_columns<unsigned>({{big + 7, 3}, {3, big}, {big, 0x100u}}),
       {1, 2, none},
       {none, 0, 1}},
  };
  for (const Case& c : cases) {
    dense2D<unsigned> neighbors(3, 1, 7u);
    EXPECT_EQ(tessa::get_neighbors(c.connect, edge2, false, neighbors), 0) << c.name;
    EXPECT_EQ(table(neighbors), (std::vector<std::vector<unsigned>>{c.end_side, c.start_side}))
        << c.name;
  }
}

TEST(TessaGetNeighbors, CodesAndStorageFailures) {
  dense2D<unsigned> neighbors;
  EXPECT_EQ(tessa::get_neighbors(dense2D<unsigned>(1, 3), edge2, false, neighbors), -1);
  EXPECT_EQ(tessa::get_neighbors(dense2D<unsigned>(0, 3), edge2, false, neighbors), 0);
  EXPECT_EQ(table(neighbors)[0], (std::vector<unsigned>{none, none, none}));
  const dense2D<unsigned> chain = make_columns<unsigned>({{0, 1}, {1, 0x10000u}, {0x10000u, 3}});
  const std::size_t runs = filum_test::sweep_allocation_failures(
      [] { return dense2D<unsigned>(); },
      [&](dense2D<unsigned>& out) { return tessa::get_neighbors(chain, edge2, false, out); },
      [](const dense2D<unsigned>& out, int result, bool failed) {
        EXPECT_EQ(result, failed ? -199 : 0);
        if (!failed) {
          EXPECT_EQ(table(out)[0], (std::vector<unsigned>{1, 2, none}));
        }
      });
  EXPECT_GE(runs, 3u);
}
