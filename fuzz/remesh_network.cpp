// remesh_network, the network engine, on small networks with corners, joints, colors, hard
// nodes and edges, through every option.
#include <vorn/filum/network.h>

#include "fuzz_input.h"

FILUM_FUZZ_TARGET(in) {
  dense2D<double> pos = in.pos();
  const unsigned nodes = static_cast<unsigned>(pos.cols());
  const std::size_t elements = 1 + in.below(8);
  dense2D<unsigned> connect = in.elements(elements, nodes);
  dense1D<unsigned> colors = in.ids(in.byte() < 200 ? elements : in.below(3), 3);
  dense1D<unsigned> hard_nodes = in.ids(in.below(3), nodes);
  const dense1D<unsigned> hard_edges = in.ids(in.below(3), static_cast<unsigned>(elements));
  const dense1D<double> node_sizes = in.values(in.below(nodes + 1));
  vorn::filum::network_options options;
  options.size = in.value();
  options.chordal_tol = in.value();
  options.corner_angle = in.value();
  options.max_gradation = in.value();
  options.min_size = in.value();
  options.min_elements = in.count();
  options.max_elements = in.count();
  options.force_even = in.flag();
  options.threads = 1 + in.below(2);
  options.node_placement =
      in.flag() ? vorn::filum::placement::on_curve : vorn::filum::placement::sample_polyline;
  options.min_closed_elements = in.count();
  options.min_closed_length = in.value();

  const network_before before{snapshot(pos), snapshot(connect), snapshot(colors),
                              snapshot(hard_nodes)};
  vorn::filum::network_report report;
  const int code = vorn::filum::remesh_network(pos, connect, colors, hard_nodes, hard_edges,
                                               node_sizes, options, report);
  before.check(code, pos, connect, colors, hard_nodes, in.finite(), -14);  // -14: closed length
}
