// Sizes and metrics given at known parameters, carried over to new parameters.

#include <algorithm>
#include <cmath>

#include <vorn/filum.h>
#include <vorn/tessa/metric_algebra.h>

#include "frame/checks.h"
#include "frame/metric_tensor.h"
#include "frame/search.h"

namespace vorn {
namespace filum {
namespace {

// Below this distance two parameters are one, and a weight this close to 0 or 1 picks
// the known value itself.
constexpr double parameter_tolerance = 1e-12;

// Walks the new parameters in order and hands each to the kind of field: take(j, k) when
// it sits on known entry k, blend(j, kl, k, t) when it lies at weight t from kl to k.
template <class Kind>
void walk_brackets(const dense1D<double>& params, const dense1D<double>& new_params,
                   Kind& kind) noexcept {
  const double* known = params.data();
  const std::size_t last = params.size() - 1;
  std::size_t k = 0;
  for (std::size_t j = 0; j < new_params.size(); ++j) {
    const double s = new_params[j];
    k = std::min(lower_bound_from(known, last + 1, k, s), last);
    const std::size_t kl = k > 0 ? k - 1 : k;
    const double s0 = known[kl], s1 = known[k];
    const double t = s1 > s0 + parameter_tolerance ? (s - s0) / (s1 - s0) : 0.0;
    if (std::fabs(t) < parameter_tolerance)
      kind.take(j, kl);
    else if (std::fabs(1 - t) < parameter_tolerance)
      kind.take(j, k);
    else
      kind.blend(j, kl, k, t);
  }
}

// Sizes, linear in the parameter; a size that is not > 0 gives 0 between known entries.
struct size_kind {
  const double* sizes;
  std::size_t sizes_step;
  double* out;
  std::size_t out_step;

  void take(std::size_t j, std::size_t k) noexcept { out[j * out_step] = sizes[k * sizes_step]; }
  void blend(std::size_t j, std::size_t kl, std::size_t k, double t) noexcept {
    const double a = sizes[kl * sizes_step], b = sizes[k * sizes_step];
    out[j * out_step] = a > 0 && b > 0 ? a + t * (b - a) : 0.0;
  }
};

// Metrics, size-linear in the common basis of each bracketing pair. Every column is formed
// in `work`, which starts at zero and is never reset, so a pair that fails leaves the
// previous column's values in it.
template <std::size_t D>
struct metric_kind {
  using tensor = symmetric_fixed<double, D>;
  using pair_type = metric_pair<D>;

  const double* metrics;
  std::size_t metrics_ld;
  double* out;
  std::size_t out_ld;
  tensor work;

