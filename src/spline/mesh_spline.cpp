// mesh_spline: the spline through a padded chain, sampled densely, sized at every sample
// and meshed by one pass of the chain mesher over the sample polyline.

#include <algorithm>
#include <cmath>

#include <vorn/filum.h>
#include <vorn/tessa.h>

#include "frame/append.h"
#include "frame/checks.h"
#include "mesher/mesh_line_frame.h"
#include "spline/chain_curvature_sizes.h"
#include "spline/sample_spline.h"
#include "spline/spline_field.h"
#include "spline/turning_chain.h"

namespace vorn {
namespace filum {
namespace {

// The chordal-error setting in force: 0, -unset and NaN mean no limit (the largest double).
double chordal_setting(double chordal_tol) noexcept {
  const bool off = chordal_tol == 0 || chordal_tol == -unset || std::isnan(chordal_tol);
  return off ? unset : chordal_tol;
}

// The dense sampling of the spline and the parameters that go with it.
struct spline_sampling {
  dense2D<double> samples;
  dense1D<double> node_params;
  dense1D<double> sample_params;
  dense1D<unsigned> node_samples;
  dense1D<double> end_curvatures;  // of each piece at t = 0 and t = 1
  double total = 0;

  // Whether every append of the sampling got its storage: one parameter per sample, one
  // parameter and one sample index per spline node, each index a sample.
  bool is_complete(std::size_t spline_nodes) const noexcept {
    const std::size_t S = samples.cols();
    return S >= 2 && sample_params.size() == S && node_params.size() == spline_nodes &&
           node_samples.size() == spline_nodes && node_samples[spline_nodes - 1] < S;
  }
};

// Caps the sample values by the chordal sizes at the turning nodes of the chain, held
// within [min_size, max(total, min_size)] and interpolated at the sample parameters.
// False when working storage runs out.
template <class F, std::size_t D>
bool cap_by_curvature(const dense2D<double>& pos, const dense1D<unsigned>& indices, double e,
                      double min_size, const spline_sampling& sampling,
                      typename F::values& sample_values) noexcept {
  dense1D<unsigned> reduced;
  dense1D<double> reduced_params, curvature_sizes, limits;
  turning_chain<D>(pos, indices, reduced, reduced_params);
  // A chain that turns at every node is its own reduction: its pieces were built and their
  // end curvatures taken by the sampling.
  if (reduced.size() == indices.size() &&
      sampling.end_curvatures.size() == 2 * (indices.size() - 3))
    chain_curvature_sizes(sampling.end_curvatures, e, curvature_sizes);
  else
    chain_curvature_sizes<D>(pos, reduced, e, curvature_sizes);
  if (reduced.size() < 4 || curvature_sizes.size() != reduced.size() ||
      reduced_params.size() != reduced.size())
    return false;
  tessa::bound_metrics(curvature_sizes, min_size, std::max(sampling.total, min_size));
  interpolate_metrics(reduced_params, curvature_sizes, sampling.sample_params, limits);
  if (limits.size() != sampling.samples.cols()) return false;
  F::template cap<D>(limits, sample_values);
  return true;
}

// Lowers the sample values along the sample polyline, edges (k - 1, k), to respect the
// gradation. False when working storage runs out.
template <class F>
bool grade_along_samples(const dense2D<double>& samples, double gradation,
                         typename F::values& sample_values) noexcept {
  const std::size_t S = samples.cols();
  dense2D<unsigned> connectivity;
  if (!connectivity.resize(2, S - 1)) return false;
  for (std::size_t k = 1; k < S; ++k) {
    connectivity(0, k - 1) = static_cast<unsigned>(k - 1);
    connectivity(1, k - 1) = static_cast<unsigned>(k);
  }
  F::grade(samples, connectivity, gradation, sample_values);
  return true;
}

// Appends the identifiers first, first_new ... pos_cols - 1, last.
void append_output_chain(unsigned first, std::size_t first_new, std::size_t pos_cols, unsigned last,
                         dense1D<unsigned>& new_indices) noexcept {
  new_indices.reserve(new_indices.size() + (pos_cols - first_new) + 2, 2);
  new_indices.push_back(first);
  for (std::size_t id = first_new; id < pos_cols; ++id)
    new_indices.push_back(static_cast<unsigned>(id));
  new_indices.push_back(last);
}

// Appends 0, params, 1.
void append_output_params(const dense1D<double>& params, dense1D<double>& new_params) noexcept {
  new_params.push_back(0.0);
  append_values(params, new_params);
  new_params.push_back(1.0);
}

// Meshes the spline through a padded chain whose arguments have passed the tests:
// samples the spline densely, gives every sample a value (the node values spread from the
// nodes, or interpolated between them), caps it by the spline's curvature, optionally
// limits its gradation, and runs one meshing pass over the sample polyline. The results
// are appended; a failed append is skipped, and when working storage runs out before the
// pass nothing is appended.
// \param[in,out] pos coordinates with D rows; the new nodes are appended.
// \param[in] indices padded chain of N >= 4 columns of pos.
// \param[in] values at least N valid values of field F, by chain position.
// \param[in] force_even the element count must be even.
// \param[in] min_elements 1 <= min_elements.
// \param[in] max_elements min_elements <= max_elements.
// \param[in] chordal_tol > 0 a distance, < 0 a fraction of the radius; 0, -unset or NaN off.
// \param[in] min_size >= 0, the smallest length the curvature may ask for.
// \param[in] default_size size of the samples between the nodes when it and max_gradation
// are > 0.
// \param[in] max_gradation gradation limit, active when 0 < value < unset.
// \param[in,out] new_indices indices[1], the new nodes, indices[N - 2]; appended.
// \param[in,out] new_params 0, the parameters of the new nodes, 1; appended.
// \param[in,out] new_values the value of each output node; appended.
// \param[out] max_deviation largest distance of the samples from the node polyline's chords.
template <class F, std::size_t D>
void spline_mesh(dense2D<double>& pos, const dense1D<unsigned>& indices,
                 const typename F::values& values, bool force_even, unsigned min_elements,
                 unsigned max_elements, double chordal_tol, double min_size, double default_size,
                 double max_gradation, dense1D<unsigned>& new_indices, dense1D<double>& new_params,
                 typename F::values& new_values, double& max_deviation) noexcept {
  const std::size_t N = indices.size();
  const std::size_t N0 = pos.cols();
  const unsigned first = indices[1], last = indices[N - 2];
  const double e = chordal_setting(chordal_tol);

  // Samples ten times finer than the chordal setting, so that the sample polyline stands
  // for the spline within a tenth of the error the mesh may make, and at most half the
  // smallest size, so that every element spans at least two samples.
  spline_sampling sampling;
  sampling.total = sample_spline<D>(pos, indices, 0.1 * e, 0.5 * min_size, sampling.samples,
                                    sampling.node_params, sampling.sample_params,
                                    sampling.node_samples, max_deviation, &sampling.end_curvatures);
  if (!sampling.is_complete(N - 2)) return;
  const std::size_t S = sampling.samples.cols();

  const typename F::values node_values = F::node_values(values, N);
  typename F::values sample_values;
  if (default_size > 0 && max_gradation > 0)
    F::template spread_default<D>(default_size, sampling.node_samples, node_values, S,
                                  sample_values);
  else
    F::interpolate(sampling.node_params, node_values, sampling.sample_params, sample_values);
  if (F::count(sample_values) != S) return;

  if (!cap_by_curvature<F, D>(pos, indices, e, min_size, sampling, sample_values)) return;
  if (max_gradation > 0 && max_gradation < unset &&
      !grade_along_samples<F>(sampling.samples, max_gradation, sample_values))
    return;

  dense1D<unsigned> chain;
  if (!chain.resize(S)) return;
  for (std::size_t k = 0; k < S; ++k)
    chain[k] = static_cast<unsigned>(k);
  dense2D<double> new_pos;
  typename F::values mesh_values;
  dense1D<double> mesh_params;
  F::template pass<D>(sampling.samples, chain, sampling.sample_params, sample_values, 0.0,
                      force_even, min_elements, max_elements, new_pos, mesh_values, mesh_params);

  F::append_results(sample_values, mesh_values, new_values);
  append_columns(new_pos, pos);
  append_output_chain(first, N0, pos.cols(), last, new_indices);
  append_output_params(mesh_params, new_params);
}

// mesh_spline for field F: sets max_deviation to 0, tests the arguments in order (-1 pos
// rows, -2 chain, -3 values, -5 counts, -8 min_size, -13 new values) and dispatches on the
// row count of pos.
template <class F>
int mesh_spline_checked(dense2D<double>& pos, const dense1D<unsigned>& indices,
                        const typename F::values& values, bool force_even, unsigned min_elements,
                        unsigned max_elements, double chordal_tol, double min_size,
                        double default_size, double max_gradation, dense1D<unsigned>& new_indices,
                        dense1D<double>& new_params, typename F::values& new_values,
                        double& max_deviation) noexcept {
  max_deviation = 0;
  if (!is_plane_or_space(pos)) return -1;
  const std::size_t N = indices.size();
  if (N < 4 || !ids_in(indices, pos)) return -2;
  if (!coordinates_finite(pos, indices)) return -1;
  if (!F::accepts(values, N, pos.rows())) return -3;
  if (!are_valid_counts(min_elements, max_elements)) return -5;
  if (!(min_size >= 0)) return -8;
  if (!F::can_receive(new_values, pos.rows())) return -13;
  if (pos.rows() == 2)
    spline_mesh<F, 2>(pos, indices, values, force_even, min_elements, max_elements, chordal_tol,
                      min_size, default_size, max_gradation, new_indices, new_params, new_values,
                      max_deviation);
  else
    spline_mesh<F, 3>(pos, indices, values, force_even, min_elements, max_elements, chordal_tol,
                      min_size, default_size, max_gradation, new_indices, new_params, new_values,
                      max_deviation);
  return 0;
}

}  // namespace

int mesh_spline(dense2D<double>& pos, const dense1D<unsigned>& indices,
                const dense1D<double>& sizes, bool force_even, unsigned min_elements,
                unsigned max_elements, double chordal_tol, double min_size, double default_size,
                double max_gradation, dense1D<unsigned>& new_indices, dense1D<double>& new_params,
                dense1D<double>& new_sizes, double& max_deviation) noexcept {
  return mesh_spline_checked<spline_sizes>(
      pos, indices, sizes, force_even, min_elements, max_elements, chordal_tol, min_size,
      default_size, max_gradation, new_indices, new_params, new_sizes, max_deviation);
}

int mesh_spline(dense2D<double>& pos, const dense1D<unsigned>& indices,
                const dense2D<double>& metrics, bool force_even, unsigned min_elements,
                unsigned max_elements, double chordal_tol, double min_size, double default_size,
                double max_gradation, dense1D<unsigned>& new_indices, dense1D<double>& new_params,
                dense2D<double>& new_metrics, double& max_deviation) noexcept {
  return mesh_spline_checked<spline_metrics>(
      pos, indices, metrics, force_even, min_elements, max_elements, chordal_tol, min_size,
      default_size, max_gradation, new_indices, new_params, new_metrics, max_deviation);
}

}  // namespace filum
}  // namespace vorn
