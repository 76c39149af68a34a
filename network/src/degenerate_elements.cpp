#include "degenerate_elements.h"

#include <algorithm>

#include <vorn/filum.h>

#include "node_ends.h"

namespace vorn {
namespace filum {
namespace {

// Whether the two nodes of element e share every coordinate.
bool is_zero_length(const dense2D<double>& pos, unsigned a, unsigned b) noexcept {
  for (std::size_t i = 0; i < pos.rows(); ++i)
    if (pos(i, a) != pos(i, b)) return false;
  return true;
}

// Marks with 1 every element that joins the same two nodes as an earlier kept one. Where
// only two ends meet at a node, the one other element there is the only candidate; the
// elements at nodes where more meet are sorted by their nodes to find repeats.
bool mark_duplicates(const dense2D<unsigned>& connectM, const node_ends& ends,
                     dense1D<unsigned char>& dropped, std::size_t& duplicates) noexcept {
  const std::size_t E = connectM.cols();
  auto low = [&](std::size_t e) { return std::min(connectM(0, e), connectM(1, e)); };
  auto high = [&](std::size_t e) { return std::max(connectM(0, e), connectM(1, e)); };
  dense1D<unsigned> crowded;
  for (std::size_t e = 0; e < E; ++e) {
    if (dropped[e]) continue;
    const unsigned a = connectM(0, e), b = connectM(1, e);
    if (ends.count[a] > 2 || ends.count[b] > 2) {
      if (!crowded.push_back(static_cast<unsigned>(e))) return false;
      continue;
    }
    const unsigned other = ends.other_end(a, static_cast<unsigned>(2 * e));
    if (other == no_id || other / 2 > e) continue;
    const std::size_t f = other / 2;
    if (low(f) == low(e) && high(f) == high(e)) {
      dropped[e] = 1;
      ++duplicates;
    }
  }
  std::sort(crowded.begin(), crowded.end(), [&](unsigned x, unsigned y) {
    if (low(x) != low(y)) return low(x) < low(y);
    return high(x) != high(y) ? high(x) < high(y) : x < y;
  });
  for (std::size_t k = 1; k < crowded.size(); ++k)
    if (low(crowded[k]) == low(crowded[k - 1]) && high(crowded[k]) == high(crowded[k - 1])) {
      dropped[crowded[k]] = 1;
      ++duplicates;
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
                             dense1D<unsigned>& kept_colors, dense1D<unsigned>& kept_hard_edges,
                             node_ends& ends) noexcept {
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
  if (!ends.gather(connectM, dropped) ||
      !mark_duplicates(connectM, ends, dropped, counts.duplicates))
    return storage_failure;
  if (counts.total() == 0) return 0;
  const bool copied = copy_kept(connectM, colors, hard_edges, dropped, E - counts.total(),
                                kept_connectM, kept_colors, kept_hard_edges);
  return copied && ends.gather(kept_connectM, {}) ? 0 : storage_failure;
}

}  // namespace filum
}  // namespace vorn
