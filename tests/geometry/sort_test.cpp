#include <cmath>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include <vorn/filum.h>

#include "support/filum_test.h"

using namespace vorn;
using namespace filum_test;
using pairs = std::vector<std::pair<double, unsigned>>;

namespace {

// Sorts the pairs with filum::sort and returns them.
pairs sorted(const pairs& input) {
  dense1D<double> v(input.size());
  dense1D<unsigned> i(input.size());
  for (std::size_t k = 0; k < input.size(); ++k)
    v[k] = input[k].first, i[k] = input[k].second;
  EXPECT_EQ(filum::sort(v, i), 0);
  pairs out;
  for (std::size_t k = 0; k < input.size(); ++k)
    out.emplace_back(v[k], i[k]);
  return out;
}

}  // namespace

TEST(Sort, ValuesThenIdentifiersNaNBehind) {
  const double nan = std::nan("");
  EXPECT_EQ(sorted({}), pairs{});
  EXPECT_EQ(sorted({{2, 7}, {-1e-8, 9}, {2, 5}}), (pairs{{-1e-8, 9}, {2, 5}, {2, 7}}));
  // -0 and 0 are equal: ordered by identifier, each value travelling with its own.
  const pairs zeros = sorted({{0.0, 8}, {-0.0, 3}, {0.0, 1}});
  EXPECT_EQ(zeros, (pairs{{0, 1}, {0, 3}, {0, 8}}));
  EXPECT_TRUE(std::signbit(zeros[1].first));
  std::vector<unsigned> order;
  for (const auto& p : sorted({{nan, 0}, {3, 1}, {nan, 2}, {1, 3}, {2, 4}, {nan, 5}, {0, 6}}))
    order.push_back(p.second);
  EXPECT_EQ(order, (std::vector<unsigned>{6, 3, 4, 1, 0, 2, 5}));
}

TEST(Sort, FailuresChangeNothing) {
  dense1D<double> v = values({3, 2, 1});
  dense1D<unsigned> short_ids = ids({1, 2});
  EXPECT_EQ(filum::sort(v, short_ids), -1);
  EXPECT_EQ(entries(v), (std::vector<double>{3, 2, 1}));
  EXPECT_GT(sweep_allocation_failures(
                [] {
                  return std::make_pair(values({3, 2, 1}), ids({1, 2, 3}));
                },
                [](auto& in) { return filum::sort(in.first, in.second); },
                [](const auto& in, int result, bool failed) {
                  EXPECT_EQ(result, failed ? -199 : 0);
                  EXPECT_EQ(entries(in.second), failed ? (std::vector<unsigned>{1, 2, 3})
                                                       : (std::vector<unsigned>{3, 2, 1}));
                }),
            0u);
}
