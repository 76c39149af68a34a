#include "frame/checks.h"

namespace vorn {
namespace filum {

bool is_non_decreasing(const dense1D<double>& values) noexcept {
  const double* v = values.data();
  for (std::size_t i = 0; i < values.size(); ++i)
    if (std::isnan(v[i]) || (i > 0 && !(v[i] >= v[i - 1]))) return false;
  return true;
}

bool coordinates_finite(const dense2D<double>& pos, const dense1D<unsigned>& ids) noexcept {
  for (unsigned id : ids)
    for (std::size_t i = 0; i < pos.rows(); ++i)
      if (!std::isfinite(pos(i, id))) return false;
  return true;
}

bool columns_finite(const dense2D<double>& m, std::size_t first) noexcept {
  for (std::size_t j = first; j < m.cols(); ++j)
    for (std::size_t i = 0; i < m.rows(); ++i)
      if (!std::isfinite(m(i, j))) return false;
  return true;
}

}  // namespace filum
}  // namespace vorn
