#include "remesh/extract_lines.h"

#include <cstddef>

#include <vorn/filum.h>

#include "frame/bit_set.h"

namespace vorn {
namespace filum {
namespace {

// The walk state shared by both phases: the inputs, the marks and the output cursors.
struct line_walker {
  const dense2D<unsigned>& connectM;
  const dense2D<unsigned>& neighbors;
  const node_set& hard_nodes;
  bit_set& visited;
  unsigned* starts;
  unsigned* elements;
  std::size_t lines = 0;
  std::size_t taken = 0;

  // Appends the line walked from element k and closes it in the line starts.
  void walk_from(std::size_t k) noexcept {
    const std::size_t E = connectM.cols();
    std::size_t e = k;
    for (;;) {
      elements[taken++] = static_cast<unsigned>(e);
      visited.set(e);
      if (hard_nodes.contains(connectM(1, e))) break;
      const std::size_t n = neighbors(0, e);
      if (n >= E || visited.test(n)) break;  // k itself is visited
      e = n;
    }
    starts[++lines] = static_cast<unsigned>(taken);
  }
};

}  // namespace

int extract_lines(const dense2D<unsigned>& connectM, const dense2D<unsigned>& neighbors,
                  const node_set& hard_nodes, dense1D<unsigned>& line_starts,
                  dense1D<unsigned>& line_elements) noexcept {
  line_starts.clear();
  line_elements.clear();
  const std::size_t E = connectM.cols();
  bit_set visited;
  // Every element lands in exactly one line, so there are E elements and at most E lines.
  if (!visited.reset(E) || !line_elements.resize(E) || !line_starts.resize(E + 1)) {
    line_starts.clear();
    line_elements.clear();
    return storage_failure;
  }
  line_starts[0] = 0;
  line_walker walker{connectM, neighbors,          hard_nodes,
                     visited,  line_starts.data(), line_elements.data()};
  for (std::size_t k = 0; k < E; ++k)
    if (!visited.test(k) && hard_nodes.contains(connectM(0, k))) walker.walk_from(k);
  for (std::size_t k = 0; k < E; ++k)
    if (!visited.test(k)) walker.walk_from(k);
  line_starts.resize(walker.lines + 1);
  return 0;
}

}  // namespace filum
}  // namespace vorn
