#ifndef FILUM_BENCH_BASELINE_H
#define FILUM_BENCH_BASELINE_H

// Runs an operation beside a baseline that does the least work producing the same output,
// and reports the operation's time with its ratio to the baseline.

#include <chrono>
#include <cmath>
#include <cstddef>

#include <benchmark/benchmark.h>

#include "frame/append.h"

namespace filum_bench {

/// Each iteration calls reset() (untimed), then op() (timed as the benchmark's time), then
/// reset() and baseline() (timed apart). Counters: `ratio` = op time / baseline time,
/// `items_per_second` = items / op time, `baseline_ms` per iteration. Register the benchmark
/// with ->UseManualTime().
template <class Reset, class Op, class Baseline>
void run_against_baseline(benchmark::State& state, double items, Reset reset, Op op,
                          Baseline baseline) {
  using clock = std::chrono::steady_clock;
  double op_seconds = 0;
  double base_seconds = 0;
  for (auto _ : state) {
    reset();
    auto t0 = clock::now();
    op();
    auto t1 = clock::now();
    reset();
    auto t2 = clock::now();
    baseline();
    auto t3 = clock::now();
    const double elapsed = std::chrono::duration<double>(t1 - t0).count();
    op_seconds += elapsed;
    base_seconds += std::chrono::duration<double>(t3 - t2).count();
    state.SetIterationTime(elapsed);
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["ratio"] = base_seconds > 0 ? op_seconds / base_seconds : 0;
  state.counters["baseline_ms"] = 1e3 * base_seconds / n;
  state.counters["items_per_second"] = op_seconds > 0 ? items * n / op_seconds : 0;
}

/// The common baseline: appends count points of R coordinates to pos, one by one, the way
/// the library appends new nodes.
template <std::size_t R>
void append_points(std::size_t count, vorn::dense2D<double>& pos) {
  double point[R] = {};
  for (std::size_t i = 0; i < count; ++i) {
    point[0] = static_cast<double>(i);
    vorn::filum::append_fixed_column<R>(point, pos);
  }
  benchmark::DoNotOptimize(pos.data());
}

/// The chain of all columns of given, with chord-length parameters.
inline void chain_of_all(const vorn::dense2D<double>& given, vorn::dense1D<unsigned>& chain,
                         vorn::dense1D<double>& params) {
  const std::size_t n = given.cols();
  chain = vorn::dense1D<unsigned>(n);
  params = vorn::dense1D<double>(n, 0.0);
  for (std::size_t k = 0; k < n; ++k) {
    chain[k] = static_cast<unsigned>(k);
    double d2 = 0;
    for (std::size_t i = 0; k > 0 && i < given.rows(); ++i)
      d2 += (given(i, k) - given(i, k - 1)) * (given(i, k) - given(i, k - 1));
    if (k > 0) params[k] = params[k - 1] + std::sqrt(d2);
  }
}

}  // namespace filum_bench

#endif
