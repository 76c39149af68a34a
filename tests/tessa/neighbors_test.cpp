#include <vector>

#include <gtest/gtest.h>
#include <vorn/tessa.h>

#include "support/filum_test.h"

using namespace vorn;
using filum_test::ids;
using filum_test::make_columns;
using rows = std::vector<unsigned>;

namespace {

constexpr unsigned none = 0xFFFFFFFFu;
constexpr tessa::element_type edge2 = tessa::element_type::edge2;

// Rows 0 (the end side) and 1 (the start side) of the neighbor table, one after the other.
rows neighbors_of(const dense2D<unsigned>& connect, int expected_code = 0) {
  dense2D<unsigned> table(3, 1, 7u);
  EXPECT_EQ(tessa::get_neighbors(connect, edge2, false, table), expected_code);
  rows out;
  for (std::size_t r = 0; r < 2 * table.cols(); ++r)
    out.push_back(table(r / table.cols(), r % table.cols()));
  return out;
}

// get_colors_boundaries with the given neighbor table, or else that of get_neighbors.
int boundaries(const dense2D<unsigned>& connect, const dense1D<unsigned>& colors,
               dense2D<unsigned>& out, const dense2D<unsigned>* table = nullptr) {
  dense2D<unsigned> neighbors;
  EXPECT_TRUE(table || tessa::get_neighbors(connect, edge2, false, neighbors) == 0);
  return tessa::get_colors_boundaries(connect, table ? *table : neighbors, colors, edge2, false,
                                      true, out);
}

}  // namespace

TEST(TessaGetNeighbors, MatchesExactlyTwoEndsOfDifferentElements) {
  const unsigned big = 0xFFFFFF00u, high = 0x01000005u;  // beyond the element count
  const std::pair<dense2D<unsigned>, rows> cases[] = {
      // rows 0 then 1 of the table
      {make_columns<unsigned>({{0, 1}, {1, 2}, {2, 3}}), {1, 2, none, none, 0, 1}},
      {make_columns<unsigned>({{0, 1}, {1, 2}, {2, 0}}), {1, 2, 0, 2, 0, 1}},
      {make_columns<unsigned>({{0, 1}, {1, 2}, {1, 3}}), rows(6, none)},  // branch
      {make_columns<unsigned>({{0, 1}, {0, 2}}), {none, none, 1, 0}},     // head to head
      {make_columns<unsigned>({{1, 0}, {2, 0}}), {1, 0, none, none}},     // tail to tail
      {make_columns<unsigned>({{5, 5}}), {none, none}},
      {make_columns<unsigned>({{0, 1}, {1, 1}, {1, 2}}), rows(6, none)},
      {make_columns<unsigned>({{big + 7, 3}, {3, big}, {big, 0x100u}}), {1, 2, none, none, 0, 1}},
      {make_columns<unsigned>({{5, high}, {high, 5}}), {1, 0, 1, 0}},  // equal low bytes
      {dense2D<unsigned>(0, 3), rows(6, none)},
  };
  for (const auto& [connect, end_then_start_side] : cases)
    EXPECT_EQ(neighbors_of(connect), end_then_start_side) << connect.cols();
  EXPECT_EQ(neighbors_of(dense2D<unsigned>(1, 3), -1), (rows{7, 7}));
  const dense2D<unsigned> chain = make_columns<unsigned>({{0, 1}, {1, 0x10000u}, {0x10000u, 3}});
  EXPECT_GE(
      filum_test::sweep_allocation_failures(
          [] { return dense2D<unsigned>(); },
          [&](dense2D<unsigned>& out) { return tessa::get_neighbors(chain, edge2, false, out); },
          [](const dense2D<unsigned>& out, int result, bool failed) {
            EXPECT_EQ(result, failed ? -199 : 0);
            EXPECT_TRUE(failed || (out(0, 0) == 1 && out(0, 1) == 2 && out(0, 2) == none));
          }),
      3u);
}

TEST(TessaColorsBoundaries, DistinctNodesWhereColorsChangeAscendingThenCodesAndStorage) {
  const dense2D<unsigned> loop = make_columns<unsigned>({{9, 4}, {4, 6}, {6, 2}, {2, 9}});
  const dense2D<unsigned> branch = make_columns<unsigned>({{0, 1}, {1, 2}, {1, 3}});
  const std::tuple<dense2D<unsigned>, dense1D<unsigned>, std::vector<unsigned>> cases[] = {
      {loop, ids({1, 1, 1, 1}), {}},
      {loop, ids({1, 2, 1, 2}), {2, 4, 6, 9}},
      {loop, ids({3, 3}), {6, 9}},  // elements without a color have none
      {loop, ids({none, 3, none, none}), {4, 6}},
      {loop, ids({}), {}},
      {branch, ids({1, 2, 3}), {}}};  // no neighbor across a branch node
  for (const auto& [connect, colors, nodes] : cases) {
    dense2D<unsigned> out(2, 2, 5u);
    EXPECT_EQ(boundaries(connect, colors, out), 0);
    EXPECT_EQ(out.rows(), 1u);
    EXPECT_EQ(filum_test::entries(out.as_vector()), nodes);
  }
  const dense2D<unsigned> chain = make_columns<unsigned>({{0, 1}, {1, 2}});
  const dense2D<unsigned> table = make_columns<unsigned>({{1, none}, {none, 0}});
  const dense2D<unsigned> bad_tables[] = {dense2D<unsigned>(1, 2, none),
                                          dense2D<unsigned>(2, 3, none),
                                          make_columns<unsigned>({{1, none}, {none, 2}})};
  const dense1D<unsigned> colors = ids({1, 2});
  dense2D<unsigned> out, empty;
  EXPECT_EQ(boundaries(dense2D<unsigned>(1, 2), colors, out, &table), -1);
  for (const dense2D<unsigned>& bad : bad_tables)
    EXPECT_EQ(boundaries(chain, colors, out, &bad), -2);
  EXPECT_EQ(boundaries(empty, colors, out, &empty), 0);
  EXPECT_GE(
      filum_test::sweep_allocation_failures(
          [] { return dense2D<unsigned>(); },
          [&](dense2D<unsigned>& o) { return boundaries(chain, colors, o, &table); },
          [](const dense2D<unsigned>& o, int result, bool failed) {
            EXPECT_EQ(result, failed ? -199 : 0);
            EXPECT_TRUE(failed || filum_test::entries(o.as_vector()) == std::vector<unsigned>{1});
          }),
      2u);
}
