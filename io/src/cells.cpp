#include "cells.h"

#include "formats_internal.h"

namespace vorn {
namespace filum {
namespace io {

void cell_map::add_line_cell(line_network& net, const std::vector<unsigned>& nodes) {
  const std::size_t before = net.element_count();
  for (std::size_t k = 0; k + 1 < nodes.size(); ++k) {
    net.edges.push_back(nodes[k]);
    net.edges.push_back(nodes[k + 1]);
  }
  elements_per_cell.push_back(net.element_count() - before);
}

bool cell_map::add_cell_array(line_network& net, named_array array) const {
  if (array.values.size() != elements_per_cell.size() * array.components) return false;
  named_array spread{array.name, array.components, {}};
  spread.values.reserve(net.element_count() * array.components);
  for (std::size_t c = 0; c < elements_per_cell.size(); ++c)
    for (std::size_t e = 0; e < elements_per_cell[c]; ++e)
      spread.values.insert(spread.values.end(), array.values.begin() + c * array.components,
                           array.values.begin() + (c + 1) * array.components);
  net.cell_arrays.push_back(std::move(spread));
  return true;
}

void take_colors(line_network& net, const std::string& color_by) {
  const std::string name = color_by.empty() ? "color" : color_by;
  for (std::size_t k = 0; k < net.cell_arrays.size(); ++k) {
    const named_array& a = net.cell_arrays[k];
    if (a.name != name || a.components != 1) continue;
    net.colors.clear();
    for (double v : a.values)
      net.colors.push_back(v >= 0 && v < none ? static_cast<unsigned>(v) : none);
    net.cell_arrays.erase(net.cell_arrays.begin() + static_cast<std::ptrdiff_t>(k));
    return;
  }
}

std::vector<std::pair<std::size_t, std::size_t>> cells_to_write(const line_network& net,
                                                                bool one_per_element) {
  std::vector<std::pair<std::size_t, std::size_t>> cells;
  if (net.cell_arrays.empty() && !one_per_element) {
    for (const element_run& run : element_runs(net))
      cells.emplace_back(run.first, run.count);
  } else {
    for (std::size_t e = 0; e < net.element_count(); ++e)
      cells.emplace_back(e, 1);
  }
  return cells;
}

}  // namespace io
}  // namespace filum
}  // namespace vorn
