#ifndef FILUM_MESHER_CHORDAL_SPLIT_H
#define FILUM_MESHER_CHORDAL_SPLIT_H

// The decision step of the chordal refinement: how far the given interior nodes of a chain
// lie from its current mesh, and whether and where the chain is split and meshed again.

#include <cstddef>
#include <cstdint>

#include <vorn/dense.h>

namespace vorn {
namespace filum {

/// \brief What the refinement does with one chain and its mesh.
struct chordal_split {
  bool remesh;          ///< false: the mesh stays as it is
  std::size_t split;    ///< chain position of the split node; n - 1 for no split
  std::uint64_t count;  ///< minimum element count of the new meshes
};

/// \brief Measures every given interior node against the chord of the mesh that holds its
/// parameter and decides the next step.
///
/// A node's distance is weighted by 1 + 4 t (1 - t), t its relative parameter, and the
/// first node of largest weighted distance is the split. The tolerance is chordal_tol plus
/// the largest absolute coordinate of the measured nodes times the double epsilon. The mesh
/// of M entries grows to C elements (M, or M + 1 to keep an even count under force_even)
/// while a node lies beyond the tolerance; an odd count under force_even is made even. When
/// the deviations are spread evenly (mean > half the largest) and C elements would meet the
/// tolerance by the quadratic law of chordal error, the whole chain is meshed again with at
/// least C elements instead of being split. A step that would neither split the chain nor
/// raise its element count would repeat itself, and is not taken.
/// \param[in] pos coordinates (D rows) of the chain's and the mesh's nodes.
/// \param[in] chain n node identifiers.
/// \param[in] params n non-decreasing parameters of the chain.
/// \param[in] n the chain length.
/// \param[in] mesh the mesh's node identifiers.
/// \param[in] mesh_params one non-decreasing parameter per mesh entry.
/// \param[in] force_even element counts must be even.
/// \param[in] chordal_tol the largest allowed distance, > 0.
template <std::size_t D>
chordal_split plan_chordal_split(const dense2D<double>& pos, const unsigned* chain,
                                 const double* params, std::size_t n, const dense1D<unsigned>& mesh,
                                 const dense1D<double>& mesh_params, bool force_even,
                                 double chordal_tol) noexcept;

extern template chordal_split plan_chordal_split<2>(const dense2D<double>&, const unsigned*,
                                                    const double*, std::size_t,
                                                    const dense1D<unsigned>&,
                                                    const dense1D<double>&, bool, double) noexcept;
extern template chordal_split plan_chordal_split<3>(const dense2D<double>&, const unsigned*,
                                                    const double*, std::size_t,
                                                    const dense1D<unsigned>&,
                                                    const dense1D<double>&, bool, double) noexcept;

}  // namespace filum
}  // namespace vorn

#endif
