#include "mesher/mesh_pass_aniso.h"

#include <cmath>
#include <cstdint>

#include <gtest/gtest.h>

#include "support/filum_test.h"
#include "support/line_geometry.h"
#include "support/metric_columns.h"

using namespace vorn;
using namespace filum_test;

namespace {

// The outputs of one pass.
struct pass_result {
  dense2D<double> pos, metrics;
  dense1D<double> params;
};

// One pass by metrics over the chain of all columns of pos (2 or 3 rows), with
// chord-length parameters.
pass_result pass(const dense2D<double>& pos, const std::vector<std::vector<double>>& metrics,
                 std::uint64_t min_count = 1, std::uint64_t max_count = 4294967295u) {
  pass_result r;
  auto run = pos.rows() == 3 ? filum::mesh_pass_aniso<3> : filum::mesh_pass_aniso<2>;
  run(pos, first_columns(pos.cols()), chord_params(pos), metric_columns(metrics), 0, false,
      min_count, max_count, r.pos, r.metrics, r.params);
  return r;
}

}  // namespace

TEST(MeshPassAniso, NodesAtSegmentEndsAndMetricsThatCannotBeReduced) {
  // A and B have principal directions 30 degrees apart. Nodes at the start of a segment
  // (lengths 0, three elements forced) or at its end (mirrored segments, two elements) get
  // that end's metric. diag(0, 1, 1) measures along y like I but can neither start a
  // reduction nor end an interpolation: only a segment that receives nodes fails.
  for (std::size_t dim : {2u, 3u}) {
    const std::vector<double> x = {1, 0, 0}, y = {0, 1, 0}, turned = {0.5 * std::sqrt(3.0), 0.5, 0};
    const auto A = metric_along(dim, x, 1, 4), B = metric_along(dim, turned, 0.5, 3),
               I = metric_along(dim, x, 1, 1);
    auto flat = I;
    flat[0] = 0;
    // Positions along an axis, the metrics, min and max counts, new nodes, the last one's metric.
    // clang-format off
    struct Case {
      std::vector<double> along; const std::vector<double>* axis;
      std::vector<std::vector<double>> metrics; std::uint64_t min, max, nodes;
      std::vector<double> last;
    } cases[] = {{{0, 0}, &x, {A, B}, 3, 9, 2, A},         {{0, 1, 2}, &x, {A, B, A}, 2, 2, 1, B},
                 {{0, 10}, &y, {flat, I}, 1, 99, 0, {}},   {{0, 0}, &y, {I, flat}, 3, 9, 0, {}},
                 {{0, 0.2, 10.2}, &y, {flat, I, I}, 1, 99, 9, I}};
    // clang-format on
    for (const Case& c : cases) {
      dense2D<double> pos(dim, c.along.size(), 0.0);
      for (std::size_t k = 0; k < c.along.size(); ++k)
        for (std::size_t i = 0; i < dim; ++i)
          pos(i, k) = c.along[k] * (*c.axis)[i];
      const auto r = pass(pos, c.metrics, c.min, c.max);
      EXPECT_EQ(r.pos.cols() + r.metrics.cols() + r.params.size(), 3 * c.nodes) << c.along.size();
      for (std::size_t i = 0; i < c.last.size() && r.metrics.cols() > 0; ++i)
        EXPECT_NEAR(r.metrics(i, r.metrics.cols() - 1), c.last[i], 1e-13) << c.along.size();
    }
  }
}
