#include <limits>

#include <vorn/filum.h>

#include "spline_test_points.h"

using namespace vorn;
using filum_test::entries;
using spline_test::coordinates;

template <class Dim>
using MeshSpline = spline_test::both_dimensions<Dim>;
TYPED_TEST_SUITE(MeshSpline, spline_test::dimensions);

namespace {

constexpr double not_a_number = std::numeric_limits<double>::quiet_NaN();

// One call of mesh_spline with sizes: its arguments, one size per chain entry, its outputs.
struct spline_call {
  dense2D<double> pos;
  dense1D<unsigned> chain;
  dense1D<double> sizes;
  unsigned min_elements = 1, max_elements = filum::no_id;
  double chordal_tol = 0, min_size = 0, default_size = 0, max_gradation = 0;
  dense1D<unsigned> new_indices;
  dense1D<double> new_params, new_sizes;
  double max_deviation = -1;

  spline_call(dense2D<double> p, dense1D<unsigned> c, double size)
      : pos(p), chain(c), sizes(c.size(), size) {}

  int run() {
    return filum::mesh_spline(pos, chain, sizes, false, min_elements, max_elements, chordal_tol,
                              min_size, default_size, max_gradation, new_indices, new_params,
                              new_sizes, max_deviation);
  }
  std::size_t elements() const { return new_indices.size() - 1; }
  double dot(std::size_t e, std::size_t f) const {  // of the vectors of elements e and f
    double sum = 0;
    for (std::size_t i = 0; i < pos.rows(); ++i)
      sum += (pos(i, new_indices[e + 1]) - pos(i, new_indices[e])) *
             (pos(i, new_indices[f + 1]) - pos(i, new_indices[f]));
    return sum;
  }
  double bend(std::size_t e, std::size_t f) const {  // 1 - cosine of the angle of e and f
    return 1 - dot(e, f) / std::sqrt(dot(e, e) * dot(f, f));
  }
  // Largest distance of the output nodes (at = 0) or the element midpoints (at = 0.5) from
  // the circle of radius R about the origin.
  double off_circle(double R, double at) const {
    double worst = 0;
    for (std::size_t j = 0; j < elements(); ++j) {
      double r2 = 0;
      for (std::size_t i = 0; i < pos.rows(); ++i) {
        const double a = pos(i, new_indices[j]), b = pos(i, new_indices[j + 1]);
        r2 += (a + at * (b - a)) * (a + at * (b - a));
      }
      worst = std::max(worst, std::fabs(std::sqrt(r2) - R));
    }
    return worst;
  }
};

// The quarter circle of radius 1 through 5 nodes, open ends.
template <std::size_t D>
spline_call quarter_circle(double size) {
  return spline_call(coordinates<D>(spline_test::arc(1, 5, 22.5)), spline_test::padded_chain(5),
                     size);
}

// The circle of radius R through 64 nodes, closed at node 0 by the chain 63, 0, 1, ..., 63,
// 0, 1; in space it lies in the plane x = y.
template <std::size_t D>
spline_call closed_circle(double R, double size) {
  dense2D<double> pos = coordinates<D>(spline_test::arc(R, 64, 360.0 / 64));
  for (std::size_t j = 0; D == 3 && j < 64; ++j) {
    pos(2, j) = pos(1, j);
    pos(0, j) = pos(1, j) = pos(0, j) / std::sqrt(2.0);
  }
  dense1D<unsigned> chain(67);
  for (unsigned k = 0; k < 67; ++k)
    chain[k] = (k + 63) % 64;
  return spline_call(pos, chain, size);
}

void expect_same_mesh(const spline_call& a, const spline_call& b) {
  EXPECT_EQ(entries(a.new_indices), entries(b.new_indices));
  EXPECT_EQ(entries(a.new_params), entries(b.new_params));
  EXPECT_EQ(entries(a.new_sizes), entries(b.new_sizes));
  EXPECT_EQ(entries(a.pos.as_vector()), entries(b.pos.as_vector()));
}

}  // namespace

