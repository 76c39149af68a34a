#include "remesh/network_analysis.h"

#include <algorithm>

#include <vorn/filum.h>
#include <vorn/tessa.h>

#include "frame/checks.h"
#include "geometry/length.h"
#include "remesh/detect_corners.h"
#include "remesh/extract_lines.h"

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

}  // namespace

std::size_t line_network::longest_line() const noexcept {
  std::size_t longest = 0;
  for (std::size_t i = 0; i < line_count(); ++i)
    longest = std::max(longest, element_count(i));
  return longest;
}

template <std::size_t D>
int cut_into_lines(const dense2D<double>& pos, const dense2D<unsigned>& connectM,
                   const dense1D<unsigned>& colors, const dense1D<unsigned>& hard_nodes,
                   const dense1D<unsigned>& hard_edges, const remesh_settings& settings,
                   line_network& net, int& color_code, const dense2D<unsigned>* given_neighbors,
                   const dense1D<unsigned>* corners) noexcept {
  const std::size_t E = connectM.cols();
  const unsigned N = largest_node(connectM);
  if (!net.line_elements.reserve(E) ||
      !net.sizes.resize(std::size_t{N} + 1, settings.default_size) ||
      !net.hard_nodes.reserve((corners ? corners->size() : E / 10) + 2 * hard_edges.size() +
                              hard_nodes.size()) ||
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

template <std::size_t D>
double line_length(const dense2D<double>& pos, const dense2D<unsigned>& connectM,
                   const line_network& net, std::size_t i) noexcept {
  // The distances between consecutive nodes of the line's chain, in chain order.
  const unsigned* elements = net.elements_of(i);
  unsigned previous = connectM(0, elements[0]);
  double length = 0;
  for (std::size_t k = 0; k < net.element_count(i); ++k) {
    const unsigned node = connectM(1, elements[k]);
    length += distance<D>(pos, previous, node);
    previous = node;
  }
  return length;
}

void size_line_ends(const dense2D<unsigned>& connectM, const dense1D<double>& node_sizes,
                    double min_size, const dense1D<double>& lengths, line_network& net) noexcept {
  for (std::size_t i = 0; i < net.line_count(); ++i) {
    const double cap = lengths[i] < min_size ? min_size : lengths[i];
    const unsigned* elements = net.elements_of(i);
    double& first = net.sizes[connectM(0, elements[0])];
    first = std::min(first, cap);
    double& last = net.sizes[connectM(1, elements[net.element_count(i) - 1])];
    last = std::min(last, cap);
  }
  if (node_sizes.empty()) return;
  // A node's own size wins over every cap, whichever line capped it; every node of an
  // element is a node of some line.
  for (std::size_t e = 0; e < connectM.cols(); ++e)
    for (std::size_t side = 0; side < 2; ++side) {
      const unsigned node = connectM(side, e);
      if (node < node_sizes.size() && node_sizes[node] > 0) net.sizes[node] = node_sizes[node];
    }
}

template <std::size_t D>
int analyze_network(const dense2D<double>& pos, const dense2D<unsigned>& connectM,
                    const dense1D<unsigned>& colors, const dense1D<unsigned>& hard_nodes,
                    const dense1D<unsigned>& hard_edges, const dense1D<double>& node_sizes,
                    const remesh_settings& settings, line_network& net,
                    const dense2D<unsigned>* neighbors, const dense1D<unsigned>* corners) noexcept {
  int color_code = 0;
  const int code = cut_into_lines<D>(pos, connectM, colors, hard_nodes, hard_edges, settings, net,
                                     color_code, neighbors, corners);
  if (code < 0) return code;
  dense1D<double> lengths;
  if (!lengths.resize(net.line_count())) return storage_failure;
  for (std::size_t i = 0; i < net.line_count(); ++i)
    lengths[i] = line_length<D>(pos, connectM, net, i);
  size_line_ends(connectM, node_sizes, settings.min_size, lengths, net);
  return color_code;
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

template int cut_into_lines<2>(const dense2D<double>&, const dense2D<unsigned>&,
                               const dense1D<unsigned>&, const dense1D<unsigned>&,
                               const dense1D<unsigned>&, const remesh_settings&, line_network&,
                               int&, const dense2D<unsigned>*, const dense1D<unsigned>*) noexcept;
template int cut_into_lines<3>(const dense2D<double>&, const dense2D<unsigned>&,
                               const dense1D<unsigned>&, const dense1D<unsigned>&,
                               const dense1D<unsigned>&, const remesh_settings&, line_network&,
                               int&, const dense2D<unsigned>*, const dense1D<unsigned>*) noexcept;
template double line_length<2>(const dense2D<double>&, const dense2D<unsigned>&,
                               const line_network&, std::size_t) noexcept;
template double line_length<3>(const dense2D<double>&, const dense2D<unsigned>&,
                               const line_network&, std::size_t) noexcept;

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
