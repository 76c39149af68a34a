#include <limits>

#include <vorn/filum.h>

#include "spline_test_points.h"
#include "support/line_geometry.h"
#include "support/metric_columns.h"

using namespace vorn;
using filum_test::entries;
using filum_test::metric_along;
using filum_test::metric_columns;
using spline_test::coordinates;

template <class Dim>
using MeshSpline = spline_test::both_dimensions<Dim>;
TYPED_TEST_SUITE(MeshSpline, spline_test::dimensions);

namespace {

constexpr double not_a_number = std::numeric_limits<double>::quiet_NaN();

// One call of mesh_spline: its arguments, with sizes (or metrics, when given), and outputs.
struct spline_call {
  dense2D<double> pos;
  dense1D<unsigned> chain;
  dense1D<double> sizes;
  dense2D<double> metrics, new_metrics;
  unsigned min_elements = 1, max_elements = filum::no_id;
  double chordal_tol = 0, min_size = 0, default_size = 0, max_gradation = 0;
  dense1D<unsigned> new_indices;
  dense1D<double> new_params, new_sizes;
  double max_deviation = -1;

  spline_call(dense2D<double> p, dense1D<unsigned> c, double size)
      : pos(p), chain(c), sizes(c.size(), size) {}

  int run() {
    if (!metrics.empty())
      return filum::mesh_spline(pos, chain, metrics, false, min_elements, max_elements, chordal_tol,
                                min_size, default_size, max_gradation, new_indices, new_params,
                                new_metrics, max_deviation);
    return filum::mesh_spline(pos, chain, sizes, false, min_elements, max_elements, chordal_tol,
                              min_size, default_size, max_gradation, new_indices, new_params,
                              new_sizes, max_deviation);
  }
  std::size_t elements() const { return new_indices.size() - 1; }
  // Coordinate i of output node j, moved by share of the way to node j + 1.
  double at(std::size_t i, std::size_t j, double share = 0) const {
    const double a = pos(i, new_indices[j]);
    return share == 0 ? a : a + share * (pos(i, new_indices[j + 1]) - a);
  }
  // Shortest element, and largest distance from the circle of radius R about the origin of
  // the output nodes (share 0) or of the element midpoints (share 0.5).
  std::pair<double, double> shortest_and_off_circle(double R, double share) const {
    double shortest = HUGE_VAL, worst = 0;
    for (std::size_t j = 0; j < elements(); ++j) {
      double r2 = 0, l2 = 0;
      for (std::size_t i = 0; i < pos.rows(); ++i)
        r2 += at(i, j, share) * at(i, j, share), l2 += std::pow(at(i, j, 1) - at(i, j), 2);
      shortest = std::min(shortest, std::sqrt(l2));
      worst = std::max(worst, std::fabs(std::sqrt(r2) - R));
    }
    return {shortest, worst};
  }
};

// The quarter circle of radius 1 through 5 nodes, open ends.
template <std::size_t D>
spline_call quarter_circle(double size) {
  return spline_call(coordinates<D>(spline_test::arc(1, 5, 22.5)), filum_test::padded_chain(5),
                     size);
}

// Runs call with the isotropic metrics of its sizes and expects the mesh of `sized`, the
// same call run with sizes: the same nodes, with the metric I / h^2 at a node of size h,
// appended behind a column that was there before.
template <std::size_t D>
void expect_like_sizes(spline_call call, const spline_call& sized) {
  std::vector<std::vector<double>> isotropic;
  for (double h : call.sizes)
    isotropic.push_back(metric_along(D, {1, 0, 0}, h, h));
  call.metrics = metric_columns(isotropic);
  call.new_metrics = metric_columns({isotropic[0]});
  ASSERT_EQ(call.run(), 0);
  ASSERT_EQ(entries(call.new_indices), entries(sized.new_indices));
  ASSERT_EQ(call.new_metrics.cols(), sized.new_indices.size() + 1);
  for (std::size_t j = 0; j < sized.new_indices.size(); ++j) {
    const double h = sized.new_sizes[j];
    const auto expected = metric_along(D, {1, 0, 0}, h, h);
    for (std::size_t i = 0; i < expected.size(); ++i)
      EXPECT_NEAR(call.new_metrics(i, j + 1) * h * h, expected[i] * h * h, 1e-9);
    for (std::size_t i = 0; i < D; ++i)
      EXPECT_NEAR(call.at(i, j), sized.at(i, j), 1e-12);
  }
}

}  // namespace

