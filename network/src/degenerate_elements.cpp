#include "degenerate_elements.h"

#include <algorithm>

#include <vorn/filum.h>

#include "node_ends.h"
#include "parallel_blocks.h"

namespace vorn {
namespace filum {
namespace {

// Whether the two nodes of element e share every coordinate.
bool is_zero_length(const dense2D<double>& pos, unsigned a, unsigned b) noexcept {
  for (std::size_t i = 0; i < pos.rows(); ++i)
    if (pos(i, a) != pos(i, b)) return false;
  return true;
}

// The sum of the per-block counts.
std::size_t sum(const dense1D<std::size_t>& counts) noexcept {
  std::size_t total = 0;
  for (std::size_t c : counts)
    total += c;
  return total;
}

// Marks with 1 every self-loop and every element of length 0, and counts them.
bool mark_collapsed(const dense2D<double>& pos, const dense2D<unsigned>& connectM, unsigned threads,
                    dense1D<unsigned char>& dropped, degenerate_counts& counts) noexcept {
  const std::size_t E = connectM.cols();
  dense1D<std::size_t> loops, zeros;  // per block
  if (!loops.resize(block_count(E), 0) || !zeros.resize(block_count(E), 0)) return false;
  for_each_block(threads, E, [&](std::size_t first, std::size_t last) {
    std::size_t& own_loops = loops[first / elements_per_block];
    std::size_t& own_zeros = zeros[first / elements_per_block];
    own_loops = own_zeros = 0;
    for (std::size_t e = first; e < last; ++e) {
      const unsigned a = connectM(0, e), b = connectM(1, e);
      if (a == b) {
        dropped[e] = 1;
        ++own_loops;
      } else if (is_zero_length(pos, a, b)) {
        dropped[e] = 1;
        ++own_zeros;
      }
    }
  });
  counts.self_loops = sum(loops);
  counts.zero_length = sum(zeros);
  return true;
}

// Marks (2 or 1) every element that joins the same two nodes as an earlier kept one. Where
// only two ends meet at a node, the one other element there is the only candidate (a pass
// per block); the elements at nodes where more meet are sorted by their nodes to find
// repeats.
bool mark_duplicates(const dense2D<unsigned>& connectM, const node_ends& ends, unsigned threads,
                     dense1D<unsigned char>& dropped, std::size_t& duplicates) noexcept {
  const std::size_t E = connectM.cols();
  auto low = [&](std::size_t e) { return std::min(connectM(0, e), connectM(1, e)); };
  auto high = [&](std::size_t e) { return std::max(connectM(0, e), connectM(1, e)); };
  auto crowded_at = [&](std::size_t e) {
    return ends.count[connectM(0, e)] > 2 || ends.count[connectM(1, e)] > 2;
  };
  // Per block: the repeats found, and the kept elements at crowded nodes, in order.
  dense1D<std::size_t> found;
  block_lists crowded_in;
  if (!found.resize(block_count(E), 0) || !crowded_in.reset(block_count(E))) return false;
  for_each_block(threads, E, [&](std::size_t first, std::size_t last) {
    const std::size_t b = first / elements_per_block;
    std::size_t& own = found[b];
    own = 0;
    dense1D<unsigned>& own_crowded = crowded_in.start(b);
    for (std::size_t e = first; e < last; ++e) {
      if (dropped[e] == 1) continue;
      if (crowded_at(e)) {
        if (!own_crowded.push_back(static_cast<unsigned>(e))) crowded_in.mark(b, false);
        continue;
      }
      const unsigned other = ends.other_end(connectM(0, e), static_cast<unsigned>(2 * e));
      if (other == no_id || other / 2 > e) continue;
      const std::size_t f = other / 2;
      if (low(f) == low(e) && high(f) == high(e)) {
        dropped[e] = 2;  // not 1: a block run again finds the same duplicates
        ++own;
      }
    }
  });
  duplicates = sum(found);
  dense1D<unsigned> crowded;
  if (!crowded_in.join(crowded)) return false;
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

// Copies the kept elements, their colors and the kept hard edges under their new numbers.
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
                             node_ends& ends, unsigned threads) noexcept {
  counts = degenerate_counts{};
  const std::size_t E = connectM.cols();
  dense1D<unsigned char> dropped;
  if (!dropped.resize(E, 0) || !mark_collapsed(pos, connectM, threads, dropped, counts) ||
      !ends.gather(connectM, dropped, threads) ||
      !mark_duplicates(connectM, ends, threads, dropped, counts.duplicates))
    return storage_failure;
  if (counts.total() == 0) return 0;
  const bool copied = copy_kept(connectM, colors, hard_edges, dropped, E - counts.total(),
                                kept_connectM, kept_colors, kept_hard_edges);
  return copied && ends.gather(kept_connectM, {}, threads) ? 0 : storage_failure;
}

}  // namespace filum
}  // namespace vorn
