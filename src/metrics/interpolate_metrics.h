#ifndef FILUM_METRICS_INTERPOLATE_METRICS_H
#define FILUM_METRICS_INTERPOLATE_METRICS_H

// Unchecked workers of interpolate_metrics, for callers that already hold valid arguments
// and sized outputs. One pass over the new parameters; nothing allocates.

#include <cstddef>

#include <vorn/dense.h>

namespace vorn {
namespace filum {

/// \brief Sizes at new parameters, linear between the two known sizes that bracket each
/// (0 where either of them is not > 0); a parameter within 1e-12 (in t) of a known one
/// takes that size as it is.
/// \param[in] params at least 2 non-decreasing known parameters.
/// \param[in] sizes the known sizes, one per parameter, sizes_step values apart.
/// \param[in] new_params non-decreasing, within [params first, params last].
/// \param[out] new_sizes room for one size per new parameter, new_sizes_step values apart.
void interpolate_sizes_along(const dense1D<double>& params, const double* sizes,
                             std::size_t sizes_step, const dense1D<double>& new_params,
                             double* new_sizes, std::size_t new_sizes_step) noexcept;

/// \brief Metrics at new parameters, linear in size along the common directions of the two
/// known metrics that bracket each. Where the pair cannot be reduced or interpolated (a
/// metric that is not positive definite) the previous result column is repeated, zeros
/// for the first.
/// \param[in] params at least 2 non-decreasing known parameters.
/// \param[in] metrics D(D+1)/2 rows, one column per known parameter.
/// \param[in] new_params non-decreasing, within [params first, params last].
/// \param[out] new_metrics D(D+1)/2 rows, one column per new parameter (already sized).
template <std::size_t D>
void interpolate_metrics_along(const dense1D<double>& params, const dense2D<double>& metrics,
                               const dense1D<double>& new_params,
                               dense2D<double>& new_metrics) noexcept;

}  // namespace filum
}  // namespace vorn

#endif
