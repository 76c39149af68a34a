#ifndef FILUM_METRICS_NORMAL_FRAME_H
#define FILUM_METRICS_NORMAL_FRAME_H

// Orthonormal frames along line elements in space: the element direction and two normals.

#include "frame/point.h"

namespace vorn {
namespace filum {

/// \brief An orthonormal frame: t along an element, v and w across it (w = t x v).
struct normal_frame {
  point<3> t, v, w;
};

/// \brief The frame of direction t with v as close as possible to the hint v: t made unit
/// (a zero t becomes (1, 0, 0)), w = t x v made unit, v = w x t. When t x v is exactly zero
/// the hint is replaced by the unit axis of t's smallest component (the first on ties).
/// With v = W x t for a W across t, w is W made unit.
normal_frame make_normal_frame(const point<3>& t, const point<3>& v) noexcept;

}  // namespace filum
}  // namespace vorn

#endif
