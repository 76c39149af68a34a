#include <cmath>

#include "extrude/rotation_matrix.h"

#include "extrude/extrusion_checks.h"

using namespace vorn;
using namespace vorn::filum;
using filum_test::column;
using filum_test::entries;
using filum_test::expect_near;
using v2 = vector_fixed<double, 2>;
using v3 = vector_fixed<double, 3>;
using list = std::vector<unsigned>;

TEST(ExtrudeTranslate, UniformRows) {
  dense2D<double> pos = filum_test::make_pos({{5, 5}}), space(2, 0);
  dense1D<unsigned> row = filum_test::ids({9}), from_node, up, still;
  ASSERT_EQ(extrude_translate(pos, v2(1, 2), v2(3, 0), 3u, row), 0);
  ASSERT_EQ(extrude_translate(pos, 0u, v2(0, -1), 2u, from_node), 0);
  EXPECT_EQ(entries(row), (list{9, 1, 2, 3, 4}));
  EXPECT_EQ(entries(from_node), (list{0, 5, 6}));
  EXPECT_EQ(column(pos, 4), (std::vector<double>{4, 2}));
  EXPECT_EQ(column(pos, 6), (std::vector<double>{5, 4}));
  // An empty pos of any shape takes the start point as node 0; a length of 0 is fine.
  ASSERT_EQ(extrude_translate(space, v3(0, 0, 1), v3(0, 0, 2), 2u, up), 0);
  ASSERT_EQ(extrude_translate(space, 1u, v3(0, 0, 0), 2u, still), 0);
  EXPECT_EQ(entries(up), (list{0, 1, 2}));
  EXPECT_EQ(column(space, 4), (std::vector<double>{0, 0, 2}));
}

TEST(ExtrudeTranslate, GradedRowsFollowTheGeometricProgression) {
  // 10 / (3 / ln 4) = 4.62 elements; the last case meets the truncated series of the
  // primitives, hence its looser tolerance on the ratio of consecutive lengths.
  for (auto [h0, h1, even, count, tolerance] : {std::tuple{1.0, 4.0, false, 5u, 1e-13},
                                                {4.0, 1.0, false, 5u, 1e-13},
                                                {1.0, 4.0, true, 4u, 1e-13},
                                                {2.0, 2.0, false, 5u, 1e-13},
                                                {1.0, 1.05, false, 10u, 1e-6}}) {
    dense2D<double> pos = filum_test::make_pos({{1, -1}});
    dense1D<unsigned> row;
    ASSERT_EQ(extrude_translate(pos, 0u, v2(10, 0), h0, h1, even, row), 0);
    ASSERT_EQ(row.size(), count + 1) << h0 << " " << h1;
    EXPECT_NEAR(pos(0, count), 11, 1e-14);
    const double ratio = std::pow(h1 / h0, 1.0 / count);
    for (std::size_t k = 2; k <= count; ++k)
      EXPECT_NEAR((pos(0, k) - pos(0, k - 1)) / (pos(0, k - 1) - pos(0, k - 2)), ratio, tolerance);
  }
}

TEST(ExtrudeTranslate, CodesInArgumentOrderAndStorageFailures) {
  const double nan = std::nan(""), inf = HUGE_VAL;
  const v2 t2(1, 0), o2(0, 0), big2(1e308, 0);
  const v3 t3(1, 0, 0), o3(0, 0, 0);
  // A non-finite argument gets its own code: no row with a node at infinity or NaN, no
  // count wrapped past 64 bits.
  extrusion_checks::expect_codes({
      {3, ROW(extrude_translate(p, o2, t2, 0u, i)), 0},  // a count of 0 before any test
      {3, ROW(extrude_translate(p, o2, t2, 2u, i)), -1},
      {2, ROW(extrude_translate(p, o2, o2, -1.0, -1.0, false, i)), -3},
      {2, ROW(extrude_translate(p, o2, t2, nan, -1.0, false, i)), -4},
      {3, ROW(extrude_translate(p, o3, t3, 1.0, nan, false, i)), -5},
      {3, ROW(extrude_translate(p, 7u, t2, 1u, i)), -1},
      {3, ROW(extrude_translate(p, 2u, t3, 1u, i)), -2},
      {3, ROW(extrude_translate(p, 1u, t3, 2.0, -2.0, false, i)), -5},
      {2, ROW(extrude_translate(p, 0u, t2, 0xFFFFFFFFu, i)), -199},  // identifiers past 32 bits
      {2, ROW(extrude_translate(p, o2, t2, 0xFFFFFFFEu, i)), -199},
      {2, ROW(extrude_translate(p, 0u, v2(inf, 0), 1.0, 1.0, false, i)), -3},
      {2, ROW(extrude_translate(p, v2(0, nan), t2, 3u, i)), -2},
      {2, ROW(extrude_translate(p, big2, big2, 2u, i)), -3},  // the end overflows
      {2, ROW(extrude_translate(p, 0u, t2, 1e-300, 1e-300, false, i)), -199},
      {2, ROW(extrude_translate(p, 0u, t2, 5e-324, 5e-324, true, i)), -199},
  });
  extrusion_checks::expect_restored_after_storage_failures(
      3, ROW(extrude_translate(p, 1u, v3(0, 0, 2), 0.5, 0.1, true, i)));
  // A start node with a non-finite coordinate: pos carries the bad value.
  dense2D<double> pos = filum_test::make_pos({{0, nan}});
  dense1D<unsigned> row;
  EXPECT_EQ(extrude_translate(pos, 0u, t2, 2u, row), -1);
  EXPECT_EQ(extrude_rotate(pos, 0u, o2, 1.0, 0.5, 0.5, false, row), -1);
  EXPECT_TRUE(pos.cols() == 1 && row.empty());
}

