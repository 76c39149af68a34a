// Uses the installed library through <vorn/filum.h> alone.
#include <cstdio>
#include <cstring>

#include <vorn/filum.h>

int main() {
  vorn::dense1D<unsigned> chain(3);
  for (unsigned i = 0; i < 3; ++i)
    chain[i] = i;
  vorn::dense2D<double> pos(2, 3, 0.0);
  if (std::strcmp(vorn::filum::version(), "5.4.1.0") != 0 || chain.size() != 3) return 1;
  vorn::dense2D<unsigned> edges;
  if (vorn::filum::indices_to_connectE2(chain, edges) != 0 || edges.rows() != 2 ||
      edges.cols() != 2 || edges(0, 0) != 0 || edges(1, 0) != 1 || edges(0, 1) != 1 ||
      edges(1, 1) != 2)
    return 2;
  std::printf("filum %s ok\n", vorn::filum::version());
  return 0;
}
