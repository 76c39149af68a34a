#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include <vorn/filum.h>

#include "extrude/extrusion_checks.h"
#include "support/filum_test.h"

using namespace vorn;
using namespace vorn::filum;
using filum_test::column;
using filum_test::entries;
using v2 = vector_fixed<double, 2>;
using v3 = vector_fixed<double, 3>;

namespace {

const double pi = 3.141592653589793;

// Angles swept by the consecutive elements of a row about the origin, in the xy plane.
std::vector<double> element_angles(const dense2D<double>& pos, const dense1D<unsigned>& row) {
  std::vector<double> angles;
  for (std::size_t k = 1; k < row.size(); ++k)
    angles.push_back(std::atan2(pos(1, row[k]), pos(0, row[k])) -
                     std::atan2(pos(1, row[k - 1]), pos(0, row[k - 1])));
  return angles;
}

}  // namespace

TEST(ExtrudeRotate, QuarterTurnsInThePlaneAndInSpace) {
  dense2D<double> plane;
  dense1D<unsigned> row;
  ASSERT_EQ(extrude_rotate(plane, v2(1, 0), v2(0, 0), pi / 2, 1u, row), 0);
  EXPECT_EQ(entries(row), (std::vector<unsigned>{0, 1}));
  EXPECT_EQ(column(plane, 1), (std::vector<double>{6.123233995736766e-17, 1}));

  dense1D<unsigned> clockwise;  // a negative angle turns clockwise
  ASSERT_EQ(extrude_rotate(plane, 0u, v2(0, 0), -pi / 2, 2u, clockwise), 0);
  EXPECT_EQ(entries(clockwise), (std::vector<unsigned>{0, 2, 3}));
  EXPECT_NEAR(plane(0, 3), 0, 1e-16);
  EXPECT_EQ(plane(1, 3), -1);

  dense2D<double> space = filum_test::make_pos({{3, 3, 4}});
  dense1D<unsigned> turn;
  ASSERT_EQ(extrude_rotate(space, 0u, v3(2, 3, 4), v3(0, 0, pi / 2), 1u, turn), 0);
  EXPECT_EQ(entries(turn), (std::vector<unsigned>{0, 1}));
  EXPECT_NEAR(space(0, 1), 2, 1e-15);
  EXPECT_NEAR(space(1, 1), 4, 1e-15);
  EXPECT_EQ(space(2, 1), 4);
}

TEST(ExtrudeRotate, FullTurnsEndOnTheStartPositionWithANewNode) {
  const double scales[] = {1, 1e8, 1e-8};
  for (double scale : scales) {
    dense2D<double> plane;
    dense1D<unsigned> row;
    ASSERT_EQ(extrude_rotate(plane, v2(scale, 0), v2(0, 0), 2 * pi, 8u, row), 0);
    ASSERT_EQ(row.size(), 9u);
    EXPECT_EQ(row[8], 8u);
    EXPECT_NEAR(plane(0, 8), scale, 1e-15 * scale);
    EXPECT_NEAR(plane(1, 8), 0, 1e-15 * scale);
    EXPECT_NEAR(plane(0, 2), 0, 1e-15 * scale);  // a quarter of the way round
    EXPECT_NEAR(plane(1, 2), scale, 1e-15 * scale);

    dense2D<double> space;
    dense1D<unsigned> ring;
    ASSERT_EQ(extrude_rotate(space, v3(0, scale, 5), v3(0, 0, 0), v3(2 * pi, 0, 0), 4u, ring), 0);
    EXPECT_NEAR(space(1, 4), scale, 1e-15 * std::max(scale, 5.0));
    EXPECT_NEAR(space(2, 4), 5, 1e-15 * std::max(scale, 5.0));
    EXPECT_NEAR(space(1, 1), -5, 1e-15 * std::max(scale, 5.0));  // (y, z) turned to (-z, y)
    EXPECT_NEAR(space(2, 1), scale, 1e-15 * std::max(scale, 5.0));
  }
}

