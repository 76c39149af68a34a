// Connectivity conversions on millions of elements, each beside a plain loop that only
// writes the same output into a matrix resized once.

#include <cstddef>

#include <benchmark/benchmark.h>

#include <vorn/filum.h>

#include "support/baseline.h"

namespace {

using vorn::dense1D;
using vorn::dense2D;

void indices_to_connectE2_chain(benchmark::State& state) {
  const std::size_t n = 5000000;
  dense1D<unsigned> chain(n);
  for (std::size_t i = 0; i < n; ++i)
    chain[i] = static_cast<unsigned>(i);
  dense2D<unsigned> connect;
  filum_bench::run_against_baseline(
      state, static_cast<double>(n), [&] { connect = dense2D<unsigned>(); },
      [&] { benchmark::DoNotOptimize(vorn::filum::indices_to_connectE2(chain, connect)); },
      [&] {
        connect.resize(2, n - 1);
        unsigned* out = connect.data();
        for (std::size_t i = 0; i + 1 < n; ++i, out += 2) {
          out[0] = chain[i];
          out[1] = chain[i + 1];
        }
        benchmark::ClobberMemory();
      });
}
BENCHMARK(indices_to_connectE2_chain)->UseManualTime()->Unit(benchmark::kMillisecond);

void convert_into_high_order_edges(benchmark::State& state) {
  const std::size_t edges = 2000000, nodes = edges + 1;
  const unsigned K = static_cast<unsigned>(state.range(0));  // not a compile-time constant
  dense2D<double> pos(2, nodes);
  dense2D<unsigned> connect(2, edges), high;
  for (std::size_t j = 0; j < nodes; ++j) {
    pos(0, j) = static_cast<double>(j) * 0.5;
    pos(1, j) = static_cast<double>(j % 7);
  }
  for (std::size_t e = 0; e < edges; ++e) {
    connect(0, e) = static_cast<unsigned>(e);
    connect(1, e) = static_cast<unsigned>(e + 1);
  }
  filum_bench::run_against_baseline(
      state, static_cast<double>(edges),
      [&] {
        pos.resize(2, nodes);
        high.clear();
      },
      [&] {
        benchmark::DoNotOptimize(vorn::filum::convert_into_high_order(pos, connect, K, high));
      },
      [&] {
        pos.resize(2, nodes + edges * K, 0.0);
        high.resize(K + 2, edges, vorn::filum::no_id);
        const double step = 1.0 / (K + 1);
        double* p = pos.data();
        const std::size_t ld = pos.ld();
        unsigned* out = high.data();
        std::size_t node = nodes;
        for (std::size_t e = 0; e < edges; ++e, out += K + 2) {
          const unsigned s = connect(0, e), t = connect(1, e);
          out[0] = s;
          out[1] = t;
          for (unsigned j = 1; j <= K; ++j, ++node) {
            for (std::size_t i = 0; i < 2; ++i)
              p[ld * node + i] = p[ld * s + i] + (j * step) * (p[ld * t + i] - p[ld * s + i]);
            out[j + 1] = static_cast<unsigned>(node);
          }
        }
        benchmark::ClobberMemory();
      });
}
BENCHMARK(convert_into_high_order_edges)->Arg(2)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
