#include "frame/checks.h"

namespace vorn {
namespace filum {

bool is_non_decreasing(const dense1D<double>& values) noexcept {
  const double* v = values.data();
  for (std::size_t i = 0; i < values.size(); ++i)
    if (std::isnan(v[i]) || (i > 0 && !(v[i] >= v[i - 1]))) return false;
  return true;
}

}  // namespace filum
}  // namespace vorn
