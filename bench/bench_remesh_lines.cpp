// remesh_lines on networks of closed curves of 5,000 nodes each (200 curves: 1,000,000 input
// elements; 20 curves: 100,000, to check linearity), uniform target size 0.01, along the
// polylines (chordal_tol 0) and through splines (chordal_tol 1e-4). The baseline meshes the
// same curves by calling the line mesher of the path directly on each curve's chain, so the
// ratio is the cost of the network handling on top of the meshing itself.

#include <cmath>
#include <cstddef>
#include <vector>

#include <benchmark/benchmark.h>
#include <vorn/filum.h>

#include "support/baseline.h"
#include "support/process_memory.h"

using namespace vorn;

namespace {

constexpr std::size_t nodes_per_curve = 5000;
constexpr double target_size = 0.01;
constexpr double two_pi = 6.283185307179586;

// The network and, per curve, what a direct call of a line mesher needs.
struct curve_network {
  dense2D<double> given_pos;
  dense2D<unsigned> given_connectM;
  std::vector<dense1D<unsigned>> chains, padded_chains;
  std::vector<double> lengths;
  dense1D<double> sizes;

  dense2D<double> pos;
  dense2D<unsigned> connectM;

  // Curve k: r = 1 + 0.3 sin(3 theta + k) + 0.1 cos(7 theta) (so r < 1.4), centered on a grid
  // of spacing 3, so that no two curves touch.
  explicit curve_network(std::size_t curves)
      : given_pos(2, curves * nodes_per_curve),
        given_connectM(2, curves * nodes_per_curve),
        sizes(nodes_per_curve + 3, target_size) {
    const std::size_t row = static_cast<std::size_t>(std::ceil(std::sqrt(curves)));
    for (std::size_t k = 0; k < curves; ++k) {
      const unsigned first = static_cast<unsigned>(k * nodes_per_curve);
      dense1D<unsigned> chain(nodes_per_curve + 1), padded(nodes_per_curve + 3);
      double length = 0;
      for (std::size_t i = 0; i < nodes_per_curve; ++i) {
        const double t = two_pi * static_cast<double>(i) / nodes_per_curve;
        const double r = 1 + 0.3 * std::sin(3 * t + static_cast<double>(k)) + 0.1 * std::cos(7 * t);
        const unsigned id = first + static_cast<unsigned>(i);
        given_pos(0, id) = 3.0 * static_cast<double>(k % row) + r * std::cos(t);
        given_pos(1, id) = 3.0 * static_cast<double>(k / row) + r * std::sin(t);
        given_connectM(0, id) = id;
        given_connectM(1, id) = first + static_cast<unsigned>((i + 1) % nodes_per_curve);
        chain[i] = padded[i + 1] = id;
        if (i > 0)
          length += std::hypot(given_pos(0, id) - given_pos(0, id - 1),
                               given_pos(1, id) - given_pos(1, id - 1));
      }
      length += std::hypot(given_pos(0, first + nodes_per_curve - 1) - given_pos(0, first),
                           given_pos(1, first + nodes_per_curve - 1) - given_pos(1, first));
      chain[nodes_per_curve] = padded[nodes_per_curve + 1] = first;
      padded[0] = chain[nodes_per_curve - 1];
      padded[nodes_per_curve + 2] = chain[1];
      chains.push_back(chain);
      padded_chains.push_back(padded);
      lengths.push_back(length);
    }
  }

  void reset() {
    pos.copy(given_pos);
    connectM.copy(given_connectM);
  }

  void remesh(double chordal_tol) {
    filum::remesh_lines(pos, connectM, target_size, false, 30, chordal_tol, 0, 0, 1, filum::no_id);
    benchmark::DoNotOptimize(connectM.data());
  }

  // The mesher of the path on each curve, with the tolerance remesh_lines gives it.
  void mesh_each_curve(double chordal_tol) {
    dense1D<unsigned> new_indices;
    dense1D<double> new_params, new_sizes;
    double deviation = 0;
    for (std::size_t k = 0; k < chains.size(); ++k) {
      new_indices.clear(), new_params.clear(), new_sizes.clear();
      if (chordal_tol == 0)
        filum::mesh_line(pos, chains[k], sizes, false, 1, filum::no_id, lengths[k] * 1e-12, 0,
                         new_indices, new_params, new_sizes);
      else
        filum::mesh_spline(pos, padded_chains[k], sizes, false, 1, filum::no_id, chordal_tol, 0,
                           target_size, 0, new_indices, new_params, new_sizes, deviation);
    }
    benchmark::DoNotOptimize(pos.data());
  }
};

// Arguments: the number of curves, and 0 for the polyline path or 1 for the spline path.
void remesh_closed_curves(benchmark::State& state) {
  curve_network network(static_cast<std::size_t>(state.range(0)));
  const double chordal_tol = state.range(1) == 0 ? 0 : 1e-4;
  const double input_elements = static_cast<double>(network.given_connectM.cols());
  network.reset();
  state.counters["peak_growth_MiB"] =
      filum_bench::measure_in_child([&] { network.remesh(chordal_tol); }).growth_mib();
  network.reset();
  network.remesh(chordal_tol);
  const double output_nodes = static_cast<double>(network.connectM.cols());  // closed lines
  filum_bench::run_against_baseline(
      state, input_elements, [&] { network.reset(); }, [&] { network.remesh(chordal_tol); },
      [&] { network.mesh_each_curve(chordal_tol); });
  state.counters["output_nodes"] = output_nodes;
  state.counters["output_nodes_per_second"] =
      state.counters["items_per_second"].value * output_nodes / input_elements;
}

}  // namespace

BENCHMARK(remesh_closed_curves)
    ->ArgsProduct({{20, 200}, {0, 1}})
    ->ArgNames({"curves", "spline"})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
