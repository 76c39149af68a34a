#include <set>

#include <gtest/gtest.h>

#include <vorn/filum.h>

#include "connect/columns.h"
#include "support/filum_test.h"

using namespace vorn::filum;
using filum_test::Columns;
using filum_test::columns_of;
using filum_test::matrix_of;

namespace {

// Chains of elements [n, n + 1] (their lengths given, no node shared between chains) and
// the neighbour table a caller builds for them; the listed elements are stored reversed,
// with their table entries to match. With 3 rows, element e has the middle node 1000 + e.
struct line_mesh {
  vorn::dense2D<unsigned> connect, neighbors;

  line_mesh(std::vector<unsigned> lengths, std::set<unsigned> reversed, unsigned rows = 2) {
    Columns c, n;
    unsigned node = 0;
    for (unsigned length : lengths) {
      for (unsigned k = 0, e = c.size(); k < length; ++k, ++e, ++node) {
        c.push_back({node, node + 1, 1000 + e});
        n.push_back({k + 1 < length ? e + 1 : no_id, k > 0 ? e - 1 : no_id, no_id});
        if (reversed.count(e)) std::swap(c[e][0], c[e][1]), std::swap(n[e][0], n[e][1]);
      }
      ++node;
    }
    connect = matrix_of(c, rows);
    neighbors = matrix_of(n, rows);
  }
};

}  // namespace

TEST(Reorient, OrientationOfTheStartElementSpreads) {
  struct Case {
    std::vector<unsigned> chains;
    std::set<unsigned> reversed;
    unsigned start;
    int all_components, expected;
    std::set<unsigned> reversed_after;
  } cases[] = {
      {{3}, {}, 0, 0, 0, {}},
      {{3}, {1}, 0, 0, 1, {}},
      {{3}, {1}, 1, 0, 2, {0, 1, 2}},  // the middle element wins
      {{5}, {0, 2, 4}, 4, 0, 2, {0, 1, 2, 3, 4}},
      {{3, 3}, {1, 4}, 0, 0, 1, {4}},  // only the piece of the start element
      {{3, 3}, {1, 4}, 0, 1, 2, {}},
      {{3, 3}, {1, 4}, 4, 0, 2, {1, 3, 4, 5}},
      {{3, 3}, {1, 4}, 4, 1, 2, {1, 3, 4, 5}},  // pieces below the start are not scanned
  };
  for (const Case& c : cases) {
    line_mesh mesh(c.chains, c.reversed);
    EXPECT_EQ(mesh_reorient(mesh.connect, mesh.neighbors, c.start, c.all_components), c.expected)
        << c.start << c.all_components;
    const line_mesh expected(c.chains, c.reversed_after);
    EXPECT_EQ(columns_of(mesh.connect), columns_of(expected.connect));
    EXPECT_EQ(columns_of(mesh.neighbors), columns_of(expected.neighbors));
  }
  line_mesh e3({3}, {0, 2}, 3);
  EXPECT_EQ(mesh_reorient(e3.connect, e3.neighbors, 1, 0), 2);
  EXPECT_EQ(columns_of(e3.connect), (Columns{{0, 1, 1000}, {1, 2, 1001}, {2, 3, 1002}}));
}

TEST(Reorient, ResultCodesInArgumentOrder) {
  const line_mesh mesh({3}, {1});
  struct Case {
    vorn::dense2D<unsigned> connect, neighbors;
    unsigned start;
    int expected;
  } cases[] = {
      {vorn::dense2D<unsigned>(2, 0), matrix_of({{0}}, 1), 7, 0},
      {matrix_of({{0}, {1}}, 1), matrix_of({{0}}, 1), 7, -1},
      {mesh.connect, matrix_of({{1, 2}, {no_id, 0}}, 2), 7, -2},  // too few columns
      {mesh.connect, line_mesh({3}, {1}, 3).neighbors, 7, -2},    // too many rows
      {mesh.connect, mesh.neighbors, 3, -3},
  };
  for (Case& c : cases) {
    vorn::dense2D<unsigned> connect;
    connect.copy(c.connect);
    EXPECT_EQ(mesh_reorient(connect, c.neighbors, c.start, 1), c.expected) << c.start;
    EXPECT_EQ(columns_of(connect), columns_of(c.connect));
  }
  // Element 1's start neighbour is said to be element 3, which does not hold node 1: the
  // propagation stops there, element 2 (reversed before) stays so, element 3 is not reached.
  line_mesh wrong({4}, {2, 3});
  wrong.neighbors(1, 1) = 3;
  EXPECT_EQ(mesh_reorient(wrong.connect, wrong.neighbors, 1, 1), -2);
  EXPECT_EQ(columns_of(wrong.connect), (Columns{{0, 1}, {1, 2}, {2, 3}, {4, 3}}));
}

TEST(Reorient, WideFrontsAndStorageFailures) {
  // Element e is followed by 2e + 1 at its end and by 2e + 2 at its start: the front
  // doubles at every level, so the queue wraps around and grows. Every third element runs
  // the wrong way.
  auto tree = [](bool reversed) {
    const unsigned count = 63;
    Columns c(count), n(count, {no_id, no_id});
    c[0] = {0, 1};
    for (unsigned e = 0, node = 2; 2 * e + 2 < count; ++e, node += 2) {
      c[2 * e + 1] = {c[e][1], node};
      c[2 * e + 2] = {node + 1, c[e][0]};
      n[e] = {2 * e + 1, 2 * e + 2};
    }
    for (unsigned e = 1; reversed && e < count; e += 3)
      std::swap(c[e][0], c[e][1]), std::swap(n[e][0], n[e][1]);
    return std::make_pair(matrix_of(c, 2), matrix_of(n, 2));
  };
  EXPECT_GE(filum_test::sweep_allocation_failures(
                [&] { return tree(true); },
                [](auto& in) { return mesh_reorient(in.first, in.second, 0, 0); },
                [](const auto&, int result, bool failed) {
                  EXPECT_EQ(result, failed ? storage_failure : 21);
                }),
            10u);  // visited bits, then rings of 4, 8, 16, 32 identifiers
  // The last element of the widest level names a wrong neighbour last: in first-in
  // first-out order every other element has been reached, and oriented, before it.
  auto in = tree(true);
  in.second(1, 30) = 61;  // its end neighbour named again at its start
  EXPECT_EQ(mesh_reorient(in.first, in.second, 0, 0), -2);
  EXPECT_EQ(columns_of(in.first), columns_of(tree(false).first));
}
