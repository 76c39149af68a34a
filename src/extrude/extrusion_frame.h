#ifndef FILUM_EXTRUDE_EXTRUSION_FRAME_H
#define FILUM_EXTRUDE_EXTRUSION_FRAME_H

// The frame shared by every extrusion: one row worker that counts, reserves and appends
// the nodes of a row, and the layers of the exported overloads over it. What moves the
// start node (a translation, a turn in the plane, a turn in space) is a placement:
//
//   struct placement {
//     static constexpr std::size_t dim;          // 2 or 3
//     static constexpr int size_start_argument;  // position of size_start in the graded lists
//     static constexpr int motion_argument;      // the argument blamed for a node that overflows
//     int non_finite_argument() const;           // position of a non-finite argument, or 0
//     void start_at(const point<dim>& start);    // the coordinates of the start node
//     double row_length() const;                 // length of the whole row's path
//     point<dim> at(double t) const;             // the node at fraction t of the path
//   };

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include <vorn/filum.h>

#include "frame/append.h"
#include "frame/checks.h"
#include "frame/node_distribution.h"
#include "frame/point.h"

namespace vorn {
namespace filum {

/// \brief How a row is sized: n_elements > 0 for a uniform row, 0 for a row graded from
/// size_start to size_end (its count then follows from the path length).
struct row_sizing {
  std::uint64_t n_elements;
  double size_start;
  double size_end;
  bool force_even;
};

/// \brief A uniform row of n elements.
inline row_sizing uniform_row(unsigned n) noexcept {
  return row_sizing{n, 0, 0, false};
}

/// \brief A row graded from size_start to size_end.
inline row_sizing graded_row(double size_start, double size_end, bool force_even) noexcept {
  return row_sizing{0, size_start, size_end, force_even};
}

/// \brief Whether count identifiers from first on are all below no_id.
inline bool ids_fit(std::size_t first, std::uint64_t count) noexcept {
  return first <= no_id && count <= no_id - first;
}

/// \brief The row worker: appends the nodes of a row that starts at an existing node and
/// its chain [node, new nodes...]. Codes count in the graded overloads' lists.
/// \param[in,out] pos coordinates with placement.dim rows; new nodes appended.
/// \param[in] node the start node, a column of pos.
/// \param[in] placement where the node at each fraction of the path lies.
/// \param[in] sizing uniform count, or end sizes of a graded row.
/// \param[in,out] indices the chain, appended.
/// \return 0; -1 pos rows or start coordinates not finite; -2 node; -3 path of length 0;
/// -size_start_argument and the next for the sizes; -k for a non-finite k-th argument, or
/// -motion_argument for a node that would not be finite; -199, with pos and indices as they
/// came.
template <class Placement>
int extrude(dense2D<double>& pos, unsigned node, Placement placement, const row_sizing& sizing,
            dense1D<unsigned>& indices) noexcept {
  constexpr std::size_t D = Placement::dim;
  if (pos.rows() != D) return -1;
  const std::size_t first_new = pos.cols();
  if (node >= first_new) return -2;
  const point<D> start = column_point<D>(pos, node);
  if (!is_finite(start)) return -1;
  if (const int bad = placement.non_finite_argument()) return -bad;
  placement.start_at(start);

  const double h0 = sizing.size_start;
  const double h1 = sizing.size_end;
  std::uint64_t n = sizing.n_elements;
  if (n == 0) {
    const double L = placement.row_length();
    if (L == 0) return -3;
    if (!is_positive(h0)) return -Placement::size_start_argument;
    if (!is_positive(h1)) return -(Placement::size_start_argument + 1);
    n = nearest_count(normalized_length(L, h0, h1), sizing.force_even ? 2 : 1);
    if (n == 0) n = 1;
  }

  const std::size_t entry_length = indices.size();
  if (!ids_fit(first_new, n) || !fits_in_memory(n, (D + 1) * sizeof(double)) ||
      !pos.reserve(std::max(pos.ld(), D), first_new + n, 1) ||
      !indices.reserve(entry_length + 1 + n, 1))
    return storage_failure;

  const bool graded = h0 > 0 && h1 > 0;
  indices.push_back(node);
  const double step = 1.0 / static_cast<double>(n);
  for (std::uint64_t k = 1; k <= n; ++k) {
    double t = static_cast<double>(k) * step;
    if (graded) t = progression_fraction(t, h0, h1);
    const point<D> p = placement.at(t);
    // The append cannot fail after the reservation; a node can overflow to infinity.
    if (!is_finite(p) || !append_fixed_column<D>(p.data(), pos)) {
      pos.resize(D, first_new);
      indices.resize(entry_length);
      return is_finite(p) ? storage_failure : -Placement::motion_argument;
    }
    indices.push_back(static_cast<unsigned>(first_new + k - 1));
  }
  return 0;
}

/// \brief The start-point frame: appends start_point to pos and runs the row worker from
/// it; on failure pos is restored to its shape and content at entry.
/// \param[in,out] pos coordinates with placement.dim rows, or empty.
/// \param[in] start_point the first node of the row, appended as a new column.
/// \return 0; -1 pos rows; the worker's codes; -199.
template <class Placement>
int extrude(dense2D<double>& pos, const point<Placement::dim>& start_point,
            const Placement& placement, const row_sizing& sizing,
            dense1D<unsigned>& indices) noexcept {
  constexpr std::size_t D = Placement::dim;
  if (!pos.empty() && pos.rows() != D) return -1;
  if (!is_finite(start_point)) return -2;
  const std::size_t entry_rows = pos.rows();
  const std::size_t entry_cols = pos.cols();
  const std::size_t first_new = pos.empty() ? 0 : entry_cols;
  if (!ids_fit(first_new, 1 + sizing.n_elements)) return storage_failure;
  // A uniform row knows its node count: one reservation serves the start point and the row.
  if (sizing.n_elements != 0 &&
      (!fits_in_memory(sizing.n_elements, (D + 1) * sizeof(double)) ||
       !pos.reserve(std::max(pos.ld(), D), first_new + 1 + sizing.n_elements, 1)))
    return storage_failure;
  if (!append_fixed_column<D>(start_point.data(), pos)) return storage_failure;
  const int result = extrude(pos, static_cast<unsigned>(first_new), placement, sizing, indices);
  if (result != 0) pos.resize(entry_rows, entry_cols);
  return result;
}

/// \brief The uniform layer: a count of 0 does nothing, before any test.
template <class Start, class Placement>
int extrude_uniform(dense2D<double>& pos, const Start& start, const Placement& placement,
                    unsigned n_elements, dense1D<unsigned>& indices) noexcept {
  if (n_elements == 0) return 0;
  return extrude(pos, start, placement, uniform_row(n_elements), indices);
}

}  // namespace filum
}  // namespace vorn

#endif
