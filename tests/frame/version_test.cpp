#include <vorn/filum.h>

#include <cstring>

#include <gtest/gtest.h>

TEST(Version, IsTheSameStaticStringOnEveryCall) {
  const char* first = vorn::filum::version();
  EXPECT_STREQ(first, "5.4.1.0");
  EXPECT_EQ(vorn::filum::version(), first);
}
