#ifndef VORN_DENSE_VECTOR_NUM_H
#define VORN_DENSE_VECTOR_NUM_H

/// \file
/// \brief The shared, growable buffer behind every dense container view.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <new>
#include <type_traits>

#include <vorn/dense/allocation.h>
#include <vorn/dense/ref_counted.h>

namespace vorn {

/// \brief A reference-counted buffer of trivially copyable T with a capacity.
///
/// Views (dense1D, dense2D) share one buffer through trama::Ptr; when the buffer
/// grows, every view that shares it sees the new storage.
template <class T, std::size_t A = 8>
class vector_num : public trama::ref_counted {
  static_assert(std::is_trivially_copy_constructible<T>::value &&
                    std::is_trivially_destructible<T>::value,
                "dense containers hold plain values");
  static_assert(A <= alignof(std::max_align_t), "alignment beyond what the allocator gives");

 public:
  /// \brief A new empty buffer; nullptr when storage fails.
  static vector_num* create() noexcept { return make(nullptr, 0, true); }

  /// \brief A buffer over caller memory of n elements; the memory is never freed
  /// by the buffer and is left behind (copied) when the buffer has to grow.
  static vector_num* wrap(T* external, std::size_t n) noexcept { return make(external, n, false); }

  /// \brief Frees a buffer whose last reference went (called by trama::Ptr).
  static void destroy(vector_num* buffer) noexcept {
    buffer->~vector_num();
    __vector_num_free(buffer);
  }

  /// \brief The first element; nullptr before any storage.
  T* data() const noexcept { return data_; }
  /// \brief Elements the storage holds.
  std::size_t capacity() const noexcept { return capacity_; }

  /// \brief Makes room for at least `needed` elements, keeping the first `kept`.
  /// \param[in] needed the smallest capacity wanted.
  /// \param[in] kept elements whose values the new storage keeps.
  /// \param[in] growth the new capacity is max(needed, growth x capacity).
  /// \return false, with the buffer unchanged, when storage fails.
  bool __grow(std::size_t needed, std::size_t kept, std::size_t growth) noexcept {
    if (needed <= capacity_) return true;
    constexpr std::size_t most = std::numeric_limits<std::size_t>::max() / sizeof(T);
    if (needed > most) return false;
    std::size_t wanted = needed;
    if (growth > 1 && capacity_ <= most / growth && growth * capacity_ > needed)
      wanted = growth * capacity_;
    if (kept > capacity_) kept = capacity_;
    // Own storage mostly in use grows in place or is remapped, so a large buffer is neither
    // copied nor resident twice; realloc keeps every old byte, so storage mostly unused is
    // better copied by its kept part.
    const bool remap = owned_ && kept != 0 && kept >= capacity_ / 2;
    const std::size_t bytes = wanted * sizeof(T);
    T* fresh =
        static_cast<T*>(remap ? __vector_num_realloc(data_, bytes) : __vector_num_alloc(bytes));
    if (!fresh) return false;
    if (!remap) {
      // T is trivially copy-constructible and destructible (asserted above): bytes suffice.
      // NOLINTNEXTLINE(bugprone-undefined-memory-manipulation)
      if (kept != 0) std::memcpy(static_cast<void*>(fresh), data_, kept * sizeof(T));
      if (owned_) __vector_num_free(data_);
    }
    data_ = fresh;
    capacity_ = wanted;
    owned_ = true;
    return true;
  }

 private:
  vector_num(T* data, std::size_t capacity, bool owned) noexcept
      : data_(data), capacity_(capacity), owned_(owned) {}
  ~vector_num() {
    if (owned_) __vector_num_free(data_);
  }

  static vector_num* make(T* data, std::size_t capacity, bool owned) noexcept {
    void* place = __vector_num_alloc(sizeof(vector_num));
    return place ? new (place) vector_num(data, capacity, owned) : nullptr;
  }

  T* data_;
  std::size_t capacity_;
  bool owned_;
};

/// \brief Makes room for `count` elements from `offset` in a buffer that views may
/// share: a shared buffer keeps all its old content, an unshared one the first `used`.
template <class T, std::size_t A>
bool grow_shared(vector_num<T, A>& buffer, std::size_t offset, std::size_t count, std::size_t used,
                 std::size_t growth) noexcept {
  if (count > std::numeric_limits<std::size_t>::max() - offset) return false;
  const std::size_t kept = buffer.ref_count() > 1 ? buffer.capacity() : used;
  return buffer.__grow(offset + count, kept, growth);
}

}  // namespace vorn

#endif
