#include "remesh/node_set.h"

#include <cstdint>
#include <set>
#include <vector>

#include <gtest/gtest.h>

using vorn::filum::node_set;
using keys = std::vector<unsigned>;

namespace {

// The members in ascending order; each must be listed once.
keys members(const node_set& set) {
  const std::set<unsigned> sorted(set.begin(), set.end());
  EXPECT_EQ(sorted.size(), set.size());
  return keys(sorted.begin(), sorted.end());
}

}  // namespace

TEST(NodeSet, BucketCountIsTheFirstTablePrimeNotBelowTheRequest) {
  for (auto [request, buckets] : {std::pair<std::size_t, std::size_t>{0, 13},
                                  {13, 13},
                                  {14, 23},
                                  {24, 53},
                                  {3080, 6151},
                                  {4294967291, 4294967291},
                                  {SIZE_MAX, 4294967291}})
    EXPECT_EQ(node_set::bucket_count_for(request), buckets) << request;
}

TEST(NodeSet, GrowsBeforeTheMembersExceedTwiceTheBuckets) {
  // One by one, each key twice (a present key adds nothing): 46 members fit 23 buckets, 106
  // fit 53.
  node_set set;
  std::vector<std::size_t> buckets{set.bucket_count()};
  for (unsigned key = 1; set.size() < 107; ++key) {
    EXPECT_EQ(set.insert(23 * key), node_set::insertion::added);
    EXPECT_EQ(set.insert(23 * key), node_set::insertion::present);
    buckets.push_back(set.bucket_count());
  }
  EXPECT_TRUE(buckets[0] == 23 && buckets[46] == 23 && buckets[47] == 53);
  EXPECT_TRUE(buckets[106] == 53 && buckets[107] == 193);
  // In bulk the test is made once, up front, for the members plus every key given.
  const struct {
    std::size_t members_before, reserve;
    keys added;
    std::size_t buckets, members_after;
  } cases[] = {
      {40, 0, keys(6, 9999), 23, 41},  // 40 + 6 = 46 fits
      {40, 0, keys(7, 9999), 53, 41},  // 47 > 46, although one key only is new
      {0, 0, keys(100, 5), 193, 1},   {10, 23, {}, 23, 10},  // not above the current 23 buckets
      {10, 24, {1, 2}, 53, 12},       {50, 1000, {}, 1543, 50},
  };
  for (const auto& c : cases) {
    node_set bulk;
    keys expected = c.added;
    for (unsigned k = 0; k < c.members_before; ++k)
      bulk.insert(100 + 23 * k), expected.push_back(100 + 23 * k);
    ASSERT_TRUE(bulk.reserve(c.reserve) && bulk.insert_all(c.added.data(), c.added.size()));
    EXPECT_EQ(bulk.bucket_count(), c.buckets);
    EXPECT_EQ(bulk.size(), c.members_after);
    for (unsigned key : expected)
      EXPECT_TRUE(bulk.contains(key));
  }
}

TEST(NodeSet, AgreesWithAnOrderedSetOnManyKeys) {
  node_set set;
  std::set<unsigned> reference;
  std::uint64_t state = 12345;
  for (int i = 0; i < 200000; ++i) {  // 19-bit keys: long chains and many repeats
    state = state * 6364136223846793005u + 1442695040888963407u;
    const unsigned key = i == 7 ? 0xFFFFFFFFu : static_cast<unsigned>(state >> 45);
    EXPECT_EQ(set.insert(key) == node_set::insertion::added, reference.insert(key).second);
  }
  EXPECT_EQ(members(set), keys(reference.begin(), reference.end()));
  for (unsigned key = 0; key < (1u << 19); key += 3)
    EXPECT_EQ(set.contains(key), reference.count(key) == 1);
}
