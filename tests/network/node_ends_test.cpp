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

// Drops the degenerate elements of connectM on `threads` threads and compares the counts,
// the kept elements and their neighbor table with a brute-force pass in element order and
// with the core's neighbor search.
void expect_drop_as_brute_force(const dense2D<double>& pos, const dense2D<unsigned>& connectM,
                                unsigned threads) {
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
  filum::degenerate_counts counts;
  dense2D<unsigned> kept, neighbors, expected;
  dense1D<unsigned> kept_colors, kept_hard;
  filum::node_ends ends;
  ASSERT_EQ(filum::drop_degenerate_elements(pos, connectM, {}, {}, counts, kept, kept_colors,
                                            kept_hard, ends, threads),
            0);
  EXPECT_EQ(counts.self_loops, loops);
  EXPECT_EQ(counts.zero_length, zero);
  EXPECT_EQ(counts.duplicates, repeats);
  const dense2D<unsigned>& result = counts.total() ? kept : connectM;
  EXPECT_EQ(entries(result.as_vector()), survivors);
  ASSERT_TRUE(filum::neighbor_table(result, ends, neighbors, threads));
  ASSERT_EQ(tessa::get_neighbors(result, tessa::element_type::edge2, false, expected), 0);
  EXPECT_TRUE(entries(neighbors.as_vector()) == entries(expected.as_vector()));
}

// Several blocks of elements, shuffled: long paths (two ends per node), repeated pairs on
// nodes of their own (found by the per-block pass, often across blocks), self-loops,
// elements between coinciding nodes and random elements (joints of three and more).
TEST(NodeEnds, SameDropAndNeighborsOnEveryThreadCountAcrossBlocks) {
  std::mt19937 rng(7);
  std::vector<std::pair<unsigned, unsigned>> list;
  unsigned next = 1;
  while (list.size() < 3 * filum::elements_per_block + 123) {
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
  std::vector<unsigned> ends;
  for (const auto& [a, b] : list)
    ends.insert(ends.end(), {a, b});
  const dense2D<unsigned> connectM = columns_from(ends, 2, 2);
  const unsigned largest = *std::max_element(ends.begin(), ends.end());
  dense2D<double> pos(2, largest + 1);
  for (unsigned v = 0; v <= largest; ++v)
    pos(0, v) = v % 997 == 5 ? -1 : v, pos(1, v) = 0;  // nodes 5, 1002, ... coincide
  for (unsigned threads : {1u, 2u, 3u}) {
    SCOPED_TRACE(threads);
    expect_drop_as_brute_force(pos, connectM, threads);
  }
}

}  // namespace
