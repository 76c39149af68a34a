#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "metric_samples.h"

using namespace vorn;
using namespace vorn::tessa;
using namespace tessa_test;

namespace {

// The largest entry difference relative to the largest entry.
template <std::size_t D>
double relative_gap(const sym<D>& a, const sym<D>& b) {
  double scale = 0, gap = 0;
  for (std::size_t k = 0; k < a.size(); ++k) {
    scale = std::max({scale, std::fabs(a[k]), std::fabs(b[k])});
    gap = std::max(gap, std::fabs(a[k] - b[k]));
  }
  return scale > 0 ? gap / scale : gap;
}

// The isotropic metric I/h^2.
template <std::size_t D>
sym<D> iso(double h) {
  sym<D> m;
  for (std::size_t i = 0; i < D; ++i)
    m(i, i) = 1 / (h * h);
  return m;
}

// The arithmetic of dimension D under one name; eigen gives the eigenvalues and the
// eigenvectors (column-major) and checks what the dimension promises beyond them.
template <std::size_t D>
struct dim;
template <>
struct dim<2> {
  using pair = metric_pair2d;
  static constexpr auto reduce = &reduce_metrics2d;
  static constexpr auto interpolate = &interpolate_reduced2d;
  static constexpr auto bound = &bound_metric_sizes2d;
  static bool eigen(const sym<2>& m, double* w, double* z) {
    vector_fixed<double, 2> e0, e1;
    double v0, v1;
    if (!eigen_decompose2d(m[0], m[1], m[2], true, w[0], w[1], e0, e1)) return false;
    EXPECT_TRUE(eigen_values2d(m[0], m[1], m[2], v0, v1) && v0 == w[0] && v1 == w[1]);
    EXPECT_TRUE(e1[0] == -e0[1] && e1[1] == e0[0]);  // a quarter turn
    z[0] = e0[0], z[1] = e0[1], z[2] = e1[0], z[3] = e1[1];
    return true;
  }
};
template <>
struct dim<3> {
  using pair = metric_pair3d;
  static constexpr auto reduce = &reduce_metrics3d;
  static constexpr auto interpolate = &interpolate_reduced3d;
  static constexpr auto bound = &bound_metric_sizes3d;
  static bool eigen(const sym<3>& m, double* w, double* z) {
    vector_fixed<double, 3> values, only;
    vector_fixed<double, 9> v, untouched;
    if (!eigen_decompose3d(m, true, values, v)) return false;
    EXPECT_TRUE(eigen_decompose3d(m, false, only, untouched) && untouched[0] == 0);
    EXPECT_NEAR(v[0] * (v[4] * v[8] - v[5] * v[7]) - v[3] * (v[1] * v[8] - v[2] * v[7]) +
                    v[6] * (v[1] * v[5] - v[2] * v[4]),
                1, 1e-13);  // right-handed
    for (std::size_t k = 0; k < 3; ++k)
      EXPECT_NEAR(only[k], values[k], 1e-12 * values[2]);
    std::copy(values.data(), values.data() + 3, w);
    std::copy(v.data(), v.data() + 9, z);
    return true;
  }
};

}  // namespace

template <class T>
class TessaMetricAlgebra : public ::testing::Test {};
TYPED_TEST_SUITE(TessaMetricAlgebra, dimensions);

