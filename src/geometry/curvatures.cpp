#include "geometry/curvatures.h"

#include <vorn/filum.h>

#include "frame/checks.h"

namespace vorn {
namespace filum {

int curvatures(const dense2D<double>& pos, const dense1D<unsigned>& indices,
               dense1D<double>& values) noexcept {
  values.clear();
  if (indices.empty()) return 0;
  if (!is_plane_or_space(pos)) return -1;
  if (!ids_in(indices, pos)) return -2;
  const std::size_t n = indices.size();
  if (!values.resize(n, 0.0)) return storage_failure;
  if (n < 3) return 0;
  if (pos.rows() == 2)
    chain_curvatures<2>(pos, indices, values.data());
  else
    chain_curvatures<3>(pos, indices, values.data());
  return 0;
}

}  // namespace filum
}  // namespace vorn
