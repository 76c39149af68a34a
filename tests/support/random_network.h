#ifndef FILUM_TESTS_SUPPORT_RANDOM_NETWORK_H
#define FILUM_TESTS_SUPPORT_RANDOM_NETWORK_H

// Random line networks for the property tests of remesh_lines and of the network engine.

#include <cmath>
#include <random>
#include <vector>

#include <vorn/dense.h>

#include "support/filum_test.h"

namespace filum_test {

/// A network and the arguments that go with it.
struct random_lines {
  vorn::dense2D<double> pos;
  vorn::dense2D<unsigned> connectM;
  vorn::dense1D<unsigned> colors, hard_nodes, hard_edges;
  vorn::dense1D<double> node_sizes;
};

/// Closed loops, smooth open walks with sharp corners, walks that start on an earlier node
/// (joints), free ends, a few reversed elements, runs of colors with gaps (no color), a
/// hard node inside the network and one beyond it, a hard edge and a node size; in `rows`
/// rows (2 or 3), every coordinate offset + scale x.
inline random_lines random_network(unsigned seed, std::size_t rows, double scale = 1,
                                   double offset = 0) {
  const double pi = std::acos(-1.0);
  const unsigned none = 0xFFFFFFFFu;
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> u(0, 1);
  std::vector<double> xyz;
  std::vector<unsigned> ends, color;
  auto point = [&](double x, double y, double z) {
    xyz.insert(xyz.end(), {x, y, z});
    return static_cast<unsigned>(xyz.size() / 3 - 1);
  };
  auto element = [&](unsigned a, unsigned b, unsigned c) {
    const bool flip = rng() % 11 == 0;
    ends.insert(ends.end(), {flip ? b : a, flip ? a : b}), color.push_back(c);
  };
  const int lines = 3 + static_cast<int>(rng() % 5);
  for (int l = 0; l < lines; ++l) {
    const unsigned line_color = rng() % 4 == 0 ? none : static_cast<unsigned>(rng() % 3);
    const unsigned m = 6 + rng() % 40;
    if (rng() % 3 == 0) {  // closed loop
      const double cx = 3 * u(rng), cy = 3 * u(rng), r = 0.05 + u(rng);
      const unsigned first = static_cast<unsigned>(xyz.size() / 3);
      for (unsigned k = 0; k < m; ++k) {
        const double t = 2 * pi * k / m;
        point(cx + r * std::cos(t), cy + r * std::sin(t), 0.1 * std::sin(3 * t));
        element(first + k, first + (k + 1) % m, line_color);
      }
      continue;
    }
    unsigned previous = xyz.empty() || rng() % 2 ? point(3 * u(rng), 3 * u(rng), 0)
                                                 : static_cast<unsigned>(rng() % (xyz.size() / 3));
    double heading = 2 * pi * u(rng);
    for (unsigned k = 0; k < m; ++k) {
      heading += rng() % 9 == 0 ? pi / 2 : 0.2 * (u(rng) - 0.5);
      const double step = 0.02 + 0.06 * u(rng);
      const unsigned next = point(xyz[3 * previous] + step * std::cos(heading),
                                  xyz[3 * previous + 1] + step * std::sin(heading), 0.05 * u(rng));
      const bool second_half = k > m / 2 && line_color != none;  // a color change
      element(previous, next, k % 7 == 6 ? none : line_color + 3 * second_half);
      previous = next;
    }
  }
  for (double& x : xyz)
    x = offset + scale * x;
  const std::size_t N = xyz.size() / 3, E = color.size();
  random_lines c{columns_from(xyz, 3, rows),   columns_from(ends, 2, 2), dense_copy(color), {}, {},
                 vorn::dense1D<double>(N, 0.0)};
  c.hard_nodes = ids({static_cast<unsigned>(rng() % N), static_cast<unsigned>(N + 5)});
  c.hard_edges = ids({static_cast<unsigned>(rng() % E)});
  c.node_sizes[rng() % N] = 0.03 * scale;
  return c;
}

}  // namespace filum_test

#endif
