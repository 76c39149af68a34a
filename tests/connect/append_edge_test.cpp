#include "connect/append_edge.h"

#include "connect/columns.h"

using namespace vorn::filum;
using namespace filum_test;

TEST(AppendEdge, EmptyMatricesTakeTwoRowsAndTheCapacityDoublesFromFourColumns) {
  vorn::dense2D<unsigned> m(0, 5), e3 = matrix_of({{1, 2, 3}}, 3);
  EXPECT_FALSE(append_edge(e3, 4, 7));
  EXPECT_EQ(columns_of(e3), (Columns{{1, 2, 3}}));
  std::vector<std::size_t> capacities;
  for (unsigned j = 0; j < 40; ++j) {
    ASSERT_TRUE(append_edge(m, j, j + 1));
    if (capacities.empty() || capacities.back() != m.col_capacity())
      capacities.push_back(m.col_capacity());
  }
  EXPECT_EQ(capacities, (std::vector<std::size_t>{4, 8, 16, 32, 64}));
  EXPECT_EQ(columns_of(m)[0], (std::vector<unsigned>{0, 1}));
  EXPECT_EQ(columns_of(m)[39], (std::vector<unsigned>{39, 40}));
}
