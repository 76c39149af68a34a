#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include <vorn/filum.h>

#include "metrics/metric_checks.h"
#include "support/filum_test.h"
#include "support/metric_columns.h"

using namespace vorn::filum;
using filum_test::column;
using filum_test::dense_copy;
using filum_test::entries;
using filum_test::metric_columns;
using filum_test::values;
using metric_checks::expect_close;
using metric_checks::tensor_of;
using Values = std::vector<double>;

namespace {

// The isotropic metric of size h in the plane (3 rows) or in space (6 rows).
Values isotropic(std::size_t rows, double h) {
  return rows == 3 ? tensor_of({{1, 0}, {0, 1}}, {h, h})
                   : tensor_of({{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}, {h, h, h});
}

}  // namespace

TEST(InterpolateMetrics, ResultCodesInArgumentOrder) {
  // Both overloads, the metrics one with the sizes as a row; an empty new list looks at
  // nothing, and both ends of the range belong to it.
  const double nan = std::nan("");
  // clang-format off
  struct Case { Values params, sizes, new_params; int expected; } cases[] = {
               {{2, 1}, {1}, {}, 0},           {{0}, {1}, {0}, -1},
               {{0, nan}, {1, 1}, {0}, -1},    {{1, 0}, {1}, {5}, -1},
               {{0, 1}, {1, 1, 1}, {5}, -2},   {{0, 1}, {1, 1}, {0.5, 0.25}, -3},
               {{0, 1}, {1, 1}, {-1e-300}, -3}, {{0, 1}, {1, 1}, {0.5, 1 + 1e-15}, -3},
               {{0, 1}, {1, 1}, {nan}, -3},    {{0, 1}, {-1, 1}, {0, 1}, 0}};
  // clang-format on
  for (const Case& c : cases) {
    auto out = values({7});
    EXPECT_EQ(interpolate_metrics(dense_copy(c.params), dense_copy(c.sizes),
                                  dense_copy(c.new_params), out),
              c.expected);
    EXPECT_EQ(out.size(), c.expected == 0 ? c.new_params.size() : 0u);
    auto out_m = metric_columns({{7}});
    const auto row = metric_columns({{1}}, c.sizes.size());
    EXPECT_EQ(interpolate_metrics(dense_copy(c.params), row, dense_copy(c.new_params), out_m),
              c.expected);
    EXPECT_EQ(out_m.cols(), c.expected == 0 ? c.new_params.size() : 0u);
  }
  for (std::size_t rows = 0; rows < 8; ++rows) {  // 0, 1, 3 or 6 rows, one column per param
    const int expected = rows == 0 || rows == 1 || rows == 3 || rows == 6 ? 0 : -2;
    vorn::dense2D<double> metrics(rows, 2, 1.0), out;
    EXPECT_EQ(interpolate_metrics(values({0, 1}), metrics, values({0, 1}), out), expected);
    EXPECT_EQ(out.rows(), expected == 0 ? rows : 0u);
    metrics.resize(rows, 1);
    EXPECT_EQ(interpolate_metrics(values({0, 1}), metrics, values({0, 1}), out), -2);
  }
}

TEST(InterpolateMetrics, SizesFollowTheirBrackets) {
  const double step = std::ldexp(1.0, -36);  // a weight above the 1e-12 snap
  // clang-format off
  struct Case { Values params, sizes, new_params, expected; } cases[] = {
      {{0, 1, 3}, {2, 4, 8}, {0, 0.5, 1, 2, 3}, {2, 3, 4, 6, 8}},
      // A repeated parameter is the upper bracket at its first entry, also by bisection.
      {{0, 1, 1, 2}, {1, 3, 5, 7}, {0.5, 1, 1.5}, {2, 3, 6}},
      {{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 9, 10}, {0, 1, 0, 1, 0, 1, 0, 1, 0, 2, 4, 1}, {9}, {2}},
      // A zigzag walked with skips, repeats and stops on known entries.
      {{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16},
       {1, 5, 1, 5, 1, 5, 1, 5, 1, 5, 1, 5, 1, 5, 1, 5, 1}, {0.25, 0.25, 3, 5.5, 11.75, 13, 16},
       {2, 2, 5, 3, 2, 5, 1}},
      {{2, 2, 2}, {4, 5, 6}, {2, 2}, {4, 4}},    // all equal: the first value
      {{0, 1e-13, 1}, {1, 9, 3}, {5e-14}, {1}},  // closer than 1e-12: one parameter
      {{0, 1}, {1, 3}, {1e-13, step, 1 - step, 1 - 1e-13}, {1, 1 + 2 * step, 3 - 2 * step, 3}},
      {{1e8, 1e8 + 1, 1e8 + 2}, {1, 3, 1}, {1e8 + 0.5, 1e8 + 1.5}, {2, 2}},
      {{0, 1e-8}, {1, 3}, {0.5e-8}, {2}},
      {{0, 0.5, 1}, {0.1, 1e-17, 5}, {0.5}, {1e-17}},  // a known size bit for bit
      {{0, 1, 2, 3}, {-1, 2, 0, 4}, {0, 0.5, 1, 1.5, 2.5}, {-1, 0, 2, 0, 0}},  // sizes <= 0
  };
  // clang-format on
  for (const Case& c : cases) {
    vorn::dense1D<double> out;
    ASSERT_EQ(interpolate_metrics(dense_copy(c.params), dense_copy(c.sizes),
                                  dense_copy(c.new_params), out),
              0);
    EXPECT_EQ(entries(out), c.expected) << c.params.size();
  }
  // A strided row, and outputs that share the inputs' storage, read the right values.
  const auto params = values({0, 1, 3}), sizes = values({2, 0.5, 8});
  const auto new_params = values({0, 0.2, 1, 2.9, 3});
  vorn::dense1D<double> expected;
  ASSERT_EQ(interpolate_metrics(params, sizes, new_params, expected), 0);
  auto block = metric_columns({{9, 2, 9}, {9, 0.5, 9}, {9, 8, 9}}), out = block;
  ASSERT_EQ(interpolate_metrics(params, block.sub_matrix(1, 0, 1, 3), new_params, out), 0);
  EXPECT_EQ(entries(out.as_vector()), entries(expected));
  EXPECT_EQ(column(block, 1), (Values{9, 0.5, 9}));
  auto same = sizes;
  ASSERT_EQ(interpolate_metrics(params, sizes, new_params, same), 0);
  EXPECT_EQ(entries(same), entries(expected));
  EXPECT_EQ(entries(sizes), (Values{2, 0.5, 8}));
}

TEST(InterpolateMetrics, MetricsVaryLinearlyInSizeAlongTheirCommonDirections) {
  for (std::size_t rows : {3u, 6u})
    for (const auto& ab : {Values{1, 3}, Values{3, 1}, Values{1e-8, 4e-8}, Values{1e8, 2.5e8}}) {
      const Values s = {0, 0.1, 0.5, 0.8, 1};
      vorn::dense2D<double> out;
      const auto metrics = metric_columns({isotropic(rows, ab[0]), isotropic(rows, ab[1])});
      ASSERT_EQ(interpolate_metrics(values({0, 1}), metrics, dense_copy(s), out), 0);
      for (std::size_t j = 0; j < s.size(); ++j)
        expect_close(column(out, j), isotropic(rows, ab[0] + s[j] * (ab[1] - ab[0])), 1e-12);
    }
  // Anisotropic ends with turned principal directions: known ones bit for bit, and close
  // to them nearby.
  const double c = std::cos(0.7), s = std::sin(0.7);
  const std::vector<Values> pairs[] = {
      {{1, 0.2, 0.0625}, tensor_of({{c, s}, {-s, c}}, {0.5, 3})},
      {{1, 0.1, 0.25, 0.05, -0.02, 4}, tensor_of({{c, s, 0}, {-s, c, 0}, {0, 0, 1}}, {0.5, 3, 2})}};
  for (const auto& ends : pairs) {
    vorn::dense2D<double> out;
    ASSERT_EQ(interpolate_metrics(values({-2, 5}), metric_columns(ends),
                                  values({-2, -2 + 7e-9, 5 - 7e-9, 5}), out),
              0);
    EXPECT_EQ(column(out, 0), ends[0]);
    EXPECT_EQ(column(out, 3), ends[1]);
    expect_close(column(out, 1), ends[0], 1e-7);
    expect_close(column(out, 2), ends[1], 1e-7);
  }
}

TEST(InterpolateMetrics, AFailingPairRepeatsThePreviousColumn) {
  for (std::size_t rows : {3u, 6u}) {
    Values indefinite = isotropic(rows, 1);
    indefinite[1] = 2;
    const auto metrics =
        metric_columns({indefinite, isotropic(rows, 1), isotropic(rows, 2), indefinite});
    vorn::dense2D<double> out;
    ASSERT_EQ(interpolate_metrics(values({0, 1, 2, 3}), metrics,
                                  values({0.5, 0.75, 1.5, 2.5, 2.75, 3}), out),
              0);
    EXPECT_EQ(column(out, 0), Values(rows, 0.0));  // cannot reduce: zeros first
    EXPECT_EQ(column(out, 1), Values(rows, 0.0));
    expect_close(column(out, 2), isotropic(rows, 1.5), 1e-12);
    EXPECT_EQ(column(out, 3), column(out, 2));  // reduces, but cannot interpolate
    EXPECT_EQ(column(out, 4), column(out, 2));
    EXPECT_EQ(column(out, 5), indefinite);  // a known metric is copied as it is
  }
}

TEST(InterpolateMetrics, StorageFailureLeavesTheOutputEmpty) {
  const auto known = metric_columns({isotropic(6, 1), isotropic(6, 2)});
  const auto params = values({0, 1}), new_params = values({0.25, 0.5});
  EXPECT_GE(filum_test::expect_empty_output_on_storage_failure<vorn::dense2D<double>>(
                [&](vorn::dense2D<double>& out) {
                  return interpolate_metrics(params, known, new_params, out);
                },
                2),
            1u);
}
