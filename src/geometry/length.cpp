#include "geometry/length.h"

#include <vorn/filum.h>

#include "frame/checks.h"

namespace vorn {
namespace filum {
namespace {

// Sums the distances between rows 0 and 1 of every column, in column order.
template <std::size_t D>
double elements_length(const dense2D<double>& pos, const dense2D<unsigned>& connectM) noexcept {
  double sum = 0;
  for (std::size_t j = 0; j < connectM.cols(); ++j)
    sum += distance<D>(pos, connectM(0, j), connectM(1, j));
  return sum;
}

}  // namespace

int length(const dense2D<double>& pos, const dense1D<unsigned>& indices, double& total) noexcept {
  total = 0;
  if (!is_plane_or_space(pos)) return -1;
  if (indices.size() < 2) return -2;
  const bool valid =
      pos.rows() == 2 ? chain_length<2>(pos, indices, total) : chain_length<3>(pos, indices, total);
  return valid ? 0 : -2;
}

int length(const dense2D<double>& pos, const dense2D<unsigned>& connectM, double& total) noexcept {
  total = 0;
  if (!is_plane_or_space(pos)) return -1;
  if (!ids_in(connectM, pos)) return -2;
  if (connectM.empty()) return 0;
  total = pos.rows() == 2 ? elements_length<2>(pos, connectM) : elements_length<3>(pos, connectM);
  return 0;
}

}  // namespace filum
}  // namespace vorn
