#include <algorithm>
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
using metric_checks::expect_columns_close;
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
  expect_close(column(metrics, 0), kept, 1e-12);  // within 1e-12 of the largest entry
}

namespace {

// Orthonormal axes, none of them along a coordinate axis.
const std::vector<Values> tilted = {
    {2.0 / 3, 2.0 / 3, 1.0 / 3}, {-2.0 / 3, 1.0 / 3, 2.0 / 3}, {1.0 / 3, -2.0 / 3, 2.0 / 3}};

// Points origin + x a0 + y a1 in the tilted axes, one per (x, y).
vorn::dense2D<double> tilted_points(double origin, const std::vector<Values>& xy) {
  vorn::dense2D<double> pos(3, xy.size());
  for (std::size_t j = 0; j < xy.size(); ++j)
    for (std::size_t i = 0; i < 3; ++i)
      pos(i, j) = origin + xy[j][0] * tilted[0][i] + xy[j][1] * tilted[1][i];
  return pos;
}

}  // namespace

TEST(MetricsGenAniso3d, ResultCodesInArgumentOrder) {
  // Rows of pos and connectM, nodes, metric rows, then the codes of both overloads; no
  // element looks at nothing, and more rows of pos than read are fine.
  // clang-format off
  struct Case {
    std::size_t pos_rows, connect_rows; std::vector<unsigned> nodes; std::size_t metric_rows;
    int one_size, two_sizes;
  } cases[] = {{2, 2, {}, 3, 0, 0},          {2, 2, {0, 1}, 3, -1, -1}, {4, 2, {0, 1}, 6, 0, 0},
               {3, 3, {0, 1, 2}, 3, -2, -2}, {3, 2, {0, 3}, 3, -2, -2}, {3, 2, {0, 1}, 3, -4, -5},
               {3, 2, {0, 2}, 0, 0, 0}};
  // clang-format on
  for (const Case& c : cases) {
    vorn::dense2D<double> pos(c.pos_rows, 3, 0.0);
    pos(0, 1) = pos(1, 2) = 1;
    vorn::dense2D<unsigned> connect(c.connect_rows, c.nodes.size() / c.connect_rows);
    std::copy(c.nodes.begin(), c.nodes.end(), connect.data());
    for (int form = 0; form < 2; ++form) {
      vorn::dense2D<double> metrics(c.metric_rows, 1, 0.0);
      const int result = form == 0 ? metrics_gen_aniso3d(pos, connect, 1.0, metrics)
                                   : metrics_gen_aniso3d(pos, connect, 1.0, 2.0, metrics);
      EXPECT_EQ(result, form == 0 ? c.one_size : c.two_sizes) << c.pos_rows << " " << form;
      EXPECT_EQ(metrics.rows(), result == 0 && !c.nodes.empty() ? 6u : c.metric_rows);
    }
  }
}

TEST(MetricsGenAniso3d, LengthAlongAndSizesAcrossStraightAndBentLines) {
  // Two elements of length L against the axes. Straight (directions equal within 1e-12,
  // which rounding near 1e8 would exceed unless the steps are exact): both normal sizes
  // become the larger of hv and hw. Bent at a right angle: at the bend both in-plane
  // directions take hv (below L) and the binormal hw; the ends are straight.
  // clang-format off
  struct Case { double origin, L, hv, hw; bool bent; Values sizes0, sizes1, sizes2; } cases[] = {
      {0, 2, 1, 3, false, {2, 3, 3}, {2, 3, 3}, {2, 3, 3}},
      {0, 2, 3, 1, false, {2, 3, 3}, {2, 3, 3}, {2, 3, 3}},
      {1e8, 3, 0, 0.5, false, {3, 3, 3}, {3, 3, 3}, {3, 3, 3}},  // exact steps (2, 2, 1)
      {0, 2, -0.5, -0.25, false, {2, 1, 1}, {2, 1, 1}, {2, 1, 1}},
      {0, 1, 0.25, 4, true, {1, 4, 4}, {0.25, 0.25, 4}, {4, 1, 4}},
      {1e8, 1, 0.25, 4, true, {1, 4, 4}, {0.25, 0.25, 4}, {4, 1, 4}},
      {1e-8, 1e-8, -0.5, -3, true, {1e-8, 3e-8, 3e-8}, {5e-9, 5e-9, 3e-8}, {3e-8, 1e-8, 3e-8}},
  };
  // clang-format on
  for (const Case& c : cases) {
    const auto pos = c.bent ? tilted_points(c.origin, {{0, 0}, {c.L, 0}, {c.L, c.L}})
                            : tilted_points(c.origin, {{0, 0}, {c.L, 0}, {2 * c.L, 0}});
    vorn::dense2D<double> metrics;
    ASSERT_EQ(
        metrics_gen_aniso3d(pos, make_columns<unsigned>({{2, 1}, {1, 0}}), c.hv, c.hw, metrics), 0);
    expect_columns_close(
        metrics,
        {tensor_of(tilted, c.sizes0), tensor_of(tilted, c.sizes1), tensor_of(tilted, c.sizes2)},
        1e-6);
  }
}

