#include <algorithm>
#include <cmath>

#include <vorn/tessa.h>

namespace vorn {
namespace tessa {
namespace {

// A finite, strictly positive size.
bool is_valid_size(double h) noexcept {
  return std::isfinite(h) && h > 0;
}

// Finite entries and positive leading principal minors of a packed 2x2 tensor.
bool is_valid_metric2d(const double* m) noexcept {
  if (!std::isfinite(m[0]) || !std::isfinite(m[1]) || !std::isfinite(m[2])) return false;
  return m[0] > 0 && m[0] * m[2] - m[1] * m[1] > 0;
}

// Finite entries and positive leading principal minors of a packed 3x3 tensor
// (m11, m12, m22, m13, m23, m33).
bool is_valid_metric3d(const double* m) noexcept {
  for (int k = 0; k < 6; ++k)
    if (!std::isfinite(m[k])) return false;
  const double a = m[0], b = m[1], c = m[2], d = m[3], e = m[4], f = m[5];
  const double minor2 = a * c - b * b;
  const double det = a * (c * f - e * e) - b * (b * f - e * d) + d * (b * e - c * d);
  return a > 0 && minor2 > 0 && det > 0;
}

}  // namespace

bool are_valid_metrics(const dense1D<double>& sizes) noexcept {
  return std::all_of(sizes.begin(), sizes.end(), is_valid_size);
}

bool are_valid_metrics(const dense2D<double>& metrics) noexcept {
  const std::size_t rows = metrics.rows();
  bool (*valid)(const double*) = nullptr;
  switch (rows) {
    case 1:
      valid = [](const double* m) noexcept { return is_valid_size(m[0]); };
      break;
    case 3:
      valid = is_valid_metric2d;
      break;
    case 6:
      valid = is_valid_metric3d;
      break;
    default:
      return false;
  }
  for (std::size_t j = 0; j < metrics.cols(); ++j)
    if (!valid(metrics.data() + j * metrics.ld())) return false;
  return true;
}

int bound_metrics(dense1D<double>& sizes, double hmin, double hmax) noexcept {
  for (double& h : sizes)
    h = std::max(hmin, std::min(h, hmax));
  return 0;
}

}  // namespace tessa
}  // namespace vorn
