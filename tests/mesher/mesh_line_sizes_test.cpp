#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

#include <gtest/gtest.h>
#include <vorn/filum.h>

#include "support/filum_test.h"
#include "support/line_geometry.h"

using namespace vorn;
using namespace filum_test;

namespace {

const double not_a_number = std::numeric_limits<double>::quiet_NaN();
constexpr unsigned no_max = 4294967295u;

// One call's arguments; outputs start with something in the appended-to ones.
struct line_call {
  dense2D<double> pos = make_pos({{0, 0}, {5.5, 0}, {5.5, 5.5}});  // an L, legs 5.5
  dense1D<unsigned> chain = ids({0, 1, 2});
  dense1D<double> params = values({0, 0.5, 1}), sizes = values({1, 1, 1});
  bool force_even = false;
  unsigned min_elements = 1, max_elements = no_max;
  double chordal_tol = 0;

  dense2D<double> out_pos;
  dense1D<unsigned> out_chain = ids({77});
  dense1D<double> out_params = values({5, 6}), out_sizes = values({9});

  int run(bool with_params = true) {
    out_pos.copy(pos);
    if (with_params)
      return filum::mesh_line(out_pos, chain, params, sizes, force_even, min_elements, max_elements,
                              chordal_tol, 0, out_chain, out_params, out_sizes);
    return filum::mesh_line(out_pos, chain, sizes, force_even, min_elements, max_elements,
                            chordal_tol, 0, out_chain, out_params, out_sizes);
  }
  // The chain this call appended.
  std::vector<unsigned> new_chain() const {
    return std::vector<unsigned>(out_chain.begin() + 1, out_chain.end());
  }
  bool has_node(unsigned id) const {
    return std::find(out_chain.begin() + 1, out_chain.end(), id) != out_chain.end();
  }
};

}  // namespace

TEST(MeshLineSizes, ResultCodesInArgumentOrder) {
  const auto L = ids({0, 1, 2}), E = ids({});
  const auto P = values({0, 0.5, 1}), S = values({1, 1, 1}), N = values({});
  const double nan = not_a_number;
  struct Case {
    const char* what;
    std::size_t rows;
    dense1D<unsigned> chain;
    dense1D<double> params, sizes;
    unsigned min, max;
    int with_params, without_params;
  } cases[] = {
      {"one row", 1, L, P, S, 1, 9, -1, -1},
      {"four rows, bad chain", 4, E, P, S, 1, 9, -1, -1},
      {"empty chain", 2, E, P, S, 1, 9, -2, -2},
      {"one entry", 2, ids({0}), P, S, 1, 9, -2, -2},
      {"identifier beyond pos", 2, ids({0, 3, 2}), P, S, 1, 9, -2, -2},
      {"coincident nodes", 2, ids({1, 1, 1}), P, S, 1, 9, 0, -2},
      {"short params", 2, L, values({0, 1}), S, 1, 9, -3, 0},
      {"decreasing params, bad sizes", 2, L, values({0, 2, 1}), N, 1, 9, -3, -3},
      {"NaN param", 2, L, values({0, nan, 1}), S, 1, 9, -3, 0},
      {"repeated params", 2, L, values({0, 1, 1}), S, 1, 9, 0, 0},
      {"short sizes", 2, L, P, values({1, 1}), 1, 9, -4, -3},
      {"zero size", 2, L, P, values({1, 0, 1}), 1, 9, -4, -3},
      {"NaN size", 2, L, P, values({1, 1, nan}), 1, 9, -4, -3},
      {"largest double size", 2, L, P, values({1, filum::unset, 1}), 1, 9, 0, 0},
      {"bad extra size ignored", 2, L, P, values({1, 1, 1, -1}), 1, 9, 0, 0},
      {"no element", 2, L, P, S, 0, 9, -6, -5},
      {"min above max", 2, L, P, S, 4, 3, -6, -5},
  };
  for (const Case& t : cases)
    for (bool with_params : {true, false}) {
      line_call c;
      const dense2D<double> plane = c.pos;
      c.pos = dense2D<double>(t.rows, 3, 0.0);
      for (std::size_t i = 0; i < std::min<std::size_t>(t.rows, 2); ++i)
        for (std::size_t j = 0; j < 3; ++j)
          c.pos(i, j) = plane(i, j);
      c.chain = t.chain, c.params = t.params, c.sizes = t.sizes;
      c.min_elements = t.min, c.max_elements = t.max;
      const int code = c.run(with_params);
      EXPECT_EQ(code, with_params ? t.with_params : t.without_params) << t.what;
      if (code == 0) continue;
      EXPECT_EQ(c.out_pos.cols(), 3u) << t.what;
      EXPECT_EQ(entries(c.out_chain), std::vector<unsigned>({77})) << t.what;
      EXPECT_TRUE(c.out_params.empty()) << t.what;
      EXPECT_EQ(entries(c.out_sizes), std::vector<double>({9})) << t.what;
    }
}

