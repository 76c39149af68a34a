#include "network_summary.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace filum_cli {
namespace {

namespace io = vorn::filum::io;

// Union-find over the elements, joined through the nodes a line passes straight through.
struct element_sets {
  std::vector<std::size_t> parent;
  explicit element_sets(std::size_t n) : parent(n) { std::iota(parent.begin(), parent.end(), 0); }
  std::size_t find(std::size_t e) {
    while (parent[e] != e)
      e = parent[e] = parent[parent[e]];
    return e;
  }
  void join(std::size_t a, std::size_t b) { parent[find(a)] = find(b); }
};

double element_length(const io::line_network& net, std::size_t e) {
  const auto dim = static_cast<std::size_t>(net.dim);
  double d = 0;
  for (std::size_t i = 0; i < dim; ++i) {
    const double x =
        net.coords[net.edges[2 * e + 1] * dim + i] - net.coords[net.edges[2 * e] * dim + i];
    d += x * x;
  }
  return std::sqrt(d);
}

// The turning angle in degrees at the node where element a ends and element b starts.
double turning_angle(const io::line_network& net, std::size_t a, std::size_t b) {
  const auto dim = static_cast<std::size_t>(net.dim);
  double u[3] = {0, 0, 0}, v[3] = {0, 0, 0};
  for (std::size_t i = 0; i < dim; ++i) {
    u[i] = net.coords[net.edges[2 * a + 1] * dim + i] - net.coords[net.edges[2 * a] * dim + i];
    v[i] = net.coords[net.edges[2 * b + 1] * dim + i] - net.coords[net.edges[2 * b] * dim + i];
  }
  const double nu = std::sqrt(u[0] * u[0] + u[1] * u[1] + u[2] * u[2]);
  const double nv = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
  if (nu == 0 || nv == 0) return 0;
  const double c = (u[0] * v[0] + u[1] * v[1] + u[2] * v[2]) / (nu * nv);
  return std::acos(std::max(-1.0, std::min(1.0, c))) * 180 / 3.14159265358979323846;
}

}  // namespace

network_summary summarize(const io::line_network& net, double corner_angle, bool from_gis) {
  network_summary s;
  const auto dim = static_cast<std::size_t>(net.dim);
  s.nodes = net.node_count();
  s.elements = net.element_count();
  s.low.assign(dim, 0);
  s.high.assign(dim, 0);
  for (std::size_t k = 0; k < s.nodes; ++k)
    for (std::size_t i = 0; i < dim; ++i) {
      const double x = net.coords[k * dim + i];
      s.low[i] = k == 0 ? x : std::min(s.low[i], x);
      s.high[i] = k == 0 ? x : std::max(s.high[i], x);
    }
  s.looks_geographic = from_gis && dim == 2 && s.nodes > 0 && s.low[0] >= -180 &&
                       s.high[0] <= 360 && s.low[1] >= -90 && s.high[1] <= 90 &&
                       s.high[0] - s.low[0] > 0.01;

  std::vector<unsigned> colors = net.colors;
  std::sort(colors.begin(), colors.end());
  colors.erase(std::unique(colors.begin(), colors.end()), colors.end());
  s.colors = colors.size() - (!colors.empty() && colors.back() == io::none ? 1 : 0);

  for (std::size_t e = 0; e < s.elements; ++e) {
    const double h = element_length(net, e);
    s.total_length += h;
    s.shortest = e == 0 ? h : std::min(s.shortest, h);
    s.longest = std::max(s.longest, h);
  }

  // The elements that end (slot 0) and start (slot 1) at each node of degree 2 or less.
  std::vector<unsigned> degree(s.nodes, 0);
  std::vector<std::size_t> ending(s.nodes, s.elements), starting(s.nodes, s.elements);
  for (std::size_t e = 0; e < s.elements; ++e) {
    ++degree[net.edges[2 * e]], ++degree[net.edges[2 * e + 1]];
    ending[net.edges[2 * e + 1]] = e;
    starting[net.edges[2 * e]] = e;
  }
  element_sets sets(s.elements);
  std::vector<char> passes(s.nodes, 0);
  for (std::size_t n = 0; n < s.nodes; ++n) {
    if (degree[n] != 2 || ending[n] == s.elements || starting[n] == s.elements) continue;
    const std::size_t a = ending[n], b = starting[n];
    if (a == b || net.color(a) != net.color(b) || turning_angle(net, a, b) > corner_angle) continue;
    passes[n] = 1;
    sets.join(a, b);
  }
  // A line is a set; it is a closed loop when every node it uses is passed through.
  std::vector<std::size_t> elements_in(s.elements, 0), passed_in(s.elements, 0);
  for (std::size_t e = 0; e < s.elements; ++e)
    ++elements_in[sets.find(e)];
  for (std::size_t n = 0; n < s.nodes; ++n)
    if (passes[n]) ++passed_in[sets.find(ending[n])];
  for (std::size_t e = 0; e < s.elements; ++e) {
    if (sets.find(e) != e) continue;
    ++s.lines;
    if (passed_in[e] == elements_in[e]) ++s.closed_loops;
  }
  return s;
}

}  // namespace filum_cli
