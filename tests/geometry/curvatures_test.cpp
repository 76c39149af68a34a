#include "geometry/curvatures.h"

#include <cmath>

#include <gtest/gtest.h>
#include <vorn/filum.h>

#include "support/filum_test.h"

using namespace vorn;
using namespace filum_test;

namespace {

// The nodes of a regular polygon of `sides` sides inscribed in a circle of radius R around
// (c, c[, c]), in the plane z = c when dim = 3.
dense2D<double> polygon(std::size_t dim, std::size_t sides, double R, double c) {
  dense2D<double> pos(dim, sides + 1, c);
  for (std::size_t j = 0; j <= sides; ++j) {
    const double a = 2 * M_PI * static_cast<double>(j) / static_cast<double>(sides);
    pos(0, j) = c + R * std::cos(a);
    pos(1, j) = c + R * std::sin(a);
  }
  return pos;
}

dense1D<unsigned> iota_chain(std::size_t n) {
  dense1D<unsigned> chain(n);
  for (std::size_t i = 0; i < n; ++i)
    chain[i] = static_cast<unsigned>(i);
  return chain;
}

}  // namespace

TEST(Curvatures, ResultCodesInArgumentOrder) {
  dense1D<double> out = filum_test::values({7, 7});
  const auto pos4 = make_columns<double>({{0, 0, 0, 0}, {1, 0, 0, 0}});
  const auto pos1 = make_columns<double>({{0}, {1}});
  const auto pos2 = make_pos({{0, 0}, {1, 0}});
  EXPECT_EQ(filum::curvatures(pos4, dense1D<unsigned>(), out), 0);  // empty chain first
  EXPECT_TRUE(out.empty());
  EXPECT_EQ(filum::curvatures(pos1, ids({0, 1}), out), -1);
  EXPECT_EQ(filum::curvatures(pos4, ids({0, 1}), out), -1);
  EXPECT_EQ(filum::curvatures(pos2, ids({0, 2}), out), -2);
  EXPECT_EQ(filum::curvatures(pos2, ids({0, filum::no_id}), out), -2);
  EXPECT_TRUE(out.empty());
  EXPECT_EQ(filum::curvatures(pos2, ids({1}), out), 0);
  EXPECT_EQ(entries(out), std::vector<double>({0}));
  EXPECT_EQ(filum::curvatures(pos2, ids({0, 1}), out), 0);
  EXPECT_EQ(entries(out), std::vector<double>({0, 0}));
}

TEST(Curvatures, RegularPolygonGivesTheInverseRadiusAtAnyScale) {
  for (std::size_t dim : {2u, 3u})
    for (double R : {1e-8, 1.0, 1e8})
      for (double centre : {0.0, 1e8 * R}) {
        const std::size_t sides = 12;
        const auto pos = polygon(dim, sides, R, centre);
        dense1D<double> values;
        ASSERT_EQ(filum::curvatures(pos, iota_chain(sides + 1), values), 0);
        ASSERT_EQ(values.size(), sides + 1);
        for (std::size_t i = 0; i <= sides; ++i)
          EXPECT_NEAR(values[i] * R, 1, centre == 0 ? 1e-14 : 1e-7) << dim << " " << R << " " << i;
      }
}

TEST(Curvatures, StraightLinesZeroLengthSegmentsAndEnds) {
  dense1D<double> values;
  // Straight, unevenly spaced, in space: 0 everywhere (segment lengths 7, 14, 3.5 give the
  // same rounded unit direction).
  const auto line = make_pos({{0, 0, 0}, {2, 3, 6}, {6, 9, 18}, {7, 10.5, 21}});
  ASSERT_EQ(filum::curvatures(line, ids({0, 1, 2, 3}), values), 0);
  EXPECT_EQ(entries(values), std::vector<double>(4, 0.0));

  // A right angle at node 1 with unit segments: 2 |d - d'| / 2 = sqrt 2, copied to the ends.
  const auto corner = make_pos({{0, 0}, {1, 0}, {1, 1}, {1, 1}, {2, 1}});
  ASSERT_EQ(filum::curvatures(corner, ids({0, 1, 2}), values), 0);
  EXPECT_EQ(entries(values), std::vector<double>(3, std::sqrt(2.0)));

  // The zero-length segment 2-3 leaves 0 at both its nodes; node 1 keeps its value, and
  // the ends copy their neighbours.
  ASSERT_EQ(filum::curvatures(corner, ids({0, 1, 2, 3, 4}), values), 0);
  EXPECT_EQ(entries(values), std::vector<double>({std::sqrt(2.0), std::sqrt(2.0), 0, 0, 0}));

  // Segments of squared length exactly 1 are not divided; 2 is: 2 |(1,0) - (1,1)/sqrt2| /
  // (1+sqrt2).
  const auto bent = make_pos({{0, 0}, {1, 0}, {2, 1}});
  ASSERT_EQ(filum::curvatures(bent, ids({0, 1, 2}), values), 0);
  const double s = std::sqrt(2.0);
  const double dx = 1 - 1 / s, dy = 0 - 1 / s;
  EXPECT_EQ(values[1], 2 * std::sqrt(dx * dx + dy * dy) / (1 + s));
}

TEST(Curvatures, StorageFailureGivesItsCode) {
  const auto pos = polygon(2, 6, 1, 0);
  const auto chain = iota_chain(7);
  const std::size_t runs = sweep_allocation_failures(
      [] { return dense1D<double>(); },
      [&](dense1D<double>& values) { return filum::curvatures(pos, chain, values); },
      [](const dense1D<double>& values, int result, bool failed) {
        EXPECT_EQ(result, failed ? filum::storage_failure : 0);
        if (!failed) {
          EXPECT_EQ(values.size(), 7u);
        }
      });
  EXPECT_GE(runs, 1u);
}
