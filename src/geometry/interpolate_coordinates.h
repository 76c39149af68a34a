#ifndef FILUM_GEOMETRY_INTERPOLATE_COORDINATES_H
#define FILUM_GEOMETRY_INTERPOLATE_COORDINATES_H

// Placing nodes on a polyline by linear interpolation in a curvilinear parameter.

#include <cstddef>

#include <vorn/dense.h>

#include "frame/search.h"

namespace vorn {
namespace filum {

/// \brief Overwrites the coordinates of the listed nodes with the points of a chain at their
/// parameters. Node j lies between the chain entries k - 1 and k, k being the first entry
/// whose parameter is >= its own (found from the previous node's k on); k = 0 gives the first
/// node itself, and a parameter beyond the last one follows the line of the last segment.
/// Nothing is checked: the chain is not empty, both parameter lists are sorted and have one
/// value per entry, and every identifier is a column of pos.
/// \param[in,out] pos coordinates; D rows are written (D = 0: all rows of pos).
/// \param[in] chain the polyline.
/// \param[in] params one parameter per chain entry.
/// \param[in] nodes the nodes to place.
/// \param[in] node_params one parameter per node to place.
template <std::size_t D>
void place_on_chain(dense2D<double>& pos, const dense1D<unsigned>& chain,
                    const dense1D<double>& params, const dense1D<unsigned>& nodes,
                    const dense1D<double>& node_params) noexcept {
  const std::size_t n = chain.size();
  const std::size_t rows = D == 0 ? pos.rows() : D;
  const std::size_t ld = pos.ld();
  double* coords = pos.data();
  std::size_t k = 0;
  for (std::size_t j = 0; j < nodes.size(); ++j) {
    const double s = node_params[j];
    k = lower_bound_from(params.data(), n, k, s);
    if (k == n) k = n - 1;
    const std::size_t lower = k > 0 ? k - 1 : k;
    const double s0 = params[lower];
    const double s1 = params[k];
    const double t = s1 > s0 ? (s - s0) / (s1 - s0) : 0;
    const double* a = coords + chain[lower] * ld;
    const double* b = coords + chain[k] * ld;
    double* out = coords + nodes[j] * ld;
    for (std::size_t r = 0; r < rows; ++r)
      out[r] = a[r] + t * (b[r] - a[r]);
  }
}

}  // namespace filum
}  // namespace vorn

#endif