TEST(MetricsGenAniso3d, SharedNodesMergeAndDegenerateElementsAreSkipped) {
  // A short and a long element in line meet at node 1, which keeps the short length along
  // the line; elements of zero or infinite length leave their nodes' columns as they were.
  // A second call merges again.
  const auto pos = tilted_points(1, {{-1, 0}, {0, 0}, {3, 0}, {7, 0}, {HUGE_VAL, 0}});
  const auto connect = make_columns<unsigned>({{0, 1}, {1, 2}, {3, 3}, {4, 3}});
  for (bool two_sizes : {false, true}) {
    const auto generate = [&](double h, vorn::dense2D<double>& metrics) {
      return two_sizes ? metrics_gen_aniso3d(pos, connect, h, h, metrics)
                       : metrics_gen_aniso3d(pos, connect, h, metrics);
    };
    vorn::dense2D<double> metrics(6, 5, 0.0);
    metrics(0, 3) = 9;
    ASSERT_EQ(generate(0.5, metrics), 0);
    ASSERT_EQ(metrics.cols(), 5u);
    expect_columns_close(metrics.sub_matrix(0, 0, 6, 3),
                         {tensor_of(tilted, {1, 0.5, 0.5}), tensor_of(tilted, {1, 0.5, 0.5}),
                          tensor_of(tilted, {3, 0.5, 0.5})},
                         1e-12);
    EXPECT_EQ(column(metrics, 3), (Values{9, 0, 0, 0, 0, 0}));
    EXPECT_EQ(column(metrics, 4), Values(6, 0.0));
    ASSERT_EQ(generate(0.25, metrics), 0);
    expect_close(column(metrics, 2), tensor_of(tilted, {3, 0.25, 0.25}), 1e-12);
  }
}

TEST(MetricsGenAniso3d, StorageFailureReturnsItsCode) {
  // A failure to find the neighbors leaves the metrics grown, nothing merged.
  const auto pos = tilted_points(0, {{0, 0}, {1, 0}, {1, 1}});
  const auto connect = make_columns<unsigned>({{0, 1}, {1, 2}});
  EXPECT_GE(filum_test::sweep_allocation_failures(
                [] { return vorn::dense2D<double>(); },
                [&](vorn::dense2D<double>& metrics) {
                  return metrics_gen_aniso3d(pos, connect, 2, 2, metrics);
                },
                [](const vorn::dense2D<double>& metrics, int result, bool failed) {
                  EXPECT_EQ(result, failed ? storage_failure : 0);
                  if (metrics.cols() == 3) {
                    EXPECT_EQ(column(metrics, 1) == Values(6, 0.0), failed);
                  }
                }),
            2u);
}

// Zero and denormal sizes (a zero-length element with the length as size, an |hn| x length
// of a denormal) used to give 1/h^2 = inf, and inf x 0 = NaN entries.
TEST(MetricsFromElements, ZeroAndDenormalSizesGiveFiniteMetrics) {
  const auto pos = make_pos({{0, 0, 0}, {1, 1, 0}, {2, 1, 1}, {2, 1, 1}});
  const auto elements = make_columns<unsigned>({{0, 1}, {1, 2}, {2, 1}, {2, 3}});
  const auto finite = [](const vorn::dense2D<double>& m) {
    const Values all = filum_test::flat(m);
    return m.cols() == 4 &&
           std::all_of(all.begin(), all.end(), [](double x) { return std::isfinite(x); });
  };
  for (auto [hv, hw] : {std::pair{0.0, -5e-324}, {5e-324, 5e-324}, {0.0, 0.0}, {1e-100, 1e-200}}) {
    vorn::dense2D<double> bent, across, plane;
    EXPECT_EQ(metrics_gen_aniso3d(pos, elements, hv, hw, bent), 0);
    EXPECT_EQ(metrics_gen_aniso3d(pos, elements, hw, across), 0);
    EXPECT_EQ(metrics_gen_aniso2d(pos, elements, hw, plane), 0);
    EXPECT_TRUE(finite(bent) && finite(across) && finite(plane)) << hv << " " << hw;
  }
  // a long vector divides a denormal size: the term is scaled, not overflowed
  vorn::dense2D<double> from_vector;
  ASSERT_EQ(metrics_gen_aniso2d(make_pos({{0, 215}}), ids({0}), 5e-324, 60.0, from_vector), 0);
  for (double entry : column(from_vector, 0))
    EXPECT_TRUE(std::isfinite(entry)) << entry;
}
