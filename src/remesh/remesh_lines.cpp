// remesh_lines: the argument checks of the three overloads and the dispatch to the network
// worker of the dimension.

#include <vorn/filum.h>
#include <vorn/tessa.h>

#include "frame/checks.h"
#include "remesh/remesh_worker.h"

namespace vorn {
namespace filum {
namespace {

// Whether every entry names a column of connectM.
bool elements_in(const dense1D<unsigned>& elements, const dense2D<unsigned>& connectM) noexcept {
  const unsigned bound = connectM.cols() >= no_id ? no_id : static_cast<unsigned>(connectM.cols());
  return tessa::check_IDs(elements, bound);
}

}  // namespace

int remesh_lines(dense2D<double>& pos, dense2D<unsigned>& connectM, double default_size,
                 const dense1D<double>& node_sizes, dense1D<unsigned>& colors,
                 dense1D<unsigned>& hard_nodes, const dense1D<unsigned>& hard_edges,
                 bool force_even, double corner_angle, double chordal_tol, double max_gradation,
                 double min_size, unsigned min_elements, unsigned max_elements) noexcept {
  if (connectM.empty()) return 0;
  if (!is_plane_or_space(pos)) return -1;
  if (!ids_in(connectM, pos)) return -2;
  if (!coordinates_finite(pos, connectM)) return -1;
  if (!(default_size >= 0)) return -3;
  if (!elements_in(hard_edges, connectM)) return -7;
  if (!(corner_angle >= 0)) return -9;
  if (!(max_gradation >= 0)) return -11;
  if (!(min_size >= 0)) return -12;
  if (min_elements > max_elements) return -13;
  const remesh_settings settings{default_size,  force_even, corner_angle, chordal_tol,
                                 max_gradation, min_size,   min_elements, max_elements};
  if (pos.rows() == 2)
    return remesh_lines_worker<2>(pos, connectM, node_sizes, colors, hard_nodes, hard_edges,
                                  settings);
  return remesh_lines_worker<3>(pos, connectM, node_sizes, colors, hard_nodes, hard_edges,
                                settings);
}

int remesh_lines(dense2D<double>& pos, dense2D<unsigned>& connectM, double default_size,
                 dense1D<unsigned>& colors, bool force_even, double corner_angle,
                 double chordal_tol, double max_gradation, double min_size, unsigned min_elements,
                 unsigned max_elements) noexcept {
  const dense1D<double> no_node_sizes;
  const dense1D<unsigned> no_hard_edges;
  dense1D<unsigned> hard_nodes;
  return shift_code(remesh_lines(pos, connectM, default_size, no_node_sizes, colors, hard_nodes,
                                 no_hard_edges, force_even, corner_angle, chordal_tol,
                                 max_gradation, min_size, min_elements, max_elements),
                    -4, 3);
}

int remesh_lines(dense2D<double>& pos, dense2D<unsigned>& connectM, double default_size,
                 bool force_even, double corner_angle, double chordal_tol, double max_gradation,
                 double min_size, unsigned min_elements, unsigned max_elements) noexcept {
  const dense1D<double> no_node_sizes;
  const dense1D<unsigned> no_hard_edges;
  dense1D<unsigned> colors;
  dense1D<unsigned> hard_nodes;
  return shift_code(remesh_lines(pos, connectM, default_size, no_node_sizes, colors, hard_nodes,
                                 no_hard_edges, force_even, corner_angle, chordal_tol,
                                 max_gradation, min_size, min_elements, max_elements),
                    -7, 4);
}

}  // namespace filum
}  // namespace vorn
