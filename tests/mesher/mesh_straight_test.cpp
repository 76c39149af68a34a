#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>

#include <gtest/gtest.h>
#include <vorn/filum.h>

#include "support/filum_test.h"
#include "support/metric_columns.h"

using namespace vorn;
using namespace filum_test;

namespace {

using call = std::function<int(dense2D<double>&, dense1D<unsigned>&)>;

// Calls of overloads S, M and C on a chain, and D, T and H on node identifiers.
call S(dense1D<unsigned> chain, dense1D<double> h, bool even = false) {
  return [=](auto& pos, auto& out) { return filum::mesh_straight(pos, chain, h, even, out); };
}
call M(dense1D<unsigned> chain, dense2D<double> m) {
  return [=](auto& pos, auto& out) { return filum::mesh_straight(pos, chain, m, false, out); };
}
call C(dense1D<unsigned> chain, unsigned n) {
  return [=](auto& pos, auto& out) { return filum::mesh_straight(pos, chain, n, false, out); };
}
call D(unsigned a, unsigned b, unsigned n) {
  return [=](auto& pos, auto& out) { return filum::mesh_straight(pos, a, b, n, out); };
}
call T(unsigned a, unsigned b, unsigned c, unsigned n) {
  return [=](auto& pos, auto& out) { return filum::mesh_straight(pos, a, b, c, n, out); };
}
call H(unsigned a, unsigned b, double ha, double hb, bool even = false) {
  return [=](auto& pos, auto& out) { return filum::mesh_straight(pos, a, b, ha, hb, even, out); };
}

}  // namespace

TEST(MeshStraight, EveryOverloadKeepsTheGivenNodesOrReportsItsArgument) {
  const double inf = std::numeric_limits<double>::infinity(), nan = std::nan("");
  const auto L = make_pos({{0, 0}, {3, 0}, {3, 1}}), V = make_pos({{0, 0}, {1, 0}, {1, 1}}),
             G = make_pos({{0, 0}, {2, 0}, {2, 1}}), Z = make_pos({{0, 0, 0}, {0, 0, 2}}),
             X = make_pos({{1e8, 1e8}, {1e8 + 10, 1e8}}),
             F = make_pos({{0, 0}, {1e-3, 0}, {1e6, 0}});
  const auto W = make_columns<double>({{0, 0, 0, 0}, {0, 0, 0, 1}});
  const auto A = metric_columns({metric_along(2, {1, 0}, 0.5, 0.25)}, 3),  // 0.5 along x
      A3 = metric_columns({metric_along(3, {1, 0, 0}, 0.5, 0.25)}, 3);
  const auto chain = ids({0, 1, 2}), two = ids({0, 1});
  // Legs 2 (size 0.5) and 1 (0.5 .. 0.25): 4 and 3 elements, 4 and 2 when even. C: the chain
  // length over N for every size (legs 1 and 1, N = 3: 2 + 2). T: legs 3 and 1, N = 4: 3 and
  // 1. W is apart in its fourth row only; an infinite size passes H's test but not S's. On F,
  // counts whose nodes cannot all be numbered below 0xFFFFFFFF, or held in memory (a billion
  // elements over segments each of which alone would fit), are refused before any meshing.
  // clang-format off
  struct Case { const dense2D<double>* pos; call run; int code; std::vector<unsigned> appended; };
  const Case cases[] = {
      {&G, S(chain, values({0.5, 0.5, 0.25})), 0, {0, 3, 4, 5, 1, 6, 7, 2}},
      {&G, S(chain, values({0.5, 0.5, 0.25}), true), 0, {0, 3, 4, 5, 1, 6, 2}},
      {&G, S(ids({}), values({})), 0, {}},            {&G, S(ids({0}), values({1})), -2, {}},
      {&G, S(ids({0, 3}), values({1, 1})), -2, {}},   {&G, S(chain, values({1, inf, 1})), -3, {}},
      {&W, S(two, values({1, 1})), -1, {}},
      {&G, M(chain, A), 0, {0, 3, 4, 5, 1, 6, 7, 8, 2}},
      {&Z, M(two, A3), 0, {0, 2, 3, 4, 5, 6, 7, 8, 1}},
      {&G, M(ids({0}), A), -2, {}},    {&G, M(chain, metric_columns({{1, 0, 1}}, 2)), -3, {}},
      {&G, M(chain, A3), -3, {}},      {&Z, M(two, A), -3, {}},          {&W, M(two, A), -1, {}},
      {&V, C(chain, 3), 0, {0, 3, 1, 4, 2}},          {&V, C(ids({9}), 0), 0, {}},
      {&V, C(ids({}), 3), 0, {}}, {&V, C(ids({0, 3}), 3), -2, {}}, {&V, C(ids({1, 1}), 3), -3, {}},
      {&W, C(two, 3), -1, {}},
      {&X, D(0, 1, 4), 0, {0, 2, 3, 4, 1}},           {&X, D(5, 5, 0), 0, {}},
      {&X, D(2, 1, 4), -2, {}},        {&X, D(0, 2, 4), -3, {}},         {&X, D(1, 1, 4), -4, {}},
      {&L, T(0, 1, 2, 4), 0, {0, 3, 4, 1, 2}},        {&L, T(7, 8, 9, 0), 0, {}},
      {&L, T(3, 1, 2, 4), -2, {}}, {&L, T(0, 3, 2, 4), -3, {}}, {&L, T(0, 1, 3, 4), -4, {}},
      {&L, H(0, 1, 1, 1, true), 0, {0, 3, 4, 5, 1}},  {&L, H(3, 1, 1, 1), -2, {}},
      {&L, H(0, 3, 1, 1), -3, {}}, {&L, H(0, 1, nan, 1), -4, {}}, {&L, H(0, 1, 1, 0), -5, {}},
      {&L, H(0, 1, inf, 1), -3, {}},
      {&F, C(chain, filum::no_id - 3), -199, {}}, {&F, T(0, 1, 2, filum::no_id), -199, {}},
      {&F, C(chain, 1000000000u), -199, {}}};
  // clang-format on
  for (const Case& c : cases) {
    const auto index = &c - cases;
    dense2D<double> pos;
    pos.copy(*c.pos);
    dense1D<unsigned> out = ids({77});
    EXPECT_EQ(c.run(pos, out), c.code) << index;
    std::vector<unsigned> expected = {77};
    expected.insert(expected.end(), c.appended.begin(), c.appended.end());
    EXPECT_EQ(entries(out), expected) << index;
    const std::size_t given = c.pos->cols();
    const auto added = std::count_if(c.appended.begin(), c.appended.end(),
                                     [&](unsigned id) { return id >= given; });
    ASSERT_EQ(pos.cols(), given + static_cast<std::size_t>(added)) << index;
    for (std::size_t j = 0; j < given; ++j)
      EXPECT_EQ(column(pos, j), column(*c.pos, j)) << index;
    if (c.pos == &X && !c.appended.empty()) {  // D: at 2.5, 5 and 7.5 from the first node
      for (std::size_t j = 1; j <= 3; ++j)
        EXPECT_EQ(column(pos, j + 1),
                  std::vector<double>({1e8 + 2.5 * static_cast<double>(j), 1e8}));
    }
  }
}

