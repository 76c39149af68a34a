#include "metrics/element_metrics.h"

#include <algorithm>

#include <vorn/filum.h>

#include "frame/checks.h"
#include "metrics/metric_merge.h"

namespace vorn {
namespace filum {
template <std::size_t D>
int prepare_element_metrics(const dense2D<double>& pos, const dense2D<unsigned>& connectM,
                            int metrics_code, dense2D<double>& metrics) noexcept {
  constexpr std::size_t rows = symmetric_fixed<double, D>::size();
  if (pos.rows() < D) return -1;
  if (connectM.rows() != 2 || !ids_in(connectM, pos)) return -2;
  if (!is_empty_or_has_rows(metrics, rows)) return metrics_code;
  if (!fit_metric_columns(metrics, rows, std::size_t{largest_node(connectM)} + 1))
    return storage_failure;
  return 0;
}

template int prepare_element_metrics<2>(const dense2D<double>&, const dense2D<unsigned>&, int,
                                        dense2D<double>&) noexcept;
template int prepare_element_metrics<3>(const dense2D<double>&, const dense2D<unsigned>&, int,
                                        dense2D<double>&) noexcept;

}  // namespace filum
}  // namespace vorn
