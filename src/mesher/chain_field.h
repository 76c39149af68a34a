#ifndef FILUM_MESHER_CHAIN_FIELD_H
#define FILUM_MESHER_CHAIN_FIELD_H

// Field policies of the line meshers. The chain driver (mesh_chain), the chordal refinement
// (refine_chain) and the frame of mesh_line are written once for every kind of target carried
// by the chain entries; a field policy F tells them what that target is:
//
//   using values = ...;                      one value per chain entry, by chain position
//   count(v)                                 number of entries
//   slice(v, first, count)                   a view of count entries from first
//   copy(from, to)                           deep copy            (false: storage failed)
//   append(from, to)                         concatenation        (false: storage failed)
//   reserve(v, count)                        room for count entries (false: storage failed)
//   truncate(v, count)                       keeps the first count entries
//   clear(v)                                 no entry
//   cap(v, k, limit)                         lowers the size(s) of entry k to at most limit
//   pass<D>(pos, chain, params, v, min_length, force_even, min, max, new_pos, new_v, new_params)
//                                            one meshing pass (new_* rebuilt)
//   accepts(v, n, rows)                      whether v is a valid input for n entries and a
//                                            pos of that many rows
//   can_receive(v, rows)                     whether v can take the results appended
//
// size_field is the policy of isotropic sizes; metric_field (metric_field.h) supplies the same
// members over a dense2D of tensor columns.

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include <vorn/dense.h>
#include <vorn/tessa.h>

#include "frame/append.h"
#include "mesher/mesh_pass_iso.h"

namespace vorn {
namespace filum {

/// \brief Isotropic sizes: one strictly positive double per chain entry.
struct size_field {
  using values = dense1D<double>;

  /// \brief Number of entries.
  static std::size_t count(const values& v) noexcept { return v.size(); }
  /// \brief A view of count entries from first.
  static values slice(const values& v, std::size_t first, std::size_t count) noexcept {
    return v.sub_vector(first, count);
  }
  /// \brief to becomes a deep copy of from.
  static bool copy(const values& from, values& to) noexcept { return to.copy(from); }
  /// \brief Appends the entries of from to to.
  static bool append(const values& from, values& to) noexcept { return append_values(from, to); }
  /// \brief Room for count entries, so that appending up to that many does not reallocate.
  static bool reserve(values& v, std::size_t count) noexcept { return v.reserve(count, 1); }
  /// \brief Keeps the first count entries.
  static bool truncate(values& v, std::size_t count) noexcept { return v.resize(count); }
  /// \brief Removes every entry.
  static void clear(values& v) noexcept { v.clear(); }
  /// \brief Caps entry k: min(size, limit) for a size >= 0, 0 otherwise.
  static void cap(values& v, std::size_t k, double limit) noexcept {
    v[k] = v[k] >= 0 ? std::min(v[k], limit) : 0;
  }
  /// \brief The isotropic pass.
  template <std::size_t D>
  static void pass(const dense2D<double>& pos, const dense1D<unsigned>& chain,
                   const dense1D<double>& params, const values& v, double min_length,
                   bool force_even, std::uint64_t min_count, std::uint64_t max_count,
                   dense2D<double>& new_pos, values& new_v, dense1D<double>& new_params) noexcept {
    mesh_pass_iso<D>(pos, chain, params, v, min_length, force_even, min_count, max_count, new_pos,
                     new_v, new_params);
  }
  /// \brief At least n sizes, the first n finite and > 0.
  static bool accepts(const values& v, std::size_t n, std::size_t /*rows*/) noexcept {
    return v.size() >= n && tessa::are_valid_metrics(v.sub_vector(0, n));
  }
  /// \brief Any size vector can take results.
  static bool can_receive(const values& /*v*/, std::size_t /*rows*/) noexcept { return true; }
};

}  // namespace filum
}  // namespace vorn

#endif
