#ifndef FILUM_CONNECT_APPEND_EDGE_H
#define FILUM_CONNECT_APPEND_EDGE_H

// Growing an E2 connectivity one element at a time.

#include <cstddef>

#include <vorn/dense.h>

#include "frame/append.h"

namespace vorn {
namespace filum {

/// \brief Appends the element [start, end] as a new last column of an E2 connectivity.
/// Grows as add_column does.
/// \param[in,out] connectE2 E2 connectivity (2 rows, or no entries: it then takes 2 rows).
/// \param[in] start the element's start node.
/// \param[in] end the element's end node.
/// \return false, with connectE2 unchanged, for a non-empty matrix without 2 rows or when
/// storage fails.
bool append_edge(dense2D<unsigned>& connectE2, unsigned start, unsigned end) noexcept;

}  // namespace filum
}  // namespace vorn

#endif
