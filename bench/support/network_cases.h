#ifndef FILUM_BENCH_NETWORK_CASES_H
#define FILUM_BENCH_NETWORK_CASES_H

// Line networks for the network engine's benchmarks: many closed blobs, and a coastline
// with islands of every size, pieces that join at shared nodes and jagged runs.

#include <cmath>
#include <cstddef>
#include <random>
#include <vector>

#include <vorn/dense.h>

namespace filum_bench {

/// A network: coordinates and E2 elements.
struct line_network_case {
  vorn::dense2D<double> pos;
  vorn::dense2D<unsigned> connectM;
};

/// `blobs` closed curves of `points` nodes, r = 1 + 0.3 sin(3t + k) + 0.1 cos(7t), on a grid
/// of spacing 3; with 3 rows the curves also wave in z.
inline line_network_case closed_blobs(std::size_t blobs, std::size_t points, std::size_t rows) {
  const double two_pi = 6.283185307179586;
  line_network_case c{vorn::dense2D<double>(rows, blobs * points),
                      vorn::dense2D<unsigned>(2, blobs * points)};
  const std::size_t row = static_cast<std::size_t>(std::ceil(std::sqrt(blobs)));
  for (std::size_t k = 0; k < blobs; ++k)
    for (std::size_t i = 0; i < points; ++i) {
      const double t = two_pi * static_cast<double>(i) / static_cast<double>(points);
      const double r = 1 + 0.3 * std::sin(3 * t + static_cast<double>(k)) + 0.1 * std::cos(7 * t);
      const std::size_t id = k * points + i;
      c.pos(0, id) = 3.0 * static_cast<double>(k % row) + r * std::cos(t);
      c.pos(1, id) = 3.0 * static_cast<double>(k / row) + r * std::sin(t);
      if (rows == 3) c.pos(2, id) = 0.2 * std::sin(5 * t);
      c.connectM(0, id) = static_cast<unsigned>(id);
      c.connectM(1, id) = static_cast<unsigned>(k * points + (i + 1) % points);
    }
  return c;
}

/// A coastline-like network: `islands` closed shores whose diameters spread evenly in
/// logarithm from 1e-4 to 10 units, each jagged by a random radial noise of a third of its
/// node spacing, with nodes every `spacing` (at least 5 per island); every shore longer
/// than 200 nodes is given as pieces of 50 to 500 elements that join at shared nodes, the
/// pieces listed out of order.
inline line_network_case coastline(std::size_t islands, double spacing, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> u(0, 1);
  std::vector<double> xy;
  std::vector<unsigned> a, b;
  std::vector<std::vector<unsigned>> pieces;
  const std::size_t row = static_cast<std::size_t>(std::ceil(std::sqrt(islands)));
  for (std::size_t k = 0; k < islands; ++k) {
    const double diameter = std::pow(10.0, -4 + 5 * u(rng));
    const double r = diameter / 2, perimeter = 3.141592653589793 * diameter;
    const std::size_t n = std::max<std::size_t>(5, static_cast<std::size_t>(perimeter / spacing));
    const double cx = 12.0 * static_cast<double>(k % row), cy = 12.0 * static_cast<double>(k / row);
    const unsigned first = static_cast<unsigned>(xy.size() / 2);
    for (std::size_t i = 0; i < n; ++i) {
      const double t = 6.283185307179586 * static_cast<double>(i) / static_cast<double>(n);
      const double jag = 1 + (u(rng) - 0.5) * (2.0 / 3.0) * std::min(1.0, spacing / r);
      xy.push_back(cx + r * jag * std::cos(t));
      xy.push_back(cy + r * jag * std::sin(t));
    }
    std::vector<unsigned> piece;
    for (std::size_t i = 0; i < n; ++i) {
      piece.push_back(static_cast<unsigned>(a.size()));
      a.push_back(first + static_cast<unsigned>(i));
      b.push_back(first + static_cast<unsigned>((i + 1) % n));
      if (n > 200 && piece.size() >= 50 + rng() % 450)
        pieces.push_back(std::move(piece)), piece = {};
    }
    if (!piece.empty()) pieces.push_back(std::move(piece));
  }
  std::shuffle(pieces.begin(), pieces.end(), rng);
  line_network_case c{vorn::dense2D<double>(2, xy.size() / 2),
                      vorn::dense2D<unsigned>(2, a.size())};
  for (std::size_t j = 0; j < xy.size() / 2; ++j)
    c.pos(0, j) = xy[2 * j], c.pos(1, j) = xy[2 * j + 1];
  std::size_t e = 0;
  for (const std::vector<unsigned>& piece : pieces)
    for (unsigned old : piece)
      c.connectM(0, e) = a[old], c.connectM(1, e) = b[old], ++e;
  return c;
}

/// Elements of a result that no mesher downstream can take: [a, a], zero length, or
/// joining the same two nodes as another.
inline std::size_t degenerate_elements(const vorn::dense2D<double>& pos,
                                       const vorn::dense2D<unsigned>& connectM) {
  std::size_t count = 0;
  std::vector<std::pair<unsigned, unsigned>> pairs;
  for (std::size_t e = 0; e < connectM.cols(); ++e) {
    const unsigned p = connectM(0, e), q = connectM(1, e);
    bool same_place = true;
    for (std::size_t i = 0; i < pos.rows(); ++i)
      same_place = same_place && pos(i, p) == pos(i, q);
    count += p == q || same_place;
    pairs.emplace_back(std::min(p, q), std::max(p, q));
  }
  std::sort(pairs.begin(), pairs.end());
  for (std::size_t k = 1; k < pairs.size(); ++k)
    count += pairs[k] == pairs[k - 1];
  return count;
}

}  // namespace filum_bench

#endif
