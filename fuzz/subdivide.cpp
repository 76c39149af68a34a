// subdivide: a chain meshed in parameter space.
#include "fuzz_input.h"

FILUM_FUZZ_TARGET(in) {
  const std::size_t n = in.below(7);
  dense1D<double> params = in.params(n), sizes = in.values(n + in.below(2));
  const dense1D<unsigned> chain = in.ids(in.below(6), static_cast<unsigned>(n));
  const bool raise = in.flag(), even = in.flag();
  const unsigned min_elements = in.count(), max_elements = in.count();
  dense1D<unsigned> new_indices = in.ids(in.below(2), static_cast<unsigned>(n));

  const dense1D<double> params_before = snapshot(params), sizes_before = snapshot(sizes);
  const dense1D<unsigned> indices_before = snapshot(new_indices);
  const int code = vorn::filum::subdivide(params, sizes, chain, raise, even, min_elements,
                                          max_elements, new_indices);
  require(documented(code, {-1, -2, -6}));
  if (code != 0) {
    require(same(params_before, params) && same(sizes_before, sizes) &&
            same(indices_before, new_indices));
    return;
  }
  require(params.size() - n == sizes.size() - sizes_before.size());
  require(same(params_before, params.sub_vector(0, n)) &&
          appended_ids_below(indices_before, new_indices, params.size()));
  if (in.finite()) require(finite_from(params, n));
}
