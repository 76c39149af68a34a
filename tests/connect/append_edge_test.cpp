#include "connect/append_edge.h"

#include <gtest/gtest.h>

#include "connect/columns.h"

using namespace vorn::filum;
using filum_test::Columns;
using filum_test::columns_of;

TEST(AppendEdge, EmptyMatricesTakeTwoRowsOthersMustHaveThem) {
  for (auto shape : {std::pair<int, int>{0, 0}, {3, 0}, {0, 5}}) {
    vorn::dense2D<unsigned> m(shape.first, shape.second);
    ASSERT_TRUE(append_edge(m, 4, 7));
    EXPECT_EQ(columns_of(m), (Columns{{4, 7}}));
  }
  auto e3 = filum_test::matrix_of({{1, 2, 3}}, 3);
  EXPECT_FALSE(append_edge(e3, 4, 7));
  EXPECT_EQ(columns_of(e3), (Columns{{1, 2, 3}}));
}

TEST(AppendEdge, CapacityDoublesFromFourColumns) {
  vorn::dense2D<unsigned> m;
  std::vector<std::size_t> capacities;
  for (unsigned j = 0; j < 40; ++j) {
    ASSERT_TRUE(append_edge(m, j, j + 1));
    if (capacities.empty() || capacities.back() != m.col_capacity())
      capacities.push_back(m.col_capacity());
  }
  EXPECT_EQ(capacities, (std::vector<std::size_t>{4, 8, 16, 32, 64}));
  EXPECT_EQ(columns_of(m)[39], (std::vector<unsigned>{39, 40}));
}
