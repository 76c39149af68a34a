// Node chains to E2 and E3 connectivities.

#include <cstddef>

#include <vorn/filum.h>

#include "connect/append_edge.h"

namespace vorn {
namespace filum {
namespace {

// Appends `added` columns of R rows behind the columns connectM holds; new column k takes,
// row by row, the chain entries at step x k + picks[r]. The storage is reserved once
// (growth 2, so that repeated appends stay amortised linear).
template <std::size_t R>
int append_chain_elements(const dense1D<unsigned>& indices, std::size_t step,
                          const std::size_t (&picks)[R], std::size_t added,
                          dense2D<unsigned>& connectM) noexcept {
  const std::size_t first = stored_columns(connectM);
  if (!connectM.reserve(R, first + added, 2) || !connectM.resize(R, first + added))
    return storage_failure;
  const unsigned* chain = indices.data();  // read after the growth: both may share storage
  const std::size_t ld = connectM.ld();
  unsigned* out = connectM.data() + first * ld;
  for (std::size_t k = 0; k < added; ++k, out += ld)
    for (std::size_t r = 0; r < R; ++r)
      out[r] = chain[step * k + picks[r]];
  return 0;
}

}  // namespace

int indices_to_connectE2(const dense1D<unsigned>& indices, dense2D<unsigned>& connectE2) noexcept {
  const std::size_t n = indices.size();
  if (n == 0) return 0;
  if (n < 2) return -1;
  if (!connectE2.empty() && connectE2.rows() != 2) return -2;
  static constexpr std::size_t start_end[2] = {0, 1};
  return append_chain_elements(indices, 1, start_end, n - 1, connectE2);
}

int indices_to_connectE3(const dense1D<unsigned>& indices, dense2D<unsigned>& connectE3) noexcept {
  const std::size_t n = indices.size();
  if (n == 0) return 0;
  if (n < 3 || n % 2 == 0) return -1;
  if (!connectE3.empty() && connectE3.rows() != 3) return -2;
  static constexpr std::size_t start_end_middle[3] = {0, 2, 1};
  return append_chain_elements(indices, 2, start_end_middle, (n - 1) / 2, connectE3);
}

}  // namespace filum
}  // namespace vorn
