#include <vorn/dense/dense1D.h>

#include <gtest/gtest.h>

#include "support/filum_test.h"

using filum_test::entries;
using vorn::dense1D;

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
}

TEST(Dense1D, CopiesShareStorageUnlessDeep) {
  dense1D<double> a(3, 1.0);
  dense1D<double> shared = a;
  dense1D<double> deep;
  ASSERT_TRUE(deep.copy(a));
  a[0] = 5;
  EXPECT_EQ(shared[0], 5);
  EXPECT_EQ(deep[0], 1);
}

TEST(Dense1D, SubVectorIsAViewAndGrowthOfASharedBufferKeepsOtherViews) {
  dense1D<unsigned> v = filum_test::ids({1, 2, 3, 4});
  dense1D<unsigned> tail = v.sub_vector(2, 2);
  tail[0] = 30;
  EXPECT_EQ(v[2], 30u);
  dense1D<unsigned> head = v.sub_vector(0, 1);
  ASSERT_TRUE(head.reserve(100));  // grows the shared buffer: every view follows
  EXPECT_EQ(entries(v), (std::vector<unsigned>{1, 2, 30, 4}));
  EXPECT_EQ(entries(tail), (std::vector<unsigned>{30, 4}));
}