// Random pairs at three scales: eigenpairs, the common basis of a pair and its size-linear
// interpolation, the intersection, and sizes clamped in a metric's own axes.
TYPED_TEST(TessaMetricAlgebra, RandomPairsKeepTheInvariants) {
  constexpr std::size_t D = TypeParam::value;
  using ops = dim<D>;
  std::mt19937 rng(3);
  std::uniform_real_distribution<double> log_size(std::log(0.1), std::log(10));
  for (int n = 0; n < 300; ++n) {
    const double s = n % 3 == 0 ? 1e-8 : n % 3 == 1 ? 1 : 1e8;
    double basis[D * D], h[D], lambda[D], w[D], z[D * D];
    random_basis<D>(rng, basis);
    for (std::size_t k = 0; k < D; ++k)
      h[k] = s * std::exp(log_size(rng)), lambda[k] = 1 / (h[k] * h[k]);
    const sym<D> a = outer_sum<D>(lambda, basis), b = random_metric<D>(rng, 0.1 * s, 10 * s);
    ASSERT_TRUE(ops::eigen(a, w, z));
    EXPECT_LT(relative_gap<D>(outer_sum<D>(w, z), a), 1e-12);
    typename ops::pair p;
    ASSERT_TRUE(ops::reduce(a, b, p));
    EXPECT_LT(relative_gap<D>(outer_sum<D>(p.eigen_a, p.duals), a), 1e-12);
    EXPECT_LT(relative_gap<D>(outer_sum<D>(p.eigen_b, p.duals), b), 1e-12);
    for (std::size_t k = 0, j = 0; k < D; j = k++) {  // unit vectors, ascending values
      EXPECT_NEAR(form<D>(iso<D>(1), z + k * D), 1, 1e-14);
      EXPECT_NEAR(form<D>(iso<D>(1), p.dirs + k * D), 1, 1e-14);
      EXPECT_LE(w[j], w[k]);
      EXPECT_LE(p.eigen_b[j] / p.eigen_a[j], p.eigen_b[k] / p.eigen_a[k] * (1 + 1e-12));
    }
    for (double t : {0.0, 0.25, 1.0}) {
      sym<D> m;
      ASSERT_TRUE(ops::interpolate(p, t, m));
      EXPECT_LT(relative_gap<D>(m, t == 0 ? a : t == 1 ? b : m), 1e-12);
      for (std::size_t k = 0; k < D; ++k) {
        const double ha = 1 / std::sqrt(p.eigen_a[k]), hb = 1 / std::sqrt(p.eigen_b[k]);
        EXPECT_NEAR(1 / std::sqrt(form<D>(m, p.dirs + k * D)), ha + t * (hb - ha),
                    1e-12 * (ha + hb));
      }
    }
    // The intersection is symmetric and may alias an operand.
    sym<D> out, swapped, in_a = a, in_b = b;
    ASSERT_TRUE(minimum_metric(a, b, out) && minimum_metric(b, a, swapped));
    ASSERT_TRUE(minimum_metric(in_a, b, in_a) && minimum_metric(a, in_b, in_b));
    EXPECT_LT(relative_gap<D>(out, swapped), 1e-10);
    EXPECT_TRUE(relative_gap<D>(in_a, out) == 0 && relative_gap<D>(in_b, out) == 0);
    // Sizes of a clamped into [lo, hi]; lo = 0 and hi < 0 bound nothing.
    double lo = s * std::exp(log_size(rng)), hi = s * std::exp(log_size(rng));
    if (lo > hi) std::swap(lo, hi);
    if (n % 5 == 0) lo = 0;
    if (n % 7 == 0) hi = -1;
    const double top = hi > 0 ? hi : HUGE_VAL;
    sym<D> m = a, again = a;
    const bool outside = std::any_of(h, h + D, [&](double x) { return x < lo || x > top; });
    EXPECT_EQ(ops::bound(m, lo, hi), outside);
    EXPECT_EQ(bound_metric(again, lo, hi), outside ? 0 : 1);
    EXPECT_EQ(std::memcmp(&again, &m, sizeof m), 0);
    EXPECT_TRUE(outside || std::memcmp(&m, &a, sizeof m) == 0);
    for (std::size_t k = 0; k < D; ++k)
      EXPECT_NEAR(1 / std::sqrt(form<D>(m, basis + k * D)), std::clamp(h[k], lo, top),
                  1e-10 * h[k]);
  }
}

