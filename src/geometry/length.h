#ifndef FILUM_GEOMETRY_LENGTH_H
#define FILUM_GEOMETRY_LENGTH_H

// Lengths of polylines measured by the chords between their nodes.

#include <cstddef>

#include <vorn/dense.h>

#include "frame/point.h"

namespace vorn {
namespace filum {

/// \brief Sums, in chain order, the distances between consecutive nodes of a chain whose
/// nodes have D coordinates in pos; every identifier is tested when the walk reaches it.
/// \param[in] pos coordinates with at least D rows.
/// \param[in] indices node chain; fewer than 2 entries give 0.
/// \param[out] total the sum of the segments before the first identifier that is not a
/// column of pos (the whole length when there is none).
/// \return whether every identifier is a column of pos.
template <std::size_t D>
bool chain_length(const dense2D<double>& pos, const dense1D<unsigned>& indices,
                  double& total) noexcept {
  const std::size_t bound = pos.cols();
  const std::size_t n = indices.size();
  double sum = 0;
  bool valid = n == 0 || indices[0] < bound;
  for (std::size_t i = 1; valid && i < n; ++i) {
    valid = indices[i] < bound;
    if (valid) sum += distance<D>(pos, indices[i - 1], indices[i]);
  }
  total = sum;
  return valid;
}

}  // namespace filum
}  // namespace vorn

#endif
