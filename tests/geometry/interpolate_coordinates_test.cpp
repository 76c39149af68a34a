#include <algorithm>
#include <cmath>
#include <limits>

#include <gtest/gtest.h>
#include <vorn/filum.h>

#include "support/filum_test.h"
#include "support/line_geometry.h"

using namespace vorn;
using namespace filum_test;

TEST(InterpolateCoordinates, ResultCodesInArgumentOrder) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    dense1D<unsigned> chain;
    dense1D<double> params;
    dense1D<unsigned> nodes;
    dense1D<double> node_params;
    int expected;
  } cases[] = {
      {ids({0, 1}), values({0}), ids({2}), values({0}), -2},           // params length
      {ids({0, 4}), values({1, 0}), ids({2}), values({0}), -2},        // chain id before order
      {ids({}), values({}), ids({2}), values({0}), -2},                // nodes, empty chain
      {ids({0, 1}), values({0, nan}), ids({2}), values({0}), -3},      // params order
      {ids({0, 1}), values({0, 1}), ids({2, 3}), values({0}), -4},     // node params length
      {ids({0, 1}), values({0, 1}), ids({2, 4}), values({1, 0}), -4},  // node id before order
      {ids({0, 1}), values({0, 1}), ids({2, 3}), values({1, 0}), -5},  // node params order
      {ids({0, 1}), values({0, 1}), ids({2}), values({nan}), -5},
      {ids({}), values({}), ids({}), values({}), 0},
  };
  for (auto& c : cases) {
    auto pos = make_pos({{0, 0}, {1, 1}, {5, 5}, {6, 6}});
    EXPECT_EQ(filum::interpolate_coordinates(pos, c.chain, c.params, c.nodes, c.node_params),
              c.expected);
    EXPECT_EQ(column(pos, 2), std::vector<double>({5, 5}));
  }
}

TEST(InterpolateCoordinates, PlacesByParameterAlongTheChain) {
  // Chain 0 -> 1 -> 2 along an L with parameters 0, 1, 1, 3 (node 1 twice): below the range
  // the first node, equal parameters the first equal entry, beyond the range the line of the
  // last segment.
  auto pos = make_pos({{0, 0}, {2, 0}, {2, 4}, {9, 9}, {9, 9}, {9, 9}, {9, 9}, {9, 9}, {9, 9}});
  ASSERT_EQ(
      filum::interpolate_coordinates(pos, ids({0, 1, 1, 2}), values({0, 1, 1, 3}),
                                     ids({3, 4, 5, 6, 7, 8}), values({-1, 0.5, 1, 2.5, 3, 4})),
      0);
  const std::vector<std::vector<double>> expected = {{0, 0}, {1, 0}, {2, 0},
                                                     {2, 3}, {2, 4}, {2, 6}};
  for (std::size_t j = 0; j < expected.size(); ++j)
    EXPECT_EQ(column(pos, 3 + j), expected[j]) << j;
}

TEST(InterpolateCoordinates, WritesEveryRowWhateverTheirCount) {
  for (std::size_t rows : {1u, 2u, 3u, 4u}) {
    dense2D<double> pos(rows, 3, 0.0);
    for (std::size_t i = 0; i < rows; ++i) {
      pos(i, 0) = 1e8 + static_cast<double>(i);
      pos(i, 1) = 1e8 + 10 * static_cast<double>(i + 1);
    }
    ASSERT_EQ(
        filum::interpolate_coordinates(pos, ids({0, 1}), values({0, 4}), ids({2}), values({1})), 0);
    for (std::size_t i = 0; i < rows; ++i)
      EXPECT_EQ(pos(i, 2), pos(i, 0) + 0.25 * (pos(i, 1) - pos(i, 0))) << rows;
  }
}

TEST(InterpolateCoordinates, MonotoneSearchMatchesAFullSearchOnLongChains) {
  // A long chain with repeated and irregular parameters; sorted node parameters that jump
  // over many entries, repeat, and run past both ends.
  const std::size_t n = 5000, m = 3000;
  auto pos = arc(n + m, 1, 40);
  dense1D<double> params(n), node_params(m);
  dense1D<unsigned> nodes(m);
  for (std::size_t k = 0; k < n; ++k)
    params[k] = k == 0 ? 0 : params[k - 1] + (k % 7 == 3 ? 0 : static_cast<double>(k % 5) / 4);
  const double last = params[n - 1];
  for (std::size_t j = 0; j < m; ++j) {
    nodes[j] = static_cast<unsigned>(n + j);
    node_params[j] = -3 + (last + 6) * static_cast<double>(j / 3 * 3) / static_cast<double>(m);
  }
  ASSERT_EQ(filum::interpolate_coordinates(pos, first_columns(n), params, nodes, node_params), 0);
  for (std::size_t j = 0; j < m; ++j) {
    const double s = node_params[j];
    const std::size_t k = std::min<std::size_t>(
        std::lower_bound(params.begin(), params.end(), s) - params.begin(), n - 1);
    const std::size_t lo = k > 0 ? k - 1 : k;
    const double t = params[k] > params[lo] ? (s - params[lo]) / (params[k] - params[lo]) : 0;
    for (std::size_t r = 0; r < 2; ++r)
      ASSERT_EQ(pos(r, n + j), pos(r, lo) + t * (pos(r, k) - pos(r, lo))) << j;
  }
}
