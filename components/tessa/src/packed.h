#ifndef VORN_TESSA_PACKED_H
#define VORN_TESSA_PACKED_H

// Small helpers on packed symmetric tensors shared by the 2D and 3D workers, which are
// templates on the dimension D.

#include <cmath>
#include <cstddef>

#include <vorn/dense/fixed.h>

namespace vorn {
namespace tessa {

template <std::size_t D>
using packed_metric = symmetric_fixed<double, D>;

/// \brief M += w * v v' for a vector v of D values.
template <std::size_t D>
inline void add_outer(double w, const double* v, packed_metric<D>& M) noexcept {
  for (std::size_t j = 0; j < D; ++j)
    for (std::size_t i = 0; i <= j; ++i)
      M(i, j) += w * v[i] * v[j];
}

/// \brief M = sum_k w[k] v_k v_k', v_k the columns of a column-major D x D matrix.
template <std::size_t D>
inline packed_metric<D> sum_of_outers(const double* w, const double* vectors) noexcept {
  packed_metric<D> M;
  for (std::size_t k = 0; k < D; ++k)
    add_outer<D>(w[k], vectors + k * D, M);
  return M;
}

/// \brief v' A v.
template <std::size_t D>
inline double quadratic_form(const packed_metric<D>& A, const double* v) noexcept {
  double sum = 0;
  for (std::size_t i = 0; i < D; ++i) {
    sum += A(i, i) * v[i] * v[i];
    for (std::size_t j = i + 1; j < D; ++j)
      sum += 2 * A(i, j) * v[i] * v[j];
  }
  return sum;
}

/// \brief Whether every entry is zero.
template <std::size_t D>
inline bool is_zero(const packed_metric<D>& M) noexcept {
  for (std::size_t k = 0; k < M.size(); ++k)
    if (M[k] != 0) return false;
  return true;
}

/// \brief Divides v (D values) by its length unless its squared length is 0 or exactly 1.
template <std::size_t D>
inline void normalize(double* v) noexcept {
  double squared = 0;
  for (std::size_t i = 0; i < D; ++i)
    squared += v[i] * v[i];
  if (squared == 0 || squared == 1) return;
  const double length = std::sqrt(squared);
  for (std::size_t i = 0; i < D; ++i)
    v[i] /= length;
}

}  // namespace tessa
}  // namespace vorn

#endif
