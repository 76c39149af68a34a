// The network engine: 64 circles of radius 1, each given by 12 nodes, remeshed in parallel
// by remesh_network to elements of length 0.25 with the new nodes placed on each spline.
// The result does not depend on the number of threads.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include <vorn/filum/network.h>
using namespace vorn;

int main() {
  const unsigned circles = 64, ring = 12;
  const double pi = 3.14159265358979323846;
  dense2D<double> pos(2, circles * ring);
  dense2D<unsigned> elements(2, circles * ring);
  for (unsigned c = 0; c < circles; ++c) {
    const unsigned column = c % 8, row = c / 8;  // circle c is centred at (3 column, 3 row)
    for (unsigned k = 0; k < ring; ++k) {
      pos(0, c * ring + k) = 3.0 * column + std::cos(2 * pi * k / ring);
      pos(1, c * ring + k) = 3.0 * row + std::sin(2 * pi * k / ring);
      elements(0, c * ring + k) = c * ring + k,
                             elements(1, c * ring + k) = c * ring + (k + 1) % ring;
    }
  }

  filum::network_options options;
  options.size = 0.25;
  options.corner_angle = 45;  // the given nodes turn by 30 degrees: no corners
  options.node_placement = filum::placement::on_curve;
  dense1D<unsigned> colors, hard_nodes, hard_edges;
  dense1D<double> node_sizes;
  filum::network_report report;
  int code = filum::remesh_network(pos, elements, colors, hard_nodes, hard_edges, node_sizes,
                                   options, report);
  if (code != 0) return std::printf("remesh_network failed: %d\n", code), 1;

  double worst = 0;  // distance of the new nodes from the circle they were taken from
  for (std::size_t e = 0; e < elements.cols(); ++e) {
    const unsigned node = elements(0, e);
    const double x = pos(0, node) / 3, y = pos(1, node) / 3;
    const double radius = 3 * std::hypot(x - std::round(x), y - std::round(y));
    worst = std::max(worst, std::fabs(radius - 1));
  }
  std::printf("%zu elements in, %zu out, nodes within %.4f of their circles\n", report.elements_in,
              report.elements_out, worst);
  std::printf("threads used: %u\n", report.threads_used);
}
