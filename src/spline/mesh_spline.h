#ifndef FILUM_SPLINE_MESH_SPLINE_H
#define FILUM_SPLINE_MESH_SPLINE_H

// The worker of mesh_spline, written once for every spline field (spline/spline_field.h)
// and both dimensions.

#include <cstddef>

#include <vorn/dense.h>

namespace vorn {
namespace filum {

/// \brief Meshes the spline through a padded chain whose arguments have passed the tests:
/// samples the spline densely, gives every sample a value (the node values spread from the
/// nodes, or interpolated between them), caps it by the spline's curvature, optionally
/// limits its gradation, and runs one meshing pass over the sample polyline. The results
/// are appended; a failed append is skipped, and when working storage runs out before the
/// pass nothing is appended.
/// \param[in,out] pos coordinates with D rows; the new nodes are appended.
/// \param[in] indices padded chain of N >= 4 columns of pos.
/// \param[in] values at least N valid values of field F, by chain position.
/// \param[in] force_even the element count must be even.
/// \param[in] min_elements 1 <= min_elements.
/// \param[in] max_elements min_elements <= max_elements.
/// \param[in] chordal_tol > 0 a distance, < 0 a fraction of the radius; 0, -unset or NaN off.
/// \param[in] min_size >= 0, the smallest length the curvature may ask for.
/// \param[in] default_size size of the samples between the nodes when it and max_gradation
/// are > 0.
/// \param[in] max_gradation gradation limit, active when 0 < value < unset.
/// \param[in,out] new_indices indices[1], the new nodes, indices[N - 2]; appended.
/// \param[in,out] new_params 0, the parameters of the new nodes, 1; appended.
/// \param[in,out] new_values the value of each output node; appended.
/// \param[out] max_deviation largest distance of the samples from the node polyline's chords.
template <class F, std::size_t D>
void spline_mesh(dense2D<double>& pos, const dense1D<unsigned>& indices,
                 const typename F::values& values, bool force_even, unsigned min_elements,
                 unsigned max_elements, double chordal_tol, double min_size, double default_size,
                 double max_gradation, dense1D<unsigned>& new_indices, dense1D<double>& new_params,
                 typename F::values& new_values, double& max_deviation) noexcept;

}  // namespace filum
}  // namespace vorn

#endif
