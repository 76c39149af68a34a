#ifndef FILUM_TESTS_SUPPORT_LINE_GEOMETRY_H
#define FILUM_TESTS_SUPPORT_LINE_GEOMETRY_H

// Geometry for checking line meshes: chains of all columns, arcs, distances.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>

#include <vorn/dense.h>

namespace filum_test {

/// Distance between columns a and b of pos.
inline double distance_between(const vorn::dense2D<double>& pos, std::size_t a, std::size_t b) {
  double dd = 0;
  for (std::size_t i = 0; i < pos.rows(); ++i)
    dd += (pos(i, b) - pos(i, a)) * (pos(i, b) - pos(i, a));
  return std::sqrt(dd);
}

/// Distance from column p of pos to the polyline through the listed columns.
inline double distance_to_polyline(const vorn::dense2D<double>& pos, std::size_t p,
                                   const vorn::dense1D<unsigned>& chain) {
  double best = std::numeric_limits<double>::infinity();
  for (std::size_t k = 0; k + 1 < chain.size(); ++k) {
    const std::size_t a = chain[k], b = chain[k + 1];
    double ee = 0, ed = 0, dd = 0;
    for (std::size_t i = 0; i < pos.rows(); ++i) {
      ee += (pos(i, b) - pos(i, a)) * (pos(i, b) - pos(i, a));
      ed += (pos(i, b) - pos(i, a)) * (pos(i, p) - pos(i, a));
    }
    const double t = ee > 0 ? std::min(1.0, std::max(0.0, ed / ee)) : 0;
    for (std::size_t i = 0; i < pos.rows(); ++i)
      dd += std::pow(pos(i, a) + t * (pos(i, b) - pos(i, a)) - pos(i, p), 2);
    best = std::min(best, std::sqrt(dd));
  }
  return best;
}

/// The chain 0, 1, ..., n - 1.
inline vorn::dense1D<unsigned> first_columns(std::size_t n) {
  vorn::dense1D<unsigned> chain(n);
  for (std::size_t i = 0; i < n; ++i)
    chain[i] = static_cast<unsigned>(i);
  return chain;
}

/// The padded chain over nodes 0 .. n-1: ghosts across the closing node when closed
/// (n-1, 0, ..., n-1, 0, 1), else repeated ends (0, 0, ..., n-1, n-1).
inline vorn::dense1D<unsigned> padded_chain(std::size_t n, bool closed = false) {
  vorn::dense1D<unsigned> chain(n + (closed ? 3 : 2));
  for (std::size_t k = 0; k < n; ++k)
    chain[k + 1] = static_cast<unsigned>(k);
  chain[0] = closed ? static_cast<unsigned>(n - 1) : 0;
  chain[n + 1] = closed ? 0 : static_cast<unsigned>(n - 1);
  if (closed) chain[n + 2] = 1;
  return chain;
}

/// Parameters of the chain of all columns by cumulative chord length.
inline vorn::dense1D<double> chord_params(const vorn::dense2D<double>& pos) {
  vorn::dense1D<double> params(pos.cols(), 0.0);
  for (std::size_t k = 1; k < pos.cols(); ++k)
    params[k] = params[k - 1] + distance_between(pos, k - 1, k);
  return params;
}

/// n nodes of the arc of radius R from angle 0 to `angle` around (c, c), in dim rows (the
/// third coordinate c).
inline vorn::dense2D<double> arc(std::size_t n, double R, double angle, double c = 0,
                                 std::size_t dim = 2) {
  vorn::dense2D<double> pos(dim, n, c);
  for (std::size_t j = 0; j < n; ++j) {
    const double a = angle * static_cast<double>(j) / static_cast<double>(n - 1);
    pos(0, j) = c + R * std::cos(a);
    pos(1, j) = c + R * std::sin(a);
  }
  return pos;
}

/// The elements (k, k + 1) along n nodes, and (n - 1, 0) when closed.
inline vorn::dense2D<unsigned> path_elements(std::size_t n, bool closed) {
  vorn::dense2D<unsigned> connectM(2, closed ? n : n - 1);
  for (std::size_t k = 0; k < connectM.cols(); ++k)
    connectM(0, k) = static_cast<unsigned>(k), connectM(1, k) = static_cast<unsigned>((k + 1) % n);
  return connectM;
}

}  // namespace filum_test

#endif
