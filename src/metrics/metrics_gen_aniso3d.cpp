// Anisotropic metrics in space from line elements: the element length along each element,
// and across it either one size or the sizes along the principal normal and the binormal
// of the bend at each node.

#include <algorithm>
#include <cmath>

#include <vorn/filum.h>
#include <vorn/tessa.h>

#include "frame/checks.h"
#include "metrics/element_metrics.h"
#include "metrics/metric_merge.h"
#include "metrics/normal_frame.h"

namespace vorn {
namespace filum {
namespace {

// Below this, a neighbor's direction and the element's are one: the line is straight.
constexpr double straight_tolerance = 1e-12;

// Size `length` along t, sv along the frame's v and sw along its w, the frame built from
// t and the hint v.
symmetric_fixed<double, 3> frame_metric(const point<3>& t, const point<3>& v, double length,
                                        double sv, double sw) noexcept {
  const normal_frame frame = make_normal_frame(t, v);
  symmetric_fixed<double, 3> M;
  add_rank_one(M, frame.t, length);
  add_rank_one(M, frame.v, sv);
  add_rank_one(M, frame.w, sw);
  return M;
}

// The metric at one node of an element of unit direction t. e is the direction of the
// neighboring element through the node, oriented like t, or null without a neighbor.
// Where the line bends, v lies in the plane of the bend and w along its binormal; where it
// is straight, both normal sizes become the larger one.
symmetric_fixed<double, 3> node_metric(const point<3>& t, const point<3>* e, double length,
                                       double sv, double sw) noexcept {
  if (e && 2 * norm(t - *e) > straight_tolerance) {
    const point<3> binormal = cross(*e, t);
    return frame_metric(t, cross(binormal, t), length, sv, sw);
  }
  const double across = std::max(sv, sw);
  return frame_metric(t, point<3>(), length, across, across);
}

// The unit direction of element `other` through `node`, its node p that is not `node`:
// P(node) - P(p) when it comes before the node, P(p) - P(node) when it follows.
point<3> neighbor_direction(const dense2D<double>& pos, const dense2D<unsigned>& connectM,
                            unsigned other, unsigned node, bool comes_before) noexcept {
  const unsigned p = connectM(0, other) == node ? connectM(1, other) : connectM(0, other);
  const point<3> at_node = column_point<3>(pos, node), at_p = column_point<3>(pos, p);
  return direction_of(comes_before ? at_node - at_p : at_p - at_node).unit;
}

}  // namespace

int metrics_gen_aniso3d(const dense2D<double>& pos, const dense2D<unsigned>& connectM, double hn,
                        dense2D<double>& metrics) noexcept {
  if (connectM.empty()) return 0;
  const int code = prepare_element_metrics<3>(pos, connectM, -4, metrics);
  if (code != 0) return code;
  for_each_element<3>(pos, connectM,
                      [&](std::size_t, unsigned a, unsigned b, const point<3>& t, double length) {
                        const double across = element_size(hn, length);
                        const auto M = frame_metric(t, point<3>(), length, across, across);
                        merge_metric(metrics, a, M);
                        merge_metric(metrics, b, M);
                      });
  return 0;
}

int metrics_gen_aniso3d(const dense2D<double>& pos, const dense2D<unsigned>& connectM, double hv,
                        double hw, dense2D<double>& metrics) noexcept {
  if (connectM.empty()) return 0;
  const int code = prepare_element_metrics<3>(pos, connectM, -5, metrics);
  if (code != 0) return code;
  // Row 1: the element through each element's start node, row 0: through its end node.
  dense2D<unsigned> neighbors;
  if (tessa::get_neighbors(connectM, edge2, false, neighbors) != 0) return storage_failure;
  for_each_element<3>(
      pos, connectM, [&](std::size_t e, unsigned a, unsigned b, const point<3>& t, double length) {
        const double sv = element_size(hv, length), sw = element_size(hw, length);
        const unsigned before = neighbors(1, e), after = neighbors(0, e);
        point<3> e_before, e_after;
        if (before != no_id) e_before = neighbor_direction(pos, connectM, before, a, true);
        if (after != no_id) e_after = neighbor_direction(pos, connectM, after, b, false);
        merge_metric(metrics, a,
                     node_metric(t, before != no_id ? &e_before : nullptr, length, sv, sw));
        merge_metric(metrics, b,
                     node_metric(t, after != no_id ? &e_after : nullptr, length, sv, sw));
      });
  return 0;
}

}  // namespace filum
}  // namespace vorn
