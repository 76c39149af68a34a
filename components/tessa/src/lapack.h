#ifndef VORN_TESSA_LAPACK_H
#define VORN_TESSA_LAPACK_H

// The one LAPACK routine the metric arithmetic needs, with the Fortran calling convention
// (arguments by address, hidden lengths of the character arguments at the end).

#include <cstddef>

extern "C" {

/// \brief Eigenvalues (ascending) and, with jobz 'V', orthonormal eigenvectors of a real
/// symmetric matrix in packed storage.
/// \param[in] jobz 'N' eigenvalues only, 'V' also eigenvectors.
/// \param[in] uplo 'U' when ap holds the upper triangle column by column.
/// \param[in] n order of the matrix.
/// \param[in,out] ap packed matrix, n(n+1)/2 values; destroyed.
/// \param[out] w n eigenvalues, ascending.
/// \param[out] z eigenvectors as the columns of an n x n matrix (jobz 'V').
/// \param[in] ldz leading dimension of z (>= 1, >= n with jobz 'V').
/// \param[out] work 3n doubles of workspace.
/// \param[out] info 0 on success.
void dspev_(const char* jobz, const char* uplo, const int* n, double* ap, double* w, double* z,
            const int* ldz, double* work, int* info, std::size_t jobz_len, std::size_t uplo_len);
}

#endif
