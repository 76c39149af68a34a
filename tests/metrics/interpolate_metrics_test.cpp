#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include <vorn/filum.h>

#include "support/filum_test.h"

using namespace vorn::filum;
using filum_test::column;
using filum_test::entries;
using filum_test::values;
using Values = std::vector<double>;

namespace {

// Columns from a list of packed tensors (or sizes), all of one length.
vorn::dense2D<double> matrix_of(const std::vector<Values>& columns, std::size_t rows) {
  vorn::dense2D<double> m(rows, columns.size());
  for (std::size_t j = 0; j < columns.size(); ++j)
    for (std::size_t i = 0; i < rows; ++i)
      m(i, j) = columns[j][i];
  return m;
}

vorn::dense1D<double> vector_of(const Values& v) {
  vorn::dense1D<double> out(v.size());
  for (std::size_t i = 0; i < v.size(); ++i)
    out[i] = v[i];
  return out;
}

// The isotropic tensor of size h with `rows` packed entries (3: plane, 6: space).
Values isotropic(std::size_t rows, double h) {
  Values m(rows, 0.0);
  for (std::size_t j = 0; j * (j + 1) / 2 + j < rows; ++j)
    m[j * (j + 1) / 2 + j] = 1 / (h * h);
  return m;
}

void expect_close(const Values& actual, const Values& expected, double relative) {
  ASSERT_EQ(actual.size(), expected.size());
  double scale = 0;
  for (double x : expected)
    scale = std::max(scale, std::fabs(x));
  for (std::size_t i = 0; i < actual.size(); ++i)
    EXPECT_NEAR(actual[i], expected[i], relative * scale) << "entry " << i;
}

}  // namespace

TEST(InterpolateMetrics, ResultCodesInArgumentOrder) {
  const double nan = std::nan("");
  struct Case {
    Values params, sizes, new_params;
    int expected;
  } cases[] = {
      {{}, {}, {}, 0},  // no new parameter: nothing else is looked at
      {{2, 1}, {1}, {}, 0},
      {{0}, {1}, {0}, -1},
      {{0, 2, 1}, {1, 1, 1}, {1}, -1},
      {{0, nan}, {1, 1}, {0}, -1},
      {{1, 0}, {1}, {5}, -1},  // params before sizes
      {{0, 1}, {1}, {0.5}, -2},
      {{0, 1}, {1, 1, 1}, {5}, -2},  // sizes before new params
      {{0, 1}, {1, 1}, {0.5, 0.25}, -3},
      {{0, 1}, {1, 1}, {-1e-300, 0.5}, -3},
      {{0, 1}, {1, 1}, {0.5, 1 + 1e-15}, -3},
      {{0, 1}, {1, 1}, {nan}, -3},
      {{0, 1}, {1, 1}, {0, 1}, 0},  // both ends belong to the range
      {{0, 1}, {-1, 1}, {0.5}, 0},  // sizes are not validated
  };
  for (const Case& c : cases) {
    const auto params = vector_of(c.params), new_params = vector_of(c.new_params);
    auto out = values({7, 7});
    EXPECT_EQ(interpolate_metrics(params, vector_of(c.sizes), new_params, out), c.expected);
    EXPECT_EQ(out.size(), c.expected == 0 ? c.new_params.size() : 0u);
    // The same field as one row of a matrix.
    auto out_m = matrix_of({{7, 7}, {7, 7}}, 2);
    const auto row = matrix_of(std::vector<Values>(c.sizes.size(), Values{1.0}), 1);
    EXPECT_EQ(interpolate_metrics(params, row, new_params, out_m), c.expected);
    EXPECT_EQ(out_m.rows(), c.expected == 0 && !c.new_params.empty() ? 1u : 0u);
    EXPECT_EQ(out_m.cols(), c.expected == 0 ? c.new_params.size() : 0u);
  }
  // Metrics have 0, 1, 3 or 6 rows and one column per known parameter.
  const std::pair<std::size_t, int> shapes[] = {{0, 0},  {1, 0},  {2, -2}, {3, 0},
                                                {4, -2}, {5, -2}, {6, 0},  {7, -2}};
  for (const auto& shape : shapes) {
    vorn::dense2D<double> metrics(shape.first, 2, 1.0), out;
    EXPECT_EQ(interpolate_metrics(values({0, 1}), metrics, values({0, 1}), out), shape.second)
        << shape.first;
    EXPECT_EQ(out.rows(), shape.second == 0 ? shape.first : 0u);
    vorn::dense2D<double> short_metrics(shape.first, 1, 1.0);
    EXPECT_EQ(interpolate_metrics(values({0, 1}), short_metrics, values({0, 1}), out), -2);
  }
}

