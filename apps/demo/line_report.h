#ifndef FILUM_DEMO_LINE_REPORT_H
#define FILUM_DEMO_LINE_REPORT_H

// Per-line figures of a remeshed network: element counts, element lengths relative to the
// target size of the line's curve, and how far the new nodes lie from the input curve.

#include <string>
#include <vector>

#include "network.h"

namespace demo {

struct line_row {
  std::string name;
  std::size_t elements = 0;
  double shortest = 0;   ///< smallest element length / target size at its midpoint
  double longest = 0;    ///< largest element length / target size at its midpoint
  double deviation = 0;  ///< largest distance of the line's nodes from the input curve
};

/// Cuts the output into its lines (consecutive elements that continue one another and do
/// not pass a hard node) and measures each against the input curve of the same color.
std::vector<line_row> line_report(const network& input, const network& output,
                                  const std::vector<unsigned>& hard_nodes);

}  // namespace demo

#endif
