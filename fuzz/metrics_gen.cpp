// metrics_gen_aniso2d (vectors at nodes, or elements in the plane) and metrics_gen_aniso3d
// (one normal size, or sizes along the normal and the binormal).
#include "fuzz_input.h"

FILUM_FUZZ_TARGET(in) {
  const unsigned overload = in.below(4);
  const dense2D<double> pos = in.pos();
  const unsigned nodes = static_cast<unsigned>(pos.cols());
  const std::size_t elements = in.below(6);
  dense2D<unsigned> connect = in.elements(elements, nodes);
  const dense1D<unsigned> listed = in.ids(in.below(5), nodes);
  const double h1 = in.value(), h2 = in.value();
  const std::size_t metric_rows = overload < 2 ? 3 : 6;
  dense2D<double> metrics = in.matrix(in.byte() < 200 ? 0 : metric_rows, in.below(3));

  const dense2D<double> before = snapshot(metrics);
  using namespace vorn::filum;
  const int code = overload == 0   ? metrics_gen_aniso2d(pos, listed, h1, h2, metrics)
                   : overload == 1 ? metrics_gen_aniso2d(pos, connect, h1, metrics)
                   : overload == 2 ? metrics_gen_aniso3d(pos, connect, h1, metrics)
                                   : metrics_gen_aniso3d(pos, connect, h1, h2, metrics);
  require(documented(code, {-1, -2, -3, -4, -5}));
  if (code != 0) return;
  require(same(before, metrics) ||
          (metrics.rows() == metric_rows && metrics.cols() >= before.cols()));
  for (std::size_t k = 0; in.finite() && k < metrics.rows() * metrics.cols(); ++k)
    require(!std::isnan(metrics(k % metrics.rows(), k / metrics.rows())));
}
