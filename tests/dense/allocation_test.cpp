#include <vorn/dense.h>

#include <gtest/gtest.h>

#include "support/filum_test.h"

TEST(Allocation, InjectedFailureLeavesContainersUnchanged) {
  vorn::dense1D<double> v(2, 1.0);
  {
    filum_test::scoped_allocation_failure failure(1);
    EXPECT_FALSE(v.reserve(1000));
    EXPECT_TRUE(failure.happened());
    EXPECT_TRUE(vorn::dense1D<double>(3).size() == 3);  // only the armed request fails
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
