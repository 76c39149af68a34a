#include <vector>

#include <gtest/gtest.h>

#include "metrics/normal_frame.h"

using vorn::filum::make_normal_frame;
using vorn::filum::point;

TEST(NormalFrame, HintsAndTheAxisFallback) {
  struct Case {
    point<3> t, v;
    std::vector<double> frame;  // t, v, w
  } cases[] = {
      // No hint: v is the axis of t's smallest component, the first one on ties.
      {{2.0, 0.0, 0.0}, {}, {1, 0, 0, 0, 1, 0, 0, 0, 1}},
      {{0.0, 0.0, 5.0}, {}, {0, 0, 1, 1, 0, 0, 0, 1, 0}},
      {{0.0, 0.0, 0.0}, {}, {1, 0, 0, 0, 1, 0, 0, 0, 1}},  // a zero t is taken as x
      {{-4.0, 3.0, 0.0}, {}, {-0.8, 0.6, 0, 0, 0, 1, 0.6, 0.8, 0}},
      {{0.0, -3.0, 0.0}, {0.0, 7.0, 0.0}, {0, -1, 0, 1, 0, 0, 0, 0, 1}},  // hint along t
      // A hint across t is made orthogonal to t and unit.
      {{3.0, 0.0, 0.0}, {0.3, 2.0, 0.0}, {1, 0, 0, 0, 1, 0, 0, 0, 1}},
      {{0.0, 1e-8, 0.0}, {0.0, 1.0, -1e-9}, {0, 1, 0, 0, 0, -1, -1, 0, 0}},
  };
  for (const Case& c : cases) {
    const auto f = make_normal_frame(c.t, c.v);
    const point<3>* axes[] = {&f.t, &f.v, &f.w};
    for (std::size_t k = 0; k < 9; ++k)
      EXPECT_NEAR((*axes[k / 3])[k % 3], c.frame[k], 1e-15) << k;
  }
}
