#ifndef VORN_DENSE_DENSE2D_H
#define VORN_DENSE_DENSE2D_H

/// \file
/// \brief dense2D: a column-major matrix view of a shared buffer.

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <limits>

#include <vorn/dense/dense1D.h>

namespace vorn {

/// \brief A column-major matrix view: element (i, j) lies at offset + j x ld + i
/// of a shared, reference-counted buffer.
///
/// Row counts are small (coordinates, tensors, element nodes) and columns are
/// nodes or elements, so matrices grow by columns. Copying a dense2D shares its
/// buffer; copy() makes a deep copy. Nothing throws; storage failures give false.
template <class T, std::size_t A = 8>
class dense2D {
 public:
  using value_type = T;                  ///< the entry type
  using buffer_type = vector_num<T, A>;  ///< the shared storage

  /// \brief A 0 x 0 matrix without storage.
  dense2D() noexcept = default;
  /// \brief A rows x cols matrix of value-initialized entries (0 x 0 if storage fails).
  dense2D(std::size_t rows, std::size_t cols) noexcept { resize(rows, cols); }
  /// \brief A rows x cols matrix filled with value (0 x 0 if storage fails).
  dense2D(std::size_t rows, std::size_t cols, const T& value) noexcept {
    resize(rows, cols, value);
  }

  /// \brief Number of rows.
  std::size_t rows() const noexcept { return rows_; }
  /// \brief Number of columns.
  std::size_t cols() const noexcept { return cols_; }
  /// \brief Column stride (leading dimension).
  std::size_t ld() const noexcept { return ld_; }
  /// \brief rows x cols.
  std::size_t size() const noexcept { return rows_ * cols_; }
  /// \brief True when the matrix has no entry.
  bool empty() const noexcept { return size() == 0; }
  /// \brief Elements available from the view's start without new storage.
  std::size_t capacity() const noexcept { return buffer_ ? buffer_->capacity() - offset_ : 0; }
  /// \brief Columns that fit in the storage at the current stride (0 when ld is 0).
  std::size_t col_capacity() const noexcept { return ld_ ? capacity() / ld_ : 0; }

  /// \brief Entry (0, 0), columns ld() apart; nullptr without storage.
  T* data() noexcept { return buffer_ ? buffer_->data() + offset_ : nullptr; }
  /// \copydoc data()
  const T* data() const noexcept { return buffer_ ? buffer_->data() + offset_ : nullptr; }
  /// \brief Entry (i, j), unchecked.
  T& operator()(std::size_t i, std::size_t j) noexcept { return data()[j * ld_ + i]; }
  /// \copydoc operator()(std::size_t, std::size_t)
  const T& operator()(std::size_t i, std::size_t j) const noexcept { return data()[j * ld_ + i]; }

  /// \brief Reshapes to rows x cols, keeping the leading rows and columns that remain;
  /// new entries are value-initialized.
  bool resize(std::size_t rows, std::size_t cols) noexcept { return resize(rows, cols, T()); }

  /// \brief Reshapes to rows x cols, keeping the leading rows and columns that remain;
  /// new entries take value. A change of row count re-lays the kept columns out at
  /// the new stride.
  bool resize(std::size_t rows, std::size_t cols, const T& value) noexcept {
    if (rows != 0 && cols > std::numeric_limits<std::size_t>::max() / rows) return false;
    const bool holds_data = rows_ != 0 && cols_ != 0;
    if (holds_data && rows != rows_) return relayout(rows, cols, value);
    const std::size_t first_new = holds_data ? cols_ : 0;
    if (!resize_for_overwrite(rows, cols)) return false;
    fill_columns(first_new, value);
    return true;
  }

  /// \brief resize without filling the new entries, for a caller that writes every one of
  /// them next (see dense1D::resize_for_overwrite); a change of row count of a matrix that
  /// holds data is a plain resize.
  bool resize_for_overwrite(std::size_t rows, std::size_t cols) noexcept {
    if (rows != 0 && cols > std::numeric_limits<std::size_t>::max() / rows) return false;
    const bool holds_data = rows_ != 0 && cols_ != 0;
    if (holds_data && rows != rows_) return relayout(rows, cols, T());
    const std::size_t ld = holds_data && ld_ >= rows ? ld_ : rows;
    if (!room_for(extent(rows, cols, ld), 1)) return false;
    set_shape(rows, cols, ld);
    return true;
  }

  /// \brief Capacity for rows x cols entries without changing the shape.
  /// \param[in] rows, cols the shape to make room for.
  /// \param[in] growth 1 reserves exactly; 2 takes at least twice the old capacity.
  bool reserve(std::size_t rows, std::size_t cols, std::size_t growth = 1) noexcept {
    if (rows != 0 && cols > std::numeric_limits<std::size_t>::max() / rows) return false;
    return room_for(rows * cols, growth);
  }

