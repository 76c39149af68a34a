#ifndef VORN_FILUM_NETWORK_H
#define VORN_FILUM_NETWORK_H

/// \file
/// \brief The network engine: parallel, deterministic remeshing of large line networks.
///
/// Built on the operations of <vorn/filum.h>, in its own library (vorn::filum_network) so
/// that the core keeps no state and starts no threads. Results are bit-identical for every
/// thread count.

#include <cstddef>

#include <vorn/filum.h>
#include <vorn/filum/network_export.h>

namespace vorn {
namespace filum {

/// \brief Where the new nodes of a line meshed through its spline are put.
enum class placement : unsigned char {
  sample_polyline,  ///< on the spline's sample polyline, as remesh_lines puts them
  on_curve          ///< on the spline itself, at each node's parameter
};

/// \brief How one line of the network was remeshed.
enum class line_path : unsigned char {
  spline,     ///< through its spline
  polyline,   ///< along its polyline
  hard_edge,  ///< a hard edge alone, passed through
  dropped     ///< a closed line shorter than network_options::min_closed_length
};

/// \brief The settings of remesh_network; the defaults are what most networks want.
struct network_options {
  double size = 0;                    ///< size of a node without a node_sizes entry, > 0 unless
                                      ///< node_sizes sizes every node
  double chordal_tol = -0.01;         ///< as remesh_lines: 0 polylines; > 0 spline within it;
                                      ///< < 0 spline always, sag a fraction of the curvature radius
  double corner_angle = 30;           ///< turning angle in degrees that makes a corner
  double max_gradation = 0;           ///< gradation limit of the spline sizes; 0: none
  double min_size = 0;                ///< smallest size the curvature may ask for
  unsigned min_elements = 1;          ///< per line
  unsigned max_elements = no_id - 1;  ///< per line
  bool force_even = false;            ///< every line gets an even element count
  unsigned threads = 0;               ///< 0: every hardware thread; capped by the caller's
                                      ///< own arena or limit when there is one
  /// where the new nodes of a spline line go
  placement node_placement = placement::sample_polyline;
  unsigned min_closed_elements = 3;  ///< element count floor of a closed line
  double min_closed_length = 0;      ///< closed lines shorter than this are dropped
};

/// \brief What happened to one line.
struct line_record {
  line_path path;         ///< how it was meshed
  unsigned elements_in;   ///< its input elements
  unsigned elements_out;  ///< its new elements (0 when dropped)
  double length;          ///< its polyline length
  double max_deviation;   ///< largest distance of its spline from its polyline
                          ///< (0 for a polyline path)
  bool capped;            ///< its element count was held at max_elements
};

/// \brief What remesh_network did, for the caller to log or check.
struct network_report {
  std::size_t lines = 0;                 ///< lines the network was cut into
  std::size_t elements_in = 0;           ///< elements given
  std::size_t elements_out = 0;          ///< elements returned
  std::size_t self_loops_dropped = 0;    ///< elements [a, a] dropped
  std::size_t zero_length_dropped = 0;   ///< elements of length 0 dropped
  std::size_t duplicates_dropped = 0;    ///< repeated elements dropped
  std::size_t closed_lines_dropped = 0;  ///< closed lines below min_closed_length
  double closed_length_dropped = 0;      ///< their total length
  double max_deviation = 0;              ///< largest line deviation
  unsigned threads_used = 0;             ///< threads that meshed lines
  double seconds_analysis = 0;           ///< cutting the network into lines
  double seconds_meshing = 0;            ///< meshing the lines
  double seconds_assembly = 0;           ///< appending the new nodes and elements
  dense1D<line_record> lines_detail;     ///< one record per line, in line order
};

/// \brief Remeshes a network of E2 elements line by line, in parallel; the job of the
/// general remesh_lines with its settings in one struct.
/// \param[in,out] pos coordinates (2 or 3 rows); new nodes appended; restored on failure.
/// \param[in,out] connectM E2 elements; replaced by the new elements on success.
/// \param[in,out] colors one color per element or empty; replaced by one per new element.
/// \param[in,out] hard_nodes nodes that must survive; replaced by every hard node, ascending.
/// \param[in] hard_edges elements passed through unchanged.
/// \param[in] node_sizes per node identifier; an entry > 0 overrides options.size.
/// \param[in] options the settings.
/// \param[out] report what was done.
/// \return 0; the codes of remesh_lines for its arguments (pos -1, connectM -2, size -3,
/// hard_edges -7, corner_angle -9, max_gradation -11, min_size -12, counts -13, and the
/// line meshers' own); -14 for a negative or NaN min_closed_length; -199 when storage
/// fails, with every argument as it came.
///
/// Unlike remesh_lines, elements [a, a], elements of length 0 and elements joining the
/// same two nodes as an earlier one are dropped and counted in the report; a closed line
/// gets at least min_closed_elements elements (max_elements rises to that floor if below)
/// or is dropped when shorter than min_closed_length. On other networks, with
/// placement::sample_polyline, the outputs are those of remesh_lines bit for bit.
FILUM_NETWORK_API int remesh_network(dense2D<double>& pos, dense2D<unsigned>& connectM,
                                     dense1D<unsigned>& colors, dense1D<unsigned>& hard_nodes,
                                     const dense1D<unsigned>& hard_edges,
                                     const dense1D<double>& node_sizes,
                                     const network_options& options,
                                     network_report& report) noexcept;

/// \brief mesh_spline with sizes, the new nodes evaluated on the spline itself at their
/// parameter: the same element count and sizes, nodes exactly on the curve.
/// Arguments and codes as mesh_spline with sizes.
FILUM_NETWORK_API int mesh_spline_on_curve(dense2D<double>& pos, const dense1D<unsigned>& indices,
                                           const dense1D<double>& sizes, bool force_even,
                                           unsigned min_elements, unsigned max_elements,
                                           double chordal_tol, double min_size, double default_size,
                                           double max_gradation, dense1D<unsigned>& new_indices,
                                           dense1D<double>& new_params, dense1D<double>& new_sizes,
                                           double& max_deviation) noexcept;

}  // namespace filum
}  // namespace vorn

#endif
