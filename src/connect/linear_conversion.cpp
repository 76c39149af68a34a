// Between E3 (or higher-order) and E2 connectivities, and reversal of elements.

#include <algorithm>
#include <cstddef>

#include <vorn/filum.h>

#include "connect/append_edge.h"

namespace vorn {
namespace filum {

int split_into_linear(const dense2D<unsigned>& connectE3, dense2D<unsigned>& connectE2) noexcept {
  if (connectE3.empty()) return 0;
  if (connectE3.rows() != 3) return -1;
  if (connectE2.rows() != 0 && connectE2.rows() != 2) return -2;
  const std::size_t elements = connectE3.cols();
  if (!connectE2.reserve(2, stored_columns(connectE2) + 2 * elements, 1)) return storage_failure;
  // The halves [s, m], [m, e] of one element stay adjacent and keep its direction.
  for (std::size_t j = 0; j < elements; ++j) {
    const unsigned start = connectE3(0, j), end = connectE3(1, j), middle = connectE3(2, j);
    if (!append_edge(connectE2, start, middle) || !append_edge(connectE2, middle, end))
      return storage_failure;
  }
  return 0;
}

int convert_into_linear(dense2D<unsigned>& connectM) noexcept {
  if (connectM.empty()) return 0;
  if (connectM.rows() < 3) return -1;
  // Fewer rows keep the leading two of every column in the storage the matrix already has,
  // so this cannot fail.
  connectM.resize(2, connectM.cols());
  return 0;
}

int flip(dense2D<unsigned>& connectM) noexcept {
  const std::size_t rows = connectM.rows();
  if (rows < 2 || connectM.cols() == 0) return 0;
  // [s, e, i1, ..., iK] becomes [e, s, iK, ..., i1]: the element runs the other way and
  // its interior nodes are still listed from its (new) start towards its end.
  for (std::size_t j = 0; j < connectM.cols(); ++j) {
    unsigned* column = &connectM(0, j);
    std::swap(column[0], column[1]);
    std::reverse(column + 2, column + rows);
  }
  return 0;
}

}  // namespace filum
}  // namespace vorn
