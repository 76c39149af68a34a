#include <cmath>

#include <vorn/filum.h>

#include "extrude/extrusion_frame.h"
#include "extrude/rotation_matrix.h"

namespace vorn {
namespace filum {
namespace {

// Places the nodes of a row on the arc that turns the start node by angle (radians,
// counter-clockwise) about a center in the plane.
struct planar_turn {
  static constexpr std::size_t dim = 2;
  static constexpr int size_start_argument = 5;
  static constexpr int motion_argument = 4;

  point<2> center;
  double angle;
  point<2> r;  // the start node relative to the center

  int non_finite_argument() const noexcept {
    return !is_finite(center) ? 3 : std::isfinite(angle) ? 0 : 4;
  }
  void start_at(const point<2>& start) noexcept { r = start - center; }
  double row_length() const noexcept { return norm(r) * std::fabs(angle); }
  point<2> at(double t) const noexcept {
    double s;
    double c;
    sine_cosine(t * angle, s, c);
    return point<2>(center[0] + r[0] * c - r[1] * s, center[1] + r[1] * c + r[0] * s);
  }
};

// Places the nodes of a row on the arc that turns the start node about the axis through
// center along rotation, by the angle |rotation|.
struct spatial_turn {
  static constexpr std::size_t dim = 3;
  static constexpr int size_start_argument = 5;
  static constexpr int motion_argument = 4;

  point<3> center;
  point<3> rotation;
  point<3> r;  // the start node relative to the center

  int non_finite_argument() const noexcept {
    return !is_finite(center) ? 3 : is_finite(rotation) ? 0 : 4;
  }
  void start_at(const point<3>& start) noexcept { r = start - center; }
  double row_length() const noexcept { return std::sqrt(cross_norm2(r, rotation)); }
  point<3> at(double t) const noexcept { return center + rotation_matrix(t * rotation) * r; }
};

planar_turn turn_about(const point<2>& center, double angle) noexcept {
  return planar_turn{center, angle, point<2>()};
}

spatial_turn turn_about(const point<3>& center, const point<3>& rotation) noexcept {
  return spatial_turn{center, rotation, point<3>()};
}

}  // namespace

int extrude_rotate(dense2D<double>& pos, const vector_fixed<double, 2>& start_point,
                   const vector_fixed<double, 2>& center, double angle, unsigned n_elements,
                   dense1D<unsigned>& indices) noexcept {
  return extrude_uniform(pos, start_point, turn_about(center, angle), n_elements, indices);
}

int extrude_rotate(dense2D<double>& pos, const vector_fixed<double, 2>& start_point,
                   const vector_fixed<double, 2>& center, double angle, double size_start,
                   double size_end, bool force_even, dense1D<unsigned>& indices) noexcept {
  return extrude(pos, start_point, turn_about(center, angle),
                 graded_row(size_start, size_end, force_even), indices);
}

int extrude_rotate(dense2D<double>& pos, unsigned node, const vector_fixed<double, 2>& center,
                   double angle, unsigned n_elements, dense1D<unsigned>& indices) noexcept {
  return extrude_uniform(pos, node, turn_about(center, angle), n_elements, indices);
}

int extrude_rotate(dense2D<double>& pos, unsigned node, const vector_fixed<double, 2>& center,
                   double angle, double size_start, double size_end, bool force_even,
                   dense1D<unsigned>& indices) noexcept {
  return extrude(pos, node, turn_about(center, angle), graded_row(size_start, size_end, force_even),
                 indices);
}

int extrude_rotate(dense2D<double>& pos, const vector_fixed<double, 3>& start_point,
                   const vector_fixed<double, 3>& center, const vector_fixed<double, 3>& rotation,
                   unsigned n_elements, dense1D<unsigned>& indices) noexcept {
  return extrude_uniform(pos, start_point, turn_about(center, rotation), n_elements, indices);
}

int extrude_rotate(dense2D<double>& pos, const vector_fixed<double, 3>& start_point,
                   const vector_fixed<double, 3>& center, const vector_fixed<double, 3>& rotation,
                   double size_start, double size_end, bool force_even,
                   dense1D<unsigned>& indices) noexcept {
  return extrude(pos, start_point, turn_about(center, rotation),
                 graded_row(size_start, size_end, force_even), indices);
}

// Unlike its siblings, this form rejects a count of 0 as its fifth argument.
int extrude_rotate(dense2D<double>& pos, unsigned node, const vector_fixed<double, 3>& center,
                   const vector_fixed<double, 3>& rotation, unsigned n_elements,
                   dense1D<unsigned>& indices) noexcept {
  if (n_elements == 0) return -5;
  return extrude_uniform(pos, node, turn_about(center, rotation), n_elements, indices);
}

int extrude_rotate(dense2D<double>& pos, unsigned node, const vector_fixed<double, 3>& center,
                   const vector_fixed<double, 3>& rotation, double size_start, double size_end,
                   bool force_even, dense1D<unsigned>& indices) noexcept {
  return extrude(pos, node, turn_about(center, rotation),
                 graded_row(size_start, size_end, force_even), indices);
}

}  // namespace filum
}  // namespace vorn
