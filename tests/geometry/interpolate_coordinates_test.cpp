#include <algorithm>
#include <limits>

#include <gtest/gtest.h>
#include <vorn/filum.h>

#include "support/filum_test.h"
#include "support/line_geometry.h"

using namespace vorn;
using namespace filum_test;

TEST(InterpolateCoordinates, ResultCodesInArgumentOrder) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const auto L = ids({0, 1}), N = ids({2});
  const auto P = values({0, 1}), Q = values({0});
  // clang-format off
  struct Case {
    dense1D<unsigned> chain;
    dense1D<double> params;
    dense1D<unsigned> nodes;
    dense1D<double> node_params;
    int expected;
  } cases[] = {
      {L, values({0}), N, Q, -2},             {ids({0, 4}), values({1, 0}), N, Q, -2},
      {ids({}), values({}), N, Q, -2},        {L, values({0, nan}), N, Q, -3},
      {L, P, ids({2, 3}), Q, -4},             {L, P, ids({2, 4}), values({1, 0}), -4},
      {L, P, ids({2, 3}), values({1, 0}), -5}, {L, P, N, values({nan}), -5},
      {ids({}), values({}), ids({}), values({}), 0}};
  // clang-format on
  for (auto& c : cases) {
    auto pos = make_pos({{0, 0}, {1, 1}, {5, 5}, {6, 6}});
    EXPECT_EQ(filum::interpolate_coordinates(pos, c.chain, c.params, c.nodes, c.node_params),
              c.expected);
    EXPECT_EQ(column(pos, 2), std::vector<double>({5, 5}));
  }
}

TEST(InterpolateCoordinates, PlacesByParameterAlongTheChainInEveryRow) {
  // Parameters 0, 1, 1, 3 along an L (node 1 twice): below the range the first node, equal
  // parameters the first equal entry, beyond the range the line of the last segment.
  auto pos = make_pos({{0, 0}, {2, 0}, {2, 4}, {9, 9}, {9, 9}, {9, 9}, {9, 9}, {9, 9}, {9, 9}});
  ASSERT_EQ(
      filum::interpolate_coordinates(pos, ids({0, 1, 1, 2}), values({0, 1, 1, 3}),
                                     ids({3, 4, 5, 6, 7, 8}), values({-1, 0.5, 1, 2.5, 3, 4})),
      0);
  EXPECT_EQ(flat(pos.sub_matrix(0, 3, 2, 6)),
            (std::vector<double>{0, 0, 1, 0, 2, 0, 2, 3, 2, 4, 2, 6}));
  for (std::size_t rows : {3u, 4u, 1u}) {
    dense2D<double> p(rows, 3, 0.0);
    for (std::size_t i = 0; i < rows; ++i)
      p(i, 0) = 1e8 + static_cast<double>(i), p(i, 1) = 1e8 + 10 * static_cast<double>(i + 1);
    ASSERT_EQ(filum::interpolate_coordinates(p, ids({0, 1}), values({0, 4}), ids({2}), values({1})),
              0);
    for (std::size_t i = 0; i < rows; ++i)
      EXPECT_EQ(p(i, 2), p(i, 0) + 0.25 * (p(i, 1) - p(i, 0))) << rows;
  }
}

TEST(InterpolateCoordinates, MonotoneSearchMatchesAFullSearchOnLongChains) {
  // Repeated and irregular chain parameters; sorted node parameters that jump over many
  // entries, repeat, and run past both ends.
  const std::size_t n = 5000, m = 3000;
  auto pos = arc(n + m, 1, 40);
  dense1D<double> params(n), node_params(m);
  dense1D<unsigned> nodes(m);
  for (std::size_t k = 0; k < n; ++k)
    params[k] = k == 0 ? 0 : params[k - 1] + (k % 7 == 3 ? 0 : static_cast<double>(k % 5) / 4);
  for (std::size_t j = 0; j < m; ++j) {
    nodes[j] = static_cast<unsigned>(n + j);
    const std::size_t group = j / 3 * 3;  // three nodes share each parameter
    node_params[j] = -3 + (params[n - 1] + 6) * static_cast<double>(group) / static_cast<double>(m);
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
