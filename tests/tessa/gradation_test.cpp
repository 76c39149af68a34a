#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "metric_samples.h"
#include "support/filum_test.h"

using namespace vorn;
using tessa_test::form;
using tessa_test::sym;

namespace {

constexpr tessa::element_type edge2 = tessa::element_type::edge2;

// A random graph on n nodes of D coordinates in [0, scale), self-loops and repeats included.
struct graph {
  dense2D<double> pos;
  dense2D<unsigned> connect;
};
template <std::size_t D>
graph random_graph(std::mt19937& rng, unsigned n, unsigned edges, double scale) {
  graph g{dense2D<double>(D, n), dense2D<unsigned>(2, edges)};
  std::uniform_real_distribution<double> x(0, scale);
  for (double& c : g.pos.as_vector())
    c = x(rng);
  for (unsigned& id : g.connect.as_vector())
    id = rng() % n;
  return g;
}

// The law by plain relaxation until nothing moves: h_j <= h_i + rate l_ij into lowerable j.
std::vector<double> relaxed(const graph& g, const std::vector<bool>& lowerable, double rate,
                            std::vector<double> h) {
  for (bool moved = true; moved;) {
    moved = false;
    for (std::size_t e = 0; e < g.connect.cols(); ++e)
      for (int side = 0; side < 2; ++side) {
        const unsigned i = g.connect(side, e), j = g.connect(1 - side, e);
        double squared = 0;
        for (std::size_t r = 0; r < g.pos.rows(); ++r)
          squared += (g.pos(r, j) - g.pos(r, i)) * (g.pos(r, j) - g.pos(r, i));
        const double bound = rate > 0 ? h[i] + rate * std::sqrt(squared) : h[i];
        if (i != j && lowerable[j] && bound < h[j]) h[j] = bound, moved = true;
      }
  }
  return h;
}

// The isotropic metric columns of the sizes, 3 rows in 2D, 6 in 3D.
dense2D<double> iso_columns(std::size_t D, const dense1D<double>& h) {
  dense2D<double> m;
  EXPECT_EQ((D == 2 ? tessa::metrics_iso_to_aniso2d : tessa::metrics_iso_to_aniso3d)(h, m), 0);
  return m;
}

template <std::size_t D>
sym<D> column_of(const dense2D<double>& m, std::size_t j) {
  sym<D> s;
  std::copy(&m(0, j), &m(0, j) + s.size(), s.values);
  return s;
}

}  // namespace

template <class T>
class TessaGradation : public ::testing::Test {};
TYPED_TEST_SUITE(TessaGradation, tessa_test::dimensions);

// Sizes equal an exhaustive relaxation, isotropic metrics follow the same law, and
// anisotropic metrics only shrink until every edge respects the grown metric of its ends.
TYPED_TEST(TessaGradation, SizesAndMetricsFollowTheGrowthLaw) {
  constexpr std::size_t D = TypeParam::value;
  std::mt19937 rng(23);
  std::uniform_real_distribution<double> size(0.05, 2);
  std::normal_distribution<double> normal;
  for (int n = 0; n < 120; ++n) {
    const double scale = n % 3 == 0 ? 1e-8 : n % 3 == 1 ? 1 : 1e8;
    const double gradation = n % 4 == 0 ? 0.5 : n % 4 == 1 ? std::nan("") : 1.05 + 0.1 * (n % 7);
    const double rate = gradation > 1 ? std::log(gradation) : 0;
    const graph g = random_graph<D>(rng, 14, 4 + n % 20, scale);
    dense1D<double> sizes(14);
    for (double& x : sizes)
      x = size(rng) * scale;
    std::vector<bool> lowerable(14, n % 2 == 0);
    dense1D<unsigned> nodes;
    for (unsigned j = 0; j < 14 && n % 2 == 1; j += 1 + rng() % 2)
      nodes.push_back(j), lowerable[j] = true;
    const std::vector<double> want = relaxed(g, lowerable, rate, filum_test::entries(sizes));
    dense2D<double> metrics = iso_columns(D, sizes);
    ASSERT_EQ(
        tessa::bound_metric_gradations(g.pos, g.connect, edge2, nodes, true, -1, gradation, sizes),
        0);
    EXPECT_EQ(filum_test::entries(sizes), want);
    ASSERT_EQ(
        tessa::bound_metric_gradations(g.pos, g.connect, edge2, nodes, true, 0, gradation, metrics),
        0);
    for (std::size_t j = 0; j < 14; ++j) {
      EXPECT_NEAR(metrics(sym<D>::index(D - 1, D - 1), j) * want[j] * want[j], 1, 1e-10);
      EXPECT_NEAR(metrics(1, j) * want[j] * want[j], 0, 1e-10);
    }
    if (scale != 1) continue;
    for (std::size_t j = 0; j < 14; ++j) {
      const sym<D> m = tessa_test::random_metric<D>(rng, 0.02, 2);
      std::copy(m.values, m.values + m.size(), &metrics(0, j));
    }
    dense2D<double> before;
    ASSERT_TRUE(before.copy(metrics));
    ASSERT_EQ(tessa::bound_metric_gradations(g.pos, g.connect, edge2, dense1D<unsigned>(), true, 0,
                                             1.4, metrics),
              0);
    for (int k = 0; k < 50; ++k) {
      double u[D], d[D];
      for (double& x : u)
        x = normal(rng);
      const std::size_t e = rng() % g.connect.cols(), side = rng() % 2;
      const unsigned i = g.connect(side, e), j = g.connect(1 - side, e);
      for (std::size_t r = 0; r < D; ++r)
        d[r] = g.pos(r, j) - g.pos(r, i);
      const sym<D> mi = column_of<D>(metrics, i), mj = column_of<D>(metrics, j);
      const double eta = 1 + std::log(1.4) * std::sqrt(form<D>(mi, d));
      EXPECT_GE(form<D>(mj, u), form<D>(mi, u) / (eta * eta) * (1 - 1e-9));
      EXPECT_GE(form<D>(mj, u), form<D>(column_of<D>(before, j), u) * (1 - 1e-9));
    }
  }
}

