#include <functional>
#include <limits>

#include <vorn/filum.h>

#include "spline_test_points.h"

using namespace vorn;
using filum_test::entries;
using spline_test::arc;
using spline_test::coordinates;

template <class Dim>
using MeshSpline = spline_test::both_dimensions<Dim>;
TYPED_TEST_SUITE(MeshSpline, spline_test::dimensions);

namespace {

constexpr double not_a_number = std::numeric_limits<double>::quiet_NaN();

// The closed padded chain over nodes 0 .. m-1, closing at node 0: m-1, 0, 1, ..., m-1, 0, 1.
dense1D<unsigned> closed_chain(unsigned m) {
  dense1D<unsigned> chain(m + 3);
  chain[0] = m - 1;
  for (unsigned k = 0; k <= m + 1; ++k)
    chain[k + 1] = k % m;
  return chain;
}

// One call of mesh_spline with sizes: its arguments, one size for every chain entry, and
// its outputs.
struct spline_call {
  dense2D<double> pos;
  dense1D<unsigned> chain;
  dense1D<double> sizes;
  bool force_even = false;
  unsigned min_elements = 1, max_elements = filum::no_id;
  double chordal_tol = 0, min_size = 0, default_size = 0, max_gradation = 0;
  dense1D<unsigned> new_indices;
  dense1D<double> new_params, new_sizes;
  double max_deviation = -1;

  spline_call(dense2D<double> p, dense1D<unsigned> c, double size)
      : pos(p), chain(c), sizes(c.size(), size) {}

  int run() {
    return filum::mesh_spline(pos, chain, sizes, force_even, min_elements, max_elements,
                              chordal_tol, min_size, default_size, max_gradation, new_indices,
                              new_params, new_sizes, max_deviation);
  }
  std::size_t elements() const { return new_indices.size() - 1; }
  double distance(std::size_t a, std::size_t b) const {  // between output nodes a and b
    double d2 = 0;
    for (std::size_t i = 0; i < pos.rows(); ++i)
      d2 += std::pow(pos(i, new_indices[b]) - pos(i, new_indices[a]), 2);
    return std::sqrt(d2);
  }
  // Largest distance from the circle of radius R about the origin, of the output nodes
  // (midpoints = false) or of the element midpoints.
  double off_circle(double R, bool midpoints) const {
    double worst = 0;
    for (std::size_t j = 0; j + 1 < new_indices.size(); ++j) {
      double r2 = 0;
      for (std::size_t i = 0; i < pos.rows(); ++i) {
        const double a = pos(i, new_indices[j]), b = pos(i, new_indices[j + 1]);
        r2 += midpoints ? std::pow((a + b) / 2, 2) : a * a;
      }
      worst = std::max(worst, std::fabs(std::sqrt(r2) - R));
    }
    return worst;
  }
};

// The quarter circle of radius 1 through 5 nodes, open ends.
template <std::size_t D>
spline_call quarter_circle(double size) {
  return spline_call(coordinates<D>(arc(1, 5, 22.5)), spline_test::padded_chain(5), size);
}

// The outputs of two calls are equal.
void expect_same_mesh(const spline_call& a, const spline_call& b) {
  EXPECT_EQ(entries(a.new_indices), entries(b.new_indices));
  EXPECT_EQ(entries(a.new_params), entries(b.new_params));
  EXPECT_EQ(entries(a.new_sizes), entries(b.new_sizes));
  ASSERT_EQ(a.pos.cols(), b.pos.cols());
  for (std::size_t j = 0; j < a.pos.cols(); ++j)
    EXPECT_EQ(filum_test::column(a.pos, j), filum_test::column(b.pos, j));
}

}  // namespace

TEST(MeshSplineArguments, CodesInArgumentOrderLeaveTheOutputsAlone) {
  const std::pair<int, std::function<void(spline_call&)>> cases[] = {
      {-1, [](spline_call& c) { c.pos = dense2D<double>(1, 5, 0.0); }},
      {-1, [](spline_call& c) { c.pos = dense2D<double>(4, 5, 0.0); }},
      {-2,
       [](spline_call& c) {
         c.chain = filum_test::ids({0, 1, 2});
       }},
      {-2, [](spline_call& c) { c.chain[3] = 5; }},
      {-2, [](spline_call& c) { c.chain[3] = 5, c.min_elements = 0, c.min_size = -1; }},
      {-3, [](spline_call& c) { c.sizes.resize(6); }},
      {-3, [](spline_call& c) { c.sizes[0] = 0; }},
      {-3, [](spline_call& c) { c.sizes[6] = -1; }},
      {-3, [](spline_call& c) { c.sizes[3] = not_a_number; }},
      {-5, [](spline_call& c) { c.min_elements = 0; }},
      {-5, [](spline_call& c) { c.min_elements = 3, c.max_elements = 2; }},
      {-8, [](spline_call& c) { c.min_size = -1; }},
      {-8, [](spline_call& c) { c.min_size = not_a_number; }},
  };
  for (const auto& [code, spoil] : cases) {
    spline_call call = quarter_circle<2>(0.1);
    spoil(call);
    call.new_indices = filum_test::ids({7});
    const std::size_t columns = call.pos.cols();
    EXPECT_EQ(call.run(), code);
    EXPECT_EQ(call.max_deviation, 0) << code;
    EXPECT_EQ(call.pos.cols(), columns);
    EXPECT_EQ(entries(call.new_indices), std::vector<unsigned>{7});
    EXPECT_TRUE(call.new_params.empty() && call.new_sizes.empty());
  }
}