TEST(MeshStraight, CallsAppendAndAFailureRestoresTheEntryState) {
  auto pos = make_pos({{0, 0}, {3, 0}, {3, 1}, {0, 1}});
  dense1D<unsigned> out;
  ASSERT_EQ(filum::mesh_straight(pos, 0, 1, 2, 4, out), 0);
  ASSERT_EQ(filum::mesh_straight(pos, ids({2, 3}), values({1.5, 1.5}), false, out), 0);
  EXPECT_EQ(entries(out), std::vector<unsigned>({0, 4, 5, 1, 2, 2, 6, 3}));
  // Whichever storage request fails, the call succeeds (with fewer new nodes where a pass
  // lacked storage) or returns -199 with pos and the chain as they were.
  struct inputs {
    dense2D<double> pos = make_pos({{0, 0}, {3, 0}, {3, 1}, {0, 1}, {0, 0}});
    dense1D<unsigned> chain = ids({0, 1, 2, 3, 4}), out = ids({9, 8});
  };
  std::size_t refused = 0;
  sweep_allocation_failures(
      [] { return inputs(); },
      [](inputs& f) { return filum::mesh_straight(f.pos, f.chain, 16, false, f.out); },
      [&](const inputs& f, int code, bool failed) {
        EXPECT_EQ(code, failed && code != 0 ? filum::storage_failure : 0);
        if (code != 0) {
          ++refused;
          EXPECT_EQ(entries(f.out), std::vector<unsigned>({9, 8}));
          EXPECT_EQ(f.pos.cols(), 5u);
          return;
        }
        unsigned given = 0, next = 5;  // the given nodes in order, new ones from 5 on
        for (std::size_t j = 2; j < f.out.size(); ++j) {
          if (f.out[j] == given)
            ++given;
          else
            EXPECT_EQ(f.out[j], next++);
        }
        EXPECT_EQ(given, 5u);
        EXPECT_EQ(f.pos.cols(), next);
        EXPECT_TRUE(failed || f.out.size() == 2u + 17u);
      });
  EXPECT_GT(refused, 4u);
}