TEST(MeshLineSizes, StraightChainOfLengthTen) {
  for (bool with_params : {true, false}) {
    line_call c;
    c.pos = make_pos({{0, 0}, {10, 0}});
    c.chain = ids({0, 1});
    c.params = values({2, 4});
    c.sizes = values({1, 1});
    ASSERT_EQ(c.run(with_params), 0);
    std::vector<unsigned> expected = {0, 2, 3, 4, 5, 6, 7, 8, 9, 10, 1};
    EXPECT_EQ(c.new_chain(), expected);
    ASSERT_EQ(c.out_params.size(), 11u);
    EXPECT_EQ(c.out_sizes.size(), 12u);
    for (std::size_t j = 0; j <= 10; ++j) {
      const double x = static_cast<double>(j);
      EXPECT_DOUBLE_EQ(c.out_pos(0, expected[j]), x);
      EXPECT_DOUBLE_EQ(c.out_params[j], with_params ? 2 + 0.2 * x : 0.1 * x);
    }
  }
}

TEST(MeshLineSizes, CountLimitsAndRepeatedCalls) {
  for (bool even : {false, true}) {
    line_call c;
    c.sizes = values({0.01, 3, 0.2});
    c.min_elements = c.max_elements = 5;
    c.force_even = even;
    ASSERT_EQ(c.run(), 0);
    EXPECT_EQ(c.new_chain().size(), even ? 7u : 6u);
  }
  // A second call appends after the first; new_params holds only its own parameters.
  line_call c;
  ASSERT_EQ(c.run(), 0);
  const std::size_t first = c.out_chain.size();
  ASSERT_EQ(filum::mesh_line(c.out_pos, ids({0, 2}), values({0, 1}), values({3, 3}), false, 1,
                             no_max, 0, 0, c.out_chain, c.out_params, c.out_sizes),
            0);
  EXPECT_EQ(c.out_params.size(), c.out_chain.size() - first);
  EXPECT_EQ(c.out_sizes.size(), c.out_chain.size());
  EXPECT_EQ(c.out_chain[first + 1], c.out_pos.cols() - (c.out_chain.size() - first - 2));
}

TEST(MeshLineSizes, ChordalToleranceBringsTheCornerIn) {
  // The first mesh (11 elements) cuts the corner by 0.35. A tolerance of 0.01 splits there,
  // also with the largest max_elements; switched off it leaves the 11 elements.
  struct Case {
    double tol;
    unsigned max_elements;
    bool corner_in;
  } cases[] = {{0.01, no_max, true},
               {0.01, 12, true},
               {0.01, 11, false},
               {filum::unset, no_max, false},
               {-filum::unset, no_max, false},
               {not_a_number, no_max, false},
               {0, no_max, false}};
  for (const Case& t : cases) {
    line_call c;
    c.chordal_tol = t.tol;
    c.max_elements = t.max_elements;
    ASSERT_EQ(c.run(), 0);
    EXPECT_EQ(c.has_node(1), t.corner_in) << t.tol << " " << t.max_elements;
    EXPECT_EQ(c.new_chain().size(), t.corner_in ? 13u : 12u) << t.tol;
  }
}

