#include <string>

#include "connect/columns.h"

using namespace vorn::filum;
using namespace filum_test;

namespace {

// Chains of elements [n, n + 1], one character each: '>' stored forward, '<' reversed, a
// space between chains (which share no node); with their neighbor table, its entries
// swapped for reversed elements. With 3 rows, element e has the middle node 1000 + e.
std::pair<vorn::dense2D<unsigned>, vorn::dense2D<unsigned>> mesh(const std::string& s,
                                                                 unsigned rows = 2) {
  Columns c, n;
  for (unsigned k = 0, node = 0; k < s.size(); ++k, ++node) {
    if (s[k] == ' ') continue;
    const unsigned e = c.size();
    const bool first = k == 0 || s[k - 1] == ' ', last = k + 1 == s.size() || s[k + 1] == ' ';
    c.push_back({node, node + 1, 1000 + e});
    n.push_back({last ? no_id : e + 1, first ? no_id : e - 1, no_id});
    if (s[k] == '<') std::swap(c[e][0], c[e][1]), std::swap(n[e][0], n[e][1]);
  }
  return {matrix_of(c, rows), matrix_of(n, rows)};
}

}  // namespace

TEST(Reorient, OrientationOfTheStartElementSpreadsAndCodesComeInArgumentOrder) {
  const std::tuple<const char*, unsigned, int, int, const char*> cases[] = {
      {">>>", 0, 0, 0, ">>>"},         {"><>", 1, 0, 2, "<<<"},          // the start element wins
      {"<><><", 4, 0, 2, "<<<<<"},     {"><> ><>", 0, 0, 1, ">>> ><>"},  // its piece only
      {"><> ><>", 0, 1, 2, ">>> >>>"}, {"><> ><>", 4, 1, 2, "><> <<<"},  // none below it
      {"><>", 3, 1, -3, "><>"},
  };
  for (const auto& [before, start, all_components, expected, after] : cases) {
    auto [connect, neighbors] = mesh(before);
    EXPECT_EQ(mesh_reorient(connect, neighbors, start, all_components), expected) << before;
    EXPECT_EQ(columns_of(connect), columns_of(mesh(after).first)) << before;
    EXPECT_EQ(columns_of(neighbors), columns_of(mesh(after).second)) << before;
  }
  auto [e3, neighbors] = mesh("<><", 3);
  EXPECT_EQ(mesh_reorient(e3, neighbors, 1, 0), 2);
  EXPECT_EQ(columns_of(e3), (Columns{{0, 1, 1000}, {1, 2, 1001}, {2, 3, 1002}}));
  const auto connect = mesh("><>").first;
  const std::tuple<vorn::dense2D<unsigned>, vorn::dense2D<unsigned>, int> codes[] = {
      {vorn::dense2D<unsigned>(2, 0), matrix_of({{0}}, 1), 0},
      {matrix_of({{0}, {1}}, 1), matrix_of({{0}}, 1), -1},
      {connect, matrix_of({{1, 2}, {no_id, 0}}, 2), -2},  // too few columns
      {connect, mesh("><>", 3).second, -2},               // too many rows
  };
  for (const auto& [given, given_neighbors, expected] : codes) {
    vorn::dense2D<unsigned> in, table = given_neighbors;
    in.copy(given);
    EXPECT_EQ(mesh_reorient(in, table, 7, 1), expected);
    EXPECT_EQ(columns_of(in), columns_of(given));
  }
}

TEST(Reorient, WideFrontsWrongNeighborsAndStorageFailures) {
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
  EXPECT_GE(
      sweep_allocation_failures([&] { return tree(true); },
                                [](auto& in) { return mesh_reorient(in.first, in.second, 0, 0); },
                                [](const auto&, int result, bool failed) {
                                  EXPECT_EQ(result, failed ? storage_failure : 21);
                                }),
      5u);  // visited bits, then rings of 4, 8, 16, 32 identifiers
  // A wrong neighbor (one that does not hold the shared node) stops the propagation with
  // -2. The last element of the widest level names one last: in first-in first-out order
  // every other element has been reached, and oriented, before it.
  auto in = tree(true);
  in.second(1, 30) = 61;
  EXPECT_EQ(mesh_reorient(in.first, in.second, 0, 0), -2);
  EXPECT_EQ(columns_of(in.first), columns_of(tree(false).first));
}
