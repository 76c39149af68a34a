#include "geometry/interpolate_coordinates.h"

#include <vorn/filum.h>

#include "frame/checks.h"

namespace vorn {
namespace filum {

int interpolate_coordinates(dense2D<double>& pos, const dense1D<unsigned>& indices,
                            const dense1D<double>& params, const dense1D<unsigned>& new_indices,
                            const dense1D<double>& new_params) noexcept {
  if (params.size() != indices.size() || !ids_in(indices, pos)) return -2;
  if (indices.empty() && !new_indices.empty()) return -2;
  if (!is_non_decreasing(params)) return -3;
  if (new_params.size() != new_indices.size() || !ids_in(new_indices, pos)) return -4;
  if (!is_non_decreasing(new_params)) return -5;
  if (new_indices.empty()) return 0;
  if (pos.rows() == 2)
    place_on_chain<2>(pos, indices, params, new_indices, new_params);
  else if (pos.rows() == 3)
    place_on_chain<3>(pos, indices, params, new_indices, new_params);
  else
    place_on_chain<0>(pos, indices, params, new_indices, new_params);
  return 0;
}

}  // namespace filum
}  // namespace vorn
