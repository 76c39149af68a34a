#include "degenerate_elements.h"

#include <algorithm>

#include <vorn/filum.h>

namespace vorn {
namespace filum {
namespace {

// Whether the two nodes of element e share every coordinate.
bool is_zero_length(const dense2D<double>& pos, unsigned a, unsigned b) noexcept {
  for (std::size_t i = 0; i < pos.rows(); ++i)
    if (pos(i, a) != pos(i, b)) return false;
  return true;
}

// Marks with 1 every element that repeats an earlier one: the elements are bucketed by
// their smaller node (counting sort, so each bucket lists its elements in order), and
// each bucket is searched for repeated larger nodes.
bool mark_duplicates(const dense2D<unsigned>& connectM, dense1D<unsigned char>& dropped,
                     std::size_t& duplicates) noexcept {
  const std::size_t E = connectM.cols();
  unsigned largest = 0;
  for (std::size_t e = 0; e < E; ++e)
    if (!dropped[e]) largest = std::max({largest, connectM(0, e), connectM(1, e)});
  dense1D<unsigned> starts, bucketed;
  if (!starts.resize(std::size_t{largest} + 2, 0u) || !bucketed.resize(E)) return false;
  auto low = [&](std::size_t e) { return std::min(connectM(0, e), connectM(1, e)); };
  auto high = [&](std::size_t e) { return std::max(connectM(0, e), connectM(1, e)); };
  for (std::size_t e = 0; e < E; ++e)
    if (!dropped[e]) ++starts[low(e) + 1];
  for (std::size_t v = 1; v < starts.size(); ++v)
    starts[v] += starts[v - 1];
  for (std::size_t e = 0; e < E; ++e)
    if (!dropped[e]) bucketed[starts[low(e)]++] = static_cast<unsigned>(e);
  // starts[v] now ends bucket v; bucket v begins where bucket v - 1 ends. Sorted by the
  // larger node, then by element, a repeat follows its first occurrence.
  std::size_t begin = 0;
  for (std::size_t v = 0; v + 1 < starts.size(); ++v) {
    const std::size_t end = starts[v];
    std::sort(bucketed.begin() + begin, bucketed.begin() + end, [&](unsigned x, unsigned y) {
      return high(x) != high(y) ? high(x) < high(y) : x < y;
    });
    for (std::size_t k = begin + 1; k < end; ++k)
      if (high(bucketed[k]) == high(bucketed[k - 1])) {
        dropped[bucketed[k]] = 1;
        ++duplicates;
      }
    begin = end;
  }
  return true;
}

// Copies the kept elements, their colours and the kept hard edges under their new numbers.
bool copy_kept(const dense2D<unsigned>& connectM, const dense1D<unsigned>& colors,
               const dense1D<unsigned>& hard_edges, const dense1D<unsigned char>& dropped,
               std::size_t kept, dense2D<unsigned>& kept_connectM, dense1D<unsigned>& kept_colors,
               dense1D<unsigned>& kept_hard_edges) noexcept {
  const std::size_t E = connectM.cols();
  dense1D<unsigned> renumbered;
  if (!kept_connectM.resize(2, kept) || !renumbered.resize(E, no_id) ||
      !kept_colors.reserve(std::min(colors.size(), kept)) ||
      !kept_hard_edges.reserve(hard_edges.size()))
    return false;
  kept_colors.clear();
  kept_hard_edges.clear();
  std::size_t next = 0;
  for (std::size_t e = 0; e < E; ++e) {
    if (dropped[e]) continue;
    kept_connectM(0, next) = connectM(0, e);
    kept_connectM(1, next) = connectM(1, e);
    if (e < colors.size()) kept_colors.push_back(colors[e]);
    renumbered[e] = static_cast<unsigned>(next++);
  }
  for (unsigned e : hard_edges)
    if (renumbered[e] != no_id) kept_hard_edges.push_back(renumbered[e]);
  return true;
}

}  // namespace

int drop_degenerate_elements(const dense2D<double>& pos, const dense2D<unsigned>& connectM,
                             const dense1D<unsigned>& colors, const dense1D<unsigned>& hard_edges,
                             degenerate_counts& counts, dense2D<unsigned>& kept_connectM,
                             dense1D<unsigned>& kept_colors,
                             dense1D<unsigned>& kept_hard_edges) noexcept {
  counts = degenerate_counts{};
  const std::size_t E = connectM.cols();
  dense1D<unsigned char> dropped;
  if (!dropped.resize(E, 0)) return storage_failure;
  for (std::size_t e = 0; e < E; ++e) {
    const unsigned a = connectM(0, e), b = connectM(1, e);
    if (a == b) {
      dropped[e] = 1;
      ++counts.self_loops;
    } else if (is_zero_length(pos, a, b)) {
      dropped[e] = 1;
      ++counts.zero_length;
    }
  }
  if (!mark_duplicates(connectM, dropped, counts.duplicates)) return storage_failure;
  if (counts.total() == 0) return 0;
  return copy_kept(connectM, colors, hard_edges, dropped, E - counts.total(), kept_connectM,
                   kept_colors, kept_hard_edges)
             ? 0
             : storage_failure;
}

}  // namespace filum
}  // namespace vorn
