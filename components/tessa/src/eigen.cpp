#include "eigen.h"

#include <algorithm>
#include <cmath>

#include <vorn/tessa/metric_algebra.h>

#include "lapack.h"

namespace vorn {
namespace tessa {
namespace {

// Eigenvalues l0 <= l1 of [[m11, m12], [m12, m22]] from the quadratic formula, with the
// smaller one recomputed from the determinant when the formula cancels.
bool closed_form_eigenvalues(double m11, double m12, double m22, double& l0, double& l1) noexcept {
  const double disc = std::sqrt((m11 - m22) * (m11 - m22) + 4 * m12 * m12);
  const double det = m11 * m22 - m12 * m12;
  double low = (m11 + m22 - disc) / 2;
  double high = low + disc;
  if (std::fabs(low) < 1e-12 * std::fabs(high))
    low = det / high;
  else if (std::fabs(high) < 1e-12 * std::fabs(low))
    high = det / low;
  l0 = low;
  l1 = high;
  return std::isfinite(low) && std::isfinite(high);
}

// LAPACK's packed symmetric eigensolver on a copy of M; vectors (9 values) may be null
// when only the eigenvalues are wanted. A right-handed basis replaces the third vector.
bool packed_eigen3(const packed_metric<3>& M, double* values, double* vectors) noexcept {
  for (std::size_t k = 0; k < M.size(); ++k)
    if (!std::isfinite(M[k])) return false;
  double packed[6];
  std::copy(M.data(), M.data() + 6, packed);
  double z[9] = {};
  double work[9];
  const char jobz = vectors ? 'V' : 'N';
  const char uplo = 'U';
  const int n = 3;
  const int ldz = vectors ? 3 : 1;
  int info = 0;
  dspev_(&jobz, &uplo, &n, packed, values, z, &ldz, work, &info, 1, 1);
  if (info != 0) return false;
  if (vectors) {
    z[6] = z[1] * z[5] - z[2] * z[4];
    z[7] = z[2] * z[3] - z[0] * z[5];
    z[8] = z[0] * z[4] - z[1] * z[3];
    std::copy(z, z + 9, vectors);
  }
  return true;
}

}  // namespace

bool eigen_values2d(double m11, double m12, double m22, double& l0, double& l1) noexcept {
  return closed_form_eigenvalues(m11, m12, m22, l0, l1);
}

bool eigen_decompose2d(double m11, double m12, double m22, bool normalize, double& l0, double& l1,
                       vector_fixed<double, 2>& e0, vector_fixed<double, 2>& e1) noexcept {
  if (!closed_form_eigenvalues(m11, m12, m22, l0, l1)) return false;
  const double u = l0 - m22;
  const double w = l0 - m11;
  vector_fixed<double, 2> e =
      u * u > w * w ? vector_fixed<double, 2>(u, m12) : vector_fixed<double, 2>(m12, w);
  const double squared = std::max(u * u, w * w) + m12 * m12;
  if (!(squared > 1e-24 * std::max(m11 * m11, m22 * m22))) {
    e = vector_fixed<double, 2>(1.0, 0.0);
  } else if (normalize) {
    const double length = std::sqrt(squared);
    e[0] /= length;
    e[1] /= length;
  }
  e0 = e;
  e1 = vector_fixed<double, 2>(-e[1], e[0]);
  return true;
}

bool eigen_decompose3d(const symmetric_fixed<double, 3>& M, bool want_vectors,
                       vector_fixed<double, 3>& values, vector_fixed<double, 9>& vectors) noexcept {
  double w[3];
  double z[9];
  if (!packed_eigen3(M, w, want_vectors ? z : nullptr)) return false;
  std::copy(w, w + 3, values.data());
  if (want_vectors) std::copy(z, z + 9, vectors.data());
  return true;
}

template <>
bool unit_eigen_basis<2>(const packed_metric<2>& M, double* values, double* vectors) noexcept {
  vector_fixed<double, 2> e0;
  vector_fixed<double, 2> e1;
  if (!eigen_decompose2d(M[0], M[1], M[2], true, values[0], values[1], e0, e1)) return false;
  vectors[0] = e0[0];
  vectors[1] = e0[1];
  vectors[2] = e1[0];
  vectors[3] = e1[1];
  return true;
}

template <>
bool unit_eigen_basis<3>(const packed_metric<3>& M, double* values, double* vectors) noexcept {
  return packed_eigen3(M, values, vectors);
}

template <>
bool smallest_eigenvalue<2>(const packed_metric<2>& M, double& value) noexcept {
  double l0 = 0;
  double l1 = 0;
  if (!eigen_values2d(M[0], M[1], M[2], l0, l1)) return false;
  value = std::min(l0, l1);
  return true;
}

template <>
bool smallest_eigenvalue<3>(const packed_metric<3>& M, double& value) noexcept {
  double w[3];
  if (!packed_eigen3(M, w, nullptr)) return false;
  value = w[0];
  return true;
}

}  // namespace tessa
}  // namespace vorn
