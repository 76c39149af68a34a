#ifndef FILUM_REMESH_NETWORK_ANALYSIS_H
#define FILUM_REMESH_NETWORK_ANALYSIS_H

// The analysis of a line network before its lines are remeshed: the hard nodes and edges,
// the lines in compressed form, the size of every node and the color of every line.

#include <cstddef>

#include <vorn/dense.h>

#include "remesh/node_set.h"

namespace vorn {
namespace filum {

/// \brief The scalar settings of a remeshing call, passed through unchanged to the line
/// meshers where they apply.
struct remesh_settings {
  double default_size;    ///< size of a node without its own, >= 0
  bool force_even;        ///< every line gets an even element count
  double corner_angle;    ///< turning angle in degrees that makes a corner, >= 0
  double chordal_tol;     ///< 0: polylines; > 0: spline when within it; < 0: spline always
  double max_gradation;   ///< gradation limit of the spline sizes, >= 0
  double min_size;        ///< corner test floor, line-end cap floor and mesher floor, >= 0
  unsigned min_elements;  ///< per line
  unsigned max_elements;  ///< per line, >= min_elements
};

/// \brief What the analysis of a network yields: the hard nodes and edges, the lines in
/// compressed form and the size of every node identifier 0 .. N.
struct line_network {
  node_set hard_nodes;
  node_set hard_edges;
  dense1D<unsigned> line_starts;
  dense1D<unsigned> line_elements;
  dense1D<double> sizes;

