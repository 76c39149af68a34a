#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include <vorn/filum.h>

#include "support/filum_test.h"

using namespace vorn;
using namespace filum_test;

namespace {

// Arguments and results of one call.
struct call {
  dense1D<double> params, sizes;
  dense1D<unsigned> indices;
  bool raise_count = false, force_even = false;
  unsigned min_elements = 1, max_elements = 100;
  dense1D<unsigned> new_indices = ids({77});

  int run() {
    return filum::subdivide(params, sizes, indices, raise_count, force_even, min_elements,
                            max_elements, new_indices);
  }
};

// The values appended behind the n given ones.
std::vector<double> tail(const dense1D<double>& v, std::size_t n) {
  return std::vector<double>(v.begin() + n, v.end());
}

}  // namespace

TEST(Subdivide, GradedSizesChainOrderAndFlatChains) {
  // 10 / (3 / ln 4) = 4.62: 5 elements whose steps grow by 4^(1/5), sizes linear in them.
  call graded{values({1e8, 1e8 + 10}), values({1, 4}), ids({0, 1})};
  ASSERT_EQ(graded.run(), 0);
  std::vector<double> u = tail(graded.params, 2);
  ASSERT_EQ(u.size(), 4u);
  EXPECT_NEAR(graded.sizes[2], (u[0] - 1e8) / 10 * 3 + 1, 1e-7);
  u.insert(u.begin(), 1e8);
  u.push_back(1e8 + 10);
  for (std::size_t k = 2; k < u.size(); ++k)
    EXPECT_NEAR((u[k] - u[k - 1]) / (u[k - 1] - u[k - 2]), std::pow(4, 0.2), 1e-7);
  // Positions 2, 1, 0 give the parameters 10, 4, 0: the new nodes run down across both
  // segments, and the interior entry is left out of the new chain.
  call c{values({0, 4, 10}), values({1, 1, 1}), ids({2, 1, 0})};
  ASSERT_EQ(c.run(), 0);
  EXPECT_EQ(tail(c.params, 3), (std::vector<double>{9, 8, 7, 6, 5, 4, 3, 2, 1}));
  EXPECT_EQ(tail(c.sizes, 3), std::vector<double>(9, 1));
  EXPECT_EQ(entries(c.new_indices), (std::vector<unsigned>{77, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 0}));
  // Equal end parameters with at least 3 elements: new nodes repeat the first entry.
  call flat{values({5, 5}), values({2, 3}), ids({0, 1}), false, false, 3, 4};
  ASSERT_EQ(flat.run(), 0);
  EXPECT_EQ(tail(flat.params, 2), (std::vector<double>{5, 5}));
  EXPECT_EQ(tail(flat.sizes, 2), (std::vector<double>{2, 2}));
}

TEST(Subdivide, CountsAreClampedThenRaisedThenMadeEven) {
  // T (sizes 1), raise_count, force_even, min, max, count.
  // clang-format off
  const struct {
    double T; bool raise_count, force_even; unsigned min_elements, max_elements; std::size_t count;
  } cases[] = {{2.4, false, false, 1, 100, 2},  {2.4, true, false, 1, 100, 3},
               {2.46, false, false, 1, 100, 3}, {2.5, true, true, 1, 2, 4},
               {0.2, false, false, 1, 100, 1},  {0.2, false, true, 1, 100, 2},
               {7, false, false, 9, 100, 9},    {70, false, false, 1, 12, 12},
               {70, true, false, 1, 12, 13}};
  // clang-format on
  for (const auto& c : cases) {
    call k{values({0, c.T}), values({1, 1}), ids({0, 1}),   c.raise_count,
           c.force_even,     c.min_elements, c.max_elements};
    ASSERT_EQ(k.run(), 0);
    EXPECT_EQ(k.new_indices.size(), c.count + 2) << c.T << " " << c.max_elements;
    EXPECT_EQ(k.params.size(), c.count + 1) << c.T;
  }
}

TEST(Subdivide, CodesInArgumentOrderAndStorageFailures) {
  // clang-format off
  // Sizes shorter than params come first.
  const struct {
    dense1D<double> sizes; dense1D<unsigned> indices; unsigned min_elements, max_elements;
    int expected;
  } cases[] = {
      {values({1}), ids({0, 9}), 1, 1, -2},     {values({1, 1}), ids({0}), 0, 0, -2},
      {values({1, 1}), ids({0, 2}), 0, 0, -2},  {values({1, 1}), ids({0, 1}), 0, 4, -6},
      {values({1, 1}), ids({0, 1}), 5, 4, -6}};
  // clang-format on
  for (const auto& c : cases) {
    call k{values({0, 1}), c.sizes, c.indices, false, false, c.min_elements, c.max_elements};
    EXPECT_EQ(k.run(), c.expected);
    EXPECT_EQ(k.params.size(), 2u);
    EXPECT_EQ(entries(k.new_indices), std::vector<unsigned>{77});
  }
  // A failed working vector gives the chain [first, last] and 0; a failed append gives -199
  // with nothing appended.
  std::size_t degraded = 0, reported = 0;
  sweep_allocation_failures(
      [] {
        return call{values({0, 10}), values({1, 1}), ids({0, 1})};
      },
      [](call& c) { return c.run(); },
      [&](call& c, int result, bool failed) {
        const bool short_chain = failed && result == 0;
        degraded += short_chain;
        reported += result == -199;
        EXPECT_TRUE(result == 0 || (failed && result == -199));
        EXPECT_EQ(c.params.size(), result == 0 && !short_chain ? 11u : 2u);
        EXPECT_EQ(c.new_indices.size(), result != 0 ? 1u : short_chain ? 3u : 12u);
      });
  EXPECT_TRUE(degraded > 0 && reported > 0);
}

TEST(Subdivide, NonFiniteParamsAndOverflowingCounts) {
  const double inf = INFINITY;
  const struct {
    std::vector<double> params, sizes;
    unsigned max_elements;
    int code;
    std::vector<double> added;  // parameters appended
  } cases[] = {
      {{0, NAN, 1}, {1, 1, 1}, 100, -1, {}},
      {{0, 0.5, inf}, {1, 1, 1}, 100, -1, {}},
      {{0, 1, 2}, {5e-324, 5e-324, 5e-324}, 4, 0, {0.5, 1, 1.5}},  // even in parameter
      {{0, 1, 2}, {1e-300, 1e-300, 1e-300}, 4294967295u, 0, {}},   // more than storage holds
      {{-1e308, 0, 1e308}, {1e-300, 1e-300, 1e-300}, 4, 0, {}},    // lengths overflow too
  };
  for (const auto& k : cases) {
    call c{dense_copy(k.params), dense_copy(k.sizes), ids({0, 1, 2}), false, false, 1,
           k.max_elements};
    EXPECT_EQ(c.run(), k.code) << k.params[1];
    EXPECT_EQ(tail(c.params, 3), k.added) << k.params[1];
    EXPECT_EQ(c.sizes.size(), c.params.size());
  }
}
