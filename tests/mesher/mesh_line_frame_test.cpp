#include "mesher/mesh_line_frame.h"

#include <limits>

#include <gtest/gtest.h>

#include "support/filum_test.h"

using namespace vorn;
using namespace vorn::filum;
using namespace filum_test;

TEST(MeshLineFrame, ChordLengthParameters) {
  // Lengths 3 and 2 are scaled by 1 / 5: 3 x (1 / 5) is one unit in the last place above 3 / 5.
  dense1D<double> params;
  ASSERT_EQ(chord_length_params(make_pos({{0, 0}, {3, 0}, {5, 0}}), ids({0, 1, 2}), params), 0);
  EXPECT_EQ(entries(params), std::vector<double>({0, 3 * (1.0 / 5), 1}));
  EXPECT_NE(params[1], 3.0 / 5);
  // A length that cannot be measured is refused like a length of 0.
  const double inf = std::numeric_limits<double>::infinity();
  for (const auto& pos : {make_pos({{0, 0}, {inf, 0}}), make_pos({{-1e308, 0}, {1e308, 0}})})
    EXPECT_EQ(chord_length_params(pos, ids({0, 1}), params), -2);
}
