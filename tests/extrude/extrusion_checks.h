#ifndef FILUM_TESTS_EXTRUSION_CHECKS_H
#define FILUM_TESTS_EXTRUSION_CHECKS_H

// Result codes of tables of extrusion calls, and the restoration of pos and the chain.

#include <functional>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include <vorn/filum.h>

#include "support/filum_test.h"

namespace extrusion_checks {

using call = std::function<int(vorn::dense2D<double>&, vorn::dense1D<unsigned>&)>;
using inputs = std::pair<vorn::dense2D<double>, vorn::dense1D<unsigned>>;
#define ROW(expr) [&](vorn::dense2D<double>& p, vorn::dense1D<unsigned>& i) { return expr; }

/// rows x 2 coordinates 3.5 and the chain {42}.
inline inputs fresh(std::size_t rows) {
  return {vorn::dense2D<double>(rows, 2, 3.5), filum_test::ids({42})};
}

/// Shape and entries of pos, then the chain.
inline std::vector<double> picture(const inputs& in) {
  std::vector<double> s{double(in.first.rows()), double(in.first.cols())};
  for (std::size_t j = 0; j < in.first.cols(); ++j)
    for (std::size_t i = 0; i < in.first.rows(); ++i)
      s.push_back(in.first(i, j));
  s.insert(s.end(), in.second.begin(), in.second.end());
  return s;
}

/// Every call, on fresh inputs of its number of rows, returns its code and leaves them as
/// they were.
inline void expect_codes(const std::vector<std::tuple<std::size_t, call, int>>& cases) {
  for (std::size_t k = 0; k < cases.size(); ++k) {
    inputs in = fresh(std::get<0>(cases[k]));
    EXPECT_EQ(std::get<1>(cases[k])(in.first, in.second), std::get<2>(cases[k])) << "case " << k;
    EXPECT_EQ(picture(in), picture(fresh(std::get<0>(cases[k])))) << "case " << k;
  }
}

/// Every storage failure that the call cannot absorb gives -199 and leaves the inputs as
/// they were.
inline void expect_restored_after_storage_failures(std::size_t rows, const call& run) {
  std::size_t reported = 0;
  filum_test::sweep_allocation_failures([&] { return fresh(rows); },
                                        [&](inputs& in) { return run(in.first, in.second); },
                                        [&](inputs& in, int result, bool failed) {
                                          if (result == 0) return;
                                          EXPECT_TRUE(failed && result == -199) << result;
                                          EXPECT_EQ(picture(in), picture(fresh(rows)));
                                          ++reported;
                                        });
  EXPECT_GT(reported, 0u);
}

}  // namespace extrusion_checks

#endif
