// remesh_lines, all three overloads, on small networks with corners, joints, colors and hard
// nodes and edges.
#include "fuzz_input.h"

FILUM_FUZZ_TARGET(in) {
  const unsigned overload = in.below(3);
  dense2D<double> pos = in.pos();
  const unsigned nodes = static_cast<unsigned>(pos.cols());
  const std::size_t elements = 1 + in.below(8);
  dense2D<unsigned> connect = in.elements(elements, nodes);
  const double default_size = in.value();
  const dense1D<double> node_sizes = in.values(in.below(nodes + 1));
  dense1D<unsigned> colors = in.ids(in.byte() < 200 ? elements : in.below(3), 3);
  dense1D<unsigned> hard_nodes = in.ids(in.below(3), nodes);
  const dense1D<unsigned> hard_edges = in.ids(in.below(3), static_cast<unsigned>(elements));
  const bool even = in.flag();
  const double corner = in.value(), chordal = in.value(), gradation = in.value(),
               min_size = in.value();
  const unsigned min_elements = in.count(), max_elements = in.count();

  if (overload > 0) hard_nodes.clear();  // the short overloads take neither hard nodes
  if (overload > 1) colors.clear();      // nor, the shortest, colors
  const network_before before{snapshot(pos), snapshot(connect), snapshot(colors),
                              snapshot(hard_nodes)};
  using vorn::filum::remesh_lines;
  int code =
      overload == 0
          ? remesh_lines(pos, connect, default_size, node_sizes, colors, hard_nodes, hard_edges,
                         even, corner, chordal, gradation, min_size, min_elements, max_elements)
      : overload == 1 ? remesh_lines(pos, connect, default_size, colors, even, corner, chordal,
                                     gradation, min_size, min_elements, max_elements)
                      : remesh_lines(pos, connect, default_size, even, corner, chordal, gradation,
                                     min_size, min_elements, max_elements);

  // The short overloads report a storage failure shifted with their other codes, as documented.
  if (overload > 0 && code == vorn::filum::storage_failure + 2 + static_cast<int>(overload))
    code = vorn::filum::storage_failure;
  before.check(code, pos, connect, colors, hard_nodes, in.finite());
}
