#ifndef FILUM_MESHER_METRIC_FIELD_H
#define FILUM_MESHER_METRIC_FIELD_H

// The field policy of anisotropic metrics for the line meshers (see chain_field.h): one
// packed metric tensor per chain entry, as the columns of a dense2D with 3 rows in the plane
// and 6 in space. The type serves both dimensions, since the mesh_line frame chooses the
// dimension only after the arguments are tested; the passes are templates on D.

#include <cstddef>
#include <cstdint>

#include <vorn/dense.h>
#include <vorn/tessa.h>

#include "frame/append.h"
#include "frame/metric_tensor.h"
#include "mesher/mesh_pass_aniso.h"

namespace vorn {
namespace filum {

/// \brief Anisotropic metrics: one positive definite packed tensor per chain entry.
struct metric_field {
  using values = dense2D<double>;

  /// \brief The metric rows that go with a pos of pos_rows rows (0 for any other count).
  static constexpr std::size_t rows_for(std::size_t pos_rows) noexcept {
    return pos_rows == 2 ? metric_rows<2> : pos_rows == 3 ? metric_rows<3> : 0;
  }

  /// \brief Number of entries.
  static std::size_t count(const values& v) noexcept { return v.cols(); }
  /// \brief A view of count entries from first.
  static values slice(const values& v, std::size_t first, std::size_t count) noexcept {
    return v.sub_matrix(0, first, v.rows(), count);
  }
  /// \brief to becomes a compact deep copy of from.
  static bool copy(const values& from, values& to) noexcept { return to.copy(from); }
  /// \brief Appends the columns of from to to.
  static bool append(const values& from, values& to) noexcept { return append_columns(from, to); }
  /// \brief Room for count entries, so that appending up to that many does not reallocate.
  static bool reserve(values& v, std::size_t count) noexcept {
    return v.reserve(v.rows(), count, 1);
  }
  /// \brief Keeps the first count entries.
  static bool truncate(values& v, std::size_t count) noexcept { return v.resize(v.rows(), count); }
  /// \brief Removes every entry.
  static void clear(values& v) noexcept { v.clear(); }
  /// \brief Bounds the sizes of metric k to at most limit in every direction; its smaller
  /// sizes stay as they are.
  static void cap(values& v, std::size_t k, double limit) noexcept {
    if (v.rows() == metric_rows<2>)
      cap_metric<2>(v, k, limit);
    else
      cap_metric<3>(v, k, limit);
  }
  /// \brief The anisotropic pass.
  template <std::size_t D>
  static void pass(const dense2D<double>& pos, const dense1D<unsigned>& chain,
                   const dense1D<double>& params, const values& v, double min_length,
                   bool force_even, std::uint64_t min_count, std::uint64_t max_count,
                   dense2D<double>& new_pos, values& new_v, dense1D<double>& new_params) noexcept {
    mesh_pass_aniso<D>(pos, chain, params, v, min_length, force_even, min_count, max_count, new_pos,
                       new_v, new_params);
  }
  /// \brief At least n columns, the first n valid metrics (all rows), and 3 rows for a
  /// 2-row pos or 6 for a 3-row pos; the rows are not tied to any other pos.
  static bool accepts(const values& v, std::size_t n, std::size_t pos_rows) noexcept {
    if (v.cols() < n || !tessa::are_valid_metrics(v.sub_matrix(0, 0, v.rows(), n))) return false;
    return rows_for(pos_rows) == 0 || v.rows() == rows_for(pos_rows);
  }
  /// \brief An empty matrix, or one with the rows of the dimension.
  static bool can_receive(const values& v, std::size_t pos_rows) noexcept {
    return v.empty() || v.rows() == rows_for(pos_rows);
  }

 private:
  // bound_metric_sizes on column k of v, with no lower bound; the result is of no use here.
  template <std::size_t D>
  static void cap_metric(values& v, std::size_t k, double limit) noexcept {
    metric<D> M = column_metric<D>(v, k);
    bound_metric_sizes(M, 0, limit);
    set_column_metric<D>(v, k, M);
  }
};

}  // namespace filum
}  // namespace vorn

#endif
