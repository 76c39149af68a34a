#include "spline/chain_curvature_sizes.h"

#include "spline/spline_segment.h"

namespace vorn {
namespace filum {

template <std::size_t D>
void chain_curvature_sizes(const dense2D<double>& pos, const dense1D<unsigned>& chain, double e,
                           dense1D<double>& sizes) noexcept {
  sizes.clear();
  const std::size_t M = chain.size();
  if (M < 4) return;

  double end_curvature = 0;  // curvature at the end of the previous piece
  for (std::size_t k = 0; k + 3 < M; ++k) {
    const spline_segment<D> piece =
        build_spline_segment<D>(pos, chain[k], chain[k + 1], chain[k + 2], chain[k + 3]);
    double kappa = spline_curvature(piece, 0);
    if (k > 0) kappa = (kappa + end_curvature) / 2;
    sizes.push_back_n(chordal_size(kappa, e), k == 0 ? 2 : 1);
    end_curvature = spline_curvature(piece, 1);
  }
  sizes.push_back_n(chordal_size(end_curvature, e), 2);
}

template void chain_curvature_sizes<2>(const dense2D<double>&, const dense1D<unsigned>&, double,
                                       dense1D<double>&) noexcept;
template void chain_curvature_sizes<3>(const dense2D<double>&, const dense1D<unsigned>&, double,
                                       dense1D<double>&) noexcept;

}  // namespace filum
}  // namespace vorn
