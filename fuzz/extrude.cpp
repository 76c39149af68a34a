// extrude_translate and extrude_rotate: plane and space, from a point or a node, uniform or
// graded rows.
#include "fuzz_input.h"

using namespace filum_fuzz;
using vorn::vector_fixed;

namespace {

template <int D>
vector_fixed<double, D> point(input& in) {
  vector_fixed<double, D> p;
  for (int i = 0; i < D; ++i)
    p[i] = in.value();
  return p;
}

// One call of the overload picked by `variant` (bit 0 rotate, bit 1 from a node, bit 2 graded).
template <int D>
int extrude(input& in, unsigned variant, dense2D<double>& pos, dense1D<unsigned>& indices) {
  using namespace vorn::filum;
  const bool rotate = variant & 1u, from_node = variant & 2u, graded = variant & 4u;
  const auto start = point<D>(in), center = point<D>(in);
  const unsigned node = in.below(static_cast<unsigned>(pos.cols()) + 1);
  const unsigned n_elements = in.count();
  const double size_start = in.value(), size_end = in.value();
  const bool even = in.flag();
  if (!rotate) {
    const auto t = point<D>(in);
    if (from_node)
      return graded ? extrude_translate(pos, node, t, size_start, size_end, even, indices)
                    : extrude_translate(pos, node, t, n_elements, indices);
    return graded ? extrude_translate(pos, start, t, size_start, size_end, even, indices)
                  : extrude_translate(pos, start, t, n_elements, indices);
  }
  // The plane turns by an angle, space about an axis vector.
  const auto turn = [&] {
    if constexpr (D == 2)
      return in.value();
    else
      return point<D>(in);
  }();
  if (from_node)
    return graded ? extrude_rotate(pos, node, center, turn, size_start, size_end, even, indices)
                  : extrude_rotate(pos, node, center, turn, n_elements, indices);
  return graded ? extrude_rotate(pos, start, center, turn, size_start, size_end, even, indices)
                : extrude_rotate(pos, start, center, turn, n_elements, indices);
}

}  // namespace

FILUM_FUZZ_TARGET(in) {
  const unsigned variant = in.below(16);
  dense2D<double> pos = in.pos();
  dense1D<unsigned> indices = in.ids(in.below(2), static_cast<unsigned>(pos.cols()));
  const dense2D<double> before = snapshot(pos);
  const dense1D<unsigned> indices_before = snapshot(indices);
  const int code =
      variant & 8u ? extrude<3>(in, variant, pos, indices) : extrude<2>(in, variant, pos, indices);
  require(documented(code, {-1, -2, -3, -4, -5, -6}));
  if (code != 0) {
    require(same(before, pos) && same(indices_before, indices));
    return;
  }
  // An empty pos of any shape takes the start point as node 0.
  require(before.empty() || kept(before, pos));
  require(appended_ids_below(indices_before, indices, pos.cols()));
  if (in.finite()) require(finite_from(pos, before.cols()));
}
