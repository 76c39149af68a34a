#include <algorithm>
#include <cmath>
#include <limits>

#include <gtest/gtest.h>
#include <vorn/filum.h>
#include <vorn/filum/network.h>

#include "support/filum_test.h"
#include "support/line_geometry.h"

using namespace vorn;
using namespace filum_test;

namespace {

const double pi = std::acos(-1.0);

// Distance from point x to the spline of the padded chain over pos (3 rows): a golden-section
// search over the two pieces beside the chain node nearest x.
double distance_to_spline(const dense2D<double>& pos, const dense1D<unsigned>& chain,
                          const double* x) {
  auto distance = [&](std::size_t k, double t) {
    vector_fixed<double, 3> p;
    filum::spline_point(pos, chain[k], chain[k + 1], chain[k + 2], chain[k + 3], t, p);
    return std::hypot(p[0] - x[0], p[1] - x[1], p[2] - x[2]);
  };
  const std::size_t pieces = chain.size() - 3;
  std::size_t nearest = 0;
  for (std::size_t k = 0; k < pieces; ++k)
    if (distance(k, 0) < distance(nearest, 0)) nearest = k;
  double best = std::numeric_limits<double>::max();
  for (std::size_t k : {nearest == 0 ? 0 : nearest - 1, nearest}) {
    double lo = 0, hi = 1;
    for (int it = 0; it < 80; ++it) {
      const double m1 = hi - 0.618 * (hi - lo), m2 = lo + 0.618 * (hi - lo);
      if (distance(k, m1) < distance(k, m2))
        hi = m2;
      else
        lo = m1;
    }
    best = std::min({best, distance(k, lo), distance(k, 0), distance(k, 1)});
  }
  return best;
}

// n nodes of the helix of radius 1 about the z axis from angle 0 to `angle`, rising `rise`
// per radian.
dense2D<double> helix(unsigned n, double angle, double rise) {
  dense2D<double> pos = arc(n, 1, angle, 0, 3);
  for (unsigned k = 0; k < n; ++k)
    pos(2, k) = rise * (angle * k / (n - 1));
  return pos;
}

// mesh_spline or mesh_spline_on_curve of the chain; the new columns of pos and the count.
std::size_t mesh(dense2D<double>& pos, const dense1D<unsigned>& chain, double size, bool on) {
  const dense1D<double> sizes(chain.size(), size);
  dense1D<unsigned> indices;
  dense1D<double> params, new_sizes;
  double deviation = 0;
  const int code = on ? filum::mesh_spline_on_curve(pos, chain, sizes, false, 1, filum::no_id, 0, 0,
                                                    size, 0, indices, params, new_sizes, deviation)
                      : filum::mesh_spline(pos, chain, sizes, false, 1, filum::no_id, 0, 0, size, 0,
                                           indices, params, new_sizes, deviation);
  EXPECT_EQ(code, 0);
  return indices.size() - 1;
}

TEST(MeshSplineOnCurve, PutsTheNodesOnTheCurveWithTheSameCount) {
  dense2D<double> circle = arc(65, 1, 2 * pi), on, sampled;
  circle.resize(2, 64);
  on.copy(circle), sampled.copy(circle);
  const dense1D<unsigned> closed = padded_chain(64, true);
  ASSERT_EQ(mesh(on, closed, 0.001, true), mesh(sampled, closed, 0.001, false));
  double worst_on = 0, worst_sampled = 0;
  for (std::size_t j = 64; j < on.cols(); ++j) {
    worst_on = std::max(worst_on, std::abs(std::hypot(on(0, j), on(1, j)) - 1));
    worst_sampled = std::max(worst_sampled, std::abs(std::hypot(sampled(0, j), sampled(1, j)) - 1));
  }
  EXPECT_LT(worst_on, 1e-6);
  EXPECT_LE(worst_on, worst_sampled);

  const dense2D<double> spiral = helix(2000, 8 * pi, 0.1);
  dense2D<double> on_helix, sampled_helix;
  on_helix.copy(spiral), sampled_helix.copy(spiral);
  const dense1D<unsigned> open = padded_chain(2000, false);
  ASSERT_EQ(mesh(on_helix, open, 0.005, true), mesh(sampled_helix, open, 0.005, false));
  for (std::size_t j = 2000; j < on_helix.cols(); j += 7)
    ASSERT_LT(distance_to_spline(spiral, open, &on_helix(0, j)), 1e-9) << "node " << j;
}

TEST(RemeshNetwork, OnCurvePlacementKeepsTheElementsAndMovesNodesOntoTheSpline) {
  const dense2D<double> pos = helix(300, 4 * pi, 0.2);
  const dense2D<unsigned> connectM = path_elements(300, false);
  filum::network_options options;
  options.size = 0.02;
  dense2D<double> result[2];
  dense2D<unsigned> elements[2];
  for (int on : {0, 1}) {
    result[on].copy(pos), elements[on].copy(connectM);
    dense1D<unsigned> colors, hard_nodes;
    options.node_placement = on ? filum::placement::on_curve : filum::placement::sample_polyline;
    filum::network_report report;
    ASSERT_EQ(filum::remesh_network(result[on], elements[on], colors, hard_nodes, {}, {}, options,
                                    report),
              0);
    EXPECT_EQ(report.lines_detail[0].path, filum::line_path::spline);
  }
  EXPECT_EQ(entries(elements[1].as_vector()), entries(elements[0].as_vector()));
  const dense1D<unsigned> chain = padded_chain(300, false);
  for (std::size_t j = 300; j < result[1].cols(); j += 5)
    ASSERT_LT(distance_to_spline(pos, chain, &result[1](0, j)), 1e-9) << "node " << j;
}

}  // namespace