TYPED_TEST(MeshSpline, StraightSegmentKeepsItsNodesOnTheChord) {
  constexpr std::size_t D = TypeParam::value;
  for (double s : {1e-8, 1.0, 1e8}) {
    // Sizes of 1 give 10 elements; sizes of 100 are capped at the length, 1 element.
    for (auto [size, elements] : {std::pair{1.0, 10u}, {100.0, 1u}}) {
      spline_call call(coordinates<D>({{0, 0}, {6, 8}}, s), filum_test::ids({0, 0, 1, 1}),
                       size * s);
      call.chordal_tol = 1e-3 * s;
      ASSERT_EQ(call.run(), 0);
      ASSERT_EQ(call.elements(), elements) << s;
      EXPECT_EQ(call.max_deviation, 0);
      EXPECT_EQ(call.new_indices[0], 0u);
      EXPECT_EQ(call.new_indices[elements], 1u);
      for (std::size_t j = 0; j <= elements; ++j) {
        const double along = static_cast<double>(j) / elements;
        EXPECT_NEAR(call.new_params[j], along, 1e-14);
        EXPECT_NEAR(call.new_sizes[j], std::min(size, 10.0) * s, 1e-14 * s);
        EXPECT_NEAR(call.pos(0, call.new_indices[j]), 6 * along * s, 1e-13 * s);
        EXPECT_NEAR(call.pos(1, call.new_indices[j]), 8 * along * s, 1e-13 * s);
      }
    }
  }
}

TEST(MeshSplineOutputs, SecondCallAppendsBehindTheFirst) {
  spline_call once = quarter_circle<2>(0.1), twice = quarter_circle<2>(0.1);
  ASSERT_EQ(once.run(), 0);
  ASSERT_EQ(twice.run(), 0);
  ASSERT_EQ(twice.run(), 0);
  const std::size_t n = once.new_indices.size(), added = once.pos.cols() - 5;
  ASSERT_EQ(twice.new_indices.size(), 2 * n);
  ASSERT_EQ(twice.pos.cols(), 5 + 2 * added);
  for (std::size_t j = 0; j < n; ++j) {
    const unsigned id = once.new_indices[j];
    EXPECT_EQ(twice.new_indices[n + j], id < 5 ? id : id + added);
    EXPECT_EQ(twice.new_params[n + j], once.new_params[j]);
    EXPECT_EQ(twice.new_sizes[n + j], once.new_sizes[j]);
  }
}

TYPED_TEST(MeshSpline, WithoutChordalLimitSizesFollowTheNodes) {
  constexpr std::size_t D = TypeParam::value;
  auto node_sized = [] {  // 0.1 at the ends, 0.05 in the middle, ghosts unused
    spline_call call = quarter_circle<D>(0.1);
    call.sizes[0] = call.sizes[6] = 7, call.sizes[3] = 0.05;
    return call;
  };
  spline_call reference = node_sized();
  ASSERT_EQ(reference.run(), 0);
  EXPECT_GT(reference.elements(), 16u);
  EXPECT_EQ(reference.new_sizes[0], 0.1);
  EXPECT_EQ(reference.new_sizes[reference.elements()], 0.1);
  EXPECT_NEAR(*std::min_element(reference.new_sizes.begin(), reference.new_sizes.end()), 0.05,
              5e-3);
  // The same mesh for every "off" chordal setting, and whenever the default size or the
  // gradation is not positive (the node sizes are then interpolated).
  const std::pair<const char*, std::function<void(spline_call&)>> same[] = {
      {"NaN tol", [](spline_call& c) { c.chordal_tol = not_a_number; }},
      {"-unset tol", [](spline_call& c) { c.chordal_tol = -DBL_MAX; }},
      {"no gradation", [](spline_call& c) { c.default_size = 0.5, c.max_gradation = 0; }},
      {"NaN gradation",
       [](spline_call& c) { c.default_size = 0.5, c.max_gradation = not_a_number; }},
      {"NaN default", [](spline_call& c) { c.default_size = not_a_number, c.max_gradation = 2; }},
      {"min_size above", [](spline_call& c) { c.chordal_tol = 1e-3, c.min_size = 2; }},
  };
  for (const auto& [name, change] : same) {
    SCOPED_TRACE(name);
    spline_call call = node_sized();
    change(call);
    ASSERT_EQ(call.run(), 0);
    expect_same_mesh(reference, call);
  }
  // A small default size between the nodes, spread by the gradation, refines the mesh.
  spline_call graded = quarter_circle<D>(0.1);
  graded.default_size = 0.02, graded.max_gradation = 1.1;
  ASSERT_EQ(graded.run(), 0);
  EXPECT_GT(graded.elements(), 2 * reference.elements());
}

