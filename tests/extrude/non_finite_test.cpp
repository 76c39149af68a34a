#include <cmath>
#include <limits>

#include "extrude/extrusion_checks.h"

using namespace vorn;
using namespace vorn::filum;
using v2 = vector_fixed<double, 2>;
using v3 = vector_fixed<double, 3>;

// A non-finite argument gets its own code and leaves pos and the chain as they came: no row
// with a node at infinity or NaN, no count wrapped past 64 bits.
TEST(Extrusion, NonFiniteArgumentsAndOverflowingRows) {
  const double inf = std::numeric_limits<double>::infinity(), nan = std::nan("");
  const v2 o2(0, 0), x2(1, 0), big2(1e308, 0);
  const v3 o3(0, 0, 0), z3(0, 0, 1);
  extrusion_checks::expect_codes({
      {2, ROW(extrude_translate(p, 0u, v2(inf, 0), 1.0, 1.0, false, i)), -3},
      {2, ROW(extrude_translate(p, v2(0, nan), x2, 3u, i)), -2},
      {3, ROW(extrude_translate(p, 1u, v3(0, nan, 0), 2u, i)), -3},
      {2, ROW(extrude_translate(p, big2, big2, 2u, i)), -3},  // the end overflows
      {2, ROW(extrude_translate(p, 0u, x2, 1e-300, 1e-300, false, i)), -199},
      {2, ROW(extrude_translate(p, 0u, x2, 5e-324, 5e-324, true, i)), -199},
      {2, ROW(extrude_rotate(p, 0u, o2, nan, 0.5, 0.5, false, i)), -4},
      {2, ROW(extrude_rotate(p, 0u, o2, inf, 2u, i)), -4},
      {2, ROW(extrude_rotate(p, o2, v2(nan, 1), 1.0, 2u, i)), -3},
      {2, ROW(extrude_rotate(p, v2(-inf, 0), o2, 1.0, 2u, i)), -2},
      {3, ROW(extrude_rotate(p, 0u, o3, v3(0, 0, nan), 0.5, 0.5, false, i)), -4},
      {3, ROW(extrude_rotate(p, o3, v3(inf, 0, 0), z3, 2u, i)), -3},
      {3, ROW(extrude_rotate(p, v3(1e308, 0, 0), v3(-1e308, 0, 0), v3(0, 0, 3), 2u, i)), -4},
  });
  // A start node with a non-finite coordinate: pos carries the bad value.
  dense2D<double> pos = filum_test::make_pos({{0, nan}});
  dense1D<unsigned> row;
  EXPECT_EQ(extrude_translate(pos, 0u, x2, 2u, row), -1);
  EXPECT_EQ(extrude_rotate(pos, 0u, o2, 1.0, 0.5, 0.5, false, row), -1);
  EXPECT_EQ(pos.cols(), 1u);
  EXPECT_TRUE(row.empty());
}
