#ifndef FILUM_DEMO_CURVE_INDEX_H
#define FILUM_DEMO_CURVE_INDEX_H

// Nearest-element queries on a network, through a uniform grid over x and y, so that
// measuring a remeshed network against its input stays fast on large files.

#include <vector>

#include "network.h"

namespace demo {

class curve_index {
 public:
  explicit curve_index(const network& net);

  struct hit {
    double distance = 1e300;  ///< distance to the nearest element of the color
    double size = 0;          ///< the node sizes interpolated at the nearest point
  };

  /// The nearest point to p (dim coordinates) on the elements of the given color.
  hit nearest(const double* p, unsigned color) const;

 private:
  const network& net_;
  double x0_ = 0, y0_ = 0, cell_ = 1;
  long nx_ = 1, ny_ = 1;
  std::vector<unsigned> starts_;    // per cell, where its elements begin in elements_
  std::vector<unsigned> elements_;  // element identifiers, cell by cell

  long cell_x(double x) const;
  long cell_y(double y) const;
};

}  // namespace demo

#endif
