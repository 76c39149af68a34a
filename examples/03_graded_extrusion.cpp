// A graded extrusion: a row of nodes from (0, 0) along (10, 0) whose element lengths grow
// geometrically from 0.1 to 1, as a boundary layer would want.
#include <cstdio>

#include <vorn/filum.h>
using namespace vorn;

int main() {
  dense2D<double> pos;  // empty: the row brings its start point
  dense1D<unsigned> row;
  int code = filum::extrude_translate(pos, vector_fixed<double, 2>(0.0, 0.0),
                                      vector_fixed<double, 2>(10.0, 0.0), /*size_start=*/0.1,
                                      /*size_end=*/1.0, /*force_even=*/false, row);
  if (code != 0) return std::printf("extrude_translate failed: %d\n", code), 1;

  // Consecutive elements keep one ratio; the first is about 0.1 long, the last about 1.
  const std::size_t elements = row.size() - 1;
  auto element = [&](std::size_t k) { return pos(0, row[k + 1]) - pos(0, row[k]); };
  std::printf("%zu elements from %.3f to %.3f, ratio %.4f ... %.4f, end at x = %.6f\n", elements,
              element(0), element(elements - 1), element(1) / element(0),
              element(elements - 1) / element(elements - 2), pos(0, row[elements]));
}
