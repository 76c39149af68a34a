#include "metrics/metric_merge.h"

#include <algorithm>

#include <vorn/tessa.h>

namespace vorn {
namespace filum {

bool fit_metric_columns(dense2D<double>& metrics, std::size_t rows, std::size_t columns) noexcept {
  return metrics.resize(rows, std::max(columns, metrics.cols()), 0.0);
}

template <std::size_t D>
void merge_metric(dense2D<double>& metrics, std::size_t node,
                  const symmetric_fixed<double, D>& M) noexcept {
  using tensor = symmetric_fixed<double, D>;
  double* held = metrics.data() + node * metrics.ld();
  tensor merged;
  std::copy(held, held + tensor::size(), merged.data());
  tessa::minimum_metric(M, merged, merged);
  std::copy(merged.data(), merged.data() + tensor::size(), held);
}

template void merge_metric<2>(dense2D<double>&, std::size_t,
                              const symmetric_fixed<double, 2>&) noexcept;
template void merge_metric<3>(dense2D<double>&, std::size_t,
                              const symmetric_fixed<double, 3>&) noexcept;

}  // namespace filum
}  // namespace vorn
