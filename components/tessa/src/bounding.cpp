#include <cfloat>
#include <cstring>

#include <vorn/tessa.h>

#include "eigen.h"

namespace vorn {
namespace tessa {
namespace {

// Clamps the eigenvalues of M into [1/hmax^2, 1/hmin^2] in its own eigenvectors and
// rebuilds it; M is left as it was when nothing is clamped or the clamped eigenvalues
// do not stand for positive, finite sizes.
template <std::size_t D>
bool bound_metric_sizes(packed_metric<D>& M, double hmin, double hmax) noexcept {
  const double lambda_max = hmin > 0 ? 1 / (hmin * hmin) : DBL_MAX;
  const double lambda_min = hmax > 0 ? 1 / (hmax * hmax) : 0;
  double lambda[D];
  double vectors[D * D];
  if (!unit_eigen_basis<D>(M, lambda, vectors)) return false;
  bool changed = false;
  for (std::size_t k = 0; k < D; ++k) {
    if (!(lambda[k] <= lambda_max)) {
      lambda[k] = lambda_max;
      changed = true;
    }
    if (lambda_min > lambda[k]) {
      lambda[k] = lambda_min;
      changed = true;
    }
  }
  if (!changed) return false;
  for (std::size_t k = 0; k < D; ++k)
    if (lambda[k] <= 0 || !(lambda[k] < DBL_MAX)) return false;
  M = sum_of_outers<D>(lambda, vectors);
  double smallest = 0;
  return smallest_eigenvalue<D>(M, smallest) && smallest > 0;
}

// bound_metric for both dimensions: 0 when M was rewritten, 1 when it is as it was.
template <std::size_t D>
int bound_metric_in_place(packed_metric<D>& M, double hmin, double hmax) noexcept {
  const packed_metric<D> before = M;
  bound_metric_sizes<D>(M, hmin, hmax);
  return std::memcmp(before.data(), M.data(), sizeof(before.values)) == 0 ? 1 : 0;
}

}  // namespace

bool bound_metric_sizes2d(symmetric_fixed<double, 2>& M, double hmin, double hmax) noexcept {
  return bound_metric_sizes<2>(M, hmin, hmax);
}

bool bound_metric_sizes3d(symmetric_fixed<double, 3>& M, double hmin, double hmax) noexcept {
  return bound_metric_sizes<3>(M, hmin, hmax);
}

int bound_metric(symmetric_fixed<double, 2>& M, double hmin, double hmax) noexcept {
  return bound_metric_in_place<2>(M, hmin, hmax);
}

int bound_metric(symmetric_fixed<double, 3>& M, double hmin, double hmax) noexcept {
  return bound_metric_in_place<3>(M, hmin, hmax);
}

}  // namespace tessa
}  // namespace vorn
