#include "mesher/mesh_pass_aniso.h"

#include <cmath>
#include <limits>

#include "frame/checks.h"
#include "frame/metric_tensor.h"
#include "frame/node_distribution.h"
#include "frame/point.h"
#include "mesher/mesh_pass_iso.h"

namespace vorn {
namespace filum {
namespace {

// The lengths of segment k of the chain measured in its two end metrics.
struct metric_lengths {
  double l0 = 0;
  double l1 = 0;
  bool measurable = false;  // both squared lengths > 0
};

// Measures segment k (from chain entry k to k + 1) in the metrics of both its ends.
template <std::size_t D>
metric_lengths measure_segment(const dense2D<double>& pos, const dense1D<unsigned>& chain,
                               const dense2D<double>& metrics, std::size_t k) noexcept {
  const point<D> e = column_point<D>(pos, chain[k + 1]) - column_point<D>(pos, chain[k]);
  const double q0 = metric_square_length<D>(metrics.data() + k * metrics.ld(), e);
  const double q1 = metric_square_length<D>(metrics.data() + (k + 1) * metrics.ld(), e);
  metric_lengths lengths;
  if (q0 > 0 && q1 > 0) lengths = {std::sqrt(q0), std::sqrt(q1), true};
  return lengths;
}

// Cumulative normalized length c[0] = 0, c[k + 1] = c[k] + that of segment k.
template <std::size_t D>
void cumulate_normalized_length(const dense2D<double>& pos, const dense1D<unsigned>& chain,
                                const dense2D<double>& metrics, double* c) noexcept {
  c[0] = 0;
  for (std::size_t k = 0; k + 1 < chain.size(); ++k) {
    const metric_lengths l = measure_segment<D>(pos, chain, metrics, k);
    c[k + 1] = c[k] + (l.measurable ? normalized_length(l.l0 * l.l1, l.l0, l.l1) : 0);
  }
}

// The segment that receives the current nodes: its end points, its reduced end metrics and
// the node distribution along it.
template <std::size_t D>
struct active_segment {
  point<D> a;
  point<D> b;
  metric_pair<D> pair;
  progression fraction{1, 1};
  bool measurable = false;

  // Sets up segment k. \return false when its end metrics cannot be reduced.
  bool start(const dense2D<double>& pos, const dense1D<unsigned>& chain,
             const dense2D<double>& metrics, std::size_t k) noexcept {
    a = column_point<D>(pos, chain[k]);
    b = column_point<D>(pos, chain[k + 1]);
    const metric_lengths l = measure_segment<D>(pos, chain, metrics, k);
    measurable = l.measurable;
    // The sizes |e| / l0 and |e| / l1 are in the inverse ratio of the lengths.
    if (measurable) fraction = progression(l.l1, l.l0);
    return reduce_metrics(column_metric<D>(metrics, k), column_metric<D>(metrics, k + 1), pair);
  }

  // The fraction of the segment's length at fraction t of its normalized length.
  double at(double t) const noexcept { return measurable ? fraction(t) : 0; }
};

// Leaves the three outputs of a pass empty.
void clear_outputs(dense2D<double>& new_pos, dense2D<double>& new_metrics,
                   dense1D<double>& new_params) noexcept {
  new_pos.clear();
  new_metrics.clear();
  new_params.clear();
}

}  // namespace

template <std::size_t D>
void mesh_pass_aniso(const dense2D<double>& pos, const dense1D<unsigned>& chain,
                     const dense1D<double>& params, const dense2D<double>& metrics,
                     double min_length, bool force_even, std::uint64_t min_count,
                     std::uint64_t max_count, dense2D<double>& new_pos,
                     dense2D<double>& new_metrics, dense1D<double>& new_params) noexcept {
  clear_outputs(new_pos, new_metrics, new_params);
  const std::size_t n = chain.size();
  if (n < 2) return;
  dense1D<double> cumulative;
  if (!cumulative.resize(n)) return;
  const double* c = cumulative.data();
  cumulate_normalized_length<D>(pos, chain, metrics, cumulative.data());
  const double T = c[n - 1];
  const bool overflow = std::isinf(T);
  if (overflow && !cumulate_length_on_overflow(pos, chain, cumulative.data())) return;
  const std::uint64_t N = element_count(T, force_even, min_count, max_count);
  if (T < min_length || std::isnan(T) || N == 1) return;

  const std::size_t m = N - 1;
  const std::size_t R = metric_rows<D>;
  const bool with_params = !params.empty();
  if (!fits_in_memory(m, (R + D + 1) * sizeof(double)) || !new_metrics.reserve(R, m, 1) ||
      !new_pos.reserve(D, m, 1) || (with_params && !new_params.reserve(m, 1)) ||
      !new_metrics.resize(R, m) || !new_pos.resize(D, m) ||
      (with_params && !new_params.resize(m))) {
    clear_outputs(new_pos, new_metrics, new_params);
    return;
  }

  // Every node is written in the order metric, point, parameter; a failure empties all.
  const double step = c[n - 1] / static_cast<double>(N);
  const double* p = params.data();
  std::size_t k = 0;
  std::size_t started = std::numeric_limits<std::size_t>::max();
  active_segment<D> segment;
  metric<D> M;
  for (std::size_t j = 1; j < N; ++j) {
    const double target = static_cast<double>(j) * step;
    while (k + 2 < n && c[k + 1] < target)
      ++k;
    if (k != started) {
      if (!segment.start(pos, chain, metrics, k))
        return clear_outputs(new_pos, new_metrics, new_params);
      started = k;
    }
    const double t = c[k + 1] > c[k] ? (target - c[k]) / (c[k + 1] - c[k]) : 0;
    const double s = overflow ? t : segment.at(t);
    if (!interpolate_reduced(segment.pair, s, M))
      return clear_outputs(new_pos, new_metrics, new_params);
    set_column_metric<D>(new_metrics, j - 1, M);
    set_column_point<D>(new_pos, j - 1, lerp(segment.a, segment.b, s));
    if (with_params) new_params[j - 1] = p[k] + s * (p[k + 1] - p[k]);
  }
}

template void mesh_pass_aniso<2>(const dense2D<double>&, const dense1D<unsigned>&,
                                 const dense1D<double>&, const dense2D<double>&, double, bool,
                                 std::uint64_t, std::uint64_t, dense2D<double>&, dense2D<double>&,
                                 dense1D<double>&) noexcept;
template void mesh_pass_aniso<3>(const dense2D<double>&, const dense1D<unsigned>&,
                                 const dense1D<double>&, const dense2D<double>&, double, bool,
                                 std::uint64_t, std::uint64_t, dense2D<double>&, dense2D<double>&,
                                 dense1D<double>&) noexcept;

}  // namespace filum
}  // namespace vorn
