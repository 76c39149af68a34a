// Extrusion of long rows beside a loop that appends the same number of points.

#include <cmath>
#include <cstddef>

#include <benchmark/benchmark.h>

#include <vorn/filum.h>

#include "frame/node_distribution.h"
#include "support/baseline.h"

namespace {

using vorn::dense1D;
using vorn::dense2D;
using vorn::vector_fixed;

constexpr std::size_t row_nodes = 10000000;

// A row of n points along x appended one by one to a D-row pos holding one start node,
// with its chain: the least work that yields the same output as an extrusion.
template <std::size_t D>
void append_row(std::size_t n, dense2D<double>& pos, dense1D<unsigned>& indices) {
  pos.reserve(D, n + 1);
  indices.reserve(n + 1);
  indices.push_back(0);
  filum_bench::append_points<D>(n, pos);
  for (std::size_t k = 1; k <= n; ++k)
    indices.push_back(static_cast<unsigned>(k));
}

// One start node at the origin, an empty chain.
template <std::size_t D>
void start_over(dense2D<double>& pos, dense1D<unsigned>& indices) {
  pos = dense2D<double>(D, 1);
  indices = dense1D<unsigned>();
}

void graded_translation(benchmark::State& state) {
  // Sizes 1 to 2 along L: L ln 2 elements.
  const double L = static_cast<double>(row_nodes) / std::log(2.0);
  dense2D<double> pos;
  dense1D<unsigned> indices;
  filum_bench::run_against_baseline(
      state, static_cast<double>(row_nodes), [&] { start_over<2>(pos, indices); },
      [&] {
        vorn::filum::extrude_translate(pos, 0u, vector_fixed<double, 2>(L, 0), 1.0, 2.0, false,
                                       indices);
        benchmark::DoNotOptimize(pos.data());
      },
      [&] {
        append_row<2>(row_nodes, pos, indices);
        benchmark::DoNotOptimize(pos.data());
      });
  state.counters["nodes"] = static_cast<double>(pos.cols());
}

void spatial_rotation(benchmark::State& state) {
  dense2D<double> pos;
  dense1D<unsigned> indices;
  const vector_fixed<double, 3> center(0, -1, 0);
  const vector_fixed<double, 3> rotation(0.3, -0.2, 6.0);
  filum_bench::run_against_baseline(
      state, static_cast<double>(row_nodes), [&] { start_over<3>(pos, indices); },
      [&] {
        vorn::filum::extrude_rotate(pos, 0u, center, rotation, static_cast<unsigned>(row_nodes),
                                    indices);
        benchmark::DoNotOptimize(pos.data());
      },
      [&] {
        append_row<3>(row_nodes, pos, indices);
        benchmark::DoNotOptimize(pos.data());
      });
  state.counters["nodes"] = static_cast<double>(pos.cols());
}

}  // namespace

BENCHMARK(graded_translation)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);
BENCHMARK(spatial_rotation)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);
