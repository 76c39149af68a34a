#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include <vorn/filum.h>

#include "support/filum_test.h"

using namespace vorn;
using namespace vorn::filum;
using namespace filum_test;
using Values = std::vector<double>;

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
  EXPECT_GT(sweep_allocation_failures([] { return dense1D<double>(); },
                                      [&](dense1D<double>& kappa) {
                                        return parametric_curvatures(params, chain, turning, kappa);
                                      },
                                      [](const dense1D<double>& kappa, int result, bool failed) {
                                        EXPECT_EQ(result, failed ? -199 : 0);
                                        EXPECT_EQ(kappa.size(), failed ? 0u : 3u);
                                      }),
            0u);
}
