#include <vorn/dense.h>

#include <gtest/gtest.h>

#include "support/filum_test.h"

using filum_test::column;
using filum_test::entries;
using filum_test::make_columns;
using vorn::dense1D;
using vorn::dense2D;

TEST(Dense1D, ViewOfCallerMemoryReadsWritesAndLeavesItWhenGrowing) {
  unsigned memory[3] = {4, 5, 6};
  dense1D<unsigned> view(3, memory);
  EXPECT_EQ(view.data(), memory);
  view[1] = 9;
  EXPECT_EQ(memory[1], 9u);
  ASSERT_TRUE(view.push_back(7));  // beyond the caller's memory: copied to own storage
  EXPECT_NE(view.data(), memory);
  EXPECT_EQ(entries(view), (std::vector<unsigned>{4, 9, 6, 7}));
  EXPECT_EQ(memory[2], 6u);
}

TEST(Dense1D, ResizeKeepsOldValuesAndFillsNewOnes) {
  dense1D<double> v(2, 1.0);
  ASSERT_TRUE(v.resize(4, 2.0));
  EXPECT_EQ(entries(v), (std::vector<double>{1, 1, 2, 2}));
  ASSERT_TRUE(v.resize(1));
  EXPECT_EQ(entries(v), (std::vector<double>{1}));
  ASSERT_TRUE(v.push_back_n(3.0, 2));
  EXPECT_EQ(entries(v), (std::vector<double>{1, 3, 3}));
  // Buffers of many pages grow by remapping: the content must come along.
  dense1D<unsigned> big(std::size_t{1} << 23);
  for (std::size_t i = 0; i < big.size(); ++i)
    big[i] = static_cast<unsigned>(i);
  ASSERT_TRUE(big.resize(std::size_t{3} << 23, 7u));
  EXPECT_EQ(big[12345], 12345u);
  EXPECT_EQ(big[(std::size_t{1} << 23) - 1], (1u << 23) - 1);
  EXPECT_EQ(big[std::size_t{1} << 23], 7u);
}

TEST(Dense1D, CopiesAndSubVectorsShareStorageUnlessDeepAndGrowthKeepsOtherViews) {
  dense1D<double> a(3, 1.0);
  dense1D<double> shared = a, deep;
  ASSERT_TRUE(deep.copy(a));
  a[0] = 5;
  EXPECT_EQ(shared[0], 5);
  EXPECT_EQ(deep[0], 1);
  dense1D<unsigned> v = filum_test::ids({1, 2, 3, 4});
  dense1D<unsigned> tail = v.sub_vector(2, 2);
  tail[0] = 30;
  EXPECT_EQ(v[2], 30u);
  dense1D<unsigned> head = v.sub_vector(0, 1);
  ASSERT_TRUE(head.reserve(100));  // grows the shared buffer: every view follows
  EXPECT_EQ(entries(v), (std::vector<unsigned>{1, 2, 30, 4}));
  EXPECT_EQ(entries(tail), (std::vector<unsigned>{30, 4}));
}

TEST(Dense2D, ResizeKeepsLeadingRowsAndColumns) {
  const std::tuple<std::size_t, std::size_t, std::vector<std::vector<unsigned>>> cases[] = {
      {3, 3, {{1, 2, 3}, {4, 5, 6}, {9, 9, 9}}},           // more columns
      {4, 3, {{1, 2, 3, 9}, {4, 5, 6, 9}, {9, 9, 9, 9}}},  // more rows and columns
      {1, 1, {{1}}},                                       // shrink both
      {2, 3, {{1, 2}, {4, 5}, {9, 9}}},                    // fewer rows, more columns
  };
  for (const auto& [rows, cols, expected] : cases) {
    dense2D<unsigned> m = make_columns<unsigned>({{1, 2, 3}, {4, 5, 6}});
    ASSERT_TRUE(m.resize(rows, cols, 9u));
    ASSERT_EQ(m.rows(), rows);
    std::vector<std::vector<unsigned>> columns;
    for (std::size_t j = 0; j < m.cols(); ++j)
      columns.push_back(column(m, j));
    EXPECT_EQ(columns, expected) << rows << "x" << cols;
  }
  // Without filling: the kept entries stay; a change of row count re-lays them out.
  dense2D<unsigned> m = make_columns<unsigned>({{1, 2, 3}, {4, 5, 6}});
  ASSERT_TRUE(m.resize_for_overwrite(3, 4));
  EXPECT_EQ(column(m, 1), (std::vector<unsigned>{4, 5, 6}));
  ASSERT_TRUE(m.resize_for_overwrite(2, 2));
  EXPECT_EQ(column(m, 1), (std::vector<unsigned>{4, 5}));
}

TEST(Dense2D, ViewsShareStorage) {
  dense2D<unsigned> m = make_columns<unsigned>({{1, 2, 3}, {4, 5, 6}, {7, 8, 9}});
  dense2D<unsigned> block = m.sub_matrix(1, 1, 2, 2);
  EXPECT_EQ(block.ld(), 3u);
  EXPECT_EQ(column(block, 1), (std::vector<unsigned>{8, 9}));
  block(0, 0) = 50;
  EXPECT_EQ(m(1, 1), 50u);

  dense1D<unsigned> second = m.col(1);
  EXPECT_EQ(entries(second), (std::vector<unsigned>{4, 50, 6}));
  second[2] = 60;
  EXPECT_EQ(m(2, 1), 60u);

  dense1D<unsigned> all = m.as_vector();
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

TEST(Allocation, InjectedFailureLeavesContainersUnchanged) {
  dense1D<double> v(2, 1.0);
  dense2D<double> m(2, 2, 3.0);
  {
    filum_test::scoped_allocation_failure failure(1);
    EXPECT_FALSE(v.reserve(1000));
    EXPECT_TRUE(failure.happened());
    EXPECT_TRUE(dense1D<double>(3).size() == 3);  // only the armed request fails
  }
  EXPECT_EQ(entries(v), (std::vector<double>{1, 1}));
  {
    filum_test::scoped_allocation_failure failure(1);
    EXPECT_FALSE(m.resize(3, 50));
  }
  EXPECT_EQ(m.rows(), 2u);
  EXPECT_EQ(column(m, 1), (std::vector<double>{3, 3}));
}
