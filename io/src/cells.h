#ifndef FILUM_IO_CELLS_H
#define FILUM_IO_CELLS_H

// What the two VTK formats share: polyline cells cut into elements, cell arrays spread to
// the elements of their cell, and the color taken from one of them.

#include <string>
#include <vector>

#include <vorn/filum/io/network.h>

namespace vorn {
namespace filum {
namespace io {

/// Elements that each file cell became (0 for cells that are not lines), in cell order.
struct cell_map {
  std::vector<std::size_t> elements_per_cell;

  /// Appends the elements of a line or polyline cell through the given nodes.
  void add_line_cell(line_network& net, const std::vector<unsigned>& nodes);
  /// Records a cell that is not a line.
  void skip_cell() { elements_per_cell.push_back(0); }
  /// Spreads a cell array (one entry per cell) onto the elements; false when its size is
  /// not one entry per cell.
  bool add_cell_array(line_network& net, named_array array) const;
};

/// Moves the cell array named color_by ("" : "color") into the colors (negative: none).
void take_colors(line_network& net, const std::string& color_by);

/// The cells a writer writes: one polyline per run of elements, or one line cell per
/// element when the network has cell arrays or when asked. Each cell is its first element
/// and its element count.
std::vector<std::pair<std::size_t, std::size_t>> cells_to_write(const line_network& net,
                                                                bool one_per_element);

}  // namespace io
}  // namespace filum
}  // namespace vorn

#endif
