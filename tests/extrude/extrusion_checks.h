#ifndef FILUM_TESTS_EXTRUSION_CHECKS_H
#define FILUM_TESTS_EXTRUSION_CHECKS_H

// Result codes of tables of extrusion calls, and the restoration of pos and the chain.

#include <functional>
#include <vector>

#include <gtest/gtest.h>

#include "support/filum_test.h"

namespace extrusion_checks {

using call = std::function<int(vorn::dense2D<double>&, vorn::dense1D<unsigned>&)>;
#define ROW(expr) [&](vorn::dense2D<double>& p, vorn::dense1D<unsigned>& i) { return expr; }

/// One call on a fresh pos of `rows` rows and 2 columns, and its code.
struct code_case {
  std::size_t rows;
  call run;
  int expected;
};

/// Shape and entries of a matrix, column by column.
inline std::vector<double> take(const vorn::dense2D<double>& m) {
  std::vector<double> s{double(m.rows()), double(m.cols())};
  for (std::size_t j = 0; j < m.cols(); ++j)
    for (std::size_t i = 0; i < m.rows(); ++i)
      s.push_back(m(i, j));
  return s;
}

/// rows x 2 coordinates and the chain {42}, with a picture of pos as it came.
struct inputs {
  vorn::dense2D<double> pos;
  vorn::dense1D<unsigned> indices;
  std::vector<double> before;

  explicit inputs(std::size_t rows)
      : pos(rows, 2, 3.5), indices(filum_test::ids({42})), before(take(pos)) {}
  void expect_unchanged() const {
    EXPECT_EQ(take(pos), before);
    EXPECT_EQ(filum_test::entries(indices), std::vector<unsigned>{42});
  }
};

/// Every call of the table (failures and calls that do nothing) returns its code and
/// leaves pos and the chain as they were.
inline void expect_codes(const std::vector<code_case>& cases) {
  for (std::size_t k = 0; k < cases.size(); ++k) {
    inputs in(cases[k].rows);
    EXPECT_EQ(cases[k].run(in.pos, in.indices), cases[k].expected) << "case " << k;
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