namespace {

const double pi = 3.141592653589793;

// Ratios of the angles about the z axis swept by consecutive elements of nodes 0 .. n.
std::vector<double> angle_ratios(const dense2D<double>& pos) {
  std::vector<double> ratios;
  auto angle = [&](std::size_t k) { return std::atan2(pos(1, k), pos(0, k)); };
  for (std::size_t k = 2; k < pos.cols(); ++k)
    ratios.push_back((angle(k) - angle(k - 1)) / (angle(k - 1) - angle(k - 2)));
  return ratios;
}

}  // namespace

TEST(ExtrudeRotate, QuarterAndFullTurns) {
  dense2D<double> plane, ring, tube, space = filum_test::make_pos({{3, 3, 4}});
  dense1D<unsigned> row, clockwise, chain;
  ASSERT_EQ(extrude_rotate(plane, v2(1, 0), v2(0, 0), pi / 2, 1u, row), 0);
  ASSERT_EQ(extrude_rotate(plane, 0u, v2(0, 0), -pi / 2, 2u, clockwise), 0);
  EXPECT_EQ(entries(row), (std::vector<unsigned>{0, 1}));
  EXPECT_EQ(column(plane, 1), (std::vector<double>{6.123233995736766e-17, 1}));
  EXPECT_EQ(entries(clockwise), (std::vector<unsigned>{0, 2, 3}));
  EXPECT_EQ(plane(1, 3), -1);
  ASSERT_EQ(extrude_rotate(space, 0u, v3(2, 3, 4), v3(0, 0, pi / 2), 1u, row), 0);
  ASSERT_EQ(extrude_rotate(space, 0u, v3(-4, 5, 6), v3(0, 0, 0), 1u, row), 0);  // stays put
  expect_near(column(space, 1), {2, 4, 4}, 1e-15);
  EXPECT_EQ(column(space, 2), (std::vector<double>{3, 3, 4}));
  // A full turn ends on the start with a new node.
  ASSERT_EQ(extrude_rotate(ring, v2(1e8, 0), v2(0, 0), 2 * pi, 8u, chain), 0);
  EXPECT_EQ(chain[8], 8u);
  expect_near(column(ring, 8), {1e8, 0}, 1e-7);
  ASSERT_EQ(extrude_rotate(tube, v3(0, 1e8, 5), v3(0, 0, 0), v3(2 * pi, 0, 0), 4u, chain), 0);
  expect_near(column(tube, 1), {0, -5, 1e8}, 1e-7);  // (y, z) turned to (-z, y)
  EXPECT_NEAR(tube(2, 4), 5, 1e-7);
}

