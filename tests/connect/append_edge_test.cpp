#include "connect/append_edge.h"

#include "connect/columns.h"

using namespace vorn::filum;
using namespace filum_test;

TEST(AppendEdge, EmptyMatricesTakeTwoRowsAndOthersAreRefused) {
  vorn::dense2D<unsigned> m(0, 5), e3 = matrix_of({{1, 2, 3}}, 3);
  EXPECT_FALSE(append_edge(e3, 4, 7));
  EXPECT_EQ(columns_of(e3), (Columns{{1, 2, 3}}));
  for (unsigned j = 0; j < 40; ++j)
    ASSERT_TRUE(append_edge(m, j, j + 1));
  for (unsigned j = 0; j < 40; ++j)
    EXPECT_EQ(columns_of(m)[j], (std::vector<unsigned>{j, j + 1}));
}
