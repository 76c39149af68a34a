#include <cmath>

#include <vorn/filum.h>

#include "frame/checks.h"
#include "frame/point.h"

namespace vorn {
namespace filum {
namespace {

// Adds to both end nodes of every element its curvature estimate 4 |s x e| / |s|^3
// (s the sum and e the difference of the end derivatives) and its parameter span.
template <std::size_t D>
void accumulate_element_curvatures(const dense1D<double>& params, const dense2D<unsigned>& connectM,
                                   const dense2D<double>& derivatives, dense1D<double>& sums,
                                   dense1D<double>& spans) noexcept {
  for (std::size_t j = 0; j < connectM.cols(); ++j) {
    const unsigned a = connectM(0, j);
    const unsigned b = connectM(1, j);
    const point<D> da = column_point<D>(derivatives, a);
    const point<D> db = column_point<D>(derivatives, b);
    const point<D> s = da + db;
    const point<D> e = db - da;
    const double s2 = norm2(s);
    if (s2 == 0) continue;
    const double c = 4 * std::sqrt(cross_norm2(s, e) / (s2 * s2 * s2));
    const double span = std::fabs(params[b] - params[a]);
    sums[a] += c;
    sums[b] += c;
    spans[a] += span;
    spans[b] += span;
  }
}

}  // namespace

int parametric_curvatures(const dense1D<double>& params, const dense2D<unsigned>& connectM,
                          const dense2D<double>& derivatives, dense1D<double>& values) noexcept {
  values.clear();
  if (connectM.empty()) return 0;
  const std::size_t N = params.size();
  const unsigned bound = N >= no_id ? no_id : static_cast<unsigned>(N);
  if (!tessa::check_IDs(connectM, edge2, bound)) return -2;
  if (!is_plane_or_space(derivatives) || derivatives.cols() != N) return -3;

  dense1D<double> spans;
  if (!values.resize(N, 0.0) || !spans.resize(N, 0.0)) {
    values.clear();
    return storage_failure;
  }
  if (derivatives.rows() == 2)
    accumulate_element_curvatures<2>(params, connectM, derivatives, values, spans);
  else
    accumulate_element_curvatures<3>(params, connectM, derivatives, values, spans);
  for (std::size_t i = 0; i < N; ++i)
    if (spans[i] != 0) values[i] /= spans[i];
  return 0;
}

}  // namespace filum
}  // namespace vorn
