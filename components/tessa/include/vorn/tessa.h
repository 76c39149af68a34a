#ifndef VORN_TESSA_H
#define VORN_TESSA_H

/// \file
/// \brief Mesh utilities (namespace vorn::tessa): identifier checks, metric validation,
/// size and metric bounding, gradation control, metric intersection, neighbors and
/// color boundaries of line meshes.

#include <vorn/dense.h>
#include <vorn/tessa/export.h>
#include <vorn/tessa/metric_algebra.h>

namespace vorn {
namespace tessa {

/// \brief Kinds of elements a connectivity may hold.
enum class element_type : int {
  edge2 = 3,  ///< two-node edges [start, end]
};

/// \brief Whether every identifier is below bound.
VORN_TESSA_API bool check_IDs(const dense1D<unsigned>& ids, unsigned bound) noexcept;

/// \brief Whether every node entry of a connectivity is below bound.
/// \return false for a non-empty connectivity with fewer rows than the element has nodes;
/// bound 0xFFFFFFFF accepts every value.
VORN_TESSA_API bool check_IDs(const dense2D<unsigned>& connectM, element_type type,
                              unsigned bound) noexcept;

/// \brief Whether every size is finite and > 0.
VORN_TESSA_API bool are_valid_metrics(const dense1D<double>& sizes) noexcept;

/// \brief Whether every column is a valid size (1 row), 2D metric (3 rows) or 3D metric
/// (6 rows): finite and positive definite. Any other row count is invalid.
VORN_TESSA_API bool are_valid_metrics(const dense2D<double>& metrics) noexcept;

/// \brief Clamps every size: h := max(hmin, min(h, hmax)). \return 0.
VORN_TESSA_API int bound_metrics(dense1D<double>& sizes, double hmin, double hmax) noexcept;

/// \brief Clamps every size of M (1 / sqrt(eigenvalue)) into [hmin, hmax] in M's own
/// eigenvectors; hmin <= 0 means no lower bound, hmax <= 0 no upper bound.
/// \return 0 when M changed, 1 when it was left as it was.
VORN_TESSA_API int bound_metric(symmetric_fixed<double, 2>& M, double hmin, double hmax) noexcept;
/// \brief The 3D twin of bound_metric.
VORN_TESSA_API int bound_metric(symmetric_fixed<double, 3>& M, double hmin, double hmax) noexcept;

/// \brief Lowers sizes so that they grow by at most g = ln(gradation) per unit length
/// along the edges: the result is the largest field not above the input with
/// h_j <= h_i + g l_ij for every edge (i, j) into a lowerable node j, l_ij the distance of
/// the two nodes. Exact, by a shortest-path sweep from the smallest sizes, O(E log N).
/// \param[in] pos node coordinates (2 or 3 rows).
/// \param[in] connectM edges (rows 0 and 1); edges from a node to itself are ignored.
/// \param[in] type edge2.
/// \param[in] nodes the nodes that may be lowered; empty means all. Nodes not listed keep
/// their sizes but still bound their neighbors.
/// \param[in] flag accepted and ignored.
/// \param[in] mode accepted and ignored.
/// \param[in] gradation > 1 to allow growth; <= 1 or NaN gives g = 0, which makes the
/// field constant along connected lowerable nodes at its smallest reachable value;
/// +infinity changes nothing.
/// \param[in,out] sizes one size per column of pos.
/// \return 0 (also for an empty connectivity, which changes nothing); -1 when pos does
/// not have 2 or 3 rows; -2 when connectM has fewer than 2 rows or a node that is not a
/// column of pos; -3 for another element type; -4 when nodes holds an identifier that is
/// not a column of pos; -8 when sizes does not have one entry per column of pos or holds
/// a NaN; -199 when storage fails (sizes unchanged).
VORN_TESSA_API int bound_metric_gradations(const dense2D<double>& pos,
                                           const dense2D<unsigned>& connectM, element_type type,
                                           const dense1D<unsigned>& nodes, bool flag, int mode,
                                           double gradation, dense1D<double>& sizes) noexcept;

/// \brief The same law for metrics (3 rows with 2-row pos, 6 rows with 3-row pos),
/// direction by direction: along an edge with vector e, M_i grown to M_i / eta^2 with
/// eta = 1 + g sqrt(e' M_i e) bounds M_j through minimum_metric, and M_j bounds M_i alike.
/// Passes over the edges alternate between column order and reverse order until a pass
/// changes no metric by more than 1e-12 of its largest entry (at most 100 passes). For
/// isotropic metrics I/h^2 this is the law of the sizes overload.
/// \return as the sizes overload, with -8 when metrics does not have 3 (2D) or 6 (3D)
/// rows and one column per column of pos; -199 when storage fails (metrics unchanged).
VORN_TESSA_API int bound_metric_gradations(const dense2D<double>& pos,
                                           const dense2D<unsigned>& connectM, element_type type,
                                           const dense1D<unsigned>& nodes, bool flag, int mode,
                                           double gradation, dense2D<double>& metrics) noexcept;

/// \brief metrics becomes 3 x n with the isotropic columns (1/h^2, 0, 1/h^2); sizes are
/// not validated.
/// \return 0; -199 when storage fails (metrics is then empty).
VORN_TESSA_API int metrics_iso_to_aniso2d(const dense1D<double>& sizes,
                                          dense2D<double>& metrics) noexcept;

/// \brief metrics becomes 6 x n with the isotropic columns (1/h^2, 0, 1/h^2, 0, 0, 1/h^2).
/// \return 0; -199 when storage fails (metrics is then empty).
VORN_TESSA_API int metrics_iso_to_aniso3d(const dense1D<double>& sizes,
                                          dense2D<double>& metrics) noexcept;

/// \brief out = the intersection of A and B (the smaller size in every direction):
/// with p_k the common directions of A and B and q_k their duals,
/// out = sum_k max(p_k' A p_k, p_k' B p_k) q_k q_k'. B all zero gives A, A all zero gives
/// B. The pair is reduced on A, or on B when A is not positive definite. out may alias
/// A or B.
/// \return false, with out = A, when neither A nor B reduces the pair.
VORN_TESSA_API bool minimum_metric(const symmetric_fixed<double, 2>& A,
                                   const symmetric_fixed<double, 2>& B,
                                   symmetric_fixed<double, 2>& out) noexcept;
/// \brief The 3D twin of minimum_metric.
VORN_TESSA_API bool minimum_metric(const symmetric_fixed<double, 3>& A,
                                   const symmetric_fixed<double, 3>& B,
                                   symmetric_fixed<double, 3>& out) noexcept;

/// \brief Neighbors of line elements: neighbors becomes 2 x E; row 0 of column e is
/// the other element whose end lies at node connectM(1, e) when exactly two element
/// ends meet there, row 1 likewise for connectM(0, e); 0xFFFFFFFF otherwise.
/// A node where one element has both ends, or where three or more ends meet, gives none.
/// Linear time in the number of elements, whatever the node identifiers.
/// \param[in] connectM edges (rows 0 and 1).
/// \param[in] type accepted (edge2).
/// \param[in] flag accepted and ignored.
/// \param[out] neighbors the table, 2 x E.
/// \return 0; -1 for a non-empty connectivity with fewer than 2 rows, or with 2^31 or
/// more columns; -199 when storage fails (neighbors then empty or all 0xFFFFFFFF).
VORN_TESSA_API int get_neighbors(const dense2D<unsigned>& connectM, element_type type, bool flag,
                                 dense2D<unsigned>& neighbors) noexcept;

/// \brief Nodes where an element and its neighbor carry different colors: the node
/// connectM(1, e) when neighbors(0, e) differs in color from e, connectM(0, e) when
/// neighbors(1, e) does.
/// \param[in] connectM edges (rows 0 and 1).
/// \param[in] neighbors the table of get_neighbors: 2 x E, entries < E or 0xFFFFFFFF.
/// \param[in] colors color of element e when e < colors.size(), else 0xFFFFFFFF.
/// \param[in] type, flag1, flag2 accepted and ignored.
/// \param[out] boundaries emptied, then 1 row of distinct node identifiers, ascending.
/// \return 0; -1 for a non-empty connectivity with fewer than 2 rows; -2 when neighbors
/// is not 2 x E (0 x 0 is accepted for no element) or names an element beyond E; -199
/// when storage fails.
VORN_TESSA_API int get_colors_boundaries(const dense2D<unsigned>& connectM,
                                         const dense2D<unsigned>& neighbors,
                                         const dense1D<unsigned>& colors, element_type type,
                                         bool flag1, bool flag2,
                                         dense2D<unsigned>& boundaries) noexcept;

/// \brief The largest entry that is not 0xFFFFFFFF; 0xFFFFFFFF when there is none.
VORN_TESSA_API unsigned max_ID(const dense1D<unsigned>& ids) noexcept;

}  // namespace tessa
}  // namespace vorn

#endif
