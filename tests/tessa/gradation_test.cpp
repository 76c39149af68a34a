#include <vector>

#include "metric_samples.h"
#include "support/filum_test.h"

using namespace vorn;
using tessa_test::form;
using tessa_test::sym;
using converter = int (*)(const dense1D<double>&, dense2D<double>&) noexcept;

namespace {

constexpr tessa::element_type edge2 = tessa::element_type::edge2;

// The law by plain relaxation until nothing moves: h_j <= h_i + rate l_ij into lowerable j.
std::vector<double> relaxed(const dense2D<double>& pos, const dense2D<unsigned>& connect,
                            const std::vector<bool>& lowerable, double rate,
                            std::vector<double> h) {
  for (bool moved = true; moved;) {
    moved = false;
    for (std::size_t e = 0; e < 2 * connect.cols(); ++e) {
      const unsigned i = connect(e % 2, e / 2), j = connect(1 - e % 2, e / 2);
      double squared = 0;
      for (std::size_t r = 0; r < pos.rows(); ++r)
        squared += (pos(r, j) - pos(r, i)) * (pos(r, j) - pos(r, i));
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

// On random graphs (self-loops and repeated edges included) sizes equal an exhaustive
// relaxation and isotropic metrics follow the same law; anisotropic metrics only shrink
// until every edge respects the grown metric of its ends.
TYPED_TEST(TessaGradation, SizesAndMetricsFollowTheGrowthLaw) {
  constexpr std::size_t D = TypeParam::value;
  std::mt19937 rng(23);
  std::uniform_real_distribution<double> unit(0, 1);
  std::normal_distribution<double> normal;
  for (int n = 0; n < 120; ++n) {
    const double scale = n % 3 == 0 ? 1e-8 : n % 3 == 1 ? 1 : 1e8;
    const double gradation = n % 4 == 0 ? 0.5 : n % 4 == 1 ? std::nan("") : 1.05 + 0.1 * (n % 7);
    dense2D<double> pos(D, 14);
    dense2D<unsigned> connect(2, 4 + n % 20);
    dense1D<double> sizes(14);
    for (double& c : pos.as_vector())
      c = scale * unit(rng);
    for (unsigned& id : connect.as_vector())
      id = rng() % 14;
    for (double& x : sizes)
      x = scale * (0.05 + 2 * unit(rng));
    std::vector<bool> lowerable(14, n % 2 == 0);
    dense1D<unsigned> nodes;
    for (unsigned j = 0; j < 14 && n % 2 == 1; j += 1 + rng() % 2)
      nodes.push_back(j), lowerable[j] = true;
    const double rate = gradation > 1 ? std::log(gradation) : 0;
    const auto want = relaxed(pos, connect, lowerable, rate, filum_test::entries(sizes));
    dense2D<double> metrics = iso_columns(D, sizes);
    ASSERT_EQ(
        tessa::bound_metric_gradations(pos, connect, edge2, nodes, true, -1, gradation, sizes), 0);
    EXPECT_EQ(filum_test::entries(sizes), want);
    ASSERT_EQ(
        tessa::bound_metric_gradations(pos, connect, edge2, nodes, true, 0, gradation, metrics), 0);
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
    ASSERT_EQ(tessa::bound_metric_gradations(pos, connect, edge2, {}, true, 0, 1.4, metrics), 0);
    for (int k = 0; k < 50; ++k) {
      double u[D], d[D];
      const std::size_t e = rng() % connect.cols(), side = rng() % 2;
      const unsigned i = connect(side, e), j = connect(1 - side, e);
      for (std::size_t r = 0; r < D; ++r)
        d[r] = pos(r, j) - pos(r, i), u[r] = normal(rng);
      const sym<D> mi = column_of<D>(metrics, i), mj = column_of<D>(metrics, j);
      const double eta = 1 + std::log(1.4) * std::sqrt(form<D>(mi, d));
      EXPECT_GE(form<D>(mj, u), form<D>(mi, u) / (eta * eta) * (1 - 1e-9));
      EXPECT_GE(form<D>(mj, u), form<D>(column_of<D>(before, j), u) * (1 - 1e-9));
    }
  }
}

TEST(TessaGradation, CodesInArgumentOrderAndStorageFailures) {
  const dense2D<double> pos = filum_test::make_pos({{0, 0}, {1, 0}, {2, 0}});
  const dense2D<unsigned> chain = filum_test::make_columns<unsigned>({{0, 1}, {1, 2}});
  const dense1D<unsigned> all, middle = filum_test::ids({1});
  dense1D<double> sizes = filum_test::values({1, 5, 9}), short_sizes = filum_test::values({1, 5});
  dense2D<double> metrics = iso_columns(2, sizes), metrics3d(6, 3);
  // Both overloads give the same code, the sizes one with sizes, the other with metrics.
  auto code = [&](const dense2D<double>& p, const dense2D<unsigned>& connect, int type,
                  const dense1D<unsigned>& nodes, dense1D<double>& h, dense2D<double>& m) {
    const auto t = static_cast<tessa::element_type>(type);
    const int by_sizes = tessa::bound_metric_gradations(p, connect, t, nodes, true, -1, 2, h);
    EXPECT_EQ(tessa::bound_metric_gradations(p, connect, t, nodes, true, 0, 2, m), by_sizes);
    return by_sizes;
  };
  EXPECT_EQ(code(pos, dense2D<unsigned>(), 3, all, sizes, metrics), 0);
  EXPECT_EQ(code(dense2D<double>(1, 3), chain, 3, all, sizes, metrics), -1);
  EXPECT_EQ(code(pos, dense2D<unsigned>(1, 2), 3, all, sizes, metrics), -2);
  EXPECT_EQ(code(pos, filum_test::make_columns<unsigned>({{0, 3}}), 3, all, sizes, metrics), -2);
  EXPECT_EQ(code(pos, chain, 4, all, sizes, metrics), -3);
  EXPECT_EQ(code(pos, chain, 3, filum_test::ids({3}), sizes, metrics), -4);
  EXPECT_EQ(code(pos, chain, 3, all, short_sizes, metrics3d), -8);
  dense1D<double> nan_sizes = filum_test::values({1, std::nan(""), 9});
  EXPECT_EQ(tessa::bound_metric_gradations(pos, chain, edge2, all, true, -1, 2, nan_sizes), -8);
  EXPECT_EQ(filum_test::entries(sizes), (std::vector<double>{1, 5, 9}));  // untouched so far
  EXPECT_EQ(metrics(0, 2), 1.0 / 81);
  // Only node 1 may drop, to 1 + ln 2; a failure leaves it as it was.
  EXPECT_GE(filum_test::sweep_allocation_failures(
                [] {
                  return filum_test::values({1, 5, 9});
                },
                [&](dense1D<double>& h) {
                  return tessa::bound_metric_gradations(pos, chain, edge2, middle, true, -1, 2, h);
                },
                [&](const dense1D<double>& h, int result, bool failed) {
                  EXPECT_EQ(result, failed ? -199 : 0);
                  EXPECT_NEAR(h[1], failed ? 5 : 1 + std::log(2.0), 1e-14);
                }),
            3u);
}

TEST(TessaIsoToAniso, ReplacesAnyPreviousShapeWithIsotropicColumns) {
  const std::pair<converter, std::vector<double>> cases[] = {
      {tessa::metrics_iso_to_aniso2d, {0.25, 0, 0.25, 0x1p54, 0, 0x1p54}},
      {tessa::metrics_iso_to_aniso3d,
       {0.25, 0, 0.25, 0, 0, 0.25, 0x1p54, 0, 0x1p54, 0, 0, 0x1p54}}};
  for (const auto& [convert, want] : cases) {
    dense2D<double> metrics(2, 7, 9.0);  // previous content of another shape
    EXPECT_EQ(convert(filum_test::values({2, 0x1p-27}), metrics), 0);
    EXPECT_EQ(metrics.cols(), 2u);
    EXPECT_EQ(filum_test::entries(metrics.as_vector()), want);
    EXPECT_EQ(convert(dense1D<double>(), metrics), 0);
    EXPECT_TRUE(metrics.rows() == want.size() / 2 && metrics.cols() == 0);
    const dense1D<double> one = filum_test::values({1});
    dense2D<double> fresh;
    filum_test::scoped_allocation_failure failure(1);
    EXPECT_EQ(convert(one, fresh), -199);
    EXPECT_TRUE(failure.happened() && fresh.empty());
  }
}
