#include "metrics/normal_frame.h"

#include <cmath>

namespace vorn {
namespace filum {
namespace {

// Whether every component is exactly zero.
bool is_zero(const point<3>& u) noexcept {
  return u[0] == 0 && u[1] == 0 && u[2] == 0;
}

// The unit axis of u's component of smallest magnitude, the first one on ties.
point<3> axis_of_smallest(const point<3>& u) noexcept {
  std::size_t smallest = 0;
  for (std::size_t i = 1; i < 3; ++i)
    if (std::fabs(u[i]) < std::fabs(u[smallest])) smallest = i;
  point<3> axis;
  axis[smallest] = 1;
  return axis;
}

}  // namespace

normal_frame make_normal_frame(const point<3>& t, const point<3>& v) noexcept {
  normal_frame frame;
  frame.t = is_zero(t) ? point<3>(1.0, 0.0, 0.0) : direction_of(t).unit;
  frame.w = cross(frame.t, v);
  if (is_zero(frame.w)) frame.w = cross(frame.t, axis_of_smallest(frame.t));
  frame.w = direction_of(frame.w).unit;
  frame.v = cross(frame.w, frame.t);
  return frame;
}

}  // namespace filum
}  // namespace vorn
