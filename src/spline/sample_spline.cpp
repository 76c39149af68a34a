#include "spline/sample_spline.h"

#include <algorithm>
#include <cmath>

#include <vorn/filum.h>

#include "frame/append.h"
#include "frame/checks.h"
#include "spline/spline_segment.h"

namespace vorn {
namespace filum {
namespace {

// 4-point Gauss-Legendre rule on [-1, 1], as stored: abscissa, weight.
constexpr double gauss_points[4][2] = {{-0.339981043584856, 0.652145154862546},
                                       {0.339981043584856, 0.652145154862546},
                                       {-0.861136311594053, 0.347854845137454},
                                       {0.861136311594053, 0.347854845137454}};

// Largest sub-interval count of one piece: beyond it the sample indices no longer fit
// in 32 bits, and the count converts from a double without overflow.
constexpr double max_subintervals = 4294967295.0;

// Arc length of the piece over t in [0, 1] by the Gauss-Legendre rule.
template <std::size_t D>
double piece_length(const spline_segment<D>& piece) noexcept {
  double sum = 0;
  for (const auto& g : gauss_points)
    sum += g[1] * norm(spline_derivative(piece, (g[0] + 1) / 2));
  return 0.5 * sum;
}

// Smallest chordal size at t = 0, 0.25, ..., 1 (none when tol is the largest double); the
// curvatures at t = 0 and t = 1 go to ends when it is given.
template <std::size_t D>
double smallest_probe_size(const spline_segment<D>& piece, double tol, double* ends) noexcept {
  if (tol == unset && !ends) return unset;
  const curvature_terms<D> terms = curvature_terms_of(piece);
  if (tol == unset) {
    ends[0] = spline_curvature(piece, terms, 0.0);
    ends[1] = spline_curvature(piece, terms, 1.0);
    return unset;
  }
  double kappas[5], sizes[5];
  for (int j = 0; j < 5; ++j) {
    kappas[j] = spline_curvature(piece, terms, j * 0.25);
    sizes[j] = chordal_size(kappas[j], tol);
  }
  if (ends) {
    ends[0] = kappas[0];
    ends[1] = kappas[4];
  }
  return *std::min_element(sizes, sizes + 5);
}

// Sub-intervals of a piece of length G sampled at size h: ceil(G / h), at least 2;
// 2 when h sets no limit, G is not finite or G / h is not a number.
std::size_t subinterval_count(double G, double h) noexcept {
  if (h == unset || !std::isfinite(G)) return 2;
  const double m = std::ceil(G / h);
  if (!(m > 2)) return 2;
  return static_cast<std::size_t>(std::min(m, max_subintervals));
}

// Multiplies every entry of v by factor.
void scale_values(dense1D<double>& v, double factor) noexcept {
  for (double& x : v)
    x *= factor;
}

}  // namespace

template <std::size_t D>
double sample_spline(const dense2D<double>& pos, const dense1D<unsigned>& chain, double tol,
                     double size_floor, dense2D<double>& samples, dense1D<double>& node_params,
                     dense1D<double>& sample_params, dense1D<unsigned>& node_samples,
                     double& max_deviation, dense1D<double>* end_curvatures) noexcept {
  samples.clear();
  if (end_curvatures) end_curvatures->clear();
  node_params.clear();
  sample_params.clear();
  node_samples.clear();
  max_deviation = 0;
  const std::size_t N = chain.size();
  if (N < 4) return 0;
  // Room for the usual 2 sub-intervals per piece, without copies while the lists grow (a
  // failed reserve is left to the appends).
  const std::size_t pieces = N - 3;
  samples.reserve(D, 2 * pieces + 1);
  sample_params.reserve(2 * pieces + 1);
  node_params.reserve(pieces + 1);
  node_samples.reserve(pieces + 1);
  if (end_curvatures) end_curvatures->reserve(2 * pieces);

  double s = 0;
  double dmax = 0;
  // Each chord serves three pieces: it is built once and handed along.
  spline_chord<D> before = make_spline_chord<D>(pos, chain[0], chain[1]);
  spline_chord<D> own = make_spline_chord<D>(pos, chain[1], chain[2]);
  for (std::size_t k = 0; k + 3 < N; ++k) {
    node_params.push_back(s);
    const spline_chord<D> after = make_spline_chord<D>(pos, chain[k + 2], chain[k + 3]);
    const spline_segment<D> piece =
        build_spline_segment<D>(column_point<D>(pos, chain[k + 1]), before, own, after,
                                chain[k] != chain[k + 1], chain[k + 3] != chain[k + 2]);
    before = own;
    own = after;
    const double G = piece_length(piece);
    double ends[2];
    const double h =
        std::max(size_floor, smallest_probe_size(piece, tol, end_curvatures ? ends : nullptr));
    if (end_curvatures) {
      end_curvatures->push_back(ends[0]);
      end_curvatures->push_back(ends[1]);
    }
    const std::size_t m = subinterval_count(G, h);
    // The piece's samples are reserved at once: a count that storage cannot hold, or whose
    // indices pass 32 bits, ends the sampling with empty outputs instead of a loop of
    // failing appends.
    const std::size_t sample_count = samples.cols() + m + 1;
    if (sample_count > max_subintervals ||
        !fits_in_memory(sample_count, (D + 1) * sizeof(double)) ||
        !samples.reserve(D, sample_count, 2) || !sample_params.reserve(sample_count, 2)) {
      samples.clear();
      node_params.clear();
      sample_params.clear();
      node_samples.clear();
      return 0;
    }
    const double a = norm(piece.a1);
    sample_params.push_back(s);
    node_samples.push_back(static_cast<unsigned>(samples.cols()));
    append_fixed_column<D>(piece.a0.data(), samples);

    const point<D> chord = piece.a1 + piece.a2 + piece.a3;
    const double chord2 = norm2(chord);
    const double step = 1.0 / static_cast<double>(m);
    for (std::size_t j = 1; j < m; ++j) {
      const double tau = static_cast<double>(j) * step;
      sample_params.push_back(s + a * tau);
      const point<D> v = spline_offset(piece, tau);
      const double off_line = cross_norm2(chord, v);
      const double deviation = off_line == 0 ? 0 : off_line / chord2;
      dmax = std::max(dmax, deviation);
      const point<D> sample = piece.a0 + v;
      append_fixed_column<D>(sample.data(), samples);
    }
    s += a;
  }
  max_deviation = std::sqrt(dmax);

  node_samples.push_back(static_cast<unsigned>(samples.cols()));
  append_column(pos.col(chain[N - 2]), samples);

  if (s > 0) {
    const double inverse = 1 / s;
    scale_values(sample_params, inverse);
    scale_values(node_params, inverse);
  }
  sample_params.push_back(1.0);
  node_params.push_back(1.0);
  return s;
}

template double sample_spline<2>(const dense2D<double>&, const dense1D<unsigned>&, double, double,
                                 dense2D<double>&, dense1D<double>&, dense1D<double>&,
                                 dense1D<unsigned>&, double&, dense1D<double>*) noexcept;
template double sample_spline<3>(const dense2D<double>&, const dense1D<unsigned>&, double, double,
                                 dense2D<double>&, dense1D<double>&, dense1D<double>&,
                                 dense1D<unsigned>&, double&, dense1D<double>*) noexcept;

}  // namespace filum
}  // namespace vorn
