#ifndef FILUM_METRICS_ELEMENT_METRICS_H
#define FILUM_METRICS_ELEMENT_METRICS_H

// The core shared by the metric generators that work on E2 elements: argument checks and
// growth of the metrics matrix, the walk over the elements that have a direction, the
// size rule and the rank-one sums a metric is built from.

#include <cmath>
#include <cstddef>

#include <vorn/dense.h>

#include "frame/point.h"

namespace vorn {
namespace filum {

/// \brief The size asked by h across an element of the given length: h when h > 0, the
/// length when h = 0, |h| x length when h < 0.
inline double element_size(double h, double length) noexcept {
  if (h > 0) return h;
  if (h == 0) return length;
  return std::fabs(h) * length;
}

/// \brief M += (1/h^2) u u': asks for size h along u (a unit vector, or one whose length
/// divides h). The term is scaled down so that no entry passes 1e150 (a zero-length element,
/// a denormal size): the metric stays finite, its merging squares no overflow, and no
/// infinity meets a zero component as NaN.
/// \param[in,out] M packed upper triangle.
template <std::size_t D>
inline void add_rank_one(symmetric_fixed<double, D>& M, const point<D>& u, double h) noexcept {
  constexpr double largest_entry = 1e150;
  double largest_square = 0;
  for (std::size_t i = 0; i < D; ++i)
    largest_square = std::max(largest_square, u[i] * u[i]);
  double weight = 1 / (h * h);
  if (!(weight * largest_square <= largest_entry))
    weight = largest_square > 0 ? largest_entry / largest_square : 0;
  for (std::size_t j = 0; j < D; ++j)
    for (std::size_t i = 0; i <= j; ++i)
      M(i, j) += weight * u[i] * u[j];
}

/// \brief The checks of an element generator, then metrics grown to cover every node.
/// \param[in] pos at least D rows.
/// \param[in] connectM non-empty, exactly 2 rows, nodes that are columns of pos.
/// \param[in] metrics_code the code that names the metrics argument.
/// \param[in,out] metrics empty or D(D+1)/2 rows; grown with zero columns.
/// \return 0; -1 for pos; -2 for connectM; metrics_code; -199 when storage fails.
template <std::size_t D>
int prepare_element_metrics(const dense2D<double>& pos, const dense2D<unsigned>& connectM,
                            int metrics_code, dense2D<double>& metrics) noexcept;

/// \brief Calls visit(e, a, b, t, length) for every element e = (a, b) of connectM, in
/// column order, whose squared length over D coordinates is neither 0, infinite nor NaN;
/// t = (P(b) - P(a)) / length.
template <std::size_t D, class Visit>
void for_each_element(const dense2D<double>& pos, const dense2D<unsigned>& connectM,
                      Visit&& visit) noexcept {
  for (std::size_t e = 0; e < connectM.cols(); ++e) {
    const unsigned a = connectM(0, e), b = connectM(1, e);
    const point<D> d = column_point<D>(pos, b) - column_point<D>(pos, a);
    const double length2 = norm2(d);
    if (!(length2 > 0) || std::isinf(length2)) continue;
    const double length = std::sqrt(length2);
    point<D> t;
    for (std::size_t i = 0; i < D; ++i)
      t[i] = d[i] / length;
    visit(e, a, b, t, length);
  }
}

}  // namespace filum
}  // namespace vorn

#endif
