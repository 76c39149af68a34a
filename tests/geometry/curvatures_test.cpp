#include <cmath>
#include <vector>

#include <gtest/gtest.h>
#include <vorn/filum.h>

#include "support/filum_test.h"
#include "support/line_geometry.h"

using namespace vorn;
using namespace filum_test;
using filum::parametric_curvatures;
using Values = std::vector<double>;

TEST(Curvatures, ResultCodesAndStorageFailure) {
  dense1D<double> out = values({7, 7});
  const auto pos2 = make_pos({{0, 0}, {1, 0}});
  const auto pos4 = make_columns<double>({{0, 0, 0, 0}, {1, 0, 0, 0}});
  EXPECT_EQ(filum::curvatures(pos4, ids({}), out), 0);  // empty chain before the rows
  EXPECT_EQ(filum::curvatures(pos4, ids({0, 1}), out), -1);
  EXPECT_EQ(filum::curvatures(pos2, ids({0, 2}), out), -2);
  EXPECT_TRUE(out.empty());
  EXPECT_EQ(filum::curvatures(pos2, ids({1}), out), 0);
  EXPECT_EQ(entries(out), std::vector<double>({0}));
  EXPECT_EQ(filum::curvatures(pos2, ids({0, 1}), out), 0);
  EXPECT_EQ(entries(out), std::vector<double>({0, 0}));
  const auto pos = arc(7, 1, 3);
  const auto chain = first_columns(7);
  expect_empty_output_on_storage_failure<dense1D<double>>(
      [&](dense1D<double>& values) { return filum::curvatures(pos, chain, values); }, 7);
}

TEST(Curvatures, RegularPolygonGivesTheInverseRadiusAtAnyScale) {
  for (std::size_t dim : {2u, 3u})
    for (double R : {1e-8, 1.0, 1e8})
      for (double center : {0.0, 1e8 * R}) {
        dense1D<double> values;
        ASSERT_EQ(filum::curvatures(arc(13, R, 2 * M_PI, center, dim), first_columns(13), values),
                  0);
        for (std::size_t i = 0; i < 13; ++i)
          EXPECT_NEAR(values[i] * R, 1, center == 0 ? 1e-14 : 1e-7) << dim << " " << R;
      }
}

TEST(Curvatures, StraightLinesZeroLengthSegmentsAndUnequalSegments) {
  dense1D<double> values;
  // Segment lengths 7, 14 and 3.5 along (2, 3, 6) / 7 give one rounded direction: 0.
  const auto line = make_pos({{0, 0, 0}, {2, 3, 6}, {6, 9, 18}, {7, 10.5, 21}});
  ASSERT_EQ(filum::curvatures(line, ids({0, 1, 2, 3}), values), 0);
  EXPECT_EQ(entries(values), std::vector<double>(4, 0.0));
  // A right angle of unit segments gives 2 |d - d'| / 2 = sqrt 2 at node 1, copied to the
  // ends; the zero-length segment 2-3 leaves 0 on both its sides.
  const double r2 = std::sqrt(2.0);
  const auto corner = make_pos({{0, 0}, {1, 0}, {1, 1}, {1, 1}, {2, 1}});
  ASSERT_EQ(filum::curvatures(corner, ids({0, 1, 2, 3, 4}), values), 0);
  EXPECT_EQ(entries(values), std::vector<double>({r2, r2, 0, 0, 0}));
  // Lengths 1 and sqrt 2: their sum divides.
  ASSERT_EQ(filum::curvatures(make_pos({{0, 0}, {1, 0}, {2, 1}}), ids({0, 1, 2}), values), 0);
  const double dx = 1 - 1 / r2, dy = 1 / r2;
  EXPECT_EQ(values[1], 2 * std::sqrt(dx * dx + dy * dy) / (1 + r2));
}

TEST(ParametricCurvatures, CirclesInThePlaneAndInSpace) {
  // r'(u) = R (-sin u, cos u) at u = k h: 2 sin(h / 2) / (h cos^2(h / 2)) / R at every node.
  const double R = 1e8;
  for (double h : {0.1, 0.5})
    for (std::size_t rows : {2, 3}) {
      dense1D<double> params(5), kappa = values({7});
      dense2D<double> derivatives(rows, 5);
      for (std::size_t k = 0; k < 5; ++k) {
        params[k] = static_cast<double>(k) * h;
        derivatives(0, k) = -R * std::sin(params[k]);
        derivatives(1, k) = R * std::cos(params[k]);
      }
      ASSERT_EQ(
          parametric_curvatures(params, make_columns<unsigned>({{0, 1}, {1, 2}, {2, 3}, {3, 4}}),
                                derivatives, kappa),
          0);
      ASSERT_EQ(kappa.size(), 5u);
      const double expected = 2 * std::sin(h / 2) / (h * std::pow(std::cos(h / 2), 2)) / R;
      for (double value : entries(kappa))
        EXPECT_NEAR(value, expected, 1e-14 * expected) << h << " " << rows;
    }
}

TEST(ParametricCurvatures, SpecialCasesCodesAndStorageFailures) {
  // Element 0 of the turning cases has opposite derivatives and is ignored; element 1 has
  // s = (0, 2) and e = (2, 0): c = 4 |s x e| / |s|^3 = 2 over its span.
  const dense2D<unsigned> chain = make_columns<unsigned>({{0, 1}, {1, 2}});
  const dense2D<double> turning = make_pos({{1, -1}, {-1, 1}, {1, 1}});
  // clang-format off
  // A straight line; spans are lengths; no span gives no weight.
  const struct { dense1D<double> params; dense2D<double> derivatives; Values expected; } cases[] = {
      {values({0, 1, 3}), make_pos({{1, 2}, {1, 2}, {1, 2}}), {0, 0, 0}},
      {values({0, 1, 3}), turning, {0, 1, 1}},  {values({3, 2, 0}), turning, {0, 1, 1}},
      {values({0, 1, 1}), turning, {0, 2, 2}}};
  // clang-format on
  for (const auto& c : cases) {
    dense1D<double> kappa;
    ASSERT_EQ(parametric_curvatures(c.params, chain, c.derivatives, kappa), 0);
    EXPECT_EQ(entries(kappa), c.expected);
  }
  // clang-format off
  const struct { dense2D<unsigned> connectM; dense2D<double> derivatives; int expected; }
      codes[] = {
      {dense2D<unsigned>(2, 0), dense2D<double>(4, 1), 0},
      {make_columns<unsigned>({{0, 3}}), dense2D<double>(4, 1), -2},
      {make_columns<unsigned>({{0}}), dense2D<double>(2, 3), -2},
      {chain, dense2D<double>(4, 3), -3},  {chain, dense2D<double>(2, 4), -3}};
  // clang-format on
  const dense1D<double> params = values({0, 1, 2});
  for (const auto& c : codes) {
    dense1D<double> kappa = values({5});
    EXPECT_EQ(parametric_curvatures(params, c.connectM, c.derivatives, kappa), c.expected);
    EXPECT_TRUE(kappa.empty());
  }
  EXPECT_GT(expect_empty_output_on_storage_failure<dense1D<double>>(
                [&](dense1D<double>& kappa) {
                  return parametric_curvatures(params, chain, turning, kappa);
                },
                3),
            0u);
}
