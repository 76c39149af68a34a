// Anisotropic metrics in the plane, from a vector per node or from line elements.

#include <vorn/filum.h>
#include <vorn/tessa.h>

#include "frame/checks.h"
#include "metrics/element_metrics.h"
#include "metrics/metric_merge.h"

namespace vorn {
namespace filum {
namespace {

point<2> quarter_turn(const point<2>& u) noexcept {
  return point<2>(-u[1], u[0]);
}

}  // namespace

int metrics_gen_aniso2d(const dense2D<double>& vectors, const dense1D<unsigned>& nodes, double h1,
                        double h2, dense2D<double>& metrics) noexcept {
  if (nodes.empty()) return 0;
  if (vectors.rows() != 2) return -1;
  if (!ids_in(nodes, vectors)) return -2;
  if (!is_positive(h1)) return -3;
  if (!is_positive(h2)) return -4;
  if (!is_empty_or_has_rows(metrics, 3)) return -5;
  if (!fit_metric_columns(metrics, 3, std::size_t{tessa::max_ID(nodes)} + 1))
    return storage_failure;
  // The vector is taken as it is: its length divides both sizes.
  for (const unsigned node : nodes) {
    const point<2> u = column_point<2>(vectors, node);
    symmetric_fixed<double, 2> M;
    add_rank_one(M, quarter_turn(u), h2);
    add_rank_one(M, u, h1);
    merge_metric(metrics, node, M);
  }
  return 0;
}

int metrics_gen_aniso2d(const dense2D<double>& pos, const dense2D<unsigned>& connectM, double hn,
                        dense2D<double>& metrics) noexcept {
  if (connectM.empty()) return 0;
  const int code = prepare_element_metrics<2>(pos, connectM, -4, metrics);
  if (code != 0) return code;
  for_each_element<2>(pos, connectM,
                      [&](std::size_t, unsigned a, unsigned b, const point<2>& t, double length) {
                        symmetric_fixed<double, 2> M;
                        add_rank_one(M, t, length);
                        add_rank_one(M, quarter_turn(t), element_size(hn, length));
                        merge_metric(metrics, a, M);
                        merge_metric(metrics, b, M);
                      });
  return 0;
}

}  // namespace filum
}  // namespace vorn
