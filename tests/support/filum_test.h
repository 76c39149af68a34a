#ifndef FILUM_TEST_SUPPORT_H
#define FILUM_TEST_SUPPORT_H

// Helpers for the tests: containers from literals, and the storage-failure injector.

#include <algorithm>
#include <cstddef>
#include <initializer_list>
#include <vector>

#include <gtest/gtest.h>
#include <vorn/dense.h>

namespace filum_test {

/// A matrix from columns.
template <class T>
vorn::dense2D<T> make_columns(std::initializer_list<std::initializer_list<T>> columns) {
  const std::size_t rows = columns.size() ? columns.begin()->size() : 0;
  vorn::dense2D<T> m(rows, columns.size());
  std::size_t j = 0;
  for (const auto& c : columns) {
    std::size_t i = 0;
    for (T x : c)
      m(i++, j) = x;
    ++j;
  }
  return m;
}

/// Coordinates from points, one column per point; every point has the same length.
inline vorn::dense2D<double> make_pos(std::initializer_list<std::initializer_list<double>> points) {
  return make_columns<double>(points);
}

/// A vector from values.
template <class T>
vorn::dense1D<T> make_vector(std::initializer_list<T> values) {
  vorn::dense1D<T> v(values.size());
  std::size_t i = 0;
  for (T x : values)
    v[i++] = x;
  return v;
}

inline vorn::dense1D<unsigned> ids(std::initializer_list<unsigned> values) {
  return make_vector<unsigned>(values);
}
inline vorn::dense1D<double> values(std::initializer_list<double> v) {
  return make_vector<double>(v);
}

/// The entries of a vector, for comparisons with EXPECT_EQ.
template <class T>
std::vector<T> entries(const vorn::dense1D<T>& v) {
  return std::vector<T>(v.begin(), v.end());
}

/// A vector holding the entries of v.
template <class T>
vorn::dense1D<T> dense_copy(const std::vector<T>& v) {
  vorn::dense1D<T> d(v.size());
  std::copy(v.begin(), v.end(), d.begin());
  return d;
}

/// A matrix of `rows` rows from the first rows of each run of `stride` values of v.
template <class T>
vorn::dense2D<T> columns_from(const std::vector<T>& v, std::size_t stride, std::size_t rows) {
  vorn::dense2D<T> m(rows, v.size() / stride);
  for (std::size_t j = 0; j < m.cols(); ++j)
    for (std::size_t i = 0; i < rows; ++i)
      m(i, j) = v[stride * j + i];
  return m;
}

/// All entries of a matrix, column by column.
template <class T>
std::vector<T> flat(const vorn::dense2D<T>& m) {
  std::vector<T> all;
  for (std::size_t j = 0; j < m.cols(); ++j)
    for (std::size_t i = 0; i < m.rows(); ++i)
      all.push_back(m(i, j));
  return all;
}

/// Entry by entry within `tolerance`.
inline void expect_near(const std::vector<double>& actual, const std::vector<double>& expected,
                        double tolerance) {
  ASSERT_EQ(actual.size(), expected.size());
  for (std::size_t i = 0; i < actual.size(); ++i)
    EXPECT_NEAR(actual[i], expected[i], tolerance) << "entry " << i;
}

/// Column j of a matrix.
template <class T>
std::vector<T> column(const vorn::dense2D<T>& m, std::size_t j) {
  std::vector<T> c(m.rows());
  for (std::size_t i = 0; i < m.rows(); ++i)
    c[i] = m(i, j);
  return c;
}

inline std::size_t out_count(const vorn::dense1D<double>& v) {
  return v.size();
}
inline std::size_t out_count(const vorn::dense2D<double>& m) {
  return m.cols();
}

/// While alive, the k-th storage request of this thread fails (k >= 1).
class scoped_allocation_failure {
 public:
  explicit scoped_allocation_failure(std::size_t k) { vorn::testing::fail_nth_allocation(k); }
  ~scoped_allocation_failure() { vorn::testing::fail_nth_allocation(0); }
  scoped_allocation_failure(const scoped_allocation_failure&) = delete;
  scoped_allocation_failure& operator=(const scoped_allocation_failure&) = delete;
  /// Whether the failure was delivered.
  bool happened() const { return vorn::testing::injected_failure_happened(); }
};

/// Drives every storage failure of an operation: run k builds fresh inputs with
/// `prepare()`, calls `act(inputs)` with the k-th storage request failing, and hands
/// `judge(inputs, result, failed)` the outcome; the sweep ends with the first run that no
/// longer meets the failure (judged with failed = false). Returns the number of failing runs.
template <class Prepare, class Act, class Judge>
std::size_t sweep_allocation_failures(Prepare prepare, Act act, Judge judge) {
  for (std::size_t k = 1;; ++k) {
    auto inputs = prepare();
    int result = 0;
    bool failed = false;
    {
      scoped_allocation_failure failure(k);
      result = act(inputs);
      failed = failure.happened();
    }
    judge(inputs, result, failed);
    if (!failed) return k - 1;
  }
}

/// Sweeps the storage failures of `act(out)` on an empty output: each gives -199 and leaves
/// it empty; the run without one gives 0 and `n` entries (columns of a matrix). Returns the
/// number of failing runs.
template <class Out, class Act>
std::size_t expect_empty_output_on_storage_failure(Act act, std::size_t n) {
  return sweep_allocation_failures([] { return Out(); }, act,
                                   [n](const Out& out, int result, bool failed) {
                                     EXPECT_EQ(result, failed ? -199 : 0);
                                     EXPECT_EQ(out_count(out), failed ? 0u : n);
                                   });
}

}  // namespace filum_test

#endif
