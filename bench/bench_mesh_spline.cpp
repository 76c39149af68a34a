// mesh_spline with sizes on closed curves, each beside a baseline that only appends the same
// number of points to a coordinates matrix: the spline through 64 nodes of the unit circle
// (accuracy counters against the true circle), and long curves of 10^4 .. 10^6 nodes meshed
// into ten elements per node.

#include <algorithm>
#include <cmath>
#include <cstddef>

#include <benchmark/benchmark.h>
#include <vorn/filum.h>

#include "frame/node_distribution.h"
#include "support/baseline.h"

using namespace vorn;

namespace {

constexpr double pi = 3.14159265358979323846;

// One closed curve to mesh and the containers of a call.
struct spline_case {
  dense2D<double> given;
  dense1D<unsigned> chain;
  dense1D<double> sizes;
  double chordal_tol = 0;

  dense2D<double> pos;
  dense1D<unsigned> new_indices;
  dense1D<double> new_params, new_sizes;
  double max_deviation = 0;

  // m nodes of the curve (x(a), y(a)) for a = 0 ... 2 pi, closed by periodic padding:
  // m-1, 0, 1, ..., m-1, 0, 1; every size is size.
  template <class Curve>
  spline_case(std::size_t m, Curve curve, double size) : given(2, m), chain(m + 3) {
    for (std::size_t k = 0; k < m; ++k) {
      const auto p = curve(2 * pi * static_cast<double>(k) / static_cast<double>(m));
      given(0, k) = p.first;
      given(1, k) = p.second;
    }
    chain[0] = static_cast<unsigned>(m - 1);
    for (std::size_t k = 0; k < m + 2; ++k)
      chain[k + 1] = static_cast<unsigned>(k % m);
    sizes = dense1D<double>(m + 3, size);
  }

  // Fresh outputs, pos back to the given nodes.
  void reset() {
    pos.copy(given);
    new_indices = dense1D<unsigned>();
    new_params = dense1D<double>();
    new_sizes = dense1D<double>();
  }

  void mesh() {
    filum::mesh_spline(pos, chain, sizes, false, 1, filum::no_id, chordal_tol, 0, 0, 0, new_indices,
                       new_params, new_sizes, max_deviation);
    benchmark::DoNotOptimize(pos.data());
  }

  // Largest distance from the unit circle of the output nodes, or of the element midpoints.
  double off_unit_circle(bool midpoints) const {
    double worst = 0;
    for (std::size_t j = 0; j + 1 < new_indices.size(); ++j) {
      const unsigned a = new_indices[j], b = new_indices[j + 1];
      const double x = midpoints ? (pos(0, a) + pos(0, b)) / 2 : pos(0, a);
      const double y = midpoints ? (pos(1, a) + pos(1, b)) / 2 : pos(1, a);
      worst = std::max(worst, std::fabs(std::hypot(x, y) - 1));
    }
    return worst;
  }
};

std::pair<double, double> unit_circle(double a) {
  return {std::cos(a), std::sin(a)};
}

// Runs the case beside its baseline; items are the nodes the mesh creates.
void run(benchmark::State& state, spline_case& c) {
  c.reset();
  c.mesh();
  const std::size_t created = c.pos.cols() - c.given.cols();
  state.counters["elements"] = static_cast<double>(c.new_indices.size() - 1);
  state.counters["node_off_circle"] = c.off_unit_circle(false);
  state.counters["midpoint_off_circle"] = c.off_unit_circle(true);
  filum_bench::run_against_baseline(
      state, static_cast<double>(created), [&] { c.reset(); }, [&] { c.mesh(); },
      [&] { filum_bench::append_points<2>(created, c.pos); });
}

// The spline through 64 nodes of the unit circle at the uniform size 0.001.
void circle64_uniform_size(benchmark::State& state) {
  spline_case c(64, unit_circle, 0.001);
  run(state, c);
}

// The same spline sized by its curvature alone: chordal error 1e-4, sizes above its length.
void circle64_curvature_only(benchmark::State& state) {
  spline_case c(64, unit_circle, 10);
  c.chordal_tol = 1e-4;
  run(state, c);
}

// A closed three-lobed curve of range(0) nodes meshed at a uniform size that gives about ten
// elements per node; the midpoint counters do not apply.
void lobed_curve_ten_per_node(benchmark::State& state) {
  const std::size_t m = static_cast<std::size_t>(state.range(0));
  auto lobed = [](double a) {
    const double r = 1 + 0.3 * std::cos(3 * a);
    return std::pair<double, double>{r * std::cos(a), r * std::sin(a)};
  };
  spline_case c(m, lobed, 1.0);
  double length = 0;  // of the node polygon
  for (std::size_t k = 0; k < m; ++k)
    length += std::hypot(c.given(0, (k + 1) % m) - c.given(0, k),
                         c.given(1, (k + 1) % m) - c.given(1, k));
  c.sizes = dense1D<double>(m + 3, length / (10 * static_cast<double>(m)));
  run(state, c);
  state.counters.erase("node_off_circle");
  state.counters.erase("midpoint_off_circle");
}

}  // namespace

BENCHMARK(circle64_uniform_size)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(circle64_curvature_only)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(lobed_curve_ten_per_node)
    ->RangeMultiplier(10)
    ->Range(10000, 1000000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