TEST(ExtrudeRotate, ZeroRotationRepeatsTheStartPosition) {
  dense2D<double> space = filum_test::make_pos({{1, 2, 3}});
  dense1D<unsigned> row;
  ASSERT_EQ(extrude_rotate(space, 0u, v3(-4, 5, 6), v3(0, 0, 0), 3u, row), 0);
  for (std::size_t k = 1; k <= 3; ++k)
    EXPECT_EQ(column(space, k), (std::vector<double>{1, 2, 3}));
}

TEST(ExtrudeRotate, GradedArcsFollowTheGeometricProgressionInAngle) {
  // A quarter turn of radius 10: arc 5 pi = 15.71, 15.71 / (3 / ln 4) = 7.26 elements.
  struct Case {
    double scale, h0, h1;
    bool even;
    std::size_t count;
  } cases[] = {{1, 1, 4, false, 7},
               {1, 4, 1, false, 7},
               {1, 1, 4, true, 8},
               {1e8, 1, 4, false, 7},
               {1e-8, 1, 4, false, 7}};
  for (const Case& c : cases) {
    const double r = 10 * c.scale;
    for (double sense : {1.0, -1.0}) {
      dense2D<double> plane;
      dense1D<unsigned> row;
      ASSERT_EQ(extrude_rotate(plane, v2(r, 0), v2(0, 0), sense * pi / 2, c.h0 * c.scale,
                               c.h1 * c.scale, c.even, row),
                0);
      ASSERT_EQ(row.size(), c.count + 1) << c.scale << " " << sense;
      const std::vector<double> angles = element_angles(plane, row);
      const double ratio = std::pow(c.h1 / c.h0, 1.0 / static_cast<double>(c.count));
      for (std::size_t k = 1; k < angles.size(); ++k)
        EXPECT_NEAR(angles[k] / angles[k - 1], ratio, 1e-12) << c.scale << " " << k;
    }
    dense2D<double> space;
    dense1D<unsigned> row;
    ASSERT_EQ(extrude_rotate(space, v3(r, 0, 7), v3(0, 0, -3), v3(0, 0, pi / 2), c.h0 * c.scale,
                             c.h1 * c.scale, c.even, row),
              0);
    ASSERT_EQ(row.size(), c.count + 1) << c.scale;
    const std::vector<double> angles = element_angles(space, row);
    const double ratio = std::pow(c.h1 / c.h0, 1.0 / static_cast<double>(c.count));
    for (std::size_t k = 1; k < angles.size(); ++k)
      EXPECT_NEAR(angles[k] / angles[k - 1], ratio, 1e-12) << c.scale << " " << k;
  }
}

