// mesh_line with sizes: argument codes, documented cases, chordal controls, a property test
// on random lines, scale cases and storage failures.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

#include <gtest/gtest.h>
#include <vorn/filum.h>

#include "mesher/line_geometry.h"
#include "support/filum_test.h"

using namespace vorn;
using namespace filum_test;

namespace {

const double not_a_number = std::numeric_limits<double>::quiet_NaN();
const double inf = std::numeric_limits<double>::infinity();
constexpr unsigned no_max = 4294967295u;

// Outputs of one call, with something already in the appended-to ones.
struct outputs {
  dense2D<double> pos;
  dense1D<unsigned> indices = ids({77});
  dense1D<double> params = values({5, 6});
  dense1D<double> sizes = values({9});
};

// Arguments of one call with parameters; the call without them drops `params`.
struct call {
  dense2D<double> pos;
  dense1D<unsigned> chain;
  dense1D<double> params, sizes;
  bool force_even = false;
  unsigned min_elements = 1, max_elements = no_max;
  double chordal_tol = 0, min_size = 0;

  int run(outputs& out, bool with_params = true) const {
    out.pos.copy(pos);
    if (with_params)
      return filum::mesh_line(out.pos, chain, params, sizes, force_even, min_elements, max_elements,
                              chordal_tol, min_size, out.indices, out.params, out.sizes);
    return filum::mesh_line(out.pos, chain, sizes, force_even, min_elements, max_elements,
                            chordal_tol, min_size, out.indices, out.params, out.sizes);
  }
};

// A straight chain (0,0) - (10,0) with sizes 1.
call straight() {
  call c;
  c.pos = make_pos({{0, 0}, {10, 0}});
  c.chain = ids({0, 1});
  c.params = values({0, 1});
  c.sizes = values({1, 1});
  return c;
}

// An L with legs 5.5, size 1.
call corner() {
  call c;
  c.pos = make_pos({{0, 0}, {5.5, 0}, {5.5, 5.5}});
  c.chain = ids({0, 1, 2});
  c.params = values({0, 0.5, 1});
  c.sizes = values({1, 1, 1});
  return c;
}

// The new part of the appended-to outputs.
std::vector<unsigned> new_chain(const outputs& out) {
  return std::vector<unsigned>(out.indices.begin() + 1, out.indices.end());
}

}  // namespace

TEST(MeshLineSizes, ResultCodesInArgumentOrder) {
  struct Case {
    const char* what;
    call c;
    int with_params, without_params;
  };
  std::vector<Case> cases;
  auto add = [&](const char* what, auto change, int with_params, int without_params) {
    call c = straight();
    change(c);
    cases.push_back({what, c, with_params, without_params});
  };
  add(
      "one row",
      [](call& c) {
        c.pos = make_columns<double>({{0}, {1}});
      },
      -1, -1);
  add(
      "four rows, bad chain",
      [](call& c) {
        c.pos = make_columns<double>({{0, 0, 0, 0}, {1, 0, 0, 0}});
        c.chain = ids({});
      },
      -1, -1);
  add(
      "empty chain", [](call& c) { c.chain = ids({}); }, -2, -2);
  add(
      "one entry", [](call& c) { c.chain = ids({0}); }, -2, -2);
  add(
      "identifier beyond pos",
      [](call& c) {
        c.chain = ids({0, 2});
      },
      -2, -2);
  add(
      "no_id",
      [](call& c) {
        c.chain = ids({filum::no_id, 1});
      },
      -2, -2);
  add(
      "coincident nodes",
      [](call& c) {
        c.chain = ids({1, 1});
      },
      0, -2);
  add(
      "short params", [](call& c) { c.params = values({0}); }, -3, 0);
  add(
      "decreasing params, bad sizes",
      [](call& c) {
        c.params = values({1, 0});
        c.sizes = values({});
      },
      -3, -3);
  add(
      "NaN param",
      [](call& c) {
        c.params = values({0, not_a_number});
      },
      -3, 0);
  add(
      "short sizes", [](call& c) { c.sizes = values({1}); }, -4, -3);
  add(
      "zero size",
      [](call& c) {
        c.sizes = values({1, 0});
      },
      -4, -3);
  add(
      "negative size",
      [](call& c) {
        c.sizes = values({-1, 1});
      },
      -4, -3);
  add(
      "NaN size",
      [](call& c) {
        c.sizes = values({not_a_number, 1});
      },
      -4, -3);
  add(
      "infinite size",
      [](call& c) {
        c.sizes = values({1, inf});
      },
      -4, -3);
  add(
      "largest double size",
      [](call& c) {
        c.sizes = values({1, filum::unset});
      },
      0, 0);
  add(
      "bad extra size ignored",
      [](call& c) {
        c.sizes = values({1, 1, -1});
      },
      0, 0);
  add(
      "no element", [](call& c) { c.min_elements = 0; }, -6, -5);
  add(
      "min above max",
      [](call& c) {
        c.min_elements = 4;
        c.max_elements = 3;
      },
      -6, -5);
  add(
      "repeated params",
      [](call& c) {
        c.pos = make_pos({{0, 0}, {1, 0}, {1, 1}, {2, 1}});
        c.chain = ids({0, 1, 2, 3});
        c.params = values({0, 1, 1, 2});
        c.sizes = values({1, 1, 1, 1});
      },
      0, 0);

  for (const Case& t : cases)
    for (bool with_params : {true, false}) {
      outputs out;
      const int code = t.c.run(out, with_params);
      EXPECT_EQ(code, with_params ? t.with_params : t.without_params) << t.what;
      if (code == 0) continue;
      EXPECT_EQ(out.pos.cols(), t.c.pos.cols()) << t.what;
      EXPECT_EQ(entries(out.indices), std::vector<unsigned>({77})) << t.what;
      EXPECT_TRUE(out.params.empty()) << t.what;
      EXPECT_EQ(entries(out.sizes), std::vector<double>({9})) << t.what;
    }
}

