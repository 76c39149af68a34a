#include <algorithm>
#include <cmath>
#include <limits>

#include <gtest/gtest.h>
#include <vorn/filum.h>
#include <vorn/filum/network.h>

#include "support/filum_test.h"

using namespace vorn;
using namespace filum_test;

namespace {

const double pi = std::acos(-1.0);

// Nodes of a closed curve (the first repeated at the end), padded for the spline.
struct curve {
  dense2D<double> pos;
  dense1D<unsigned> padded;
  dense1D<double> sizes;
};

template <class Point>
curve closed_curve(unsigned n, std::size_t rows, double size, Point point) {
  curve c{dense2D<double>(rows, n), dense1D<unsigned>(n + 3), dense1D<double>(n + 3, size)};
  for (unsigned k = 0; k < n; ++k) {
    const auto p = point(k);
    for (std::size_t i = 0; i < rows; ++i)
      c.pos(i, k) = p[i];
    c.padded[k + 1] = k;
  }
  c.padded[0] = n - 1, c.padded[n + 1] = 0, c.padded[n + 2] = 1;
  return c;
}

curve open_curve_of(const dense2D<double>& pos, double size) {
  const unsigned n = static_cast<unsigned>(pos.cols());
  curve c{pos, dense1D<unsigned>(n + 2), dense1D<double>(n + 2, size)};
  for (unsigned k = 0; k < n; ++k)
    c.padded[k + 1] = k;
  c.padded[0] = 0, c.padded[n + 1] = n - 1;
  return c;
}

// Distance from node x to the spline of the padded chain: the best of a golden-section
// search over each piece next to the chain node nearest x.
double distance_to_spline(const dense2D<double>& pos, const dense1D<unsigned>& chain,
                          std::size_t x) {
  const std::size_t D = pos.rows(), pieces = chain.size() - 3;
  auto point_at = [&](std::size_t k, double t, double* out) {
    if (D == 2) {
      vector_fixed<double, 2> p;
      filum::spline_point(pos, chain[k], chain[k + 1], chain[k + 2], chain[k + 3], t, p);
      out[0] = p[0], out[1] = p[1], out[2] = 0;
    } else {
      vector_fixed<double, 3> p;
      filum::spline_point(pos, chain[k], chain[k + 1], chain[k + 2], chain[k + 3], t, p);
      out[0] = p[0], out[1] = p[1], out[2] = p[2];
    }
  };
  auto distance = [&](std::size_t k, double t) {
    double p[3];
    point_at(k, t, p);
    double d = 0;
    for (std::size_t i = 0; i < D; ++i)
      d += (p[i] - pos(i, x)) * (p[i] - pos(i, x));
    return std::sqrt(d);
  };
  std::size_t nearest = 0;
  for (std::size_t k = 0; k < pieces; ++k)
    if (distance(k, 0) < distance(nearest, 0)) nearest = k;
  double best = std::numeric_limits<double>::max();
  for (std::size_t k : {nearest == 0 ? pieces - 1 : nearest - 1, nearest}) {
    double lo = 0, hi = 1;
    const double g = (std::sqrt(5.0) - 1) / 2;
    for (int it = 0; it < 80; ++it) {
      const double m1 = hi - g * (hi - lo), m2 = lo + g * (hi - lo);
      (distance(k, m1) < distance(k, m2) ? hi : lo) = distance(k, m1) < distance(k, m2) ? m2 : m1;
    }
    best = std::min({best, distance(k, lo), distance(k, 0), distance(k, 1)});
  }
  return best;
}

struct spline_mesh_result {
  int code;
  std::size_t elements;
  dense2D<double> pos;
};

spline_mesh_result mesh(const curve& c, bool on_curve, double chordal_tol) {
  dense2D<double> pos;
  pos.copy(c.pos);
  dense1D<unsigned> new_indices;
  dense1D<double> new_params, new_sizes;
  double deviation = 0;
  const auto call =
      on_curve ? filum::mesh_spline_on_curve
               : static_cast<int (*)(dense2D<double>&, const dense1D<unsigned>&,
                                     const dense1D<double>&, bool, unsigned, unsigned, double,
                                     double, double, double, dense1D<unsigned>&, dense1D<double>&,
                                     dense1D<double>&, double&) noexcept>(filum::mesh_spline);
  const int code = call(pos, c.padded, c.sizes, false, 1, filum::no_id, chordal_tol, 0, c.sizes[0],
                        0, new_indices, new_params, new_sizes, deviation);
  return {code, new_indices.size() - 1, pos};
}

TEST(MeshSplineOnCurve, PutsTheNodesOnTheCurveWithTheSameCount) {
  const curve circle = closed_curve(64, 2, 0.001, [](unsigned k) {
    return std::array<double, 2>{std::cos(2 * pi * k / 64), std::sin(2 * pi * k / 64)};
  });
  const spline_mesh_result on = mesh(circle, true, 0), sampled = mesh(circle, false, 0);
  ASSERT_EQ(on.code, 0);
  ASSERT_EQ(on.elements, sampled.elements);
  double worst_on = 0, worst_sampled = 0;
  for (std::size_t j = 64; j < on.pos.cols(); ++j) {
    worst_on = std::max(worst_on, std::abs(std::hypot(on.pos(0, j), on.pos(1, j)) - 1));
    worst_sampled =
        std::max(worst_sampled, std::abs(std::hypot(sampled.pos(0, j), sampled.pos(1, j)) - 1));
  }
  EXPECT_LT(worst_on, 1e-6);
  EXPECT_LE(worst_on, worst_sampled);

  dense2D<double> helix(3, 2000);
  for (unsigned k = 0; k < 2000; ++k) {
    const double t = 8 * pi * k / 1999;
    helix(0, k) = std::cos(t), helix(1, k) = std::sin(t), helix(2, k) = 0.1 * t;
  }
  const curve open = open_curve_of(helix, 0.005);
  const spline_mesh_result on_helix = mesh(open, true, 0);
  ASSERT_EQ(on_helix.code, 0);
  ASSERT_EQ(on_helix.elements, mesh(open, false, 0).elements);
  for (std::size_t j = 2000; j < on_helix.pos.cols(); j += 7)
    ASSERT_LT(distance_to_spline(on_helix.pos, open.padded, j), 1e-9) << "node " << j;
}

TEST(RemeshNetwork, OnCurvePlacementKeepsTheElementsAndMovesNodesOntoTheSpline) {
  dense2D<double> pos(3, 300);
  dense2D<unsigned> connectM(2, 299);
  for (unsigned k = 0; k < 300; ++k) {
    const double t = 4 * pi * k / 299;
    pos(0, k) = std::cos(t), pos(1, k) = std::sin(t), pos(2, k) = 0.2 * t;
    if (k < 299) connectM(0, k) = k, connectM(1, k) = k + 1;
  }
  filum::network_options options;
  options.size = 0.02;
  options.chordal_tol = -0.01;
  dense2D<double> on_pos, sampled_pos;
  dense2D<unsigned> on_connectM, sampled_connectM;
  for (filum::placement where : {filum::placement::on_curve, filum::placement::sample_polyline}) {
    dense2D<double>& p = where == filum::placement::on_curve ? on_pos : sampled_pos;
    dense2D<unsigned>& c = where == filum::placement::on_curve ? on_connectM : sampled_connectM;
    p.copy(pos), c.copy(connectM);
    dense1D<unsigned> colors, hard_nodes;
    options.node_placement = where;
    filum::network_report report;
    ASSERT_EQ(filum::remesh_network(p, c, colors, hard_nodes, {}, {}, options, report), 0);
    EXPECT_EQ(report.lines_detail[0].path, filum::line_path::spline);
  }
  EXPECT_EQ(entries(on_connectM.as_vector()), entries(sampled_connectM.as_vector()));
  const curve line = open_curve_of(pos, 0.02);
  for (std::size_t j = 300; j < on_pos.cols(); j += 5) {
    dense2D<double> with_node;
    with_node.copy(pos);
    with_node.resize(3, 301);
    for (std::size_t i = 0; i < 3; ++i)
      with_node(i, 300) = on_pos(i, j);
    ASSERT_LT(distance_to_spline(with_node, line.padded, 300), 1e-9) << "node " << j;
  }
}

}  // namespace
