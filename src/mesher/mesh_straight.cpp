// mesh_straight: each segment of a chain meshed by mesh_line as a straight edge of its own,
// so that every given node stays in the result. One worker serves sizes and metrics; the
// overloads with node identifiers, an element count or two end sizes layer over it.

#include <cmath>
#include <cstddef>

#include <vorn/filum.h>

#include "frame/checks.h"
#include "mesher/chain_field.h"
#include "mesher/metric_field.h"

namespace vorn {
namespace filum {
namespace {

// Distance between columns a and b of pos over all its rows.
double distance_over_rows(const dense2D<double>& pos, std::size_t a, std::size_t b) noexcept {
  double dd = 0;
  for (std::size_t i = 0; i < pos.rows(); ++i) {
    const double d = pos(i, b) - pos(i, a);
    dd += d * d;
  }
  return std::sqrt(dd);
}

// Meshes every segment of the chain from the targets of field F at its two ends: the chain
// becomes indices[0], the new nodes of segment 0, indices[1], ... indices[n - 1]. A failing
// segment stops the call and leaves pos and new_indices as they were on entry.
// Returns 0 (also for an empty chain), -2 chain, -3 targets, a failing segment's code, or
// storage_failure.
template <class F>
int mesh_segments(dense2D<double>& pos, const dense1D<unsigned>& indices,
                  const typename F::values& values, bool force_even,
                  dense1D<unsigned>& new_indices) noexcept {
  const std::size_t n = indices.size();
  if (n == 0) return 0;
  if (n < 2 || !ids_in(indices, pos)) return -2;
  if (!coordinates_finite(pos, indices)) return -1;
  if (!F::accepts(values, n, pos.rows())) return -3;
  const std::size_t N0 = pos.cols();
  const std::size_t entry_size = new_indices.size();
  dense1D<double> unit_params;
  if (!unit_params.resize(2, 0.0)) return storage_failure;
  unit_params[1] = 1.0;

  dense1D<double> segment_params;
  typename F::values segment_values;
  int code = 0;
  for (std::size_t k = 0; code == 0 && k + 1 < n; ++k) {
    F::clear(segment_values);
    const std::size_t before = new_indices.size();
    code = mesh_line(pos, indices.sub_vector(k, 2), unit_params, F::slice(values, k, 2), force_even,
                     1, no_id, unset, 0, new_indices, segment_params, segment_values);
    // mesh_line appends nothing when its own storage fails.
    if (code == 0 && new_indices.size() == before) code = storage_failure;
    // The segment's end node starts the next segment.
    if (code == 0) new_indices.resize(new_indices.size() - 1);
  }
  if (code == 0 && !new_indices.push_back(indices[n - 1])) code = storage_failure;
  if (code != 0) {
    pos.resize(pos.rows(), N0);
    new_indices.resize(entry_size);
  }
  return code;
}

}  // namespace

int mesh_straight(dense2D<double>& pos, const dense1D<unsigned>& indices,
                  const dense1D<double>& sizes, bool force_even,
                  dense1D<unsigned>& new_indices) noexcept {
  return mesh_segments<size_field>(pos, indices, sizes, force_even, new_indices);
}

int mesh_straight(dense2D<double>& pos, const dense1D<unsigned>& indices,
                  const dense2D<double>& metrics, bool force_even,
                  dense1D<unsigned>& new_indices) noexcept {
  return mesh_segments<metric_field>(pos, indices, metrics, force_even, new_indices);
}

int mesh_straight(dense2D<double>& pos, const dense1D<unsigned>& indices, unsigned n_elements,
                  bool force_even, dense1D<unsigned>& new_indices) noexcept {
  if (n_elements == 0 || indices.empty()) return 0;
  const std::size_t n = indices.size();
  if (n < 2 || !ids_in(indices, pos)) return -2;
  // Its new nodes, about n_elements of them, must be numbered below no_id and held in
  // memory (coordinates, size, parameter): a count that cannot is refused before any
  // segment is meshed.
  if (n_elements >= no_id - node_bound(pos) ||
      !fits_in_memory(n_elements, (pos.rows() + 2) * sizeof(double)))
    return storage_failure;
  double length = 0;
  for (std::size_t k = 0; k + 1 < n; ++k)
    length += distance_over_rows(pos, indices[k], indices[k + 1]);
  dense1D<double> sizes;
  if (!sizes.resize(n, length / n_elements)) return storage_failure;
  return mesh_straight(pos, indices, sizes, force_even, new_indices);
}

int mesh_straight(dense2D<double>& pos, unsigned first, unsigned last, unsigned n_elements,
                  dense1D<unsigned>& new_indices) noexcept {
  if (n_elements == 0) return 0;
  if (first >= pos.cols()) return -2;
  if (last >= pos.cols()) return -3;
  const double size = distance_over_rows(pos, first, last) * (1.0 / n_elements);
  return mesh_straight(pos, first, last, size, size, false, new_indices);
}

int mesh_straight(dense2D<double>& pos, unsigned first, unsigned middle, unsigned last,
                  unsigned n_elements, dense1D<unsigned>& new_indices) noexcept {
  if (n_elements == 0) return 0;
  if (first >= pos.cols()) return -2;
  if (middle >= pos.cols()) return -3;
  if (last >= pos.cols()) return -4;
  dense1D<unsigned> chain;
  if (!chain.resize(3)) return storage_failure;
  chain[0] = first, chain[1] = middle, chain[2] = last;
  return mesh_straight(pos, chain, n_elements, false, new_indices);
}

int mesh_straight(dense2D<double>& pos, unsigned first, unsigned last, double size_first,
                  double size_last, bool force_even, dense1D<unsigned>& new_indices) noexcept {
  if (first >= pos.cols()) return -2;
  if (last >= pos.cols()) return -3;
  if (!is_positive(size_first)) return -4;
  if (!is_positive(size_last)) return -5;
  dense1D<unsigned> chain;
  dense1D<double> sizes;
  if (!chain.resize(2) || !sizes.resize(2)) return storage_failure;
  chain[0] = first, chain[1] = last;
  sizes[0] = size_first, sizes[1] = size_last;
  return mesh_straight(pos, chain, sizes, force_even, new_indices);
}

}  // namespace filum
}  // namespace vorn