TEST(MeshSplineArguments, CodesInArgumentOrderLeaveTheOutputsAlone) {
  using spoil = void (*)(spline_call&);
  const std::pair<int, spoil> cases[] = {
      {-1, [](spline_call& c) { c.pos = dense2D<double>(1, 5, 0.0); }},
      {-1, [](spline_call& c) { c.pos = dense2D<double>(4, 5, 0.0); }},
      {-2, [](spline_call& c) { c.chain = c.chain.sub_vector(0, 3); }},
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
  for (const auto& [code, change] : cases) {
    spline_call call = quarter_circle<2>(0.1);
    change(call);
    call.new_indices = filum_test::ids({7});
    EXPECT_EQ(call.run(), code);
    EXPECT_EQ(call.max_deviation, 0) << code;
    EXPECT_EQ(call.pos.cols(), 5u) << code;
    EXPECT_EQ(entries(call.new_indices), std::vector<unsigned>{7});
    EXPECT_TRUE(call.new_params.empty() && call.new_sizes.empty());
  }
}

TYPED_TEST(MeshSpline, StraightSegmentKeepsItsNodesOnTheChordAndAppends) {
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
      EXPECT_TRUE(call.new_indices[0] == 0 && call.new_indices[elements] == 1);
      for (std::size_t j = 0; j <= elements; ++j)
        for (std::size_t i = 0; i < 2; ++i)  // node j at j / elements along the chord
          EXPECT_NEAR(call.pos(i, call.new_indices[j]), (i ? 8 : 6) * s * j / elements, 1e-13 * s);
      EXPECT_NEAR(call.new_params[1], 1.0 / elements, 1e-14);
      EXPECT_NEAR(call.new_sizes[1], std::min(size, 10.0) * s, 1e-14 * s);
      ASSERT_EQ(call.run(), 0);  // a second call appends behind the first
      const std::size_t n = elements + 1;
      ASSERT_EQ(call.new_indices.size(), 2 * n);
      EXPECT_EQ(call.new_indices[n + 1], elements == 1 ? 1 : call.new_indices[1] + elements - 1);
      EXPECT_EQ(entries(call.new_sizes.sub_vector(n, n)), entries(call.new_sizes.sub_vector(0, n)));
    }
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
  EXPECT_TRUE(reference.new_sizes[0] == 0.1 && reference.new_sizes[reference.elements()] == 0.1);
  // The same mesh for every "off" chordal setting, and whenever the default size or the
  // gradation is not positive (the node sizes are then interpolated).
  using change = void (*)(spline_call&);
  for (change same : std::initializer_list<change>{
           [](spline_call& c) { c.chordal_tol = not_a_number; },
           [](spline_call& c) { c.chordal_tol = -DBL_MAX; },
           [](spline_call& c) { c.default_size = 0.5, c.max_gradation = 0; },
           [](spline_call& c) { c.default_size = 0.5, c.max_gradation = not_a_number; },
           [](spline_call& c) { c.default_size = not_a_number, c.max_gradation = 2; },
           [](spline_call& c) { c.chordal_tol = 1e-3, c.min_size = 2; },  // above the length
       }) {
    spline_call call = node_sized();
    same(call);
    ASSERT_EQ(call.run(), 0);
    expect_same_mesh(reference, call);
  }
  // A small default size between the nodes, spread by the gradation, refines the mesh.
  spline_call graded = quarter_circle<D>(0.1);
  graded.default_size = 0.02, graded.max_gradation = 1.1;
  ASSERT_EQ(graded.run(), 0);
  EXPECT_GT(graded.elements(), 2 * reference.elements());
}

TYPED_TEST(MeshSpline, CurvatureRefinesAClosedCircleDownToTheMinimumSize) {
  constexpr std::size_t D = TypeParam::value;
  for (double tol : {1e-2, 1e-3, 1e-4, 1e-5}) {
    for (double R : {1e-8, 1.0, 1e8}) {
      spline_call call = closed_circle<D>(R, 10 * R);  // sizes above the length
      call.chordal_tol = tol * R;
      call.min_size = tol < 1e-4 ? 0.02 * R : 0;
      ASSERT_EQ(call.run(), 0);
      EXPECT_TRUE(call.new_indices[0] == 0 && call.new_indices[call.elements()] == 0);
      EXPECT_LT(call.bend(call.elements() - 1, 0), 2.25 * call.bend(0, 1));  // closing node
      for (std::size_t e = 0; e < call.elements(); ++e)
        ASSERT_GE(std::sqrt(call.dot(e, e)), 0.95 * call.min_size);
      if (call.min_size > 0) continue;  // coarser than the tolerance asks
      EXPECT_LT(call.off_circle(R, 0), 0.2 * tol * R);
      EXPECT_LT(call.off_circle(R, 0.5), 1.2 * tol * R);  // as refined as the tolerance
      EXPECT_GT(call.off_circle(R, 0.5), 0.8 * tol * R);  // asks, and not more
    }
  }
}

TEST(MeshSplineStorage, FailuresReturnZeroAndKeepIdentifiersValid) {
  auto prepare = [] {
    spline_call call = quarter_circle<3>(0.1);
    call.chordal_tol = 1e-3, call.default_size = 0.05, call.max_gradation = 1.5;
    return call;
  };
  const std::size_t runs = filum_test::sweep_allocation_failures(
      prepare, [](spline_call& call) { return call.run(); },
      [](spline_call& call, int result, bool) {
        EXPECT_EQ(result, 0);
        for (std::size_t j = 0; j < call.new_indices.size(); ++j)
          EXPECT_LT(call.new_indices[j], call.pos.cols());
      });
  EXPECT_GT(runs, 10u);
}
