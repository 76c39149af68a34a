#include <cstdint>
#include <utility>

#include <vorn/tessa.h>

namespace vorn {
namespace tessa {
namespace {

constexpr unsigned no_element = 0xFFFFFFFFu;

// Element ends keyed by node: the node in the upper 32 bits, the end code 2e + side
// (side 0 the start, 1 the end of element e) in the lower 32 bits.
bool keyed_ends(const dense2D<unsigned>& connectM, dense1D<std::uint64_t>& ends) noexcept {
  const std::size_t elements = connectM.cols();
  if (!ends.resize(2 * elements)) return false;
  for (std::size_t e = 0; e < elements; ++e)
    for (std::size_t side = 0; side < 2; ++side)
      ends[2 * e + side] = std::uint64_t{connectM(side, e)} << 32 | (2 * e + side);
  return true;
}

// Sorts keyed ends by node, stably, with a byte-wise radix sort of the upper 32 bits:
// linear in the number of ends whatever the node identifiers. Passes in which every
// key has the same byte are skipped.
bool sort_by_node(dense1D<std::uint64_t>& ends) noexcept {
  const std::size_t n = ends.size();
  dense1D<std::uint64_t> spare(n);
  if (spare.size() != n) return false;
  std::uint64_t* from = ends.data();
  std::uint64_t* to = spare.data();
  bool in_spare = false;
  for (unsigned shift = 32; shift < 64; shift += 8) {
    std::size_t start[257] = {};
    for (std::size_t k = 0; k < n; ++k)
      ++start[(from[k] >> shift & 0xFF) + 1];
    bool one_bucket = false;
    for (std::size_t b = 1; b <= 256; ++b)
      one_bucket = one_bucket || start[b] == n;
    if (one_bucket) continue;
    for (std::size_t b = 1; b <= 256; ++b)
      start[b] += start[b - 1];
    for (std::size_t k = 0; k < n; ++k)
      to[start[from[k] >> shift & 0xFF]++] = from[k];
    std::swap(from, to);
    in_spare = !in_spare;
  }
  if (in_spare) std::swap(ends, spare);
  return true;
}

}  // namespace

int get_neighbors(const dense2D<unsigned>& connectM, element_type type, bool flag,
                  dense2D<unsigned>& neighbors) noexcept {
  (void)type;
  (void)flag;
  const std::size_t elements = connectM.cols();
  if (!connectM.empty() && connectM.rows() < 2) return -1;
  if (elements > 0x7FFFFFFFu) return -1;
  neighbors.clear();
  if (!neighbors.resize(2, elements, no_element)) return -199;
  if (connectM.empty()) return 0;

  dense1D<std::uint64_t> ends;
  if (!keyed_ends(connectM, ends) || !sort_by_node(ends)) return -199;

  // Row 0 of an element faces its end node (side 1), row 1 its start node (side 0).
  const std::size_t count = ends.size();
  for (std::size_t first = 0; first < count;) {
    const std::uint64_t node = ends[first] >> 32;
    std::size_t last = first + 1;
    while (last < count && ends[last] >> 32 == node)
      ++last;
    if (last - first == 2) {
      const unsigned a = static_cast<unsigned>(ends[first]);
      const unsigned b = static_cast<unsigned>(ends[first + 1]);
      if (a / 2 != b / 2) {
        neighbors(1 - a % 2, a / 2) = b / 2;
        neighbors(1 - b % 2, b / 2) = a / 2;
      }
    }
    first = last;
  }
  return 0;
}

}  // namespace tessa
}  // namespace vorn
