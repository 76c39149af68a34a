#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <string>

#include <gtest/gtest.h>
#include <vorn/filum.h>

#include "support/filum_test.h"
#include "support/line_geometry.h"
#include "support/metric_columns.h"

using namespace vorn;
using namespace filum_test;

namespace {

const double not_a_number = std::numeric_limits<double>::quiet_NaN();
constexpr unsigned no_max = 4294967295u;
const std::vector<double> x_axis = {1, 0, 0};

// mesh_line with metrics, with the given parameters or (when empty) the chord-length ones.
int mesh(dense2D<double>& pos, const dense1D<unsigned>& chain, const dense1D<double>& params,
         const dense2D<double>& metrics, double tol, double min_size, dense1D<unsigned>& out_chain,
         dense1D<double>& out_params, dense2D<double>& out_metrics, unsigned min_count = 1,
         unsigned max_count = filum::no_id) {
  if (params.empty())
    return filum::mesh_line(pos, chain, metrics, false, min_count, max_count, tol, min_size,
                            out_chain, out_params, out_metrics);
  return filum::mesh_line(pos, chain, params, metrics, false, min_count, max_count, tol, min_size,
                          out_chain, out_params, out_metrics);
}

// One call's arguments, on an L of legs 5.5, by sizes or by metrics; outputs start with
// something in them.
struct line_call {
  dense2D<double> pos = make_pos({{0, 0}, {5.5, 0}, {5.5, 5.5}}), out_pos;
  dense1D<unsigned> chain = ids({0, 1, 2}), out_chain = ids({77});
  dense1D<double> params = values({0, 0.5, 1}), sizes = values({1, 1, 1});
  dense1D<double> out_params = values({5, 6}), out_sizes = values({9});
  dense2D<double> metrics, out_metrics;
  bool force_even = false, by_metrics = false;
  unsigned min_elements = 1, max_elements = no_max;
  double chordal_tol = 0;

  int run(bool with_params = true) {
    out_pos.copy(pos);
    if (by_metrics)
      return mesh(out_pos, chain, with_params ? params : values({}), metrics, chordal_tol, 0,
                  out_chain, out_params, out_metrics, min_elements, max_elements);
    if (with_params)
      return filum::mesh_line(out_pos, chain, params, sizes, force_even, min_elements, max_elements,
                              chordal_tol, 0, out_chain, out_params, out_sizes);
    return filum::mesh_line(out_pos, chain, sizes, force_even, min_elements, max_elements,
                            chordal_tol, 0, out_chain, out_params, out_sizes);
  }
  std::vector<unsigned> new_chain() const {  // the chain this call appended
    return std::vector<unsigned>(out_chain.begin() + 1, out_chain.end());
  }
};

// A call on the chain of all columns of pos.
line_call on_all_columns(const dense2D<double>& pos, const dense1D<double>& params,
                         const dense1D<double>& sizes, double tol = 0) {
  line_call c;
  c.pos = pos;
  c.chain = first_columns(pos.cols()), c.params = params, c.sizes = sizes, c.chordal_tol = tol;
  return c;
}

}  // namespace

