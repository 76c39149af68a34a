#include <cmath>

#include "connect/columns.h"

using namespace vorn::filum;
using namespace filum_test;

TEST(HighOrder, NodesNumberedEdgeByEdgeEvenlySpacedOnTheChord) {
  auto pos = make_pos(
      {{1e8, -3e-8, 7}, {1e8 + 3.3, 4e-8, 7 + 1e-8}, {1e-8, 2e-8, -1e-8}, {4e-8, 2.5e-8, 3e-8}});
  const auto edges = matrix_of({{0, 1}, {2, 3}}, 2);
  vorn::dense2D<unsigned> high = edges;  // a view of the input's storage
  ASSERT_EQ(convert_into_high_order(pos, edges, 4, high), 0);
  EXPECT_EQ(columns_of(high), (Columns{{0, 1, 4, 5, 6, 7}, {2, 3, 8, 9, 10, 11}}));
  EXPECT_EQ(columns_of(edges), (Columns{{0, 1}, {2, 3}}));
  for (unsigned e = 0; e < 2; ++e)  // near 1e8 and 1e-8
    for (unsigned j = 1; j <= 4; ++j)
      for (unsigned i = 0; i < 3; ++i) {
        const double a = pos(i, 2 * e), b = pos(i, 2 * e + 1);
        EXPECT_NEAR(pos(i, high(j + 1, e)), a + j / 5.0 * (b - a), 1e-15 * std::fabs(a) + 1e-24);
      }
  auto line = make_pos({{0}, {4}, {9}});  // one coordinate; the old middle row is ignored
  auto e3 = matrix_of({{0, 1, 2}}, 3);
  ASSERT_EQ(convert_into_high_order(line, e3, 3), 0);
  EXPECT_EQ(columns_of(e3), (Columns{{0, 1, 3, 4, 5}}));
  EXPECT_EQ(entries(line.as_vector()), (std::vector<double>{0, 4, 9, 1, 2, 3}));
}

TEST(HighOrder, ResultCodesInArgumentOrderAndStorageFailures) {
  const std::tuple<std::size_t, Columns, unsigned, int> cases[] = {
      {4, {{0, 9}}, 1, -1},  // pos rows decide first; the output is untouched
      {0, {{0, 1}}, 1, -1},
      {2, {{0, 2}}, 1, -2},  // identifier = column count of pos
      {2, {{0}, {1}}, 1, -2},
      {2, {{0, 9}}, 0, 0},  // K = 0: nothing is checked or made
      {2, {}, 3, 0},
      {3, {{0, 1}, {1, 0}}, 0x80000000u, storage_failure},  // 2^32 new identifiers
  };
  for (const auto& [rows, columns, K, expected] : cases) {
    vorn::dense2D<double> pos(rows, 2, 1.5);
    auto edges = matrix_of(columns, columns.empty() ? 2 : columns[0].size());
    auto high = matrix_of({{7, 7}}, 2);
    EXPECT_EQ(convert_into_high_order(pos, edges, K, high), expected) << rows << " " << K;
    EXPECT_TRUE(pos.cols() == 2 && high.empty() == (expected != -1));
    if (expected == 0) {  // the in-place forms empty their connectivity
      EXPECT_EQ(convert_into_high_order(pos, edges, K), 0);
      EXPECT_TRUE(edges.empty());
    }
  }
  const auto before = make_pos({{0, 0}, {2, 0}, {2, 4}});
  using inputs = std::pair<vorn::dense2D<double>, vorn::dense2D<unsigned>>;
  EXPECT_GE(filum_test::sweep_allocation_failures(
                [&] {
                  inputs in(vorn::dense2D<double>(), matrix_of({{0, 1}, {1, 2}}, 2));
                  in.first.copy(before);
                  return in;
                },
                [](inputs& in) { return convert_into_quadratic(in.first, in.second); },
                [&](const inputs& in, int result, bool failed) {
                  EXPECT_EQ(result, failed ? storage_failure : 0);
                  EXPECT_EQ(in.first.cols(), failed ? 3u : 5u);
                  EXPECT_EQ(entries(in.first.sub_matrix(0, 0, 2, 3).as_vector()),
                            entries(before.as_vector()));
                }),
            3u);  // the copy of the input, pos, the new connectivity
}
