#ifndef VORN_TESSA_REDUCTION_H
#define VORN_TESSA_REDUCTION_H

// The simultaneous reduction of two metrics under one name for both dimensions, so that
// the dimension-generic workers can call it.

#include <cstddef>

#include <vorn/tessa/metric_algebra.h>

#include "packed.h"

namespace vorn {
namespace tessa {

template <std::size_t D>
struct metric_pair_of;
template <>
struct metric_pair_of<2> {
  using type = metric_pair2d;
};
template <>
struct metric_pair_of<3> {
  using type = metric_pair3d;
};

/// \brief The reduced pair type of dimension D.
template <std::size_t D>
using metric_pair = typename metric_pair_of<D>::type;

/// \brief reduce_metrics2d under the dimension-generic name.
inline bool reduce_metrics(const packed_metric<2>& A, const packed_metric<2>& B,
                           metric_pair2d& pair) noexcept {
  return reduce_metrics2d(A, B, pair);
}

/// \brief reduce_metrics3d under the dimension-generic name.
inline bool reduce_metrics(const packed_metric<3>& A, const packed_metric<3>& B,
                           metric_pair3d& pair) noexcept {
  return reduce_metrics3d(A, B, pair);
}

}  // namespace tessa
}  // namespace vorn

#endif
