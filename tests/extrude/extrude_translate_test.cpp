#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include <vorn/filum.h>

#include "extrude/extrusion_checks.h"
#include "support/filum_test.h"

using namespace vorn;
using namespace vorn::filum;
using extrusion_checks::code_case;
using filum_test::column;
using filum_test::entries;
using v2 = vector_fixed<double, 2>;
using v3 = vector_fixed<double, 3>;

namespace {

// Lengths of the consecutive elements of a 2D row along the x axis.
std::vector<double> element_lengths(const dense2D<double>& pos, const dense1D<unsigned>& row) {
  std::vector<double> lengths;
  for (std::size_t k = 1; k < row.size(); ++k)
    lengths.push_back(pos(0, row[k]) - pos(0, row[k - 1]));
  return lengths;
}

}  // namespace

TEST(ExtrudeTranslate, UniformRowsAppendTheStartAndTheNewNodes) {
  dense2D<double> pos = filum_test::make_pos({{5, 5}});
  dense1D<unsigned> row = filum_test::ids({9});
  ASSERT_EQ(extrude_translate(pos, v2(1, 2), v2(3, 0), 3u, row), 0);
  EXPECT_EQ(entries(row), (std::vector<unsigned>{9, 1, 2, 3, 4}));
  EXPECT_EQ(column(pos, 0), (std::vector<double>{5, 5}));
  EXPECT_EQ(column(pos, 1), (std::vector<double>{1, 2}));
  EXPECT_EQ(column(pos, 4), (std::vector<double>{4, 2}));

  dense1D<unsigned> from_node;
  ASSERT_EQ(extrude_translate(pos, 0u, v2(0, -1), 2u, from_node), 0);
  EXPECT_EQ(entries(from_node), (std::vector<unsigned>{0, 5, 6}));
  EXPECT_EQ(column(pos, 6), (std::vector<double>{5, 4}));

  // An empty pos of any shape takes the start point as node 0.
  dense2D<double> space(2, 0);
  dense1D<unsigned> up;
  ASSERT_EQ(extrude_translate(space, v3(0, 0, 1), v3(0, 0, 2), 2u, up), 0);
  EXPECT_EQ(entries(up), (std::vector<unsigned>{0, 1, 2}));
  EXPECT_EQ(column(space, 2), (std::vector<double>{0, 0, 3}));

  // A translation of length 0 repeats the start position.
  dense1D<unsigned> still;
  ASSERT_EQ(extrude_translate(space, 1u, v3(0, 0, 0), 2u, still), 0);
  EXPECT_EQ(column(space, 4), (std::vector<double>{0, 0, 2}));
}

TEST(ExtrudeTranslate, LastUniformNodeIsTheCountTimesItsReciprocal) {
  dense2D<double> pos;
  dense1D<unsigned> row;
  ASSERT_EQ(extrude_translate(pos, v2(0, 0), v2(1, 1), 49u, row), 0);
  EXPECT_EQ(pos(0, 49), 0.9999999999999999);  // 49 x (1/49), not 1
  EXPECT_EQ(pos(0, 7), 7 * (1.0 / 49));
}

TEST(ExtrudeTranslate, GradedRowsFollowTheGeometricProgression) {
  struct Case {
    double scale, h0, h1;
    bool even;
    std::size_t count;
    double tolerance;  // on the ratio of consecutive element lengths
  } cases[] = {
      {1, 1, 4, false, 5, 1e-13},     // 10 / (3 / ln 4) = 4.62
      {1, 4, 1, false, 5, 1e-13},     // mirrored
      {1, 1, 4, true, 4, 1e-13},      // 4.62 rounds to the even 4
      {1, 2, 2, false, 5, 1e-13},     // equal sizes: evenly spaced
      {1, 1, 1.05, false, 10, 1e-6},  // truncated series of the primitives
      {1e8, 1, 4, false, 5, 1e-13},  {1e-8, 1, 4, false, 5, 1e-13},
  };
  for (const Case& c : cases) {
    dense2D<double> pos = filum_test::make_pos({{c.scale, -c.scale}});
    dense1D<unsigned> row;
    ASSERT_EQ(extrude_translate(pos, 0u, v2(10 * c.scale, 0), c.h0 * c.scale, c.h1 * c.scale,
                                c.even, row),
              0);
    ASSERT_EQ(row.size(), c.count + 1) << c.h0 << " " << c.h1;
    EXPECT_EQ(pos(1, row[c.count]), -c.scale);
    EXPECT_NEAR(pos(0, row[c.count]), 11 * c.scale, 1e-14 * c.scale);
    const std::vector<double> lengths = element_lengths(pos, row);
    const double ratio = std::pow(c.h1 / c.h0, 1.0 / static_cast<double>(c.count));
    for (std::size_t k = 1; k < lengths.size(); ++k)
      EXPECT_NEAR(lengths[k] / lengths[k - 1], ratio, c.tolerance) << c.scale << " " << k;
  }
  dense2D<double> space;
  dense1D<unsigned> row;
  ASSERT_EQ(extrude_translate(space, v3(0, 0, 0), v3(0, 3, 4), 1.0, 1.0, true, row), 0);
  EXPECT_EQ(row.size(), 7u);  // 5 elements of size 1, forced to 6
  EXPECT_DOUBLE_EQ(space(2, 3), 2);
}

