#include "mesher/mesh_line_frame.h"

#include <cmath>

#include "frame/checks.h"
#include "frame/point.h"

namespace vorn {
namespace filum {
namespace {

// Cumulative chord length of the chain into params, divided by the total; false when the
// total is 0 or not finite.
template <std::size_t D>
bool normalize_chord_length(const dense2D<double>& pos, const dense1D<unsigned>& indices,
                            dense1D<double>& params) noexcept {
  const std::size_t n = indices.size();
  params[0] = 0;
  for (std::size_t k = 1; k < n; ++k)
    params[k] = params[k - 1] + distance<D>(pos, indices[k - 1], indices[k]);
  const double total = params[n - 1];
  if (!(total > 0) || std::isinf(total)) return false;
  const double inverse = 1 / total;
  for (std::size_t k = 0; k < n; ++k)
    params[k] *= inverse;
  params[n - 1] = 1.0;
  return true;
}

}  // namespace

int check_line_arguments(const dense2D<double>& pos, const dense1D<unsigned>& indices,
                         const dense1D<double>& params) noexcept {
  if (!is_plane_or_space(pos)) return -1;
  if (indices.size() < 2 || !ids_in(indices, pos)) return -2;
  if (!coordinates_finite(pos, indices)) return -1;
  if (params.size() != indices.size() || !is_non_decreasing(params)) return -3;
  return 0;
}

bool are_valid_counts(unsigned min_elements, unsigned max_elements) noexcept {
  return min_elements != 0 && min_elements <= max_elements;
}

double active_chordal_tol(double chordal_tol) noexcept {
  return is_unset(chordal_tol) ? 0 : chordal_tol;
}

int chord_length_params(const dense2D<double>& pos, const dense1D<unsigned>& indices,
                        dense1D<double>& params) noexcept {
  params.clear();
  if (!is_plane_or_space(pos)) return -1;
  if (indices.size() < 2 || !ids_in(indices, pos)) return -2;
  if (!params.resize(indices.size(), 0.0)) return storage_failure;
  const bool measured = pos.rows() == 2 ? normalize_chord_length<2>(pos, indices, params)
                                        : normalize_chord_length<3>(pos, indices, params);
  return measured ? 0 : -2;
}

}  // namespace filum
}  // namespace vorn
