#ifndef FILUM_BENCH_BASELINE_H
#define FILUM_BENCH_BASELINE_H

// Runs an operation beside a baseline that does the least work producing the same output,
// and reports the operation's time with its ratio to the baseline.

#include <chrono>

#include <benchmark/benchmark.h>

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

}  // namespace filum_bench

#endif
