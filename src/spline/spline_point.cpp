#include <vorn/filum.h>

#include "spline/spline_segment.h"

namespace vorn {
namespace filum {
namespace {

// Checks the arguments in their order and evaluates the piece from i1 to i2 at t.
template <std::size_t D>
int evaluate_spline_point(const dense2D<double>& pos, unsigned i0, unsigned i1, unsigned i2,
                          unsigned i3, double t, vector_fixed<double, D>& point_out) noexcept {
  if (pos.rows() != D) return -1;
  const unsigned nodes[4] = {i0, i1, i2, i3};
  for (int k = 0; k < 4; ++k)
    if (nodes[k] >= pos.cols()) return -2 - k;
  const spline_segment<D> piece = build_spline_segment<D>(pos, i0, i1, i2, i3);
  point_out = piece.a0 + spline_offset(piece, t);
  return 0;
}

}  // namespace

int spline_point(const dense2D<double>& pos, unsigned i0, unsigned i1, unsigned i2, unsigned i3,
                 double t, vector_fixed<double, 2>& point) noexcept {
  return evaluate_spline_point<2>(pos, i0, i1, i2, i3, t, point);
}

int spline_point(const dense2D<double>& pos, unsigned i0, unsigned i1, unsigned i2, unsigned i3,
                 double t, vector_fixed<double, 3>& point) noexcept {
  return evaluate_spline_point<3>(pos, i0, i1, i2, i3, t, point);
}

}  // namespace filum
}  // namespace vorn
