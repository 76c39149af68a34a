#include "node_ends.h"

#include <algorithm>

#include <vorn/filum.h>

#include "parallel_blocks.h"

namespace vorn {
namespace filum {

bool node_ends::gather(const dense2D<unsigned>& connectM,
                       const dense1D<unsigned char>& skip) noexcept {
  const std::size_t E = connectM.cols();
  unsigned largest = 0;
  for (std::size_t e = 0; e < E; ++e)
    largest = std::max({largest, connectM(0, e), connectM(1, e)});
  const std::size_t nodes = std::size_t{largest} + 1;
  if (!first.resize(nodes) || !second.resize(nodes) || !count.resize(nodes)) return false;
  std::fill(count.begin(), count.end(), static_cast<unsigned char>(0));
  for (std::size_t e = 0; e < E; ++e) {
    if (!skip.empty() && skip[e]) continue;
    for (unsigned side = 0; side < 2; ++side) {
      const unsigned v = connectM(side, e);
      const unsigned code = static_cast<unsigned>(2 * e + side);
      unsigned char& c = count[v];
      if (c == 0) first[v] = code;
      if (c == 1) second[v] = code;
      if (c < 3) ++c;
    }
  }
  return true;
}

unsigned node_ends::other_end(unsigned v, unsigned end) const noexcept {
  if (count[v] != 2) return no_id;
  return first[v] == end ? second[v] : first[v];
}

bool neighbor_table(const dense2D<unsigned>& connectM, const node_ends& ends,
                    dense2D<unsigned>& neighbors, unsigned threads) noexcept {
  const std::size_t E = connectM.cols();
  if (!neighbors.resize(2, E)) return false;
  for_each_block(threads, E, [&](std::size_t first, std::size_t last) {
    for (std::size_t e = first; e < last; ++e)
      for (unsigned side = 0; side < 2; ++side) {
        const unsigned other =
            ends.other_end(connectM(side, e), static_cast<unsigned>(2 * e + side));
        const bool found = other != no_id && other / 2 != e;
        neighbors(1 - side, e) = found ? other / 2 : no_id;
      }
  });
  return true;
}

}  // namespace filum
}  // namespace vorn
