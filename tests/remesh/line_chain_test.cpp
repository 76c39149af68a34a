#include "remesh/line_chain.h"

#include <vector>

#include <gtest/gtest.h>

#include "support/filum_test.h"

using namespace vorn;
using filum::line_chain;
using filum_test::entries;
using filum_test::ids;

TEST(LineChain, StartNodeThenEveryEndNode) {
  // Line 0 open over elements 3, 0; line 1 the closed loop 1, 2, 4 through node 7.
  const dense2D<unsigned> connectM =
      filum_test::make_columns<unsigned>({{5, 6}, {7, 8}, {8, 9}, {4, 5}, {9, 7}});
  const dense1D<unsigned> starts = ids({0, 2, 5}), elements = ids({3, 0, 1, 2, 4});
  const std::vector<unsigned> expected[] = {{4, 5, 6}, {7, 8, 9, 7}};
  for (std::size_t i = 0; i < 2; ++i) {
    dense1D<unsigned> chain = ids({1, 2, 3, 4, 5, 6, 7});
    ASSERT_EQ(line_chain(connectM, starts, elements, i, chain), 0);
    EXPECT_EQ(entries(chain), expected[i]);
  }
  dense1D<unsigned> chain = ids({1});
  filum_test::scoped_allocation_failure failure(1);
  EXPECT_EQ(line_chain(connectM, starts, elements, 1, chain), -199);
  EXPECT_TRUE(failure.happened());
  EXPECT_TRUE(chain.empty());
}
