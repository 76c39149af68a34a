#ifndef FILUM_MESHER_MESH_LINE_FRAME_H
#define FILUM_MESHER_MESH_LINE_FRAME_H

// The frame shared by every mesh_line overload, whatever the target field: argument tests,
// the chord-length parameters of the overloads without parameters, their code translation,
// and the sequence driver, refinement, appending of the results.

#include <cstddef>
#include <cstdint>

#include <vorn/dense.h>
#include <vorn/filum.h>

#include "frame/append.h"
#include "frame/checks.h"
#include "mesher/mesh_chain.h"
#include "mesher/refine_chain.h"

namespace vorn {
namespace filum {

namespace line_frame_detail {

/// \brief Appends a local result that is about to be released to an output; an output that
/// has never held storage takes the result's storage instead of a copy of it.
template <class T>
bool hand_over(const dense1D<T>& result, dense1D<T>& output) noexcept {
  if (output.buffer() || output.size() != 0) return append_values(result, output);
  output = result;
  return true;
}
inline bool hand_over(const dense2D<double>& result, dense2D<double>& output) noexcept {
  if (output.buffer() || !output.empty()) return append_columns(result, output);
  output = result;
  return true;
}

}  // namespace line_frame_detail

/// \brief Tests pos, the chain and its parameters in argument order.
/// \return 0; -1 pos without 2 or 3 rows; -2 fewer than 2 entries or an identifier that is
/// not a column of pos; -1 a coordinate of a chain node that is not finite; -3 params not
/// one non-decreasing value per entry (NaN fails).
int check_line_arguments(const dense2D<double>& pos, const dense1D<unsigned>& indices,
                         const dense1D<double>& params) noexcept;

/// \brief Whether 1 <= min_elements <= max_elements.
bool are_valid_counts(unsigned min_elements, unsigned max_elements) noexcept;

/// \brief The chordal tolerance in force: 0 for +-unset and NaN.
double active_chordal_tol(double chordal_tol) noexcept;

/// \brief The cumulative chord length of a chain divided by its total (the last value
/// exactly 1), the parameters of the overloads without parameters.
/// \param[out] params one value per chain entry (rebuilt).
/// \return 0; -1 pos without 2 or 3 rows; -2 fewer than 2 entries, an identifier that is not
/// a column of pos, or a total length that is 0 or not finite; storage_failure.
int chord_length_params(const dense2D<double>& pos, const dense1D<unsigned>& indices,
                        dense1D<double>& params) noexcept;

/// \brief The checked body of mesh_line for field F in dimension D: driver, chordal
/// refinement when chordal_tol > 0 and the mesh has fewer than max_elements elements, then
/// the results appended. When storage runs out nothing is appended and pos is left as it was.
/// \return 0.
template <class F, std::size_t D>
int mesh_line_checked(dense2D<double>& pos, const dense1D<unsigned>& indices,
                      const dense1D<double>& params, const typename F::values& values,
                      bool force_even, unsigned min_elements, unsigned max_elements,
                      double chordal_tol, double min_size, dense1D<unsigned>& new_indices,
                      dense1D<double>& new_params, typename F::values& new_values) noexcept {
  const std::size_t N0 = pos.cols();
  dense1D<unsigned> chain;
  dense1D<double> chain_params;
  typename F::values chain_values;
  if (mesh_chain<F, D>(pos, indices, params, values, force_even, min_elements, max_elements,
                       chordal_tol, min_size, chain, chain_params, chain_values) != 0)
    return 0;
  if (chordal_tol > 0 && chain.size() < std::uint64_t{max_elements} + 1)
    refine_chain<F, D>(pos, indices, params, values, force_even, chordal_tol, min_size, N0, chain,
                       chain_params, chain_values);
  const std::size_t indices_before = new_indices.size();
  const std::size_t values_before = F::count(new_values);
  using line_frame_detail::hand_over;
  if (!hand_over(chain, new_indices) || !hand_over(chain_params, new_params) ||
      !hand_over(chain_values, new_values)) {
    new_indices.resize(indices_before);
    new_params.clear();
    F::truncate(new_values, values_before);
    pos.resize(D, N0);
  }
  return 0;
}

/// \brief mesh_line with parameters for field F: empties new_params, tests the arguments in
/// order (-1, -2, -3, -4 values, -6 counts, -12 new_values) and meshes.
template <class F>
int mesh_line_with_params(dense2D<double>& pos, const dense1D<unsigned>& indices,
                          const dense1D<double>& params, const typename F::values& values,
                          bool force_even, unsigned min_elements, unsigned max_elements,
                          double chordal_tol, double min_size, dense1D<unsigned>& new_indices,
                          dense1D<double>& new_params, typename F::values& new_values) noexcept {
  new_params.clear();
  const int code = check_line_arguments(pos, indices, params);
  if (code != 0) return code;
  const std::size_t n = indices.size();
  if (!F::accepts(values, n, pos.rows())) return -4;
  if (!are_valid_counts(min_elements, max_elements)) return -6;
  if (!F::can_receive(new_values, pos.rows())) return -12;
  const double tol = active_chordal_tol(chordal_tol);
  const typename F::values first_n = F::slice(values, 0, n);
  if (pos.rows() == 2)
    return mesh_line_checked<F, 2>(pos, indices, params, first_n, force_even, min_elements,
                                   max_elements, tol, min_size, new_indices, new_params,
                                   new_values);
  return mesh_line_checked<F, 3>(pos, indices, params, first_n, force_even, min_elements,
                                 max_elements, tol, min_size, new_indices, new_params, new_values);
}

/// \brief mesh_line without parameters for field F: the normalized chord length serves as
/// parameters, and the codes count the overload's own arguments.
template <class F>
int mesh_line_without_params(dense2D<double>& pos, const dense1D<unsigned>& indices,
                             const typename F::values& values, bool force_even,
                             unsigned min_elements, unsigned max_elements, double chordal_tol,
                             double min_size, dense1D<unsigned>& new_indices,
                             dense1D<double>& new_params, typename F::values& new_values) noexcept {
  new_params.clear();
  dense1D<double> params;
  const int code = chord_length_params(pos, indices, params);
  if (code != 0) return code;
  return shift_code(
      mesh_line_with_params<F>(pos, indices, params, values, force_even, min_elements, max_elements,
                               chordal_tol, min_size, new_indices, new_params, new_values),
      -3, 1);
}

}  // namespace filum
}  // namespace vorn

#endif
