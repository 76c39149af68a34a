#include "frame/checks.h"

#include <algorithm>

namespace vorn {
namespace filum {

unsigned largest_node(const dense2D<unsigned>& connectM) noexcept {
  unsigned largest = 0;
  for (std::size_t e = 0; e < connectM.cols(); ++e)
    largest = std::max({largest, connectM(0, e), connectM(1, e)});
  return largest;
}

bool is_non_decreasing(const dense1D<double>& values) noexcept {
  const double* v = values.data();
  for (std::size_t i = 0; i < values.size(); ++i)
    if (std::isnan(v[i]) || (i > 0 && !(v[i] >= v[i - 1]))) return false;
  return true;
}

}  // namespace filum
}  // namespace vorn
