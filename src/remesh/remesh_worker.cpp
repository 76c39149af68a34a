#include "remesh/remesh_worker.h"

#include <algorithm>

#include <vorn/filum.h>
#include <vorn/tessa.h>

#include "connect/append_edge.h"
#include "frame/checks.h"
#include "geometry/length.h"
#include "remesh/detect_corners.h"
#include "remesh/extract_lines.h"
#include "remesh/line_chain.h"
#include "remesh/node_set.h"

namespace vorn {
namespace filum {
namespace {

// Chordal tolerance of the polyline mesher, relative to the line's length, when no spline
// is tried: given interior nodes stay in the mesh up to rounding.
constexpr double polyline_relative_tol = 1e-12;

// What the analysis of a network yields: the hard nodes and edges, the neighbour table,
// the lines in compressed form and the size of every node identifier 0 .. N.
struct network {
  node_set hard_nodes;
  node_set hard_edges;
  dense2D<unsigned> neighbors;
  dense1D<unsigned> line_starts;
  dense1D<unsigned> line_elements;
  dense1D<double> sizes;

  std::size_t line_count() const noexcept { return line_starts.size() - 1; }
  const unsigned* elements_of(std::size_t i) const noexcept {
    return line_elements.data() + line_starts[i];
  }
  std::size_t element_count(std::size_t i) const noexcept {
    return line_starts[i + 1] - line_starts[i];
  }
};

// The per-line working vectors, reserved once for the longest line and reused by every
// line, and the outputs of the line meshers, which keep their storage from line to line.
struct line_work {
  dense1D<unsigned> chain;         // the line's nodes in walking order
  dense1D<double> sizes;           // their sizes
  dense1D<unsigned> padded_chain;  // ghost, the line's nodes, ghost
  dense1D<double> padded_sizes;
  dense1D<unsigned> new_indices;
  dense1D<double> new_params;
  dense1D<double> new_sizes;

