#ifndef FILUM_DEMO_NETWORK_H
#define FILUM_DEMO_NETWORK_H

// A line network as the demo keeps it: the network of the file formats with what the
// demo adds (sizes, hard edges, names, a detail), converted to the library's containers at
// the call.

#include <string>
#include <vector>

#include <vorn/filum/io/network.h>

namespace demo {

/// A network of two-node edges in the plane (dim 2) or in space (dim 3).
struct network : vorn::filum::io::line_network {
  std::vector<unsigned> hard_edges;  ///< elements kept as they are
  std::vector<double> node_sizes;    ///< target size per node (0: the default size)
  std::vector<std::string> names;    ///< a name per color, for the report
  std::vector<double> zoom;          ///< x0, y0, x1, y1 of a detail worth showing, or empty

  /// Appends a node with its target size and returns its identifier.
  unsigned add_node(const double* p, double size);
  /// Appends the elements joining consecutive nodes of a chain, all of one color.
  /// Returns the identifier of the first new element.
  unsigned add_chain(const std::vector<unsigned>& chain, unsigned color);
  /// Appends the polyline through the given points (dim values each) as elements of one
  /// color; a closed polyline returns to its first node. Returns the first new element.
  unsigned add_polyline(const std::vector<double>& points, bool closed, unsigned color,
                        double size);
};

}  // namespace demo

#endif