// Both overloads of sizes and of metrics on the L (in rows dimensions). Rows, chain (an
// identifier beyond pos, coincident nodes), params, sizes (extra ones ignored), counts, codes;
// then metrics (columns, m11 = 0, an extra bad column, rows against pos; 3D ones in the
// plane are refused) and the metrics held (an empty matrix of 6 rows is not refused).
TEST(MeshLine, ResultCodesInArgumentOrderAndNothingWrittenOnFailure) {
  const auto L = ids({0, 1, 2});
  const auto P = values({0, 0.5, 1}), S = values({1, 1, 1}), N = values({});
  const auto I = metric_along(2, x_axis, 1, 1), I3 = metric_along(3, x_axis, 1, 1);
  const auto M = metric_columns({I}, 3), M2 = metric_columns({I}, 2), M3 = metric_columns({I3}, 3);
  const double nan = not_a_number;
  // clang-format off
  struct Case {
    std::size_t rows; dense1D<unsigned> chain; dense1D<double> params, sizes; unsigned min, max;
    int with_params, without_params;
    bool by_metrics = false; dense2D<double> metrics = {}, held = {};
  } cases[] = {
      {1, L, P, S, 1, 9, -1, -1},                  {4, ids({}), P, S, 1, 9, -1, -1},
      {2, ids({0}), P, S, 1, 9, -2, -2},           {2, ids({0, 3, 2}), P, S, 1, 9, -2, -2},
      {2, ids({1, 1, 1}), P, S, 1, 9, 0, -2},      {2, L, values({0, 1}), S, 1, 9, -3, 0},
      {2, L, values({0, 2, 1}), N, 1, 9, -3, -3},  {2, L, values({0, nan, 1}), S, 1, 9, -3, 0},
      {2, L, values({0, 1, 1}), S, 1, 9, 0, 0},    {2, L, P, values({1, 1}), 1, 9, -4, -3},
      {2, L, P, values({1, 0, 1}), 1, 9, -4, -3},  {2, L, P, values({1, 1, 1, -1}), 1, 9, 0, 0},
      {2, L, P, S, 0, 9, -6, -5},                  {2, L, P, S, 4, 3, -6, -5},
      {2, L, values({0, 1}), N, 1, 9, -3, -3, true},     {2, L, P, N, 1, 9, -4, -3, true, M2},
      {2, L, P, N, 1, 9, -4, -3, true, metric_columns({I, {0, 0, 1}, I})},
      {2, L, P, N, 1, 9, 0, 0, true, metric_columns({I, I, I, {-1, 0, 1}})},
      {2, L, P, N, 1, 9, -4, -3, true, M3},        {3, L, P, N, 1, 9, -4, -3, true, M},
      {2, L, P, N, 0, 9, -6, -5, true, M, M3},     {2, L, P, N, 1, 9, -12, -11, true, M, M3},
      {2, L, P, N, 1, 9, 0, 0, true, M, dense2D<double>(6, 0)},
      {3, L, P, N, 1, 9, 0, 0, true, M3, metric_columns({I3})}};
  // clang-format on
  for (const Case& t : cases)
    for (bool with_params : {true, false}) {
      const std::string what = std::to_string(&t - cases) + (with_params ? " params" : "");
      line_call c;
      c.pos = dense2D<double>(t.rows, 3, 0.0);
      c.pos(0, 1) = c.pos(0, 2) = 5.5, c.pos(t.rows - 1, 2) += 5.5;
      c.chain = t.chain, c.params = t.params, c.sizes = t.sizes, c.metrics = t.metrics;
      c.by_metrics = t.by_metrics, c.min_elements = t.min, c.max_elements = t.max;
      c.out_metrics.copy(t.held);
      const int code = c.run(with_params);
      EXPECT_EQ(code, with_params ? t.with_params : t.without_params) << what;
      // Appended after what the outputs held (new_params rebuilt), or nothing written.
      const std::size_t added = c.out_chain.size() - 1;
      EXPECT_TRUE(c.out_chain[0] == 77 && (added == 0) == (code != 0)) << what;
      EXPECT_EQ(c.out_pos.cols(), added ? 1 + added : 3) << what;
      EXPECT_EQ(c.out_params.size(), added) << what;
      EXPECT_EQ(c.out_sizes.size(), c.by_metrics ? 1 : 1 + added) << what;
      EXPECT_EQ(c.out_sizes[0], 9) << what;
      EXPECT_EQ(c.out_metrics.cols(), t.held.cols() + (c.by_metrics ? added : 0)) << what;
      EXPECT_TRUE(t.held.cols() == 0 || column(c.out_metrics, 0) == column(t.held, 0)) << what;
    }
}

TEST(MeshLineSizes, StraightChainAndCountLimits) {
  for (bool with_params : {true, false}) {  // length 10, sizes 1: a single pass
    line_call c;
    c.pos = make_pos({{0, 0}, {10, 0}});
    c.chain = ids({0, 1}), c.params = values({2, 4}), c.sizes = values({1, 1});
    ASSERT_EQ(c.run(with_params), 0);
    const std::vector<unsigned> expected = {0, 2, 3, 4, 5, 6, 7, 8, 9, 10, 1};
    EXPECT_EQ(c.new_chain(), expected);
    ASSERT_EQ(c.out_params.size(), 11u);
    EXPECT_EQ(c.out_sizes.size(), 12u);
    for (std::size_t j = 0; j <= 10; ++j) {
      const double x = static_cast<double>(j);
      EXPECT_DOUBLE_EQ(c.out_pos(0, expected[j]), x);
      EXPECT_DOUBLE_EQ(c.out_params[j], with_params ? 2 + 0.2 * x : 0.1 * x);
    }
  }
  for (bool even : {false, true}) {
    line_call c;
    c.sizes = values({0.01, 3, 0.2});
    c.min_elements = c.max_elements = 5;
    c.force_even = even;
    ASSERT_EQ(c.run(), 0);
    EXPECT_EQ(c.new_chain().size(), even ? 7u : 6u);
  }
}

