#include <algorithm>
#include <cmath>

#include <vorn/tessa.h>

#include "reduction.h"

namespace vorn {
namespace tessa {
namespace {

// Whether a reduction gave finite directions and values: one made on a tensor whose
// eigenvalues are denormal can overflow without failing, and must not be used.
template <std::size_t D>
bool is_finite_pair(const metric_pair<D>& pair) noexcept {
  for (std::size_t k = 0; k < D * D; ++k)
    if (!std::isfinite(pair.dirs[k]) || !std::isfinite(pair.duals[k])) return false;
  for (std::size_t k = 0; k < D; ++k)
    if (!std::isfinite(pair.eigen_a[k]) || !std::isfinite(pair.eigen_b[k])) return false;
  return true;
}

// The intersection of A and B in their common basis: the larger eigenvalue, so the
// smaller size, along every common direction. A zero tensor asks for nothing.
template <std::size_t D>
bool intersect(const packed_metric<D>& A, const packed_metric<D>& B,
               packed_metric<D>& out) noexcept {
  const packed_metric<D> a = A;  // out may alias A or B
  const packed_metric<D> b = B;
  if (is_zero<D>(b)) {
    out = a;
    return true;
  }
  if (is_zero<D>(a)) {
    out = b;
    return true;
  }
  // Both eigenvalues come from the tensors themselves, not from the reduction's
  // generalized eigenvalues: a_k mu_k loses B where a_k is almost 0 (A only
  // semi-definite) and carries mu_k's rounding where the eigenvalues spread widely. The
  // reduction already holds p_k' R p_k of the tensor R it was made on.
  metric_pair<D> pair;
  const bool on_a = reduce_metrics(a, b, pair) && is_finite_pair<D>(pair);
  if (!on_a && !(reduce_metrics(b, a, pair) && is_finite_pair<D>(pair))) {
    out = a;
    return false;
  }
  const packed_metric<D>& other = on_a ? b : a;
  double lambda[D];
  for (std::size_t k = 0; k < D; ++k)
    lambda[k] = std::max(pair.eigen_a[k], quadratic_form<D>(other, pair.dirs + k * D));
  out = sum_of_outers<D>(lambda, pair.duals);
  return true;
}

}  // namespace

bool minimum_metric(const symmetric_fixed<double, 2>& A, const symmetric_fixed<double, 2>& B,
                    symmetric_fixed<double, 2>& out) noexcept {
  return intersect<2>(A, B, out);
}

bool minimum_metric(const symmetric_fixed<double, 3>& A, const symmetric_fixed<double, 3>& B,
                    symmetric_fixed<double, 3>& out) noexcept {
  return intersect<3>(A, B, out);
}

}  // namespace tessa
}  // namespace vorn
