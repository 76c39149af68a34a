#include "connect/columns.h"

using namespace vorn::filum;
using namespace filum_test;
using chain_op = int (*)(const vorn::dense1D<unsigned>&, vorn::dense2D<unsigned>&) noexcept;

TEST(ChainConnectivity, ElementsGoBehindExistingColumnsOrCodesLeaveThemAsTheyWere) {
  const auto e2 = matrix_of({{1, 2}}, 2), e3 = matrix_of({{0, 0, 0}}, 3);
  const std::tuple<chain_op, vorn::dense1D<unsigned>, vorn::dense2D<unsigned>, int, Columns>
      cases[] = {
          {indices_to_connectE2, ids({4, 7, 9}), e2, 0, {{4, 7}, {7, 9}}},
          {indices_to_connectE2, ids({}), e3, 0, {}},
          {indices_to_connectE2, ids({5}), e3, -1, {}},
          {indices_to_connectE2, ids({5, 6}), e3, -2, {}},
          {indices_to_connectE3, ids({10, 11, 12, 13, 14}), e3, 0, {{10, 12, 11}, {12, 14, 13}}},
          {indices_to_connectE3, ids({}), e2, 0, {}},
          {indices_to_connectE3, ids({1, 2}), e3, -1, {}},
          {indices_to_connectE3, ids({1, 2, 3, 4}), e2, -1, {}},
          {indices_to_connectE3, ids({1, 2, 3}), e2, -2, {}}};
  for (const auto& [op, chain, connect, expected, added] : cases) {
    vorn::dense2D<unsigned> out;
    out.copy(connect);
    Columns after = columns_of(connect);
    after.insert(after.end(), added.begin(), added.end());
    EXPECT_EQ(op(chain, out), expected) << chain.size();
    EXPECT_EQ(columns_of(out), after);
  }
  // A chain that shares the output's storage is read after the output has grown.
  auto grows = matrix_of({{1, 2}, {3, 4}}, 2);
  ASSERT_EQ(indices_to_connectE2(grows.as_vector(), grows), 0);
  EXPECT_EQ(columns_of(grows), (Columns{{1, 2}, {3, 4}, {1, 2}, {2, 3}, {3, 4}}));
  const auto chain = ids({1, 2, 3, 4, 5});
  expect_kept_on_storage_failure(
      [&](vorn::dense2D<unsigned>& out) { return indices_to_connectE2(chain, out); }, 5);
}