TEST(MeshLineSizes, ChordalToleranceBringsTheCornerIn) {
  // The first mesh (11 elements) cuts the corner by 0.35: a tolerance of 0.01 splits there
  // (12 elements, the corner in the middle) unless 11 elements are the maximum; the values
  // that switch it off leave the 11. The same at other scales, far away, and in space.
  const double huge = filum::unset;
  // clang-format off
  const struct { double scale, offset; } places[] = {  // the last in space
      {1, 0}, {1e-8, 0}, {1e8, 1e8}, {1, 1e8}, {1, 0}};
  struct Case { double tol; unsigned max; int place; bool corner_in; } cases[] = {
      {0.01, no_max, 0, true},  {0.01, 12, 0, true},       {0.01, 11, 0, false},
      {huge, no_max, 0, false}, {-huge, no_max, 0, false}, {not_a_number, no_max, 0, false},
      {0, no_max, 0, false},    {0.01, no_max, 1, true},   {0.01, no_max, 2, true},
      {0.01, no_max, 3, true},  {0.01, no_max, 4, true}};
  // clang-format on
  for (const Case& t : cases)
    for (bool with_params : {true, false}) {
      const double scale = places[t.place].scale;
      line_call c;
      if (t.place == 4) c.pos = make_pos({{0, 0, 0}, {0, 0, 5.5}, {0, 5.5, 5.5}});
      for (double& x : c.pos.as_vector())
        x = places[t.place].offset + scale * x;
      c.sizes = values({scale, scale, scale});
      c.chordal_tol = t.tol * scale;
      c.max_elements = t.max;
      ASSERT_EQ(c.run(with_params), 0);
      const auto chain = c.new_chain();
      ASSERT_EQ(chain.size(), t.corner_in ? 13u : 12u) << &t - cases;
      EXPECT_EQ(std::count(chain.begin(), chain.end(), 1u), t.corner_in) << &t - cases;
      EXPECT_TRUE(!t.corner_in || chain[6] == 1u) << &t - cases;
    }
}

TEST(MeshLineSizes, PassesAfterTheFirstMoveTheNodesBackOntoTheLine) {
  // A zigzag of right-angle corners, size 0.45. Passes after the first mesh chords across
  // the corners of the previous pass's nodes, moved back onto the zigzag: no node strays
  // from the zigzag by h / 4.
  dense2D<double> zigzag(2, 9);
  for (std::size_t k = 0; k < 9; ++k)
    zigzag(0, k) = static_cast<double>(k), zigzag(1, k) = static_cast<double>(k % 2);
  auto c = on_all_columns(zigzag, chord_params(zigzag), dense1D<double>(9, 0.45));
  ASSERT_EQ(c.run(), 0);
  for (std::size_t j = 1; j < c.out_chain.size(); ++j)
    EXPECT_LT(distance_to_polyline(c.out_pos, c.out_chain[j], first_columns(9)), 0.45 / 4);
}

