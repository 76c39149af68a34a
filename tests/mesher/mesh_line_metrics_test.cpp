#include <algorithm>
#include <cmath>
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

// mesh_line with metrics, with the given parameters or (when empty) the chord-length ones.
int mesh(dense2D<double>& pos, const dense1D<unsigned>& chain, const dense1D<double>& params,
         const dense2D<double>& metrics, double tol, double min_size, dense1D<unsigned>& out_chain,
         dense1D<double>& out_params, dense2D<double>& out_metrics, unsigned min_count = 1) {
  if (params.empty())
    return filum::mesh_line(pos, chain, metrics, false, min_count, filum::no_id, tol, min_size,
                            out_chain, out_params, out_metrics);
  return filum::mesh_line(pos, chain, params, metrics, false, min_count, filum::no_id, tol,
                          min_size, out_chain, out_params, out_metrics);
}

const std::vector<double> x_axis = {1, 0, 0};

}  // namespace

TEST(MeshLineMetrics, ResultCodesInArgumentOrder) {
  const auto P = values({0, 0.5, 1});
  const auto I = metric_along(2, x_axis, 1, 1), I3 = metric_along(3, x_axis, 1, 1);
  const auto L = ids({0, 1, 2});
  const auto M = metric_columns({I}, 3), M2 = metric_columns({I}, 2), M3 = metric_columns({I3}, 3);
  // Params, metrics (columns, m11 = 0, an extra bad column, rows against pos), min count, the
  // metrics held (3D ones in the plane are refused, an empty matrix of 6 rows is not); the
  // checks of pos and the chain are shared with the sizes overloads and tested there.
  // clang-format off
  struct Case {
    std::size_t rows; dense1D<unsigned> chain; dense1D<double> params; dense2D<double> metrics;
    unsigned min; dense2D<double> out_metrics; int with_params, without_params;
  } cases[] = {
      {2, L, values({0, 1}), {}, 1, {}, -3, -3},       {2, L, P, M2, 1, {}, -4, -3},
      {2, L, P, metric_columns({I, {0, 0, 1}, I}), 1, {}, -4, -3},
      {2, L, P, metric_columns({I, I, I, {-1, 0, 1}}), 1, {}, 0, 0},
      {2, L, P, M3, 1, {}, -4, -3},                    {3, L, P, M, 1, {}, -4, -3},
      {2, L, P, M, 0, M3, -6, -5},                     {2, L, P, M, 1, M3, -12, -11},
      {2, L, P, M, 1, dense2D<double>(6, 0), 0, 0},    {3, L, P, M3, 1, metric_columns({I3}), 0, 0},
  };
  // clang-format on
  for (const Case& t : cases)
    for (bool with_params : {true, false}) {
      const std::string what = std::to_string(&t - cases) + (with_params ? " params" : "");
      dense2D<double> pos(t.rows, 3, 0.0), out_metrics;
      pos(0, 1) = pos(0, 2) = 5.5, pos(t.rows - 1, 2) += 5.5;
      out_metrics.copy(t.out_metrics);
      dense1D<unsigned> out_chain = ids({77});
      dense1D<double> out_params = values({5});
      const int code = mesh(pos, t.chain, with_params ? t.params : values({}), t.metrics, 0, 0,
                            out_chain, out_params, out_metrics, t.min);
      EXPECT_EQ(code, with_params ? t.with_params : t.without_params) << what;
      // Appended after what the outputs held (new_params rebuilt), or nothing written.
      const std::size_t added = out_chain.size() - 1;
      EXPECT_EQ(added == 0, code != 0) << what;
      EXPECT_EQ(pos.cols(), added ? 1 + added : 3) << what;
      EXPECT_EQ(out_params.size(), added) << what;
      EXPECT_EQ(out_metrics.cols(), t.out_metrics.cols() + added) << what;
      if (t.out_metrics.cols() != 0) {
        EXPECT_EQ(column(out_metrics, 0), column(t.out_metrics, 0)) << what;
      }
    }
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