TEST(ExtrudeTranslate, CodesInArgumentOrder) {
  const double nan = std::nan("");
  const v2 t2(1, 0), zero2(0, 0);
  const v3 t3(1, 0, 0), zero3(0, 0, 0);
  extrusion_checks::expect_codes({
      {"point uniform, count 0 first", 3,
       [&](auto& p, auto& i) { return extrude_translate(p, zero2, t2, 0u, i); }, 0},
      {"point uniform, rows", 3,
       [&](auto& p, auto& i) { return extrude_translate(p, zero2, t2, 2u, i); }, -1},
      {"point uniform 3D, rows", 2,
       [&](auto& p, auto& i) { return extrude_translate(p, zero3, t3, 2u, i); }, -1},
      {"point graded, rows", 3,
       [&](auto& p, auto& i) { return extrude_translate(p, zero2, zero2, -1.0, -1.0, false, i); },
       -1},
      {"point graded, translation", 2,
       [&](auto& p, auto& i) { return extrude_translate(p, zero2, zero2, -1.0, -1.0, false, i); },
       -3},
      {"point graded, size_start", 2,
       [&](auto& p, auto& i) { return extrude_translate(p, zero2, t2, nan, -1.0, false, i); }, -4},
      {"point graded, size_end", 2,
       [&](auto& p, auto& i) { return extrude_translate(p, zero2, t2, 1.0, 0.0, false, i); }, -5},
      {"point graded 3D, size_end", 3,
       [&](auto& p, auto& i) { return extrude_translate(p, zero3, t3, 1.0, nan, false, i); }, -5},
      {"node uniform, count 0 first", 3,
       [&](auto& p, auto& i) { return extrude_translate(p, 7u, t2, 0u, i); }, 0},
      {"node uniform, rows", 3,
       [&](auto& p, auto& i) { return extrude_translate(p, 7u, t2, 1u, i); }, -1},
      {"node uniform, node", 2,
       [&](auto& p, auto& i) { return extrude_translate(p, 2u, t2, 1u, i); }, -2},
      {"node uniform 3D, node", 3,
       [&](auto& p, auto& i) { return extrude_translate(p, 2u, t3, 1u, i); }, -2},
      {"node graded, rows", 2,
       [&](auto& p, auto& i) { return extrude_translate(p, 7u, zero3, 0.0, 0.0, false, i); }, -1},
      {"node graded, node", 2,
       [&](auto& p, auto& i) { return extrude_translate(p, 7u, zero2, 0.0, 0.0, false, i); }, -2},
      {"node graded, translation", 2,
       [&](auto& p, auto& i) { return extrude_translate(p, 1u, zero2, 0.0, 0.0, false, i); }, -3},
      {"node graded 3D, size_start", 3,
       [&](auto& p, auto& i) { return extrude_translate(p, 1u, t3, -2.0, 0.0, false, i); }, -4},
      {"node graded 3D, size_end", 3,
       [&](auto& p, auto& i) { return extrude_translate(p, 1u, t3, 2.0, -2.0, false, i); }, -5},
      {"node uniform, identifiers beyond 32 bits", 2,
       [&](auto& p, auto& i) { return extrude_translate(p, 0u, t2, 0xFFFFFFFFu, i); }, -199},
      {"point uniform, identifiers beyond 32 bits", 2,
       [&](auto& p, auto& i) { return extrude_translate(p, zero2, t2, 0xFFFFFFFEu, i); }, -199},
  });
}

TEST(ExtrudeTranslate, StorageFailuresLeavePosAsItWas) {
  const v2 t2(1, 0), zero2(0, 0);
  const v3 t3(0, 0, 2), zero3(0, 0, 0);
  extrusion_checks::expect_restored_after_storage_failures(
      "point uniform", 2, [&](auto& p, auto& i) { return extrude_translate(p, zero2, t2, 5u, i); });
  extrusion_checks::expect_restored_after_storage_failures(
      "point graded", 3,
      [&](auto& p, auto& i) { return extrude_translate(p, zero3, t3, 0.5, 0.1, true, i); });
  extrusion_checks::expect_restored_after_storage_failures(
      "node uniform", 3, [&](auto& p, auto& i) { return extrude_translate(p, 1u, t3, 4u, i); });
  extrusion_checks::expect_restored_after_storage_failures("node graded", 2, [&](auto& p, auto& i) {
    return extrude_translate(p, 0u, t2, 0.1, 0.2, false, i);
  });
}
