#ifndef FILUM_FRAME_METRIC_TENSOR_H
#define FILUM_FRAME_METRIC_TENSOR_H

// The metric arithmetic of the mesh utilities under one name for both dimensions, so that
// the metric workers can be templates on D: packed tensors of D (D + 1) / 2 values, their
// reduced pairs, and the length of a vector measured in a metric.

#include <cstddef>
#include <type_traits>

#include <vorn/dense.h>
#include <vorn/tessa.h>

#include "frame/point.h"

namespace vorn {
namespace filum {

/// \brief A metric tensor of dimension D, packed upper triangle column by column.
template <std::size_t D>
using metric = symmetric_fixed<double, D>;

/// \brief Rows of a metric column: 3 in the plane, 6 in space.
template <std::size_t D>
constexpr std::size_t metric_rows = D*(D + 1) / 2;

/// \brief Two metrics of dimension D in their common basis.
template <std::size_t D>
using metric_pair = std::conditional_t<D == 2, tessa::metric_pair2d, tessa::metric_pair3d>;

/// \brief Reduces A and B to their common basis. \return false when they cannot be reduced.
inline bool reduce_metrics(const metric<2>& A, const metric<2>& B,
                           tessa::metric_pair2d& pair) noexcept {
  return tessa::reduce_metrics2d(A, B, pair);
}
inline bool reduce_metrics(const metric<3>& A, const metric<3>& B,
                           tessa::metric_pair3d& pair) noexcept {
  return tessa::reduce_metrics3d(A, B, pair);
}

/// \brief The metric at t of a reduced pair, sizes linear in t. \return false on failure.
inline bool interpolate_reduced(const tessa::metric_pair2d& pair, double t, metric<2>& M) noexcept {
  return tessa::interpolate_reduced2d(pair, t, M);
}
inline bool interpolate_reduced(const tessa::metric_pair3d& pair, double t, metric<3>& M) noexcept {
  return tessa::interpolate_reduced3d(pair, t, M);
}

/// \brief Clamps the sizes of M into [hmin, hmax] in its own eigenvectors.
inline bool bound_metric_sizes(metric<2>& M, double hmin, double hmax) noexcept {
  return tessa::bound_metric_sizes2d(M, hmin, hmax);
}
inline bool bound_metric_sizes(metric<3>& M, double hmin, double hmax) noexcept {
  return tessa::bound_metric_sizes3d(M, hmin, hmax);
}

/// \brief Column j of a matrix of metric columns.
template <std::size_t D>
metric<D> column_metric(const dense2D<double>& metrics, std::size_t j) noexcept {
  metric<D> M;
  const double* c = metrics.data() + j * metrics.ld();
  for (std::size_t i = 0; i < metric_rows<D>; ++i)
    M[i] = c[i];
  return M;
}

/// \brief Writes M into column j of a matrix of metric columns.
template <std::size_t D>
void set_column_metric(dense2D<double>& metrics, std::size_t j, const metric<D>& M) noexcept {
  double* c = metrics.data() + j * metrics.ld();
  for (std::size_t i = 0; i < metric_rows<D>; ++i)
    c[i] = M[i];
}

/// \brief e' M e for the packed metric m: the square of the length of e measured in m.
template <std::size_t D>
double metric_square_length(const double* m, const point<D>& e) noexcept {
  double q = 0;
  std::size_t k = 0;
  for (std::size_t j = 0; j < D; ++j) {
    for (std::size_t i = 0; i < j; ++i)
      q += 2 * m[k++] * e[i] * e[j];
    q += m[k++] * e[j] * e[j];
  }
  return q;
}

}  // namespace filum
}  // namespace vorn

#endif
