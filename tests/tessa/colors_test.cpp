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

// get_colors_boundaries on connectM with its own neighbour table.
int boundaries_of(const dense2D<unsigned>& connect, const dense1D<unsigned>& colors,
                  dense2D<unsigned>& out) {
  dense2D<unsigned> neighbors;
  EXPECT_EQ(tessa::get_neighbors(connect, edge2, false, neighbors), 0);
  return tessa::get_colors_boundaries(connect, neighbors, colors, edge2, false, true, out);
}

}  // namespace

TEST(TessaColorsBoundaries, ListsDistinctNodesWhereColoursChangeAscending) {
  const dense2D<unsigned> loop = make_columns<unsigned>({{9, 4}, {4, 6}, {6, 2}, {2, 9}});
  struct Case {
    dense1D<unsigned> colors;
    std::vector<unsigned> nodes;
  };
  for (const Case& c : {Case{ids({1, 1, 1, 1}), {}}, Case{ids({1, 1, 2, 2}), {6, 9}},
                        Case{ids({1, 2, 1, 2}), {2, 4, 6, 9}}, Case{ids({3, 3}), {6, 9}},
                        Case{ids({none, 3, none, none}), {4, 6}}, Case{ids({}), {}}}) {
    dense2D<unsigned> out(2, 2, 5u);
    EXPECT_EQ(boundaries_of(loop, c.colors, out), 0);
    EXPECT_EQ(out.rows(), 1u);
    EXPECT_EQ(filum_test::entries(out.as_vector()), c.nodes);
  }
  dense2D<unsigned> out;  // no neighbour across a branch node
  EXPECT_EQ(boundaries_of(make_columns<unsigned>({{0, 1}, {1, 2}, {1, 3}}), ids({1, 2, 3}), out),
            0);
  EXPECT_EQ(out.cols(), 0u);
}

TEST(TessaColorsBoundaries, CodesAndStorageFailures) {
  const dense2D<unsigned> chain = make_columns<unsigned>({{0, 1}, {1, 2}});
  const dense1D<unsigned> colors = ids({1, 2});
  dense2D<unsigned> out;
  auto call = [&](const dense2D<unsigned>& connect, const dense2D<unsigned>& neighbors) {
    return tessa::get_colors_boundaries(connect, neighbors, colors, edge2, false, true, out);
  };
  EXPECT_EQ(call(dense2D<unsigned>(1, 2), make_columns<unsigned>({{1, none}, {none, 0}})), -1);
  EXPECT_EQ(call(chain, dense2D<unsigned>(1, 2, none)), -2);
  EXPECT_EQ(call(chain, dense2D<unsigned>(2, 3, none)), -2);
  EXPECT_EQ(call(chain, make_columns<unsigned>({{1, none}, {none, 2}})), -2);
  EXPECT_EQ(call(dense2D<unsigned>(), dense2D<unsigned>()), 0);
  const dense2D<unsigned> neighbors = make_columns<unsigned>({{1, none}, {none, 0}});
  const std::size_t runs = filum_test::sweep_allocation_failures(
      [] { return dense2D<unsigned>(); },
      [&](dense2D<unsigned>& o) {
        return tessa::get_colors_boundaries(chain, neighbors, colors, edge2, false, true, o);
      },
      [](const dense2D<unsigned>& o, int result, bool failed) {
        EXPECT_EQ(result, failed ? -199 : 0);
        if (!failed) {
          EXPECT_EQ(filum_test::entries(o.as_vector()), std::vector<unsigned>{1});
        }
      });
  EXPECT_GE(runs, 2u);
}
