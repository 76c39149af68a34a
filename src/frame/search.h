#ifndef FILUM_FRAME_SEARCH_H
#define FILUM_FRAME_SEARCH_H

// Monotone searches in sorted parameter lists.

#include <algorithm>
#include <cstddef>

namespace vorn {
namespace filum {

/// \brief The first position i in [start, n) with values[i] >= x, or n when there is none.
/// Gallops from start, then bisects: a run of searches for non-decreasing x, each starting
/// where the previous one ended, costs O(log gap) per search instead of O(log n).
/// \param[in] values n values, ascending from start on.
/// \param[in] n the number of values.
/// \param[in] start the first position to consider (the previous result).
/// \param[in] x the value sought.
inline std::size_t lower_bound_from(const double* values, std::size_t n, std::size_t start,
                                    double x) noexcept {
  if (start >= n || values[start] >= x) return start;
  std::size_t below = start;  // values[below] < x
  std::size_t step = 1;
  while (step < n - below && values[below + step] < x) {
    below += step;
    step *= 2;
  }
  const std::size_t end = step < n - below ? below + step : n - 1;
  return static_cast<std::size_t>(std::lower_bound(values + below + 1, values + end + 1, x) -
                                  values);
}

}  // namespace filum
}  // namespace vorn

#endif
