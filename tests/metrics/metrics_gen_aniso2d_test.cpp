#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include <vorn/filum.h>

#include "metrics/metric_checks.h"
#include "support/filum_test.h"

using namespace vorn::filum;
using filum_test::column;
using filum_test::ids;
using filum_test::make_columns;
using filum_test::make_pos;
using metric_checks::expect_close;
using metric_checks::tensor_of;
using Values = std::vector<double>;

TEST(MetricsGenAniso2d, ResultCodesInArgumentOrder) {
  // Rows of the vectors or of pos, nodes (pairs for elements), h1 or hn, h2, metric rows,
  // then the codes of the node-list and element overloads. Nothing to do looks at nothing;
  // elements read the first 2 rows of pos; an empty matrix takes 3 rows.
  const double nan = std::nan("");
  // clang-format off
  struct Case {
    std::size_t first_rows; std::vector<unsigned> nodes; double h1, h2; std::size_t metric_rows;
    int with_nodes, with_elements;
  } cases[] = {{1, {}, 0, 0, 6, 0, 0},       {1, {0, 1}, 1, 1, 3, -1, -1},
               {3, {0, 1}, 1, 1, 3, -1, 0},  {2, {0, 3}, 0, 0, 6, -2, -2},
               {2, {0, 1}, 0, 0, 6, -3, -4}, {2, {0, 1}, nan, 1, 3, -3, 0},
               {2, {0, 1}, 1, -1, 6, -4, -4}, {2, {0, 1}, 1, nan, 3, -4, 0},
               {2, {0, 1}, 1, 1, 1, -5, -4}, {2, {2, 0}, 1, 1, 0, 0, 0}};
  // clang-format on
  for (const Case& c : cases) {
    const vorn::dense2D<double> first(c.first_rows, 3, 1.0);
    vorn::dense1D<unsigned> nodes(c.nodes.size());
    std::copy(c.nodes.begin(), c.nodes.end(), nodes.begin());
    vorn::dense2D<unsigned> connect(2, c.nodes.size() / 2);
    std::copy(c.nodes.begin(), c.nodes.end(), connect.data());
    for (int form = 0; form < 2; ++form) {
      vorn::dense2D<double> metrics(c.metric_rows, 1, 0.0);
      const int result = form == 0 ? metrics_gen_aniso2d(first, nodes, c.h1, c.h2, metrics)
                                   : metrics_gen_aniso2d(first, connect, c.h1, metrics);
      EXPECT_EQ(result, form == 0 ? c.with_nodes : c.with_elements) << c.first_rows << form;
      EXPECT_EQ(metrics.rows(), result == 0 && !c.nodes.empty() ? 3u : c.metric_rows);
    }
  }
}

TEST(MetricsGenAniso2d, NodeVectorsGiveTheSizesAlongAndAcross) {
  // A unit vector, a vector of length 2 (sizes halved), a zero vector, and node 3, which
  // already holds size 1 everywhere; column 5 lies beyond every listed node.
  const auto vectors = make_columns<double>({{0.6, 0.8}, {0, 2}, {0, 0}, {-1, 0}});
  vorn::dense2D<double> metrics(3, 6, 0.0);
  metrics(0, 3) = metrics(2, 3) = 1;
  metrics(1, 5) = 7;
  ASSERT_EQ(metrics_gen_aniso2d(vectors, ids({0, 1, 3, 0}), 2, 0.5, metrics), 0);
  ASSERT_EQ(metrics.cols(), 6u);
  expect_close(column(metrics, 0), tensor_of({{0.6, 0.8}, {-0.8, 0.6}}, {2, 0.5}), 1e-14);
  expect_close(column(metrics, 1), tensor_of({{0, 1}, {1, 0}}, {1, 0.25}), 1e-14);
  expect_close(column(metrics, 3), tensor_of({{1, 0}, {0, 1}}, {1, 0.5}), 1e-12);
  EXPECT_EQ(column(metrics, 2), Values(3, 0.0));
  EXPECT_EQ(column(metrics, 4), Values(3, 0.0));
  EXPECT_EQ(column(metrics, 5), (Values{0, 7, 0}));
}

TEST(MetricsGenAniso2d, ElementsTakeTheirLengthAlongAndTheSizeRuleAcross) {
  // Origin, length (along (0.6, 0.8)), hn and the size across.
  // clang-format off
  struct Case { double origin, length, hn, across; } cases[] = {
      {0, 10, 0.5, 0.5},  {0, 10, 0, 10},        {0, 10, -0.5, 5},
      {1e8, 4, -0.25, 1}, {1e-8, 1e-8, 0, 1e-8}, {1e-8, 1e-8, -0.5, 0.5e-8}};
  // clang-format on
  for (const Case& c : cases) {
    const double x = 0.6 * c.length, y = 0.8 * c.length;
    vorn::dense2D<double> metrics;
    ASSERT_EQ(metrics_gen_aniso2d(make_pos({{c.origin, c.origin}, {c.origin + x, c.origin + y}}),
                                  make_columns<unsigned>({{1, 0}}), c.hn, metrics),
              0);
    for (std::size_t node = 0; node < 2; ++node)
      expect_close(column(metrics, node), tensor_of({{x, y}, {-y, x}}, {c.length, c.across}), 1e-6);
  }
}

TEST(MetricsGenAniso2d, InfiniteSizeAcrossKeepsASmallerStoredMetric) {
  // Node 0's stored metric is smaller than the rank-one one its vector asks for in every
  // direction, so it stays; the reduction on the semi-definite new metric once lost it.
  const auto vectors = make_columns<double>({{-2.990693014163158, 0.5785833327384777},
                                             {0.575465453875516, -0.8178260887229304},
                                             {1, 0},
                                             {-1.4999265157946313, 0.7387145463499865},
                                             {0.9209831674679579, 0.3896023681148348},
                                             {1, 0}});
  auto metrics =
      make_columns<double>({{27.942199324393215, 0.5186329783829582, 35.022857640360215},
                            {0, 0, 0},
                            {0.10634388346326953, 0.006317723282496777, 0.017724976123817605}});
  const Values kept = column(metrics, 0);
  ASSERT_EQ(metrics_gen_aniso2d(vectors, ids({2, 4, 5, 4, 4, 4, 3, 1, 2, 2, 0, 0}),
                                4.201762808086122, HUGE_VAL, metrics),
            0);
  for (std::size_t i = 0; i < 3; ++i)
    EXPECT_NEAR(column(metrics, 0)[i], kept[i], 1e-12 * kept[2]);
}
