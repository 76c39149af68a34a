#include <algorithm>
#include <cmath>
#include <utility>

#include <vorn/filum.h>

namespace vorn {
namespace filum {

int sort(dense1D<double>& values, dense1D<unsigned>& ids) noexcept {
  const std::size_t n = values.size();
  if (ids.size() != n) return -1;
  using entry = std::pair<double, unsigned>;
  dense1D<entry> pairs;
  if (!pairs.resize(n)) return storage_failure;
  for (std::size_t i = 0; i < n; ++i)
    pairs[i] = entry(values[i], ids[i]);

  // NaN has no place in the order of numbers and would break the comparison the sort
  // relies on: such values go behind all others, ordered by identifier.
  entry* const numbers_end = std::partition(pairs.begin(), pairs.end(),
                                            [](const entry& p) { return !std::isnan(p.first); });
  std::sort(pairs.begin(), numbers_end);  // by value; equal values (also -0 and 0) by identifier
  std::sort(numbers_end, pairs.end(),
            [](const entry& p, const entry& q) { return p.second < q.second; });

  for (std::size_t i = 0; i < n; ++i) {
    values[i] = pairs[i].first;
    ids[i] = pairs[i].second;
  }
  return 0;
}

}  // namespace filum
}  // namespace vorn
