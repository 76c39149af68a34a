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
// spline_sizes is the policy of isotropic sizes.

#include <algorithm>
#include <cstddef>

#include <vorn/dense.h>
#include <vorn/filum.h>
#include <vorn/tessa.h>

#include "frame/append.h"
#include "frame/checks.h"
#include "mesher/chain_field.h"

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

}  // namespace filum
}  // namespace vorn

#endif
