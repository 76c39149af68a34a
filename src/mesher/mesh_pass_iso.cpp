#include "mesher/mesh_pass_iso.h"

#include <cmath>

#include "frame/checks.h"
#include "frame/node_distribution.h"
#include "frame/point.h"

namespace vorn {
namespace filum {
namespace {

// Cumulative normalized length c[0] = 0, c[k + 1] = c[k] + that of segment k.
template <std::size_t D>
void cumulate_normalized_length(const dense2D<double>& pos, const dense1D<unsigned>& chain,
                                const dense1D<double>& sizes, double* c) noexcept {
  c[0] = 0;
  for (std::size_t k = 0; k + 1 < chain.size(); ++k) {
    const double L = distance<D>(pos, chain[k], chain[k + 1]);
    c[k + 1] = c[k] + normalized_length(L, sizes[k], sizes[k + 1]);
  }
}

}  // namespace

bool cumulate_length_on_overflow(const dense2D<double>& pos, const dense1D<unsigned>& chain,
                                 double* c) noexcept {
  c[0] = 0;
  for (std::size_t k = 0; k + 1 < chain.size(); ++k)
    c[k + 1] = c[k] + (pos.rows() == 2 ? distance<2>(pos, chain[k], chain[k + 1])
                                       : distance<3>(pos, chain[k], chain[k + 1]));
  return std::isfinite(c[chain.size() - 1]);
}

std::uint64_t element_count(double T, bool force_even, std::uint64_t min_count,
                            std::uint64_t max_count) noexcept {
  std::uint64_t N = nearest_count(T, force_even ? 2 : 1);
  if (N == 0) N = 1;
  if (N < min_count) N = min_count;
  if (N > max_count) N = max_count;
  if (force_even && N % 2 == 1) N = N + 1;
  return N;
}

template <std::size_t D>
void mesh_pass_iso(const dense2D<double>& pos, const dense1D<unsigned>& chain,
                   const dense1D<double>& params, const dense1D<double>& sizes, double min_length,
                   bool force_even, std::uint64_t min_count, std::uint64_t max_count,
                   dense2D<double>& new_pos, dense1D<double>& new_sizes,
                   dense1D<double>& new_params) noexcept {
  new_pos.clear();
  new_sizes.clear();
  new_params.clear();
  const std::size_t n = chain.size();
  if (n < 2) return;
  dense1D<double> cumulative;
  if (!cumulative.resize(n)) return;
  const double* c = cumulative.data();
  cumulate_normalized_length<D>(pos, chain, sizes, cumulative.data());
  const double T = c[n - 1];
  const bool overflow = std::isinf(T);
  if (overflow && !cumulate_length_on_overflow(pos, chain, cumulative.data())) return;
  const std::uint64_t N = element_count(T, force_even, min_count, max_count);
  if (T < min_length || std::isnan(T) || N == 1) return;

  const std::size_t m = N - 1;
  const bool with_params = !params.empty();
  if (!fits_in_memory(m, (D + 2) * sizeof(double)) || !new_pos.reserve(D, m, 1) ||
      !new_sizes.reserve(m, 1) || (with_params && !new_params.reserve(m, 1)) ||
      !new_pos.resize(D, m) || !new_sizes.resize(m) || (with_params && !new_params.resize(m))) {
    new_pos.clear();
    new_sizes.clear();
    new_params.clear();
    return;
  }

  const double step = c[n - 1] / static_cast<double>(N);
  const double* h = sizes.data();
  const double* p = params.data();
  std::size_t k = 0;
  point<D> a = column_point<D>(pos, chain[0]);
  point<D> b = column_point<D>(pos, chain[1]);
  progression fraction(overflow ? 1 : h[0], overflow ? 1 : h[1]);
  for (std::size_t j = 1; j < N; ++j) {
    const double target = static_cast<double>(j) * step;
    if (k + 2 < n && c[k + 1] < target) {
      do {
        ++k;
      } while (k + 2 < n && c[k + 1] < target);
      a = column_point<D>(pos, chain[k]);
      b = column_point<D>(pos, chain[k + 1]);
      if (!overflow) fraction = progression(h[k], h[k + 1]);
    }
    const double t = c[k + 1] > c[k] ? (target - c[k]) / (c[k + 1] - c[k]) : 0;
    const double s = fraction(t);
    new_sizes[j - 1] = h[k] + s * (h[k + 1] - h[k]);
    set_column_point<D>(new_pos, j - 1, lerp(a, b, s));
    if (with_params) new_params[j - 1] = p[k] + s * (p[k + 1] - p[k]);
  }
}

template void mesh_pass_iso<2>(const dense2D<double>&, const dense1D<unsigned>&,
                               const dense1D<double>&, const dense1D<double>&, double, bool,
                               std::uint64_t, std::uint64_t, dense2D<double>&, dense1D<double>&,
                               dense1D<double>&) noexcept;
template void mesh_pass_iso<3>(const dense2D<double>&, const dense1D<unsigned>&,
                               const dense1D<double>&, const dense1D<double>&, double, bool,
                               std::uint64_t, std::uint64_t, dense2D<double>&, dense1D<double>&,
                               dense1D<double>&) noexcept;

}  // namespace filum
}  // namespace vorn