  tensor known(std::size_t k) const noexcept {
    tensor M;
    std::copy(metrics + k * metrics_ld, metrics + k * metrics_ld + tensor::size(), M.data());
    return M;
  }
  void store(std::size_t j) const noexcept {
    std::copy(work.data(), work.data() + tensor::size(), out + j * out_ld);
  }
  void take(std::size_t j, std::size_t k) noexcept {
    work = known(k);
    store(j);
  }
  void blend(std::size_t j, std::size_t kl, std::size_t k, double t) noexcept {
    pair_type pair;
    if (reduce_metrics(known(kl), known(k), pair)) interpolate_reduced(pair, t, work);
    store(j);
  }
};

// Whether filling `out` would write into storage that `in` reads.
template <class Out, class In>
bool shares_storage(const Out& out, const In& in) noexcept {
  return out.buffer() && out.buffer().get() == in.buffer().get();
}

// At least 2 known parameters, non-decreasing, no NaN.
bool are_known_params(const dense1D<double>& params) noexcept {
  return params.size() >= 2 && is_non_decreasing(params);
}

// New parameters non-decreasing and within the range of the known ones (NaN fails).
bool lie_within(const dense1D<double>& new_params, const dense1D<double>& params) noexcept {
  return is_non_decreasing(new_params) && new_params[0] >= params[0] &&
         params[params.size() - 1] >= new_params[new_params.size() - 1];
}

// Sizes at new parameters, linear between the two known sizes that bracket each
// (0 where either of them is not > 0); a parameter within 1e-12 (in t) of a known one
// takes that size as it is.
// \param[in] params at least 2 non-decreasing known parameters.
// \param[in] sizes the known sizes, one per parameter, sizes_step values apart.
// \param[in] new_params non-decreasing, within [params first, params last].
// \param[out] new_sizes room for one size per new parameter, new_sizes_step values apart.
void interpolate_sizes_along(const dense1D<double>& params, const double* sizes,
                             std::size_t sizes_step, const dense1D<double>& new_params,
                             double* new_sizes, std::size_t new_sizes_step) noexcept {
  size_kind kind{sizes, sizes_step, new_sizes, new_sizes_step};
  walk_brackets(params, new_params, kind);
}

// Metrics at new parameters, linear in size along the common directions of the two
// known metrics that bracket each. Where the pair cannot be reduced or interpolated (a
// metric that is not positive definite) the previous result column is repeated, zeros
// for the first.
// \param[in] params at least 2 non-decreasing known parameters.
// \param[in] metrics D(D+1)/2 rows, one column per known parameter.
// \param[in] new_params non-decreasing, within [params first, params last].
// \param[out] new_metrics D(D+1)/2 rows, one column per new parameter (already sized).
template <std::size_t D>
void interpolate_metrics_along(const dense1D<double>& params, const dense2D<double>& metrics,
                               const dense1D<double>& new_params,
                               dense2D<double>& new_metrics) noexcept {
  metric_kind<D> kind{metrics.data(), metrics.ld(), new_metrics.data(), new_metrics.ld(), {}};
  walk_brackets(params, new_params, kind);
}

}  // namespace

int interpolate_metrics(const dense1D<double>& params, const dense1D<double>& sizes,
                        const dense1D<double>& new_params, dense1D<double>& new_sizes) noexcept {
  if (shares_storage(new_sizes, params) || shares_storage(new_sizes, sizes) ||
      shares_storage(new_sizes, new_params))
    new_sizes = dense1D<double>();
  new_sizes.clear();
  if (new_params.empty()) return 0;
  if (!are_known_params(params)) return -1;
  if (sizes.size() != params.size()) return -2;
  if (!lie_within(new_params, params)) return -3;
  if (!new_sizes.resize(new_params.size())) return storage_failure;
  interpolate_sizes_along(params, sizes.data(), 1, new_params, new_sizes.data(), 1);
  return 0;
}

int interpolate_metrics(const dense1D<double>& params, const dense2D<double>& metrics,
                        const dense1D<double>& new_params, dense2D<double>& new_metrics) noexcept {
  if (shares_storage(new_metrics, params) || shares_storage(new_metrics, metrics) ||
      shares_storage(new_metrics, new_params))
    new_metrics = dense2D<double>();
  new_metrics.clear();
  if (new_params.empty()) return 0;
  if (!are_known_params(params)) return -1;
  const std::size_t rows = metrics.rows();
  if (metrics.cols() != params.size() || (rows != 0 && rows != 1 && rows != 3 && rows != 6))
    return -2;
  if (!lie_within(new_params, params)) return -3;
  if (!new_metrics.resize(rows, new_params.size())) return storage_failure;
  switch (rows) {
    case 1:  // one size per column
      interpolate_sizes_along(params, metrics.data(), metrics.ld(), new_params, new_metrics.data(),
                              new_metrics.ld());
      break;
    case 3:
      interpolate_metrics_along<2>(params, metrics, new_params, new_metrics);
      break;
    case 6:
      interpolate_metrics_along<3>(params, metrics, new_params, new_metrics);
      break;
    default:  // no rows: nothing to carry
      break;
  }
  return 0;
}

}  // namespace filum
}  // namespace vorn