  /// \brief Makes this matrix a compact deep copy of other.
  bool copy(const dense2D& other) noexcept {
    dense2D fresh;
    if (!fresh.resize(other.rows_, other.cols_)) return false;
    for (std::size_t j = 0; j < other.cols_; ++j)
      std::copy(other.data() + j * other.ld_, other.data() + j * other.ld_ + other.rows_,
                fresh.data() + j * fresh.ld_);
    *this = std::move(fresh);
    return true;
  }

  /// \brief Shares other's storage and shape.
  void shallow_copy(const dense2D& other) noexcept { *this = other; }

  /// \brief A view of the block of nrows x ncols from (row0, col0), sharing storage.
  dense2D sub_matrix(std::size_t row0, std::size_t col0, std::size_t nrows,
                     std::size_t ncols) const noexcept {
    dense2D view(*this);
    view.offset_ = offset_ + col0 * ld_ + row0;
    view.rows_ = nrows;
    view.cols_ = ncols;
    return view;
  }

  /// \brief All entries, column by column, as one vector sharing storage. Only a
  /// matrix whose columns are contiguous (ld = rows) has such a view; a strided
  /// block gives an empty vector.
  dense1D<T, A> as_vector() const noexcept {
    if (ld_ != rows_ && cols_ > 1) return dense1D<T, A>();
    return dense1D<T, A>(buffer_, offset_, size());
  }

  /// \brief Column j as a vector view sharing storage.
  dense1D<T, A> col(std::size_t j) const noexcept {
    return dense1D<T, A>(buffer_, offset_ + j * ld_, rows_);
  }

  /// \brief Makes the matrix 0 x 0; the storage is kept for reuse.
  void clear() noexcept { set_shape(0, 0, 0); }

  /// \brief Internal: the shared buffer and the view's offset in it.
  const trama::Ptr<buffer_type>& buffer() const noexcept { return buffer_; }
  /// \brief Internal: the position of entry (0, 0) in the buffer.
  std::size_t offset() const noexcept { return offset_; }

 private:
  // Entries spanned by cols columns of rows entries at stride ld.
  static std::size_t extent(std::size_t rows, std::size_t cols, std::size_t ld) noexcept {
    return cols == 0 ? 0 : ld * (cols - 1) + rows;
  }

  void set_shape(std::size_t rows, std::size_t cols, std::size_t ld) noexcept {
    rows_ = rows;
    cols_ = cols;
    ld_ = ld;
  }

  // Ensures storage for n entries from the view's start.
  bool room_for(std::size_t n, std::size_t growth) noexcept {
    if (!buffer_) {
      if (n == 0) return true;
      buffer_ = trama::Ptr<buffer_type>(buffer_type::create());
      if (!buffer_) return false;
    }
    return grow_shared(*buffer_, offset_, n, offset_ + extent(rows_, cols_, ld_), growth);
  }

  // Fills the columns first .. cols_ - 1 with value.
  void fill_columns(std::size_t first, const T& value) noexcept {
    for (std::size_t j = first; j < cols_; ++j)
      std::fill(data() + j * ld_, data() + j * ld_ + rows_, value);
  }

  // Changes the row count of a matrix that holds data: the kept columns move to the
  // new compact stride (in the order that never overwrites a column not yet moved),
  // new rows and columns take value.
  bool relayout(std::size_t rows, std::size_t cols, const T& value) noexcept {
    if (!room_for(extent(rows, cols, rows), 1)) return false;
    const std::size_t kept_cols = std::min(cols, cols_);
    const std::size_t kept_rows = std::min(rows, rows_);
    T* base = data();
    auto move_column = [&](std::size_t j) {
      std::memmove(static_cast<void*>(base + j * rows), base + j * ld_, kept_rows * sizeof(T));
      std::fill(base + j * rows + kept_rows, base + (j + 1) * rows, value);
    };
    if (rows <= ld_) {
      for (std::size_t j = 0; j < kept_cols; ++j)
        move_column(j);
    } else {
      for (std::size_t j = kept_cols; j-- > 0;)
        move_column(j);
    }
    set_shape(rows, cols, rows);
    fill_columns(kept_cols, value);
    return true;
  }

  trama::Ptr<buffer_type> buffer_;
  std::size_t offset_ = 0;
  std::size_t rows_ = 0;
  std::size_t cols_ = 0;
  std::size_t ld_ = 0;
};

}  // namespace vorn

#endif
