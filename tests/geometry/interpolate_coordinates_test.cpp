#include "geometry/interpolate_coordinates.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>
#include <vorn/filum.h>

#include "support/filum_test.h"

using namespace vorn;
using namespace filum_test;

namespace {

const double not_a_number = std::numeric_limits<double>::quiet_NaN();

}  // namespace

TEST(InterpolateCoordinates, ResultCodesInArgumentOrder) {
  struct Case {
    const char* what;
    dense1D<unsigned> chain;
    dense1D<double> params;
    dense1D<unsigned> nodes;
    dense1D<double> node_params;
    int expected;
  } cases[] = {
      {"params length", ids({0, 1}), values({0}), ids({2}), values({0}), -2},
      {"chain identifier", ids({0, 4}), values({0, 1}), ids({2}), values({0}), -2},
      {"identifier before order", ids({0, 4}), values({1, 0}), ids({2}), values({0}), -2},
      {"nodes on an empty chain", ids({}), values({}), ids({2}), values({0}), -2},
      {"params order", ids({0, 1}), values({1, 0}), ids({2}), values({0}), -3},
      {"params NaN", ids({0, 1}), values({0, not_a_number}), ids({2}), values({0}), -3},
      {"node params length", ids({0, 1}), values({0, 1}), ids({2, 3}), values({0}), -4},
      {"node identifier", ids({0, 1}), values({0, 1}), ids({4}), values({0}), -4},
      {"node identifier before order", ids({0, 1}), values({0, 1}), ids({2, 4}), values({1, 0}),
       -4},
      {"node params order", ids({0, 1}), values({0, 1}), ids({2, 3}), values({1, 0}), -5},
      {"node params NaN", ids({0, 1}), values({0, 1}), ids({2}), values({not_a_number}), -5},
      {"nothing to place", ids({}), values({}), ids({}), values({}), 0},
      {"nothing to place on a chain", ids({0, 1}), values({0, 1}), ids({}), values({}), 0},
  };
  for (auto& c : cases) {
    auto pos = make_pos({{0, 0}, {1, 1}, {5, 5}, {6, 6}});
    const auto before = column(pos, 2);
    EXPECT_EQ(filum::interpolate_coordinates(pos, c.chain, c.params, c.nodes, c.node_params),
              c.expected)
        << c.what;
    EXPECT_EQ(column(pos, 2), before) << c.what;
  }
}

TEST(InterpolateCoordinates, PlacesByParameterAlongTheChain) {
  // Chain 0 -> 1 -> 2 along an L; node 3 .. 7 to place.
  auto pos = make_pos({{0, 0}, {2, 0}, {2, 4}, {9, 9}, {9, 9}, {9, 9}, {9, 9}, {9, 9}});
  const auto chain = ids({0, 1, 2});
  const auto params = values({0, 1, 3});
  ASSERT_EQ(filum::interpolate_coordinates(pos, chain, params, ids({3, 4, 5, 6, 7}),
                                           values({-1, 0, 0.5, 1, 2.5})),
            0);
  EXPECT_EQ(column(pos, 3), std::vector<double>({0, 0}));  // below the range: the first node
  EXPECT_EQ(column(pos, 4), std::vector<double>({0, 0}));
  EXPECT_EQ(column(pos, 5), std::vector<double>({1, 0}));
  EXPECT_EQ(column(pos, 6), std::vector<double>({2, 0}));  // a chain parameter: its node
  EXPECT_EQ(column(pos, 7), std::vector<double>({2, 3}));

  // Beyond the range the last segment's line is followed.
  ASSERT_EQ(filum::interpolate_coordinates(pos, chain, params, ids({3, 4}), values({3, 4})), 0);
  EXPECT_EQ(column(pos, 3), std::vector<double>({2, 4}));
  EXPECT_EQ(column(pos, 4), std::vector<double>({2, 6}));
}

TEST(InterpolateCoordinates, RepeatedParametersTakeTheFirstEqualEntry) {
  auto pos = make_pos({{0, 0}, {1, 0}, {1, 5}, {2, 5}, {9, 9}, {9, 9}});
  ASSERT_EQ(filum::interpolate_coordinates(pos, ids({0, 1, 2, 3}), values({0, 1, 1, 2}),
                                           ids({4, 5}), values({1, 1.5})),
            0);
  EXPECT_EQ(column(pos, 4), std::vector<double>({1, 0}));
  EXPECT_EQ(column(pos, 5), std::vector<double>({1.5, 5}));
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
      EXPECT_EQ(pos(i, 2), pos(i, 0) + 0.25 * (pos(i, 1) - pos(i, 0))) << rows << " " << i;
  }
}

TEST(InterpolateCoordinates, MonotoneSearchMatchesAFullSearchOnLongChains) {
  // A long chain with repeated parameters and irregular steps; nodes with sorted parameters
  // that jump over many entries, land on entries, repeat, and run past both ends.
  const std::size_t n = 5000, m = 3000;
  dense2D<double> pos(2, n + m);
  dense1D<unsigned> chain(n), nodes(m);
  dense1D<double> params(n), node_params(m);
  double p = 0;
  for (std::size_t k = 0; k < n; ++k) {
    chain[k] = static_cast<unsigned>(k);
    params[k] = p;
    p += (k % 7 == 3) ? 0 : static_cast<double>(k % 5) * 0.25;
    pos(0, k) = std::cos(0.01 * static_cast<double>(k));
    pos(1, k) = std::sin(0.013 * static_cast<double>(k)) * 1e-8;
  }
  for (std::size_t j = 0; j < m; ++j) {
    nodes[j] = static_cast<unsigned>(n + j);
    node_params[j] = -3 + (p + 6) * static_cast<double>(j / 3 * 3) / static_cast<double>(m);
  }
  ASSERT_EQ(filum::interpolate_coordinates(pos, chain, params, nodes, node_params), 0);
  for (std::size_t j = 0; j < m; ++j) {
    const double s = node_params[j];
    std::size_t k = static_cast<std::size_t>(std::lower_bound(params.begin(), params.end(), s) -
                                             params.begin());
    if (k == n) k = n - 1;
    const std::size_t lo = k > 0 ? k - 1 : k;
    const double t = params[k] > params[lo] ? (s - params[lo]) / (params[k] - params[lo]) : 0;
    for (std::size_t r = 0; r < 2; ++r)
      ASSERT_EQ(pos(r, n + j), pos(r, lo) + t * (pos(r, k) - pos(r, lo))) << j;
  }
}
