#ifndef VORN_DENSE_FIXED_H
#define VORN_DENSE_FIXED_H

/// \file
/// \brief Fixed-size values: vector_fixed, symmetric_fixed and triad.

#include <cstddef>
#include <type_traits>

namespace vorn {

/// \brief N values held by value; zero by default.
template <class T, std::size_t N>
struct vector_fixed {
  static_assert(N > 0, "a fixed vector holds at least one value");

  T values[N] = {};  ///< the values, in order

  vector_fixed() noexcept = default;
  /// \brief From exactly N values: vector_fixed<double, 3>(1.0, 2.0, 3.0).
  template <
      class... U,
      std::enable_if_t<sizeof...(U) == N && (std::is_convertible<U, T>::value && ...), int> = 0>
  vector_fixed(U... u) noexcept : values{static_cast<T>(u)...} {}

  /// \brief N.
  static constexpr std::size_t size() noexcept { return N; }
  /// \brief Value i, unchecked.
  T& operator[](std::size_t i) noexcept { return values[i]; }
  /// \copydoc operator[](std::size_t)
  const T& operator[](std::size_t i) const noexcept { return values[i]; }
  /// \brief The first value.
  T* data() noexcept { return values; }
  /// \copydoc data()
  const T* data() const noexcept { return values; }
};

/// \brief A symmetric N x N matrix as its N(N+1)/2 distinct entries: the upper
/// triangle packed column by column, entry (i, j), i <= j, at j(j+1)/2 + i.
/// Zero by default.
template <class T, std::size_t N>
struct symmetric_fixed {
  static constexpr std::size_t packed_size = N * (N + 1) / 2;  ///< distinct entries

  T values[packed_size] = {};  ///< the packed upper triangle

  /// \brief packed_size.
  static constexpr std::size_t size() noexcept { return packed_size; }
  /// \brief Packed position of entry (i, j), in either order.
  static constexpr std::size_t index(std::size_t i, std::size_t j) noexcept {
    return i <= j ? j * (j + 1) / 2 + i : i * (i + 1) / 2 + j;
  }
  /// \brief Packed entry k, unchecked.
  T& operator[](std::size_t k) noexcept { return values[k]; }
  /// \copydoc operator[](std::size_t)
  const T& operator[](std::size_t k) const noexcept { return values[k]; }
  /// \brief Entry (i, j) of the full matrix.
  T& operator()(std::size_t i, std::size_t j) noexcept { return values[index(i, j)]; }
  /// \copydoc operator()(std::size_t, std::size_t)
  const T& operator()(std::size_t i, std::size_t j) const noexcept { return values[index(i, j)]; }
  /// \brief The first packed entry.
  T* data() noexcept { return values; }
  /// \copydoc data()
  const T* data() const noexcept { return values; }
};

/// \brief Three values of possibly different types.
template <class A, class B, class C>
struct triad {
  A first;   ///< the first value
  B second;  ///< the second value
  C third;   ///< the third value
};

}  // namespace vorn

#endif
