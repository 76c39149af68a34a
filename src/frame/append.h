#ifndef FILUM_FRAME_APPEND_H
#define FILUM_FRAME_APPEND_H

// Appending to caller containers: values, columns, fixed-size columns. Each grows the
// storage geometrically so that repeated appends cost amortised constant time.

#include <algorithm>
#include <cstddef>

#include <vorn/dense.h>

namespace vorn {
namespace filum {

/// \brief The columns a matrix holds: 0 when it has no entries (rows x cols = 0),
/// whatever its nominal shape, so that new columns go to the front of an empty matrix.
template <class T>
std::size_t stored_columns(const dense2D<T>& m) noexcept {
  return m.empty() ? 0 : m.cols();
}

/// \brief Gives m (rows rows, or no entries) one more column, whose entries the caller
/// writes. The one growth rule of single-column appends: when m is full, room for
/// max(2 x columns, 4) columns is reserved first, so that repeated appends cost amortised
/// constant time; a failed reservation is not fatal, the resize asks again.
/// \return false, m's entries unchanged, when storage fails.
template <class T>
bool add_column(dense2D<T>& m, std::size_t rows) noexcept {
  const std::size_t cols = stored_columns(m);
  if (cols == m.col_capacity()) m.reserve(rows, std::max<std::size_t>(2 * cols, 4), 1);
  return m.resize(rows, cols + 1);
}

/// \brief Appends all values of source to target (reserving max(added, existing) +
/// existing when short). \return false when storage fails; an empty source does nothing.
template <class T>
bool append_values(const dense1D<T>& source, dense1D<T>& target) noexcept {
  const std::size_t added = source.size();
  if (added == 0) return true;
  const std::size_t existing = target.size();
  if (target.capacity() < existing + added &&
      !target.reserve(std::max(added, existing) + existing, 1))
    return false;
  const dense1D<T> from = source;  // keeps the source alive if both share storage
  if (!target.resize(existing + added)) return false;
  std::copy(from.begin(), from.end(), target.begin() + existing);
  return true;
}

/// \brief Appends all columns of source to target (same row count, or target empty).
bool append_columns(const dense2D<double>& source, dense2D<double>& target) noexcept;

/// \brief Appends the listed columns of source, in list order, to target.
bool gather_columns(const dense2D<double>& source, const dense1D<unsigned>& columns,
                    dense2D<double>& target) noexcept;

/// \brief Appends the R values as a new column of m (add_column's growth): refuses a
/// non-empty m with another row count.
template <std::size_t R>
bool append_fixed_column(const double* values, dense2D<double>& m) noexcept {
  if (!m.empty() && m.rows() != R) return false;
  const std::size_t cols = stored_columns(m);
  if (!add_column(m, R)) return false;
  std::copy(values, values + R, m.data() + cols * m.ld());
  return true;
}

/// \brief Appends vector v as a new last column of m. An empty v does nothing; a v whose
/// length differs from the rows of a non-empty m is refused; an empty m takes v's length.
bool append_column(const dense1D<double>& v, dense2D<double>& m) noexcept;

}  // namespace filum
}  // namespace vorn

#endif
