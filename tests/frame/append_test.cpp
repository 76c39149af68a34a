#include "frame/append.h"

#include <gtest/gtest.h>

#include "support/filum_test.h"

using namespace vorn::filum;
using filum_test::column;
using filum_test::entries;
using filum_test::make_pos;

TEST(Append, ValuesGoBehindExistingOnes) {
  vorn::dense1D<unsigned> target = filum_test::ids({1, 2});
  ASSERT_TRUE(append_values(filum_test::ids({3, 4, 5}), target));
  EXPECT_EQ(entries(target), (std::vector<unsigned>{1, 2, 3, 4, 5}));
  ASSERT_TRUE(append_values(vorn::dense1D<unsigned>(), target));
  EXPECT_EQ(target.size(), 5u);
  ASSERT_TRUE(append_values(target, target));  // appending a vector to itself
  EXPECT_EQ(entries(target), (std::vector<unsigned>{1, 2, 3, 4, 5, 1, 2, 3, 4, 5}));
}

TEST(Append, ColumnsAndGatheredColumns) {
  const vorn::dense2D<double> source = make_pos({{0, 1}, {2, 3}, {4, 5}});
  vorn::dense2D<double> target;
  ASSERT_TRUE(append_columns(source, target));
  ASSERT_TRUE(gather_columns(source, filum_test::ids({2, 0}), target));
  ASSERT_EQ(target.cols(), 5u);
  EXPECT_EQ(column(target, 3), (std::vector<double>{4, 5}));
  EXPECT_EQ(column(target, 4), (std::vector<double>{0, 1}));
  vorn::dense2D<double> three_rows(3, 1);
  EXPECT_FALSE(append_columns(source, three_rows));
}
