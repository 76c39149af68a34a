// Placeholder engine: forwards to remesh_lines on one thread until the parallel engine lands.

#include <vorn/filum/network.h>

namespace vorn {
namespace filum {

int remesh_network(dense2D<double>& pos, dense2D<unsigned>& connectM, dense1D<unsigned>& colors,
                   dense1D<unsigned>& hard_nodes, const dense1D<unsigned>& hard_edges,
                   const dense1D<double>& node_sizes, const network_options& options,
                   network_report& report) noexcept {
  report = network_report{};
  report.elements_in = connectM.cols();
  const int code = remesh_lines(pos, connectM, options.size, node_sizes, colors, hard_nodes,
                                hard_edges, options.force_even, options.corner_angle,
                                options.chordal_tol, options.max_gradation, options.min_size,
                                options.min_elements, options.max_elements);
  if (code == 0) report.elements_out = connectM.cols();
  report.threads_used = 1;
  return code;
}

int mesh_spline_on_curve(dense2D<double>& pos, const dense1D<unsigned>& indices,
                         const dense1D<double>& sizes, bool force_even, unsigned min_elements,
                         unsigned max_elements, double chordal_tol, double min_size,
                         double default_size, double max_gradation, dense1D<unsigned>& new_indices,
                         dense1D<double>& new_params, dense1D<double>& new_sizes,
                         double& max_deviation) noexcept {
  return mesh_spline(pos, indices, sizes, force_even, min_elements, max_elements, chordal_tol,
                     min_size, default_size, max_gradation, new_indices, new_params, new_sizes,
                     max_deviation);
}

}  // namespace filum
}  // namespace vorn
