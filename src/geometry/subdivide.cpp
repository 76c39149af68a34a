#include <cmath>
#include <cstdint>

#include <vorn/filum.h>

#include "frame/append.h"
#include "frame/checks.h"
#include "frame/node_distribution.h"

namespace vorn {
namespace filum {
namespace {

// Parameter and size of every entry of a chain, read through the chain's positions.
struct parameter_chain {
  const dense1D<double>& params;
  const dense1D<double>& sizes;
  const dense1D<unsigned>& indices;
  bool overflow = false;  // the normalized length overflowed: nodes evenly in parameter

  double u(std::size_t k) const noexcept { return params[indices[k]]; }
  double h(std::size_t k) const noexcept { return sizes[indices[k]]; }
  // Normalized length of segment k (entries k and k + 1).
  double segment(std::size_t k) const noexcept {
    if (overflow) return std::fabs(u(k + 1) - u(k));
    return normalized_length(std::fabs(u(k + 1) - u(k)), h(k), h(k + 1));
  }
};

// The element count for a normalized length T, clamped to [min, max] before the raise
// and the rounding to even, which may each add one.
std::uint64_t element_count(double T, bool raise_count, bool force_even, unsigned min_elements,
                            unsigned max_elements) noexcept {
  std::uint64_t C = nearest_count(T, force_even ? 2 : 1);
  if (C == 0) C = 1;
  if (C < min_elements) C = min_elements;
  if (C > max_elements) C = max_elements;
  if (raise_count && static_cast<double>(C) < T) ++C;
  if (force_even && C % 2 == 1) ++C;
  return C;
}

// Places the C - 1 interior nodes at equal steps T / C of the cumulative normalized length,
// walking the segments with a cursor that never moves back; the cumulative lengths are
// summed in the same order as T was.
void place_nodes(const parameter_chain& chain, double T, std::uint64_t C,
                 dense1D<double>& new_params, dense1D<double>& new_sizes) noexcept {
  const std::size_t last_segment = chain.indices.size() - 2;
  const double step = T / static_cast<double>(C);
  std::size_t k = 0;
  double start = 0;               // cumulative length at entry k
  double end = chain.segment(0);  // cumulative length at entry k + 1
  for (std::uint64_t j = 1; j < C; ++j) {
    const double target = static_cast<double>(j) * step;
    while (end < target && k < last_segment) {
      ++k;
      start = end;
      end = start + chain.segment(k);
    }
    const double t = end > start ? (target - start) / (end - start) : 0;
    const double s = chain.overflow ? t : progression_fraction(t, chain.h(k), chain.h(k + 1));
    new_params[j - 1] = (chain.u(k + 1) - chain.u(k)) * s + chain.u(k);
    new_sizes[j - 1] = (chain.h(k + 1) - chain.h(k)) * s + chain.h(k);
  }
}

}  // namespace

int subdivide(dense1D<double>& params, dense1D<double>& sizes, const dense1D<unsigned>& indices,
              bool raise_count, bool force_even, unsigned min_elements, unsigned max_elements,
              dense1D<unsigned>& new_indices) noexcept {
  const std::size_t N = params.size();
  if (sizes.size() < N || indices.size() < 2) return -2;
  if (!tessa::check_IDs(indices, N >= no_id ? no_id : static_cast<unsigned>(N))) return -2;
  if (min_elements == 0 || min_elements > max_elements) return -6;

  const std::size_t n = indices.size();
  for (unsigned i : indices)
    if (!std::isfinite(params[i])) return -1;

  parameter_chain chain{params, sizes, indices};
  double T = 0;
  for (std::size_t k = 0; k + 1 < n; ++k)
    T += chain.segment(k);
  const std::uint64_t C = element_count(T, raise_count, force_even, min_elements, max_elements);
  // Sizes so small that the normalized length overflows: the count is capped by
  // max_elements and the nodes are spaced evenly in parameter.
  chain.overflow = std::isinf(T);
  if (chain.overflow) {
    T = 0;
    for (std::size_t k = 0; k + 1 < n; ++k)
      T += chain.segment(k);
  }

  // New nodes take the positions N, N + 1, ... of params; without room for them (or for
  // their identifiers) the chain runs from its first entry straight to its last.
  dense1D<double> new_params;
  dense1D<double> new_sizes;
  const bool positions_fit = N <= no_id && C - 1 <= no_id - N;
  const bool made = C > 1 && std::isfinite(T) && positions_fit &&
                    fits_in_memory(C, 2 * sizeof(double)) && new_params.resize(C - 1) &&
                    new_sizes.resize(C - 1);
  if (made) place_nodes(chain, T, C, new_params, new_sizes);

  const unsigned first = indices[0];
  const unsigned last = indices[n - 1];
  const std::size_t entry_params = params.size();
  const std::size_t entry_sizes = sizes.size();
  const std::size_t entry_chain = new_indices.size();
  const std::size_t added = made ? new_params.size() : 0;
  if (!new_indices.reserve(entry_chain + added + 2, 2) ||
      (made && (!append_values(new_params, params) || !append_values(new_sizes, sizes)))) {
    params.resize(entry_params);
    sizes.resize(entry_sizes);
    return storage_failure;
  }
  new_indices.push_back(first);
  for (std::size_t j = 0; j < added; ++j)
    new_indices.push_back(static_cast<unsigned>(N + j));
  new_indices.push_back(last);
  return 0;
}

}  // namespace filum
}  // namespace vorn
