#include <vorn/filum/io/network.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <unordered_map>

namespace vorn {
namespace filum {
namespace io {
namespace {

// The grid cell of a node: its coordinates divided by the cell size, rounded down (held
// within the range of the integers for far-away nodes, which then share border cells).
using cell_key = std::array<std::int64_t, 3>;

struct cell_hash {
  std::size_t operator()(const cell_key& k) const {
    std::uint64_t h = 1469598103934665603ull;
    for (std::int64_t v : k)
      h = (h ^ static_cast<std::uint64_t>(v)) * 1099511628211ull;
    return static_cast<std::size_t>(h ^ (h >> 29));
  }
};

cell_key key_of(const double* p, int dim, double cell) {
  cell_key key{0, 0, 0};
  for (int i = 0; i < dim && i < 3; ++i)
    key[i] = static_cast<std::int64_t>(std::max(-4e18, std::min(4e18, std::floor(p[i] / cell))));
  return key;
}

double distance(const double* a, const double* b, int dim) {
  double d = 0;
  for (int i = 0; i < dim; ++i)
    d += (a[i] - b[i]) * (a[i] - b[i]);
  return std::sqrt(d);
}

// Keeps the nodes where keep[n] is set, in order; returns the new index of every node
// (none for the removed ones) and compacts coordinates, tags and point arrays.
std::vector<unsigned> compact_nodes(line_network& net, const std::vector<char>& keep) {
  const std::size_t n = net.node_count();
  const auto dim = static_cast<std::size_t>(net.dim);
  std::vector<unsigned> index(n, none);
  unsigned next = 0;
  for (std::size_t k = 0; k < n; ++k) {
    if (!keep[k]) continue;
    index[k] = next;
    for (std::size_t i = 0; i < dim; ++i)
      net.coords[next * dim + i] = net.coords[k * dim + i];
    if (!net.node_tags.empty()) net.node_tags[next] = net.node_tags[k];
    for (named_array& a : net.point_arrays)
      for (unsigned c = 0; c < a.components; ++c)
        a.values[next * a.components + c] = a.values[k * a.components + c];
    ++next;
  }
  net.coords.resize(next * dim);
  if (!net.node_tags.empty()) net.node_tags.resize(next);
  for (named_array& a : net.point_arrays)
    a.values.resize(std::size_t(next) * a.components);
  return index;
}

// Equal coordinates: the nodes sorted by coordinates (then by index) form runs of equal
// nodes; each joins the first of its run.
void target_equal_coordinates(const line_network& net, std::vector<unsigned>& target,
                              std::vector<char>& keep) {
  const std::size_t n = net.node_count();
  const auto dim = static_cast<std::size_t>(net.dim);
  std::vector<unsigned> order(n);
  for (std::size_t k = 0; k < n; ++k)
    order[k] = static_cast<unsigned>(k);
  auto less = [&](unsigned a, unsigned b) {
    for (std::size_t i = 0; i < dim; ++i) {
      const double x = net.coords[a * dim + i], y = net.coords[b * dim + i];
      if (x != y) return x < y;
    }
    return a < b;
  };
  std::sort(order.begin(), order.end(), less);
  for (std::size_t k = 0; k < n; ++k) {
    const unsigned node = order[k];
    const bool same =
        k > 0 && std::equal(&net.coords[order[k - 1] * dim], &net.coords[order[k - 1] * dim] + dim,
                            &net.coords[node * dim]);
    target[node] = same ? target[order[k - 1]] : node;
    keep[node] = !same;
  }
}

// Within a tolerance: a grid of cells of that size, each cell a linked list of the nodes
// kept in it; a node joins the first kept node within the tolerance in its 3^dim cells.
void target_within_tolerance(const line_network& net, double tolerance,
                             std::vector<unsigned>& target, std::vector<char>& keep) {
  const std::size_t n = net.node_count();
  const int dim = net.dim;
  std::unordered_map<cell_key, unsigned, cell_hash> heads;
  std::vector<unsigned> next(n, none);
  for (std::size_t k = 0; k < n; ++k) {
    const double* p = &net.coords[k * dim];
    const cell_key home = key_of(p, dim, tolerance);
    unsigned found = none;
    for (int dx = -1; dx <= 1 && found == none; ++dx)
      for (int dy = -1; dy <= 1 && found == none; ++dy)
        for (int dz = (dim == 3 ? -1 : 0); dz <= (dim == 3 ? 1 : 0) && found == none; ++dz) {
          const auto it = heads.find(cell_key{home[0] + dx, home[1] + dy, home[2] + dz});
          for (unsigned other = it == heads.end() ? none : it->second; other != none;
               other = next[other])
            if (distance(p, &net.coords[std::size_t(other) * dim], dim) <= tolerance) {
              found = other;
              break;
            }
        }
    target[k] = found == none ? static_cast<unsigned>(k) : found;
    keep[k] = found == none;
    if (found != none) continue;
    const auto slot = heads.emplace(home, static_cast<unsigned>(k));
    if (!slot.second) {  // prepend to the cell's list
      next[k] = slot.first->second;
      slot.first->second = static_cast<unsigned>(k);
    }
  }
}

}  // namespace

void validate(const line_network& net, const std::string& name) {
  if (net.dim != 2 && net.dim != 3)
    throw error(name + ": expected 2 or 3 coordinates per node, found " + std::to_string(net.dim));
  const std::size_t n = net.node_count();
  for (std::size_t k = 0; k < net.coords.size(); ++k)
    if (!std::isfinite(net.coords[k]))
      throw error(name + ": node " + std::to_string(k / net.dim + 1) +
                  ": expected finite coordinates, found " + std::to_string(net.coords[k]));
  for (std::size_t k = 0; k < net.edges.size(); ++k)
    if (net.edges[k] >= n)
      throw error(name + ": element " + std::to_string(k / 2 + 1) + ": expected a node below " +
                  std::to_string(n) + ", found " + std::to_string(net.edges[k]));
  if (!net.colors.empty() && net.colors.size() != net.element_count())
    throw error(name + ": expected one color per element, found " +
                std::to_string(net.colors.size()));
  if (!net.node_tags.empty() && net.node_tags.size() != n)
    throw error(name + ": expected one tag per node, found " +
                std::to_string(net.node_tags.size()));
  for (const named_array& a : net.point_arrays)
    if (a.values.size() != n * a.components)
      throw error(name + ": point array '" + a.name + "': expected " +
                  std::to_string(n * a.components) + " values, found " +
                  std::to_string(a.values.size()));
  for (const named_array& a : net.cell_arrays)
    if (a.values.size() != net.element_count() * a.components)
      throw error(name + ": cell array '" + a.name + "': expected " +
                  std::to_string(net.element_count() * a.components) + " values, found " +
                  std::to_string(a.values.size()));
}

std::size_t merge_coincident_nodes(line_network& net, double tolerance,
                                   std::vector<unsigned>* old_to_new) {
  const std::size_t n = net.node_count();
  std::vector<unsigned> target(n);
  std::vector<char> keep(n, 1);
  if (tolerance > 0) {
    target_within_tolerance(net, tolerance, target, keep);
  } else {
    target_equal_coordinates(net, target, keep);
  }
  const std::vector<unsigned> index = compact_nodes(net, keep);
  if (old_to_new) {
    old_to_new->resize(n);
    for (std::size_t k = 0; k < n; ++k)
      (*old_to_new)[k] = index[target[k]];
  }
  std::size_t kept = 0;
  for (std::size_t e = 0; e < net.element_count(); ++e) {
    const unsigned a = index[target[net.edges[2 * e]]], b = index[target[net.edges[2 * e + 1]]];
    if (a == b) continue;
    net.edges[2 * kept] = a;
    net.edges[2 * kept + 1] = b;
    if (!net.colors.empty()) net.colors[kept] = net.colors[e];
    for (named_array& c : net.cell_arrays)
      for (unsigned i = 0; i < c.components; ++i)
        c.values[kept * c.components + i] = c.values[e * c.components + i];
    ++kept;
  }
  net.edges.resize(2 * kept);
  if (!net.colors.empty()) net.colors.resize(kept);
  for (named_array& c : net.cell_arrays)
    c.values.resize(kept * c.components);
  return n - net.node_count();
}

std::size_t drop_unused_nodes(line_network& net) {
  const std::size_t n = net.node_count();
  std::vector<char> used(n, 0);
  for (unsigned id : net.edges)
    used[id] = 1;
  const std::vector<unsigned> index = compact_nodes(net, used);
  for (unsigned& id : net.edges)
    id = index[id];
  return n - net.node_count();
}

}  // namespace io
}  // namespace filum
}  // namespace vorn
