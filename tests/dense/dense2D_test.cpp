#include <vorn/dense/dense2D.h>

#include <gtest/gtest.h>

#include "support/filum_test.h"

using filum_test::column;
using filum_test::make_columns;
using vorn::dense2D;

TEST(Dense2D, ResizeKeepsLeadingRowsAndColumns) {
  struct Case {
    std::size_t rows, cols;
    std::vector<std::vector<unsigned>> expected;
  };
  const Case cases[] = {
      {3, 3, {{1, 2, 3}, {4, 5, 6}, {9, 9, 9}}},           // more columns
      {4, 3, {{1, 2, 3, 9}, {4, 5, 6, 9}, {9, 9, 9, 9}}},  // more rows and columns
      {1, 1, {{1}}},                                       // shrink both
      {2, 3, {{1, 2}, {4, 5}, {9, 9}}},                    // fewer rows, more columns
  };
  for (const Case& c : cases) {
    dense2D<unsigned> m = make_columns<unsigned>({{1, 2, 3}, {4, 5, 6}});
    ASSERT_TRUE(m.resize(c.rows, c.cols, 9u));
    ASSERT_EQ(m.rows(), c.rows);
    ASSERT_EQ(m.cols(), c.cols);
    for (std::size_t j = 0; j < c.cols; ++j)
      EXPECT_EQ(column(m, j), c.expected[j]) << c.rows << "x" << c.cols << " column " << j;
  }
}

TEST(Dense2D, ViewsShareStorage) {
  dense2D<unsigned> m = make_columns<unsigned>({{1, 2, 3}, {4, 5, 6}, {7, 8, 9}});
  dense2D<unsigned> block = m.sub_matrix(1, 1, 2, 2);
  EXPECT_EQ(block.ld(), 3u);
  EXPECT_EQ(column(block, 1), (std::vector<unsigned>{8, 9}));
  block(0, 0) = 50;
  EXPECT_EQ(m(1, 1), 50u);

  vorn::dense1D<unsigned> second = m.col(1);
  EXPECT_EQ(filum_test::entries(second), (std::vector<unsigned>{4, 50, 6}));
  second[2] = 60;
  EXPECT_EQ(m(2, 1), 60u);

  vorn::dense1D<unsigned> all = m.as_vector();
  ASSERT_EQ(all.size(), 9u);
  EXPECT_EQ(all[5], 60u);
  EXPECT_TRUE(block.as_vector().empty());  // a strided block has no flat view

  dense2D<unsigned> alias;
  alias.shallow_copy(m);
  alias(0, 0) = 10;
  EXPECT_EQ(m(0, 0), 10u);
  dense2D<unsigned> deep;
  ASSERT_TRUE(deep.copy(block));
  EXPECT_EQ(deep.ld(), 2u);
  deep(0, 0) = 0;
  EXPECT_EQ(m(1, 1), 50u);
}
