// `filum remesh`: reads a network, remeshes it with remesh_network, writes it.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>

#include "commands.h"
#include "progress.h"

namespace filum_cli {

namespace io = vorn::filum::io;
using vorn::dense1D;
using vorn::dense2D;

namespace {

// The node sizes of the point array named field: one value per node, <= 0 or NaN meaning
// "the default size".
dense1D<double> sizes_from_field(const io::line_network& net, const std::string& field,
                                 const std::string& path) {
  for (const io::named_array& a : net.point_arrays) {
    if (a.name != field) continue;
    if (a.components != 1)
      throw io::error("--size-field: " + path + ": array '" + field + "' has " +
                      std::to_string(a.components) + " components, expected 1");
    dense1D<double> sizes(a.values.size());
    for (std::size_t k = 0; k < a.values.size(); ++k)
      sizes[k] = std::isfinite(a.values[k]) && a.values[k] > 0 ? a.values[k] : 0;
    return sizes;
  }
  std::string names;
  for (const io::named_array& a : net.point_arrays)
    names += (names.empty() ? "" : ", ") + a.name;
  throw io::error("--size-field: " + path + " has no point array '" + field +
                  "' (it has: " + (names.empty() ? std::string("none") : names) + ")");
}

// The node indices, after joining, of the hard nodes given as file node numbers: MSH node
// tags (1, 2, ... when the file numbers its nodes so), else indices from 0.
dense1D<unsigned> hard_node_indices(const std::vector<long long>& ids,
                                    const std::vector<std::int64_t>& tags, bool tagged,
                                    const std::vector<unsigned>& joined) {
  dense1D<unsigned> out(ids.size());
  for (std::size_t k = 0; k < ids.size(); ++k) {
    long long index = tagged ? ids[k] - 1 : ids[k];
    if (tagged && !tags.empty()) {
      const auto it = std::find(tags.begin(), tags.end(), ids[k]);
      index = it == tags.end() ? -1 : it - tags.begin();
    }
    if (index < 0 || index >= static_cast<long long>(joined.size()))
      throw io::error("--hard-nodes: expected node numbers of the input, found " +
                      std::to_string(ids[k]));
    out[k] = joined[static_cast<std::size_t>(index)];
  }
  return out;
}

const char* meaning(int code) {
  switch (code) {
    case -1:
      return "bad coordinates";
    case -2:
      return "bad connectivity";
    case -199:
      return "out of memory";
    default:
      return "see remesh_network's codes";
  }
}

}  // namespace

int run_remesh(const remesh_settings& settings) {
  const auto start = std::chrono::steady_clock::now();
  check_not_input(settings.output, settings.input.path);
  progress_bar bar(!settings.quiet && stderr_is_terminal());
  // Read without joining first, so that hard node numbers refer to the file's nodes.
  input_settings unmerged = settings.input;
  unmerged.merge = false;
  io::line_network net = read_input(unmerged, bar);
  const io::file_format format = settings.input.format.empty()
                                     ? io::format_of(settings.input.path)
                                     : io::parse_format(settings.input.format);
  const bool tagged = format == io::file_format::msh;
  const std::vector<std::int64_t> file_tags = net.node_tags;
  std::vector<unsigned> joined;
  io::merge_coincident_nodes(net, settings.input.merge_tolerance, &joined);
  dense1D<unsigned> hard_nodes = hard_node_indices(settings.hard_nodes, file_tags, tagged, joined);

  dense1D<double> node_sizes;
  if (!settings.size_field.empty())
    node_sizes = sizes_from_field(net, settings.size_field, settings.input.path);
  if (settings.options.size <= 0 && settings.size_field.empty())
    throw io::error("--size: expected a size > 0, or --size-field");

  const std::size_t n = net.node_count(), m = net.element_count();
  const auto dim = static_cast<std::size_t>(net.dim);
  dense2D<double> pos(dim, n);
  std::copy(net.coords.begin(), net.coords.end(), pos.data());
  dense2D<unsigned> connect(2, m);
  std::copy(net.edges.begin(), net.edges.end(), connect.data());
  dense1D<unsigned> colors(net.colors.size());
  std::copy(net.colors.begin(), net.colors.end(), colors.begin());
  dense1D<unsigned> hard_edges;
  vorn::filum::network_report report;
  bar.stage("remeshing", m > progress_segments);
  const int code = vorn::filum::remesh_network(pos, connect, colors, hard_nodes, hard_edges,
                                               node_sizes, settings.options, report);
  if (code != 0) {
    bar.finish();
    std::fprintf(stderr, "filum remesh: %s: remesh_network failed with code %d (%s)\n",
                 settings.input.path.c_str(), code, meaning(code));
    return meshing_failed;
  }

  // The remeshed network: the surviving nodes keep their tags and point values, new nodes
  // get new tags and NaN values.
  io::line_network out;
  out.dim = net.dim;
  out.coords.assign(pos.data(), pos.data() + pos.size());
  out.edges.assign(connect.data(), connect.data() + connect.size());
  if (!net.colors.empty()) out.colors.assign(colors.begin(), colors.end());
  out.color_names = net.color_names;
  const std::size_t total = out.node_count();
  if (!net.node_tags.empty()) {
    out.node_tags = net.node_tags;
    std::int64_t next = *std::max_element(net.node_tags.begin(), net.node_tags.end());
    while (out.node_tags.size() < total)
      out.node_tags.push_back(++next);
  }
  for (io::named_array a : net.point_arrays) {
    a.values.resize(total * a.components, std::nan(""));
    out.point_arrays.push_back(std::move(a));
  }
  io::drop_unused_nodes(out);

  bar.stage("writing", out.element_count() > progress_segments);
  write_output(settings.output, settings.input.path, out);
  bar.finish();
  if (!settings.quiet)
    std::fprintf(stderr, "filum remesh: %zu elements in, %zu out in %.2f s -> %s\n", m,
                 out.element_count(), seconds_since(start), settings.output.path.c_str());
  return ok;
}

}  // namespace filum_cli