TEST(InterpolateMetrics, SizesFollowTheirBrackets) {
  const double step = std::ldexp(1.0, -36);  // a weight above the 1e-12 snap
  struct Case {
    const char* what;
    Values params, sizes, new_params, expected;
  } cases[] = {
      {"on and between known entries", {0, 1, 3}, {2, 4, 8}, {0, 0.5, 1, 2, 3}, {2, 3, 4, 6, 8}},
      {"a repeated parameter is the upper bracket at its first entry",
       {0, 1, 1, 2},
       {1, 3, 5, 7},
       {0.5, 1, 1.5},
       {2, 3, 6}},
      {"the same, reached by bisection",
       {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 13, 14, 15, 16},
       {0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 2, 4, 1, 0, 1},
       {0, 13},
       {0, 2}},
      {"all known parameters equal", {2, 2, 2}, {4, 5, 6}, {2, 2}, {4, 4}},
      {"known parameters closer than 1e-12 are one", {0, 1e-13, 1}, {1, 9, 3}, {5e-14}, {1}},
      {"weights within 1e-12 of an end take that end",
       {0, 1},
       {1, 3},
       {1e-13, step, 1 - step, 1 - 1e-13},
       {1, 1 + 2 * step, 3 - 2 * step, 3}},
      {"a known size is returned bit for bit", {0, 0.5, 1}, {0.1, 1e-17, 5}, {0.5}, {1e-17}},
      {"a size that is not > 0 gives 0 between entries",
       {0, 1, 2, 3},
       {-1, 2, 0, 4},
       {0, 0.5, 1, 1.5, 2, 2.5},
       {-1, 0, 2, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    auto out = values({});
    ASSERT_EQ(
        interpolate_metrics(vector_of(c.params), vector_of(c.sizes), vector_of(c.new_params), out),
        0)
        << c.what;
    EXPECT_EQ(entries(out), c.expected) << c.what;
  }
}

TEST(InterpolateMetrics, LongWalksFindEveryBracketAtEveryScale) {
  // A zigzag of sizes, so that a wrong bracket cannot pass for the right one; the new
  // parameters skip runs of entries, repeat, and sit on known ones.
  auto zigzag = [](std::size_t i) { return i % 2 ? 2.0 + static_cast<double>(i) : 1.0; };
  for (double origin : {0.0, 1e8, 1e-8}) {
    const double unit = origin == 1e-8 ? 1e-10 : 1.0;
    const std::size_t n = 1000;
    vorn::dense1D<double> params(n), sizes(n);
    for (std::size_t i = 0; i < n; ++i) {
      params[i] = origin + unit * static_cast<double>(i);
      sizes[i] = zigzag(i);
    }
    const Values offsets = {0, 0.25, 0.25, 1, 1.5, 2.75, 3, 37.5, 38, 38, 511.125, 900, 998.5, 999};
    vorn::dense1D<double> new_params(offsets.size());
    for (std::size_t j = 0; j < offsets.size(); ++j)
      new_params[j] = origin + unit * offsets[j];
    vorn::dense1D<double> out;
    ASSERT_EQ(interpolate_metrics(params, sizes, new_params, out), 0);
    for (std::size_t j = 0; j < offsets.size(); ++j) {
      const auto i = static_cast<std::size_t>(offsets[j]);
      const double f = offsets[j] - static_cast<double>(i);
      const double expected = f == 0 ? zigzag(i) : zigzag(i) + f * (zigzag(i + 1) - zigzag(i));
      EXPECT_NEAR(out[j], expected, 1e-6) << origin << " " << offsets[j];
    }
  }
}

TEST(InterpolateMetrics, OneRowOfMetricsIsASizeRowWhateverItsStride) {
  const auto params = values({0, 1, 3});
  const auto sizes = values({2, 0.5, 8});
  const auto new_params = values({0, 0.2, 1, 2.9, 3});
  vorn::dense1D<double> expected;
  ASSERT_EQ(interpolate_metrics(params, sizes, new_params, expected), 0);
  // Row 1 of a 3-row matrix: a row whose entries are 3 apart.
  auto block = matrix_of({{9, 2, 9}, {9, 0.5, 9}, {9, 8, 9}}, 3);
  const auto row = block.sub_matrix(1, 0, 1, 3);
  vorn::dense2D<double> out;
  ASSERT_EQ(interpolate_metrics(params, row, new_params, out), 0);
  ASSERT_EQ(out.rows(), 1u);
  for (std::size_t j = 0; j < new_params.size(); ++j)
    EXPECT_EQ(out(0, j), expected[j]);
  // An output that views an input's storage does not overwrite it while reading.
  auto same = sizes;
  ASSERT_EQ(interpolate_metrics(params, sizes, new_params, same), 0);
  EXPECT_EQ(entries(same), entries(expected));
  EXPECT_EQ(entries(sizes), (Values{2, 0.5, 8}));
  auto view = block;
  ASSERT_EQ(interpolate_metrics(params, row, new_params, view), 0);
  EXPECT_EQ(column(block, 1), (Values{9, 0.5, 9}));
}

TEST(InterpolateMetrics, IsotropicMetricsVaryLinearlyInSize) {
  struct Case {
    double a, b;
  } cases[] = {{1, 3}, {3, 1}, {1e-8, 4e-8}, {1e8, 2.5e8}};
  for (std::size_t rows : {3u, 6u})
    for (const Case& c : cases) {
      const auto metrics = matrix_of({isotropic(rows, c.a), isotropic(rows, c.b)}, rows);
      const Values s = {0, 0.1, 0.5, 0.8, 1};
      vorn::dense2D<double> out;
      ASSERT_EQ(interpolate_metrics(values({0, 1}), metrics, vector_of(s), out), 0);
      ASSERT_EQ(out.rows(), rows);
      for (std::size_t j = 0; j < s.size(); ++j)
        expect_close(column(out, j), isotropic(rows, c.a + s[j] * (c.b - c.a)), 1e-12);
    }
}

TEST(InterpolateMetrics, AnisotropicPairsReproduceTheirEnds) {
  // B's principal directions are turned against A's.
  const double c = std::cos(0.7), s = std::sin(0.7);
  const double p = 1 / 0.25, q = 1 / 9.0;  // sizes 0.5 and 3
  const Values B2 = {p * c * c + q * s * s, (p - q) * c * s, p * s * s + q * c * c};
  const Values A2 = {1, 0.2, 0.0625};
  const Values A3 = {1, 0.1, 0.25, 0.05, -0.02, 4};
  const Values B3 = {B2[0], B2[1], B2[2], 0.3 * c, -0.1, 1.5};
  for (const auto& ends : {std::make_pair(A2, B2), std::make_pair(A3, B3)}) {
    const std::size_t rows = ends.first.size();
    const auto metrics = matrix_of({ends.first, ends.second}, rows);
    vorn::dense2D<double> out;
    ASSERT_EQ(
        interpolate_metrics(values({-2, 5}), metrics, values({-2, -2 + 7e-9, 5 - 7e-9, 5}), out),
        0);
    EXPECT_EQ(column(out, 0), ends.first);  // known ones bit for bit
    EXPECT_EQ(column(out, 3), ends.second);
    expect_close(column(out, 1), ends.first, 1e-7);
    expect_close(column(out, 2), ends.second, 1e-7);
  }
}

TEST(InterpolateMetrics, AFailingPairRepeatsThePreviousColumn) {
  for (std::size_t rows : {3u, 6u}) {
    Values indefinite = isotropic(rows, 1);
    indefinite[1] = 2;  // m12 larger than the diagonal
    const Values A = isotropic(rows, 1), B = isotropic(rows, 2);
    const auto metrics = matrix_of({indefinite, A, B, indefinite}, rows);
    vorn::dense2D<double> out;
    ASSERT_EQ(interpolate_metrics(values({0, 1, 2, 3}), metrics,
                                  values({0.5, 0.75, 1.5, 2.5, 2.75, 3}), out),
              0);
    EXPECT_EQ(column(out, 0), Values(rows, 0.0)) << "cannot reduce: zeros first";
    EXPECT_EQ(column(out, 1), Values(rows, 0.0));
    expect_close(column(out, 2), isotropic(rows, 1.5), 1e-12);
    EXPECT_EQ(column(out, 3), column(out, 2)) << "reduces, but B's partner is invalid";
    EXPECT_EQ(column(out, 4), column(out, 2));
    EXPECT_EQ(column(out, 5), indefinite) << "a known metric is copied as it is";
  }
}

TEST(InterpolateMetrics, StorageFailureLeavesTheOutputEmpty) {
  const auto params = values({0, 1});
  const auto new_params = values({0.25, 0.5, 0.75});
  for (std::size_t rows : {0u, 1u, 3u, 6u}) {  // 0: the sizes overload
    struct Inputs {
      vorn::dense2D<double> metrics, out_metrics;
      vorn::dense1D<double> sizes, out_sizes;
    };
    auto prepare = [&] {
      Inputs in;
      in.sizes = values({1, 2});
      if (rows > 0) in.metrics = matrix_of({isotropic(rows, 1), isotropic(rows, 2)}, rows);
      return in;
    };
    auto act = [&](Inputs& in) {
      return rows == 0 ? interpolate_metrics(params, in.sizes, new_params, in.out_sizes)
                       : interpolate_metrics(params, in.metrics, new_params, in.out_metrics);
    };
    auto judge = [&](const Inputs& in, int result, bool failed) {
      EXPECT_EQ(result, failed ? storage_failure : 0) << rows;
      EXPECT_EQ(in.out_sizes.size() + in.out_metrics.cols(), failed ? 0u : 3u);
    };
    EXPECT_GE(filum_test::sweep_allocation_failures(prepare, act, judge), 1u);
  }
}
