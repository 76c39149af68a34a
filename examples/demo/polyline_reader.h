#ifndef FILUM_DEMO_POLYLINE_READER_H
#define FILUM_DEMO_POLYLINE_READER_H

// Reads polylines from plain text: one polyline per block of "x y" or "x y z" lines,
// blocks separated by blank lines, '#' starts a comment. A block whose last point equals
// its first is a closed loop.

#include <istream>
#include <string>
#include <vector>

namespace demo {

struct polyline {
  std::vector<double> points;  ///< dim values per point, the closing repeat removed
  bool closed = false;
};

struct polyline_file {
  int dim = 0;
  std::vector<polyline> lines;
};

/// Parses the text; on failure returns false and sets error to a message that names the
/// offending line ("line 7: ...").
bool read_polylines(std::istream& in, polyline_file& out, std::string& error);

}  // namespace demo

#endif
