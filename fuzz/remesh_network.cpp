// remesh_network, the network engine, on small networks with corners, joints, colours, hard
// nodes and edges, through every option.
#include <vorn/filum/network.h>

#include "fuzz_input.h"

using namespace filum_fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  input in(data, size);
  dense2D<double> pos = in.pos();
  const unsigned nodes = static_cast<unsigned>(pos.cols());
  const std::size_t elements = 1 + in.below(8);
  dense2D<unsigned> connect(in.byte() < 250 ? 2 : 3, elements);
  for (std::size_t j = 0; j < elements; ++j)
    for (std::size_t i = 0; i < connect.rows(); ++i)
      connect(i, j) = in.ids(1, nodes)[0];
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

  const dense2D<double> pos_before = snapshot(pos);
  const dense2D<unsigned> connect_before = snapshot(connect);
  const dense1D<unsigned> colors_before = snapshot(colors), hard_before = snapshot(hard_nodes);
  vorn::filum::network_report report;
  const int code = vorn::filum::remesh_network(pos, connect, colors, hard_nodes, hard_edges,
                                               node_sizes, options, report);
  require(code == 0 || code == vorn::filum::storage_failure || (code < 0 && code >= -13));
  if (code != 0) {
    require(same(pos_before, pos) && same(connect_before, connect) && same(colors_before, colors) &&
            same(hard_before, hard_nodes));
    return 0;
  }
  require(kept(pos_before, pos) && connect.rows() == 2 && ids_below(connect, pos.cols()) &&
          ids_below(hard_nodes, pos.cols()));
  require(colors_before.empty() || colors.size() == connect.cols());
  if (in.finite()) require(finite_from(pos, pos_before.cols()));
  return 0;
}
