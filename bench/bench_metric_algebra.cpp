// Metric arithmetic per node: reducing a pair of metrics to their common basis and
// interpolating it, as the anisotropic meshers do for every generated node, and
// intersecting a pair, each beside a baseline that only writes the same number of
// packed tensors.

#include <cmath>
#include <cstddef>
#include <random>
#include <vector>

#include <benchmark/benchmark.h>
#include <vorn/tessa.h>

#include "support/baseline.h"

namespace {

constexpr std::size_t pair_count = 1000000;

template <std::size_t D>
using packed = vorn::symmetric_fixed<double, D>;

// A random positive-definite tensor G G' + 0.01 I, G with entries in [-1, 1].
template <std::size_t D>
packed<D> random_metric(std::mt19937& rng) {
  std::uniform_real_distribution<double> entry(-1, 1);
  double g[D][D];
  for (auto& row : g)
    for (double& x : row)
      x = entry(rng);
  packed<D> m;
  for (std::size_t j = 0; j < D; ++j)
    for (std::size_t i = 0; i <= j; ++i) {
      double s = i == j ? 0.01 : 0;
      for (std::size_t k = 0; k < D; ++k)
        s += g[i][k] * g[j][k];
      m(i, j) = s;
    }
  return m;
}

// Metric pairs and parameters, built once per dimension.
template <std::size_t D>
struct workload {
  std::vector<packed<D>> a, b;
  std::vector<double> t;

  workload() : a(pair_count), b(pair_count), t(pair_count) {
    std::mt19937 rng(42);
    std::uniform_real_distribution<double> unit(0, 1);
    for (std::size_t k = 0; k < pair_count; ++k) {
      a[k] = random_metric<D>(rng);
      b[k] = random_metric<D>(rng);
      t[k] = unit(rng);
    }
  }
};

bool reduce(const packed<2>& a, const packed<2>& b, vorn::tessa::metric_pair2d& p) {
  return vorn::tessa::reduce_metrics2d(a, b, p);
}
bool reduce(const packed<3>& a, const packed<3>& b, vorn::tessa::metric_pair3d& p) {
  return vorn::tessa::reduce_metrics3d(a, b, p);
}
bool interpolate(const vorn::tessa::metric_pair2d& p, double t, packed<2>& m) {
  return vorn::tessa::interpolate_reduced2d(p, t, m);
}
bool interpolate(const vorn::tessa::metric_pair3d& p, double t, packed<3>& m) {
  return vorn::tessa::interpolate_reduced3d(p, t, m);
}

// Runs op(k, out[k]) for every pair k; the baseline copies one tensor per pair.
template <std::size_t D, class Op>
void per_pair(benchmark::State& state, const workload<D>& data, Op op) {
  std::vector<packed<D>> out(pair_count);
  const auto each = [&](auto write) {
    for (std::size_t k = 0; k < pair_count; ++k)
      write(k, out[k]);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  };
  filum_bench::run_against_baseline(
      state, static_cast<double>(pair_count), [] {}, [&] { each(op); },
      [&] { each([&](std::size_t k, packed<D>& m) { m = data.a[k]; }); });
}

// Reduces and interpolates every pair.
template <std::size_t D, class Pair>
void reduce_and_interpolate(benchmark::State& state) {
  static const workload<D> data;
  per_pair<D>(state, data, [&](std::size_t k, packed<D>& m) {
    Pair pair;
    if (reduce(data.a[k], data.b[k], pair)) interpolate(pair, data.t[k], m);
  });
}

void BM_reduce_interpolate_2d(benchmark::State& state) {
  reduce_and_interpolate<2, vorn::tessa::metric_pair2d>(state);
}
void BM_reduce_interpolate_3d(benchmark::State& state) {
  reduce_and_interpolate<3, vorn::tessa::metric_pair3d>(state);
}

// Intersects every pair, as the metric generators do for every node they touch.
template <std::size_t D>
void intersect(benchmark::State& state) {
  static const workload<D> data;
  per_pair<D>(state, data, [&](std::size_t k, packed<D>& m) {
    vorn::tessa::minimum_metric(data.a[k], data.b[k], m);
  });
}

void BM_minimum_metric_2d(benchmark::State& state) {
  intersect<2>(state);
}
void BM_minimum_metric_3d(benchmark::State& state) {
  intersect<3>(state);
}

}  // namespace

BENCHMARK(BM_minimum_metric_2d)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_minimum_metric_3d)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_reduce_interpolate_2d)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_reduce_interpolate_3d)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
