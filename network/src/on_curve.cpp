#include "on_curve.h"

#include <algorithm>
#include <cmath>

#include <vorn/filum/network.h>

#include "spline/spline_segment.h"

namespace vorn {
namespace filum {
namespace {

template <std::size_t D>
spline_segment<D> piece_of(const dense2D<double>& pos, const dense1D<unsigned>& chain,
                           std::size_t k) noexcept {
  return build_spline_segment<D>(pos, chain[k], chain[k + 1], chain[k + 2], chain[k + 3]);
}

}  // namespace

template <std::size_t D>
bool place_on_curve(dense2D<double>& pos, const dense1D<unsigned>& chain, std::size_t first_new,
                    const unsigned* indices, const double* params, std::size_t count,
                    dense1D<double>& node_params) noexcept {
  const std::size_t pieces = chain.size() - 3;
  if (!node_params.resize(pieces + 1)) return false;
  // The start parameter of each piece, scaled as the sampling scales it.
  double s = 0;
  for (std::size_t k = 0; k < pieces; ++k) {
    node_params[k] = s;
    s += std::sqrt(norm2(piece_of<D>(pos, chain, k).a1));
  }
  if (!(s > 0)) return true;
  const double inverse = 1 / s;
  for (std::size_t k = 0; k < pieces; ++k)
    node_params[k] *= inverse;
  node_params[pieces] = 1.0;

  std::size_t k = 0;
  spline_segment<D> piece = piece_of<D>(pos, chain, 0);
  for (std::size_t j = 0; j < count; ++j) {
    if (indices[j] < first_new) continue;
    const double p = params[j];
    std::size_t next = k;
    while (next + 1 < pieces && p >= node_params[next + 1])
      ++next;
    if (next != k) piece = piece_of<D>(pos, chain, k = next);
    const double span = node_params[k + 1] - node_params[k];
    const double tau = span > 0 ? std::clamp((p - node_params[k]) / span, 0.0, 1.0) : 0.0;
    const point<D> at = piece.a0 + spline_offset(piece, tau);
    for (std::size_t i = 0; i < D; ++i)
      pos(i, indices[j]) = at[i];
  }
  return true;
}

template bool place_on_curve<2>(dense2D<double>&, const dense1D<unsigned>&, std::size_t,
                                const unsigned*, const double*, std::size_t,
                                dense1D<double>&) noexcept;
template bool place_on_curve<3>(dense2D<double>&, const dense1D<unsigned>&, std::size_t,
                                const unsigned*, const double*, std::size_t,
                                dense1D<double>&) noexcept;

int mesh_spline_on_curve(dense2D<double>& pos, const dense1D<unsigned>& indices,
                         const dense1D<double>& sizes, bool force_even, unsigned min_elements,
                         unsigned max_elements, double chordal_tol, double min_size,
                         double default_size, double max_gradation, dense1D<unsigned>& new_indices,
                         dense1D<double>& new_params, dense1D<double>& new_sizes,
                         double& max_deviation) noexcept {
  const std::size_t first_new = pos.cols();
  const std::size_t indices_before = new_indices.size();
  const std::size_t params_before = new_params.size();
  const std::size_t sizes_before = new_sizes.size();
  const int code = mesh_spline(pos, indices, sizes, force_even, min_elements, max_elements,
                               chordal_tol, min_size, default_size, max_gradation, new_indices,
                               new_params, new_sizes, max_deviation);
  const std::size_t count = new_indices.size() - indices_before;
  if (code != 0 || pos.cols() == first_new || new_params.size() - params_before != count)
    return code;
  dense1D<double> node_params;
  const unsigned* chain = new_indices.data() + indices_before;
  const double* params = new_params.data() + params_before;
  const bool placed =
      pos.rows() == 2
          ? place_on_curve<2>(pos, indices, first_new, chain, params, count, node_params)
          : place_on_curve<3>(pos, indices, first_new, chain, params, count, node_params);
  if (placed) return 0;
  pos.resize(pos.rows(), first_new);
  new_indices.resize(indices_before);
  new_params.resize(params_before);
  new_sizes.resize(sizes_before);
  return storage_failure;
}

}  // namespace filum
}  // namespace vorn
