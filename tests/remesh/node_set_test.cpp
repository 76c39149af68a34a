#include "remesh/node_set.h"

#include <cstdint>
#include <iterator>
#include <memory>
#include <set>
#include <vector>

#include <gtest/gtest.h>

#include "support/filum_test.h"

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

TEST(NodeSet, ChainsOfCongruentKeysAndGrowthAtTwiceTheBuckets) {
  node_set set;
  EXPECT_EQ(set.bucket_count(), 23u);
  EXPECT_FALSE(set.contains(0));
  // Bucket 0 gets 23, 46, 69: key 0 meets used entries of other keys and unused ones.
  for (unsigned key : {23u, 46u, 4294967295u, 69u, 1u})
    EXPECT_EQ(set.insert(key), node_set::insertion::added);
  EXPECT_EQ(set.insert(46), node_set::insertion::present);
  for (unsigned key : {0u, 2u, 92u})
    EXPECT_FALSE(set.contains(key));
  EXPECT_EQ(members(set), (keys{1, 23, 46, 69, 4294967295u}));
  std::vector<std::size_t> buckets;  // after 6, 7, ... members, each key inserted twice
  for (unsigned key = 100; set.size() < 107; ++key) {
    set.insert(key * 23), set.insert(key * 23);
    buckets.push_back(set.bucket_count());
  }
  EXPECT_EQ(buckets[40], 23u);   // 46 members
  EXPECT_EQ(buckets[41], 53u);   // 47 > 2 x 23
  EXPECT_EQ(buckets[100], 53u);  // 106 members
  EXPECT_EQ(buckets[101], 193u);
  EXPECT_EQ(members(set).size(), 107u);
}

TEST(NodeSet, BulkInsertionAndReserveSizeUpFront) {
  struct Case {
    std::size_t members_before, reserve;
    keys added;
    std::size_t buckets, members_after;
  } cases[] = {
      {40, 0, keys(6, 9999), 23, 41},  // 40 + 6 = 46 fits
      {40, 0, keys(7, 9999), 53, 41},  // 47 > 46, although one key only is new
      {0, 0, keys(100, 5), 193, 1},    // every key is counted up front
      {10, 23, {}, 23, 10},            // not above the current 23 buckets
      {10, 24, {1, 2}, 53, 12},       {50, 1000, {}, 1543, 50},
  };
  for (const Case& c : cases) {
    node_set set;
    keys expected = c.added;
    for (unsigned k = 0; k < c.members_before; ++k)
      set.insert(100 + 23 * k), expected.push_back(100 + 23 * k);
    ASSERT_TRUE(set.reserve(c.reserve));
    ASSERT_TRUE(set.insert_all(c.added.data(), c.added.size()));
    EXPECT_EQ(set.bucket_count(), c.buckets);
    EXPECT_EQ(set.size(), c.members_after);
    for (unsigned key : expected)
      EXPECT_TRUE(set.contains(key));
  }
}

TEST(NodeSet, AgreesWithAnOrderedSetOnManyKeys) {
  node_set set;
  std::set<unsigned> reference;
  std::uint64_t state = 12345;
  for (int i = 0; i < 200000; ++i) {
    state = state * 6364136223846793005u + 1442695040888963407u;
    const unsigned key = static_cast<unsigned>(state >> 45);  // 19 bits: many repeats
    EXPECT_EQ(set.insert(key) == node_set::insertion::added, reference.insert(key).second);
  }
  EXPECT_EQ(members(set), keys(reference.begin(), reference.end()));
  for (unsigned key = 0; key < (1u << 19); key += 3)
    EXPECT_EQ(set.contains(key), reference.count(key) == 1);
}

TEST(NodeSet, StorageFailureLeavesMembersAndCountAsTheyWere) {
  // Keys of one chain, the first 6 inserted one by one and the others in bulks of one,
  // then a reservation, until a storage request fails.
  struct Run {
    node_set set;
    std::size_t accepted = 0;
  };
  keys chain;
  for (unsigned k = 0; k < 150; ++k)
    chain.push_back(3 + 23 * k);
  const std::size_t failures = filum_test::sweep_allocation_failures(
      [] { return std::make_unique<Run>(); },
      [&](std::unique_ptr<Run>& run) {
        for (unsigned key : chain) {
          if (run->accepted < 6 ? run->set.insert(key) == node_set::insertion::failed
                                : !run->set.insert_all(&key, 1))
            return 1;
          ++run->accepted;
        }
        return run->set.reserve(20000) ? 0 : 2;
      },
      [&](std::unique_ptr<Run>& run, int result, bool failed) {
        EXPECT_EQ(result != 0, failed);
        EXPECT_EQ(members(run->set), keys(chain.begin(), chain.begin() + run->accepted));
        for (std::size_t i = 0; i < chain.size(); ++i)
          EXPECT_EQ(run->set.contains(chain[i]), i < run->accepted);
        EXPECT_TRUE(result != 2 || run->set.bucket_count() < 20000);
        EXPECT_TRUE(run->set.insert_all(chain.data(), chain.size()));  // works again
        EXPECT_EQ(members(run->set), chain);
      });
  EXPECT_GE(failures, 5u);
}
