// Requests that exceed what storage can hold: a 10^6-long line with sizes 1e-9 and no
// element limit, and a graded extrusion with sizes 1e-300. Each is refused before any
// allocation; its baseline is the same call with sizes that give 10 elements.

#include <benchmark/benchmark.h>
#include <vorn/filum.h>

#include "support/baseline.h"

using namespace vorn;

namespace {

void BM_RefusedLine(benchmark::State& state) {
  dense2D<double> given(2, 2), pos;
  given(0, 1) = 1e6;
  dense1D<unsigned> chain(2), new_indices;
  chain[1] = 1;
  const dense1D<double> tiny(2, 1e-9), coarse(2, 1e5);
  dense1D<double> new_params, new_sizes;
  const auto mesh = [&](const dense1D<double>& sizes) {
    benchmark::DoNotOptimize(filum::mesh_line(pos, chain, sizes, false, 1, filum::no_id, 0, 0,
                                              new_indices, new_params, new_sizes));
  };
  filum_bench::run_against_baseline(
      state, 1, [&] { pos.copy(given), new_indices.clear(); }, [&] { mesh(tiny); },
      [&] { mesh(coarse); });
}
BENCHMARK(BM_RefusedLine)->UseManualTime();

void BM_RefusedExtrusion(benchmark::State& state) {
  dense2D<double> pos;
  dense1D<unsigned> row;
  const vector_fixed<double, 3> start(0, 0, 0), translation(1e6, 0, 0);
  const auto extrude = [&](double size) {
    benchmark::DoNotOptimize(
        filum::extrude_translate(pos, start, translation, size, size, false, row));
  };
  filum_bench::run_against_baseline(
      state, 1, [&] { pos = dense2D<double>(), row.clear(); }, [&] { extrude(1e-300); },
      [&] { extrude(1e5); });
}
BENCHMARK(BM_RefusedExtrusion)->UseManualTime();

}  // namespace
