// Insertion and lookup of 10,000,000 keys in the identifier set of the network analysis,
// against writing the same keys into a vector and reading them back.

#include <cstdint>
#include <memory>

#include <benchmark/benchmark.h>

#include <vorn/dense.h>

#include "remesh/node_set.h"
#include "support/baseline.h"

namespace {

constexpr std::size_t key_count = 10000000;

// Keys spread over all 32 bits, with a few repeats, from a fixed linear congruential stream.
vorn::dense1D<unsigned> make_keys() {
  vorn::dense1D<unsigned> keys(key_count);
  std::uint64_t state = 88172645463325252u;
  for (unsigned& key : keys) {
    state = state * 6364136223846793005u + 1442695040888963407u;
    key = static_cast<unsigned>(state >> 32);
  }
  return keys;
}

void insert_and_look_up(benchmark::State& state) {
  const vorn::dense1D<unsigned> keys = make_keys();
  std::unique_ptr<vorn::filum::node_set> set;
  vorn::dense1D<unsigned> written;
  filum_bench::run_against_baseline(
      state, static_cast<double>(key_count),
      [&] {
        set.reset();
        written = vorn::dense1D<unsigned>();
      },
      [&] {
        set = std::make_unique<vorn::filum::node_set>();
        for (unsigned key : keys)
          set->insert(key);
        std::size_t found = 0;
        for (unsigned key : keys)
          found += set->contains(key);
        benchmark::DoNotOptimize(found);
      },
      [&] {
        for (unsigned key : keys)
          written.push_back(key);
        std::uint64_t sum = 0;
        for (unsigned key : written)
          sum += key;
        benchmark::DoNotOptimize(sum);
      });
}

}  // namespace

BENCHMARK(insert_and_look_up)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