  std::size_t line_count() const noexcept { return line_starts.size() - 1; }
  const unsigned* elements_of(std::size_t i) const noexcept {
    return line_elements.data() + line_starts[i];
  }
  std::size_t element_count(std::size_t i) const noexcept {
    return line_starts[i + 1] - line_starts[i];
  }
  /// \brief The element count of the longest line.
  std::size_t longest_line() const noexcept;
};

/// \brief Cuts a checked, non-empty E2 network into lines and sizes its nodes.
///
/// Lines are cut at free ends, head-to-head nodes, corners, the nodes of hard edges, the
/// given hard nodes not above the largest node identifier N, and color changes (when
/// colors is not empty). Every node is sized default_size, lowered at each line end to the
/// line's length (at least min_size) and overridden by a positive node_sizes entry.
/// \param[in] pos D rows, every node of connectM a column.
/// \param[in] connectM E2 elements (rows 0 and 1 read).
/// \param[in] colors one color per element (no_id: none), or empty.
/// \param[in] hard_nodes nodes that must survive.
/// \param[in] hard_edges element identifiers, each a column of connectM.
/// \param[in] node_sizes per node identifier; an entry > 0 overrides the size of the node.
/// \param[in] settings checked scalar settings.
/// \param[out] net the analysis; only the working storage it needs is kept.
/// \param[in] neighbors the network's neighbor table (as tessa::get_neighbors gives it)
/// when the caller has it, or nullptr to build it here.
/// \param[in] corners the nodes detect_corners adds (as corner_nodes gives them, in any
/// order) when the caller found them, from the given neighbors; nullptr to find them here.
/// \return 0; -199 when storage fails; the negative code of the neighbor or color
/// boundary search (returned once the lines are cut and sized; on any other failure
/// net.line_starts is empty).
template <std::size_t D>
int analyze_network(const dense2D<double>& pos, const dense2D<unsigned>& connectM,
                    const dense1D<unsigned>& colors, const dense1D<unsigned>& hard_nodes,
                    const dense1D<unsigned>& hard_edges, const dense1D<double>& node_sizes,
                    const remesh_settings& settings, line_network& net,
                    const dense2D<unsigned>* neighbors = nullptr,
                    const dense1D<unsigned>* corners = nullptr) noexcept;

extern template int analyze_network<2>(const dense2D<double>&, const dense2D<unsigned>&,
                                       const dense1D<unsigned>&, const dense1D<unsigned>&,
                                       const dense1D<unsigned>&, const dense1D<double>&,
                                       const remesh_settings&, line_network&,
                                       const dense2D<unsigned>*, const dense1D<unsigned>*) noexcept;
extern template int analyze_network<3>(const dense2D<double>&, const dense2D<unsigned>&,
                                       const dense1D<unsigned>&, const dense1D<unsigned>&,
                                       const dense1D<unsigned>&, const dense1D<double>&,
                                       const remesh_settings&, line_network&,
                                       const dense2D<unsigned>*, const dense1D<unsigned>*) noexcept;

/// \brief The first step of analyze_network: builds the hard node and edge sets, sets
/// every node's size to default_size and cuts the network into lines.
/// \param[out] color_code the code of the color boundary search (0 without colors); the
/// caller returns it once the sizes are set.
/// \return 0; -199 when storage fails; the negative code of the neighbor search.
/// The other parameters are those of analyze_network.
template <std::size_t D>
int cut_into_lines(const dense2D<double>& pos, const dense2D<unsigned>& connectM,
                   const dense1D<unsigned>& colors, const dense1D<unsigned>& hard_nodes,
                   const dense1D<unsigned>& hard_edges, const remesh_settings& settings,
                   line_network& net, int& color_code, const dense2D<unsigned>* neighbors = nullptr,
                   const dense1D<unsigned>* corners = nullptr) noexcept;

extern template int cut_into_lines<2>(const dense2D<double>&, const dense2D<unsigned>&,
                                      const dense1D<unsigned>&, const dense1D<unsigned>&,
                                      const dense1D<unsigned>&, const remesh_settings&,
                                      line_network&, int&, const dense2D<unsigned>*,
                                      const dense1D<unsigned>*) noexcept;
extern template int cut_into_lines<3>(const dense2D<double>&, const dense2D<unsigned>&,
                                      const dense1D<unsigned>&, const dense1D<unsigned>&,
                                      const dense1D<unsigned>&, const remesh_settings&,
                                      line_network&, int&, const dense2D<unsigned>*,
                                      const dense1D<unsigned>*) noexcept;

/// \brief The length of line i of a cut network: the distances between consecutive nodes
/// of its chain, summed in chain order. Lines are independent, so any thread may take any.
template <std::size_t D>
double line_length(const dense2D<double>& pos, const dense2D<unsigned>& connectM,
                   const line_network& net, std::size_t i) noexcept;

extern template double line_length<2>(const dense2D<double>&, const dense2D<unsigned>&,
                                      const line_network&, std::size_t) noexcept;
extern template double line_length<3>(const dense2D<double>&, const dense2D<unsigned>&,
                                      const line_network&, std::size_t) noexcept;

/// \brief The last step of analyze_network: lowers the size of both end nodes of every
/// line to its length (at least min_size), then gives each node of a line with a positive
/// node_sizes entry that entry.
/// \param[in] lengths line_length of every line of net.
void size_line_ends(const dense2D<unsigned>& connectM, const dense1D<double>& node_sizes,
                    double min_size, const dense1D<double>& lengths, line_network& net) noexcept;

/// \brief Hands out the color of each line, in line order: the first real color among
/// its elements, or else the next new color above every color in use.
class line_colors {
 public:
  /// \param[in] colors one color per element (no_id: none), or empty; must outlive this.
  explicit line_colors(const dense1D<unsigned>& colors) noexcept;

  /// \brief The color of the line made of count elements from elements.
  unsigned of(const unsigned* elements, std::size_t count) noexcept;

 private:
  const dense1D<unsigned>& colors_;
  unsigned next_;
};

/// \brief Hands the hard nodes to the caller in ascending order.
/// \return false (hard_nodes unchanged) when storage fails.
bool sorted_hard_nodes(const node_set& hard, dense1D<unsigned>& hard_nodes) noexcept;

}  // namespace filum
}  // namespace vorn

#endif
