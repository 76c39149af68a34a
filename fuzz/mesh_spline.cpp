// mesh_spline with sizes or metrics, through padded chains with repeated and ghost nodes.
#include "fuzz_input.h"

FILUM_FUZZ_TARGET(in) {
  const bool metric = in.flag();
  dense2D<double> pos = in.pos();
  const std::size_t n = 3 + in.below(6);
  const dense1D<unsigned> chain = in.ids(n, static_cast<unsigned>(pos.cols()));
  const dense1D<double> sizes = in.values(n);
  const dense2D<double> metrics = in.matrix(in.byte() < 250 && pos.rows() == 3 ? 6 : 3, n);
  const bool even = in.flag();
  const unsigned min_elements = in.count(), max_elements = in.count();
  const double chordal = in.value(), min_size = in.value(), default_size = in.value(),
               gradation = in.value();

  const dense2D<double> before = snapshot(pos);
  dense1D<unsigned> new_indices;
  dense1D<double> new_params, new_sizes;
  dense2D<double> new_metrics;
  double deviation = 0;
  const int code =
      metric ? vorn::filum::mesh_spline(pos, chain, metrics, even, min_elements, max_elements,
                                        chordal, min_size, default_size, gradation, new_indices,
                                        new_params, new_metrics, deviation)
             : vorn::filum::mesh_spline(pos, chain, sizes, even, min_elements, max_elements,
                                        chordal, min_size, default_size, gradation, new_indices,
                                        new_params, new_sizes, deviation);
  require(documented(code, {-1, -2, -3, -5, -8, -13}));
  if (!check_line_mesh(code, before, pos, new_indices, new_params, new_sizes, new_metrics,
                       in.finite()))
    require(new_indices.empty());
}
