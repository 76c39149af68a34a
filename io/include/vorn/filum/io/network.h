#ifndef VORN_FILUM_IO_NETWORK_H
#define VORN_FILUM_IO_NETWORK_H

/// \file
/// \brief The in-memory line network that every file format reads into and writes from,
/// and the error the readers and writers throw.

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include <vorn/filum/io_export.h>

namespace vorn {
namespace filum {
namespace io {

/// \brief No color, no node: the core library's no_id.
constexpr unsigned none = 0xFFFFFFFFu;

/// \brief Values attached to every node (point array) or every element (cell array).
struct named_array {
  std::string name;            ///< as the file names it
  unsigned components = 1;     ///< values per node or element
  std::vector<double> values;  ///< components values per entry, entry by entry
};

/// \brief A network of two-node line elements in the plane (dim 2) or in space (dim 3).
struct line_network {
  int dim = 2;                            ///< 2 or 3 coordinates per node
  std::vector<double> coords;             ///< dim values per node
  std::vector<unsigned> edges;            ///< 2 node indices per element
  std::vector<unsigned> colors;           ///< one per element (none: no color), or empty
  std::vector<std::int64_t> node_tags;    ///< the file's node numbers, or empty (1, 2, ...)
  std::vector<std::string> color_names;   ///< name of color c at index c, or empty
  std::vector<named_array> point_arrays;  ///< one entry per node each
  std::vector<named_array> cell_arrays;   ///< one entry per element each

  /// \brief Number of nodes.
  std::size_t node_count() const { return coords.size() / static_cast<std::size_t>(dim); }
  /// \brief Number of elements.
  std::size_t element_count() const { return edges.size() / 2; }
  /// \brief Color of element e, none when the network has no colors.
  unsigned color(std::size_t e) const { return e < colors.size() ? colors[e] : none; }
};

/// \brief Bad input or a failed write: the message names the file, the line (or byte
/// offset for binary data), what was expected and what was found.
class FILUM_IO_API error : public std::runtime_error {
 public:
  /// \brief An error with its full message.
  /// \param message "FILE:LINE: what" or "FILE: what".
  explicit error(const std::string& message) : std::runtime_error(message) {}
};

/// \brief Checks that every element refers to an existing node, that every coordinate is
/// finite and that colors and arrays have one entry per element or node.
/// \param net the network.
/// \param name the file it came from, for the message.
/// \throws error on the first fault found.
FILUM_IO_API void validate(const line_network& net, const std::string& name);

/// \brief Joins the nodes that lie within tolerance of each other (0: exactly equal
/// coordinates), keeping the first, and renumbers the elements; point arrays keep the
/// first node's values. Elements that become [a, a] are dropped.
/// \param net the network, changed in place.
/// \param tolerance >= 0, a distance.
/// \param old_to_new when given, receives the new index of every former node.
/// \return the number of nodes removed.
FILUM_IO_API std::size_t merge_coincident_nodes(line_network& net, double tolerance,
                                                std::vector<unsigned>* old_to_new = nullptr);

/// \brief Removes the nodes no element uses, renumbering the elements, the tags and the
/// point arrays.
/// \param net the network, changed in place.
/// \return the number of nodes removed.
FILUM_IO_API std::size_t drop_unused_nodes(line_network& net);

}  // namespace io
}  // namespace filum
}  // namespace vorn

#endif