TEST(TessaGradation, CodesInArgumentOrderAndStorageFailures) {
  const dense2D<double> pos2 = filum_test::make_pos({{0, 0}, {1, 0}, {2, 0}});
  const dense2D<unsigned> chain = filum_test::make_columns<unsigned>({{0, 1}, {1, 2}});
  const dense1D<unsigned> all;
  dense1D<double> sizes = filum_test::values({1, 5, 9}), short_sizes = filum_test::values({1, 5});
  dense2D<double> metrics = iso_columns(2, sizes), metrics3d(6, 3);
  auto code = [&](const dense2D<double>& pos, const dense2D<unsigned>& connect, int type,
                  const dense1D<unsigned>& nodes, dense1D<double>& h, dense2D<double>& m) {
    const auto t = static_cast<tessa::element_type>(type);
    const int by_sizes = tessa::bound_metric_gradations(pos, connect, t, nodes, true, -1, 2, h);
    EXPECT_EQ(tessa::bound_metric_gradations(pos, connect, t, nodes, true, 0, 2, m), by_sizes);
    return by_sizes;
  };
  EXPECT_EQ(code(pos2, dense2D<unsigned>(), 3, all, sizes, metrics), 0);
  EXPECT_EQ(code(dense2D<double>(1, 3), chain, 3, all, sizes, metrics), -1);
  EXPECT_EQ(code(pos2, dense2D<unsigned>(1, 2), 3, all, sizes, metrics), -2);
  EXPECT_EQ(code(pos2, filum_test::make_columns<unsigned>({{0, 3}}), 3, all, sizes, metrics), -2);
  EXPECT_EQ(code(pos2, chain, 4, all, sizes, metrics), -3);
  EXPECT_EQ(code(pos2, chain, 3, filum_test::ids({3}), sizes, metrics), -4);
  EXPECT_EQ(code(pos2, chain, 3, all, short_sizes, metrics3d), -8);
  dense1D<double> nan_sizes = filum_test::values({1, std::nan(""), 9});
  EXPECT_EQ(tessa::bound_metric_gradations(pos2, chain, edge2, all, true, -1, 2, nan_sizes), -8);
  EXPECT_EQ(filum_test::entries(sizes), (std::vector<double>{1, 5, 9}));  // untouched so far
  EXPECT_EQ(metrics(0, 2), 1.0 / 81);

  const dense1D<unsigned> middle = filum_test::ids({1});
  // Only node 1 may drop, to 1 + ln 2; a failure leaves it as it was.
  auto sweep = [&](auto prepare, int mode, auto size_of_node1) {
    EXPECT_GE(filum_test::sweep_allocation_failures(
                  prepare,
                  [&](auto& field) {
                    return tessa::bound_metric_gradations(pos2, chain, edge2, middle, true, mode, 2,
                                                          field);
                  },
                  [&](const auto& field, int result, bool failed) {
                    EXPECT_EQ(result, failed ? -199 : 0);
                    EXPECT_NEAR(size_of_node1(field), failed ? 5 : 1 + std::log(2.0), 1e-14);
                  }),
              1u);
  };
  sweep(
      [] {
        return filum_test::values({1, 5, 9});
      },
      -1, [](const dense1D<double>& h) { return h[1]; });
  sweep(
      [] {
        return iso_columns(2, filum_test::values({1, 5, 9}));
      },
      0, [](const dense2D<double>& m) { return 1 / std::sqrt(m(0, 1)); });
}
