#ifndef FILUM_SPLINE_SAMPLE_SPLINE_H
#define FILUM_SPLINE_SAMPLE_SPLINE_H

// Dense sampling of the spline through a padded chain: a polyline of points on the
// spline with a curvilinear parameter at each, the samples that are the spline nodes,
// and how far the spline strays from the chords between its nodes.

#include <cstddef>

#include <vorn/dense.h>

namespace vorn {
namespace filum {

/// \brief Samples every piece of the spline through a padded chain at equal steps of
/// its local parameter, at least 2 steps per piece and more where the curvature asks
/// for elements shorter than the piece (never shorter than size_floor).
/// A piece k (from chain[k+1] to chain[k+2]) contributes its start node and m - 1
/// interior points; the last spline node closes the list. Parameters grow by |a1| per
/// piece and are normalized to end at 1. Failed appends are skipped; a chain of fewer
/// than 4 entries, or a sampling that storage cannot hold, leaves the outputs empty.
/// \param[in] pos coordinates with D rows.
/// \param[in] chain padded chain: ghost, spline nodes, ghost (valid columns of pos).
/// \param[in] tol chordal-error setting of the curvature sizes; the largest double
/// means none (2 sub-intervals per piece).
/// \param[in] size_floor the sub-interval length the curvature may not go below.
/// \param[out] samples the sample points, D rows (emptied first).
/// \param[out] node_params parameter of each spline node, 0 ... 1 (emptied first).
/// \param[out] sample_params parameter of each sample, 0 ... 1 (emptied first).
/// \param[out] node_samples index in samples of each spline node (emptied first).
/// \param[out] max_deviation largest distance of a sample from its piece's chord line.
/// \param[out] end_curvatures when given, the curvature of each piece at t = 0 and at
/// t = 1, 2 per piece (emptied first).
/// \return the total parameter length before normalization (sum of |a1| over pieces).
template <std::size_t D>
double sample_spline(const dense2D<double>& pos, const dense1D<unsigned>& chain, double tol,
                     double size_floor, dense2D<double>& samples, dense1D<double>& node_params,
                     dense1D<double>& sample_params, dense1D<unsigned>& node_samples,
                     double& max_deviation, dense1D<double>* end_curvatures = nullptr) noexcept;

}  // namespace filum
}  // namespace vorn

#endif
