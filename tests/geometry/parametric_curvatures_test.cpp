#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include <vorn/filum.h>

#include "support/filum_test.h"

using namespace vorn;
using namespace vorn::filum;
using filum_test::entries;

namespace {

// A chain of n nodes (n - 1 elements k -> k + 1).
dense2D<unsigned> chain_elements(std::size_t n) {
  if (n < 2) return dense2D<unsigned>();
  dense2D<unsigned> connectM(2, n - 1);
  for (std::size_t k = 0; k + 1 < n; ++k)
    connectM(0, k) = static_cast<unsigned>(k), connectM(1, k) = static_cast<unsigned>(k + 1);
  return connectM;
}

}  // namespace

TEST(ParametricCurvatures, CirclesOfAnyRadiusInThePlaneAndInSpace) {
  for (double h : {0.1, 0.5}) {
    for (double radius : {1.0, 1e8, 1e-8}) {
      for (std::size_t rows : {2, 3}) {
        const std::size_t n = 6;
        dense1D<double> params(n);
        dense2D<double> derivatives(rows, n);
        for (std::size_t k = 0; k < n; ++k) {
          const double u = static_cast<double>(k) * h;
          params[k] = u;
          derivatives(0, k) = -radius * std::sin(u);
          derivatives(1, k) = radius * std::cos(u);
          if (rows == 3) derivatives(2, k) = 0;
        }
        dense1D<double> values = filum_test::values({7});
        ASSERT_EQ(parametric_curvatures(params, chain_elements(n), derivatives, values), 0);
        ASSERT_EQ(values.size(), n);
        const double expected = 2 * std::sin(h / 2) / (h * std::pow(std::cos(h / 2), 2)) / radius;
        for (std::size_t k = 0; k < n; ++k)
          EXPECT_NEAR(values[k], expected, 1e-14 * expected) << h << " " << radius << " " << k;
      }
    }
  }
}

TEST(ParametricCurvatures, StraightLinesCancelledDerivativesAndZeroSpans) {
  const dense2D<unsigned> connectM = chain_elements(3);
  dense1D<double> values;
  // Constant speed along a line: no curvature.
  ASSERT_EQ(parametric_curvatures(filum_test::values({0, 1, 3}), connectM,
                                  filum_test::make_pos({{1, 2}, {1, 2}, {1, 2}}), values),
            0);
  EXPECT_EQ(entries(values), (std::vector<double>{0, 0, 0}));

  // Element 0 has opposite derivatives and is ignored; element 1 has s = (0, 2),
  // e = (2, 0): c = 4 |s x e| / |s|^3 = 2, over a span of 2.
  ASSERT_EQ(parametric_curvatures(filum_test::values({0, 1, 3}), connectM,
                                  filum_test::make_pos({{1, -1}, {-1, 1}, {1, 1}}), values),
            0);
  EXPECT_EQ(entries(values), (std::vector<double>{0, 1, 1}));

  // Equal parameters: element 1 adds its c to nodes 1 and 2 but no weight.
  ASSERT_EQ(parametric_curvatures(filum_test::values({0, 1, 1}), connectM,
                                  filum_test::make_pos({{1, -1}, {-1, 1}, {1, 1}}), values),
            0);
  EXPECT_EQ(entries(values), (std::vector<double>{0, 2, 2}));
}

TEST(ParametricCurvatures, CodesInArgumentOrder) {
  const dense1D<double> params = filum_test::values({0, 1, 2});
  const dense2D<double> good = filum_test::make_pos({{1, 0}, {1, 1}, {0, 1}});
  struct Case {
    const char* name;
    dense2D<unsigned> connectM;
    dense2D<double> derivatives;
    int expected;
  } cases[] = {
      {"no elements", dense2D<unsigned>(2, 0), dense2D<double>(4, 1), 0},
      {"identifier", filum_test::make_columns<unsigned>({{0, 3}}), dense2D<double>(4, 1), -2},
      {"one row", filum_test::make_columns<unsigned>({{0}}), good, -2},
      {"derivative rows", chain_elements(3), dense2D<double>(4, 3), -3},
      {"derivative columns", chain_elements(3), dense2D<double>(2, 4), -3},
  };
  for (const Case& c : cases) {
    dense1D<double> values = filum_test::values({5});
    EXPECT_EQ(parametric_curvatures(params, c.connectM, c.derivatives, values), c.expected)
        << c.name;
    EXPECT_TRUE(values.empty()) << c.name;
  }
}

TEST(ParametricCurvatures, StorageFailures) {
  struct inputs {
    dense1D<double> params;
    dense2D<unsigned> connectM;
    dense2D<double> derivatives;
    dense1D<double> values;
  };
  const std::size_t failures = filum_test::sweep_allocation_failures(
      [] {
        return inputs{filum_test::values({0, 1, 2}), chain_elements(3),
                      filum_test::make_pos({{1, 0}, {1, 1}, {0, 1}}), dense1D<double>()};
      },
      [](inputs& in) {
        return parametric_curvatures(in.params, in.connectM, in.derivatives, in.values);
      },
      [](inputs& in, int result, bool failed) {
        EXPECT_EQ(result, failed ? -199 : 0);
        EXPECT_EQ(in.values.size(), failed ? 0u : 3u);
      });
  EXPECT_GT(failures, 0u);
}