TEST(MeshLineSizes, ElementLengthsFollowTheSizesOnRandomLines) {
  // On a straight line every element of a pass spans the same normalized length e = T / N,
  // and N >= 2 implies T > sqrt 2, where geometric-mean rounding keeps e in [1/sqrt2, sqrt2].
  // The sizes change by at most 0.5 per unit length, which linear interpolation between
  // nodes preserves in every pass; over an element of length l the size then stays within
  // l / 4 of h_mid, the mean of its end sizes, so l / h_mid is in [e / (1 + e/4),
  // e / (1 - e/4)], inside [0.6, 2.2]. Coordinates and sizes at scales 1e-8, 1 and 1e8.
  std::mt19937_64 random(20240611);
  std::uniform_real_distribution<double> unit(0, 1);
  for (int trial = 0; trial < 60; ++trial) {
    const std::size_t dim = 2 + trial % 2, n = 2 + static_cast<std::size_t>(unit(random) * 12);
    const double scale = trial % 3 == 0 ? 1e-8 : trial % 3 == 1 ? 1.0 : 1e8;
    const double direction[3] = {0.48, -0.6, dim == 3 ? 0.64 : 0.8};  // unit length
    dense2D<double> pos(dim, n);
    dense1D<double> sizes(n);
    double along = 0, size = 0.05 + unit(random);
    for (std::size_t k = 0; k < n; ++k) {
      for (std::size_t i = 0; i < dim; ++i)
        pos(i, k) = (3 + along * direction[i]) * scale;
      sizes[k] = size * scale;
      const double step = 0.01 + 3 * unit(random);
      along += step;
      size = std::max(0.05, size + 0.5 * step * (2 * unit(random) - 1));
    }
    dense1D<unsigned> chain;
    dense1D<double> params, out_sizes;
    ASSERT_EQ(filum::mesh_line(pos, first_columns(n), sizes, false, 1, no_max, 0, 0, chain, params,
                               out_sizes),
              0);
    for (std::size_t j = 0; chain.size() > 2 && j + 1 < chain.size(); ++j) {
      const double ratio =
          distance_between(pos, chain[j], chain[j + 1]) / (0.5 * (out_sizes[j] + out_sizes[j + 1]));
      EXPECT_GE(ratio, 0.6) << trial << " " << j;
      EXPECT_LE(ratio, 2.2) << trial << " " << j;
    }
  }
}

TEST(MeshLineSizes, SameMeshAtEveryScaleAndInSpace) {
  // The L scaled by 1e-8 or 1e8 and moved to 1e8 (except the smallest), or turned into
  // space: the chordal refinement takes the same decisions.
  for (double scale : {1.0, 1e-8, 1e8})
    for (double offset : {0.0, scale < 1e-4 ? 0.0 : 1e8}) {
      line_call c;
      for (std::size_t j = 0; j < 3; ++j)
        for (std::size_t i = 0; i < 2; ++i)
          c.pos(i, j) = offset + c.pos(i, j) * scale;
      c.sizes = values({scale, scale, scale});
      c.chordal_tol = 0.01 * scale;
      ASSERT_EQ(c.run(false), 0);
      EXPECT_TRUE(c.has_node(1)) << scale << " " << offset;
      EXPECT_EQ(c.new_chain().size(), 13u) << scale << " " << offset;
    }
  line_call c;
  c.pos = make_pos({{0, 0, 0}, {0, 0, 5.5}, {0, 5.5, 5.5}});
  c.chordal_tol = 0.01;
  ASSERT_EQ(c.run(), 0);
  EXPECT_EQ(c.out_pos.rows(), 3u);
  EXPECT_EQ(c.new_chain()[6], 1u);
}

TEST(MeshLineSizes, StorageFailureAppendsAllOrNothing) {
  line_call c;
  c.pos = make_pos({{0, 0}, {5.5, 0}, {5.5, 5.5}, {2, 7}, {0, 7.5}});
  c.chain = ids({0, 1, 2, 3, 4});
  c.sizes = values({1, 0.5, 1, 1, 1});
  const std::size_t runs = sweep_allocation_failures(
      [&] {
        line_call fresh;
        fresh.chain = c.chain;
        fresh.sizes = c.sizes;
        fresh.out_pos.copy(c.pos);
        return fresh;
      },
      [](line_call& f) {
        return filum::mesh_line(f.out_pos, f.chain, f.sizes, false, 1, no_max, 0.01, 0, f.out_chain,
                                f.out_params, f.out_sizes);
      },
      [](const line_call& f, int code, bool failed) {
        EXPECT_EQ(code, failed && code != 0 ? filum::storage_failure : 0);
        const std::size_t added = f.out_chain.size() - 1;
        EXPECT_EQ(f.out_params.size(), added);
        EXPECT_EQ(f.out_sizes.size(), added + 1);
        EXPECT_TRUE(added > 0 || f.out_pos.cols() == 5u);
        for (std::size_t j = 1; j <= added; ++j)
          EXPECT_LT(f.out_chain[j], f.out_pos.cols());
      });
  EXPECT_GT(runs, 20u);
}
