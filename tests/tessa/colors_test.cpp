#include <vector>

#include <gtest/gtest.h>
#include <vorn/tessa.h>

#include "support/filum_test.h"

using namespace vorn;
using filum_test::ids;
using filum_test::make_columns;

namespace {

constexpr unsigned none = 0xFFFFFFFFu;
constexpr tessa::element_type edge2 = tessa::element_type::edge2;

// get_colors_boundaries with the given neighbor table, or else that of get_neighbors.
int boundaries(const dense2D<unsigned>& connect, const dense1D<unsigned>& colors,
               dense2D<unsigned>& out, const dense2D<unsigned>* table = nullptr) {
  dense2D<unsigned> neighbors;
  const int code = table ? 0 : tessa::get_neighbors(connect, edge2, false, neighbors);
  EXPECT_EQ(code, 0);
  return tessa::get_colors_boundaries(connect, table ? *table : neighbors, colors, edge2, false,
                                      true, out);
}

}  // namespace

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
