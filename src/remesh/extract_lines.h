#ifndef FILUM_REMESH_EXTRACT_LINES_H
#define FILUM_REMESH_EXTRACT_LINES_H

// Cutting of an E2 network into lines: chains of consecutive elements, each following
// its predecessor through the predecessor's end node, that run from one hard node to
// the next or close on themselves.

#include <vorn/dense.h>

#include "remesh/node_set.h"

namespace vorn {
namespace filum {

/// \brief Cuts a network into lines, in compressed form.
///
/// Lines are walked along the element directions, each walk from element k appending
/// elements until the current one ends at a hard node, has no follower (an entry of
/// neighbors row 0 not below E) or is followed by an element already taken. Walks start
/// first from every element whose start node is hard, in element order, then from the
/// lowest-index element not yet taken until every element belongs to a line; a closed
/// loop without hard node thus becomes one line from its lowest-index element.
/// \param[in] connectM E2 elements; only rows 0 and 1 are read.
/// \param[in] neighbors 2 x E; only row 0 (the element sharing e's end node) is read.
/// \param[in] hard_nodes the nodes at which lines are cut.
/// \param[out] line_starts L + 1 entries for L lines: 0, then the end of each line in
/// line_elements. Emptied first.
/// \param[out] line_elements every element exactly once, line after line, in walking
/// order. Emptied first.
/// \return 0, or -199 when storage for the outputs could not be obtained (both are then
/// empty).
int extract_lines(const dense2D<unsigned>& connectM, const dense2D<unsigned>& neighbors,
                  const node_set& hard_nodes, dense1D<unsigned>& line_starts,
                  dense1D<unsigned>& line_elements) noexcept;

}  // namespace filum
}  // namespace vorn

#endif
