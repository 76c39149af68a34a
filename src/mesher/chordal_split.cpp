#include "mesher/chordal_split.h"

#include <algorithm>
#include <cmath>

#include "frame/point.h"
#include "frame/search.h"

namespace vorn {
namespace filum {
namespace {

// Distance from the origin of e to the line along e, times |e|: |e x d|.
inline double cross_length(const point<2>& e, const point<2>& d) noexcept {
  return std::abs(cross(e, d)[0]);
}
inline double cross_length(const point<3>& e, const point<3>& d) noexcept {
  return std::sqrt(cross_norm2(e, d));
}

template <std::size_t D>
double largest_coordinate(const point<D>& p) noexcept {
  double largest = 0;
  for (std::size_t i = 0; i < D; ++i)
    largest = std::max(largest, std::abs(p[i]));
  return largest;
}

}  // namespace

template <std::size_t D>
chordal_split plan_chordal_split(const dense2D<double>& pos, const unsigned* chain,
                                 const double* params, std::size_t n, const dense1D<unsigned>& mesh,
                                 const dense1D<double>& mesh_params, bool force_even,
                                 double chordal_tol) noexcept {
  const chordal_split keep{false, n - 1, 1};
  const std::size_t M = mesh.size();
  if (M < 2 || mesh_params.size() != M) return keep;

  const double p0 = params[0];
  const double span = params[n - 1] - p0;
  double maxdev = 0, sumdev = 0, maxcoord = 0, best = 0;
  std::size_t split = n - 1;
  std::size_t j = 0;
  for (std::size_t k = 1; k + 1 < n; ++k) {
    j = std::min(lower_bound_from(mesh_params.data(), M, j, params[k]), M - 1);
    const point<D> a = column_point<D>(pos, mesh[j > 0 ? j - 1 : j]);
    const point<D> node = column_point<D>(pos, chain[k]);
    const point<D> e = column_point<D>(pos, mesh[j]) - a;
    double dist = cross_length(e, node - a);
    const double chord = norm(e);
    if (chord != 0) dist /= chord;
    maxdev = std::max(maxdev, dist);
    sumdev += dist;
    maxcoord = std::max(maxcoord, largest_coordinate(node));
    const double t = (params[k] - p0) / span;
    const double weighted = (1 + 4 * t * (1 - t)) * dist;
    if (weighted > best) {
      best = weighted;
      split = k;
    }
  }
  const double avg = n > 2 ? sumdev / static_cast<double>(n - 2) : 0;
  // The machine epsilon (2^-52) times the largest coordinate: deviations within the
  // rounding of the coordinates themselves never split.
  const double tol = maxcoord * 2.220446049250313e-16 + chordal_tol;

  // Target element count C of the next mesh.
  const bool odd_entries = M % 2 == 1;  // an even element count
  std::uint64_t C = M;
  if (maxdev >= tol) {
    if (force_even && odd_entries) C = M + 1;
  } else if (!force_even || odd_entries) {
    return keep;
  }
  std::uint64_t count = 1;
  const double ratio = static_cast<double>(M - 1) / static_cast<double>(C);
  if (avg > 0.5 * maxdev && ratio * ratio * maxdev < tol) {
    split = n - 1;
    count = C;
  }
  if (split == n - 1 && count == 1) return keep;
  return {true, split, count};
}

template chordal_split plan_chordal_split<2>(const dense2D<double>&, const unsigned*, const double*,
                                             std::size_t, const dense1D<unsigned>&,
                                             const dense1D<double>&, bool, double) noexcept;
template chordal_split plan_chordal_split<3>(const dense2D<double>&, const unsigned*, const double*,
                                             std::size_t, const dense1D<unsigned>&,
                                             const dense1D<double>&, bool, double) noexcept;

}  // namespace filum
}  // namespace vorn
