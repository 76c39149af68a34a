#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include <vorn/filum.h>

#include "support/filum_test.h"

using namespace vorn;
using namespace vorn::filum;
using filum_test::entries;
using filum_test::ids;
using filum_test::values;

namespace {

// Arguments and results of one call.
struct call {
  dense1D<double> params, sizes;
  dense1D<unsigned> indices;
  bool raise_count = false, force_even = false;
  unsigned min_elements = 1, max_elements = 100;
  dense1D<unsigned> new_indices = ids({77});

  int run() {
    return subdivide(params, sizes, indices, raise_count, force_even, min_elements, max_elements,
                     new_indices);
  }
  // The parameters appended behind the n given ones.
  std::vector<double> new_params(std::size_t n) const {
    return std::vector<double>(params.begin() + n, params.end());
  }
};

}  // namespace

TEST(Subdivide, EqualSizesGiveEvenlySpacedParameters) {
  call c{values({0, 10}), values({1, 1}), ids({0, 1})};
  ASSERT_EQ(c.run(), 0);
  ASSERT_EQ(c.params.size(), 11u);
  for (std::size_t j = 1; j <= 9; ++j) {
    EXPECT_DOUBLE_EQ(c.params[1 + j], static_cast<double>(j));
    EXPECT_EQ(c.sizes[1 + j], 1);
  }
  EXPECT_EQ(entries(c.new_indices), (std::vector<unsigned>{77, 0, 2, 3, 4, 5, 6, 7, 8, 9, 10, 1}));
}

TEST(Subdivide, GradedSizesGiveAGeometricProgression) {
  for (double scale : {1.0, 1e8, 1e-8}) {
    const double origin = scale == 1e8 ? 1e8 : 0;  // far from 0 at the large scale
    call c{values({origin, origin + 10 * scale}), values({scale, 4 * scale}), ids({0, 1})};
    ASSERT_EQ(c.run(), 0);
    const std::vector<double> u = c.new_params(2);
    ASSERT_EQ(u.size(), 4u) << scale;  // T = 10 / (3 / ln 4) = 4.62 gives 5 elements
    std::vector<double> steps{u[0] - origin};
    for (std::size_t k = 1; k < u.size(); ++k)
      steps.push_back(u[k] - u[k - 1]);
    steps.push_back(origin + 10 * scale - u.back());
    for (std::size_t k = 1; k < steps.size(); ++k)
      EXPECT_NEAR(steps[k] / steps[k - 1], std::pow(4, 0.2), 1e-7) << scale << " " << k;
    EXPECT_NEAR(c.sizes[2], (u[0] - origin) / (10 * scale) * 3 * scale + scale, 1e-12 * scale);
  }
}

TEST(Subdivide, CountsAreClampedThenRaisedThenMadeEven) {
  struct Case {
    double length;  // with sizes 1, the real count T
    bool raise_count, force_even;
    unsigned min_elements, max_elements;
    std::size_t count;
  } cases[] = {
      {2.4, false, false, 1, 100, 2},  {2.4, true, false, 1, 100, 3},
      {2.46, false, false, 1, 100, 3}, {2.5, true, true, 1, 2, 4},  // 2, raised to 3, even 4
      {0.2, false, false, 1, 100, 1},  {0.2, false, true, 1, 100, 2},
      {7, false, false, 9, 100, 9},    {70, false, false, 1, 12, 12},
      {70, true, false, 1, 12, 13},    {3.1, false, false, 5, 5, 5},
  };
  for (const Case& c : cases) {
    call k{values({0, c.length}), values({1, 1}), ids({0, 1}),   c.raise_count,
           c.force_even,          c.min_elements, c.max_elements};
    ASSERT_EQ(k.run(), 0);
    EXPECT_EQ(k.new_indices.size(), c.count + 2) << c.length << " " << c.max_elements;
    EXPECT_EQ(k.params.size(), 2 + c.count - 1) << c.length;
  }
}

TEST(Subdivide, ChainsAreWalkedInTheirOwnOrder) {
  // Positions 2, 1, 0 give the parameters 10, 4, 0: the new nodes run from 10 down to 0
  // across both segments, and the interior entry is left out of the new chain.
  call c{values({0, 4, 10}), values({1, 1, 1}), ids({2, 1, 0})};
  ASSERT_EQ(c.run(), 0);
  const std::vector<double> u = c.new_params(3);
  ASSERT_EQ(u.size(), 9u);
  for (std::size_t j = 0; j < 9; ++j)
    EXPECT_NEAR(u[j], 9.0 - static_cast<double>(j), 1e-14);
  EXPECT_EQ(c.new_indices[1], 2u);
  EXPECT_EQ(c.new_indices[2], 3u);
  EXPECT_EQ(c.new_indices[11], 0u);

  // Equal end parameters with at least 3 elements: new nodes repeat the first entry.
  call flat{values({5, 5}), values({2, 3}), ids({0, 1}), false, false, 3, 4};
  ASSERT_EQ(flat.run(), 0);
  EXPECT_EQ(flat.new_params(2), (std::vector<double>{5, 5}));
  EXPECT_EQ(std::vector<double>(flat.sizes.begin() + 2, flat.sizes.end()),
            (std::vector<double>{2, 2}));
}

TEST(Subdivide, CodesInArgumentOrder) {
  struct Case {
    const char* name;
    call c;
    int expected;
  } cases[] = {
      {"sizes shorter than params", {values({0, 1}), values({1}), ids({0, 9})}, -2},
      {"one entry", {values({0, 1}), values({1, 1}), ids({0}), false, false, 0, 0}, -2},
      {"identifier", {values({0, 1}), values({1, 1}), ids({0, 2}), false, false, 0, 0}, -2},
      {"min 0", {values({0, 1}), values({1, 1}), ids({0, 1}), false, false, 0, 4}, -6},
      {"min above max", {values({0, 1}), values({1, 1}), ids({0, 1}), false, false, 5, 4}, -6},
  };
  for (Case& k : cases) {
    EXPECT_EQ(k.c.run(), k.expected) << k.name;
    EXPECT_EQ(k.c.params.size(), 2u) << k.name;
    EXPECT_EQ(entries(k.c.new_indices), std::vector<unsigned>{77}) << k.name;
  }
}

TEST(Subdivide, StorageFailures) {
  // A failed working vector gives the chain [first, last]; a failed append gives -199
  // with nothing appended.
  std::size_t degraded = 0;
  std::size_t reported = 0;
  filum_test::sweep_allocation_failures(
      [] {
        return call{values({0, 10}), values({1, 1}), ids({0, 1})};
      },
      [](call& c) { return c.run(); },
      [&](call& c, int result, bool failed) {
        if (!failed) {
          EXPECT_EQ(result, 0);
          EXPECT_EQ(c.new_indices.size(), 12u);
        } else if (result == 0) {
          ++degraded;
          EXPECT_EQ(entries(c.new_indices), (std::vector<unsigned>{77, 0, 1}));
          EXPECT_EQ(c.params.size(), 2u);
        } else {
          ++reported;
          EXPECT_EQ(result, -199);
          EXPECT_EQ(c.params.size(), 2u);
          EXPECT_EQ(c.sizes.size(), 2u);
          EXPECT_EQ(entries(c.new_indices), std::vector<unsigned>{77});
        }
      });
  EXPECT_GT(degraded, 0u);
  EXPECT_GT(reported, 0u);
}
