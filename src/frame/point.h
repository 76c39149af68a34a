#ifndef FILUM_FRAME_POINT_H
#define FILUM_FRAME_POINT_H

// Small fixed-size vector arithmetic shared by the 2D and 3D workers, which are
// templates on the dimension D.

#include <cmath>
#include <cstddef>

#include <vorn/dense.h>

namespace vorn {
namespace filum {

template <std::size_t D>
using point = vector_fixed<double, D>;

/// \brief The first D coordinates of column j.
template <std::size_t D>
inline point<D> column_point(const dense2D<double>& pos, std::size_t j) noexcept {
  point<D> p;
  const double* c = pos.data() + j * pos.ld();
  for (std::size_t i = 0; i < D; ++i)
    p[i] = c[i];
  return p;
}

/// \brief Writes p into the first D rows of column j.
template <std::size_t D>
inline void set_column_point(dense2D<double>& pos, std::size_t j, const point<D>& p) noexcept {
  double* c = pos.data() + j * pos.ld();
  for (std::size_t i = 0; i < D; ++i)
    c[i] = p[i];
}

template <std::size_t D>
inline point<D> operator-(const point<D>& a, const point<D>& b) noexcept {
  point<D> r;
  for (std::size_t i = 0; i < D; ++i)
    r[i] = a[i] - b[i];
  return r;
}

template <std::size_t D>
inline point<D> operator+(const point<D>& a, const point<D>& b) noexcept {
  point<D> r;
  for (std::size_t i = 0; i < D; ++i)
    r[i] = a[i] + b[i];
  return r;
}

template <std::size_t D>
inline point<D> operator*(double s, const point<D>& a) noexcept {
  point<D> r;
  for (std::size_t i = 0; i < D; ++i)
    r[i] = s * a[i];
  return r;
}

template <std::size_t D>
inline double dot(const point<D>& a, const point<D>& b) noexcept {
  double s = 0;
  for (std::size_t i = 0; i < D; ++i)
    s += a[i] * b[i];
  return s;
}

template <std::size_t D>
inline double norm2(const point<D>& a) noexcept {
  return dot(a, a);
}

/// \brief The Euclidean length |a|.
template <std::size_t D>
inline double norm(const point<D>& a) noexcept {
  return std::sqrt(norm2(a));
}

/// \brief Euclidean distance between columns a and b of pos over D coordinates.
template <std::size_t D>
inline double distance(const dense2D<double>& pos, std::size_t a, std::size_t b) noexcept {
  return norm(column_point<D>(pos, b) - column_point<D>(pos, a));
}

/// \brief The point a + s (b - a), each coordinate computed as (b - a) s + a.
template <std::size_t D>
inline point<D> lerp(const point<D>& a, const point<D>& b, double s) noexcept {
  point<D> r;
  for (std::size_t i = 0; i < D; ++i)
    r[i] = (b[i] - a[i]) * s + a[i];
  return r;
}

/// \brief A unit direction with the length it was taken from.
template <std::size_t D>
struct direction {
  point<D> unit;
  double length;
};

/// \brief The direction and length of e, each coordinate divided by |e|. A vector whose
/// squared length is exactly 0 or 1 is taken as it is, without a square root (its length
/// is then that 0 or 1).
template <std::size_t D>
inline direction<D> direction_of(const point<D>& e) noexcept {
  const double squared = norm2(e);
  if (squared == 0 || squared == 1) return {e, squared};
  const double length = std::sqrt(squared);
  point<D> unit;
  for (std::size_t i = 0; i < D; ++i)
    unit[i] = e[i] / length;
  return {unit, length};
}

/// \brief The cross product: a scalar in the plane (held in a 1-vector), a vector in space.
inline vector_fixed<double, 1> cross(const point<2>& a, const point<2>& b) noexcept {
  return vector_fixed<double, 1>(a[0] * b[1] - a[1] * b[0]);
}
inline point<3> cross(const point<3>& a, const point<3>& b) noexcept {
  return point<3>(a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]);
}

/// \brief |a x b|^2 in the plane or in space.
template <std::size_t D>
inline double cross_norm2(const point<D>& a, const point<D>& b) noexcept {
  return norm2(cross(a, b));
}

}  // namespace filum
}  // namespace vorn

#endif
