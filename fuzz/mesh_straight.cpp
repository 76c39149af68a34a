// mesh_straight, all six overloads: sizes, metrics, a count, two nodes, three nodes, two sizes.
#include "fuzz_input.h"

FILUM_FUZZ_TARGET(in) {
  const unsigned overload = in.below(6);
  dense2D<double> pos = in.pos();
  const unsigned nodes = static_cast<unsigned>(pos.cols());
  const dense1D<unsigned> chain = in.ids(in.below(6), nodes);
  const dense1D<double> sizes = in.values(chain.size());
  const dense2D<double> metrics = in.matrix(pos.rows() == 3 ? 6 : 3, chain.size());
  const dense1D<unsigned> three = in.ids(3, nodes);
  const unsigned count = in.count();
  const double size_first = in.value(), size_last = in.value();
  const bool even = in.flag();
  dense1D<unsigned> new_indices = in.ids(in.below(2), nodes);

  const dense2D<double> before = snapshot(pos);
  const dense1D<unsigned> indices_before = snapshot(new_indices);
  using vorn::filum::mesh_straight;
  const int code =
      overload == 0   ? mesh_straight(pos, chain, sizes, even, new_indices)
      : overload == 1 ? mesh_straight(pos, chain, metrics, even, new_indices)
      : overload == 2 ? mesh_straight(pos, chain, count, even, new_indices)
      : overload == 3 ? mesh_straight(pos, three[0], three[1], count, new_indices)
      : overload == 4
          ? mesh_straight(pos, three[0], three[1], three[2], count, new_indices)
          : mesh_straight(pos, three[0], three[1], size_first, size_last, even, new_indices);
  require(documented(code, {-1, -2, -3, -4, -5}));
  if (code != 0) {
    require(same(before, pos) && same(indices_before, new_indices));
    return;
  }
  require(kept(before, pos) && appended_ids_below(indices_before, new_indices, pos.cols()));
  if (in.finite()) require(finite_from(pos, before.cols()));
}