TEST(MeshSplineArguments, CodesInArgumentOrderLeaveTheOutputsAlone) {
  const dense2D<double> stretched = metric_columns({metric_along(2, {1, 0}, 1, 5)}, 7);
  const std::tuple<int, bool, void (*)(spline_call&)> cases[] = {
      {-1, false, [](spline_call& c) { c.pos = dense2D<double>(4, 5, 0.0); }},
      {-2, false, [](spline_call& c) { c.chain = c.chain.sub_vector(0, 3); }},
      {-2, false, [](spline_call& c) { c.chain[3] = 5, c.min_elements = 0, c.min_size = -1; }},
      {-3, false, [](spline_call& c) { c.sizes.resize(6); }},
      {-3, false, [](spline_call& c) { c.sizes[6] = -1; }},
      {-3, false, [](spline_call& c) { c.sizes[3] = not_a_number; }},
      {-5, false, [](spline_call& c) { c.min_elements = 0; }},
      {-5, false, [](spline_call& c) { c.min_elements = 3, c.max_elements = 2; }},
      {-8, false, [](spline_call& c) { c.min_size = not_a_number; }},
      {-3, true, [](spline_call& c) { c.metrics = c.metrics.sub_matrix(0, 0, 2, 7); }},
      {-3, true, [](spline_call& c) { c.metrics = c.metrics.sub_matrix(0, 0, 3, 6); }},
      {-3, true, [](spline_call& c) { c.metrics(0, 6) = 0; }},
      {-3, true, [](spline_call& c) { c.pos.resize(3, 5); }},
      {-13, true, [](spline_call& c) { c.new_metrics = dense2D<double>(6, 1, 1.0); }},
  };
  for (const auto& [code, with_metrics, change] : cases) {
    spline_call call = quarter_circle<2>(0.1);
    if (with_metrics) call.metrics.copy(stretched);
    change(call);
    call.new_indices = filum_test::ids({7});
    EXPECT_EQ(call.run(), code);
    EXPECT_TRUE(call.max_deviation == 0 && call.pos.cols() == 5 && call.new_params.empty()) << code;
    EXPECT_EQ(entries(call.new_indices), std::vector<unsigned>{7});
  }
}

TYPED_TEST(MeshSpline, StraightSegmentKeepsItsNodesOnTheChordAndAppends) {
  constexpr std::size_t D = TypeParam::value;
  // Sizes of 1 give 10 elements, sizes of 100 are capped at the length (1 element); metrics
  // of size 1 along the chord and 5 across give 10 elements, of 5 along and 1 across 2.
  for (auto [size, across, elements] :
       {std::tuple{1.0, 0.0, 10u}, {100.0, 0.0, 1u}, {1.0, 5.0, 10u}, {5.0, 1.0, 2u}}) {
    spline_call call(coordinates<D>({{0, 0}, {6, 8}}), filum_test::ids({0, 0, 1, 1}), size);
    if (across > 0)
      call.metrics = metric_columns({metric_along(D, {0.6, 0.8, 0}, size, across)}, 4);
    call.chordal_tol = 1e-3;
    ASSERT_EQ(call.run(), 0);
    ASSERT_EQ(call.elements(), elements);
    EXPECT_TRUE(call.max_deviation == 0 && call.new_indices[0] == 0 &&
                call.new_indices[elements] == 1);
    for (std::size_t j = 0; j <= elements; ++j) {  // node j at j / elements along the chord
      EXPECT_NEAR(call.at(0, j), 6.0 * j / elements, 1e-13);
      EXPECT_NEAR(call.at(1, j), 8.0 * j / elements, 1e-13);
      EXPECT_NEAR(call.new_params[j], 1.0 * j / elements, 1e-15);
    }
    EXPECT_EQ(call.new_metrics.cols(), across > 0 ? elements + 1 : 0);
    for (double h : call.new_sizes)  // none with metrics
      EXPECT_NEAR(h, std::min(size, 10.0), 1e-14);
    ASSERT_EQ(call.run(), 0);  // a second call appends behind the first
    EXPECT_EQ(entries(call.new_params.sub_vector(elements + 1, elements + 1)),
              entries(call.new_params.sub_vector(0, elements + 1)));
  }
}

