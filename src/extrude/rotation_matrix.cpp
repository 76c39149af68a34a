#include "extrude/rotation_matrix.h"

#include <cmath>

namespace vorn {
namespace filum {
namespace {

// At and below this angle the closed forms of a and b lose digits to cancellation.
constexpr double series_angle = 0.1;

// sin(theta) / theta as a polynomial in x = theta^2, Horner form from the highest power.
double sine_ratio_series(double x) noexcept {
  return ((((-1.0 / 39916800 * x + 1.0 / 362880) * x - 1.0 / 5040) * x + 1.0 / 120) * x - 1.0 / 6) *
             x +
         1;
}

// (1 - cos(theta)) / theta^2 as a polynomial in x = theta^2, Horner form.
double cosine_ratio_series(double x) noexcept {
  return (((1.0 / 3628800 * x - 1.0 / 40320) * x + 1.0 / 720) * x - 1.0 / 24) * x + 0.5;
}

}  // namespace

matrix3 rotation_matrix(const point<3>& v) noexcept {
  const double theta2 = dot(v, v);
  const double theta = std::sqrt(theta2);
  double a;
  double b;
  if (theta > series_angle) {
    double sine;
    double cosine;
    sine_cosine(theta, sine, cosine);
    a = sine / theta;
    b = (1 - cosine) / theta2;
  } else {
    a = sine_ratio_series(theta2);
    b = cosine_ratio_series(theta2);
  }
  // K r = v x r; K^2 = v v' - theta^2 I.
  const double K[3][3] = {{0, -v[2], v[1]}, {v[2], 0, -v[0]}, {-v[1], v[0], 0}};
  matrix3 R;
  for (std::size_t i = 0; i < 3; ++i) {
    for (std::size_t j = 0; j < 3; ++j) {
      const bool diagonal = i == j;
      R.entry[i][j] = (diagonal ? 1 : 0) + a * K[i][j];
      if (b != 0) R.entry[i][j] += b * (v[i] * v[j] - (diagonal ? theta2 : 0));
    }
  }
  return R;
}

}  // namespace filum
}  // namespace vorn
