#ifndef FILUM_REMESH_LINE_CHAIN_H
#define FILUM_REMESH_LINE_CHAIN_H

// The node chain of one line of a network cut into lines.

#include <cstddef>

#include <vorn/dense.h>

namespace vorn {
namespace filum {

/// \brief The nodes of line i in walking order: the start node of its first element,
/// then the end node of each of its elements. A line of n elements gives n + 1 nodes; a
/// closed line repeats its first node at the end.
/// \param[in] connectM E2 elements; only rows 0 and 1 are read.
/// \param[in] line_starts, line_elements the lines in compressed form (extract_lines).
/// \param[in] i the line, below line_starts.size() - 1.
/// \param[out] chain emptied first; storage for exactly n + 1 entries is reserved.
/// \return 0, or -199 when that storage could not be obtained (chain then empty).
int line_chain(const dense2D<unsigned>& connectM, const dense1D<unsigned>& line_starts,
               const dense1D<unsigned>& line_elements, std::size_t i,
               dense1D<unsigned>& chain) noexcept;

}  // namespace filum
}  // namespace vorn

#endif
