#ifndef FILUM_TESTS_EXTRUSION_CHECKS_H
#define FILUM_TESTS_EXTRUSION_CHECKS_H

// Checks shared by the extrusion tests: result codes of a table of calls, and the
// restoration of pos and the chain after failures.

#include <cstddef>
#include <functional>
#include <vector>

#include <gtest/gtest.h>

#include <vorn/dense.h>

#include "support/filum_test.h"

namespace extrusion_checks {

using call = std::function<int(vorn::dense2D<double>&, vorn::dense1D<unsigned>&)>;

/// One call on a fresh pos of `rows` rows and 2 columns, and the code it must return.
struct code_case {
  const char* name;
  std::size_t rows;
  call run;
  int expected;
};

/// Shape and entries of a matrix.
struct snapshot {
  std::size_t rows, cols;
  std::vector<double> entries;
  bool operator==(const snapshot& o) const {
    return rows == o.rows && cols == o.cols && entries == o.entries;
  }
};

inline snapshot take(const vorn::dense2D<double>& m) {
  snapshot s{m.rows(), m.cols(), {}};
  for (std::size_t j = 0; j < m.cols(); ++j)
    for (std::size_t i = 0; i < m.rows(); ++i)
      s.entries.push_back(m(i, j));
  return s;
}

/// rows x 2 coordinates with distinct entries.
inline vorn::dense2D<double> two_nodes(std::size_t rows) {
  vorn::dense2D<double> pos(rows, 2);
  for (std::size_t j = 0; j < 2; ++j)
    for (std::size_t i = 0; i < rows; ++i)
      pos(i, j) = static_cast<double>(i + 10 * j);
  return pos;
}

/// Every call returns its code and leaves pos and the chain as they were (the table holds
/// failures and calls that do nothing).
inline void expect_codes(const std::vector<code_case>& cases) {
  for (const code_case& c : cases) {
    vorn::dense2D<double> pos = two_nodes(c.rows);
    vorn::dense1D<unsigned> indices = filum_test::ids({42});
    const snapshot before = take(pos);
    EXPECT_EQ(c.run(pos, indices), c.expected) << c.name;
    EXPECT_TRUE(take(pos) == before) << c.name;
    EXPECT_EQ(filum_test::entries(indices), std::vector<unsigned>{42}) << c.name;
  }
}

/// Every storage failure of the call that it cannot absorb gives -199 and leaves pos and the
/// chain as they were.
inline void expect_restored_after_storage_failures(const char* name, std::size_t rows,
                                                   const call& run) {
  struct inputs {
    vorn::dense2D<double> pos;
    vorn::dense1D<unsigned> indices;
    snapshot before;
  };
  std::size_t reported = 0;
  filum_test::sweep_allocation_failures(
      [&] {
        inputs in{two_nodes(rows), filum_test::ids({42}), {}};
        in.before = take(in.pos);
        return in;
      },
      [&](inputs& in) { return run(in.pos, in.indices); },
      [&](inputs& in, int result, bool failed) {
        if (!failed || result == 0) {
          EXPECT_EQ(result, 0) << name;
          return;
        }
        EXPECT_EQ(result, -199) << name;
        ++reported;
        EXPECT_TRUE(take(in.pos) == in.before) << name;
        EXPECT_EQ(filum_test::entries(in.indices), std::vector<unsigned>{42}) << name;
      });
  EXPECT_GT(reported, 0u) << name;
}

}  // namespace extrusion_checks

#endif
