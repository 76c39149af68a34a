// Sorting of (value, identifier) pairs beside std::sort of the same pairs.

#include <algorithm>
#include <cstddef>
#include <random>
#include <utility>
#include <vector>

#include <benchmark/benchmark.h>

#include <vorn/filum.h>

#include "support/baseline.h"

namespace {

constexpr std::size_t pair_count = 10000000;

void sort_pairs(benchmark::State& state) {
  // Values with repeats (so that identifiers decide some orders), identifiers shuffled.
  std::mt19937_64 random(11);
  std::uniform_int_distribution<int> value(0, 1 << 22);
  std::vector<std::pair<double, unsigned>> input(pair_count);
  for (std::size_t i = 0; i < pair_count; ++i)
    input[i] = {value(random) * 0.25, static_cast<unsigned>(i)};
  std::shuffle(input.begin(), input.end(), random);

  vorn::dense1D<double> values(pair_count);
  vorn::dense1D<unsigned> ids(pair_count);
  std::vector<std::pair<double, unsigned>> pairs(pair_count);
  filum_bench::run_against_baseline(
      state, static_cast<double>(pair_count),
      [&] {
        for (std::size_t i = 0; i < pair_count; ++i) {
          values[i] = input[i].first;
          ids[i] = input[i].second;
        }
        pairs = input;
      },
      [&] {
        vorn::filum::sort(values, ids);
        benchmark::DoNotOptimize(ids.data());
      },
      [&] {
        std::sort(pairs.begin(), pairs.end());
        benchmark::DoNotOptimize(pairs.data());
      });
}

}  // namespace

BENCHMARK(sort_pairs)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);
