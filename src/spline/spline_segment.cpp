#include "spline/spline_segment.h"

#include <cmath>

#include <vorn/filum.h>

namespace vorn {
namespace filum {
namespace {

// Length of v, with its direction in u. No square root is taken when |v|^2 is 0 or
// exactly 1: the length is then |v|^2 itself and u is v.
template <std::size_t D>
double normalize(const point<D>& v, point<D>& u) noexcept {
  const double n = norm2(v);
  if (n == 0 || n == 1) {
    u = v;
    return n;
  }
  const double length = std::sqrt(n);
  u = (1 / length) * v;
  return length;
}

// Ratio of the piece's chord to a neighboring chord; a neighbor no longer than a
// hundredth of the piece gives its own length instead, so that it weighs little.
double chord_ratio(double piece_length, double neighbor_length) noexcept {
  return neighbor_length > 0.01 * piece_length ? piece_length / neighbor_length : neighbor_length;
}

// Blend of the neighboring chord direction and the piece's own with weight
// 1 / (1 + ratio) on the piece's direction.
template <std::size_t D>
point<D> blended_direction(const point<D>& neighbor, const point<D>& own, double ratio) noexcept {
  const double w = 1 / (1 + ratio);
  return (1 - w) * neighbor + w * own;
}

// Stretches a tangent to the given length; a factor of exactly 1 leaves it untouched.
template <std::size_t D>
void rescale(point<D>& tangent, double length) noexcept {
  const double factor = length / norm(tangent);
  if (factor != 1) tangent = factor * tangent;
}

// Whether the cubic's projection on its chord direction u stalls or runs backwards
// somewhere inside the piece: the minimum of its derivative is below 0.0001 (coordinate
// units per unit parameter), a margin that keeps a piece from turning back on rounding.
template <std::size_t D>
bool backtracks(const spline_segment<D>& piece, const point<D>& u) noexcept {
  const double p1 = dot(u, piece.a1);
  const double p2 = dot(u, piece.a2);
  const double p3 = dot(u, piece.a3);
  if (!(p3 > 0)) return false;
  const double t_min = (-1.0 / 3) / p3 * p2;
  return t_min > 0 && t_min < 1 && p1 + p2 * t_min < 0.0001;
}

}  // namespace

template <std::size_t D>
spline_chord<D> make_spline_chord(const dense2D<double>& pos, std::size_t i,
                                  std::size_t j) noexcept {
  spline_chord<D> chord;
  chord.d = column_point<D>(pos, j) - column_point<D>(pos, i);
  chord.length = normalize(chord.d, chord.u);
  return chord;
}

template <std::size_t D>
spline_segment<D> build_spline_segment(const dense2D<double>& pos, std::size_t i0, std::size_t i1,
                                       std::size_t i2, std::size_t i3) noexcept {
  return build_spline_segment<D>(column_point<D>(pos, i1), make_spline_chord<D>(pos, i0, i1),
                                 make_spline_chord<D>(pos, i1, i2),
                                 make_spline_chord<D>(pos, i2, i3), i0 != i1, i3 != i2);
}

template <std::size_t D>
spline_segment<D> build_spline_segment(const point<D>& P1, const spline_chord<D>& before,
                                       const spline_chord<D>& own, const spline_chord<D>& after,
                                       bool has_before, bool has_after) noexcept {
  const point<D>& d1 = own.d;
  const point<D>&u0 = before.u, &u1 = own.u, &u2 = after.u;
  const double L0 = before.length, L1 = own.length, L2 = after.length;

  point<D> T1 = blended_direction(u0, u1, chord_ratio(L1, L0));
  point<D> T2 = blended_direction(u2, u1, chord_ratio(L1, L2));
  // A blended tangent (at most of unit length) counts only when it leans forward along
  // the chord by more than 0.0001: one at right angles or behind would make the piece
  // loop, so the piece does without it.
  const bool has_start = has_before && dot(T1, u1) > 0.0001;
  const bool has_end = has_after && dot(T2, u1) > 0.0001;
  if (has_start) rescale(T1, L1);
  if (has_end) rescale(T2, L1);

  spline_segment<D> piece;
  piece.a0 = P1;
  piece.chord = L1;
  if (has_start && has_end) {
    piece.a1 = T1;
    piece.a2 = 3 * d1 - 2 * T1 - T2;
    piece.a3 = T1 + T2 - 2 * d1;
    if (backtracks(piece, u1)) {
      piece.a1 = d1;
      piece.a2 = point<D>();
      piece.a3 = point<D>();
    }
  } else if (has_start) {
    piece.a1 = T1;
    piece.a2 = d1 - T1;
  } else if (has_end) {
    piece.a1 = 2 * d1 - T2;
    piece.a2 = T2 - d1;
  } else {
    piece.a1 = d1;
  }
  return piece;
}

template <std::size_t D>
double spline_curvature(const spline_segment<D>& piece, double t) noexcept {
  return spline_curvature(piece, curvature_terms_of(piece), t);
}

template <std::size_t D>
double spline_curvature(const spline_segment<D>& piece, const curvature_terms<D>& terms,
                        double t) noexcept {
  const point<D> velocity = spline_derivative(piece, t);
  const double n = norm2(velocity);
  if (n == 0) return unset;
  const auto c = terms.a12 + (3 * t) * (terms.a13 + t * terms.a23);
  if constexpr (D == 2) {
    return 2 * std::abs(c[0]) / (n * std::sqrt(n));
  } else {
    return 2 * std::sqrt(norm2(c) / n) / n;
  }
}

double chordal_size(double kappa, double e) noexcept {
  if (kappa <= 0) return unset;
  const double d = e >= 0 ? e * kappa : -e;
  if (d >= 1) return unset;
  return std::sqrt((2 - d) * d * 4) / kappa;
}

template spline_segment<2> build_spline_segment<2>(const dense2D<double>&, std::size_t, std::size_t,
                                                   std::size_t, std::size_t) noexcept;
template spline_segment<3> build_spline_segment<3>(const dense2D<double>&, std::size_t, std::size_t,
                                                   std::size_t, std::size_t) noexcept;
template spline_chord<2> make_spline_chord<2>(const dense2D<double>&, std::size_t,
                                              std::size_t) noexcept;
template spline_chord<3> make_spline_chord<3>(const dense2D<double>&, std::size_t,
                                              std::size_t) noexcept;
template spline_segment<2> build_spline_segment<2>(const point<2>&, const spline_chord<2>&,
                                                   const spline_chord<2>&, const spline_chord<2>&,
                                                   bool, bool) noexcept;
template spline_segment<3> build_spline_segment<3>(const point<3>&, const spline_chord<3>&,
                                                   const spline_chord<3>&, const spline_chord<3>&,
                                                   bool, bool) noexcept;
template double spline_curvature<2>(const spline_segment<2>&, double) noexcept;
template double spline_curvature<3>(const spline_segment<3>&, double) noexcept;
template double spline_curvature<2>(const spline_segment<2>&, const curvature_terms<2>&,
                                    double) noexcept;
template double spline_curvature<3>(const spline_segment<3>&, const curvature_terms<3>&,
                                    double) noexcept;

}  // namespace filum
}  // namespace vorn
