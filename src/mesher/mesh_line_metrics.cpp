// mesh_line with metrics: the metric field through the shared mesh_line frame.

#include <vorn/filum.h>

#include "mesher/mesh_line_frame.h"
#include "mesher/metric_field.h"

namespace vorn {
namespace filum {

int mesh_line(dense2D<double>& pos, const dense1D<unsigned>& indices, const dense1D<double>& params,
              const dense2D<double>& metrics, bool force_even, unsigned min_elements,
              unsigned max_elements, double chordal_tol, double min_size,
              dense1D<unsigned>& new_indices, dense1D<double>& new_params,
              dense2D<double>& new_metrics) noexcept {
  return mesh_line_with_params<metric_field>(pos, indices, params, metrics, force_even,
                                             min_elements, max_elements, chordal_tol, min_size,
                                             new_indices, new_params, new_metrics);
}

int mesh_line(dense2D<double>& pos, const dense1D<unsigned>& indices,
              const dense2D<double>& metrics, bool force_even, unsigned min_elements,
              unsigned max_elements, double chordal_tol, double min_size,
              dense1D<unsigned>& new_indices, dense1D<double>& new_params,
              dense2D<double>& new_metrics) noexcept {
  return mesh_line_without_params<metric_field>(pos, indices, metrics, force_even, min_elements,
                                                max_elements, chordal_tol, min_size, new_indices,
                                                new_params, new_metrics);
}

}  // namespace filum
}  // namespace vorn