// Pairs of zero, rank-one, rank-two and definite tensors whose eigenvalues spread up to
// 1e18: the intersection asks for no larger size than either along any direction, and
// for the larger eigenvalue along the common ones.
TYPED_TEST(TessaMetricAlgebra, IntersectionIsTheSmallerSizeAtAnySpread) {
  constexpr std::size_t D = TypeParam::value;
  std::mt19937 rng(11);
  std::uniform_real_distribution<double> unit(0, 1);
  std::normal_distribution<double> normal;
  const double spreads[] = {1e2, 1e6, 1e12, 1e18};
  // Rank eigenvalues in [scale, scale * spread]; beyond 1e12 a rotated tensor would no
  // longer be definite in doubles, so the rest of the spread lies between the two.
  const auto draw = [&](std::size_t rank, double scale, double spread) {
    double basis[D * D], lambda[D] = {};
    random_basis<D>(rng, basis);
    for (std::size_t k = 0; k < rank; ++k)
      lambda[k] = scale * std::pow(std::min(spread, 1e12), unit(rng));
    return outer_sum<D>(lambda, basis);
  };
  for (int n = 0; n < 2000; ++n) {
    const double spread = spreads[n % 4], scale = std::pow(10.0, 16 * unit(rng) - 8);
    const double offset = std::pow(spread / std::min(spread, 1e12), 2 * unit(rng) - 1);
    const std::size_t rank = n % 5 < 2 ? D : static_cast<std::size_t>(n / 5) % D;
    sym<D> a = draw(rank, scale, spread), b = draw(D, scale * offset, spread), out;
    if (n % 3 == 0) std::swap(a, b);
    ASSERT_TRUE(minimum_metric(a, b, out)) << n;
    typename dim<D>::pair p;
    ASSERT_TRUE(dim<D>::reduce(a, b, p) || dim<D>::reduce(b, a, p));
    double norm = 0, u[D];
    for (std::size_t k = 0; k < out.size(); ++k)
      norm = std::max(norm, std::fabs(out[k]));
    for (std::size_t k = 0; k < D; ++k) {
      const double larger = std::max(form<D>(a, p.dirs + k * D), form<D>(b, p.dirs + k * D));
      EXPECT_NEAR(form<D>(out, p.dirs + k * D), larger, 1e-9 * larger + 1e-14 * norm) << n;
      for (double& x : u)
        x = normal(rng);
      EXPECT_GE(form<D>(out, u), std::max(form<D>(a, u), form<D>(b, u)) * (1 - 1e-9)) << n;
    }
  }
}

TYPED_TEST(TessaMetricAlgebra, DegenerateOperandsAndRefusals) {
  constexpr std::size_t D = TypeParam::value;
  using ops = dim<D>;
  // Isotropic pairs extrapolate sizes; one to a size <= 0 gives zero (the random pairs
  // cover interpolation at every scale).
  for (const auto [ha, hb, t, h] : {std::array<double, 4>{1, 3, 2, 5}, {3, 1, 2, 0}}) {
    typename ops::pair p;
    ASSERT_TRUE(ops::reduce(iso<D>(ha), iso<D>(hb), p));
    sym<D> m = iso<D>(7);
    EXPECT_EQ(ops::interpolate(p, t, m), h > 0) << ha << " " << hb;
    EXPECT_LT(relative_gap<D>(m, h > 0 ? iso<D>(h) : sym<D>()), 1e-13) << ha << " " << hb;
  }
  sym<D> first_zero = iso<D>(1), indefinite = iso<D>(1), negative = iso<D>(1), nan = iso<D>(2);
  first_zero[0] = 0, indefinite[1] = 2, negative[0] = -1, nan[0] = std::nan("");
  typename ops::pair p;
  for (const sym<D>& a : {first_zero, indefinite, sym<D>()}) {
    p.eigen_a[0] = 5;
    EXPECT_FALSE(ops::reduce(a, iso<D>(1), p));
    EXPECT_EQ(p.eigen_a[0], 0);  // the pair is zeroed
  }
  ASSERT_TRUE(ops::reduce(iso<D>(1), indefinite, p));  // B may be indefinite ...
  sym<D> m = iso<D>(7), out;
  EXPECT_FALSE(ops::interpolate(p, 0.5, m));  // ... but such a pair does not interpolate
  EXPECT_EQ(m[0], 1.0 / 49);
  // Intersections with a zero tensor, and of two tensors neither of which reduces the
  // pair (out = A).
  EXPECT_TRUE(minimum_metric(m, sym<D>(), out) && relative_gap<D>(out, m) == 0);
  EXPECT_TRUE(minimum_metric(sym<D>(), m, out) && relative_gap<D>(out, m) == 0);
  EXPECT_FALSE(minimum_metric(indefinite, negative, out));
  EXPECT_EQ(relative_gap<D>(out, indefinite), 0);
  // Bounds: none change nothing, nor on a tensor that does not decompose or that a lower
  // bound alone cannot make definite; crossed bounds give the upper one.
  const std::pair<sym<D>, double> unbounded[] = {{m, 0}, {nan, 1}, {negative, 0.5}};
  for (const auto& [given, lo] : unbounded) {
    sym<D> kept = given;
    EXPECT_FALSE(ops::bound(kept, lo, 0));
    EXPECT_EQ(std::memcmp(&kept, &given, sizeof kept), 0);
  }
  EXPECT_TRUE(ops::bound(m, 5, 3));
  EXPECT_LT(relative_gap<D>(m, iso<D>(3)), 1e-14);
}

