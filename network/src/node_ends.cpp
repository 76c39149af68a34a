#include "node_ends.h"

#include <algorithm>

#include <vorn/filum.h>

#include "parallel_blocks.h"

namespace vorn {
namespace filum {

bool node_ends::gather(const dense2D<unsigned>& connectM, const dense1D<unsigned char>& skip,
                       unsigned threads) noexcept {
  const std::size_t E = connectM.cols();
  dense1D<unsigned> block_largest;
  if (!block_largest.resize(block_count(E), 0)) return false;
  for_each_block(threads, E, [&](std::size_t begin, std::size_t end) {
    unsigned largest = 0;
    for (std::size_t e = begin; e < end; ++e)
      largest = std::max({largest, connectM(0, e), connectM(1, e)});
    block_largest[begin / elements_per_block] = largest;
  });
  unsigned largest = 0;
  for (unsigned block : block_largest)
    largest = std::max(largest, block);
  const std::size_t nodes = std::size_t{largest} + 1;
  if (!first.resize_for_overwrite(nodes) || !second.resize_for_overwrite(nodes) ||
      !count.resize_for_overwrite(nodes))
    return false;
  // Each part owns a range of nodes, fills it (its pages are first touched on the threads)
  // and takes their ends in element order, so the result does not depend on how many parts
  // there are. Every part reads all the elements, so a
  // few parts take what there is to gain. Raw pointers: the byte stores to the counts
  // would otherwise make every container reload its storage.
  const std::size_t parts = std::clamp(threads, 1u, 4u);
  const unsigned* nodes_of = connectM.data();
  const std::size_t ld = connectM.ld();
  const unsigned char* skipped = skip.empty() ? nullptr : skip.data();
  unsigned* first_end = first.data();
  unsigned* second_end = second.data();
  unsigned char* ends_at = count.data();
  for_each_task(threads, parts, [&](std::size_t part) {
    const std::size_t low = nodes * part / parts, high = nodes * (part + 1) / parts;
    std::fill(ends_at + low, ends_at + high, static_cast<unsigned char>(0));
    for (std::size_t e = 0; e < E; ++e) {
      if (skipped && skipped[e]) continue;
      for (unsigned side = 0; side < 2; ++side) {
        const unsigned v = nodes_of[e * ld + side];
        if (v < low || v >= high) continue;
        const unsigned code = static_cast<unsigned>(2 * e + side);
        unsigned char& c = ends_at[v];
        if (c == 0) first_end[v] = code;
        if (c == 1) second_end[v] = code;
        if (c < 3) ++c;
      }
    }
  });
  return true;
}

unsigned node_ends::other_end(unsigned v, unsigned end) const noexcept {
  if (count[v] != 2) return no_id;
  return first[v] == end ? second[v] : first[v];
}

bool neighbor_table(const dense2D<unsigned>& connectM, const node_ends& ends,
                    dense2D<unsigned>& neighbors, unsigned threads) noexcept {
  const std::size_t E = connectM.cols();
  if (!neighbors.resize_for_overwrite(2, E)) return false;  // every entry is written below
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
