// A first call: a straight line from (0, 0) to (10, 0) meshed into elements whose length
// grows from 0.5 at the start to 2 at the end.
#include <cmath>
#include <cstdio>

#include <vorn/filum.h>
using namespace vorn;

int main() {
  dense2D<double> pos(2, 2);  // two nodes: (0, 0) and (10, 0)
  pos(0, 1) = 10;
  dense1D<unsigned> chain(2);
  chain[1] = 1;
  dense1D<double> sizes(2);
  sizes[0] = 0.5, sizes[1] = 2;  // element length 0.5 at the start, 2 at the end

  dense1D<unsigned> new_chain;
  dense1D<double> new_params, new_sizes;
  int code = filum::mesh_line(pos, chain, sizes, /*force_even=*/false, /*min_elements=*/1,
                              /*max_elements=*/1000, /*chordal_tol=*/0, /*min_size=*/0, new_chain,
                              new_params, new_sizes);
  if (code != 0) return std::printf("mesh_line failed: %d\n", code), 1;

  // pos gained the interior nodes; new_chain runs 0, 2, 3, ..., 1 along the line.
  std::printf("%zu elements:", new_chain.size() - 1);
  for (std::size_t k = 0; k + 1 < new_chain.size(); ++k)
    std::printf(" %.2f", std::fabs(pos(0, new_chain[k + 1]) - pos(0, new_chain[k])));
  std::printf("\n");
}