// Found by fuzzing metrics_gen_aniso2d: a reduction on a tensor with a denormal eigenvalue
// overflowed without failing and the intersection came out NaN.
TEST(TessaMetricAlgebra, DenormalOperandGivesAFiniteIntersection) {
  symmetric_fixed<double, 2> thin, wide, out;
  thin(0, 0) = 4.9406564584124654e-324, thin(0, 1) = 0, thin(1, 1) = 1;
  wide(0, 0) = 1.0687869822485206e+149, wide(0, 1) = 3.2692307692307692e+149;
  wide(1, 1) = 1.0000000000000002e+150;
  for (bool swap : {false, true}) {
    // Refused or not, what comes out is one of the operands or their intersection.
    (void)(swap ? minimum_metric(wide, thin, out) : minimum_metric(thin, wide, out));
    for (int i = 0; i < 2; ++i)
      for (int j = 0; j < 2; ++j)
        EXPECT_TRUE(std::isfinite(out(i, j))) << swap << i << j;
  }
}

TEST(TessaMetricAlgebra, ClosedFormsOfThePlaneAndTheSpaceFactor) {
  double l0, l1;
  vector_fixed<double, 2> e0, e1;
  // A multiple of the identity gets the axes; without normalization e0 keeps its length.
  ASSERT_TRUE(eigen_decompose2d(4, 0, 4, false, l0, l1, e0, e1));
  EXPECT_TRUE(l0 == 4 && l1 == 4 && e0[0] == 1 && e0[1] == 0 && e1[0] == 0 && e1[1] == 1);
  ASSERT_TRUE(eigen_decompose2d(2, 1, 2, false, l0, l1, e0, e1));
  EXPECT_TRUE(l0 == 1 && std::fabs(e0[0]) == 1 && e0[0] + e0[1] == 0);
  ASSERT_TRUE(eigen_values2d(1e-3, 0, 1e12, l0, l1));  // the small one survives cancellation
  EXPECT_NEAR(l0, 1e-3, 1e-17);
  EXPECT_EQ(l1, 1e12);
  EXPECT_FALSE(eigen_values2d(std::nan(""), 0, 1, l0, l1));
  EXPECT_FALSE(eigen_decompose2d(HUGE_VAL, 0, 1, true, l0, l1, e0, e1));
  // A zero last pivot factors with L33 = 0, which no reduction accepts; a zero second
  // pivot does not factor and zeroes L.
  sym<3> semi = iso<3>(1);
  semi[5] = 0;
  vector_fixed<double, 9> l;
  vector_fixed<double, 3> w;
  metric_pair3d p;
  ASSERT_TRUE(cholesky3d(semi, l));
  EXPECT_TRUE(l[0] == 1 && l[4] == 1 && l[8] == 0 && l[1] + l[2] + l[3] + l[5] + l[6] + l[7] == 0);
  EXPECT_FALSE(reduce_metrics3d(semi, iso<3>(1), p));
  semi[2] = 0;
  EXPECT_FALSE(cholesky3d(semi, l));
  EXPECT_EQ(l[0], 0);
  semi[4] = std::nan("");
  EXPECT_FALSE(eigen_decompose3d(semi, true, w, l));
}