TEST(MeshLineSizes, RefinementBringsEveryGivenNodeWithinTheTolerance) {
  // On an arc of 40 nodes the new nodes are the columns 40, 41, ... in chain order, and the
  // element count is even on demand.
  for (bool even : {false, true})
    for (double tol : {1e-2, 1e-4}) {
      auto c = on_all_columns(arc(40, 1, 4), values({}), dense1D<double>(40, 0.3), tol);
      c.force_even = even;
      ASSERT_EQ(c.run(false), 0);
      const auto chain = c.new_chain();
      unsigned next_new = 40;
      for (std::size_t j = 1; j + 1 < chain.size(); ++j)
        EXPECT_TRUE(chain[j] < 40 || chain[j] == next_new++) << j;
      EXPECT_EQ(c.out_pos.cols(), next_new);
      for (std::size_t k = 1; k + 1 < 40; ++k)
        EXPECT_LE(distance_to_polyline(c.out_pos, k, c.out_chain.sub_vector(1, chain.size())),
                  tol * (1 + 1e-9));
      EXPECT_TRUE(!even || chain.size() % 2 == 1) << tol;
    }
  // Nodes alternate between the diagonals at distances growing by 5 % a node: each split
  // only takes off the last segment, so the parts nest thousands deep. A tolerance far below
  // every deviation makes every given node a mesh node.
  const std::size_t n = 3000;
  dense2D<double> pos(2, n);
  dense1D<double> params(n);
  double distance = 1;
  for (std::size_t k = 0; k < n; ++k, distance *= 1.05) {
    pos(0, k) = distance;
    pos(1, k) = k % 2 ? -distance : distance;
    params[k] = static_cast<double>(k);
  }
  auto c = on_all_columns(pos, params, dense1D<double>(n, 1e100), 1e-12);
  ASSERT_EQ(c.run(), 0);
  EXPECT_EQ(c.new_chain(), entries(first_columns(n)));
  EXPECT_EQ(c.out_pos.cols(), n);
}

TEST(MeshLineSizes, StorageFailureAppendsAllOrNothing) {
  const auto prepare = [] {
    line_call c;
    c.out_pos = make_pos({{0, 0}, {5.5, 0}, {5.5, 5.5}, {2, 7}, {0, 7.5}});
    c.chain = ids({0, 1, 2, 3, 4});
    c.sizes = values({1, 0.5, 1, 1, 1});
    return c;
  };
  const std::size_t runs = sweep_allocation_failures(
      prepare,
      [](line_call& f) {
        return filum::mesh_line(f.out_pos, f.chain, f.sizes, false, 1, no_max, 0.01, 0, f.out_chain,
                                f.out_params, f.out_sizes);
      },
      [](const line_call& f, int code, bool failed) {
        EXPECT_EQ(code, failed && code != 0 ? filum::storage_failure : 0);
        const std::size_t added = f.out_chain.size() - 1;
        EXPECT_EQ(f.out_params.size(), added);
        EXPECT_EQ(f.out_sizes.size(), added + 1);
        EXPECT_TRUE(added > 0 || f.out_pos.cols() == 5u);
        for (std::size_t j = 1; j <= added; ++j)
          EXPECT_LT(f.out_chain[j], f.out_pos.cols());
      });
  EXPECT_GT(runs, 20u);
}

TEST(MeshLineMetrics, RandomLinesFollowTheSizesAndIsotropicMetricsMeshLikeThem) {
  // Polylines in the plane and in space at scales 1e-8, 1 and 1e8 (also far away), every
  // chordal control, sizes changing by at most 0.5 per unit length. I / h^2 meshes like sizes h
  // and gives I / h(s)^2. On straight lines e = T / N is in [1/sqrt2, sqrt2] (geometric-mean
  // rounding, N >= 2) and the size stays within l / 4 of the mean h of an element's end sizes:
  // l / h lies in [e / (1 + e/4), e / (1 - e/4)], inside [0.6, 2.2].
  std::mt19937_64 random(99);
  std::uniform_real_distribution<double> unit(0, 1);
  for (int trial = 0; trial < 72; ++trial) {
    const std::size_t dim = 2 + trial % 2, n = 2 + static_cast<std::size_t>(unit(random) * 8);
    const double scale = trial % 3 == 0 ? 1e-8 : trial % 3 == 1 ? 1.0 : 1e8;
    const double offset = trial % 3 == 0 ? 0 : 1e8 * (trial % 8 < 4);
    const double tol = scale * (trial % 4 == 0 ? 0 : trial % 4 == 1 ? 0.05 : -0.01);
    const bool straight = trial % 5 < 2;
    const double direction[3] = {0.48, -0.6, dim == 3 ? 0.64 : 0.8};  // unit length
    dense2D<double> pos(dim, n), iso_pos, out_metrics;
    dense1D<double> sizes(n), iso_params, iso_sizes, out_params;
    std::vector<std::vector<double>> metrics;
    double along = 0, size = 0.05 + unit(random);
    for (std::size_t k = 0; k < n; ++k) {
      for (std::size_t i = 0; i < dim; ++i)
        pos(i, k) = offset + scale * (along * direction[i] + (straight ? 0 : 2 * unit(random)));
      sizes[k] = size * scale;
      metrics.push_back(metric_along(dim, x_axis, sizes[k], sizes[k]));
      const double step = 0.01 + 3 * unit(random);
      along += step;
      size = std::max(0.05, size + 0.5 * step * (2 * unit(random) - 1));
    }
    iso_pos.copy(pos);
    dense1D<unsigned> iso_chain, out_chain;
    ASSERT_EQ(filum::mesh_line(iso_pos, first_columns(n), sizes, false, 1, filum::no_id, tol,
                               0.05 * scale, iso_chain, iso_params, iso_sizes),
              0);
    ASSERT_EQ(mesh(pos, first_columns(n), {}, metric_columns(metrics), tol, 0.05 * scale, out_chain,
                   out_params, out_metrics),
              0);
    ASSERT_EQ(entries(out_chain), entries(iso_chain)) << trial;
    ASSERT_EQ(out_metrics.cols(), iso_chain.size());
    for (std::size_t j = 0; j < iso_chain.size(); ++j) {
      for (std::size_t i = 0; i < dim; ++i)
        EXPECT_NEAR(pos(i, iso_chain[j]), iso_pos(i, iso_chain[j]), 1e-12 * (scale + offset));
      EXPECT_NEAR(out_params[j], iso_params[j], 1e-12);
      const auto expected = metric_along(dim, x_axis, iso_sizes[j], iso_sizes[j]);
      for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_NEAR(out_metrics(i, j), expected[i], 1e-11 * expected[0]) << trial << " " << j;
      if (!straight || iso_chain.size() == 2 || j + 1 == iso_chain.size()) continue;
      const double ratio = distance_between(pos, iso_chain[j], iso_chain[j + 1]) /
                           (0.5 * (iso_sizes[j] + iso_sizes[j + 1]));
      EXPECT_GE(ratio, 0.6) << trial << " " << j;
      EXPECT_LE(ratio, 2.2) << trial << " " << j;
    }
  }
}

