#include <vector>

#include <gtest/gtest.h>
#include <vorn/tessa.h>

#include "support/filum_test.h"

using namespace vorn;
using converter = int (*)(const dense1D<double>&, dense2D<double>&) noexcept;

TEST(TessaIsoToAniso, ReplacesAnyPreviousShapeWithIsotropicColumns) {
  const std::pair<converter, std::vector<double>> cases[] = {
      {tessa::metrics_iso_to_aniso2d, {0.25, 0, 0.25, 0x1p54, 0, 0x1p54}},
      {tessa::metrics_iso_to_aniso3d,
       {0.25, 0, 0.25, 0, 0, 0.25, 0x1p54, 0, 0x1p54, 0, 0, 0x1p54}}};
  for (const auto& [convert, want] : cases) {
    dense2D<double> metrics(2, 7, 9.0);  // previous content of another shape
    EXPECT_EQ(convert(filum_test::values({2, 0x1p-27}), metrics), 0);
    EXPECT_EQ(metrics.cols(), 2u);
    EXPECT_EQ(filum_test::entries(metrics.as_vector()), want);
    EXPECT_EQ(convert(dense1D<double>(), metrics), 0);
    EXPECT_TRUE(metrics.rows() == want.size() / 2 && metrics.cols() == 0);
    const dense1D<double> one = filum_test::values({1});
    dense2D<double> fresh;
    filum_test::scoped_allocation_failure failure(1);
    EXPECT_EQ(convert(one, fresh), -199);
    EXPECT_TRUE(failure.happened() && fresh.empty());
  }
}
