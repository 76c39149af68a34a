#include "mesher/mesh_line_frame.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "support/filum_test.h"

using namespace vorn;
using namespace vorn::filum;
using namespace filum_test;

TEST(MeshLineFrame, ChordLengthParametersAreScaledByTheInverseTotal) {
  // Lengths 3 and 2: 3 x (1 / 5) is one unit in the last place above 3 / 5.
  dense1D<double> params;
  ASSERT_EQ(chord_length_params(make_pos({{0, 0}, {3, 0}, {5, 0}}), ids({0, 1, 2}), params), 0);
  EXPECT_EQ(entries(params), std::vector<double>({0, 3 * (1.0 / 5), 1}));
  EXPECT_NE(params[1], 3.0 / 5);
  // The last value is exactly 1 even where the scaled sum is not.
  ASSERT_EQ(chord_length_params(make_pos({{0, 0}, {0.1, 0}, {0.3, 0}, {0.6, 0}}), ids({0, 1, 2, 3}),
                                params),
            0);
  EXPECT_EQ(params[3], 1.0);
}

TEST(MeshLineFrame, ChordLengthParametersRejectWhatCannotBeMeasured) {
  const double inf = std::numeric_limits<double>::infinity();
  const double not_a_number = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    const char* what;
    dense2D<double> pos;
    dense1D<unsigned> chain;
    int expected;
  } cases[] = {
      {"one row", make_columns<double>({{0}, {1}}), ids({0, 1}), -1},
      {"four rows", make_columns<double>({{0, 0, 0, 0}, {1, 1, 1, 1}}), ids({0, 1}), -1},
      {"one node", make_pos({{0, 0}, {1, 1}}), ids({1}), -2},
      {"identifier", make_pos({{0, 0}, {1, 1}}), ids({0, 2}), -2},
      {"coincident nodes", make_pos({{1, 1}, {1, 1}}), ids({0, 1, 0}), -2},
      {"infinite length", make_pos({{0, 0}, {inf, 0}}), ids({0, 1}), -2},
      {"NaN coordinate", make_pos({{0, 0}, {not_a_number, 0}}), ids({0, 1}), -2},
      {"overflowing length", make_pos({{-1e308, 0}, {1e308, 0}}), ids({0, 1}), -2},
  };
  for (const Case& c : cases) {
    dense1D<double> params = values({5});
    EXPECT_EQ(chord_length_params(c.pos, c.chain, params), c.expected) << c.what;
  }
}

TEST(MeshLineFrame, CodesOfTheOverloadWithoutParametersCountItsOwnArguments) {
  const int codes[][2] = {{0, 0}, {-1, -1}, {-2, -2}, {-3, -3}, {-4, -3}, {-6, -5}, {-12, -11}};
  for (const auto& c : codes)
    EXPECT_EQ(code_without_params(c[0]), c[1]);
}
