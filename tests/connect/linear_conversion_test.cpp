#include "connect/columns.h"

using namespace vorn::filum;
using namespace filum_test;
using in_place = int (*)(vorn::dense2D<unsigned>&) noexcept;

TEST(LinearConversion, SplitHalvesFollowEachOtherConversionsAndFlipsWorkInPlace) {
  const auto e3 = matrix_of({{1, 3, 2}, {3, 5, 4}}, 3);
  const std::tuple<vorn::dense2D<unsigned>, vorn::dense2D<unsigned>, int, Columns> splits[] = {
      {e3, matrix_of({{9, 8}}, 2), 0, {{9, 8}, {1, 2}, {2, 3}, {3, 4}, {4, 5}}},
      {e3, vorn::dense2D<unsigned>(0, 4), 0, {{1, 2}, {2, 3}, {3, 4}, {4, 5}}},
      {vorn::dense2D<unsigned>(3, 0), matrix_of({{1, 2, 3}}, 3), 0, {{1, 2, 3}}},
      {matrix_of({{1, 3}}, 2), matrix_of({{1, 2, 3}}, 3), -1, {{1, 2, 3}}},
      {e3, vorn::dense2D<unsigned>(3, 0), -2, {}},  // the row count alone decides
  };
  for (auto [from, to, expected, after] : splits) {
    EXPECT_EQ(split_into_linear(from, to), expected);
    EXPECT_EQ(columns_of(to), after);
  }
  expect_kept_on_storage_failure(
      [&](vorn::dense2D<unsigned>& e2) { return split_into_linear(e3, e2); }, 5);
  const std::tuple<in_place, Columns, int, Columns> conversions[] = {
      {convert_into_linear, {{1, 2, 7, 8}, {2, 3, 9, 10}}, 0, {{1, 2}, {2, 3}}},
      {convert_into_linear, {{1, 2}}, -1, {{1, 2}}},
      {convert_into_linear, {}, 0, {}},
      {flip, {{5}, {6}}, 0, {{5}, {6}}},                          // one row: nothing to reverse
      {flip, {{3, 8, 5}, {8, 9, 6}}, 0, {{8, 3, 5}, {9, 8, 6}}},  // E3 keeps its middle node
      {flip, {{0, 4, 1, 2, 3}}, 0, {{4, 0, 3, 2, 1}}},  // interior nodes from the new start
  };
  for (const auto& [convert, before, expected, after] : conversions) {
    auto m = matrix_of(before, before.empty() ? 3 : before[0].size());
    EXPECT_EQ(convert(m), expected);
    EXPECT_EQ(columns_of(m), after);
  }
}
