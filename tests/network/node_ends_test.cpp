#include <algorithm>
#include <random>
#include <set>

#include <gtest/gtest.h>
#include <vorn/tessa.h>

#include "degenerate_elements.h"
#include "node_ends.h"
#include "parallel_blocks.h"
#include "support/filum_test.h"

using namespace vorn;
using namespace filum_test;

namespace {

// Random element lists over few nodes, so that free ends, joints of three and more,
// self-loops and repeated elements in both directions all occur.
dense2D<unsigned> random_elements(unsigned seed) {
  std::mt19937 rng(seed);
  const unsigned nodes = 3 + rng() % 30, elements = 1 + rng() % 40;
  dense2D<unsigned> connectM(2, elements);
  for (unsigned e = 0; e < elements; ++e)
    connectM(0, e) = rng() % nodes, connectM(1, e) = rng() % nodes;
  return connectM;
}

TEST(NodeEnds, GiveTheNeighborTableOfTheCore) {
  for (unsigned seed = 0; seed < 300; ++seed) {
    const dense2D<unsigned> connectM = random_elements(seed);
    dense2D<unsigned> expected, neighbors;
    ASSERT_EQ(tessa::get_neighbors(connectM, tessa::element_type::edge2, false, expected), 0);
    filum::node_ends ends;
    ASSERT_TRUE(ends.gather(connectM, {}));
    ASSERT_TRUE(filum::neighbor_table(connectM, ends, neighbors));
    EXPECT_EQ(entries(neighbors.as_vector()), entries(expected.as_vector())) << "seed " << seed;
  }
}

TEST(NodeEnds, DropEveryDegenerateElementAndKeepTheFirstOfARepeat) {
  for (unsigned seed = 0; seed < 300; ++seed) {
    const dense2D<unsigned> connectM = random_elements(seed);
    dense2D<double> pos(2, 40);
    for (unsigned v = 0; v < 40; ++v)
      pos(0, v) = v % 7 == 3 ? 0 : v, pos(1, v) = 0;  // nodes 0, 3, 10, 17, ... coincide
    filum::degenerate_counts counts;
    dense2D<unsigned> kept;
    dense1D<unsigned> kept_colors, kept_hard;
    filum::node_ends ends;
    ASSERT_EQ(filum::drop_degenerate_elements(pos, connectM, {}, {}, counts, kept, kept_colors,
                                              kept_hard, ends),
              0);
    // The same by brute force, in element order.
    std::vector<std::pair<unsigned, unsigned>> survivors;
    std::size_t loops = 0, zero = 0, repeats = 0;
    for (std::size_t e = 0; e < connectM.cols(); ++e) {
      const unsigned a = connectM(0, e), b = connectM(1, e);
      if (a == b) {
        ++loops;
        continue;
      }
      if (pos(0, a) == pos(0, b)) {
        ++zero;
        continue;
      }
      bool repeat = false;
      for (const auto& s : survivors)
        repeat = repeat || (s.first == a && s.second == b) || (s.first == b && s.second == a);
      if (repeat)
        ++repeats;
      else
        survivors.emplace_back(a, b);
    }
    EXPECT_EQ(counts.self_loops, loops);
    EXPECT_EQ(counts.zero_length, zero);
    EXPECT_EQ(counts.duplicates, repeats);
    const dense2D<unsigned>& result = counts.total() ? kept : connectM;
    ASSERT_EQ(result.cols(), survivors.size()) << "seed " << seed;
    for (std::size_t e = 0; e < survivors.size(); ++e)
      EXPECT_EQ(std::make_pair(result(0, e), result(1, e)), survivors[e]);
  }
}

// Several blocks of elements, shuffled: long paths (two ends per node), repeated pairs on
// nodes of their own (found by the per-block pass, often across blocks), self-loops,
// elements between coinciding nodes and random elements (joints of three and more).
dense2D<unsigned> blocks_of_elements(unsigned seed, std::size_t elements) {
  std::mt19937 rng(seed);
  std::vector<std::pair<unsigned, unsigned>> list;
  unsigned next = 1;
  while (list.size() < elements) {
    const unsigned r = rng() % 100;
    if (r < 80) {
      list.emplace_back(next, next + 1), ++next;
    } else if (r < 86) {
      list.emplace_back(next + 2, next + 3), list.emplace_back(next + 3, next + 2), next += 5;
    } else if (r < 89) {
      const unsigned v = static_cast<unsigned>(rng() % next);
      list.emplace_back(v, v);
    } else if (r < 92) {
      list.emplace_back(997 * static_cast<unsigned>(rng() % 50) + 5, 997 * 50 + 5);
    } else {
      list.emplace_back(static_cast<unsigned>(rng() % next), static_cast<unsigned>(rng() % next));
    }
  }
  std::shuffle(list.begin(), list.end(), rng);
  dense2D<unsigned> connectM(2, list.size());
  for (std::size_t e = 0; e < list.size(); ++e)
    connectM(0, e) = list[e].first, connectM(1, e) = list[e].second;
  return connectM;
}

constexpr unsigned thread_counts[] = {1, 2, 3};

TEST(NodeEnds, SameDropAndNeighborsOnEveryThreadCountAcrossBlocks) {
  const dense2D<unsigned> connectM = blocks_of_elements(7, 3 * filum::elements_per_block + 123);
  unsigned largest = 0;
  for (unsigned v : connectM.as_vector())
    largest = std::max(largest, v);
  dense2D<double> pos(2, largest + 1);
  for (unsigned v = 0; v <= largest; ++v)
    pos(0, v) = v % 997 == 5 ? -1 : v, pos(1, v) = 0;  // nodes 5, 1002, ... coincide
  // The reference, in element order.
  std::set<std::pair<unsigned, unsigned>> seen;
  std::vector<unsigned> survivors;
  std::size_t loops = 0, zero = 0, repeats = 0;
  for (std::size_t e = 0; e < connectM.cols(); ++e) {
    const unsigned a = connectM(0, e), b = connectM(1, e);
    if (a == b)
      ++loops;
    else if (pos(0, a) == pos(0, b))
      ++zero;
    else if (!seen.emplace(std::min(a, b), std::max(a, b)).second)
      ++repeats;
    else
      survivors.insert(survivors.end(), {a, b});
  }
  ASSERT_TRUE(loops > 0 && zero > 0 && repeats > 1000);
  for (unsigned threads : thread_counts) {
    filum::degenerate_counts counts;
    dense2D<unsigned> kept, neighbors, expected;
    dense1D<unsigned> kept_colors, kept_hard;
    filum::node_ends ends;
    ASSERT_EQ(filum::drop_degenerate_elements(pos, connectM, {}, {}, counts, kept, kept_colors,
                                              kept_hard, ends, threads),
              0);
    EXPECT_EQ(counts.self_loops, loops);
    EXPECT_EQ(counts.zero_length, zero);
    EXPECT_EQ(counts.duplicates, repeats) << threads << " threads";
    EXPECT_EQ(entries(kept.as_vector()), survivors) << threads << " threads";
    ASSERT_TRUE(filum::neighbor_table(kept, ends, neighbors, threads));
    ASSERT_EQ(tessa::get_neighbors(kept, tessa::element_type::edge2, false, expected), 0);
    EXPECT_TRUE(entries(neighbors.as_vector()) == entries(expected.as_vector()))
        << threads << " threads";
  }
}

}  // namespace
