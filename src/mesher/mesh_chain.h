#ifndef FILUM_MESHER_MESH_CHAIN_H
#define FILUM_MESHER_MESH_CHAIN_H

// The chain driver: repeats meshing passes over a chain until its node count stops falling.
// Each pass after the first meshes the chain produced by the previous one, whose nodes have
// been moved back onto the given polyline; optionally the target is first capped by the
// curvature of the given polyline.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <numeric>

#include <vorn/dense.h>
#include <vorn/filum.h>

#include "frame/append.h"
#include "geometry/curvatures.h"
#include "geometry/interpolate_coordinates.h"
#include "mesher/chain_field.h"

namespace vorn {
namespace filum {
namespace chain_detail {

/// \brief Caps each entry's target to the size whose sag on the local radius of curvature is
/// -chordal_tol: sqrt(-8 chordal_tol) / curvature, never below min_size.
/// \return false when storage fails.
template <class F, std::size_t D>
bool cap_by_curvature(const dense2D<double>& coords, const dense1D<unsigned>& chain,
                      double chordal_tol, double min_size, typename F::values& values) noexcept {
  const std::size_t n = chain.size();
  dense1D<double> curvature;
  if (!curvature.resize(n, 0.0)) return false;
  if (n >= 3) chain_curvatures<D>(coords, chain, curvature.data());
  const double c = std::sqrt(-8 * chordal_tol);
  for (std::size_t k = 0; k < n; ++k) {
    double cap = curvature[k] > 0 ? c / curvature[k] : unset;
    cap = std::max(cap, min_size);
    F::cap(values, k, cap);
  }
  return true;
}

/// \brief chain becomes first, first_new, first_new + 1, ..., first_new + m - 1, last.
inline bool set_new_chain(dense1D<unsigned>& chain, unsigned first, std::size_t first_new,
                          std::size_t m, unsigned last) noexcept {
  if (!chain.resize(m + 2)) return false;
  chain[0] = first;
  for (std::size_t i = 0; i < m; ++i)
    chain[i + 1] = static_cast<unsigned>(first_new + i);
  chain[m + 1] = last;
  return true;
}

}  // namespace chain_detail

/// \brief Meshes a chain with the passes of field F until the node count settles.
///
/// The passes work on a local copy of the chain's coordinates. A pass yields m new nodes;
/// the loop stops after the first pass of a two-node chain, when the node count n + m no
/// longer falls, or when the element count m + 1 equals min_count. Between passes the new
/// nodes are moved onto the given polyline by their parameters; the nodes appended to pos are
/// those of the last pass as it computed them.
/// \param[in,out] pos coordinates (D rows); the m new nodes are appended as N0 ... N0 + m - 1.
/// \param[in] chain n >= 2 identifiers, columns of pos.
/// \param[in] params n non-decreasing parameters.
/// \param[in] values the target of each entry (n entries).
/// \param[in] force_even the element count must be even.
/// \param[in] min_count minimum element count (>= 1).
/// \param[in] max_count maximum element count (>= min_count).
/// \param[in] chordal_tol < 0 caps the targets by curvature to a sag of -chordal_tol.
/// \param[in] min_size floor of the curvature cap.
/// \param[out] out_chain chain[0], N0, ..., N0 + m - 1, chain[n - 1] (rebuilt).
/// \param[out] out_params parameter of each entry of out_chain (rebuilt).
/// \param[out] out_values target of each entry of out_chain (rebuilt).
/// \return 0; storage_failure when the driver's own storage fails (outputs empty, pos as on
/// entry). A pass whose storage fails only yields no node.
template <class F, std::size_t D>
int mesh_chain(dense2D<double>& pos, const dense1D<unsigned>& chain, const dense1D<double>& params,
               const typename F::values& values, bool force_even, std::uint64_t min_count,
               std::uint64_t max_count, double chordal_tol, double min_size,
               dense1D<unsigned>& out_chain, dense1D<double>& out_params,
               typename F::values& out_values) noexcept {
  out_chain.clear();
  out_params.clear();
  F::clear(out_values);
  const std::size_t n = chain.size();
  const std::size_t N0 = pos.cols();

  dense2D<double> local;
  dense1D<unsigned> identity;
  dense1D<unsigned> work_chain;
  dense1D<double> work_params;
  typename F::values work_values;
  typename F::values last_value;
  if (!gather_columns(pos, chain, local) || !identity.resize(n) || !work_params.copy(params) ||
      !F::copy(values, work_values))
    return storage_failure;
  std::iota(identity.begin(), identity.end(), 0u);
  if (!work_chain.copy(identity)) return storage_failure;
  if (chordal_tol < 0 &&
      !chain_detail::cap_by_curvature<F, D>(local, identity, chordal_tol, min_size, work_values))
    return storage_failure;
  if (!F::copy(F::slice(work_values, n - 1, 1), last_value)) return storage_failure;

  dense2D<double> new_pos;
  dense1D<double> new_params;
  typename F::values new_values;
  std::uint64_t previous = no_id;
  std::size_t passes = 0;
  std::size_t m = 0;
  for (;;) {
    F::template pass<D>(local, work_chain, work_params, work_values, 0.0, force_even, min_count,
                        max_count, new_pos, new_values, new_params);
    m = new_pos.cols();
    // The working targets become: first entry, the new nodes', the last given entry's.
    if (!work_params.resize(1) || !work_params.reserve(m + 2, 1) ||
        !append_values(new_params, work_params) || !work_params.push_back(params[n - 1]) ||
        !F::truncate(work_values, 1) || !F::reserve(work_values, m + 2) ||
        !F::append(new_values, work_values) || !F::append(last_value, work_values))
      return storage_failure;
    const std::uint64_t current = n + m;
    if (n == 2 || current >= previous || m + 1 == min_count) break;
    // Another pass follows: its chain is first node, new nodes, last node, the new nodes
    // moved back onto the given polyline (from the second pass on).
    if (!local.resize(D, n) || !append_columns(new_pos, local) ||
        !chain_detail::set_new_chain(work_chain, 0, n, m, static_cast<unsigned>(n - 1)))
      return storage_failure;
    if (passes != 0) place_on_chain<D>(local, identity, params, work_chain, work_params);
    previous = current;
    ++passes;
  }

  if (N0 + m > 0xFFFFFFFFu ||
      !chain_detail::set_new_chain(out_chain, chain[0], N0, m, chain[n - 1]) ||
      !append_columns(new_pos, pos)) {
    out_chain.clear();
    return storage_failure;
  }
  out_params = work_params;
  out_values = work_values;
  return 0;
}

}  // namespace filum
}  // namespace vorn

#endif
