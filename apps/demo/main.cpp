// filum-demo: remeshes a line network with remesh_lines and shows the result.
//
//   filum-demo [FILE] [--output DIR]
//
// Without a file it remeshes an embedded sample: a channel with a NACA 0012 airfoil and a
// coastline with two islands; a file may be in any format the filum command reads. It writes
// DIR/remeshed.vtk (legacy VTK, opens in ParaView) and DIR/network.svg (input and output side by
// side), and prints a table per line.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <vorn/filum.h>
#include <vorn/filum/io/formats.h>

#include "line_report.h"
#include "sample_network.h"

namespace {

// Settings of the remeshing, derived from the network's sizes.
struct settings {
  double default_size;
  double corner_angle = 60;
  double chordal_tol;
  double max_gradation = 1.3;
  double min_size;
};

settings settings_for(const demo::network& net) {
  double largest = 0;
  for (double h : net.node_sizes)
    largest = std::max(largest, h);
  settings s;
  s.default_size = largest;
  s.chordal_tol = largest / 10;
  s.min_size = largest / 100;
  return s;
}

// Runs remesh_lines on a copy of the network; returns its code and fills `out`.
int remesh(const demo::network& in, const settings& s, demo::network& out,
           std::vector<unsigned>& hard) {
  using namespace vorn;
  dense2D<double> pos(static_cast<std::size_t>(in.dim), in.node_count());
  std::copy(in.coords.begin(), in.coords.end(), pos.data());
  dense2D<unsigned> connect(2, in.element_count());
  std::copy(in.edges.begin(), in.edges.end(), connect.data());
  dense1D<double> sizes(in.node_sizes.size());
  std::copy(in.node_sizes.begin(), in.node_sizes.end(), sizes.begin());
  dense1D<unsigned> colors(in.colors.size());
  std::copy(in.colors.begin(), in.colors.end(), colors.begin());
  dense1D<unsigned> hard_edges(in.hard_edges.size());
  std::copy(in.hard_edges.begin(), in.hard_edges.end(), hard_edges.begin());
  dense1D<unsigned> hard_nodes;

  const int code = filum::remesh_lines(pos, connect, s.default_size, sizes, colors, hard_nodes,
                                       hard_edges, false, s.corner_angle, s.chordal_tol,
                                       s.max_gradation, s.min_size, 1, 1000000);
  if (code != 0) return code;
  out = in;
  out.point_arrays.clear();  // the file's arrays do not follow the new nodes
  out.cell_arrays.clear();
  out.node_tags.clear();
  out.coords.assign(pos.data(), pos.data() + pos.size());
  out.edges.assign(connect.data(), connect.data() + connect.size());
  out.colors.assign(colors.begin(), colors.end());
  out.node_sizes.assign(out.node_count(), 0);
  hard.assign(hard_nodes.begin(), hard_nodes.end());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::string file, output_dir = "demo-output";
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--output" && i + 1 < argc) {
      output_dir = argv[++i];
    } else if (arg == "-h" || arg == "--help") {
      std::printf("usage: filum-demo [FILE] [--output DIR]\n");
      return 0;
    } else {
      file = arg;
    }
  }

  demo::network input;
  if (file.empty()) {
    input = demo::sample_network();
  } else {
    namespace io = vorn::filum::io;
    try {
      input = demo::network_from_file(io::read_network(file, io::format_of(file)));
    } catch (const io::error& e) {
      std::fprintf(stderr, "filum-demo: %s\n", e.what());
      return 2;
    }
  }

  const settings s = settings_for(input);
  demo::network output;
  std::vector<unsigned> hard_nodes;
  const int code = remesh(input, s, output, hard_nodes);
  if (code != 0) {
    std::fprintf(stderr, "filum-demo: remesh_lines returned %d\n", code);
    return 1;
  }

  std::printf(
      "filum %s: remeshed %zu elements into %zu (corner angle %g deg, chordal "
      "tolerance %g, gradation %g)\n\n",
      vorn::filum::version(), input.element_count(), output.element_count(), s.corner_angle,
      s.chordal_tol, s.max_gradation);
  std::printf("%-16s %9s %10s %10s %12s\n", "line", "elements", "min h/h*", "max h/h*",
              "deviation");
  for (const demo::line_row& row : demo::line_report(input, output, hard_nodes))
    std::printf("%-16s %9zu %10.3f %10.3f %12.3e\n", row.name.c_str(), row.elements, row.shortest,
                row.longest, row.deviation);

  std::error_code error;
  std::filesystem::create_directories(output_dir, error);
  if (error) {
    std::fprintf(stderr, "filum-demo: cannot create %s\n", output_dir.c_str());
    return 1;
  }
  namespace io = vorn::filum::io;
  try {
    demo::network used = output;
    io::drop_unused_nodes(used);
    io::write_network(output_dir + "/remeshed.vtk", used, io::file_format::vtk);
    io::write_file_atomically(output_dir + "/network.svg", [&](std::ostream& svg) {
      io::write_svg(
          svg,
          {{&input, "input: " + std::to_string(input.element_count()) + " elements"},
           {&output, "remeshed: " + std::to_string(output.element_count()) + " elements"}},
          input.zoom);
    });
  } catch (const io::error& e) {
    std::fprintf(stderr, "filum-demo: %s\n", e.what());
    return 1;
  }
  std::printf("\nwrote %s/remeshed.vtk and %s/network.svg\n", output_dir.c_str(),
              output_dir.c_str());
  return 0;
}
