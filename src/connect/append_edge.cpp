#include "connect/append_edge.h"

namespace vorn {
namespace filum {

bool append_edge(dense2D<unsigned>& connectE2, unsigned start, unsigned end) noexcept {
  if (!connectE2.empty() && connectE2.rows() != 2) return false;
  const std::size_t cols = stored_columns(connectE2);
  if (!add_column(connectE2, 2)) return false;
  connectE2(0, cols) = start;
  connectE2(1, cols) = end;
  return true;
}

}  // namespace filum
}  // namespace vorn
