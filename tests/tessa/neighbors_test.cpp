#include <vector>

#include <gtest/gtest.h>
#include <vorn/tessa.h>

#include "support/filum_test.h"

using namespace vorn;
using filum_test::make_columns;
using rows = std::vector<unsigned>;

namespace {

constexpr unsigned none = 0xFFFFFFFFu;
constexpr tessa::element_type edge2 = tessa::element_type::edge2;

// Row r of the neighbour table: 0 the end side, 1 the start side.
rows row(const dense2D<unsigned>& neighbors, std::size_t r) {
  rows out;
  for (std::size_t e = 0; e < neighbors.cols(); ++e)
    out.push_back(neighbors(r, e));
  return out;
}

}  // namespace

TEST(TessaGetNeighbors, MatchesExactlyTwoEndsOfDifferentElements) {
  const unsigned big = 0xFFFFFF00u, high = 0x01000005u;  // beyond the element count
  const struct {
    dense2D<unsigned> connect;
    rows end_side, start_side;
  } cases[] = {
      {make_columns<unsigned>({{0, 1}, {1, 2}, {2, 3}}), {1, 2, none}, {none, 0, 1}},
      {make_columns<unsigned>({{0, 1}, {1, 2}, {2, 0}}), {1, 2, 0}, {2, 0, 1}},
      {make_columns<unsigned>({{0, 1}, {1, 2}, {1, 3}}), {none, none, none}, {none, none, none}},
      {make_columns<unsigned>({{0, 1}, {0, 2}}), {none, none}, {1, 0}},  // head to head
      {make_columns<unsigned>({{1, 0}, {2, 0}}), {1, 0}, {none, none}},  // tail to tail
      {make_columns<unsigned>({{5, 5}}), {none}, {none}},
      {make_columns<unsigned>({{0, 1}, {1, 1}, {1, 2}}), {none, none, none}, {none, none, none}},
      {make_columns<unsigned>({{big + 7, 3}, {3, big}, {big, 0x100u}}), {1, 2, none}, {none, 0, 1}},
      {make_columns<unsigned>({{5, high}, {high, 5}}), {1, 0}, {1, 0}},  // equal low bytes
  };
  for (const auto& c : cases) {
    dense2D<unsigned> neighbors(3, 1, 7u);
    EXPECT_EQ(tessa::get_neighbors(c.connect, edge2, false, neighbors), 0);
    EXPECT_EQ(row(neighbors, 0), c.end_side) << c.connect(0, 0);
    EXPECT_EQ(row(neighbors, 1), c.start_side) << c.connect(0, 0);
  }
}

TEST(TessaGetNeighbors, CodesAndStorageFailures) {
  dense2D<unsigned> neighbors;
  EXPECT_EQ(tessa::get_neighbors(dense2D<unsigned>(1, 3), edge2, false, neighbors), -1);
  EXPECT_EQ(tessa::get_neighbors(dense2D<unsigned>(0, 3), edge2, false, neighbors), 0);
  EXPECT_EQ(row(neighbors, 0), (rows{none, none, none}));
  const dense2D<unsigned> chain = make_columns<unsigned>({{0, 1}, {1, 0x10000u}, {0x10000u, 3}});
  EXPECT_GE(
      filum_test::sweep_allocation_failures(
          [] { return dense2D<unsigned>(); },
          [&](dense2D<unsigned>& out) { return tessa::get_neighbors(chain, edge2, false, out); },
          [](const dense2D<unsigned>& out, int result, bool failed) {
            EXPECT_EQ(result, failed ? -199 : 0);
            EXPECT_TRUE(failed || row(out, 0) == (rows{1, 2, none}));
          }),
      3u);
}
