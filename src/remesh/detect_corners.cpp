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

// Calls mark(node) for each node detect_corners adds for the elements [first, last), in
// element order; false as soon as mark returns false.
template <std::size_t D, class Mark>
bool visit_corners(const dense2D<double>& pos, const dense2D<unsigned>& connectM,
                   const dense2D<unsigned>& neighbors, double corner_angle, double min_size,
                   std::size_t first, std::size_t last, const Mark& mark) noexcept {
  const double c = std::cos(corner_angle * 0.017453292519943295);  // degrees: pi / 180
  const double c2 = std::min(c * c, largest_cosine2);
  const double m2 = min_size * min_size;
  const std::size_t E = connectM.cols();
  for (std::size_t e = first; e < last; ++e) {
    const unsigned a = connectM(0, e);
    const unsigned b = connectM(1, e);
    if (neighbors(1, e) >= E && !mark(a)) return false;
    const std::size_t f = neighbors(0, e);
    const bool hard =
        f >= E                  // free end
        || connectM(1, f) == b  // head to head
        || is_corner<D>(edge_vector<D>(pos, connectM, e), edge_vector<D>(pos, connectM, f), c2, m2);
    if (hard && !mark(b)) return false;
  }
  return true;
}

}  // namespace

template <std::size_t D>
int detect_corners(const dense2D<double>& pos, const dense2D<unsigned>& connectM,
                   const dense2D<unsigned>& neighbors, double corner_angle, double min_size,
                   node_set& hard_nodes) noexcept {
  auto insert = [&](unsigned node) {
    return hard_nodes.insert(node) != node_set::insertion::failed;
  };
  return visit_corners<D>(pos, connectM, neighbors, corner_angle, min_size, 0, connectM.cols(),
                          insert)
             ? 0
             : storage_failure;
}

template <std::size_t D>
bool corner_nodes(const dense2D<double>& pos, const dense2D<unsigned>& connectM,
                  const dense2D<unsigned>& neighbors, double corner_angle, double min_size,
                  std::size_t first, std::size_t last, dense1D<unsigned>& nodes) noexcept {
  auto append = [&](unsigned node) { return nodes.push_back(node); };
  return visit_corners<D>(pos, connectM, neighbors, corner_angle, min_size, first, last, append);
}

template int detect_corners<2>(const dense2D<double>&, const dense2D<unsigned>&,
                               const dense2D<unsigned>&, double, double, node_set&) noexcept;
template int detect_corners<3>(const dense2D<double>&, const dense2D<unsigned>&,
                               const dense2D<unsigned>&, double, double, node_set&) noexcept;
template bool corner_nodes<2>(const dense2D<double>&, const dense2D<unsigned>&,
                              const dense2D<unsigned>&, double, double, std::size_t, std::size_t,
                              dense1D<unsigned>&) noexcept;
template bool corner_nodes<3>(const dense2D<double>&, const dense2D<unsigned>&,
                              const dense2D<unsigned>&, double, double, std::size_t, std::size_t,
                              dense1D<unsigned>&) noexcept;

}  // namespace filum
}  // namespace vorn