TEST(ExtrudeRotate, GradedArcsFollowTheGeometricProgressionInAngle) {
  // A quarter turn of radius 10: arc 5 pi = 15.71, 15.71 / (3 / ln 4) = 7.26 elements.
  for (auto [h0, h1, even, count] :
       {std::tuple{1.0, 4.0, false, 7u}, {4.0, 1.0, false, 7u}, {1.0, 4.0, true, 8u}}) {
    dense2D<double> plane, reversed, space;
    dense1D<unsigned> row;
    ASSERT_EQ(extrude_rotate(plane, v2(10, 0), v2(0, 0), pi / 2, h0, h1, even, row), 0);
    ASSERT_EQ(extrude_rotate(reversed, v2(10, 0), v2(0, 0), -pi / 2, h0, h1, even, row), 0);
    ASSERT_EQ(
        extrude_rotate(space, v3(10, 0, 7), v3(0, 0, -3), v3(0, 0, pi / 2), h0, h1, even, row), 0);
    for (const dense2D<double>* pos : {&plane, &reversed, &space}) {
      ASSERT_EQ(pos->cols(), count + 1) << h0;
      for (double q : angle_ratios(*pos))
        EXPECT_NEAR(q, std::pow(h1 / h0, 1.0 / count), 1e-12) << h0;
    }
  }
}

TEST(ExtrudeRotate, CodesInArgumentOrderAndStorageFailures) {
  const double nan = std::nan(""), inf = HUGE_VAL;
  const v2 o2(0, 0), c2(10, 0);
  const v3 o3(0, 0, 0), z3(0, 0, 1), c3(10, 0, 0);
  extrusion_checks::expect_codes({
      {2, ROW(extrude_rotate(p, o2, o2, 1.0, 0.0, 0.0, false, i)), -3},  // on the center
      {2, ROW(extrude_rotate(p, o2, c2, 0.0, 0.0, 0.0, false, i)), -3},  // angle 0
      {2, ROW(extrude_rotate(p, o2, c2, 1.0, nan, 0.0, false, i)), -5},
      {2, ROW(extrude_rotate(p, o2, c2, 1.0, 1.0, -1.0, false, i)), -6},
      {2, ROW(extrude_rotate(p, 0u, c2, 1.0, 1.0, nan, false, i)), -6},
      {3, ROW(extrude_rotate(p, v3(0, 0, 5), o3, z3, 1.0, 1.0, false, i)), -3},  // on the axis
      {3, ROW(extrude_rotate(p, o3, c3, z3, 0.0, 1.0, false, i)), -5},
      {2, ROW(extrude_rotate(p, 9u, c3, z3, 0u, i)), -5},  // a count of 0 before any test
      {3, ROW(extrude_rotate(p, 1u, o3, z3, 1.0, 0.0, false, i)), -6},
      // Non-finite arguments.
      {2, ROW(extrude_rotate(p, 0u, o2, nan, 0xFFFFFFFFu, i)), -4},  // before the count
      {2, ROW(extrude_rotate(p, o2, v2(nan, 1), 1.0, 2u, i)), -3},
      {3, ROW(extrude_rotate(p, 0u, o3, v3(0, 0, nan), 0xFFFFFFFFu, i)), -4},
      {3, ROW(extrude_rotate(p, o3, v3(inf, 0, 0), z3, 2u, i)), -3},
      {3, ROW(extrude_rotate(p, v3(1e308, 0, 0), v3(-1e308, 0, 0), v3(0, 0, 3), 2u, i)), -4},
  });
  extrusion_checks::expect_restored_after_storage_failures(
      3, ROW(extrude_rotate(p, v3(), v3(10, 0, 0), z3, 1.0, 2.0, false, i)));
}

TEST(RotationMatrix, MatchesRodriguesOnBothSidesOfTheSeriesThreshold) {
  const point<3> vectors[] = {{1e-8, -2e-8, 3e-8},  {0.03, 0.04, 0}, {0, 0.1, 0},
                              {0, 0.1000000001, 0}, {0.6, 0.8, 0},   {1, 2, -2},
                              {0, 2 * pi, 0},       {1e8, 0, 0}};
  for (const point<3>& v : vectors) {
    // cos t I + sin t [k]x + (1 - cos t) k k' in long double, k = v / t.
    const long double t = std::sqrt(static_cast<long double>(dot(v, v)));
    const long double k[3] = {v[0] / t, v[1] / t, v[2] / t};
    const long double cross[3][3] = {{0, -k[2], k[1]}, {k[2], 0, -k[0]}, {-k[1], k[0], 0}};
    const matrix3 R = rotation_matrix(v);
    for (std::size_t i = 0; i < 3; ++i)
      for (std::size_t j = 0; j < 3; ++j)
        EXPECT_NEAR(R.entry[i][j],
                    static_cast<double>((i == j ? std::cos(t) : 0) + std::sin(t) * cross[i][j] +
                                        (1 - std::cos(t)) * k[i] * k[j]),
                    4e-16)
            << t << " (" << i << ", " << j << ")";
  }
}