TEST(ExtrudeRotate, CodesInArgumentOrder) {
  const double nan = std::nan("");
  const v2 o2(0, 0), c2(10, 0);
  const v3 o3(0, 0, 0), z3(0, 0, 1), c3(10, 0, 0);
  extrusion_checks::expect_codes({
      {"2D point uniform, count 0 first", 3,
       [&](auto& p, auto& i) { return extrude_rotate(p, o2, c2, 1.0, 0u, i); }, 0},
      {"2D point uniform, rows", 3,
       [&](auto& p, auto& i) { return extrude_rotate(p, o2, c2, 1.0, 2u, i); }, -1},
      {"2D point graded, rows", 3,
       [&](auto& p, auto& i) { return extrude_rotate(p, o2, o2, 0.0, 0.0, 0.0, false, i); }, -1},
      {"2D point graded, on the centre", 2,
       [&](auto& p, auto& i) { return extrude_rotate(p, o2, o2, 1.0, 0.0, 0.0, false, i); }, -3},
      {"2D point graded, angle 0", 2,
       [&](auto& p, auto& i) { return extrude_rotate(p, o2, c2, 0.0, 0.0, 0.0, false, i); }, -3},
      {"2D point graded, size_start", 2,
       [&](auto& p, auto& i) { return extrude_rotate(p, o2, c2, 1.0, nan, 0.0, false, i); }, -5},
      {"2D point graded, size_end", 2,
       [&](auto& p, auto& i) { return extrude_rotate(p, o2, c2, 1.0, 1.0, -1.0, false, i); }, -6},
      {"2D node uniform, count 0 first", 3,
       [&](auto& p, auto& i) { return extrude_rotate(p, 9u, c2, 1.0, 0u, i); }, 0},
      {"2D node uniform, rows", 3,
       [&](auto& p, auto& i) { return extrude_rotate(p, 0u, c2, 1.0, 1u, i); }, -1},
      {"2D node uniform, node", 2,
       [&](auto& p, auto& i) { return extrude_rotate(p, 2u, c2, 1.0, 1u, i); }, -2},
      {"2D node graded, node", 2,
       [&](auto& p, auto& i) { return extrude_rotate(p, 2u, o2, 0.0, 0.0, 0.0, false, i); }, -2},
      {"2D node graded, size_end", 2,
       [&](auto& p, auto& i) { return extrude_rotate(p, 0u, c2, 1.0, 1.0, nan, false, i); }, -6},
      {"3D point uniform, count 0 first", 2,
       [&](auto& p, auto& i) { return extrude_rotate(p, o3, c3, z3, 0u, i); }, 0},
      {"3D point uniform, rows", 2,
       [&](auto& p, auto& i) { return extrude_rotate(p, o3, c3, z3, 1u, i); }, -1},
      {"3D point graded, on the axis", 3,
       [&](auto& p, auto& i) { return extrude_rotate(p, v3(0, 0, 5), o3, z3, 1.0, 1.0, false, i); },
       -3},
      {"3D point graded, size_start", 3,
       [&](auto& p, auto& i) { return extrude_rotate(p, o3, c3, z3, 0.0, 1.0, false, i); }, -5},
      {"3D node uniform, count 0 first of all", 2,
       [&](auto& p, auto& i) { return extrude_rotate(p, 9u, c3, z3, 0u, i); }, -5},
      {"3D node uniform, rows", 2,
       [&](auto& p, auto& i) { return extrude_rotate(p, 0u, c3, z3, 1u, i); }, -1},
      {"3D node uniform, node", 3,
       [&](auto& p, auto& i) { return extrude_rotate(p, 2u, c3, z3, 1u, i); }, -2},
      {"3D node graded, rows", 2,
       [&](auto& p, auto& i) { return extrude_rotate(p, 9u, o3, o3, 0.0, 0.0, false, i); }, -1},
      {"3D node graded, rotation 0", 3,
       [&](auto& p, auto& i) { return extrude_rotate(p, 1u, o3, o3, 0.0, 0.0, false, i); }, -3},
      {"3D node graded, size_end", 3,
       [&](auto& p, auto& i) { return extrude_rotate(p, 1u, o3, z3, 1.0, 0.0, false, i); }, -6},
  });
}

TEST(ExtrudeRotate, StorageFailuresLeavePosAsItWas) {
  const v2 o2(0, 0), c2(10, 0);
  const v3 o3(0, 0, 0), z3(0, 0, 1), c3(10, 0, 0);
  extrusion_checks::expect_restored_after_storage_failures(
      "2D point graded", 2,
      [&](auto& p, auto& i) { return extrude_rotate(p, o2, c2, 1.0, 1.0, 2.0, false, i); });
  extrusion_checks::expect_restored_after_storage_failures(
      "3D point uniform", 3,
      [&](auto& p, auto& i) { return extrude_rotate(p, o3, c3, z3, 6u, i); });
  extrusion_checks::expect_restored_after_storage_failures(
      "3D node graded", 3,
      [&](auto& p, auto& i) { return extrude_rotate(p, 1u, o3, z3, 1.0, 2.0, true, i); });
}
