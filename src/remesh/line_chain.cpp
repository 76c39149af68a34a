#include "remesh/line_chain.h"

#include <vorn/filum.h>

namespace vorn {
namespace filum {

int line_chain(const dense2D<unsigned>& connectM, const dense1D<unsigned>& line_starts,
               const dense1D<unsigned>& line_elements, std::size_t i,
               dense1D<unsigned>& chain) noexcept {
  chain.clear();
  const std::size_t first = line_starts[i];
  const std::size_t last = line_starts[i + 1];
  const std::size_t n = last - first;
  if (!chain.reserve(n + 1, 1) || !chain.resize(n + 1)) return storage_failure;
  chain[0] = connectM(0, line_elements[first]);
  for (std::size_t k = 0; k < n; ++k)
    chain[k + 1] = connectM(1, line_elements[first + k]);
  return 0;
}

}  // namespace filum
}  // namespace vorn
