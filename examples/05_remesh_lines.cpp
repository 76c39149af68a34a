// Remeshing a network: a square of side 4 given by its four corners around a circle of
// radius 1 given by 12 nodes, remeshed to elements of length 0.25. The corners stay, the
// circle, whose nodes turn by 30 degrees (below the corner angle), is remeshed through its
// spline.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include <vorn/filum.h>
using namespace vorn;

int main() {
  const unsigned corners = 4, ring = 12;
  const double pi = 3.14159265358979323846;
  dense2D<double> pos(2, corners + ring);
  dense2D<unsigned> elements(2, corners + ring);  // E2 elements [start, end]
  const double square[4][2] = {{0, 0}, {4, 0}, {4, 4}, {0, 4}};
  for (unsigned k = 0; k < corners; ++k) {
    pos(0, k) = square[k][0], pos(1, k) = square[k][1];
    elements(0, k) = k, elements(1, k) = (k + 1) % corners;
  }
  for (unsigned k = 0; k < ring; ++k) {
    pos(0, corners + k) = 2 + std::cos(2 * pi * k / ring);
    pos(1, corners + k) = 2 + std::sin(2 * pi * k / ring);
    elements(0, corners + k) = corners + k, elements(1, corners + k) = corners + (k + 1) % ring;
  }

  int code = filum::remesh_lines(pos, elements, /*default_size=*/0.25, /*force_even=*/false,
                                 /*corner_angle=*/45, /*chordal_tol=*/-0.01, /*max_gradation=*/0,
                                 /*min_size=*/0, /*min_elements=*/1, /*max_elements=*/1000);
  if (code != 0) return std::printf("remesh_lines failed: %d\n", code), 1;

  // Sort the new elements by the curve they lie on: the circle's nodes are near radius 1.
  unsigned on_square = 0, on_circle = 0, corners_kept = 0;
  double worst = 0;
  for (std::size_t e = 0; e < elements.cols(); ++e) {
    const unsigned node = elements(0, e);
    const double radius = std::hypot(pos(0, node) - 2, pos(1, node) - 2);
    if (node < corners) ++corners_kept;
    if (radius > 1.5) {
      ++on_square;
    } else {
      ++on_circle, worst = std::max(worst, std::fabs(radius - 1));
    }
  }
  std::printf("square: %u elements, %u of 4 corners kept\n", on_square, corners_kept);
  std::printf("circle: %u elements, nodes within %.4f of the circle\n", on_circle, worst);
}
