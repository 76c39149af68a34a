// remesh_lines, all three overloads, on small networks with corners, joints, colours and hard
// nodes and edges.
#include "fuzz_input.h"

using namespace filum_fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  input in(data, size);
  const unsigned overload = in.below(3);
  dense2D<double> pos = in.pos();
  const unsigned nodes = static_cast<unsigned>(pos.cols());
  const std::size_t elements = 1 + in.below(8);
  dense2D<unsigned> connect(in.byte() < 250 ? 2 : 3, elements);
  for (std::size_t j = 0; j < elements; ++j)
    for (std::size_t i = 0; i < connect.rows(); ++i)
      connect(i, j) = in.ids(1, nodes)[0];
  const double default_size = in.value();
  const dense1D<double> node_sizes = in.values(in.below(nodes + 1));
  dense1D<unsigned> colors = in.ids(in.byte() < 200 ? elements : in.below(3), 3);
  dense1D<unsigned> hard_nodes = in.ids(in.below(3), nodes);
  const dense1D<unsigned> hard_edges = in.ids(in.below(3), static_cast<unsigned>(elements));
  const bool even = in.flag();
  const double corner = in.value(), chordal = in.value(), gradation = in.value(),
               min_size = in.value();
  const unsigned min_elements = in.count(), max_elements = in.count();

  const dense2D<double> pos_before = snapshot(pos);
  const dense2D<unsigned> connect_before = snapshot(connect);
  const dense1D<unsigned> colors_before = snapshot(colors), hard_before = snapshot(hard_nodes);
  using vorn::filum::remesh_lines;
  int code;
  if (overload == 0)
    code = remesh_lines(pos, connect, default_size, node_sizes, colors, hard_nodes, hard_edges,
                        even, corner, chordal, gradation, min_size, min_elements, max_elements);
  else if (overload == 1)
    code = remesh_lines(pos, connect, default_size, colors, even, corner, chordal, gradation,
                        min_size, min_elements, max_elements);
  else
    code = remesh_lines(pos, connect, default_size, even, corner, chordal, gradation, min_size,
                        min_elements, max_elements);

  require(code == 0 || code == vorn::filum::storage_failure || (code < 0 && code >= -13));
  if (code != 0) {
    require(same(pos_before, pos) && same(connect_before, connect) && same(colors_before, colors) &&
            same(hard_before, hard_nodes));
    return 0;
  }
  require(kept(pos_before, pos) && connect.rows() == 2 && ids_below(connect, pos.cols()));
  if (overload == 0) require(ids_below(hard_nodes, pos.cols()));
  if (overload < 2 && !colors_before.empty()) require(colors.size() == connect.cols());
  if (in.finite()) require(finite_from(pos, pos_before.cols()));
  return 0;
}
