// mesh_line with sizes on lines producing 10^5 .. 10^7 nodes, each beside a baseline that
// only appends the same number of points to a coordinates matrix.

#include <cmath>
#include <cstddef>
#include <cstdint>

#include <benchmark/benchmark.h>
#include <vorn/filum.h>

#include "frame/node_distribution.h"
#include "support/baseline.h"

using namespace vorn;

namespace {

constexpr double pi = 3.14159265358979323846;

// One line to mesh and the containers of a call.
struct line_case {
  dense2D<double> given;
  dense1D<unsigned> chain;
  dense1D<double> params, sizes;
  double chordal_tol = 0;

  dense2D<double> pos;
  dense1D<unsigned> new_indices;
  dense1D<double> new_params, new_sizes;

  // Fresh outputs, pos back to the given nodes.
  void reset() {
    pos.copy(given);
    new_indices = dense1D<unsigned>();
    new_params = dense1D<double>();
    new_sizes = dense1D<double>();
  }

  void mesh() {
    filum::mesh_line(pos, chain, params, sizes, false, 1, filum::no_id, chordal_tol, 0, new_indices,
                     new_params, new_sizes);
    benchmark::DoNotOptimize(pos.data());
  }
};

// Runs the case beside its baseline; items are the nodes the mesh creates.
void run(benchmark::State& state, line_case& c) {
  c.reset();
  c.mesh();
  const std::size_t created = c.pos.cols() - c.given.cols();
  filum_bench::run_against_baseline(
      state, static_cast<double>(created), [&] { c.reset(); }, [&] { c.mesh(); },
      [&] { filum_bench::append_points<2>(created, c.pos); });
  state.counters["nodes"] = static_cast<double>(created);
}

// Two nodes, sizes graded from 1 to 3 over a length that holds the requested count.
void straight_graded(benchmark::State& state) {
  const double nodes = static_cast<double>(state.range(0));
  line_case c;
  c.given = dense2D<double>(2, 2, 0.0);
  c.given(0, 1) = nodes * 2 / std::log(3.0);
  filum_bench::chain_of_all(c.given, c.chain, c.params);
  c.sizes = dense1D<double>(2, 1.0);
  c.sizes[1] = 3;
  run(state, c);
}

// A closed-looking polygon of 100000 nodes on the unit circle, sizes 1 capped by curvature
// to about 2 pi / count.
void circle_curvature_cap(benchmark::State& state) {
  const double nodes = static_cast<double>(state.range(0));
  const std::size_t n = 100000;
  line_case c;
  c.given = dense2D<double>(2, n);
  for (std::size_t k = 0; k < n; ++k) {
    const double a = 2 * pi * static_cast<double>(k) / static_cast<double>(n);
    c.given(0, k) = std::cos(a);
    c.given(1, k) = std::sin(a);
  }
  filum_bench::chain_of_all(c.given, c.chain, c.params);
  c.sizes = dense1D<double>(n, 1.0);
  const double h = 2 * pi / nodes;
  c.chordal_tol = -h * h / 8;
  run(state, c);
}

// A zigzag of 1000 corners with segments of irregular lengths, uniform size for the
// requested count, and a chordal tolerance of a hundredth of the size: the first mesh cuts
// the corners, and the refinement splits the line until every corner is in the mesh.
void zigzag_chordal_refinement(benchmark::State& state) {
  const double nodes = static_cast<double>(state.range(0));
  const std::size_t n = 1001;
  line_case c;
  c.given = dense2D<double>(2, n);
  double x = 0;
  for (std::size_t k = 0; k < n; ++k) {
    c.given(0, k) = x;
    c.given(1, k) = static_cast<double>(k % 2);
    x += 1 + 0.5 * std::sin(static_cast<double>(k));
  }
  filum_bench::chain_of_all(c.given, c.chain, c.params);
  const double h = c.params[n - 1] / nodes;
  c.sizes = dense1D<double>(n, h);
  c.chordal_tol = 0.01 * h;
  c.reset();
  c.mesh();
  std::size_t corners_in_mesh = 0;
  for (std::size_t j = 0; j < c.new_indices.size(); ++j)
    corners_in_mesh += c.new_indices[j] < n;
  run(state, c);
  state.counters["corners_in_mesh"] = static_cast<double>(corners_in_mesh);
}

}  // namespace

BENCHMARK(straight_graded)
    ->RangeMultiplier(10)
    ->Range(100000, 10000000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(circle_curvature_cap)
    ->RangeMultiplier(10)
    ->Range(100000, 10000000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(zigzag_chordal_refinement)
    ->RangeMultiplier(10)
    ->Range(100000, 10000000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
