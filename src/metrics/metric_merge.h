#ifndef FILUM_METRICS_METRIC_MERGE_H
#define FILUM_METRICS_METRIC_MERGE_H

// A metrics matrix indexed by node identifier, into which new metrics are merged so that
// every node keeps the smallest size asked in every direction.

#include <cstddef>

#include <vorn/dense.h>

namespace vorn {
namespace filum {

/// \brief Whether metrics holds no entry or has the given row count.
inline bool is_empty_or_has_rows(const dense2D<double>& metrics, std::size_t rows) noexcept {
  return metrics.empty() || metrics.rows() == rows;
}

/// \brief Gives metrics `rows` rows and max(columns, its column count) columns, keeping its
/// content; new entries are 0 (a node without metric yet).
/// \param[in,out] metrics empty or with `rows` rows.
/// \return false when storage fails (metrics unchanged).
bool fit_metric_columns(dense2D<double>& metrics, std::size_t rows, std::size_t columns) noexcept;

/// \brief Column `node` of metrics becomes the intersection of M with what it held; a zero
/// column takes M.
/// \param[in,out] metrics D(D+1)/2 rows, more than `node` columns.
template <std::size_t D>
void merge_metric(dense2D<double>& metrics, std::size_t node,
                  const symmetric_fixed<double, D>& M) noexcept;

}  // namespace filum
}  // namespace vorn

#endif
