#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include <vorn/filum.h>

#include "support/filum_test.h"

using namespace vorn;
using namespace vorn::filum;
using filum_test::entries;
using filum_test::make_columns;
using filum_test::make_pos;
using filum_test::values;

namespace {

// The n - 1 elements k -> k + 1 of a chain of n nodes.
dense2D<unsigned> chain_elements(unsigned n) {
  if (n < 2) return dense2D<unsigned>();
  dense2D<unsigned> connectM(2, n - 1);
  for (unsigned k = 0; k + 1 < n; ++k)
    connectM(0, k) = k, connectM(1, k) = k + 1;
  return connectM;
}

}  // namespace

TEST(ParametricCurvatures, CirclesOfAnyRadiusInThePlaneAndInSpace) {
  for (double h : {0.1, 0.5})
    for (double radius : {1.0, 1e8, 1e-8})
      for (std::size_t rows : {2, 3}) {
        dense1D<double> params(6);
        dense2D<double> derivatives(rows, 6);  // r'(u) = radius (-sin u, cos u, 0)
        for (std::size_t k = 0; k < 6; ++k) {
          params[k] = static_cast<double>(k) * h;
          derivatives(0, k) = -radius * std::sin(params[k]);
          derivatives(1, k) = radius * std::cos(params[k]);
        }
        dense1D<double> kappa = values({7});
        ASSERT_EQ(parametric_curvatures(params, chain_elements(6), derivatives, kappa), 0);
        ASSERT_EQ(kappa.size(), 6u);
        const double expected = 2 * std::sin(h / 2) / (h * std::pow(std::cos(h / 2), 2)) / radius;
        for (double value : entries(kappa))
          EXPECT_NEAR(value, expected, 1e-14 * expected) << h << " " << radius;
      }
}

TEST(ParametricCurvatures, StraightLinesCancelledDerivativesAndZeroSpans) {
  struct Case {
    dense1D<double> params;
    dense2D<double> derivatives;
    std::vector<double> expected;
  } cases[] = {
      {values({0, 1, 3}), make_pos({{1, 2}, {1, 2}, {1, 2}}), {0, 0, 0}},  // a straight line
      // Element 0 has opposite derivatives and is ignored; element 1 has s = (0, 2) and
      // e = (2, 0): c = 4 |s x e| / |s|^3 = 2 over a span of 2.
      {values({0, 1, 3}), make_pos({{1, -1}, {-1, 1}, {1, 1}}), {0, 1, 1}},
      {values({0, 1, 1}), make_pos({{1, -1}, {-1, 1}, {1, 1}}), {0, 2, 2}},  // no span: no weight
  };
  for (const Case& c : cases) {
    dense1D<double> kappa;
    ASSERT_EQ(parametric_curvatures(c.params, chain_elements(3), c.derivatives, kappa), 0);
    EXPECT_EQ(entries(kappa), c.expected);
  }
}

TEST(ParametricCurvatures, CodesAndStorageFailures) {
  struct Case {
    dense2D<unsigned> connectM;
    dense2D<double> derivatives;
    int expected;
  } cases[] = {
      {dense2D<unsigned>(2, 0), dense2D<double>(4, 1), 0},
      {make_columns<unsigned>({{0, 3}}), dense2D<double>(4, 1), -2},
      {make_columns<unsigned>({{0}}), dense2D<double>(2, 3), -2},
      {chain_elements(3), dense2D<double>(4, 3), -3},
      {chain_elements(3), dense2D<double>(2, 4), -3},
  };
  for (const Case& c : cases) {
    dense1D<double> kappa = values({5});
    EXPECT_EQ(parametric_curvatures(values({0, 1, 2}), c.connectM, c.derivatives, kappa),
              c.expected);
    EXPECT_TRUE(kappa.empty());
  }
  struct inputs {
    dense1D<double> params, kappa;
    dense2D<unsigned> connectM;
    dense2D<double> derivatives;
  };
  const std::size_t failures = filum_test::sweep_allocation_failures(
      [] {
        return inputs{values({0, 1, 2}), {}, chain_elements(3), dense2D<double>(2, 3, 1.0)};
      },
      [](inputs& in) {
        return parametric_curvatures(in.params, in.connectM, in.derivatives, in.kappa);
      },
      [](inputs& in, int result, bool failed) {
        EXPECT_EQ(result, failed ? -199 : 0);
        EXPECT_EQ(in.kappa.size(), failed ? 0u : 3u);
      });
  EXPECT_GT(failures, 0u);
}