  bool reserve(std::size_t elements) noexcept {
    return chain.reserve(elements + 1) && sizes.reserve(elements + 1) &&
           padded_chain.reserve(elements + 3) && padded_sizes.reserve(elements + 3);
  }
};

// The new network as it is assembled, line after line.
struct new_network {
  dense2D<unsigned> connectM;
  dense1D<unsigned> colors;
};

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

// Builds the sets, the size field at default_size and the lines. The code of the colour
// boundary search goes to colour_code: it ends the call only once the sizes are set.
template <std::size_t D>
int analyse_network(const dense2D<double>& pos, const dense2D<unsigned>& connectM,
                    const dense1D<unsigned>& colors, const dense1D<unsigned>& hard_nodes,
                    const dense1D<unsigned>& hard_edges, const remesh_settings& settings,
                    network& net, int& colour_code) noexcept {
  const std::size_t E = connectM.cols();
  const unsigned N = largest_node(connectM);
  if (!net.line_elements.reserve(E) ||
      !net.sizes.resize(std::size_t{N} + 1, settings.default_size) ||
      !net.hard_nodes.reserve(E / 10 + hard_edges.size() + hard_nodes.size()) ||
      !net.hard_edges.reserve(hard_edges.size()) || !net.hard_edges.insert_all(hard_edges))
    return storage_failure;
  const int neighbors_code = tessa::get_neighbors(connectM, edge2, false, net.neighbors);
  if (neighbors_code < 0) return neighbors_code;
  const int corners_code = detect_corners<D>(pos, connectM, net.neighbors, settings.corner_angle,
                                             settings.min_size, net.hard_nodes);
  if (corners_code < 0) return corners_code;
  for (unsigned e : hard_edges)
    if (!add(net.hard_nodes, connectM(0, e)) || !add(net.hard_nodes, connectM(1, e)))
      return storage_failure;
  for (unsigned node : hard_nodes)
    if (node <= N && !add(net.hard_nodes, node)) return storage_failure;
  colour_code = 0;
  if (!colors.empty()) {
    dense2D<unsigned> boundaries;
    colour_code = tessa::get_colors_boundaries(connectM, net.neighbors, colors, edge2, false, true,
                                               boundaries);
    if (colour_code >= 0 && !add_all(net.hard_nodes, boundaries)) return storage_failure;
  }
  return extract_lines(connectM, net.neighbors, net.hard_nodes, net.line_starts, net.line_elements);
}

// The element count of the longest line.
std::size_t longest_line(const network& net) noexcept {
  std::size_t longest = 0;
  for (std::size_t i = 0; i < net.line_count(); ++i)
    longest = std::max(longest, net.element_count(i));
  return longest;
}

// Lowers the size of both end nodes of every line to the line's length (at least
// min_size), then gives each node of the line with a positive node_sizes entry that
// entry; so every node ends with its own entry, or default_size capped at the line ends.
template <std::size_t D>
int size_line_ends(const dense2D<double>& pos, const dense2D<unsigned>& connectM,
                   const dense1D<double>& node_sizes, double min_size, network& net,
                   dense1D<unsigned>& chain) noexcept {
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

// Hands out the colour of each line, in line order: the first real colour among its
// elements, or else the next new colour above every colour in use.
class line_colours {
 public:
  explicit line_colours(const dense1D<unsigned>& colors) noexcept : colors_(colors) {
    const unsigned top = tessa::max_ID(colors);
    next_ = top == no_id ? 0 : top + 1;
  }

  unsigned of(const unsigned* elements, std::size_t count) noexcept {
    for (std::size_t k = 0; k < count; ++k)
      if (elements[k] < colors_.size() && colors_[elements[k]] != no_id)
        return colors_[elements[k]];
    return next_++;
  }

 private:
  const dense1D<unsigned>& colors_;
  unsigned next_;
};

// Fills the line's sizes and the padded chain and sizes of the spline: a closed line
// takes its neighbours across the closing node as ghosts, an open one repeats its ends.
bool pad_line(const network& net, line_work& w) noexcept {
  const std::size_t n = w.chain.size();
  if (!w.sizes.resize(n) || !w.padded_chain.resize(n + 2) || !w.padded_sizes.resize(n + 2))
    return false;
  for (std::size_t k = 0; k < n; ++k) {
    w.sizes[k] = net.sizes[w.chain[k]];
    w.padded_chain[k + 1] = w.chain[k];
    w.padded_sizes[k + 1] = w.sizes[k];
  }
  const bool closed = w.chain[0] == w.chain[n - 1];
  w.padded_chain[0] = closed ? w.chain[n - 2] : w.chain[0];
  w.padded_chain[n + 1] = closed ? w.chain[1] : w.chain[n - 1];
  w.padded_sizes[0] = w.sizes[0];
  w.padded_sizes[n + 1] = w.sizes[n - 1];
  return true;
}

// Meshes the line in w.chain into w.new_indices: through the spline when chordal_tol is
// not 0, along the polyline when chordal_tol >= 0 and the spline strays beyond it or was
// not tried. pos keeps only the new nodes of the mesh that stands.
template <std::size_t D>
int mesh_line_nodes(dense2D<double>& pos, const remesh_settings& s, line_work& w) noexcept {
  w.new_indices.clear();
  w.new_params.clear();
  w.new_sizes.clear();
  double max_deviation = unset;
  const std::size_t before = pos.cols();
  int code = 0;
  if (s.chordal_tol != 0)
    code = mesh_spline(pos, w.padded_chain, w.padded_sizes, s.force_even, s.min_elements,
                       s.max_elements, s.chordal_tol, s.min_size, s.default_size, s.max_gradation,
                       w.new_indices, w.new_params, w.new_sizes, max_deviation);
  if (!(s.chordal_tol >= 0 && max_deviation > s.chordal_tol)) return code;
  if (code < 0) return code;
  double tol = s.chordal_tol;
  if (tol == 0) {
    double length = 0;
    chain_length<D>(pos, w.chain, length);
    tol = length * polyline_relative_tol;
  }
  pos.resize(pos.rows(), before);
  w.new_indices.clear();
  w.new_params.clear();
  w.new_sizes.clear();
  return mesh_line(pos, w.chain, w.sizes, s.force_even, s.min_elements, s.max_elements, tol,
                   s.min_size, w.new_indices, w.new_params, w.new_sizes);
}

// Whether a mesher's chain is whole: at least one element, from s to t, over columns of
// pos. A mesher that ran out of storage inside may leave less.
bool is_whole_chain(const dense1D<unsigned>& chain, unsigned s, unsigned t,
                    const dense2D<double>& pos) noexcept {
  return chain.size() >= 2 && chain[0] == s && chain[chain.size() - 1] == t && ids_in(chain, pos);
}

// Remeshes line i and appends its elements, each with the line's colour: a hard edge
// alone is kept as it is, any other line is meshed anew.
template <std::size_t D>
int remesh_line(dense2D<double>& pos, const dense2D<unsigned>& connectM,
                const remesh_settings& settings, const network& net, std::size_t i, unsigned colour,
                line_work& w, new_network& out) noexcept {
  if (line_chain(connectM, net.line_starts, net.line_elements, i, w.chain) != 0)
    return storage_failure;
  const std::size_t n = w.chain.size();
  const unsigned first = net.elements_of(i)[0];
  if (n == 2 && net.hard_edges.contains(first)) {
    const bool kept = append_edge(out.connectM, connectM(0, first), connectM(1, first)) &&
                      out.colors.push_back(colour);
    return kept ? 0 : storage_failure;
  }
  if (!pad_line(net, w)) return storage_failure;
  const int code = mesh_line_nodes<D>(pos, settings, w);
  if (code < 0) return code;
  if (!is_whole_chain(w.new_indices, w.chain[0], w.chain[n - 1], pos)) return storage_failure;
  const int connect_code = indices_to_connectE2(w.new_indices, out.connectM);
  if (connect_code < 0) return connect_code;
  return out.colors.push_back_n(colour, w.new_indices.size() - 1) ? 0 : storage_failure;
}

// Hands the new network to the caller: the elements, the colours, and every hard node in
// ascending order. The storage this needs is obtained before anything changes.
int hand_over(new_network& out, const node_set& hard, dense2D<unsigned>& connectM,
              dense1D<unsigned>& colors, dense1D<unsigned>& hard_nodes) noexcept {
  if (!hard_nodes.reserve(hard.size())) return storage_failure;
  connectM = out.connectM;
  colors = out.colors;
  hard_nodes.clear();
  hard_nodes.resize(hard.size());
  std::copy(hard.begin(), hard.end(), hard_nodes.begin());
  std::sort(hard_nodes.begin(), hard_nodes.end());
  return 0;
}

}  // namespace

template <std::size_t D>
int remesh_network(dense2D<double>& pos, dense2D<unsigned>& connectM,
                   const dense1D<double>& node_sizes, dense1D<unsigned>& colors,
                   dense1D<unsigned>& hard_nodes, const dense1D<unsigned>& hard_edges,
                   const remesh_settings& settings) noexcept {
  const std::size_t entry_cols = pos.cols();
  network net;
  int colour_code = 0;
  const int analysis_code =
      analyse_network<D>(pos, connectM, colors, hard_nodes, hard_edges, settings, net, colour_code);
  if (analysis_code < 0) return analysis_code;
  line_work work;
  if (!work.reserve(longest_line(net))) return storage_failure;
  int code = size_line_ends<D>(pos, connectM, node_sizes, settings.min_size, net, work.chain);
  if (code == 0 && colour_code < 0) code = colour_code;
  new_network out;
  line_colours colours(colors);
  for (std::size_t i = 0; code == 0 && i < net.line_count(); ++i) {
    const unsigned colour = colours.of(net.elements_of(i), net.element_count(i));
    code = remesh_line<D>(pos, connectM, settings, net, i, colour, work, out);
  }
  if (code == 0) code = hand_over(out, net.hard_nodes, connectM, colors, hard_nodes);
  if (code < 0) pos.resize(pos.rows(), entry_cols);
  return code;
}

template int remesh_network<2>(dense2D<double>&, dense2D<unsigned>&, const dense1D<double>&,
                               dense1D<unsigned>&, dense1D<unsigned>&, const dense1D<unsigned>&,
                               const remesh_settings&) noexcept;
template int remesh_network<3>(dense2D<double>&, dense2D<unsigned>&, const dense1D<double>&,
                               dense1D<unsigned>&, dense1D<unsigned>&, const dense1D<unsigned>&,
                               const remesh_settings&) noexcept;

}  // namespace filum
}  // namespace vorn
