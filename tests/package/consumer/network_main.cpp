// Uses the installed network engine through <vorn/filum/network.h>.
#include <cstdio>

#include <vorn/filum/network.h>

int main() {
  vorn::dense2D<double> pos(2, 4);
  vorn::dense2D<unsigned> connectM(2, 4);
  for (unsigned k = 0; k < 4; ++k) {
    pos(0, k) = k == 1 || k == 2 ? 1 : 0;
    pos(1, k) = k >= 2 ? 1 : 0;
    connectM(0, k) = k, connectM(1, k) = (k + 1) % 4;
  }
  vorn::dense1D<unsigned> colors, hard_nodes;
  vorn::filum::network_options options;
  options.size = 0.25;
  options.threads = 2;
  vorn::filum::network_report report;
  const int code =
      vorn::filum::remesh_network(pos, connectM, colors, hard_nodes, {}, {}, options, report);
  if (code != 0 || connectM.cols() != 16 || report.lines != 4) return 1;
  std::printf("filum_network ok\n");
  return 0;
}
