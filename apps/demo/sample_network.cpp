#include "sample_network.h"

#include <algorithm>
#include <cmath>

namespace demo {
namespace {

constexpr double pi = 3.14159265358979323846;

// A closed blob r(θ) = radius (1 + wobble(θ)) around (cx, cy), n points, not repeated,
// spaced unevenly on purpose (the spacing varies by a factor of four along the curve).
template <class Wobble>
std::vector<double> blob(double cx, double cy, double radius, int n, Wobble wobble) {
  std::vector<double> p;
  for (int k = 0; k < n; ++k) {
    const double s = static_cast<double>(k) / n;
    const double theta = 2 * pi * s + 0.3 * std::sin(4 * pi * s);
    const double r = radius * (1 + wobble(theta));
    p.push_back(cx + r * std::cos(theta));
    p.push_back(cy + r * std::sin(theta));
  }
  return p;
}

// Half thickness of the NACA 0012 section with a closed, sharp trailing edge (chord 1).
double naca0012_thickness(double x) {
  return 0.6 * (0.2969 * std::sqrt(x) - 0.1260 * x - 0.3516 * x * x + 0.2843 * x * x * x -
                0.1036 * x * x * x * x);
}

// The airfoil as a coarse input: n points per side with cosine spacing. Chord 1 from
// (x0, y0), turned by alpha; the loop starts at the trailing edge, runs over the upper
// side and back along the lower side.
std::vector<double> naca0012(double x0, double y0, double alpha, int n) {
  std::vector<double> p;
  auto put = [&](double x, double y) {
    p.push_back(x0 + std::cos(alpha) * x + std::sin(alpha) * y);
    p.push_back(y0 - std::sin(alpha) * x + std::cos(alpha) * y);
  };
  for (int k = 0; k < n; ++k) {
    const double x = 0.5 * (1 + std::cos(pi * k / n));
    put(x, naca0012_thickness(x));
  }
  for (int k = 0; k < n; ++k) {
    const double x = 0.5 * (1 - std::cos(pi * k / n));
    put(x, -naca0012_thickness(x));
  }
  return p;
}

}  // namespace

network sample_network() {
  network net;
  net.dim = 2;
  net.names = {"channel bottom", "channel outlet", "channel top", "channel inlet",
               "airfoil",        "coastline",      "island A",    "island B"};
  // The channel: four coarse walls of their own colors sharing the corner nodes.
  const double wall = 0.06;
  const double corners[4][2] = {{-0.6, -0.6}, {1.8, -0.6}, {1.8, 0.6}, {-0.6, 0.6}};
  unsigned corner[4];
  for (int c = 0; c < 4; ++c)
    corner[c] = net.add_node(corners[c], wall);
  const int segments[4] = {6, 3, 6, 4};
  unsigned inlet = 0;
  for (unsigned w = 0; w < 4; ++w) {
    const double* a = corners[w];
    const double* b = corners[(w + 1) % 4];
    std::vector<unsigned> chain{corner[w]};
    for (int k = 1; k < segments[w]; ++k) {
      const double t = static_cast<double>(k) / segments[w];
      const double p[2] = {a[0] + t * (b[0] - a[0]), a[1] + t * (b[1] - a[1])};
      chain.push_back(net.add_node(p, wall));
    }
    chain.push_back(corner[(w + 1) % 4]);
    inlet = net.add_chain(chain, w);
  }
  net.hard_edges.push_back(inlet + 1);  // an inlet port, kept exactly as it is

  // The airfoil, slightly inclined inside the channel: fine at both edges, coarser between.
  const double alpha = 4 * pi / 180;
  const std::vector<double> airfoil = naca0012(0.0, 0.02, alpha, 25);
  const unsigned first = static_cast<unsigned>(net.node_count());
  net.add_polyline(airfoil, true, 4, 0);
  for (std::size_t k = 0; k < airfoil.size() / 2; ++k) {
    const double x =
        std::cos(alpha) * airfoil[2 * k] - std::sin(alpha) * (airfoil[2 * k + 1] - 0.02);
    net.node_sizes[first + k] = 0.005 + 0.04 * x * (1 - x);
  }

  // The coastline with two islands, to the right.
  net.add_polyline(blob(3.6, 0.0, 1.2, 300,
                        [](double t) {
                          return 0.15 * std::sin(3 * t) + 0.07 * std::cos(7 * t) +
                                 0.04 * std::sin(13 * t);
                        }),
                   true, 5, 0.05);
  net.add_polyline(blob(3.3, 0.35, 0.22, 40, [](double t) { return 0.2 * std::sin(2 * t); }), true,
                   6, 0.025);
  net.add_polyline(blob(4.0, -0.4, 0.16, 30, [](double t) { return 0.1 * std::cos(3 * t); }), true,
                   7, 0.025);
  net.zoom = {-0.05, -0.14, 0.55, 0.18};  // the front half of the airfoil
  return net;
}

network network_from_file(const vorn::filum::io::line_network& file) {
  network net;
  static_cast<vorn::filum::io::line_network&>(net) = file;
  const auto dim = static_cast<std::size_t>(file.dim);
  std::vector<double> lo(dim, 1e300), hi(dim, -1e300);
  for (std::size_t k = 0; k < file.coords.size(); ++k) {
    lo[k % dim] = std::min(lo[k % dim], file.coords[k]);
    hi[k % dim] = std::max(hi[k % dim], file.coords[k]);
  }
  double diagonal = 0;
  for (std::size_t i = 0; i < dim; ++i)
    diagonal += (hi[i] - lo[i]) * (hi[i] - lo[i]);
  const double size = std::sqrt(diagonal) / 40;
  net.node_sizes.assign(net.node_count(), size > 0 ? size : 1);
  if (net.colors.empty()) net.colors.assign(net.element_count(), 0);
  unsigned colors = 0;
  for (unsigned c : net.colors)
    if (c != vorn::filum::io::none) colors = std::max(colors, c + 1);
  for (unsigned c = 0; c < colors; ++c)
    net.names.push_back(c < file.color_names.size() && !file.color_names[c].empty()
                            ? file.color_names[c]
                            : "line " + std::to_string(c + 1));
  return net;
}

}  // namespace demo
