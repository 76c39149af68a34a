#include "frame/append.h"

namespace vorn {
namespace filum {
namespace {

// Makes room for `added` more columns of `rows` entries in target, growing to
// max(added, existing) + existing columns when short, then resizes.
bool grow_columns(dense2D<double>& target, std::size_t rows, std::size_t added) noexcept {
  const std::size_t existing = stored_columns(target);
  const bool same_stride = target.ld() == rows || target.empty();
  if (!same_stride || target.capacity() < rows * (existing + added)) {
    if (!target.reserve(rows, std::max(added, existing) + existing, 1)) return false;
  }
  return target.resize(rows, existing + added);
}

}  // namespace

bool append_columns(const dense2D<double>& source, dense2D<double>& target) noexcept {
  if (source.cols() == 0) return true;
  const std::size_t rows = source.rows();
  if (!target.empty() && target.rows() != rows) return false;
  const dense2D<double> from = source;  // keeps the source alive if both share storage
  const std::size_t first = stored_columns(target);
  if (!grow_columns(target, rows, from.cols())) return false;
  for (std::size_t j = 0; j < from.cols(); ++j)
    std::copy(from.data() + j * from.ld(), from.data() + j * from.ld() + rows,
              target.data() + (first + j) * target.ld());
  return true;
}

bool gather_columns(const dense2D<double>& source, const dense1D<unsigned>& columns,
                    dense2D<double>& target) noexcept {
  if (columns.empty()) return true;
  const std::size_t rows = source.rows();
  if (!target.empty() && target.rows() != rows) return false;
  const dense2D<double> from = source;
  const std::size_t first = stored_columns(target);
  if (!grow_columns(target, rows, columns.size())) return false;
  for (std::size_t k = 0; k < columns.size(); ++k) {
    const double* c = from.data() + columns[k] * from.ld();
    std::copy(c, c + rows, target.data() + (first + k) * target.ld());
  }
  return true;
}

bool append_column(const dense1D<double>& v, dense2D<double>& m) noexcept {
  const std::size_t rows = v.size();
  if (rows == 0) return true;
  if (!m.empty() && m.rows() != rows) return false;
  const std::size_t cols = stored_columns(m);
  if (!add_column(m, rows)) return false;
  std::copy(v.begin(), v.end(), m.data() + cols * m.ld());
  return true;
}

}  // namespace filum
}  // namespace vorn
