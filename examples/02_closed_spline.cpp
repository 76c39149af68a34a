// A closed spline: eight nodes on the unit circle, meshed through the smooth spline that
// passes them with elements of length 0.1 and a chordal tolerance.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include <vorn/filum.h>
using namespace vorn;

int main() {
  const unsigned n = 8;
  const double pi = 3.14159265358979323846;
  dense2D<double> pos(2, n);
  for (unsigned k = 0; k < n; ++k)
    pos(0, k) = std::cos(2 * pi * k / n), pos(1, k) = std::sin(2 * pi * k / n);

  // A closed loop is padded with the node before its start and the one after its end:
  // [7, 0, 1, ..., 7, 0, 1]; sizes go by chain position.
  dense1D<unsigned> chain(n + 3);
  for (unsigned k = 0; k < n + 3; ++k)
    chain[k] = (k + n - 1) % n;
  dense1D<double> sizes(chain.size(), 0.1);

  dense1D<unsigned> new_chain;
  dense1D<double> new_params, new_sizes;
  double max_deviation = 0;
  int code = filum::mesh_spline(pos, chain, sizes, /*force_even=*/false, /*min_elements=*/3,
                                /*max_elements=*/1000, /*chordal_tol=*/0.001, /*min_size=*/0,
                                /*default_size=*/0, /*max_gradation=*/0, new_chain, new_params,
                                new_sizes, max_deviation);
  if (code != 0) return std::printf("mesh_spline failed: %d\n", code), 1;

  // The new chain starts and ends at node 0; every new node lies on the spline, close to
  // the circle the eight nodes were taken from.
  double worst = 0;
  for (unsigned id : new_chain)
    worst = std::max(worst, std::fabs(std::hypot(pos(0, id), pos(1, id)) - 1));
  std::printf("%zu elements, closed: %s, new nodes within %.3f of the unit circle\n",
              new_chain.size() - 1, new_chain[0] == new_chain[new_chain.size() - 1] ? "yes" : "no",
              worst);
}
