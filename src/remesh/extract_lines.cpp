#include "remesh/extract_lines.h"

#include <algorithm>
#include <cstddef>

#include <vorn/filum.h>

#include "frame/bit_set.h"

namespace vorn {
namespace filum {
namespace {

// The walk state shared by both phases: the inputs, the marks and the output cursors.
struct line_walker {
  const unsigned* nodes;      // connectM's entries, columns ld apart
  const unsigned* followers;  // neighbors' entries, columns neighbors_ld apart
  std::size_t ld, neighbors_ld, E;
  const bit_set& hard;  // one bit per node identifier up to the largest hard node
  std::size_t hard_bits;
  bit_set& visited;
  dense1D<unsigned>& starts;
  unsigned* elements;
  std::size_t taken = 0;
  bool stored = true;  // false once a line start could not be stored

  // Whether the walk must stop at node.
  bool is_hard(unsigned node) const noexcept { return node < hard_bits && hard.test(node); }

  // Appends the line walked from element k and closes it in the line starts.
  void walk_from(std::size_t k) noexcept {
    std::size_t e = k;
    for (;;) {
      elements[taken++] = static_cast<unsigned>(e);
      visited.set(e);
      if (is_hard(nodes[e * ld + 1])) break;
      const std::size_t n = followers[e * neighbors_ld];
      if (n >= E || visited.test(n)) break;  // k itself is visited
      e = n;
    }
    stored = stored && starts.push_back(static_cast<unsigned>(taken));
  }
};

}  // namespace

int extract_lines(const dense2D<unsigned>& connectM, const dense2D<unsigned>& neighbors,
                  const node_set& hard_nodes, dense1D<unsigned>& line_starts,
                  dense1D<unsigned>& line_elements) noexcept {
  line_starts.clear();
  line_elements.clear();
  const std::size_t E = connectM.cols();
  bit_set visited, hard;
  // The walks ask about every node; a bit per node answers faster than the hash set.
  std::size_t hard_bits = 0;
  for (unsigned node : hard_nodes)
    hard_bits = std::max(hard_bits, std::size_t{node} + 1);
  // Every element lands in exactly one line; the line starts grow as lines are found,
  // since there are usually far fewer lines than elements.
  if (!visited.reset(E) || !hard.reset(hard_bits) || !line_elements.resize(E) ||
      !line_starts.push_back(0)) {
    line_starts.clear();
    line_elements.clear();
    return storage_failure;
  }
  for (unsigned node : hard_nodes)
    hard.set(node);
  line_walker walker{connectM.data(), neighbors.data(), connectM.ld(), neighbors.ld(),      E, hard,
                     hard_bits,       visited,          line_starts,   line_elements.data()};
  for (std::size_t k = 0; k < E; ++k)
    if (!visited.test(k) && walker.is_hard(connectM(0, k))) walker.walk_from(k);
  for (std::size_t k = 0; k < E; ++k)
    if (!visited.test(k)) walker.walk_from(k);
  if (!walker.stored) {
    line_starts.clear();
    line_elements.clear();
    return storage_failure;
  }
  return 0;
}

}  // namespace filum
}  // namespace vorn
