#include "frame/checks.h"

#include <unistd.h>
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

bool fits_in_memory(std::uint64_t count, std::size_t bytes_each) noexcept {
  static const std::uint64_t half_memory = [] {
    const long pages = sysconf(_SC_PHYS_PAGES), page = sysconf(_SC_PAGESIZE);
    return pages > 0 && page > 0 ? std::uint64_t(pages) * std::uint64_t(page) / 2
                                 : std::uint64_t(1) << 62;
  }();
  return bytes_each == 0 || count <= half_memory / bytes_each;
}

bool coordinates_finite(const dense2D<double>& pos, const dense1D<unsigned>& ids) noexcept {
  for (unsigned id : ids)
    for (std::size_t i = 0; i < pos.rows(); ++i)
      if (!std::isfinite(pos(i, id))) return false;
  return true;
}

bool coordinates_finite(const dense2D<double>& pos, const dense2D<unsigned>& connectM) noexcept {
  for (std::size_t e = 0; e < connectM.cols(); ++e)
    for (std::size_t k = 0; k < 2 && k < connectM.rows(); ++k)
      for (std::size_t i = 0; i < pos.rows(); ++i)
        if (!std::isfinite(pos(i, connectM(k, e)))) return false;
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
