// The network engine against remesh_lines, each beside the other in the same run:
// - network_blobs: 200 closed blobs of 5,000 nodes (1,000,000 elements), 3 rows, size 0.01,
//   spline path, on 1 and 2 threads; ratio = remesh_network time / remesh_lines time.
// - network_large: 200 and 10,000 blobs (10^6 and 5 10^7 elements), 2 rows, each call in a
//   forked child that reports its time and resident peak. Opt-in: FILUM_BENCH_LARGE=1.
// - network_coastline: islands from 1e-4 to 10 units across, shores in pieces, jagged;
//   size 0.05, corner angle 60, min_size 0.05, spline path; degenerate elements out.
// - on_curve: mesh_spline_on_curve against mesh_spline on a 64-node circle (size 0.001) and
//   a 2,000-node helix (size 0.005), chordal_tol 0; the farthest node from the curve.

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include <benchmark/benchmark.h>
#include <vorn/filum.h>
#include <vorn/filum/network.h>

#include "support/baseline.h"
#include "support/network_cases.h"
#include "support/process_memory.h"

using namespace vorn;

namespace {

constexpr double blob_size = 0.01;

// A network kept as given, and the working copy each call overwrites.
struct network_run {
  filum_bench::line_network_case given;
  dense2D<double> pos;
  dense2D<unsigned> connectM;
  dense1D<unsigned> colors, hard_nodes;
  filum::network_options options;
  filum::network_report report;

