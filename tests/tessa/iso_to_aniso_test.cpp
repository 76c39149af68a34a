#include <vector>

#include <gtest/gtest.h>
#include <vorn/tessa.h>

#include "support/filum_test.h"

using namespace vorn;
using filum_test::column;

using converter = int (*)(const dense1D<double>&, dense2D<double>&) noexcept;

TEST(TessaIsoToAniso, ReplacesAnyPreviousShapeWithIsotropicColumns) {
  struct Case {
    converter convert;
    std::vector<double> first, second;
  };
  for (const Case& c : {Case{tessa::metrics_iso_to_aniso2d, {0.25, 0, 0.25}, {0x1p54, 0, 0x1p54}},
                        Case{tessa::metrics_iso_to_aniso3d,
                             {0.25, 0, 0.25, 0, 0, 0.25},
                             {0x1p54, 0, 0x1p54, 0, 0, 0x1p54}}}) {
    dense2D<double> metrics(2, 7, 9.0);  // previous content of another shape
    EXPECT_EQ(c.convert(filum_test::values({2, 0x1p-27}), metrics), 0);
    ASSERT_EQ(metrics.rows(), c.first.size());
    ASSERT_EQ(metrics.cols(), 2u);
    EXPECT_EQ(column(metrics, 0), c.first);
    EXPECT_EQ(column(metrics, 1), c.second);
    EXPECT_EQ(c.convert(dense1D<double>(), metrics), 0);
    EXPECT_EQ(metrics.rows(), c.first.size());
    EXPECT_EQ(metrics.cols(), 0u);
  }
}

TEST(TessaIsoToAniso, ReportsStorageFailure) {
  const dense1D<double> sizes = filum_test::values({1, 2});
  for (converter convert : {tessa::metrics_iso_to_aniso2d, tessa::metrics_iso_to_aniso3d}) {
    const std::size_t runs = filum_test::sweep_allocation_failures(
        [] { return dense2D<double>(); },
        [&](dense2D<double>& metrics) { return convert(sizes, metrics); },
        [](const dense2D<double>& metrics, int result, bool failed) {
          EXPECT_EQ(result, failed ? -199 : 0);
          if (failed) {
            EXPECT_TRUE(metrics.empty());
          }
        });
    EXPECT_GE(runs, 1u);
  }
}
