#ifndef FILUM_SPLINE_SPLINE_SEGMENT_H
#define FILUM_SPLINE_SPLINE_SEGMENT_H

// One cubic piece of the spline through a node chain, built locally from the node
// before it, its two end nodes and the node after it; its curvature; and the element
// length that a curvature allows under a chordal-error setting.

#include <cstddef>

#include <vorn/dense.h>

#include "frame/point.h"

namespace vorn {
namespace filum {

/// \brief The cubic P(t) = a0 + a1 t + a2 t^2 + a3 t^3, t from 0 (start node) to 1
/// (end node). a0 is the start node exactly; chord is the distance between the nodes.
template <std::size_t D>
struct spline_segment {
  point<D> a0;
  point<D> a1;
  point<D> a2;
  point<D> a3;
  double chord = 0;
};

/// \brief The piece from node i1 to node i2, its end tangents taken from the chords to
/// i0 (before) and i3 (after). A neighbor equal to its end node (same index) means no
/// tangent at that end. All four must be columns of pos; pos has D rows.
/// \param[in] pos coordinates.
/// \param[in] i0 node before the piece.
/// \param[in] i1 start node (t = 0).
/// \param[in] i2 end node (t = 1).
/// \param[in] i3 node after the piece.
template <std::size_t D>
spline_segment<D> build_spline_segment(const dense2D<double>& pos, std::size_t i0, std::size_t i1,
                                       std::size_t i2, std::size_t i3) noexcept;

/// \brief The chord between two consecutive nodes: their difference, its length and its
/// direction, as a piece takes them (shared by the pieces on either side of it).
template <std::size_t D>
struct spline_chord {
  point<D> d;
  point<D> u;
  double length = 0;
};

/// \brief The chord from node i to node j of pos (D rows).
/// \param[in] pos coordinates.
/// \param[in] i start node.
/// \param[in] j end node.
template <std::size_t D>
spline_chord<D> make_spline_chord(const dense2D<double>& pos, std::size_t i,
                                  std::size_t j) noexcept;

/// \brief build_spline_segment from the piece's start node and its three chords, bit for
/// bit the same: a walk along a chain builds each chord once instead of three times.
/// \param[in] P1 the start node (t = 0).
/// \param[in] before chord from the node before to the start node.
/// \param[in] own chord from the start node to the end node.
/// \param[in] after chord from the end node to the node after.
/// \param[in] has_before whether the node before is another node than the start node
/// (its index differs); else no tangent at the start.
/// \param[in] has_after the same for the node after and the end node.
template <std::size_t D>
spline_segment<D> build_spline_segment(const point<D>& P1, const spline_chord<D>& before,
                                       const spline_chord<D>& own, const spline_chord<D>& after,
                                       bool has_before, bool has_after) noexcept;

/// \brief P(t) - a0 by Horner's rule: ((a3 t + a2) t + a1) t, component by component.
template <std::size_t D>
inline point<D> spline_offset(const spline_segment<D>& piece, double t) noexcept {
  point<D> v;
  for (std::size_t i = 0; i < D; ++i)
    v[i] = ((piece.a3[i] * t + piece.a2[i]) * t + piece.a1[i]) * t;
  return v;
}

/// \brief The derivative P'(t) = a1 + 2 a2 t + 3 a3 t^2.
template <std::size_t D>
inline point<D> spline_derivative(const spline_segment<D>& piece, double t) noexcept {
  point<D> d;
  for (std::size_t i = 0; i < D; ++i)
    d[i] = piece.a1[i] + 2 * piece.a2[i] * t + 3 * piece.a3[i] * (t * t);
  return d;
}

/// \brief The cross products of a piece's coefficients that its curvature uses at every
/// t: a1 x a2, a1 x a3 and a2 x a3 (scalars in 1-vectors in the plane).
template <std::size_t D>
struct curvature_terms {
  decltype(cross(point<D>(), point<D>())) a12, a13, a23;
};

/// \brief The curvature terms of a piece, to evaluate its curvature at many t.
template <std::size_t D>
inline curvature_terms<D> curvature_terms_of(const spline_segment<D>& piece) noexcept {
  return {cross(piece.a1, piece.a2), cross(piece.a1, piece.a3), cross(piece.a2, piece.a3)};
}

/// \brief Curvature of the piece at t, in 1/length: 2 |c| / |P'|^3 with
/// c = a1 x a2 + 3t (a1 x a3 + t (a2 x a3)) = P' x P'' / 2.
/// \return the largest double where P'(t) is the zero vector.
template <std::size_t D>
double spline_curvature(const spline_segment<D>& piece, double t) noexcept;

/// \brief spline_curvature with the piece's curvature terms given, bit for bit the same.
/// \param[in] piece the cubic.
/// \param[in] terms curvature_terms_of(piece).
/// \param[in] t local parameter.
template <std::size_t D>
double spline_curvature(const spline_segment<D>& piece, const curvature_terms<D>& terms,
                        double t) noexcept;

/// \brief The length of the chord of a circle of curvature kappa whose sagitta is the
/// relative deviation d times its radius: sqrt((2 - d) d 4) / kappa.
/// \param[in] kappa curvature; <= 0 (straight) allows any length.
/// \param[in] e >= 0 an absolute deviation (d = e kappa); < 0 a fraction of the radius
/// (d = -e).
/// \return the largest double (no limit) when kappa <= 0 or d >= 1.
double chordal_size(double kappa, double e) noexcept;

}  // namespace filum
}  // namespace vorn

#endif
