#ifndef VORN_DENSE_DENSE1D_H
#define VORN_DENSE_DENSE1D_H

/// \file
/// \brief dense1D: a view of consecutive elements of a shared buffer.

#include <algorithm>
#include <cstddef>
#include <type_traits>

#include <vorn/dense/vector_num.h>

namespace vorn {

/// \brief A vector view: `size()` consecutive elements from an offset inside a
/// shared, reference-counted buffer.
///
/// Copying a dense1D shares its buffer (use copy() for a deep copy). Operations
/// that need storage return false when it cannot be obtained; none throws.
template <class T, std::size_t A = 8>
class dense1D {
 public:
  using value_type = T;                  ///< the element type
  using buffer_type = vector_num<T, A>;  ///< the shared storage

  /// \brief An empty vector without storage.
  dense1D() noexcept = default;
  /// \brief n value-initialized elements (empty when storage fails).
  explicit dense1D(std::size_t n) noexcept { resize(n); }
  /// \brief n copies of value (empty when storage fails).
  dense1D(std::size_t n, const T& value) noexcept { resize(n, value); }
  /// \brief A view of n elements of caller memory; the memory stays the caller's
  /// and is copied to own storage if the vector ever has to grow beyond n.
  template <class P, std::enable_if_t<std::is_same<P, T*>::value, int> = 0>
  dense1D(std::size_t n, P external) noexcept
      : buffer_(buffer_type::wrap(external, n)), size_(buffer_ ? n : 0) {}

  /// \brief Internal: a view of `size` elements at `offset` of a buffer.
  dense1D(trama::Ptr<buffer_type> buffer, std::size_t offset, std::size_t size) noexcept
      : buffer_(std::move(buffer)), offset_(offset), size_(size) {}

  /// \brief Number of elements in the view.
  std::size_t size() const noexcept { return size_; }
  /// \brief True when the view holds no element.
  bool empty() const noexcept { return size_ == 0; }
  /// \brief Elements available from the view's start without new storage.
  std::size_t capacity() const noexcept { return buffer_ ? buffer_->capacity() - offset_ : 0; }

  /// \brief First element of the view; nullptr without storage.
  T* data() noexcept { return buffer_ ? buffer_->data() + offset_ : nullptr; }
  /// \copydoc data()
  const T* data() const noexcept { return buffer_ ? buffer_->data() + offset_ : nullptr; }
  /// \brief Element i, unchecked.
  T& operator[](std::size_t i) noexcept { return data()[i]; }
  /// \copydoc operator[](std::size_t)
  const T& operator[](std::size_t i) const noexcept { return data()[i]; }
  /// \brief Iterator to the first element.
  T* begin() noexcept { return data(); }
  /// \brief Iterator past the last element.
  T* end() noexcept { return data() + size_; }
  /// \copydoc begin()
  const T* begin() const noexcept { return data(); }
  /// \copydoc end()
  const T* end() const noexcept { return data() + size_; }

  /// \brief Sets the size to n; new elements are value-initialized, old ones kept.
  bool resize(std::size_t n) noexcept { return resize(n, T()); }
  /// \brief Sets the size to n; new elements take value, old ones keep theirs.
  bool resize(std::size_t n, const T& value) noexcept {
    if (n > size_) {
      if (!room_for(n, 1)) return false;
      std::fill(data() + size_, data() + n, value);
    }
    size_ = n;
    return true;
  }

  /// \brief Sets the size to n, leaving new elements unset: for a caller that writes every
  /// one of them next, so that their pages are first touched where they are written (on
  /// the caller's threads) and only once.
  bool resize_for_overwrite(std::size_t n) noexcept {
    if (n > size_ && !room_for(n, 1)) return false;
    size_ = n;
    return true;
  }

  /// \brief Capacity for n elements without changing the size.
  /// \param[in] n elements wanted from the view's start.
  /// \param[in] growth 1 reserves exactly n; 2 takes at least twice the old capacity.
  bool reserve(std::size_t n, std::size_t growth = 1) noexcept { return room_for(n, growth); }

  /// \brief Appends one element; capacity doubles when full. \return false if storage fails.
  bool push_back(const T& value) noexcept {
    if (!room_for(size_ + 1, 2)) return false;
    data()[size_++] = value;
    return true;
  }

  /// \brief Appends count copies of value.
  bool push_back_n(const T& value, std::size_t count) noexcept {
    if (count == 0) return true;
    if (!room_for(size_ + count, 2)) return false;
    std::fill(data() + size_, data() + size_ + count, value);
    size_ += count;
    return true;
  }

  /// \brief Makes this vector a deep copy of other, in storage of its own.
  bool copy(const dense1D& other) noexcept {
    dense1D fresh;
    if (!fresh.room_for(other.size_, 1)) return false;
    if (other.size_ != 0) std::copy(other.begin(), other.end(), fresh.data());
    fresh.size_ = other.size_;
    *this = std::move(fresh);
    return true;
  }

  /// \brief A view of count elements from start, sharing this vector's storage.
  dense1D sub_vector(std::size_t start, std::size_t count) const noexcept {
    return dense1D(buffer_, offset_ + start, count);
  }

  /// \brief Sets the size to 0; the storage is kept for reuse.
  void clear() noexcept { size_ = 0; }

  /// \brief Internal: the shared buffer and the view's offset in it.
  const trama::Ptr<buffer_type>& buffer() const noexcept { return buffer_; }
  /// \brief Internal: the position of the view's first element in the buffer.
  std::size_t offset() const noexcept { return offset_; }

 private:
  // Ensures storage for n elements from the view's start.
  bool room_for(std::size_t n, std::size_t growth) noexcept {
    if (!buffer_) {
      if (n == 0) return true;
      buffer_ = trama::Ptr<buffer_type>(buffer_type::create());
      if (!buffer_) return false;
    }
    return grow_shared(*buffer_, offset_, n, offset_ + size_, growth);
  }

  trama::Ptr<buffer_type> buffer_;
  std::size_t offset_ = 0;
  std::size_t size_ = 0;
};

}  // namespace vorn

#endif
