#include <vorn/dense.h>

#include <gtest/gtest.h>

#include "support/filum_test.h"

TEST(Allocation, InjectedFailureLeavesContainersUnchanged) {
  vorn::dense1D<double> v(2, 1.0);
  {
    filum_test::scoped_allocation_failure failure(1);
    EXPECT_FALSE(v.reserve(1000));
    EXPECT_TRUE(failure.happened());
  }
  EXPECT_EQ(filum_test::entries(v), (std::vector<double>{1, 1}));

  vorn::dense2D<double> m(2, 2, 3.0);
  {
    filum_test::scoped_allocation_failure failure(1);
    EXPECT_FALSE(m.resize(3, 50));
  }
  EXPECT_EQ(m.rows(), 2u);
  EXPECT_EQ(filum_test::column(m, 1), (std::vector<double>{3, 3}));
}

TEST(Allocation, OnlyTheArmedRequestFails) {
  filum_test::scoped_allocation_failure failure(2);
  vorn::dense1D<double> first(10);  // buffer object and storage: requests 1 and 2
  EXPECT_TRUE(first.empty());
  vorn::dense1D<double> second(10);  // later requests succeed again
  EXPECT_EQ(second.size(), 10u);
  EXPECT_EQ(vorn::testing::allocation_requests(), 4u);
}

TEST(Allocation, FixedValuesAreZeroByDefault) {
  vorn::vector_fixed<double, 3> v;
  vorn::symmetric_fixed<double, 3> s;
  EXPECT_EQ(v[2], 0);
  EXPECT_EQ(s.size(), 6u);
  EXPECT_EQ(s[5], 0);
  vorn::vector_fixed<double, 3> w(1.0, 2.0, 3.0);
  EXPECT_EQ(w[1], 2);
  EXPECT_EQ((vorn::symmetric_fixed<double, 3>::index(2, 0)), 3u);
}
