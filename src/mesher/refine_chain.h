#ifndef FILUM_MESHER_REFINE_CHAIN_H
#define FILUM_MESHER_REFINE_CHAIN_H

// The chordal refinement: while a given interior node of a chain lies farther than the
// tolerance from its mesh, the chain is split at its worst node (or meshed again with more
// elements) and each part is meshed by the chain driver and refined in turn.
//
// The parts are processed depth first, first part before second, on an explicit stack, so
// that a chain of any length cannot exhaust the call stack. All parts share one working
// matrix: the given nodes in its first n columns, then the nodes of the finished parts in
// line order, then those of the part being examined. A part that is split gives its own
// columns back before its children are meshed, so the finished meshes stay contiguous and
// in line order, and the final nodes are numbered in order of appearance.

#include <cstddef>
#include <cstdint>
#include <numeric>

#include <vorn/dense.h>
#include <vorn/filum.h>

#include "frame/append.h"
#include "mesher/chain_field.h"
#include "mesher/chordal_split.h"
#include "mesher/mesh_chain.h"

namespace vorn {
namespace filum {
namespace refine_detail {

/// \brief A part of the given chain waiting to be meshed: positions first ... last.
struct pending_part {
  std::size_t first;
  std::size_t last;
  std::uint64_t count;  ///< its minimum element count
  unsigned raises;      ///< times in a row its count was raised without a split
};

/// \brief Raises of a part's element count without a split after which its mesh is kept:
/// the quadratic law of chordal error has failed that often (degenerate metrics can make
/// every raise useless), and each raise costs a meshing of the part.
constexpr unsigned max_count_raises = 64;

/// \brief Pushes the parts of the chain first ... last split at position split (local to
/// the part), second part first so that the first part is popped first.
inline bool push_parts(dense1D<pending_part>& stack, std::size_t first, std::size_t last,
                       const chordal_split& plan, unsigned raises) noexcept {
  const std::size_t split = first + plan.split;
  if (split < last) {
    return stack.push_back({split, last, plan.count, 0}) &&
           stack.push_back({first, split, plan.count, 0});
  }
  return stack.push_back({first, split, plan.count, raises + 1});
}

/// \brief The refined mesh of a whole chain, in the working matrix's numbering.
template <class F>
struct refined_mesh {
  dense2D<double> coords;  ///< given nodes (first n columns), then the new nodes in line order
  dense1D<unsigned> chain;
  dense1D<double> params;
  typename F::values values;
};

/// \brief Meshes and refines the parts of a chain depth first, starting from the top split.
/// \return false when storage fails.
template <class F, std::size_t D>
bool refine_parts(const dense2D<double>& pos, const dense1D<unsigned>& chain,
                  const dense1D<double>& params, const typename F::values& values, bool force_even,
                  double chordal_tol, double min_size, const chordal_split& top,
                  refined_mesh<F>& result) noexcept {
  const std::size_t n = chain.size();
  dense1D<unsigned> identity;
  dense1D<pending_part> stack;
  if (!gather_columns(pos, chain, result.coords) || !identity.resize(n) ||
      !push_parts(stack, 0, n - 1, top, 0))
    return false;
  std::iota(identity.begin(), identity.end(), 0u);

  dense1D<unsigned> part_chain;
  dense1D<double> part_params;
  typename F::values part_values;
  while (!stack.empty()) {
    const pending_part part = stack[stack.size() - 1];
    stack.resize(stack.size() - 1);
    const std::size_t length = part.last - part.first + 1;
    const std::size_t part_n0 = result.coords.cols();
    if (mesh_chain<F, D>(result.coords, identity.sub_vector(part.first, length),
                         params.sub_vector(part.first, length),
                         F::slice(values, part.first, length), force_even, part.count, no_id,
                         chordal_tol, min_size, part_chain, part_params, part_values) != 0)
      return false;
    chordal_split plan{false, length - 1, 1};
    if (chordal_tol > 0 && part_chain.size() < 4294967296u)
      plan = plan_chordal_split<D>(result.coords, identity.data() + part.first,
                                   params.data() + part.first, length, part_chain, part_params,
                                   force_even, chordal_tol);
    if (plan.remesh && plan.split == length - 1 && part.raises >= max_count_raises)
      plan.remesh = false;
    if (plan.remesh) {
      // The part's own mesh is replaced by its children's.
      if (!result.coords.resize(D, part_n0) ||
          !push_parts(stack, part.first, part.last, plan, part.raises))
        return false;
      continue;
    }
    // A finished part: its first entry is the node at which the previous part ended, and
    // replaces that part's last entry.
    if (!result.chain.empty()) {
      result.chain.resize(result.chain.size() - 1);
      result.params.resize(result.params.size() - 1);
      F::truncate(result.values, F::count(result.values) - 1);
    }
    if (!append_values(part_chain, result.chain) || !append_values(part_params, result.params) ||
        !F::append(part_values, result.values))
      return false;
  }
  return true;
}

/// \brief Replaces the new nodes of a mesh in pos (from column N0 on) by those of the refined
/// mesh and renumbers its chain into pos: given nodes back to their identifiers, new nodes
/// to N0, N0 + 1, ... in order of appearance.
/// \return false, with pos as it was, when storage fails.
template <class F, std::size_t D>
bool commit_refined(dense2D<double>& pos, const dense1D<unsigned>& chain, std::size_t N0,
                    refined_mesh<F>& result) noexcept {
  const std::size_t n = chain.size();
  const std::size_t added = result.coords.cols() - n;
  if (N0 + added > 0xFFFFFFFFu) return false;
  const std::size_t end = pos.cols();
  if (N0 > end || !append_columns(result.coords.sub_matrix(0, n, D, added), pos)) return false;
  for (std::size_t j = 0; j < added; ++j)
    set_column_point<D>(pos, N0 + j, column_point<D>(pos, end + j));
  pos.resize(D, N0 + added);
  for (unsigned& id : result.chain)
    id = id < n ? chain[id] : static_cast<unsigned>(N0 + (id - n));
  return true;
}

}  // namespace refine_detail

/// \brief Refines the mesh of a chain until every given interior node lies within
/// chordal_tol of it.
///
/// Every split takes place at a given interior node, which then belongs to the mesh; each
/// part is meshed by the chain driver with the part's minimum count and no maximum. When
/// storage fails the mesh and pos stay as they were.
/// \param[in,out] pos coordinates (D rows); its columns from N0 on are the mesh's new nodes,
/// replaced by those of the refined mesh.
/// \param[in] chain the given chain (n >= 2 columns of pos).
/// \param[in] params its n non-decreasing parameters.
/// \param[in] values its n targets.
/// \param[in] force_even element counts must be even.
/// \param[in] chordal_tol the largest allowed distance of a given node from the mesh, > 0.
/// \param[in] min_size passed to the chain driver.
/// \param[in] N0 the column count of pos before the mesh was made.
/// \param[in,out] mesh the mesh's chain (identifiers in pos).
/// \param[in,out] mesh_params the mesh's parameters.
/// \param[in,out] mesh_values the mesh's targets.
/// \return 0.
template <class F, std::size_t D>
int refine_chain(dense2D<double>& pos, const dense1D<unsigned>& chain,
                 const dense1D<double>& params, const typename F::values& values, bool force_even,
                 double chordal_tol, double min_size, std::size_t N0, dense1D<unsigned>& mesh,
                 dense1D<double>& mesh_params, typename F::values& mesh_values) noexcept {
  const chordal_split top = plan_chordal_split<D>(pos, chain.data(), params.data(), chain.size(),
                                                  mesh, mesh_params, force_even, chordal_tol);
  if (!top.remesh) return 0;
  refine_detail::refined_mesh<F> result;
  if (!refine_detail::refine_parts<F, D>(pos, chain, params, values, force_even, chordal_tol,
                                         min_size, top, result) ||
      !refine_detail::commit_refined<F, D>(pos, chain, N0, result))
    return 0;
  mesh = result.chain;
  mesh_params = result.params;
  mesh_values = result.values;
  return 0;
}

}  // namespace filum
}  // namespace vorn

#endif
