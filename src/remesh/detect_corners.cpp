#include "remesh/detect_corners.h"

#include <algorithm>
#include <cmath>

#include <vorn/filum.h>

#include "frame/point.h"

namespace vorn {
namespace filum {
namespace {

// Largest squared cosine used by the angle test, so that a threshold of 0 or 180 degrees
// still leaves straight continuations alone.
constexpr double largest_cosine2 = 0.999999999999;

// Whether the turn from edge u to edge v makes a corner: both strictly longer than the
// minimum size and the angle between them at least 90 degrees or above the threshold.
template <std::size_t D>
bool is_corner(const point<D>& u, const point<D>& v, double c2, double m2) noexcept {
  const double uu = norm2(u);
  const double vv = norm2(v);
  if (!(uu > m2 && vv > m2)) return false;
  const double d = dot(u, v);
  return d <= 0 || d * d < uu * c2 * vv;
}

// The vector from the start to the end node of element e.
template <std::size_t D>
point<D> edge_vector(const dense2D<double>& pos, const dense2D<unsigned>& connectM,
                     std::size_t e) noexcept {
  return column_point<D>(pos, connectM(1, e)) - column_point<D>(pos, connectM(0, e));
}

}  // namespace

template <std::size_t D>
int detect_corners(const dense2D<double>& pos, const dense2D<unsigned>& connectM,
                   const dense2D<unsigned>& neighbors, double corner_angle, double min_size,
                   node_set& hard_nodes) noexcept {
  const double c = std::cos(corner_angle * 0.017453292519943295);  // degrees: pi / 180
  const double c2 = std::min(c * c, largest_cosine2);
  const double m2 = min_size * min_size;
  const std::size_t E = connectM.cols();
  for (std::size_t e = 0; e < E; ++e) {
    const unsigned a = connectM(0, e);
    const unsigned b = connectM(1, e);
    if (neighbors(1, e) >= E && hard_nodes.insert(a) == node_set::insertion::failed)
      return storage_failure;
    const std::size_t f = neighbors(0, e);
    const bool hard =
        f >= E                  // free end
        || connectM(1, f) == b  // head to head
        || is_corner<D>(edge_vector<D>(pos, connectM, e), edge_vector<D>(pos, connectM, f), c2, m2);
    if (hard && hard_nodes.insert(b) == node_set::insertion::failed) return storage_failure;
  }
  return 0;
}

template int detect_corners<2>(const dense2D<double>&, const dense2D<unsigned>&,
                               const dense2D<unsigned>&, double, double, node_set&) noexcept;
template int detect_corners<3>(const dense2D<double>&, const dense2D<unsigned>&,
                               const dense2D<unsigned>&, double, double, node_set&) noexcept;

}  // namespace filum
}  // namespace vorn
