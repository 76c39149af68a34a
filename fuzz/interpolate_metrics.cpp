// interpolate_metrics with sizes (a vector or one row) and with 2D or 3D metrics.
#include "fuzz_input.h"

FILUM_FUZZ_TARGET(in) {
  const unsigned form = in.below(4);  // 0: vector sizes; 1, 2, 3: 1, 3 or 6 rows
  const std::size_t n = in.below(7), m = in.below(7);
  const dense1D<double> params = in.params(n), new_params = in.params(m);
  const dense1D<double> sizes = in.values(n + (in.byte() >= 250));
  static const std::size_t rows[] = {1, 1, 3, 6};
  const dense2D<double> metrics = in.matrix(in.byte() < 250 ? rows[form] : 2, n);

  int code;
  bool finite_out;
  if (form == 0) {
    dense1D<double> out = in.values(in.below(3));  // emptied first
    code = vorn::filum::interpolate_metrics(params, sizes, new_params, out);
    require(code != 0 || out.size() == m);
    finite_out = finite_from(out, 0);
  } else {
    dense2D<double> out;
    code = vorn::filum::interpolate_metrics(params, metrics, new_params, out);
    require(code != 0 || out.cols() == m);
    finite_out = finite_from(out, 0);
  }
  require(documented(code, {-1, -2, -3}));
  if (code == 0 && in.finite()) require(finite_out);
}
