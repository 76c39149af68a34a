#ifndef FILUM_GEOMETRY_CURVATURES_H
#define FILUM_GEOMETRY_CURVATURES_H

// Curvature of a polyline at its nodes, from the turning of the unit segment directions:
// 2 |d - d'| / (l + l') at a node between segments of lengths l, l' and directions d, d',
// which is exactly 1 / R at the nodes of a regular polygon inscribed in a circle of radius R.

#include <cmath>
#include <cstddef>

#include <vorn/dense.h>

#include "frame/point.h"

namespace vorn {
namespace filum {
/// \brief Curvature at every entry of a chain of n >= 3 nodes; the end entries copy their
/// neighbors'. Nothing is checked: the identifiers are columns of pos, which has D rows.
/// \param[in] pos coordinates.
/// \param[in] chain the node chain.
/// \param[in,out] values n values, all 0 on entry; entries next to a zero-length segment stay 0.
template <std::size_t D>
void chain_curvatures(const dense2D<double>& pos, const dense1D<unsigned>& chain,
                      double* values) noexcept {
  const std::size_t n = chain.size();
  auto previous = direction_of<D>(column_point<D>(pos, chain[1]) - column_point<D>(pos, chain[0]));
  for (std::size_t i = 1; i + 1 < n; ++i) {
    const auto next =
        direction_of<D>(column_point<D>(pos, chain[i + 1]) - column_point<D>(pos, chain[i]));
    if (previous.length > 0 && next.length > 0)
      values[i] = 2 * norm(previous.unit - next.unit) / (previous.length + next.length);
    previous = next;
  }
  values[0] = values[1];
  values[n - 1] = values[n - 2];
}

}  // namespace filum
}  // namespace vorn

#endif
