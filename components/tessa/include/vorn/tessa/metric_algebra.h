#ifndef VORN_TESSA_METRIC_ALGEBRA_H
#define VORN_TESSA_METRIC_ALGEBRA_H

/// \file
/// \brief Fixed-size metric tensor arithmetic: eigen-decomposition, simultaneous
/// reduction of two metrics, size-linear interpolation of a reduced pair, bounding of
/// a metric's sizes. Metrics are packed upper triangles, column by column: 2D (m11,
/// m12, m22), 3D (m11, m12, m22, m13, m23, m33). 3x3 and 2x2 matrices are column-major.
/// Nothing allocates; every failure is a false result.

#include <vorn/dense/fixed.h>
#include <vorn/tessa/export.h>

namespace vorn {
namespace tessa {

/// \brief Two metrics A and B in their common basis: A = sum_k eigen_a[k] q_k q_k',
/// B = sum_k eigen_b[k] q_k q_k', with p_k the unit columns of dirs and q_k the columns
/// of duals = dirs^-T, k in ascending order of the generalized eigenvalues.
struct metric_pair2d {
  double dirs[4];     ///< unit directions p_k, column-major 2x2
  double duals[4];    ///< dual basis q_k = columns of dirs^-T
  double eigen_a[2];  ///< coefficients of A in the dual basis
  double eigen_b[2];  ///< coefficients of B in the dual basis
};

/// \brief The 3D twin of metric_pair2d.
struct metric_pair3d {
  double dirs[9];     ///< unit directions p_k, column-major 3x3
  double duals[9];    ///< dual basis q_k = columns of dirs^-T
  double eigen_a[3];  ///< coefficients of A in the dual basis
  double eigen_b[3];  ///< coefficients of B in the dual basis
};

/// \brief Eigenvalues l0 <= l1 and eigenvectors of a symmetric 2x2 matrix, closed form.
/// e1 is e0 turned by a quarter turn; a matrix too close to a multiple of the identity
/// gets e0 = (1, 0).
/// \param[in] m11, m12, m22 the matrix, packed.
/// \param[in] normalize divide e0 (and so e1) to unit length.
/// \param[out] l0, l1 the eigenvalues (written even on failure).
/// \param[out] e0, e1 the eigenvectors (untouched on failure).
/// \return false when an eigenvalue is not finite.
VORN_TESSA_API bool eigen_decompose2d(double m11, double m12, double m22, bool normalize,
                                      double& l0, double& l1, vector_fixed<double, 2>& e0,
                                      vector_fixed<double, 2>& e1) noexcept;

/// \brief Eigenvalues l0 <= l1 of a symmetric 2x2 matrix (the same formula).
/// \return false when an eigenvalue is not finite.
VORN_TESSA_API bool eigen_values2d(double m11, double m12, double m22, double& l0,
                                   double& l1) noexcept;

/// \brief Eigenvalues (ascending) and, when wanted, a right-handed orthonormal basis of
/// eigenvectors (columns of a column-major 3x3) of a packed symmetric 3x3 matrix.
/// \param[in] M the matrix, packed.
/// \param[in] want_vectors false leaves vectors untouched.
/// \param[out] values the eigenvalues, ascending.
/// \param[out] vectors the eigenvectors, columns of a column-major 3x3.
/// \return false, outputs untouched, when an entry of M is not finite or LAPACK fails.
VORN_TESSA_API bool eigen_decompose3d(const symmetric_fixed<double, 3>& M, bool want_vectors,
                                      vector_fixed<double, 3>& values,
                                      vector_fixed<double, 9>& vectors) noexcept;

/// \brief Lower triangular L (column-major 3x3) with A = L L'.
/// \return false, with L zero, unless a11 > 0, a11 a22 - a12^2 > 0 and the last pivot is
/// >= 0 (a zero last pivot gives L33 = 0, which no reduction accepts).
VORN_TESSA_API bool cholesky3d(const symmetric_fixed<double, 3>& A,
                               vector_fixed<double, 9>& L) noexcept;

/// \brief Reduces A and B to their common basis (B need not be positive definite).
/// \return false, with every field of pair zero, when A is not positive definite or the
/// decomposition fails.
VORN_TESSA_API bool reduce_metrics2d(const symmetric_fixed<double, 2>& A,
                                     const symmetric_fixed<double, 2>& B,
                                     metric_pair2d& pair) noexcept;
/// \brief The 3D twin of reduce_metrics2d; on failure every field of pair is zero.
VORN_TESSA_API bool reduce_metrics3d(const symmetric_fixed<double, 3>& A,
                                     const symmetric_fixed<double, 3>& B,
                                     metric_pair3d& pair) noexcept;

/// \brief The metric at t of the pair, with sizes linear in t along the common directions.
/// \return false, M untouched, for an invalid pair; false, M zero, for an extrapolation
/// (t outside [0, 1]) to sizes that are not positive and finite.
VORN_TESSA_API bool interpolate_reduced2d(const metric_pair2d& pair, double t,
                                          symmetric_fixed<double, 2>& M) noexcept;
/// \brief The 3D twin of interpolate_reduced2d.
VORN_TESSA_API bool interpolate_reduced3d(const metric_pair3d& pair, double t,
                                          symmetric_fixed<double, 3>& M) noexcept;

/// \brief Clamps the sizes of M into [hmin, hmax] in its own eigenvectors (hmin <= 0: no
/// lower bound, hmax <= 0: no upper bound; when hmin > hmax every size becomes hmax).
/// \return false when M is left unchanged (nothing to clamp, invalid result, or entries
/// that are not finite); otherwise whether the new M is positive definite.
VORN_TESSA_API bool bound_metric_sizes2d(symmetric_fixed<double, 2>& M, double hmin,
                                         double hmax) noexcept;
/// \brief The 3D twin of bound_metric_sizes2d.
VORN_TESSA_API bool bound_metric_sizes3d(symmetric_fixed<double, 3>& M, double hmin,
                                         double hmax) noexcept;

}  // namespace tessa
}  // namespace vorn

#endif
