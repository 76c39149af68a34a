// mesh_line, all four overloads: sizes or metrics, with or without parameters.
#include "fuzz_input.h"

FILUM_FUZZ_TARGET(in) {
  dense2D<double> pos = in.pos();
  const std::size_t n = 2 + in.below(5);
  const dense1D<unsigned> chain = in.ids(n, static_cast<unsigned>(pos.cols()));
  const unsigned overload = in.below(4);  // bit 0: metrics; bit 1: without parameters
  const bool metric = overload & 1u, with_params = !(overload & 2u);
  const dense1D<double> params = in.params(n);
  const std::size_t metric_rows = pos.rows() == 3 ? 6 : 3;
  const dense2D<double> metrics = in.matrix(in.byte() < 250 ? metric_rows : 1, n);
  const dense1D<double> sizes = in.values(n);
  const bool force_even = in.flag();
  const unsigned min_elements = in.count(), max_elements = in.count();
  const double chordal_tol = in.value(), min_size = in.value();

  const dense2D<double> before = snapshot(pos);
  dense1D<unsigned> new_indices;
  dense1D<double> new_params, new_sizes;
  dense2D<double> new_metrics;
  using vorn::filum::mesh_line;
  const int code =
      metric && with_params
          ? mesh_line(pos, chain, params, metrics, force_even, min_elements, max_elements,
                      chordal_tol, min_size, new_indices, new_params, new_metrics)
      : metric ? mesh_line(pos, chain, metrics, force_even, min_elements, max_elements, chordal_tol,
                           min_size, new_indices, new_params, new_metrics)
      : with_params ? mesh_line(pos, chain, params, sizes, force_even, min_elements, max_elements,
                                chordal_tol, min_size, new_indices, new_params, new_sizes)
                    : mesh_line(pos, chain, sizes, force_even, min_elements, max_elements,
                                chordal_tol, min_size, new_indices, new_params, new_sizes);

  const int shift = with_params ? 0 : 1;
  require(documented(code, {-1, -2, -3, -4 - shift, -6 - shift, -12 - shift}));
  if (check_line_mesh(code, before, pos, new_indices, new_params, new_sizes, new_metrics,
                      in.finite()))
    require(metric ? new_metrics.cols() == new_indices.size()
                   : new_sizes.size() == new_indices.size());
}