TYPED_TEST(MeshSpline, CurvatureRefinesDownToTheMinimumSize) {
  constexpr std::size_t D = TypeParam::value;
  std::size_t previous = 0;
  for (double tol : {0.1, 1e-3, 1e-5}) {
    spline_call call = quarter_circle<D>(10);  // sizes above the length: curvature alone
    call.chordal_tol = tol;
    ASSERT_EQ(call.run(), 0);
    EXPECT_GT(call.elements(), previous) << tol;
    previous = call.elements();
  }
  spline_call floored = quarter_circle<D>(10);
  floored.chordal_tol = 1e-5, floored.min_size = 0.05;
  ASSERT_EQ(floored.run(), 0);
  EXPECT_LT(floored.elements(), previous);
  for (std::size_t j = 0; j < floored.elements(); ++j)
    EXPECT_GE(floored.distance(j, j + 1), 0.95 * floored.min_size) << j;
}

TYPED_TEST(MeshSpline, ClosedCircleApproachesTheTrueCircle) {
  constexpr std::size_t D = TypeParam::value;
  double previous = 1;  // the largest relative node distance at the coarser tolerance
  for (double tol : {1e-2, 1e-3, 1e-4}) {
    double largest = 0;
    for (double R : {1e-8, 1.0, 1e8}) {
      spline_call call(coordinates<D>(arc(R, 64, 360.0 / 64)), closed_chain(64), 10 * R);
      call.chordal_tol = tol * R;
      ASSERT_EQ(call.run(), 0);
      EXPECT_EQ(call.new_indices[0], 0u);
      EXPECT_EQ(call.new_indices[call.elements()], 0u);
      EXPECT_LT(call.off_circle(R, false), 0.2 * tol * R);
      EXPECT_LT(call.off_circle(R, true), 1.2 * tol * R);  // as refined as the tolerance
      EXPECT_GT(call.off_circle(R, true), 0.8 * tol * R);  // asks, and not more
      largest = std::max(largest, call.off_circle(R, false) / R);
    }
    EXPECT_LT(largest, previous) << tol;
    previous = largest;
  }
}

TEST(MeshSpline3D, TiltedClosedCurveHasNoKinkAtItsClosingNode) {
  // A lobed loop in the plane x = y: its closing node is where the open spline has a kink.
  constexpr unsigned m = 12;
  dense2D<double> pos(3, m);
  for (unsigned k = 0; k < m; ++k) {
    const double a = 2 * spline_test::pi * k / m;
    const double u = 2 * std::cos(a) + 0.3 * std::cos(3 * a), v = std::sin(a);
    pos(0, k) = u / std::sqrt(2), pos(1, k) = u / std::sqrt(2), pos(2, k) = v;
  }
  for (bool closed : {true, false}) {
    dense1D<unsigned> chain = closed_chain(m);
    if (!closed) chain[0] = 0, chain[m + 2] = 0;
    spline_call call(pos, chain, 0.05);
    call.chordal_tol = 1e-5;
    ASSERT_EQ(call.run(), 0);
    const std::size_t E = call.elements();
    auto direction = [&](std::size_t e) {
      std::vector<double> d(3);
      for (std::size_t i = 0; i < 3; ++i)
        d[i] = (call.pos(i, call.new_indices[e + 1]) - call.pos(i, call.new_indices[e])) /
               call.distance(e, e + 1);
      return d;
    };
    auto angle = [](const std::vector<double>& a, const std::vector<double>& b) {
      return std::acos(std::min(1.0, a[0] * b[0] + a[1] * b[1] + a[2] * b[2]));
    };
    const double closing = angle(direction(E - 1), direction(0));
    const double next = angle(direction(0), direction(1));
    EXPECT_EQ(closing < 2 * next + 1e-3, closed) << closing << " " << next;
  }
}

TEST(MeshSplineStorage, FailuresReturnZeroAndKeepIdentifiersValid) {
  auto prepare = [] {
    spline_call call = quarter_circle<3>(0.1);
    call.chordal_tol = 1e-3, call.default_size = 0.05, call.max_gradation = 1.5;
    return call;
  };
  spline_call reference = prepare();
  ASSERT_EQ(reference.run(), 0);
  const std::size_t runs = filum_test::sweep_allocation_failures(
      prepare, [](spline_call& call) { return call.run(); },
      [&](spline_call& call, int result, bool failed) {
        EXPECT_EQ(result, 0);
        for (std::size_t j = 0; j < call.new_indices.size(); ++j)
          EXPECT_LT(call.new_indices[j], call.pos.cols());
        if (!failed) expect_same_mesh(reference, call);
      });
  EXPECT_GT(runs, 10u);
}
