#ifndef FILUM_TEST_CONNECT_COLUMNS_H
#define FILUM_TEST_CONNECT_COLUMNS_H

// Connectivities as lists of columns, to build inputs and compare results.

#include <algorithm>
#include <vector>

#include <gtest/gtest.h>

#include <vorn/filum.h>

#include "support/filum_test.h"

namespace filum_test {

using Columns = std::vector<std::vector<unsigned>>;

/// The columns a matrix holds (none when it has no entries).
inline Columns columns_of(const vorn::dense2D<unsigned>& m) {
  Columns c(m.empty() ? 0 : m.cols());
  for (std::size_t j = 0; j < c.size(); ++j)
    c[j].assign(&m(0, j), &m(0, j) + m.rows());
  return c;
}

/// A matrix of `rows` rows holding the first `rows` entries of the given columns.
inline vorn::dense2D<unsigned> matrix_of(const Columns& c, std::size_t rows) {
  vorn::dense2D<unsigned> m(rows, c.size());
  for (std::size_t j = 0; j < c.size(); ++j)
    std::copy_n(c[j].begin(), std::min(rows, c[j].size()), &m(0, j));
  return m;
}

/// Sweeps the storage failures of op(out) on out holding one column of 2 rows: each gives
/// -199 and leaves that column alone; the run without one gives 0 and `cols` columns.
template <class Op>
void expect_kept_on_storage_failure(Op op, std::size_t cols) {
  EXPECT_GE(sweep_allocation_failures(
                [] {
                  return matrix_of({{9, 8}}, 2);
                },
                op,
                [cols](const vorn::dense2D<unsigned>& out, int result, bool failed) {
                  EXPECT_EQ(result, failed ? -199 : 0);
                  EXPECT_EQ(columns_of(out).size(), failed ? 1u : cols);
                }),
            1u);
}

}  // namespace filum_test

#endif
