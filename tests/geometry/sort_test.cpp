#include <algorithm>
#include <cmath>
#include <random>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include <vorn/filum.h>

#include "support/filum_test.h"

using namespace vorn;
using namespace vorn::filum;
using filum_test::entries;
using filum_test::ids;
using filum_test::values;
using pairs = std::vector<std::pair<double, unsigned>>;

namespace {

// Sorts the pairs with filum::sort and returns them.
pairs sorted(const pairs& input) {
  dense1D<double> v(input.size());
  dense1D<unsigned> i(input.size());
  for (std::size_t k = 0; k < input.size(); ++k)
    v[k] = input[k].first, i[k] = input[k].second;
  EXPECT_EQ(sort(v, i), 0);
  pairs out;
  for (std::size_t k = 0; k < input.size(); ++k)
    out.emplace_back(v[k], i[k]);
  return out;
}

}  // namespace

TEST(Sort, ValuesThenIdentifiers) {
  EXPECT_EQ(sorted({}), pairs{});
  EXPECT_EQ(sorted({{2, 7}, {1, 9}, {2, 5}}), (pairs{{1, 9}, {2, 5}, {2, 7}}));
  EXPECT_EQ(sorted({{-1, 0}, {3e8, 1}, {-1e-8, 2}, {-2, 3}}),
            (pairs{{-2, 3}, {-1, 0}, {-1e-8, 2}, {3e8, 1}}));
  // -0 and 0 are equal: ordered by identifier, each value travelling with its own.
  const pairs zeros = sorted({{0.0, 8}, {-0.0, 3}, {0.0, 1}});
  EXPECT_EQ(zeros, (pairs{{0, 1}, {0, 3}, {0, 8}}));
  EXPECT_TRUE(std::signbit(zeros[1].first));

  std::mt19937 random(7);  // many repeats: the result does not depend on the input order
  pairs input(5000);
  for (auto& p : input)
    p = {static_cast<double>(random() % 100) - 50, static_cast<unsigned>(random() % 1000)};
  pairs expected = input;
  std::sort(expected.begin(), expected.end());
  for (int shuffle = 0; shuffle < 3; ++shuffle) {
    std::shuffle(input.begin(), input.end(), random);
    EXPECT_EQ(sorted(input), expected);
  }
}

TEST(Sort, NaNValuesGoBehindTheSortedNumbers) {
  const double nan = std::nan("");
  dense1D<double> v = values({nan, 3, nan, 1, 2, nan, 0});
  dense1D<unsigned> i = ids({0, 1, 2, 3, 4, 5, 6});
  ASSERT_EQ(sort(v, i), 0);
  EXPECT_EQ(entries(i), (std::vector<unsigned>{6, 3, 4, 1, 0, 2, 5}));
}

TEST(Sort, FailuresChangeNothing) {
  struct inputs {
    dense1D<double> v;
    dense1D<unsigned> i;
  };
  inputs mismatched{values({3, 2, 1}), ids({1, 2})};
  EXPECT_EQ(sort(mismatched.v, mismatched.i), -1);
  EXPECT_EQ(entries(mismatched.v), (std::vector<double>{3, 2, 1}));
  const std::size_t failures = filum_test::sweep_allocation_failures(
      [] {
        return inputs{values({3, 2, 1}), ids({1, 2, 3})};
      },
      [](inputs& in) { return sort(in.v, in.i); },
      [](inputs& in, int result, bool failed) {
        EXPECT_EQ(result, failed ? -199 : 0);
        EXPECT_EQ(entries(in.i),
                  failed ? (std::vector<unsigned>{1, 2, 3}) : (std::vector<unsigned>{3, 2, 1}));
      });
  EXPECT_GT(failures, 0u);
}
