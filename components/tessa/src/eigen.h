#ifndef VORN_TESSA_EIGEN_H
#define VORN_TESSA_EIGEN_H

// Eigen-decomposition of packed metrics behind one name per dimension, so that the
// dimension-generic workers can call it: closed form in 2D, LAPACK in 3D.

#include <cstddef>

#include "packed.h"

namespace vorn {
namespace tessa {

/// \brief Eigenvalues of M in ascending order and unit eigenvectors.
/// \param[out] values D eigenvalues.
/// \param[out] vectors the eigenvectors as the columns of a column-major D x D matrix.
/// \return false when the decomposition fails (entries that are not finite).
template <std::size_t D>
bool unit_eigen_basis(const packed_metric<D>& M, double* values, double* vectors) noexcept;

/// \brief The smallest eigenvalue of M. \return false when it cannot be computed.
template <std::size_t D>
bool smallest_eigenvalue(const packed_metric<D>& M, double& value) noexcept;

template <>
bool unit_eigen_basis<2>(const packed_metric<2>& M, double* values, double* vectors) noexcept;
template <>
bool unit_eigen_basis<3>(const packed_metric<3>& M, double* values, double* vectors) noexcept;
template <>
bool smallest_eigenvalue<2>(const packed_metric<2>& M, double& value) noexcept;
template <>
bool smallest_eigenvalue<3>(const packed_metric<3>& M, double& value) noexcept;

}  // namespace tessa
}  // namespace vorn

#endif
