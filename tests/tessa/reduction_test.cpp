#include <cmath>

#include <gtest/gtest.h>

#include "metric_samples.h"

using namespace vorn;
using namespace vorn::tessa;
using tessa_test::iso;
using tessa_test::relative_gap;
using tessa_test::sym;

template <class T>
class TessaReduction : public ::testing::Test {};
TYPED_TEST_SUITE(TessaReduction, tessa_test::dimensions);

TYPED_TEST(TessaReduction, ConjugateBasisReconstructsBothAndInterpolatesSizesLinearly) {
  constexpr std::size_t D = TypeParam::value;
  using ops = tessa_test::dim<D>;
  std::mt19937 rng(3);
  for (int n = 0; n < 300; ++n) {
    const sym<D> a = tessa_test::random_metric<D>(rng), b = tessa_test::random_metric<D>(rng);
    typename ops::pair p;
    ASSERT_TRUE(ops::reduce(a, b, p));
    EXPECT_LT(relative_gap<D>(tessa_test::outer_sum<D>(p.eigen_a, p.duals), a), 1e-12);
    EXPECT_LT(relative_gap<D>(tessa_test::outer_sum<D>(p.eigen_b, p.duals), b), 1e-12);
    for (std::size_t k = 0; k < D; ++k) {
      EXPECT_NEAR(tessa_test::form<D>(iso<D>(1), p.dirs + k * D), 1, 1e-14);  // unit p_k
      const std::size_t j = k > 0 ? k - 1 : 0;  // ascending generalised eigenvalues
      EXPECT_LE(p.eigen_b[j] / p.eigen_a[j], p.eigen_b[k] / p.eigen_a[k] * (1 + 1e-12));
    }
    for (double t : {0.0, 0.25, 1.0}) {
      sym<D> m;
      ASSERT_TRUE(ops::interpolate(p, t, m));
      EXPECT_LT(relative_gap<D>(m, t == 0 ? a : t == 1 ? b : m), 1e-12);
      for (std::size_t k = 0; k < D; ++k) {
        const double ha = 1 / std::sqrt(p.eigen_a[k]), hb = 1 / std::sqrt(p.eigen_b[k]);
        EXPECT_NEAR(1 / std::sqrt(tessa_test::form<D>(m, p.dirs + k * D)), ha + t * (hb - ha),
                    1e-12 * (ha + hb));
      }
    }
  }
}

TYPED_TEST(TessaReduction, IsotropicPairsExtrapolationAndRefusals) {
  constexpr std::size_t D = TypeParam::value;
  using ops = tessa_test::dim<D>;
  struct Case {
    double ha, hb, t;
    bool ok;
    double h;  // size of the isotropic result, 0 for a zero tensor
  };
  for (const Case& c :
       {Case{2, 0.5, 0.3, true, 1.55}, Case{1, 3, 2, true, 5}, Case{3, 1, 2, false, 0},
        Case{1e-8, 3e-8, 0.5, true, 2e-8}, Case{1e8, 2e8, 0.5, true, 1.5e8}}) {
    typename ops::pair p;
    ASSERT_TRUE(ops::reduce(iso<D>(c.ha), iso<D>(c.hb), p));
    sym<D> m = iso<D>(7);
    EXPECT_EQ(ops::interpolate(p, c.t, m), c.ok) << c.ha << " " << c.hb;
    EXPECT_LT(relative_gap<D>(m, c.ok ? iso<D>(c.h) : sym<D>()), 1e-13) << c.ha << " " << c.hb;
  }
  sym<D> first_zero = iso<D>(1), indefinite = iso<D>(1);
  first_zero[0] = 0;
  indefinite[1] = 2;
  typename ops::pair p;
  for (const sym<D>& a : {first_zero, indefinite, sym<D>()}) {
    p.eigen_a[0] = 5;
    EXPECT_FALSE(ops::reduce(a, iso<D>(1), p));
    EXPECT_EQ(p.eigen_a[0], 0);  // the pair is zeroed
  }
  ASSERT_TRUE(ops::reduce(iso<D>(1), indefinite, p));  // B may be indefinite ...
  sym<D> m = iso<D>(7);
  EXPECT_FALSE(ops::interpolate(p, 0.5, m));  // ... but such a pair does not interpolate
  EXPECT_EQ(m[0], 1.0 / 49);
}

TEST(TessaCholesky3d, FactorsPositiveDefiniteMatricesOnly) {
  std::mt19937 rng(9);
  const sym<3> a = tessa_test::random_metric<3>(rng);
  vector_fixed<double, 9> l;
  ASSERT_TRUE(cholesky3d(a, l));
  EXPECT_EQ(l[3] + l[6] + l[7], 0);
  for (std::size_t i = 0; i < 3; ++i)
    for (std::size_t j = i; j < 3; ++j)
      EXPECT_NEAR(l[i] * l[j] + l[i + 3] * l[j + 3] + l[i + 6] * l[j + 6], a(i, j), 1e-13 * a[0]);
  sym<3> semi = iso<3>(1);
  semi[5] = 0;  // a zero last pivot factors with L33 = 0, which no reduction accepts
  EXPECT_TRUE(cholesky3d(semi, l));
  EXPECT_EQ(l[8], 0);
  metric_pair3d p;
  EXPECT_FALSE(reduce_metrics3d(semi, iso<3>(1), p));
  semi[2] = 0;
  EXPECT_FALSE(cholesky3d(semi, l));
  EXPECT_EQ(l[0], 0);
}
