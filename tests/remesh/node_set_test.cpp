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
