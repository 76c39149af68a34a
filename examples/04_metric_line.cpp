// Metrics feeding mesh_line: anisotropic metrics built at the two ends of a line, then the
// line meshed to unit length in them. What counts is the size each metric asks for along
// the line: 0.2 at the start, where the metric's short direction lies along the line, and
// 1.5 at the end, where its short direction lies across the line.
#include <cmath>
#include <cstdio>

#include <vorn/filum.h>
using namespace vorn;

int main() {
  dense2D<double> pos(2, 2);  // the line from (0, 0) to (10, 0)
  pos(0, 1) = 10;
  dense1D<unsigned> chain(2);
  chain[1] = 1;

  dense2D<double> directions(2, 2);  // node 0 looks along x, node 1 along y
  directions(0, 0) = 1, directions(1, 1) = 1;
  dense2D<double> metrics;  // grows to one packed (m11, m12, m22) column per node
  dense1D<unsigned> start(1, 0u), end(1, 1u);
  int code = filum::metrics_gen_aniso2d(directions, start, /*h1=*/0.2, /*h2=*/3, metrics);
  if (code == 0) code = filum::metrics_gen_aniso2d(directions, end, 0.5, 1.5, metrics);
  if (code != 0) return std::printf("metrics_gen_aniso2d failed: %d\n", code), 1;
  for (unsigned node = 0; node < 2; ++node)
    std::printf("node %u: size %.2f along x, %.2f along y\n", node, 1 / std::sqrt(metrics(0, node)),
                1 / std::sqrt(metrics(2, node)));

  dense1D<unsigned> new_chain;
  dense1D<double> new_params;
  dense2D<double> new_metrics;
  code = filum::mesh_line(pos, chain, metrics, /*force_even=*/false, /*min_elements=*/1,
                          /*max_elements=*/1000, /*chordal_tol=*/0, /*min_size=*/0, new_chain,
                          new_params, new_metrics);
  if (code != 0) return std::printf("mesh_line failed: %d\n", code), 1;
  const std::size_t last = new_chain.size() - 1;
  std::printf("%zu elements from %.2f to %.2f\n", last, pos(0, new_chain[1]) - pos(0, new_chain[0]),
              pos(0, new_chain[last]) - pos(0, new_chain[last - 1]));
}