  void reset() {
    pos.copy(given.pos);
    connectM.copy(given.connectM);
    colors.clear();
    hard_nodes.clear();
  }
  int remesh_network() {
    const int code =
        filum::remesh_network(pos, connectM, colors, hard_nodes, {}, {}, options, report);
    benchmark::DoNotOptimize(connectM.data());
    return code;
  }
  int remesh_lines() {
    const int code = filum::remesh_lines(
        pos, connectM, options.size, {}, colors, hard_nodes, {}, options.force_even,
        options.corner_angle, options.chordal_tol, options.max_gradation, options.min_size,
        options.min_elements, options.max_elements);
    benchmark::DoNotOptimize(connectM.data());
    return code;
  }
};

network_run blob_run(std::size_t blobs, std::size_t rows, unsigned threads) {
  network_run run{filum_bench::closed_blobs(blobs, 5000, rows), {}, {}, {}, {}, {}, {}};
  run.options.size = blob_size;
  run.options.chordal_tol = 1e-4;
  run.options.threads = threads;
  return run;
}

// Arguments: blobs, threads.
void network_blobs(benchmark::State& state) {
  network_run run =
      blob_run(static_cast<std::size_t>(state.range(0)), 3, static_cast<unsigned>(state.range(1)));
  const double elements = static_cast<double>(run.given.connectM.cols());
  filum_bench::run_against_baseline(
      state, elements, [&] { run.reset(); }, [&] { run.remesh_network(); },
      [&] { run.remesh_lines(); });
  state.counters["threads_used"] = run.report.threads_used;
  state.counters["elements_out"] = static_cast<double>(run.report.elements_out);
  state.counters["analysis_ms"] = 1e3 * run.report.seconds_analysis;
  state.counters["meshing_ms"] = 1e3 * run.report.seconds_meshing;
  state.counters["assembly_ms"] = 1e3 * run.report.seconds_assembly;
}

// One call of the engine and one of remesh_lines on the given network, each in a forked
// child (whose appends leave the given data alone); the iteration time is the engine's.
// Counters: baseline_s, ratio, and the peaks and growths of both in MiB.
void measure_pair(benchmark::State& state, network_run& run, filum_bench::child_measure& engine) {
  run.pos.shallow_copy(run.given.pos);
  run.connectM.shallow_copy(run.given.connectM);
  for (auto _ : state) {
    engine = filum_bench::measure_in_child([&] { run.remesh_network(); });
    const filum_bench::child_measure baseline =
        filum_bench::measure_in_child([&] { run.remesh_lines(); });
    state.SetIterationTime(engine.seconds);
    state.counters["peak_MiB"] = engine.peak_mib;
    state.counters["peak_growth_MiB"] = engine.growth_mib();
    state.counters["baseline_s"] = baseline.seconds;
    state.counters["baseline_peak_MiB"] = baseline.peak_mib;
    state.counters["baseline_peak_growth_MiB"] = baseline.growth_mib();
    state.counters["ratio"] = engine.seconds / baseline.seconds;
  }
}

// Arguments: blobs.
void network_large(benchmark::State& state) {
  network_run run = blob_run(static_cast<std::size_t>(state.range(0)), 2, 0);
  const double elements = static_cast<double>(run.given.connectM.cols());
  filum_bench::child_measure engine;
  measure_pair(state, run, engine);
  state.counters["input_MiB"] = engine.before_mib;
  state.counters["ns_per_element"] = 1e9 * engine.seconds / elements;
}

void network_coastline(benchmark::State& state) {
  network_run run{filum_bench::coastline(2000, 0.004, 7), {}, {}, {}, {}, {}, {}};
  run.options.size = 0.05;
  run.options.corner_angle = 60;
  run.options.min_size = 0.05;
  filum_bench::child_measure engine;
  measure_pair(state, run, engine);
  state.counters["elements_in"] = static_cast<double>(run.given.connectM.cols());
  run.reset();
  run.remesh_network();
  state.counters["elements_out"] = static_cast<double>(run.connectM.cols());
  state.counters["degenerate_out"] =
      static_cast<double>(filum_bench::degenerate_elements(run.pos, run.connectM));
  state.counters["closed_lines_dropped"] = static_cast<double>(run.report.closed_lines_dropped);
  run.reset();
  run.remesh_lines();
  state.counters["baseline_degenerate_out"] =
      static_cast<double>(filum_bench::degenerate_elements(run.pos, run.connectM));
}

// A padded chain over the columns of pos: closed (ghosts across the closing node) or open.
dense1D<unsigned> padded_chain(std::size_t n, bool closed) {
  dense1D<unsigned> chain(n + (closed ? 3 : 2));
  for (std::size_t k = 0; k < n; ++k)
    chain[k + 1] = static_cast<unsigned>(k);
  if (closed) {
    chain[0] = static_cast<unsigned>(n - 1), chain[n + 1] = 0, chain[n + 2] = 1;
  } else {
    chain[0] = 0, chain[n + 1] = static_cast<unsigned>(n - 1);
  }
  return chain;
}

// Argument: 0 the circle, 1 the helix. distance_from_curve is the farthest new node
// from the circle (the true curve), or from the helix's own spline at the node's
// parameter as reported by the on-curve call itself (0 by construction) for the helix.
void on_curve(benchmark::State& state) {
  const bool helix = state.range(0) == 1;
  const std::size_t n = helix ? 2000 : 64;
  const double size = helix ? 0.005 : 0.001;
  dense2D<double> given(helix ? 3 : 2, n);
  for (std::size_t k = 0; k < n; ++k) {
    const double t = helix ? 25.132741228718345 * static_cast<double>(k) / (n - 1)
                           : 6.283185307179586 * static_cast<double>(k) / n;
    given(0, k) = std::cos(t), given(1, k) = std::sin(t);
    if (helix) given(2, k) = 0.1 * t;
  }
  const dense1D<unsigned> chain = padded_chain(n, !helix);
  const dense1D<double> sizes(chain.size(), size);
  dense2D<double> pos;
  dense1D<unsigned> new_indices;
  dense1D<double> new_params, new_sizes;
  double deviation = 0;
  auto reset = [&] {
    pos.copy(given);
    new_indices.clear(), new_params.clear(), new_sizes.clear();
  };
  auto call = [&](bool on) {
    (on ? filum::mesh_spline_on_curve
        : static_cast<int (*)(dense2D<double>&, const dense1D<unsigned>&, const dense1D<double>&,
                              bool, unsigned, unsigned, double, double, double, double,
                              dense1D<unsigned>&, dense1D<double>&, dense1D<double>&,
                              double&) noexcept>(filum::mesh_spline))(
        pos, chain, sizes, false, 1, filum::no_id, 0, 0, size, 0, new_indices, new_params,
        new_sizes, deviation);
    benchmark::DoNotOptimize(pos.data());
  };
  filum_bench::run_against_baseline(
      state, static_cast<double>(n), reset, [&] { call(true); }, [&] { call(false); });
  if (!helix) {
    double worst_on = 0, worst_sampled = 0;
    for (bool on : {true, false}) {
      reset();
      call(on);
      for (std::size_t j = n; j < pos.cols(); ++j)
        (on ? worst_on : worst_sampled) =
            std::max(on ? worst_on : worst_sampled, std::abs(std::hypot(pos(0, j), pos(1, j)) - 1));
    }
    state.counters["max_distance"] = worst_on;
    state.counters["baseline_max_distance"] = worst_sampled;
  }
  state.counters["elements"] = static_cast<double>(new_indices.size() - 1);
}

const bool large_registered = [] {
  const char* large = std::getenv("FILUM_BENCH_LARGE");
  if (large && *large && *large != '0')
    benchmark::RegisterBenchmark("network_large", network_large)
        ->Arg(200)
        ->Arg(10000)
        ->ArgName("blobs")
        ->Iterations(1)
        ->UseManualTime()
        ->Unit(benchmark::kSecond);
  return true;
}();

}  // namespace

BENCHMARK(network_blobs)
    ->ArgsProduct({{200}, {1, 2}})
    ->ArgNames({"blobs", "threads"})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(network_coastline)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(on_curve)->Arg(0)->Arg(1)->ArgName("helix")->UseManualTime()->Unit(
    benchmark::kMicrosecond);
