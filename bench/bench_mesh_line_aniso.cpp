// mesh_line with metrics in the plane and in space, each beside mesh_line with sizes on the
// same chain as its baseline: the sizes are the lengths the metrics ask for along the line,
// so both calls create the same number of nodes, and `ratio` is metrics time / sizes time.

#include <cmath>
#include <cstddef>

#include <benchmark/benchmark.h>
#include <vorn/filum.h>

#include "support/baseline.h"

using namespace vorn;

namespace {

constexpr double pi = 3.14159265358979323846;

// The packed metric with size a along the unit vector u and size b across it:
// I / b^2 + (1 / a^2 - 1 / b^2) u u'.
template <std::size_t D>
void set_metric(dense2D<double>& metrics, std::size_t j, const double* u, double a, double b) {
  std::size_t k = 0;
  for (std::size_t c = 0; c < D; ++c)
    for (std::size_t r = 0; r <= c; ++r)
      metrics(k++, j) = (r == c ? 1 / (b * b) : 0) + (1 / (a * a) - 1 / (b * b)) * u[r] * u[c];
}

// The size that column j of metrics asks for along the unit vector e.
template <std::size_t D>
double size_along(const dense2D<double>& metrics, std::size_t j, const double* e) {
  double q = 0;
  std::size_t k = 0;
  for (std::size_t c = 0; c < D; ++c)
    for (std::size_t r = 0; r <= c; ++r)
      q += (r == c ? 1 : 2) * metrics(k++, j) * e[r] * e[c];
  return 1 / std::sqrt(q);
}

// A chain with metrics and the matching sizes, and the containers of both calls.
struct line_case {
  dense2D<double> given;
  dense1D<unsigned> chain;
  dense1D<double> params, sizes;
  dense2D<double> metrics;

  dense2D<double> pos;
  dense1D<unsigned> new_indices;
  dense1D<double> new_params, new_sizes;
  dense2D<double> new_metrics;

  // Fresh outputs, pos back to the given nodes.
  void reset() {
    pos.copy(given);
    new_indices = dense1D<unsigned>();
    new_params = dense1D<double>();
    new_sizes = dense1D<double>();
    new_metrics = dense2D<double>();
  }
  void mesh_metrics() {
    filum::mesh_line(pos, chain, params, metrics, false, 1, filum::no_id, 0, 0, new_indices,
                     new_params, new_metrics);
    benchmark::DoNotOptimize(pos.data());
  }
  void mesh_sizes() {
    filum::mesh_line(pos, chain, params, sizes, false, 1, filum::no_id, 0, 0, new_indices,
                     new_params, new_sizes);
    benchmark::DoNotOptimize(pos.data());
  }
};

// Runs the metric call beside the size call; items are the nodes the metric call creates.
void run(benchmark::State& state, line_case& c) {
  c.reset();
  c.mesh_sizes();
  const std::size_t by_sizes = c.pos.cols() - c.given.cols();
  c.reset();
  c.mesh_metrics();
  const std::size_t created = c.pos.cols() - c.given.cols();
  filum_bench::run_against_baseline(
      state, static_cast<double>(created), [&] { c.reset(); }, [&] { c.mesh_metrics(); },
      [&] { c.mesh_sizes(); });
  state.counters["nodes"] = static_cast<double>(created);
  state.counters["nodes_by_sizes"] = static_cast<double>(by_sizes);
}

// Two nodes along x. The start metric asks for 1 along the line and 0.2 across it; the end
// metric for 3 along a direction 30 degrees off the line (tilted out of the plane in space)
// and 0.5 across: one pass, one reduction, every node interpolated.
template <std::size_t D>
void straight_two_nodes(benchmark::State& state) {
  const double nodes = static_cast<double>(state.range(0));
  line_case c;
  c.given = dense2D<double>(D, 2, 0.0);
  c.metrics = dense2D<double>(D * (D + 1) / 2, 2);
  const double along[3] = {1, 0, 0};
  const double off[3] = {std::cos(pi / 6), D == 2 ? std::sin(pi / 6) : 0.3,
                         D == 2 ? 0 : std::sqrt(0.25 - 0.09)};
  set_metric<D>(c.metrics, 0, along, 1, 0.2);
  set_metric<D>(c.metrics, 1, off, 3, 0.5);
  c.sizes = dense1D<double>(2);
  c.sizes[0] = size_along<D>(c.metrics, 0, along);
  c.sizes[1] = size_along<D>(c.metrics, 1, along);
  const double log_mean = (c.sizes[1] - c.sizes[0]) / std::log(c.sizes[1] / c.sizes[0]);
  c.given(0, 1) = nodes * log_mean;
  filum_bench::chain_of_all(c.given, c.chain, c.params);
  run(state, c);
}

// A polygon of 100000 nodes on the unit circle (in the plane z = 0 in space), metrics
// asking for 2 pi / count along the tangent and ten times that across: the driver's later
// passes put about one node on each segment, so a reduction goes with nearly every node.
template <std::size_t D>
void circle_polyline(benchmark::State& state) {
  const double nodes = static_cast<double>(state.range(0));
  const std::size_t n = 100000;
  line_case c;
  c.given = dense2D<double>(D, n, 0.0);
  c.metrics = dense2D<double>(D * (D + 1) / 2, n);
  c.sizes = dense1D<double>(n);
  const double h = 2 * pi / nodes;
  for (std::size_t k = 0; k < n; ++k) {
    const double a = 2 * pi * static_cast<double>(k) / static_cast<double>(n);
    c.given(0, k) = std::cos(a);
    c.given(1, k) = std::sin(a);
    const double tangent[3] = {-std::sin(a), std::cos(a), 0};
    set_metric<D>(c.metrics, k, tangent, h, 10 * h);
    c.sizes[k] = h;
  }
  filum_bench::chain_of_all(c.given, c.chain, c.params);
  run(state, c);
}

}  // namespace

BENCHMARK(straight_two_nodes<2>)
    ->Arg(1000000)
    ->Arg(10000000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(straight_two_nodes<3>)
    ->Arg(1000000)
    ->Arg(10000000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(circle_polyline<2>)->Arg(1000000)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(circle_polyline<3>)->Arg(1000000)->UseManualTime()->Unit(benchmark::kMillisecond);