TEST(MeshLineSizes, StraightChainOfLengthTen) {
  for (bool with_params : {true, false}) {
    call c = straight();
    c.params = values({2, 4});
    outputs out;
    ASSERT_EQ(c.run(out, with_params), 0);
    ASSERT_EQ(out.pos.cols(), 11u);
    std::vector<unsigned> expected = {77, 0};
    for (unsigned id = 2; id <= 10; ++id)
      expected.push_back(id);
    expected.push_back(1);
    EXPECT_EQ(entries(out.indices), expected);
    ASSERT_EQ(out.params.size(), 11u);
    EXPECT_EQ(out.params[0], with_params ? 2 : 0);
    EXPECT_EQ(out.params[10], with_params ? 4 : 1);
    for (std::size_t j = 1; j < 10; ++j) {
      EXPECT_DOUBLE_EQ(out.pos(0, 1 + j), static_cast<double>(j));
      EXPECT_DOUBLE_EQ(out.params[j], with_params ? 2 + 0.2 * static_cast<double>(j)
                                                  : 0.1 * static_cast<double>(j));
    }
    EXPECT_EQ(out.sizes.size(), 12u);
  }
}

TEST(MeshLineSizes, CountLimitsAndRepeatedCalls) {
  for (bool even : {false, true}) {
    call c = corner();
    c.sizes = values({0.01, 3, 0.2});
    c.min_elements = c.max_elements = 5;
    c.force_even = even;
    outputs out;
    ASSERT_EQ(c.run(out), 0);
    EXPECT_EQ(out.indices.size() - 1, even ? 7u : 6u);
  }
  // A second call appends its chain and sizes; new_params holds only its own parameters.
  call c = straight();
  outputs out;
  ASSERT_EQ(c.run(out), 0);
  const dense2D<double> first_pos = out.pos;
  ASSERT_EQ(filum::mesh_line(out.pos, c.chain, c.params, values({2, 2}), false, 1, no_max, 0, 0,
                             out.indices, out.params, out.sizes),
            0);
  EXPECT_EQ(out.indices.size(), 1 + 11 + 6u);
  EXPECT_EQ(out.params.size(), 6u);
  EXPECT_EQ(out.sizes.size(), 1 + 11 + 6u);
  EXPECT_EQ(out.indices[12], 0u);
  EXPECT_EQ(out.indices[13], 11u);
}

