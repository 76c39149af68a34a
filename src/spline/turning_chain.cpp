#include "spline/turning_chain.h"

#include <algorithm>
#include <cmath>

#include "frame/point.h"

namespace vorn {
namespace filum {

template <std::size_t D>
void turning_chain(const dense2D<double>& pos, const dense1D<unsigned>& chain,
                   dense1D<unsigned>& reduced, dense1D<double>& reduced_params) noexcept {
  reduced.clear();
  reduced_params.clear();
  const std::size_t N = chain.size();
  if (N < 4) return;

  reduced.push_back(chain[0]);
  reduced.push_back(chain[1]);
  reduced_params.push_back_n(0.0, 2);

  point<D> before = column_point<D>(pos, chain[1]) - column_point<D>(pos, chain[0]);
  double before2 = norm2(before);
  double s = 0;
  for (std::size_t k = 1; k + 2 < N; ++k) {
    const point<D> after = column_point<D>(pos, chain[k + 1]) - column_point<D>(pos, chain[k]);
    const double after2 = norm2(after);
    // Only exact straightness is removed: |before x after|^2 is compared with the squared
    // chords times 1e-24 = (1e-12)^2, so for chords of similar length a turn below about
    // 1e-12 rad, a few thousand roundings of a double, counts as none.
    const bool turns = cross_norm2(before, after) > 1e-24 * std::max(after2, before2);
    if (turns && k > 1) {
      reduced.push_back(chain[k]);
      reduced_params.push_back(s);
    }
    s += std::sqrt(after2);
    before = after;
    before2 = after2;
  }

  if (s > 0) {
    const double inverse = 1 / s;
    if (inverse != 1)
      for (double& q : reduced_params)
        q *= inverse;
  }
  reduced.push_back(chain[N - 2]);
  reduced.push_back(chain[N - 1]);
  reduced_params.push_back_n(1.0, 2);
}

template void turning_chain<2>(const dense2D<double>&, const dense1D<unsigned>&, dense1D<unsigned>&,
                               dense1D<double>&) noexcept;
template void turning_chain<3>(const dense2D<double>&, const dense1D<unsigned>&, dense1D<unsigned>&,
                               dense1D<double>&) noexcept;

}  // namespace filum
}  // namespace vorn