TYPED_TEST(MeshSpline, SettingsThatInterpolateTheNodeValues) {
  constexpr std::size_t D = TypeParam::value;
  auto node_sized = [] {  // 0.1 at the ends, 0.05 in the middle, ghosts unused
    spline_call call = quarter_circle<D>(0.1);
    call.sizes[0] = call.sizes[6] = 7, call.sizes[3] = 0.05;
    return call;
  };
  spline_call reference = node_sized();
  ASSERT_EQ(reference.run(), 0);
  EXPECT_GT(reference.elements(), 16u);
  EXPECT_TRUE(reference.new_sizes[0] == 0.1 && reference.new_sizes[reference.elements()] == 0.1);
  expect_like_sizes<D>(node_sized(), reference);
  // The same mesh for every "off" chordal setting, and whenever the default size or the
  // gradation is not positive.
  for (auto same : {+[](spline_call& c) { c.chordal_tol = not_a_number; },
                    +[](spline_call& c) { c.chordal_tol = -DBL_MAX; },
                    +[](spline_call& c) { c.default_size = 0.5, c.max_gradation = 0; },
                    +[](spline_call& c) { c.default_size = 0.5, c.max_gradation = not_a_number; },
                    +[](spline_call& c) { c.default_size = not_a_number, c.max_gradation = 2; },
                    +[](spline_call& c) { c.chordal_tol = 1e-3, c.min_size = 2; }}) {
    spline_call call = node_sized();
    same(call);
    ASSERT_EQ(call.run(), 0);
    EXPECT_EQ(entries(call.new_sizes), entries(reference.new_sizes));
    EXPECT_EQ(entries(call.pos.as_vector()), entries(reference.pos.as_vector()));
  }
  // A small default size between the nodes, spread by the gradation, refines the mesh.
  auto graded = [] {
    spline_call call = quarter_circle<D>(0.1);
    call.default_size = 0.02, call.max_gradation = 1.1;
    return call;
  };
  spline_call call = graded();
  ASSERT_EQ(call.run(), 0);
  EXPECT_GT(call.elements(), 2 * reference.elements());
  expect_like_sizes<D>(graded(), call);
}

// A closed circle of 64 nodes: the chain 63, 0, 1, ..., 63, 0, 1.
TYPED_TEST(MeshSpline, CurvatureRefinesAClosedCircleDownToTheMinimumSize) {
  constexpr std::size_t D = TypeParam::value;
  dense1D<unsigned> closed(67);
  for (unsigned k = 0; k < 67; ++k)
    closed[k] = (k + 63) % 64;
  for (double tol : {1e-2, 1e-3, 1e-4, 1e-5}) {
    for (double R : {1e-8, 1.0, 1e8}) {
      auto circle = [&] {  // sizes above the length
        spline_call c(coordinates<D>(spline_test::arc(R, 64, 5.625)), closed, 10 * R);
        c.chordal_tol = tol * R, c.min_size = tol < 1e-4 ? 0.02 * R : 0;
        return c;
      };
      spline_call call = circle();
      ASSERT_EQ(call.run(), 0);
      EXPECT_TRUE(call.new_indices[0] == 0 && call.new_indices[call.elements()] == 0);
      const auto [shortest, off_nodes] = call.shortest_and_off_circle(R, 0);
      EXPECT_GE(shortest, 0.95 * call.min_size);
      if (call.min_size > 0) continue;  // coarser than the tolerance asks
      const double off_midpoints = call.shortest_and_off_circle(R, 0.5).second;
      EXPECT_LT(off_nodes, 0.2 * tol * R);
      EXPECT_LT(off_midpoints, 1.2 * tol * R);  // as refined as the tolerance asks, and
      EXPECT_GT(off_midpoints, 0.8 * tol * R);  // not more
    }
  }
}

TEST(MeshSplineStorage, FailuresReturnZeroAndKeepIdentifiersValid) {
  EXPECT_GT(filum_test::sweep_allocation_failures(
                [] {
                  spline_call call = quarter_circle<3>(0.1);
                  call.chordal_tol = 1e-3, call.default_size = 0.05, call.max_gradation = 1.5;
                  call.metrics = metric_columns({metric_along(3, {1, 0, 0}, 0.1, 0.2)}, 7);
                  return call;
                },
                [](spline_call& call) { return call.run(); },
                [](spline_call& call, int result, bool) {
                  EXPECT_EQ(result, 0);
                  for (std::size_t j = 0; j < call.new_indices.size(); ++j)
                    EXPECT_LT(call.new_indices[j], call.pos.cols());
                }),
            10u);
}
