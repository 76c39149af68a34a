#include "reduction.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace vorn {
namespace tessa {
namespace {

// The square roots of the smallest normal and of the largest double: sizes outside
// them have no representable eigenvalue 1/h^2.
constexpr double smallest_size = 1.4916681462400413e-154;
constexpr double largest_size = 1.3407807929942596e154;

// An eigenvalue that stands for a positive, finite size.
bool is_valid_eigenvalue(double value) noexcept {
  return value > 0 && value < DBL_MAX;
}

// The eigenvalue 1/h^2 of size h, saturated: DBL_MAX for sizes too small (or NaN),
// 0 for sizes too large.
double eigenvalue_of_size(double h) noexcept {
  if (h < smallest_size || std::isnan(h)) return DBL_MAX;
  if (h > largest_size) return 0;
  return 1 / (h * h);
}

// Common tail of both reductions: the eigenvalues of A along the unit directions of the
// pair, and those of B from the generalized eigenvalues mu (B p = mu A p).
template <std::size_t D>
void fill_eigenvalues(const packed_metric<D>& A, const double* mu, metric_pair<D>& pair) noexcept {
  for (std::size_t k = 0; k < D; ++k) {
    pair.eigen_a[k] = quadratic_form<D>(A, pair.dirs + k * D);
    pair.eigen_b[k] = pair.eigen_a[k] * mu[k];
  }
}

// The size-linear interpolation shared by both dimensions.
template <std::size_t D>
bool interpolate_reduced(const metric_pair<D>& pair, double t, packed_metric<D>& M) noexcept {
  for (std::size_t k = 0; k < D; ++k)
    if (!is_valid_eigenvalue(pair.eigen_a[k]) || !is_valid_eigenvalue(pair.eigen_b[k]))
      return false;
  double h[D];
  for (std::size_t k = 0; k < D; ++k) {
    const double ha = 1 / std::sqrt(pair.eigen_a[k]);
    const double hb = 1 / std::sqrt(pair.eigen_b[k]);
    h[k] = ha + t * (hb - ha);
  }
  if (!(t >= 0 && t <= 1)) {
    for (std::size_t k = 0; k < D; ++k) {
      if (h[k] <= 0 || !(h[k] < DBL_MAX)) {
        M = packed_metric<D>();
        return false;
      }
    }
  }
  double lambda[D];
  for (std::size_t k = 0; k < D; ++k)
    lambda[k] = eigenvalue_of_size(h[k]);
  M = sum_of_outers<D>(lambda, pair.duals);
  return true;
}

}  // namespace

bool cholesky3d(const symmetric_fixed<double, 3>& A, vector_fixed<double, 9>& L) noexcept {
  L = vector_fixed<double, 9>();
  const double a11 = A[0], a12 = A[1], a22 = A[2], a13 = A[3], a23 = A[4], a33 = A[5];
  if (!(a11 > 0)) return false;
  const double l11 = std::sqrt(a11);
  const double l21 = a12 / l11;
  const double l31 = a13 / l11;
  const double d2 = a11 * a22 - a12 * a12;
  if (!(d2 > 0)) return false;
  const double root_d2 = std::sqrt(d2);
  const double l22 = root_d2 / l11;
  const double l32 = (a11 * a23 - a12 * a13) / (root_d2 * l11);
  const double r = a33 - l31 * l31 - l32 * l32;
  if (!(r >= 0)) return false;
  L[0] = l11;
  L[1] = l21;
  L[2] = l31;
  L[4] = l22;
  L[5] = l32;
  L[8] = std::sqrt(r);
  return true;
}

bool reduce_metrics2d(const symmetric_fixed<double, 2>& A, const symmetric_fixed<double, 2>& B,
                      metric_pair2d& pair) noexcept {
  pair = metric_pair2d();
  const double a = A[0], b = A[1], c = A[2];
  const double d = a * c - b * b;
  if (a == 0 || !(d > 0)) return false;
  const double s = std::sqrt(d);
  // C = T B T' with T = [[s, 0], [-b, a]], for which T A T' = a d I.
  const double c11 = B[0] * d;
  const double c12 = (a * B[1] - b * B[0]) * s;
  const double c22 = a * a * B[2] - 2 * a * b * B[1] + b * b * B[0];
  double lambda[2];
  vector_fixed<double, 2> e[2];
  if (!eigen_decompose2d(c11, c12, c22, false, lambda[0], lambda[1], e[0], e[1])) return false;
  const double ad = a * d;
  const double mu[2] = {lambda[0] / ad, lambda[1] / ad};
  double p[4];
  for (std::size_t k = 0; k < 2; ++k) {
    p[2 * k] = s * e[k][0] - b * e[k][1];
    p[2 * k + 1] = a * e[k][1];
    normalize<2>(p + 2 * k);
  }
  const double det = p[0] * p[3] - p[2] * p[1];
  if (det == 0) return false;
  const double q[4] = {p[3] / det, -p[2] / det, -p[1] / det, p[0] / det};
  std::copy(p, p + 4, pair.dirs);
  std::copy(q, q + 4, pair.duals);
  fill_eigenvalues<2>(A, mu, pair);
  return true;
}

bool reduce_metrics3d(const symmetric_fixed<double, 3>& A, const symmetric_fixed<double, 3>& B,
                      metric_pair3d& pair) noexcept {
  pair = metric_pair3d();
  vector_fixed<double, 9> L;
  if (!cholesky3d(A, L)) return false;
  const double l11 = L[0], l21 = L[1], l31 = L[2], l22 = L[4], l32 = L[5], l33 = L[8];
  const double D = l11 * l22 * l33;
  if (D == 0) return false;
  // U = D L^-T, the transposed adjugate of L, for which U' A U = D^2 I.
  double U[9] = {};
  U[0] = l22 * l33;
  U[4] = l11 * l33;
  U[8] = l11 * l22;
  U[3] = -l21 * l33;
  U[7] = -l11 * l32;
  U[6] = l21 * l32 - l31 * l22;
  // C = U' B U, packed.
  double BU[9];
  for (std::size_t j = 0; j < 3; ++j)
    for (std::size_t i = 0; i < 3; ++i) {
      double sum = 0;
      for (std::size_t k = 0; k < 3; ++k)
        sum += B(i, k) * U[k + 3 * j];
      BU[i + 3 * j] = sum;
    }
  symmetric_fixed<double, 3> C;
  for (std::size_t j = 0; j < 3; ++j)
    for (std::size_t i = 0; i <= j; ++i) {
      double sum = 0;
      for (std::size_t k = 0; k < 3; ++k)
        sum += U[k + 3 * i] * BU[k + 3 * j];
      C(i, j) = sum;
    }
  vector_fixed<double, 3> lambda;
  vector_fixed<double, 9> Z;
  if (!eigen_decompose3d(C, true, lambda, Z)) return false;
  const double mu[3] = {lambda[0] / (D * D), lambda[1] / (D * D), lambda[2] / (D * D)};
  // P = U Z, unit columns.
  double P[9];
  for (std::size_t j = 0; j < 3; ++j) {
    for (std::size_t i = 0; i < 3; ++i) {
      double sum = 0;
      for (std::size_t k = 0; k < 3; ++k)
        sum += U[i + 3 * k] * Z[k + 3 * j];
      P[i + 3 * j] = sum;
    }
    normalize<3>(P + 3 * j);
  }
  // P^-T = cofactors / det: column k is the cross product of the two other columns.
  double Q[9];
  for (std::size_t k = 0; k < 3; ++k) {
    const double* u = P + 3 * ((k + 1) % 3);
    const double* v = P + 3 * ((k + 2) % 3);
    Q[3 * k] = u[1] * v[2] - u[2] * v[1];
    Q[3 * k + 1] = u[2] * v[0] - u[0] * v[2];
    Q[3 * k + 2] = u[0] * v[1] - u[1] * v[0];
  }
  const double det = P[0] * Q[0] + P[1] * Q[1] + P[2] * Q[2];
  if (det == 0) return false;
  for (double& q : Q)
    q /= det;
  std::copy(P, P + 9, pair.dirs);
  std::copy(Q, Q + 9, pair.duals);
  fill_eigenvalues<3>(A, mu, pair);
  return true;
}

bool interpolate_reduced2d(const metric_pair2d& pair, double t,
                           symmetric_fixed<double, 2>& M) noexcept {
  return interpolate_reduced<2>(pair, t, M);
}

bool interpolate_reduced3d(const metric_pair3d& pair, double t,
                           symmetric_fixed<double, 3>& M) noexcept {
  return interpolate_reduced<3>(pair, t, M);
}

}  // namespace tessa
}  // namespace vorn
