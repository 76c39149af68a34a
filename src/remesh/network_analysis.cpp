#include "remesh/network_analysis.h"

#include <algorithm>

#include <vorn/filum.h>
#include <vorn/tessa.h>

#include "frame/checks.h"
#include "geometry/length.h"
#include "remesh/detect_corners.h"
#include "remesh/extract_lines.h"
#include "remesh/line_chain.h"

namespace vorn {
namespace filum {
namespace {

// Inserts key; false when storage ran out.
bool add(node_set& set, unsigned key) noexcept {
  return set.insert(key) != node_set::insertion::failed;
}

// Inserts every entry of a matrix; false when storage ran out.
bool add_all(node_set& set, const dense2D<unsigned>& keys) noexcept {
  for (std::size_t j = 0; j < keys.cols(); ++j)
    for (std::size_t i = 0; i < keys.rows(); ++i)
      if (!add(set, keys(i, j))) return false;
  return true;
}

// Builds the sets, the size field at default_size and the lines. The code of the color
// boundary search goes to color_code: it ends the call only once the sizes are set.
// A neighbor table built here is released once the lines are cut.
template <std::size_t D>
int cut_into_lines(const dense2D<double>& pos, const dense2D<unsigned>& connectM,
                   const dense1D<unsigned>& colors, const dense1D<unsigned>& hard_nodes,
                   const dense1D<unsigned>& hard_edges, const remesh_settings& settings,
                   const dense2D<unsigned>* given_neighbors, const dense1D<unsigned>* corners,
                   line_network& net, int& color_code) noexcept {
  const std::size_t E = connectM.cols();
  const unsigned N = largest_node(connectM);
  if (!net.line_elements.reserve(E) ||
      !net.sizes.resize(std::size_t{N} + 1, settings.default_size) ||
      !net.hard_nodes.reserve(E / 10 + hard_edges.size() + hard_nodes.size()) ||
      !net.hard_edges.reserve(hard_edges.size()) || !net.hard_edges.insert_all(hard_edges))
    return storage_failure;
  dense2D<unsigned> own_neighbors;
  if (!given_neighbors) {
    const int neighbors_code = tessa::get_neighbors(connectM, edge2, false, own_neighbors);
    if (neighbors_code < 0) return neighbors_code;
  }
  const dense2D<unsigned>& neighbors = given_neighbors ? *given_neighbors : own_neighbors;
  if (corners) {
    for (unsigned node : *corners)
      if (!add(net.hard_nodes, node)) return storage_failure;
  } else {
    const int corners_code = detect_corners<D>(pos, connectM, neighbors, settings.corner_angle,
                                               settings.min_size, net.hard_nodes);
    if (corners_code < 0) return corners_code;
  }
  for (unsigned e : hard_edges)
    if (!add(net.hard_nodes, connectM(0, e)) || !add(net.hard_nodes, connectM(1, e)))
      return storage_failure;
  for (unsigned node : hard_nodes)
    if (node <= N && !add(net.hard_nodes, node)) return storage_failure;
  color_code = 0;
  if (!colors.empty()) {
    dense2D<unsigned> boundaries;
    color_code =
        tessa::get_colors_boundaries(connectM, neighbors, colors, edge2, false, true, boundaries);
    if (color_code >= 0 && !add_all(net.hard_nodes, boundaries)) return storage_failure;
  }
  return extract_lines(connectM, neighbors, net.hard_nodes, net.line_starts, net.line_elements);
}

// Lowers the size of both end nodes of every line to the line's length (at least
// min_size), then gives each node of the line with a positive node_sizes entry that
// entry; so every node ends with its own entry, or default_size capped at the line ends.
template <std::size_t D>
int size_line_ends(const dense2D<double>& pos, const dense2D<unsigned>& connectM,
                   const dense1D<double>& node_sizes, double min_size, line_network& net) noexcept {
  dense1D<unsigned> chain;
  if (!chain.reserve(net.longest_line() + 1)) return storage_failure;
  for (std::size_t i = 0; i < net.line_count(); ++i) {
    if (line_chain(connectM, net.line_starts, net.line_elements, i, chain) != 0)
      return storage_failure;
    double length = 0;
    chain_length<D>(pos, chain, length);
    const double cap = length < min_size ? min_size : length;
    double& first = net.sizes[chain[0]];
    first = std::min(first, cap);
    double& last = net.sizes[chain[chain.size() - 1]];
    last = std::min(last, cap);
    for (unsigned node : chain)
      if (node < node_sizes.size() && node_sizes[node] > 0) net.sizes[node] = node_sizes[node];
  }
  return 0;
}

}  // namespace

std::size_t line_network::longest_line() const noexcept {
  std::size_t longest = 0;
  for (std::size_t i = 0; i < line_count(); ++i)
    longest = std::max(longest, element_count(i));
  return longest;
}

template <std::size_t D>
int analyze_network(const dense2D<double>& pos, const dense2D<unsigned>& connectM,
                    const dense1D<unsigned>& colors, const dense1D<unsigned>& hard_nodes,
                    const dense1D<unsigned>& hard_edges, const dense1D<double>& node_sizes,
                    const remesh_settings& settings, line_network& net,
                    const dense2D<unsigned>* neighbors, const dense1D<unsigned>* corners) noexcept {
  int color_code = 0;
  const int code = cut_into_lines<D>(pos, connectM, colors, hard_nodes, hard_edges, settings,
                                     neighbors, corners, net, color_code);
  if (code < 0) return code;
  const int sizes_code = size_line_ends<D>(pos, connectM, node_sizes, settings.min_size, net);
  return sizes_code < 0 ? sizes_code : color_code;
}

template int analyze_network<2>(const dense2D<double>&, const dense2D<unsigned>&,
                                const dense1D<unsigned>&, const dense1D<unsigned>&,
                                const dense1D<unsigned>&, const dense1D<double>&,
                                const remesh_settings&, line_network&, const dense2D<unsigned>*,
                                const dense1D<unsigned>*) noexcept;
template int analyze_network<3>(const dense2D<double>&, const dense2D<unsigned>&,
                                const dense1D<unsigned>&, const dense1D<unsigned>&,
                                const dense1D<unsigned>&, const dense1D<double>&,
                                const remesh_settings&, line_network&, const dense2D<unsigned>*,
                                const dense1D<unsigned>*) noexcept;

line_colors::line_colors(const dense1D<unsigned>& colors) noexcept : colors_(colors) {
  const unsigned top = tessa::max_ID(colors);
  next_ = top == no_id ? 0 : top + 1;
}

unsigned line_colors::of(const unsigned* elements, std::size_t count) noexcept {
  for (std::size_t k = 0; k < count; ++k)
    if (elements[k] < colors_.size() && colors_[elements[k]] != no_id) return colors_[elements[k]];
  return next_++;
}

bool sorted_hard_nodes(const node_set& hard, dense1D<unsigned>& hard_nodes) noexcept {
  if (!hard_nodes.reserve(hard.size())) return false;
  hard_nodes.clear();
  hard_nodes.resize(hard.size());
  std::copy(hard.begin(), hard.end(), hard_nodes.begin());
  std::sort(hard_nodes.begin(), hard_nodes.end());
  return true;
}

}  // namespace filum
}  // namespace vorn
