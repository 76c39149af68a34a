// The C++ side of the Python overhead comparison (bench/python_overhead.py times the same
// calls through the filum package): mesh_line on a polyline producing 10^6 nodes, and
// remesh_network on 200 closed blobs of 5,000 points each through their splines.

#include <chrono>
#include <cmath>
#include <cstddef>

#include <benchmark/benchmark.h>
#include <vorn/filum.h>
#include <vorn/filum/network.h>

using namespace vorn;

namespace {

constexpr double pi = 3.14159265358979323846;

// Times op() alone; reset() (untimed) gives it fresh inputs each iteration.
template <class Reset, class Op>
void run_timed(benchmark::State& state, Reset reset, Op op) {
  for (auto _ : state) {
    reset();
    const auto t0 = std::chrono::steady_clock::now();
    op();
    const auto t1 = std::chrono::steady_clock::now();
    state.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
  }
}

// 11 points on the segment (0, 0)-(1, 0), size 1e-6: 10^6 elements.
void polyline_1e6_nodes(benchmark::State& state) {
  dense2D<double> given(2, 11);
  dense1D<unsigned> chain(11);
  for (unsigned i = 0; i < 11; ++i) {
    given(0, i) = i / 10.0;
    chain[i] = i;
  }
  dense1D<double> sizes(11, 1e-6);
  dense2D<double> pos;
  dense1D<unsigned> new_indices;
  dense1D<double> new_params, new_sizes;
  run_timed(
      state,
      [&] {
        pos.copy(given);
        new_indices = dense1D<unsigned>();
        new_params = dense1D<double>();
        new_sizes = dense1D<double>();
      },
      [&] {
        filum::mesh_line(pos, chain, sizes, false, 1, filum::no_id - 1, 0, 0, new_indices,
                         new_params, new_sizes);
        benchmark::DoNotOptimize(pos.data());
      });
  state.counters["nodes"] = static_cast<double>(new_indices.size());
}

// 200 blobs r = 1 + 0.2 sin(3t + b) on a 20 x 10 grid of spacing 3, 5,000 points each.
void blob_network(benchmark::State& state) {
  constexpr unsigned blobs = 200, points = 5000;
  dense2D<double> given(2, blobs * points);
  dense2D<unsigned> connect(2, blobs * points);
  for (unsigned b = 0; b < blobs; ++b)
    for (unsigned i = 0; i < points; ++i) {
      const double t = 2 * pi * i / points;
      const double r = 1 + 0.2 * std::sin(3 * t + b);
      const unsigned id = b * points + i;
      given(0, id) = 3.0 * (b % 20) + r * std::cos(t);
      given(1, id) = 3.0 * (b / 20) + r * std::sin(t);
      connect(0, id) = id;
      connect(1, id) = b * points + (i + 1) % points;
    }
  filum::network_options options;
  options.size = 0.01;
  options.chordal_tol = -0.01;
  dense2D<double> pos;
  dense2D<unsigned> edges;
  dense1D<unsigned> colors, hard_nodes;
  const dense1D<unsigned> hard_edges;
  const dense1D<double> node_sizes;
  filum::network_report report;
  run_timed(
      state,
      [&] {
        pos.copy(given);
        edges.copy(connect);
        colors = dense1D<unsigned>();
        hard_nodes = dense1D<unsigned>();
      },
      [&] {
        filum::remesh_network(pos, edges, colors, hard_nodes, hard_edges, node_sizes, options,
                              report);
        benchmark::DoNotOptimize(pos.data());
      });
  state.counters["elements_out"] = static_cast<double>(edges.cols());
}

}  // namespace

BENCHMARK(polyline_1e6_nodes)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(blob_network)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
