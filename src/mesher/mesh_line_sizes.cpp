// mesh_line with sizes: the size field through the shared mesh_line frame.

#include <vorn/filum.h>

#include "mesher/chain_field.h"
#include "mesher/mesh_line_frame.h"

namespace vorn {
namespace filum {

int mesh_line(dense2D<double>& pos, const dense1D<unsigned>& indices, const dense1D<double>& params,
              const dense1D<double>& sizes, bool force_even, unsigned min_elements,
              unsigned max_elements, double chordal_tol, double min_size,
              dense1D<unsigned>& new_indices, dense1D<double>& new_params,
              dense1D<double>& new_sizes) noexcept {
  return mesh_line_with_params<size_field>(pos, indices, params, sizes, force_even, min_elements,
                                           max_elements, chordal_tol, min_size, new_indices,
                                           new_params, new_sizes);
}

int mesh_line(dense2D<double>& pos, const dense1D<unsigned>& indices, const dense1D<double>& sizes,
              bool force_even, unsigned min_elements, unsigned max_elements, double chordal_tol,
              double min_size, dense1D<unsigned>& new_indices, dense1D<double>& new_params,
              dense1D<double>& new_sizes) noexcept {
  return mesh_line_without_params<size_field>(pos, indices, sizes, force_even, min_elements,
                                              max_elements, chordal_tol, min_size, new_indices,
                                              new_params, new_sizes);
}

}  // namespace filum
}  // namespace vorn
