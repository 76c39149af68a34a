#ifndef FILUM_TESTS_MESHER_LINE_GEOMETRY_H
#define FILUM_TESTS_MESHER_LINE_GEOMETRY_H

// Geometry for checking line meshes: distances to polylines, chains as point lists.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>

#include <vorn/dense.h>

namespace filum_test {

/// Distance from column p of pos to the segment between columns a and b.
inline double distance_to_segment(const vorn::dense2D<double>& pos, std::size_t p, std::size_t a,
                                  std::size_t b) {
  double ee = 0, ed = 0;
  for (std::size_t i = 0; i < pos.rows(); ++i) {
    ee += (pos(i, b) - pos(i, a)) * (pos(i, b) - pos(i, a));
    ed += (pos(i, b) - pos(i, a)) * (pos(i, p) - pos(i, a));
  }
  const double t = ee > 0 ? std::min(1.0, std::max(0.0, ed / ee)) : 0;
  double dd = 0;
  for (std::size_t i = 0; i < pos.rows(); ++i) {
    const double d = pos(i, a) + t * (pos(i, b) - pos(i, a)) - pos(i, p);
    dd += d * d;
  }
  return std::sqrt(dd);
}

/// Distance from column p of pos to the polyline through the listed columns.
inline double distance_to_polyline(const vorn::dense2D<double>& pos, std::size_t p,
                                   const vorn::dense1D<unsigned>& chain) {
  double best = std::numeric_limits<double>::infinity();
  for (std::size_t k = 0; k + 1 < chain.size(); ++k)
    best = std::min(best, distance_to_segment(pos, p, chain[k], chain[k + 1]));
  return best;
}

/// The chain 0, 1, ..., n - 1.
inline vorn::dense1D<unsigned> first_columns(std::size_t n) {
  vorn::dense1D<unsigned> chain(n);
  for (std::size_t i = 0; i < n; ++i)
    chain[i] = static_cast<unsigned>(i);
  return chain;
}

/// n nodes of the arc of radius R from angle 0 to `angle`, centred at (c, c).
inline vorn::dense2D<double> arc(std::size_t n, double R, double angle, double c = 0) {
  vorn::dense2D<double> pos(2, n);
  for (std::size_t j = 0; j < n; ++j) {
    const double a = angle * static_cast<double>(j) / static_cast<double>(n - 1);
    pos(0, j) = c + R * std::cos(a);
    pos(1, j) = c + R * std::sin(a);
  }
  return pos;
}

}  // namespace filum_test

#endif
