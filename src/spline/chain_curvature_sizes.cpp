#include "spline/chain_curvature_sizes.h"

#include <array>

#include "spline/spline_segment.h"

namespace vorn {
namespace filum {
namespace {

// The sizes of a padded chain of pieces + 3 entries from each piece's curvatures at its
// start and end, ends_of(k) = {kappa(0), kappa(1)} of piece k.
template <class EndCurvatures>
void sizes_from_ends(std::size_t pieces, double e, const EndCurvatures& ends_of,
                     dense1D<double>& sizes) noexcept {
  sizes.clear();
  if (pieces == 0) return;
  double end_curvature = 0;  // curvature at the end of the previous piece
  for (std::size_t k = 0; k < pieces; ++k) {
    const std::array<double, 2> ends = ends_of(k);
    double kappa = ends[0];
    if (k > 0) kappa = (kappa + end_curvature) / 2;
    sizes.push_back_n(chordal_size(kappa, e), k == 0 ? 2 : 1);
    end_curvature = ends[1];
  }
  sizes.push_back_n(chordal_size(end_curvature, e), 2);
}

}  // namespace

template <std::size_t D>
void chain_curvature_sizes(const dense2D<double>& pos, const dense1D<unsigned>& chain, double e,
                           dense1D<double>& sizes) noexcept {
  const std::size_t M = chain.size();
  auto ends_of = [&](std::size_t k) {
    const spline_segment<D> piece =
        build_spline_segment<D>(pos, chain[k], chain[k + 1], chain[k + 2], chain[k + 3]);
    const curvature_terms<D> terms = curvature_terms_of(piece);
    return std::array<double, 2>{spline_curvature(piece, terms, 0.0),
                                 spline_curvature(piece, terms, 1.0)};
  };
  sizes_from_ends(M < 4 ? 0 : M - 3, e, ends_of, sizes);
}

void chain_curvature_sizes(const dense1D<double>& end_curvatures, double e,
                           dense1D<double>& sizes) noexcept {
  auto ends_of = [&](std::size_t k) {
    return std::array<double, 2>{end_curvatures[2 * k], end_curvatures[2 * k + 1]};
  };
  sizes_from_ends(end_curvatures.size() / 2, e, ends_of, sizes);
}

template void chain_curvature_sizes<2>(const dense2D<double>&, const dense1D<unsigned>&, double,
                                       dense1D<double>&) noexcept;
template void chain_curvature_sizes<3>(const dense2D<double>&, const dense1D<unsigned>&, double,
                                       dense1D<double>&) noexcept;

}  // namespace filum
}  // namespace vorn
