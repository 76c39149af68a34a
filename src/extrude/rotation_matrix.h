#ifndef FILUM_EXTRUDE_ROTATION_MATRIX_H
#define FILUM_EXTRUDE_ROTATION_MATRIX_H

// Rotation of space about an axis through the origin, given by a rotation vector.

#include "frame/point.h"

namespace vorn {
namespace filum {

/// \brief A 3 x 3 matrix, entry (i, j) at entry[i][j].
struct matrix3 {
  double entry[3][3];
};

/// \brief The rotation by the angle |v| about the direction of v (right-hand rule):
/// R = I + a K + b K^2 with K the cross-product matrix of v, a = sin|v| / |v| and
/// b = (1 - cos|v|) / |v|^2, both taken from truncated series when |v| <= 0.1.
/// \param[in] v the rotation vector; (0, 0, 0) gives the identity.
matrix3 rotation_matrix(const point<3>& v) noexcept;

/// \brief The product R r.
inline point<3> operator*(const matrix3& R, const point<3>& r) noexcept {
  point<3> p;
  for (std::size_t i = 0; i < 3; ++i)
    p[i] = R.entry[i][0] * r[0] + R.entry[i][1] * r[1] + R.entry[i][2] * r[2];
  return p;
}

/// \brief Sine and cosine of one angle, written so that the compiler evaluates them in
/// one combined call.
inline void sine_cosine(double angle, double& sine, double& cosine) noexcept {
  sine = std::sin(angle);
  cosine = std::cos(angle);
}

}  // namespace filum
}  // namespace vorn

#endif
