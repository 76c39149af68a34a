#ifndef VORN_FILUM_H
#define VORN_FILUM_H

/// \file
/// \brief filum: one-dimensional meshing tools. Every exported operation.
///
/// Conventions shared by every operation:
/// - Coordinates `pos` have 2 (plane) or 3 (space) rows and one column per node;
///   a node's identifier is its column index. New nodes are appended as columns.
/// - A node chain lists node identifiers in line order. A connectivity has one
///   column per element: E2 [start, end], E3 [start, end, middle], higher order
///   [start, end, interior nodes...].
/// - Sizes are strictly positive target lengths. Metrics are symmetric positive
///   definite tensors packed by upper triangle, column by column: 2D (m11, m12,
///   m22), 3D (m11, m12, m22, m13, m23, m33); the length asked along a unit
///   direction u is 1 / sqrt(u' M u).
/// - Results: 0 on success, -k when the k-th argument of the called overload is
///   invalid (arguments are tested in order), `storage_failure` (-199) when
///   storage cannot be obtained. Two families do not report storage failures:
///   mesh_line and mesh_spline return their argument codes only; a pass without
///   storage yields fewer elements, and results that cannot be stored are not
///   appended (pos left as it was). The chord-length mesh_line overloads still
///   return -199 when their parameters cannot be stored. No exception leaves the
///   library.
/// - 0xFFFFFFFF (`no_id`) stands for no node, no element or no color; the
///   largest double (`unset`) switches a setting off where documented.
/// - A NaN or infinite value that would make a new node, parameter or size non-finite
///   (a coordinate of a node being meshed or extruded, a translation, centre, angle or
///   rotation) gets the code of the argument that carries it, with the outputs as on a
///   failure; where an argument documents NaN (a tolerance that NaN switches off, a size
///   that NaN fails), that stays. Counts beyond what storage or 32-bit identifiers hold
///   are refused at once, as storage failures, before anything is allocated.

#include <vorn/dense.h>
#include <vorn/filum/export.h>

