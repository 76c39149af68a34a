#ifndef FILUM_SPLINE_SPLINE_FIELD_H
#define FILUM_SPLINE_SPLINE_FIELD_H

// Field policies of the spline mesher. mesh_spline is written once for every kind of target;
// a spline field extends the chain field of the line meshers (count, accepts, can_receive,
// pass<D>, see mesher/chain_field.h) with what the spline worker does differently for it:
//
//   node_values(v, N)                        the values of the spline nodes of a padded chain
//                                            of N entries (entries 1 ... N - 2), a view
//   spread_default<D>(h, node_samples, node_v, S, out)
//                                            S samples of the default size, the node samples
//                                            set to their node's value   (false: storage)
//   interpolate(node_params, node_v, sample_params, out)
//                                            the node values carried over to the samples
//   cap<D>(w, v)                             no size of sample k above w[k]
//   grade(samples, connectivity, gradation, v)
//                                            sizes lowered to respect the gradation
//   append_results(v, new_v, out)            value of the first sample, the new values, value
//                                            of the last sample, appended
//
// spline_sizes is the policy of isotropic sizes, spline_metrics that of metric tensors.

#include <algorithm>
#include <cstddef>

#include <vorn/dense.h>
#include <vorn/filum.h>
#include <vorn/tessa.h>

#include "frame/append.h"
#include "frame/checks.h"
#include "frame/metric_tensor.h"
#include "mesher/chain_field.h"
#include "mesher/metric_field.h"

namespace vorn {
namespace filum {

/// \brief Isotropic sizes along a spline: one strictly positive double per sample.
struct spline_sizes : size_field {
  /// \brief The sizes of the spline nodes, without the two ghosts.
  static values node_values(const values& v, std::size_t N) noexcept {
    return v.sub_vector(1, N - 2);
  }
  /// \brief S copies of default_size, then node i's size at sample node_samples[i].
  template <std::size_t D>
  static bool spread_default(double default_size, const dense1D<unsigned>& node_samples,
                             const values& node_v, std::size_t S, values& out) noexcept {
    if (!out.resize(S, default_size)) return false;
    for (std::size_t i = 0; i < node_samples.size(); ++i)
      out[node_samples[i]] = node_v[i];
    return true;
  }
  /// \brief The node sizes interpolated linearly at the sample parameters.
  static void interpolate(const dense1D<double>& node_params, const values& node_v,
                          const dense1D<double>& sample_params, values& out) noexcept {
    interpolate_metrics(node_params, node_v, sample_params, out);
  }
  /// \brief size_k := min(size_k, w_k).
  template <std::size_t D>
  static void cap(const dense1D<double>& w, values& v) noexcept {
    for (std::size_t k = 0; k < v.size(); ++k)
      v[k] = std::min(v[k], w[k]);
  }
  /// \brief Lowers the sizes so that they vary by at most the gradation along the edges.
  static void grade(const dense2D<double>& samples, const dense2D<unsigned>& connectivity,
                    double gradation, values& v) noexcept {
    tessa::bound_metric_gradations(samples, connectivity, edge2, dense1D<unsigned>(), true, -1,
                                   gradation, v);
  }
  /// \brief Appends v[0], new_v, v[last] to out; a failed append is skipped.
  static void append_results(const values& v, const values& new_v, values& out) noexcept {
    const double first = v[0], last = v[v.size() - 1];
    out.push_back(first);
    append_values(new_v, out);
    out.push_back(last);
  }
};

/// \brief Anisotropic metrics along a spline: one packed tensor per sample, 3 rows in the
/// plane and 6 in space.
struct spline_metrics : metric_field {
  /// \brief The metrics of the spline nodes, without the two ghosts.
  static values node_values(const values& v, std::size_t N) noexcept {
    return v.sub_matrix(0, 1, v.rows(), N - 2);
  }
  /// \brief S isotropic metrics of default_size, then node i's metric at sample
  /// node_samples[i].
  template <std::size_t D>
  static bool spread_default(double default_size, const dense1D<unsigned>& node_samples,
                             const values& node_v, std::size_t S, values& out) noexcept {
    const dense1D<double> sizes(S, default_size);
    if (sizes.size() != S || !out.resize(metric_rows<D>, S, 0.0)) return false;
    if (D == 2)
      tessa::metrics_iso_to_aniso2d(sizes, out);
    else
      tessa::metrics_iso_to_aniso3d(sizes, out);
    if (out.rows() != metric_rows<D> || out.cols() != S) return false;
    for (std::size_t i = 0; i < node_samples.size(); ++i)
      set_column_metric<D>(out, node_samples[i], column_metric<D>(node_v, i));
    return true;
  }
  /// \brief The node metrics interpolated at the sample parameters, linearly in size along
  /// the common directions of each bracketing pair.
  static void interpolate(const dense1D<double>& node_params, const values& node_v,
                          const dense1D<double>& sample_params, values& out) noexcept {
    interpolate_metrics(node_params, node_v, sample_params, out);
  }
  /// \brief Bounds every size of metric k to at most w[k]; smaller sizes stay.
  template <std::size_t D>
  static void cap(const dense1D<double>& w, values& v) noexcept {
    for (std::size_t k = 0; k < v.cols(); ++k) {
      metric<D> M = column_metric<D>(v, k);
      tessa::bound_metric(M, 0, w[k]);
      set_column_metric<D>(v, k, M);
    }
  }
  /// \brief Lowers the metric sizes so that they vary by at most the gradation along the
  /// edges.
  static void grade(const dense2D<double>& samples, const dense2D<unsigned>& connectivity,
                    double gradation, values& v) noexcept {
    tessa::bound_metric_gradations(samples, connectivity, edge2, dense1D<unsigned>(), true, 0,
                                   gradation, v);
  }
  /// \brief Appends the first column of v, the columns of new_v, the last column of v to
  /// out; a failed append is skipped.
  static void append_results(const values& v, const values& new_v, values& out) noexcept {
    append_column(v.col(0), out);
    append_columns(new_v, out);
    append_column(v.col(v.cols() - 1), out);
  }
};

}  // namespace filum
}  // namespace vorn

#endif
