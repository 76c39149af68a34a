#include <vorn/tessa.h>

namespace vorn {
namespace tessa {
namespace {

// metrics becomes the packed isotropic tensors I/h^2 of dimension D, one per size.
template <std::size_t D>
int iso_to_aniso(const dense1D<double>& sizes, dense2D<double>& metrics) noexcept {
  constexpr std::size_t rows = symmetric_fixed<double, D>::packed_size;
  const std::size_t n = sizes.size();
  metrics.clear();
  if (!metrics.resize(rows, n, 0.0)) return -199;
  for (std::size_t j = 0; j < n; ++j) {
    const double h = sizes[j];
    const double lambda = 1 / (h * h);
    for (std::size_t i = 0; i < D; ++i)
      metrics(symmetric_fixed<double, D>::index(i, i), j) = lambda;
  }
  return 0;
}

}  // namespace

int metrics_iso_to_aniso2d(const dense1D<double>& sizes, dense2D<double>& metrics) noexcept {
  return iso_to_aniso<2>(sizes, metrics);
}

int metrics_iso_to_aniso3d(const dense1D<double>& sizes, dense2D<double>& metrics) noexcept {
  return iso_to_aniso<3>(sizes, metrics);
}

}  // namespace tessa
}  // namespace vorn
