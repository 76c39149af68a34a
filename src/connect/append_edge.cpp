#include "connect/append_edge.h"

#include <algorithm>

namespace vorn {
namespace filum {

bool append_edge(dense2D<unsigned>& connectE2, unsigned start, unsigned end) noexcept {
  if (!connectE2.empty() && connectE2.rows() != 2) return false;
  const std::size_t cols = stored_columns(connectE2);
  // A failed reservation is not fatal: the resize below asks for the storage again.
  if (cols == connectE2.col_capacity()) connectE2.reserve(2, std::max<std::size_t>(4, 2 * cols), 1);
  if (!connectE2.resize(2, cols + 1)) return false;
  connectE2(0, cols) = start;
  connectE2(1, cols) = end;
  return true;
}

}  // namespace filum
}  // namespace vorn
