#ifndef VORN_DENSE_REF_COUNTED_H
#define VORN_DENSE_REF_COUNTED_H

/// \file
/// \brief Intrusive reference counting for shared container buffers.

#include <atomic>
#include <cstddef>
#include <utility>

namespace vorn {
namespace trama {

/// \brief Base of objects shared through Ptr; holds the reference count.
class ref_counted {
 public:
  ref_counted() noexcept = default;
  ref_counted(const ref_counted&) = delete;
  ref_counted& operator=(const ref_counted&) = delete;

  /// \brief Adds one reference.
  void add_ref() const noexcept { refs_.fetch_add(1, std::memory_order_relaxed); }
  /// \brief Drops one reference. \return true when it was the last one.
  bool drop_ref() const noexcept { return refs_.fetch_sub(1, std::memory_order_acq_rel) == 1; }
  /// \brief Current number of references.
  std::size_t ref_count() const noexcept { return refs_.load(std::memory_order_relaxed); }

 protected:
  ~ref_counted() = default;

 private:
  mutable std::atomic<std::size_t> refs_{0};
};

/// \brief Owning pointer to a ref_counted object of type T; T::destroy(T*) frees
/// the object when the last reference goes.
template <class T>
class Ptr {
 public:
  Ptr() noexcept = default;
  /// \brief Takes a reference to object (nullptr: none).
  explicit Ptr(T* object) noexcept : p_(object) {
    if (p_) p_->add_ref();
  }
  /// \brief Another reference to the object of other.
  Ptr(const Ptr& other) noexcept : Ptr(other.p_) {}
  /// \brief Takes over the reference of other, which becomes empty.
  Ptr(Ptr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ~Ptr() { reset(); }

  /// \brief Holds the object of other instead of its own.
  Ptr& operator=(Ptr other) noexcept {
    std::swap(p_, other.p_);
    return *this;
  }

  /// \brief Drops the reference held, if any.
  void reset() noexcept {
    if (p_ && p_->drop_ref()) T::destroy(p_);
    p_ = nullptr;
  }

  /// \brief The object; nullptr when empty.
  T* get() const noexcept { return p_; }
  /// \brief Member access to the object.
  T* operator->() const noexcept { return p_; }
  /// \brief The object; the pointer must not be empty.
  T& operator*() const noexcept { return *p_; }
  /// \brief True when the pointer holds an object.
  explicit operator bool() const noexcept { return p_ != nullptr; }

 private:
  T* p_ = nullptr;
};

}  // namespace trama
}  // namespace vorn

#endif
