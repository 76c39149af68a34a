#include "remesh/remesh_worker.h"

#include <vorn/filum.h>

#include "connect/append_edge.h"
#include "remesh/line_chain.h"
#include "remesh/network_line.h"

namespace vorn {
namespace filum {
namespace {

// The new network as it is assembled, line after line.
struct new_network {
  dense2D<unsigned> connectM;
  dense1D<unsigned> colors;
};

// Remeshes line i and appends its elements, each with the line's color: a hard edge
// alone is kept as it is, any other line is meshed anew.
template <std::size_t D>
int remesh_line(dense2D<double>& pos, const dense2D<unsigned>& connectM,
                const remesh_settings& settings, const line_network& net, std::size_t i,
                unsigned color, line_work& w, new_network& out) noexcept {
  if (line_chain(connectM, net.line_starts, net.line_elements, i, w.chain) != 0)
    return storage_failure;
  const std::size_t n = w.chain.size();
  const unsigned first = net.elements_of(i)[0];
  if (n == 2 && net.hard_edges.contains(first)) {
    const bool kept = append_edge(out.connectM, connectM(0, first), connectM(1, first)) &&
                      out.colors.push_back(color);
    return kept ? 0 : storage_failure;
  }
  if (!pad_line(net, w)) return storage_failure;
  const int code = mesh_line_nodes<D>(pos, settings, w);
  if (code < 0) return code;
  if (!is_whole_chain(w.new_indices, w.chain[0], w.chain[n - 1], pos)) return storage_failure;
  const int connect_code = indices_to_connectE2(w.new_indices, out.connectM);
  if (connect_code < 0) return connect_code;
  return out.colors.push_back_n(color, w.new_indices.size() - 1) ? 0 : storage_failure;
}

}  // namespace

template <std::size_t D>
int remesh_lines_worker(dense2D<double>& pos, dense2D<unsigned>& connectM,
                        const dense1D<double>& node_sizes, dense1D<unsigned>& colors,
                        dense1D<unsigned>& hard_nodes, const dense1D<unsigned>& hard_edges,
                        const remesh_settings& settings) noexcept {
  const std::size_t entry_cols = pos.cols();
  line_network net;
  const int analysis_code =
      analyze_network<D>(pos, connectM, colors, hard_nodes, hard_edges, node_sizes, settings, net);
  // A failed analysis leaves no lines; the color code alone ends the call after sizing.
  if (net.line_starts.empty()) return analysis_code;
  line_work work;
  if (!work.reserve(net.longest_line())) return storage_failure;
  int code = analysis_code;
  new_network out;
  line_colors colors_of_lines(colors);
  for (std::size_t i = 0; code == 0 && i < net.line_count(); ++i) {
    const unsigned color = colors_of_lines.of(net.elements_of(i), net.element_count(i));
    code = remesh_line<D>(pos, connectM, settings, net, i, color, work, out);
  }
  if (code == 0 && !sorted_hard_nodes(net.hard_nodes, hard_nodes)) code = storage_failure;
  if (code == 0) {
    connectM = out.connectM;
    colors = out.colors;
  }
  if (code < 0) pos.resize(pos.rows(), entry_cols);
  return code;
}

template int remesh_lines_worker<2>(dense2D<double>&, dense2D<unsigned>&, const dense1D<double>&,
                                    dense1D<unsigned>&, dense1D<unsigned>&,
                                    const dense1D<unsigned>&, const remesh_settings&) noexcept;
template int remesh_lines_worker<3>(dense2D<double>&, dense2D<unsigned>&, const dense1D<double>&,
                                    dense1D<unsigned>&, dense1D<unsigned>&,
                                    const dense1D<unsigned>&, const remesh_settings&) noexcept;

}  // namespace filum
}  // namespace vorn
