#ifndef FILUM_TESTS_EXTRUSION_CHECKS_H
#define FILUM_TESTS_EXTRUSION_CHECKS_H

// Result codes of tables of extrusion calls, and the restoration of pos and the chain.

#include <functional>
#include <vector>

#include <gtest/gtest.h>

#include <vorn/filum.h>

#include "support/filum_test.h"

namespace extrusion_checks {

using call = std::function<int(vorn::dense2D<double>&, vorn::dense1D<unsigned>&)>;
#define ROW(expr) [&](vorn::dense2D<double>& p, vorn::dense1D<unsigned>& i) { return expr; }

/// rows x 2 coordinates and the chain {42}, with a picture of pos as it came.
struct inputs {
  vorn::dense2D<double> pos;
  vorn::dense1D<unsigned> indices;
  std::vector<double> before;

  explicit inputs(std::size_t rows)
      : pos(rows, 2, 3.5), indices(filum_test::ids({42})), before(picture()) {}
  /// Shape and entries of pos.
  std::vector<double> picture() const {
    std::vector<double> s{double(pos.rows()), double(pos.cols())};
    for (std::size_t j = 0; j < pos.cols(); ++j)
      for (std::size_t i = 0; i < pos.rows(); ++i)
        s.push_back(pos(i, j));
    return s;
  }
  void expect_unchanged() const {
    EXPECT_EQ(picture(), before);
    EXPECT_EQ(filum_test::entries(indices), std::vector<unsigned>{42});
  }
};

/// Every call, on a fresh pos of its number of rows and 2 columns, returns its code and
/// leaves pos and the chain as they were.
inline void expect_codes(const std::vector<std::tuple<std::size_t, call, int>>& cases) {
  for (std::size_t k = 0; k < cases.size(); ++k) {
    inputs in(std::get<0>(cases[k]));
    EXPECT_EQ(std::get<1>(cases[k])(in.pos, in.indices), std::get<2>(cases[k])) << "case " << k;
    in.expect_unchanged();
  }
}

/// Every storage failure that the call cannot absorb gives -199 and leaves pos and the
/// chain as they were.
inline void expect_restored_after_storage_failures(std::size_t rows, const call& run) {
  std::size_t reported = 0;
  filum_test::sweep_allocation_failures([&] { return inputs(rows); },
                                        [&](inputs& in) { return run(in.pos, in.indices); },
                                        [&](inputs& in, int result, bool failed) {
                                          if (result == 0) return;
                                          EXPECT_TRUE(failed && result == -199) << result;
                                          in.expect_unchanged();
                                          ++reported;
                                        });
  EXPECT_GT(reported, 0u);
}

}  // namespace extrusion_checks

#endif