namespace vorn {
namespace filum {

/// \brief Result of an operation that could not obtain storage.
constexpr int storage_failure = -199;
/// \brief The identifier that stands for no node, no element or no color.
constexpr unsigned no_id = 0xFFFFFFFFu;
/// \brief The largest double; switches a tolerance or a limit off where documented.
constexpr double unset = 1.7976931348623157e308;

/// \brief The library's version, "5.4.1.0"; the same static string on every call.
FILUM_API const char* version() noexcept;

// ---------------------------------------------------------------------------
// Connectivity tools
// ---------------------------------------------------------------------------

/// \brief Appends the n - 1 E2 elements of a node chain to a connectivity.
/// \param[in] indices node chain; empty does nothing.
/// \param[in,out] connectE2 E2 connectivity (2 rows, or empty); columns appended.
/// \return 0; -1 for a one-node chain; -2 for a non-empty matrix without 2 rows; -199.
FILUM_API int indices_to_connectE2(const dense1D<unsigned>& indices,
                                   dense2D<unsigned>& connectE2) noexcept;

/// \brief Appends the (n - 1) / 2 E3 elements [start, end, middle] of a chain of odd length.
/// \param[in] indices node chain of odd length >= 3; empty does nothing.
/// \param[in,out] connectE3 E3 connectivity (3 rows, or empty); columns appended.
/// \return 0; -1 for a chain of even or too short length; -2 for a matrix without 3 rows; -199.
FILUM_API int indices_to_connectE3(const dense1D<unsigned>& indices,
                                   dense2D<unsigned>& connectE3) noexcept;

/// \brief Appends two E2 elements [s, m], [m, e] per E3 element [s, e, m].
/// \param[in] connectE3 E3 connectivity.
/// \param[in,out] connectE2 E2 connectivity (0 or 2 rows); columns appended.
/// \return 0; -1 when connectE3 does not have 3 rows; -2 when connectE2 has neither
/// 0 nor 2 rows; -199.
FILUM_API int split_into_linear(const dense2D<unsigned>& connectE3,
                                dense2D<unsigned>& connectE2) noexcept;

/// \brief Drops the interior nodes of every element: the connectivity keeps rows 0 and 1.
/// \param[in,out] connectM connectivity of 3 or more rows.
/// \return 0; -1 for fewer than 3 rows.
FILUM_API int convert_into_linear(dense2D<unsigned>& connectM) noexcept;

/// \brief Reverses every element in place: [s, e, i1, ..., iK] becomes [e, s, iK, ..., i1].
/// \param[in,out] connectM connectivity; fewer than 2 rows is left unchanged.
/// \return 0.
FILUM_API int flip(dense2D<unsigned>& connectM) noexcept;

/// \brief Gives every edge K new interior nodes evenly spaced on its chord.
/// \param[in,out] pos coordinates with 1, 2 or 3 rows; E x K new nodes appended,
/// edge e getting N0 + e K ... N0 + e K + K - 1. Restored on failure.
/// \param[in] connectM edges; rows 0 and 1 are read.
/// \param[in] interior_count K.
/// \param[out] connectM_high K + 2 rows [start, end, interior nodes], one column per edge.
/// \return 0; -1 for a row count of pos other than 1, 2, 3; -2 for an identifier
/// not below the column count of pos (or fewer than 2 rows); -199, also when the new
/// identifiers would not all be below 0xFFFFFFFF.
FILUM_API int convert_into_high_order(dense2D<double>& pos, const dense2D<unsigned>& connectM,
                                      unsigned interior_count,
                                      dense2D<unsigned>& connectM_high) noexcept;

/// \brief In-place form of convert_into_high_order: connectM is replaced by the result.
FILUM_API int convert_into_high_order(dense2D<double>& pos, dense2D<unsigned>& connectM,
                                      unsigned interior_count) noexcept;

/// \brief convert_into_high_order in place with one interior node per edge (E2 to E3).
FILUM_API int convert_into_quadratic(dense2D<double>& pos, dense2D<unsigned>& connectM) noexcept;

/// \brief Orients the elements consistently, spreading the orientation of one element
/// to its neighbors breadth first.
/// \param[in,out] connectM connectivity (rows 0 and 1 start and end nodes).
/// \param[in,out] neighbors table of the same shape: row 0 the element sharing the end
/// node, row 1 the one sharing the start node; kept in step with the reversals.
/// \param[in] start_element the element whose orientation wins.
/// \param[in] all_components 0: only the piece of start_element; otherwise also the
/// pieces reached by scanning forward from it.
/// \return the number of reversed elements; -1 bad connectivity; -2 table that does not
/// match (shape or content: the propagation stops at the first neighbor that does not
/// hold the shared node, keeping the reversals made before it); -3 start_element out of
/// range; -199 when working storage fails (reversals made before it stay).
FILUM_API int mesh_reorient(dense2D<unsigned>& connectM, dense2D<unsigned>& neighbors,
                            unsigned start_element, int all_components) noexcept;

// ---------------------------------------------------------------------------
// Line meshing
// ---------------------------------------------------------------------------

/// \brief Meshes a polyline given as a node chain into elements that follow sizes.
/// \param[in,out] pos coordinates (2 or 3 rows); the new nodes are appended.
/// \param[in] indices the chain, n >= 2 node identifiers.
/// \param[in] params n non-decreasing curvilinear parameters.
/// \param[in] sizes at least n strictly positive target sizes (the first n are used).
/// \param[in] force_even the element count must be even.
/// \param[in] min_elements at least 1.
/// \param[in] max_elements at least min_elements.
/// \param[in] chordal_tol > 0: largest distance of a given interior node from the mesh
/// (the line is split at its worst node until it holds); < 0: sizes capped by curvature
/// to a relative sag of -chordal_tol; 0, +-unset or NaN: off.
/// \param[in] min_size floor of the curvature cap.
/// \param[in,out] new_indices the new chain (first node, new nodes, last node), appended.
/// \param[out] new_params parameter of each entry of the new chain (emptied first).
/// \param[in,out] new_sizes size of each entry of the new chain, appended.
/// \return 0; -1 pos rows; -2 chain too short or identifier not below the column count
/// of pos; -3 params; -4 sizes; -6 counts; storage failures are not reported (see the
/// conventions at the top of this file).
FILUM_API int mesh_line(dense2D<double>& pos, const dense1D<unsigned>& indices,
                        const dense1D<double>& params, const dense1D<double>& sizes,
                        bool force_even, unsigned min_elements, unsigned max_elements,
                        double chordal_tol, double min_size, dense1D<unsigned>& new_indices,
                        dense1D<double>& new_params, dense1D<double>& new_sizes) noexcept;

/// \brief mesh_line with sizes, parameters taken as the normalized chord length.
/// \return as the overload with parameters with codes below -3 raised by one; -2 also
/// for a chain of total length 0 (or not finite); -199 when its parameters cannot be stored.
FILUM_API int mesh_line(dense2D<double>& pos, const dense1D<unsigned>& indices,
                        const dense1D<double>& sizes, bool force_even, unsigned min_elements,
                        unsigned max_elements, double chordal_tol, double min_size,
                        dense1D<unsigned>& new_indices, dense1D<double>& new_params,
                        dense1D<double>& new_sizes) noexcept;

/// \brief Meshes a polyline so that elements have unit length in metrics given at its nodes.
/// \param[in,out] pos coordinates (2 or 3 rows); the new nodes are appended.
/// \param[in] indices the chain, n >= 2 node identifiers.
/// \param[in] params n non-decreasing curvilinear parameters.
/// \param[in] metrics at least n columns, 3 rows (2D) or 6 rows (3D).
/// \param[in] force_even, min_elements, max_elements, chordal_tol, min_size as mesh_line
/// with sizes.
/// \param[in,out] new_indices the new chain, appended.
/// \param[out] new_params parameter of each entry of the new chain (emptied first).
/// \param[in,out] new_metrics metric of each entry of the new chain, appended (empty, or
/// 3 / 6 rows).
/// \return 0; -1; -2; -3; -4 metrics; -6 counts; -12 new_metrics rows.
FILUM_API int mesh_line(dense2D<double>& pos, const dense1D<unsigned>& indices,
                        const dense1D<double>& params, const dense2D<double>& metrics,
                        bool force_even, unsigned min_elements, unsigned max_elements,
                        double chordal_tol, double min_size, dense1D<unsigned>& new_indices,
                        dense1D<double>& new_params, dense2D<double>& new_metrics) noexcept;

/// \brief mesh_line with metrics, parameters taken as the normalized chord length.
/// \return as the overload with parameters with codes below -3 raised by one.
FILUM_API int mesh_line(dense2D<double>& pos, const dense1D<unsigned>& indices,
                        const dense2D<double>& metrics, bool force_even, unsigned min_elements,
                        unsigned max_elements, double chordal_tol, double min_size,
                        dense1D<unsigned>& new_indices, dense1D<double>& new_params,
                        dense2D<double>& new_metrics) noexcept;

/// \brief Meshes every segment of a chain as a straight edge of its own, keeping every
/// given node, with sizes along the chain.
/// \param[in,out] pos coordinates; new nodes appended (restored on failure).
/// \param[in] indices the chain; empty does nothing.
/// \param[in] sizes at least n sizes.
/// \param[in] force_even applied to every segment.
/// \param[in,out] new_indices the new chain, appended (restored on failure).
/// \return 0; -1 pos rows; -2 chain; -3 sizes.
FILUM_API int mesh_straight(dense2D<double>& pos, const dense1D<unsigned>& indices,
                            const dense1D<double>& sizes, bool force_even,
                            dense1D<unsigned>& new_indices) noexcept;

/// \brief mesh_straight with metrics along the chain (3 rows in 2D, 6 in 3D).
FILUM_API int mesh_straight(dense2D<double>& pos, const dense1D<unsigned>& indices,
                            const dense2D<double>& metrics, bool force_even,
                            dense1D<unsigned>& new_indices) noexcept;

/// \brief mesh_straight with the uniform size (chain length) / n_elements.
/// \return 0 for n_elements = 0; -2 chain; otherwise the sizes overload's code.
FILUM_API int mesh_straight(dense2D<double>& pos, const dense1D<unsigned>& indices,
                            unsigned n_elements, bool force_even,
                            dense1D<unsigned>& new_indices) noexcept;

/// \brief mesh_straight of the segment between two nodes with n_elements elements.
/// \return 0 for n_elements = 0; -2, -3 node out of range; otherwise the two-size code.
FILUM_API int mesh_straight(dense2D<double>& pos, unsigned first, unsigned last,
                            unsigned n_elements, dense1D<unsigned>& new_indices) noexcept;

/// \brief mesh_straight of a chain of three nodes with n_elements elements in all.
/// \return 0 for n_elements = 0; -2, -3, -4 node out of range; otherwise the count code.
FILUM_API int mesh_straight(dense2D<double>& pos, unsigned first, unsigned middle, unsigned last,
                            unsigned n_elements, dense1D<unsigned>& new_indices) noexcept;

/// \brief mesh_straight of the segment between two nodes with a size at each end.
/// \return -2, -3 node out of range; -4, -5 size not > 0; otherwise the sizes code.
FILUM_API int mesh_straight(dense2D<double>& pos, unsigned first, unsigned last, double size_first,
                            double size_last, bool force_even,
                            dense1D<unsigned>& new_indices) noexcept;

// ---------------------------------------------------------------------------
// Spline meshing
// ---------------------------------------------------------------------------

/// \brief Evaluates the spline piece from node i1 to node i2 at local parameter t.
/// \param[in] pos coordinates with 2 rows.
/// \param[in] i0 node before the piece (i1 for no start tangent).
/// \param[in] i1 start node (t = 0).
/// \param[in] i2 end node (t = 1).
/// \param[in] i3 node after the piece (i2 for no end tangent).
/// \param[in] t local parameter; values outside [0, 1] extrapolate.
/// \param[out] point P(t), written only on success.
/// \return 0; -1 pos rows; -2 ... -5 node out of range.
FILUM_API int spline_point(const dense2D<double>& pos, unsigned i0, unsigned i1, unsigned i2,
                           unsigned i3, double t, vector_fixed<double, 2>& point) noexcept;

/// \brief spline_point in space (pos with 3 rows).
FILUM_API int spline_point(const dense2D<double>& pos, unsigned i0, unsigned i1, unsigned i2,
                           unsigned i3, double t, vector_fixed<double, 3>& point) noexcept;

/// \brief Meshes the smooth spline through a padded node chain with sizes.
/// \param[in,out] pos coordinates (2 or 3 rows); new nodes appended.
/// \param[in] indices padded chain of N >= 4 entries: ghost, spline nodes, ghost.
/// \param[in] sizes at least N valid sizes, by chain position (ghost values unused).
/// \param[in] force_even the element count must be even.
/// \param[in] min_elements at least 1.
/// \param[in] max_elements at least min_elements.
/// \param[in] chordal_tol > 0 a distance, < 0 a fraction of the radius of curvature;
/// 0, -unset or NaN: no chordal limit.
/// \param[in] min_size >= 0, the smallest length the curvature may ask for.
/// \param[in] default_size size away from the spline nodes when it and max_gradation > 0.
/// \param[in] max_gradation gradation limit, active when 0 < value < unset.
/// \param[in,out] new_indices first spline node, new nodes, last spline node; appended.
/// \param[in,out] new_params 0, parameters of the new nodes, 1; appended.
/// \param[in,out] new_sizes size of each output node; appended.
/// \param[out] max_deviation largest distance of the spline from the node polyline.
/// \return 0; -1 pos rows; -2 chain; -3 sizes; -5 counts; -8 min_size; storage failures
/// are not reported (see the conventions at the top of this file).
FILUM_API int mesh_spline(dense2D<double>& pos, const dense1D<unsigned>& indices,
                          const dense1D<double>& sizes, bool force_even, unsigned min_elements,
                          unsigned max_elements, double chordal_tol, double min_size,
                          double default_size, double max_gradation, dense1D<unsigned>& new_indices,
                          dense1D<double>& new_params, dense1D<double>& new_sizes,
                          double& max_deviation) noexcept;

/// \brief mesh_spline with metrics (3 rows in 2D, 6 in 3D) instead of sizes.
/// \return as the sizes overload; -13 for a new_metrics with entries and a wrong row count.
FILUM_API int mesh_spline(dense2D<double>& pos, const dense1D<unsigned>& indices,
                          const dense2D<double>& metrics, bool force_even, unsigned min_elements,
                          unsigned max_elements, double chordal_tol, double min_size,
                          double default_size, double max_gradation, dense1D<unsigned>& new_indices,
                          dense1D<double>& new_params, dense2D<double>& new_metrics,
                          double& max_deviation) noexcept;

// ---------------------------------------------------------------------------
// Extrusion
// ---------------------------------------------------------------------------

/// \brief Appends start_point and n_elements nodes evenly spaced along translation.
/// \param[in,out] pos coordinates (2 rows, or empty); restored on failure.
/// \param[in] start_point the first node of the row.
/// \param[in] translation displacement from the first to the last node.
/// \param[in] n_elements number of new nodes after the start point; 0 does nothing.
/// \param[in,out] indices the row's chain [start, new nodes...], appended.
/// \return 0; -1 pos rows; -199.
FILUM_API int extrude_translate(dense2D<double>& pos, const vector_fixed<double, 2>& start_point,
                                const vector_fixed<double, 2>& translation, unsigned n_elements,
                                dense1D<unsigned>& indices) noexcept;

/// \brief Appends start_point and a row graded from size_start to size_end along translation.
/// \return 0; -1 pos rows; -3 translation of length 0; -4 size_start; -5 size_end; -199.
FILUM_API int extrude_translate(dense2D<double>& pos, const vector_fixed<double, 2>& start_point,
                                const vector_fixed<double, 2>& translation, double size_start,
                                double size_end, bool force_even,
                                dense1D<unsigned>& indices) noexcept;

/// \brief Appends n_elements nodes evenly spaced along translation from an existing node.
/// \return 0; -1 pos rows; -2 node out of range; -199.
FILUM_API int extrude_translate(dense2D<double>& pos, unsigned node,
                                const vector_fixed<double, 2>& translation, unsigned n_elements,
                                dense1D<unsigned>& indices) noexcept;

/// \brief Appends a graded row along translation from an existing node.
/// \return 0; -1; -2; -3; -4; -5; -199.
FILUM_API int extrude_translate(dense2D<double>& pos, unsigned node,
                                const vector_fixed<double, 2>& translation, double size_start,
                                double size_end, bool force_even,
                                dense1D<unsigned>& indices) noexcept;

/// \brief extrude_translate in space: start point, uniform row.
FILUM_API int extrude_translate(dense2D<double>& pos, const vector_fixed<double, 3>& start_point,
                                const vector_fixed<double, 3>& translation, unsigned n_elements,
                                dense1D<unsigned>& indices) noexcept;

/// \brief extrude_translate in space: start point, graded row.
FILUM_API int extrude_translate(dense2D<double>& pos, const vector_fixed<double, 3>& start_point,
                                const vector_fixed<double, 3>& translation, double size_start,
                                double size_end, bool force_even,
                                dense1D<unsigned>& indices) noexcept;

/// \brief extrude_translate in space: start node, uniform row.
FILUM_API int extrude_translate(dense2D<double>& pos, unsigned node,
                                const vector_fixed<double, 3>& translation, unsigned n_elements,
                                dense1D<unsigned>& indices) noexcept;

/// \brief extrude_translate in space: start node, graded row.
FILUM_API int extrude_translate(dense2D<double>& pos, unsigned node,
                                const vector_fixed<double, 3>& translation, double size_start,
                                double size_end, bool force_even,
                                dense1D<unsigned>& indices) noexcept;

/// \brief Appends start_point and n_elements nodes on the arc turning it by angle
/// (radians, counter-clockwise) about center, evenly spaced in angle.
/// \return 0; -1 pos rows; -199.
FILUM_API int extrude_rotate(dense2D<double>& pos, const vector_fixed<double, 2>& start_point,
                             const vector_fixed<double, 2>& center, double angle,
                             unsigned n_elements, dense1D<unsigned>& indices) noexcept;

/// \brief Appends start_point and an arc row graded from size_start to size_end.
/// \return 0; -1; -3 arc length 0; -5 size_start; -6 size_end; -199.
FILUM_API int extrude_rotate(dense2D<double>& pos, const vector_fixed<double, 2>& start_point,
                             const vector_fixed<double, 2>& center, double angle, double size_start,
                             double size_end, bool force_even, dense1D<unsigned>& indices) noexcept;

/// \brief Arc row of n_elements nodes from an existing node.
/// \return 0; -1; -2 node out of range; -199.
FILUM_API int extrude_rotate(dense2D<double>& pos, unsigned node,
                             const vector_fixed<double, 2>& center, double angle,
                             unsigned n_elements, dense1D<unsigned>& indices) noexcept;

/// \brief Graded arc row from an existing node.
/// \return 0; -1; -2; -3; -5; -6; -199.
FILUM_API int extrude_rotate(dense2D<double>& pos, unsigned node,
                             const vector_fixed<double, 2>& center, double angle, double size_start,
                             double size_end, bool force_even, dense1D<unsigned>& indices) noexcept;

/// \brief extrude_rotate in space about the axis through center along rotation, whose
/// length is the angle (radians, right-hand rule): start point, uniform row.
FILUM_API int extrude_rotate(dense2D<double>& pos, const vector_fixed<double, 3>& start_point,
                             const vector_fixed<double, 3>& center,
                             const vector_fixed<double, 3>& rotation, unsigned n_elements,
                             dense1D<unsigned>& indices) noexcept;

/// \brief extrude_rotate in space: start point, graded row.
FILUM_API int extrude_rotate(dense2D<double>& pos, const vector_fixed<double, 3>& start_point,
                             const vector_fixed<double, 3>& center,
                             const vector_fixed<double, 3>& rotation, double size_start,
                             double size_end, bool force_even, dense1D<unsigned>& indices) noexcept;

/// \brief extrude_rotate in space: start node, uniform row.
/// \return 0; -5 for n_elements = 0; -1; -2; -199.
FILUM_API int extrude_rotate(dense2D<double>& pos, unsigned node,
                             const vector_fixed<double, 3>& center,
                             const vector_fixed<double, 3>& rotation, unsigned n_elements,
                             dense1D<unsigned>& indices) noexcept;

/// \brief extrude_rotate in space: start node, graded row.
FILUM_API int extrude_rotate(dense2D<double>& pos, unsigned node,
                             const vector_fixed<double, 3>& center,
                             const vector_fixed<double, 3>& rotation, double size_start,
                             double size_end, bool force_even, dense1D<unsigned>& indices) noexcept;

// ---------------------------------------------------------------------------
// Size and metric fields
// ---------------------------------------------------------------------------

/// \brief Interpolates sizes given at parameters linearly onto new parameters.
/// \param[in] params at least 2 non-decreasing known parameters.
/// \param[in] sizes one size per known parameter.
/// \param[in] new_params non-decreasing, within the range of params.
/// \param[out] new_sizes one size per new parameter (emptied first).
/// \return 0; -1 params; -2 sizes; -3 new_params; -199.
FILUM_API int interpolate_metrics(const dense1D<double>& params, const dense1D<double>& sizes,
                                  const dense1D<double>& new_params,
                                  dense1D<double>& new_sizes) noexcept;

/// \brief Interpolates sizes (1 row) or metrics (3 or 6 rows) onto new parameters; metrics
/// vary linearly in size along the common directions of each bracketing pair.
/// \return 0; -1 params; -2 metrics shape; -3 new_params; -199.
FILUM_API int interpolate_metrics(const dense1D<double>& params, const dense2D<double>& metrics,
                                  const dense1D<double>& new_params,
                                  dense2D<double>& new_metrics) noexcept;

/// \brief Merges, at each listed node, the metric of size h1 along the node's vector and
/// h2 across it into metrics (intersection with what the node holds).
/// \param[in] vectors one 2D vector per node identifier (2 rows).
/// \param[in] nodes identifiers to process.
/// \param[in] h1 size along the vector, > 0.
/// \param[in] h2 size across the vector, > 0.
/// \param[in,out] metrics empty or 3 rows; grown to cover every identifier.
/// \return 0; -1; -2; -3; -4; -5; -199.
FILUM_API int metrics_gen_aniso2d(const dense2D<double>& vectors, const dense1D<unsigned>& nodes,
                                  double h1, double h2, dense2D<double>& metrics) noexcept;

/// \brief Merges at the nodes of every E2 element the metric of size the element length
/// along it and hn across it (hn = 0: the length; hn < 0: |hn| x the length).
/// \return 0; -1 pos rows; -2 connectivity; -4 metrics rows; -199.
FILUM_API int metrics_gen_aniso2d(const dense2D<double>& pos, const dense2D<unsigned>& connectM,
                                  double hn, dense2D<double>& metrics) noexcept;

/// \brief metrics_gen_aniso2d with elements in space: the size hn in both normal directions.
FILUM_API int metrics_gen_aniso3d(const dense2D<double>& pos, const dense2D<unsigned>& connectM,
                                  double hn, dense2D<double>& metrics) noexcept;

/// \brief Metrics in space from E2 elements with size hv along the principal normal of the
/// bend at each node and hw along its binormal.
/// \return 0; -1; -2; -5 metrics rows; -199.
FILUM_API int metrics_gen_aniso3d(const dense2D<double>& pos, const dense2D<unsigned>& connectM,
                                  double hv, double hw, dense2D<double>& metrics) noexcept;

// ---------------------------------------------------------------------------
// Geometric measures
// ---------------------------------------------------------------------------

/// \brief Total length of a node chain.
/// \param[in] pos coordinates (2 or 3 rows).
/// \param[in] indices the chain.
/// \param[out] total the sum of the chord lengths (partial sum up to a bad identifier).
/// \return 0; -1 pos rows; -2 chain shorter than 2 or identifier out of range.
FILUM_API int length(const dense2D<double>& pos, const dense1D<unsigned>& indices,
                     double& total) noexcept;

/// \brief Total length of edge elements, measured between rows 0 and 1.
/// \return 0; -1 pos rows; -2 identifier out of range.
FILUM_API int length(const dense2D<double>& pos, const dense2D<unsigned>& connectM,
                     double& total) noexcept;

/// \brief Curvature estimate at every node of a chain from the turning of its segments.
/// \param[in] pos coordinates (2 or 3 rows).
/// \param[in] indices the chain.
/// \param[out] values one curvature per chain entry (emptied first).
/// \return 0; -1 pos rows; -2 identifier out of range; -199.
FILUM_API int curvatures(const dense2D<double>& pos, const dense1D<unsigned>& indices,
                         dense1D<double>& values) noexcept;

/// \brief Places nodes on a polyline by linear interpolation in a curvilinear parameter.
/// \param[in,out] pos coordinates; the columns of new_indices are overwritten.
/// \param[in] indices chain of existing nodes.
/// \param[in] params one non-decreasing parameter per chain entry.
/// \param[in] new_indices nodes to place (existing columns of pos).
/// \param[in] new_params one non-decreasing parameter per node to place; a value below the
/// chain's range takes its first node, one beyond it follows the line of its last segment.
/// \return 0; -2 params length, chain identifier, or nodes to place with an empty chain;
/// -3 params order; -4 new_params length or identifier; -5 new_params order.
FILUM_API int interpolate_coordinates(dense2D<double>& pos, const dense1D<unsigned>& indices,
                                      const dense1D<double>& params,
                                      const dense1D<unsigned>& new_indices,
                                      const dense1D<double>& new_params) noexcept;

/// \brief Curvature at the nodes of a parametric line mesh from the first derivative
/// at each node, averaged over the elements weighted by their parameter spans.
/// \param[in] params curve parameter of each node (N values).
/// \param[in] connectM E2 elements.
/// \param[in] derivatives dr/du at each node, 2 or 3 rows, N columns.
/// \param[out] values one curvature per node (emptied first).
/// \return 0; -2 identifier not below N; -3 derivatives shape; -199.
FILUM_API int parametric_curvatures(const dense1D<double>& params,
                                    const dense2D<unsigned>& connectM,
                                    const dense2D<double>& derivatives,
                                    dense1D<double>& values) noexcept;

/// \brief Node normals of a planar line mesh from its element normals (left of each
/// element), weighted by length^exponent; exponent +unset takes the longest element,
/// -unset the shortest.
/// \param[in] pos coordinates (2 rows).
/// \param[in] connectM E2 elements.
/// \param[in] exponent weight of an element normal: its length to this power.
/// \param[in] normalize scale every node normal to unit length.
/// \param[out] values 2 rows, one normal per column of pos (emptied first).
/// \return 0; -1 pos rows; -2 connectivity rows or identifier out of range; -199.
FILUM_API int normals(const dense2D<double>& pos, const dense2D<unsigned>& connectM,
                      double exponent, bool normalize, dense2D<double>& values) noexcept;

// ---------------------------------------------------------------------------
// Parameter tools
// ---------------------------------------------------------------------------

/// \brief Sorts values ascending together with their identifiers (equal values by
/// ascending identifier).
/// \return 0; -1 lengths differ; -199.
FILUM_API int sort(dense1D<double>& values, dense1D<unsigned>& ids) noexcept;

/// \brief Meshes a chain in parameter space only: appends the parameters and sizes of the
/// new nodes and the new chain.
/// \param[in,out] params one parameter per entry; new parameters appended.
/// \param[in,out] sizes one size per entry of params; new sizes appended.
/// \param[in] indices the chain as positions in params, at least 2.
/// \param[in] raise_count add one element when the count is below the real count.
/// \param[in] force_even the element count must be even.
/// \param[in] min_elements at least 1.
/// \param[in] max_elements at least min_elements.
/// \param[in,out] new_indices the new chain, appended.
/// \return 0; -2 chain or sizes shorter than params; -6 counts; -199 appending failed.
FILUM_API int subdivide(dense1D<double>& params, dense1D<double>& sizes,
                        const dense1D<unsigned>& indices, bool raise_count, bool force_even,
                        unsigned min_elements, unsigned max_elements,
                        dense1D<unsigned>& new_indices) noexcept;

// ---------------------------------------------------------------------------
// Remeshing of line networks
// ---------------------------------------------------------------------------

/// \brief Remeshes a network of E2 elements line by line, cut at free ends, corners,
/// head-to-head joints, color changes, hard nodes and hard edges.
/// \param[in,out] pos coordinates (2 or 3 rows); new nodes appended; restored on failure.
/// \param[in,out] connectM E2 elements; replaced by the new elements on success.
/// \param[in] default_size size of every node by default, >= 0.
/// \param[in] node_sizes per node identifier; an entry > 0 overrides the default.
/// \param[in,out] colors one color per element (no_id: none); replaced by one per new element.
/// \param[in,out] hard_nodes nodes that must survive; replaced by every hard node, ascending.
/// \param[in] hard_edges elements passed through unchanged.
/// \param[in] force_even every line gets an even element count.
/// \param[in] corner_angle degrees, >= 0.
/// \param[in] chordal_tol 0: polylines only; > 0: spline where it stays within the tolerance;
/// < 0: spline always.
/// \param[in] max_gradation >= 0.
/// \param[in] min_size >= 0.
/// \param[in] min_elements per line.
/// \param[in] max_elements per line, >= min_elements.
/// \return 0; -1; -2; -3; -7; -9; -11; -12; -13; -199; or a line mesher's code.
FILUM_API int remesh_lines(dense2D<double>& pos, dense2D<unsigned>& connectM, double default_size,
                           const dense1D<double>& node_sizes, dense1D<unsigned>& colors,
                           dense1D<unsigned>& hard_nodes, const dense1D<unsigned>& hard_edges,
                           bool force_even, double corner_angle, double chordal_tol,
                           double max_gradation, double min_size, unsigned min_elements,
                           unsigned max_elements) noexcept;

/// \brief remesh_lines with colors, without node sizes, hard nodes or hard edges.
/// \return the general overload's code, raised by 3 when below -4.
FILUM_API int remesh_lines(dense2D<double>& pos, dense2D<unsigned>& connectM, double default_size,
                           dense1D<unsigned>& colors, bool force_even, double corner_angle,
                           double chordal_tol, double max_gradation, double min_size,
                           unsigned min_elements, unsigned max_elements) noexcept;

/// \brief remesh_lines without colors.
/// \return the general overload's code, raised by 4 when below -7.
FILUM_API int remesh_lines(dense2D<double>& pos, dense2D<unsigned>& connectM, double default_size,
                           bool force_even, double corner_angle, double chordal_tol,
                           double max_gradation, double min_size, unsigned min_elements,
                           unsigned max_elements) noexcept;

}  // namespace filum
}  // namespace vorn

#endif
