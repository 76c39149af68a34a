#include <cmath>

#include <vorn/filum.h>

#include "frame/checks.h"
#include "frame/point.h"

namespace vorn {
namespace filum {
namespace {

// How the element normals meeting at a node are combined.
enum class normal_rule { weighted, longest, shortest };

normal_rule rule_for(double exponent) noexcept {
  if (exponent == unset) return normal_rule::longest;
  if (exponent == -unset) return normal_rule::shortest;
  return normal_rule::weighted;
}

// Folds the normal n of an element of length l, weight w, into a node's normal N and
// weight W: a weighted sum, or the normal of the longest or shortest element met first.
void fold_normal(normal_rule rule, double l, double w, const point<2>& n, double& W,
                 point<2>& N) noexcept {
  switch (rule) {
    case normal_rule::longest:
      if (l > W) W = l, N = n;
      break;
    case normal_rule::shortest:
      if (W == 0 || l < W) W = l, N = n;
      break;
    case normal_rule::weighted:
      W += w;
      N = N + w * n;
      break;
  }
}

}  // namespace

int normals(const dense2D<double>& pos, const dense2D<unsigned>& connectM, double exponent,
            bool normalize, dense2D<double>& values) noexcept {
  values.clear();
  if (pos.empty() || connectM.empty()) return 0;
  if (pos.rows() != 2) return -1;
  if (connectM.rows() < 2 || !ids_in(connectM, pos)) return -2;

  const std::size_t N = pos.cols();
  dense1D<double> weights;
  if (!values.resize(2, N, 0.0) || !weights.resize(N, 0.0)) {
    values.clear();
    return storage_failure;
  }

  const normal_rule rule = rule_for(exponent);
  const bool finite_exponent = -unset < exponent && exponent < unset;
  for (std::size_t j = 0; j < connectM.cols(); ++j) {
    const unsigned a = connectM(0, j);
    const unsigned b = connectM(1, j);
    const point<2> d = column_point<2>(pos, b) - column_point<2>(pos, a);
    const direction<2> along = direction_of(d);
    if (along.length == 0) continue;
    const double l = along.length;
    const point<2>& t = along.unit;
    const point<2> n(-t[1], t[0]);  // to the left of a -> b
    const double w = finite_exponent ? std::pow(l, exponent) : 1;
    for (const unsigned node : {a, b}) {
      point<2> normal = column_point<2>(values, node);
      fold_normal(rule, l, w, n, weights[node], normal);
      set_column_point<2>(values, node, normal);
    }
  }
  if (rule != normal_rule::weighted) return 0;

  for (std::size_t i = 0; i < N; ++i) {
    point<2> normal = column_point<2>(values, i);
    const double W = weights[i];
    if (W != 0) {
      const double inverse = 1 / W;
      if (inverse != 1) normal = inverse * normal;
    }
    if (normalize) normal = direction_of(normal).unit;
    set_column_point<2>(values, i, normal);
  }
  return 0;
}

}  // namespace filum
}  // namespace vorn