TEST(MeshLineSizes, ChordalToleranceBringsTheCornerIn) {
  for (unsigned max_elements : {no_max, 1000u}) {
    call c = corner();
    c.chordal_tol = 0.01;
    c.max_elements = max_elements;
    outputs out;
    ASSERT_EQ(c.run(out), 0);
    const auto chain = new_chain(out);
    EXPECT_NE(std::find(chain.begin(), chain.end(), 1u), chain.end()) << max_elements;
    EXPECT_LE(distance_to_polyline(out.pos, 1, out.indices.sub_vector(1, chain.size())), 0.01);
  }
  // Switched off: by +-largest double and NaN, and when the first mesh already has the
  // maximum element count.
  for (double tol : {filum::unset, -filum::unset, not_a_number, 0.01}) {
    call c = corner();
    c.chordal_tol = tol;
    if (tol == 0.01) c.max_elements = 11;
    outputs out;
    ASSERT_EQ(c.run(out), 0);
    const auto chain = new_chain(out);
    EXPECT_EQ(std::find(chain.begin(), chain.end(), 1u), chain.end()) << tol;
    EXPECT_EQ(chain.size(), 12u) << tol;
  }
}

TEST(MeshLineSizes, NegativeToleranceCapsSizesByCurvature) {
  // A half circle of radius 1 by 25 nodes with sizes 1: a sag of 1e-3 asks for about
  // sqrt(0.008) = 0.0894, never below min_size; a straight chain is left alone.
  const auto pos = arc(25, 1, M_PI);
  for (double min_size : {0.0, 0.5}) {
    call c;
    c.pos = pos;
    c.chain = first_columns(25);
    c.sizes = dense1D<double>(25, 1.0);
    c.chordal_tol = -1e-3;
    c.min_size = min_size;
    outputs out;
    ASSERT_EQ(c.run(out, false), 0);
    const double smallest = *std::min_element(out.sizes.begin() + 1, out.sizes.end());
    EXPECT_NEAR(smallest, std::max(min_size, std::sqrt(0.008)), 2e-3) << min_size;
    EXPECT_NEAR(static_cast<double>(out.indices.size() - 2), M_PI / smallest, 2) << min_size;
  }
  call c = straight();
  c.pos = make_pos({{0, 0}, {4, 3}, {8, 6}});
  c.chain = ids({0, 1, 2});
  c.sizes = values({0.5, 2, 1});
  outputs plain, capped;
  ASSERT_EQ(c.run(plain, false), 0);
  c.chordal_tol = -1e-9;
  ASSERT_EQ(c.run(capped, false), 0);
  EXPECT_EQ(entries(capped.indices), entries(plain.indices));
  EXPECT_EQ(entries(capped.sizes), entries(plain.sizes));
}

TEST(MeshLineSizes, ElementLengthsFollowTheSizesOnRandomLines) {
  // On a straight line the pass is exact: every element spans the same normalized length
  // e = T / N, and with T >= 1 the geometric-mean rounding keeps e in [1/sqrt2, sqrt2].
  // The sizes are drawn so that they change by at most 0.5 per unit length; every pass
  // interpolates them linearly between its nodes, which keeps that bound. Over an element of
  // length l the size then stays within 0.25 l of h_mid, the mean of the sizes at its ends,
  // so l / h_mid lies in [e / (1 + e / 4), e / (1 - e / 4)], within [0.6, 2.2].
  std::mt19937_64 random(20240611);
  std::uniform_real_distribution<double> unit(0, 1);
  for (int trial = 0; trial < 60; ++trial) {
    const std::size_t dim = 2 + trial % 2;
    const double scale = trial % 3 == 0 ? 1e-8 : trial % 3 == 1 ? 1.0 : 1e8;
    const std::size_t n = 2 + static_cast<std::size_t>(unit(random) * 12);
    double direction[3] = {unit(random) - 0.5, unit(random) - 0.5, unit(random) - 0.5};
    const double norm = std::sqrt(direction[0] * direction[0] + direction[1] * direction[1] +
                                  (dim == 3 ? direction[2] * direction[2] : 0));
    dense2D<double> pos(dim, n);
    dense1D<double> sizes(n);
    double along = 0, size = 0.05 + unit(random);
    for (std::size_t k = 0; k < n; ++k) {
      for (std::size_t i = 0; i < dim; ++i)
        pos(i, k) = (3 + along * direction[i] / norm) * scale;
      sizes[k] = size * scale;
      const double step = 0.01 + 3 * unit(random);
      along += step;
      size = std::max(0.05, size + 0.5 * step * (2 * unit(random) - 1));
    }
    outputs out;
    out.pos.copy(pos);
    ASSERT_EQ(filum::mesh_line(out.pos, first_columns(n), sizes, false, 1, no_max, 0, 0,
                               out.indices, out.params, out.sizes),
              0);
    const std::size_t m = out.indices.size() - 1;
    if (m < 2) continue;  // T < 1.5: a single element, outside the band's assumptions
    for (std::size_t j = 1; j + 1 < m + 1; ++j) {
      const unsigned a = out.indices[j], b = out.indices[j + 1];
      double l2 = 0;
      for (std::size_t i = 0; i < dim; ++i)
        l2 += (out.pos(i, b) - out.pos(i, a)) * (out.pos(i, b) - out.pos(i, a));
      const double ratio = std::sqrt(l2) / (0.5 * (out.sizes[j] + out.sizes[j + 1]));
      EXPECT_GE(ratio, 0.6) << trial << " " << j;
      EXPECT_LE(ratio, 2.2) << trial << " " << j;
    }
  }
}

