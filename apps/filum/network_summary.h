#ifndef FILUM_APPS_NETWORK_SUMMARY_H
#define FILUM_APPS_NETWORK_SUMMARY_H

// The figures `filum info` prints about a network.

#include <cstddef>
#include <vector>

#include <vorn/filum/io/network.h>

namespace filum_cli {

struct network_summary {
  std::size_t nodes = 0;
  std::size_t elements = 0;
  std::size_t lines = 0;         ///< as remesh_lines cuts them (see summarize)
  std::size_t closed_loops = 0;  ///< lines that close on themselves without a cut
  std::size_t colors = 0;        ///< distinct colors, "no color" not counted
  double total_length = 0;
  double shortest = 0;            ///< shortest element length
  double longest = 0;             ///< longest element length
  std::vector<double> low, high;  ///< bounding box of the nodes, dim values each
  bool looks_geographic = false;  ///< from a GIS format, plane, within longitude/latitude ranges
};

/// \brief The figures of a network. Lines are cut where remesh_lines cuts them: at nodes
/// used by other than two elements, at color changes, where two elements meet head to head
/// or tail to tail, and where the line turns by more than corner_angle degrees.
/// \param net the network. \param corner_angle degrees.
/// \param from_gis the network comes from a GIS format (GeoJSON, multi-segment text).
network_summary summarize(const vorn::filum::io::line_network& net, double corner_angle,
                          bool from_gis);

}  // namespace filum_cli

#endif
