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

}  // namespace filum_test

#endif
