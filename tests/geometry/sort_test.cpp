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

TEST(Sort, ValuesThenIdentifiers) {
  struct Case {
    std::vector<double> values, sorted_values;
    std::vector<unsigned> ids, sorted_ids;
  } cases[] = {
      {{}, {}, {}, {}},
      {{2, 1, 2}, {1, 2, 2}, {7, 9, 5}, {9, 5, 7}},
      {{-1, 3e8, -1e-8, -2}, {-2, -1, -1e-8, 3e8}, {0, 1, 2, 3}, {3, 0, 2, 1}},
      {{0.0, -0.0, 0.0, -0.0}, {0, 0, 0, 0}, {4, 3, 2, 1}, {1, 2, 3, 4}},  // -0 equals 0
  };
  for (const Case& c : cases) {
    dense1D<double> v(c.values.size());
    dense1D<unsigned> i(c.ids.size());
    std::copy(c.values.begin(), c.values.end(), v.begin());
    std::copy(c.ids.begin(), c.ids.end(), i.begin());
    ASSERT_EQ(sort(v, i), 0);
    EXPECT_EQ(entries(v), c.sorted_values);
    EXPECT_EQ(entries(i), c.sorted_ids);
  }
}

TEST(Sort, SignedZerosTravelWithTheirIdentifiers) {
  dense1D<double> v = values({0.0, -0.0});
  dense1D<unsigned> i = ids({8, 3});
  ASSERT_EQ(sort(v, i), 0);
  EXPECT_EQ(entries(i), (std::vector<unsigned>{3, 8}));
  EXPECT_TRUE(std::signbit(v[0]));
  EXPECT_FALSE(std::signbit(v[1]));
}

TEST(Sort, ResultDoesNotDependOnTheInputOrder) {
  std::mt19937 random(7);
  std::vector<std::pair<double, unsigned>> pairs(5000);
  for (auto& p : pairs)
    p = {static_cast<double>(random() % 100) - 50, static_cast<unsigned>(random() % 1000)};
  std::vector<std::pair<double, unsigned>> expected = pairs;
  std::sort(expected.begin(), expected.end());
  for (int shuffle = 0; shuffle < 3; ++shuffle) {
    std::shuffle(pairs.begin(), pairs.end(), random);
    dense1D<double> v(pairs.size());
    dense1D<unsigned> i(pairs.size());
    for (std::size_t k = 0; k < pairs.size(); ++k)
      v[k] = pairs[k].first, i[k] = pairs[k].second;
    ASSERT_EQ(sort(v, i), 0);
    for (std::size_t k = 0; k < pairs.size(); ++k) {
      ASSERT_EQ(v[k], expected[k].first) << k;
      ASSERT_EQ(i[k], expected[k].second) << k;
    }
  }
}

TEST(Sort, NaNValuesStayInsideAndLeaveTheNumbersSorted) {
  const double nan = std::nan("");
  dense1D<double> v = values({nan, 3, nan, 1, 2, nan, 0});
  dense1D<unsigned> i = ids({0, 1, 2, 3, 4, 5, 6});
  ASSERT_EQ(sort(v, i), 0);
  EXPECT_EQ(std::vector<double>(v.begin(), v.begin() + 4), (std::vector<double>{0, 1, 2, 3}));
  EXPECT_EQ(entries(i), (std::vector<unsigned>{6, 3, 4, 1, 0, 2, 5}));
}

TEST(Sort, FailuresChangeNothing) {
  dense1D<double> v = values({3, 2, 1});
  dense1D<unsigned> i = ids({1, 2});
  EXPECT_EQ(sort(v, i), -1);
  EXPECT_EQ(entries(v), (std::vector<double>{3, 2, 1}));
  EXPECT_EQ(entries(i), (std::vector<unsigned>{1, 2}));

  struct inputs {
    dense1D<double> v;
    dense1D<unsigned> i;
  };
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
