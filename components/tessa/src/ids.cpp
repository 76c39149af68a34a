#include <vorn/tessa.h>

namespace vorn {
namespace tessa {

bool check_IDs(const dense1D<unsigned>& ids, unsigned bound) noexcept {
  for (unsigned id : ids)
    if (id >= bound) return false;
  return true;
}

bool check_IDs(const dense2D<unsigned>& connectM, element_type type, unsigned bound) noexcept {
  if (connectM.empty()) return true;
  const std::size_t nodes = type == element_type::edge2 ? 2 : connectM.rows();
  if (connectM.rows() < nodes) return false;
  if (bound == 0xFFFFFFFFu) return true;
  for (std::size_t j = 0; j < connectM.cols(); ++j)
    for (std::size_t i = 0; i < nodes; ++i)
      if (connectM(i, j) >= bound) return false;
  return true;
}

unsigned max_ID(const dense1D<unsigned>& ids) noexcept {
  unsigned largest = 0xFFFFFFFFu;
  for (unsigned id : ids)
    if (id != 0xFFFFFFFFu && (largest == 0xFFFFFFFFu || id > largest)) largest = id;
  return largest;
}

}  // namespace tessa
}  // namespace vorn
