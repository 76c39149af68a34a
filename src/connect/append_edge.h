#ifndef FILUM_CONNECT_APPEND_EDGE_H
#define FILUM_CONNECT_APPEND_EDGE_H

// Growing an E2 connectivity one element at a time, and the column count that new
// elements are appended behind.

#include <cstddef>

#include <vorn/dense.h>

namespace vorn {
namespace filum {

/// \brief The columns a connectivity holds: 0 when it has no entries (rows x cols = 0),
/// whatever its nominal shape, so that new columns go to the front of an empty matrix.
/// \param[in] connectM any connectivity.
inline std::size_t stored_columns(const dense2D<unsigned>& connectM) noexcept {
  return connectM.empty() ? 0 : connectM.cols();
}

/// \brief Appends the element [start, end] as a new last column of an E2 connectivity.
/// When the storage is full, room for max(4, 2 x columns) columns is reserved first, so
/// that repeated appends double the capacity.
/// \param[in,out] connectE2 E2 connectivity (2 rows, or no entries: it then takes 2 rows).
/// \param[in] start the element's start node.
/// \param[in] end the element's end node.
/// \return false, with connectE2 unchanged, for a non-empty matrix without 2 rows or when
/// storage fails.
bool append_edge(dense2D<unsigned>& connectE2, unsigned start, unsigned end) noexcept;

}  // namespace filum
}  // namespace vorn

#endif
