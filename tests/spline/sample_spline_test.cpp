#include "spline/sample_spline.h"

#include <cfloat>
#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "spline/spline_segment.h"
#include "spline_test_points.h"
#include "support/filum_test.h"

using namespace vorn::filum;
using filum_test::column;
using filum_test::entries;
using spline_test::coordinates;
using spline_test::padded_chain;

namespace {

template <class Dim>
class SampleSpline : public ::testing::Test {};
TYPED_TEST_SUITE(SampleSpline, spline_test::dimensions);

// The outputs of one sampling.
struct sampling {
  vorn::dense2D<double> samples;
  vorn::dense1D<double> node_params, sample_params;
  vorn::dense1D<unsigned> node_samples;
  double max_deviation = -1;
  double total = -1;

  template <std::size_t D>
  void run(const vorn::dense2D<double>& pos, const vorn::dense1D<unsigned>& chain, double tol,
           double size_floor) {
    total = sample_spline<D>(pos, chain, tol, size_floor, samples, node_params, sample_params,
                             node_samples, max_deviation);
  }
  // Sub-interval count of piece k.
  unsigned count(std::size_t k) const { return node_samples[k + 1] - node_samples[k]; }
};

// Points spaced by the arc length step along the circle of radius R.
spline_test::plane_points arc_by_length(double R, std::size_t n, double step) {
  return spline_test::arc(R, n, step / R * 180 / spline_test::pi);
}

}  // namespace

TYPED_TEST(SampleSpline, StraightChainAlternatesNodesAndMidpoints) {
  constexpr std::size_t D = TypeParam::value;
  for (double s : {1e-8, 1.0, 1e8}) {
    const auto pos = coordinates<D>({{0, 0}, {1, 0.5}, {2, 1}, {3, 1.5}}, s);
    sampling out;
    out.samples = vorn::dense2D<double>(5, 2);  // stale content of another shape
    out.node_params = filum_test::values({9, 9});
    out.run<D>(pos, padded_chain(4), DBL_MAX, 0);
    ASSERT_EQ(out.samples.cols(), 7u);
    EXPECT_EQ(entries(out.node_samples), (std::vector<unsigned>{0, 2, 4, 6}));
    EXPECT_NEAR(out.max_deviation, 0, 1e-15 * s);
    EXPECT_NEAR(out.total, 3 * std::sqrt(1.25) * s, 1e-14 * s);
    for (std::size_t j = 0; j < 7; ++j) {
      const std::vector<double> expected = column(pos, j / 2);
      if (j % 2 == 0) {
        EXPECT_EQ(column(out.samples, j), expected) << j;  // nodes are copied exactly
      } else {
        const std::vector<double> next = column(pos, j / 2 + 1);
        for (std::size_t i = 0; i < D; ++i)
          EXPECT_NEAR(out.samples(i, j), (expected[i] + next[i]) / 2, 1e-15 * s);
      }
      EXPECT_NEAR(out.sample_params[j], j / 6.0, 1e-15) << j;
    }
    EXPECT_EQ(out.sample_params[0], 0);
    EXPECT_EQ(out.sample_params[6], 1);
    ASSERT_EQ(out.node_params.size(), 4u);
    EXPECT_NEAR(out.node_params[2], 2 / 3.0, 1e-15);
    EXPECT_EQ(out.node_params[3], 1);
  }
}

TYPED_TEST(SampleSpline, FloorAboveEveryChordalSizeCountsByTheFloor) {
  constexpr std::size_t D = TypeParam::value;
  const auto pos = coordinates<D>(spline_test::arc(1, 3, 20));  // pieces of length ~0.349
  const struct {
    double size_floor;
    unsigned m;
  } cases[] = {{0.15, 3}, {0.08, 5}, {0.045, 8}, {1, 2}};
  for (const auto& c : cases) {
    sampling out;
    out.run<D>(pos, padded_chain(3), 1e-6, c.size_floor);
    EXPECT_EQ(out.count(0), c.m) << c.size_floor;
    EXPECT_EQ(out.count(1), c.m) << c.size_floor;
    EXPECT_EQ(out.samples.cols(), 2 * c.m + 1);
    EXPECT_EQ(out.sample_params.size(), out.samples.cols());
    EXPECT_EQ(column(out.samples, 2 * c.m), column(pos, 2));  // the last node, exactly
  }
}

// Nodes 0.3 apart along circles: the tighter the circle, the more sub-intervals, about
// the piece length over the chordal size of its curvature.
TYPED_TEST(SampleSpline, CountGrowsAsTheRadiusShrinks) {
  constexpr std::size_t D = TypeParam::value;
  unsigned previous = 0;
  for (double R : {4.0, 1.0, 0.5}) {
    sampling out;
    out.run<D>(coordinates<D>(arc_by_length(R, 4, 0.3)), padded_chain(4), 1e-4, 0);
    const double expected = std::ceil(0.3 / chordal_size(1 / R, 1e-4));
    EXPECT_GE(out.count(1), expected - 1) << R;
    EXPECT_LE(out.count(1), expected + 1) << R;
    EXPECT_GT(out.count(1), previous) << R;
    previous = out.count(1);
  }
}

TYPED_TEST(SampleSpline, DeviationIsTheSagittaOfTheArcs) {
  constexpr std::size_t D = TypeParam::value;
  for (double R : {1e-8, 1.0, 1e8}) {
    sampling out;
    out.run<D>(coordinates<D>(spline_test::arc(R, 5, 20)), padded_chain(5), DBL_MAX, 0);
    EXPECT_NEAR(out.max_deviation / R, 1 - std::cos(10 * spline_test::pi / 180), 5e-4) << R;
  }
}

TYPED_TEST(SampleSpline, CoincidentNodesGiveAConstantPieceOfNoLength) {
  constexpr std::size_t D = TypeParam::value;
  const auto pos = coordinates<D>({{0, 0}, {1, 0.5}, {1, 0.5}, {2, 0}});
  for (double tol : {DBL_MAX, 1e-3, -0.1}) {
    sampling out;
    out.run<D>(pos, padded_chain(4), tol, 0);
    EXPECT_EQ(out.node_params[1], out.node_params[2]);
    EXPECT_EQ(out.count(1), 2u);
    for (unsigned j = out.node_samples[1]; j <= out.node_samples[2]; ++j) {
      EXPECT_EQ(column(out.samples, j), column(pos, 1));
      EXPECT_EQ(out.sample_params[j], out.node_params[1]);
    }
  }
}

TEST(SampleSpline, StorageFailuresOnlyDropAppends) {
  const auto pos = coordinates<2>(spline_test::arc(1, 6, 20));
  const auto chain = padded_chain(6);
  sampling full;
  full.run<2>(pos, chain, 1e-4, 0);
  filum_test::sweep_allocation_failures([] { return sampling(); },
                                        [&](sampling& out) {
                                          out.run<2>(pos, chain, 1e-4, 0);
                                          return 0;
                                        },
                                        [&](const sampling& out, int, bool failed) {
                                          EXPECT_EQ(out.max_deviation, full.max_deviation);
                                          EXPECT_LE(out.samples.cols(), full.samples.cols());
                                          EXPECT_LE(out.sample_params.size(),
                                                    full.sample_params.size());
                                          if (!failed) {
                                            EXPECT_EQ(out.samples.cols(), full.samples.cols());
                                          }
                                        });
}