TEST(MeshLineSizes, SameMeshAtEveryScale) {
  // The corner with a chordal tolerance, scaled by 1e-8 and moved to 1e8: the same chain.
  std::vector<unsigned> reference;
  for (double scale : {1.0, 1e-8, 1e8})
    for (double offset : {0.0, 1e8}) {
      call c = corner();
      for (std::size_t j = 0; j < 3; ++j)
        for (std::size_t i = 0; i < 2; ++i)
          c.pos(i, j) = offset + c.pos(i, j) * scale;
      for (std::size_t k = 0; k < 3; ++k)
        c.sizes[k] *= scale;
      c.chordal_tol = 0.01 * scale;
      outputs out;
      ASSERT_EQ(c.run(out, false), 0);
      if (offset != 0 && scale < 1e-4) continue;  // 1e-8 details vanish at 1e8
      if (reference.empty()) reference = new_chain(out);
      EXPECT_EQ(new_chain(out), reference) << scale << " " << offset;
    }
}

TEST(MeshLineSizes, MeshesInSpace) {
  call c;
  c.pos = make_pos({{0, 0, 0}, {0, 0, 5.5}, {0, 5.5, 5.5}});
  c.chain = ids({0, 1, 2});
  c.params = values({0, 1, 2});
  c.sizes = values({1, 1, 1});
  c.chordal_tol = 0.01;
  outputs out;
  ASSERT_EQ(c.run(out), 0);
  EXPECT_EQ(out.pos.rows(), 3u);
  const auto chain = new_chain(out);
  EXPECT_EQ(chain.size(), 13u);
  EXPECT_EQ(chain[6], 1u);
}

TEST(MeshLineSizes, StorageFailureAppendsAllOrNothing) {
  call c = corner();
  c.pos = make_pos({{0, 0}, {5.5, 0}, {5.5, 5.5}, {2, 7}, {0, 7.5}});
  c.chain = ids({0, 1, 2, 3, 4});
  c.sizes = values({1, 0.5, 1, 1, 1});
  c.chordal_tol = 0.01;
  const std::size_t runs = sweep_allocation_failures(
      [&] {
        outputs out;
        out.pos.copy(c.pos);
        return out;
      },
      [&](outputs& out) {
        return filum::mesh_line(out.pos, c.chain, c.sizes, false, 1, no_max, c.chordal_tol, 0,
                                out.indices, out.params, out.sizes);
      },
      [&](const outputs& out, int code, bool failed) {
        if (failed && code == filum::storage_failure) {
          EXPECT_EQ(out.indices.size(), 1u);  // its own parameters could not be stored
          return;
        }
        EXPECT_EQ(code, 0);
        if (out.indices.size() == 1) {
          EXPECT_TRUE(failed);
          EXPECT_EQ(out.pos.cols(), 5u);
          EXPECT_TRUE(out.params.empty());
          EXPECT_EQ(out.sizes.size(), 1u);
          return;
        }
        const std::size_t entries_added = out.indices.size() - 1;
        EXPECT_EQ(out.params.size(), entries_added);
        EXPECT_EQ(out.sizes.size(), 1 + entries_added);
        for (std::size_t j = 1; j < out.indices.size(); ++j)
          EXPECT_LT(out.indices[j], out.pos.cols());
      });
  EXPECT_GT(runs, 20u);
}
