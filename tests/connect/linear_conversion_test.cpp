#include "connect/columns.h"

using namespace vorn::filum;
using namespace filum_test;

TEST(SplitIntoLinear, HalvesFollowEachOtherBehindExistingColumns) {
  const auto e3 = matrix_of({{1, 3, 2}, {3, 5, 4}}, 3);
  struct Case {
    vorn::dense2D<unsigned> e3, e2;
    int expected;
    Columns after;
  } cases[] = {
      {e3, matrix_of({{9, 8}}, 2), 0, {{9, 8}, {1, 2}, {2, 3}, {3, 4}, {4, 5}}},
      {e3, vorn::dense2D<unsigned>(0, 4), 0, {{1, 2}, {2, 3}, {3, 4}, {4, 5}}},
      {vorn::dense2D<unsigned>(3, 0), matrix_of({{1, 2, 3}}, 3), 0, {{1, 2, 3}}},
      {matrix_of({{1, 3}}, 2), matrix_of({{1, 2, 3}}, 3), -1, {{1, 2, 3}}},
      {e3, vorn::dense2D<unsigned>(3, 0), -2, {}},  // the row count alone decides
  };
  for (Case& c : cases) {
    EXPECT_EQ(split_into_linear(c.e3, c.e2), c.expected);
    EXPECT_EQ(columns_of(c.e2), c.after);
  }
  EXPECT_GE(filum_test::sweep_allocation_failures(
                [] {
                  return matrix_of({{9, 8}}, 2);
                },
                [&](vorn::dense2D<unsigned>& e2) { return split_into_linear(e3, e2); },
                [](const vorn::dense2D<unsigned>& e2, int result, bool failed) {
                  EXPECT_EQ(result, failed ? storage_failure : 0);
                  EXPECT_EQ(columns_of(e2).size(), failed ? 1u : 5u);
                }),
            1u);
}

TEST(LinearConversionAndFlip, InPlaceResults) {
  using op = int (*)(vorn::dense2D<unsigned>&) noexcept;
  struct Case {
    op convert;
    Columns before;
    int expected;
    Columns after;
  } cases[] = {
      {convert_into_linear, {{1, 2, 7, 8}, {2, 3, 9, 10}}, 0, {{1, 2}, {2, 3}}},
      {convert_into_linear, {{1, 2}}, -1, {{1, 2}}},
      {convert_into_linear, {}, 0, {}},
      {flip, {{5}, {6}}, 0, {{5}, {6}}},                          // one row: nothing to reverse
      {flip, {{3, 8, 5}, {8, 9, 6}}, 0, {{8, 3, 5}, {9, 8, 6}}},  // E3 keeps its middle node
      {flip, {{0, 4, 1, 2, 3}}, 0, {{4, 0, 3, 2, 1}}},  // interior nodes from the new start
  };
  for (const Case& c : cases) {
    auto m = matrix_of(c.before, c.before.empty() ? 3 : c.before[0].size());
    EXPECT_EQ(c.convert(m), c.expected);
    EXPECT_EQ(columns_of(m), c.after);
  }
}