TEST(MeshLineMetrics, ChordalControlsActOnTheMetrics) {
  for (std::size_t dim : {2u, 3u}) {
    // A quarter circle of radius 2, sizes 1 along x and 0.05 across: a sag of 0.001 caps the
    // size along x at each end to sqrt(0.008) / curvature, or to a larger min_size.
    const auto circle = arc(17, 2, M_PI / 2, 0, dim);
    dense1D<double> kappa, params;
    ASSERT_EQ(filum::curvatures(circle, first_columns(17), kappa), 0);
    for (double min_size : {0.0, 0.5, 2.0}) {
      dense2D<double> pos, out_metrics;
      pos.copy(circle);
      dense1D<unsigned> chain;
      ASSERT_EQ(
          mesh(pos, first_columns(17), {}, metric_columns({metric_along(dim, x_axis, 1, 0.05)}, 17),
               -0.001, min_size, chain, params, out_metrics),
          0);
      for (std::size_t end : {0u, 16u}) {
        const double cap = std::min(1.0, std::max(std::sqrt(0.008) / kappa[end], min_size));
        const auto expected = metric_along(dim, x_axis, cap, 0.05);
        for (std::size_t i = 0; i < expected.size(); ++i)
          EXPECT_NEAR(out_metrics(i, end ? out_metrics.cols() - 1 : 0), expected[i], 4e-10)
              << dim << " " << min_size << " " << i;
      }
    }
    // A corner refined to a tolerance of 0.01 joins the chain with its own metric.
    dense2D<double> pos(dim, 3, 1e8), out_metrics;
    pos(0, 1) = pos(0, 2) = 1e8 + 5.5, pos(1, 2) += 5.5;
    const auto corner = metric_columns({metric_along(dim, x_axis, 1, 0.8),
                                        metric_along(dim, {0.6, 0.8, 0}, 0.7, 1.2),
                                        metric_along(dim, x_axis, 1, 1)});
    dense1D<unsigned> chain;
    ASSERT_EQ(
        mesh(pos, ids({0, 1, 2}), values({0, 0.5, 1}), corner, 0.01, 0, chain, params, out_metrics),
        0);
    const auto at = std::find(chain.begin(), chain.end(), 1u) - chain.begin();
    ASSERT_LT(at, static_cast<std::ptrdiff_t>(chain.size()));
    EXPECT_EQ(column(out_metrics, at), column(corner, 1));
    EXPECT_EQ(params[at], 0.5);
  }
}
