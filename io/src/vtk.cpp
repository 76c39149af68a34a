// Legacy VTK, ASCII: POLYDATA (LINES) or UNSTRUCTURED_GRID (line and polyline cells), in
// the classic cell layout or the OFFSETS / CONNECTIVITY layout; SCALARS, VECTORS, NORMALS
// and FIELD arrays on points and cells.
#include <cmath>

#include "cells.h"
#include "formats_internal.h"

namespace vorn {
namespace filum {
namespace io {
namespace {

class vtk_reader {
 public:
  explicit vtk_reader(source& src) : src_(src) {}

  line_network read() {
    std::string first;
    if (!src_.next_line(first)) src_.fail("expected '# vtk DataFile Version', found an empty file");
    if (first.rfind("# vtk DataFile", 0) != 0)
      src_.fail("expected '# vtk DataFile Version', found '" + first.substr(0, 40) + "'");
    std::string title;
    src_.next_line(title);
    const std::string mode(word("ASCII"));
    if (mode != "ASCII")
      src_.fail("expected ASCII (binary legacy files are not read), found '" + mode + "'");
    expect("DATASET");
    const std::string kind(word("POLYDATA or UNSTRUCTURED_GRID"));
    if (kind != "POLYDATA" && kind != "UNSTRUCTURED_GRID")
      src_.fail("expected POLYDATA or UNSTRUCTURED_GRID, found '" + kind + "'");
    std::vector<std::vector<unsigned>> grid_cells;
    std::string key;
    while (!(key = std::string(word(nullptr))).empty()) {
      if (key == "POINTS") {
        read_points();
      } else if (key == "LINES" || key == "VERTICES" || key == "POLYGONS" ||
                 key == "TRIANGLE_STRIPS") {
        for (std::vector<unsigned>& cell : read_cells())
          key == "LINES" ? cells_.add_line_cell(net_, cell) : cells_.skip_cell();
      } else if (key == "CELLS") {
        grid_cells = read_cells();
      } else if (key == "CELL_TYPES") {
        const std::size_t n = count("the cell count");
        if (n != grid_cells.size())
          src_.fail("expected " + std::to_string(grid_cells.size()) + " cell types, found " +
                    std::to_string(n));
        for (std::size_t c = 0; c < n; ++c) {
          const long long type = integer("a cell type");
          type == 3 || type == 4 ? cells_.add_line_cell(net_, grid_cells[c]) : cells_.skip_cell();
        }
      } else if (key == "POINT_DATA" || key == "CELL_DATA") {
        on_cells_ = key == "CELL_DATA";
        entries_ = count("the number of entries");
      } else if (key == "SCALARS") {
        const std::string name(word("an array name"));
        word("a data type");
        unsigned components = 1;
        if (next_ < words_.size())
          components = static_cast<unsigned>(
              parse_integer(src_, word(""), "a component count 1 to 4", 1, 4));
        expect("LOOKUP_TABLE");
        word("a lookup table name");
        read_array(name, components, entries_);
      } else if (key == "VECTORS" || key == "NORMALS") {
        const std::string name(word("an array name"));
        word("a data type");
        read_array(name, 3, entries_);
      } else if (key == "FIELD") {
        word("a field name");
        const std::size_t arrays = count("the number of arrays");
        for (std::size_t a = 0; a < arrays; ++a) {
          const std::string name(word("an array name"));
          const auto components = static_cast<unsigned>(
              parse_integer(src_, word("a component count"), "a component count", 1, 64));
          const std::size_t tuples = count("the number of tuples");
          word("a data type");
          read_array(name, components, tuples);
        }
      } else if (key == "METADATA") {
        skip_metadata();
      } else {
        src_.fail("expected POINTS, LINES, CELLS, POINT_DATA, CELL_DATA or an array, found '" +
                  key + "'");
      }
    }
    take_colors(net_, src_.options().color_by);
    finish_read(net_);
    return std::move(net_);
  }

 private:
  source& src_;
  line_network net_;
  cell_map cells_;
  std::string line_;
  std::vector<std::string_view> words_;
  std::size_t next_ = 0;
  bool on_cells_ = false;
  std::size_t entries_ = 0;

  // The next word; "" at the end of the file when what is null, else a failure.
  std::string_view word(const char* what) {
    while (next_ == words_.size()) {
      if (!src_.next_line(line_)) {
        if (!what) return {};
        src_.fail(std::string("expected ") + what + ", found the end of the file");
      }
      words_ = split_words(line_);
      next_ = 0;
    }
    return words_[next_++];
  }
  void expect(const char* keyword) {
    const std::string_view w = word(keyword);
    if (w != keyword)
      src_.fail(std::string("expected ") + keyword + ", found '" + std::string(w) + "'");
  }
  long long integer(const char* what) {
    return parse_integer(src_, word(what), what, -(1ll << 62), 1ll << 62);
  }
  std::size_t count(const char* what) {
    return static_cast<std::size_t>(parse_integer(src_, word(what), what, 0, 0xFFFFFFFEll));
  }

  void read_points() {
    const std::size_t n = count("the number of points");
    word("a data type");
    src_.check_room(n, 5, "points", false);
    net_.coords.resize(3 * n);
    for (double& x : net_.coords)
      x = parse_coordinate(src_, word("a point coordinate"));
  }

  unsigned node(long long id) const {
    if (id < 0 || static_cast<std::size_t>(id) >= net_.coords.size() / 3)
      src_.fail("expected a point index below " + std::to_string(net_.coords.size() / 3) +
                ", found " + std::to_string(id));
    return static_cast<unsigned>(id);
  }

  // Cells in either layout: "n size" then "k i1 ... ik" per cell, or
  // "n size" OFFSETS type (n offsets) CONNECTIVITY type (size indices).
  std::vector<std::vector<unsigned>> read_cells() {
    const std::size_t n = count("the number of cells");
    const std::size_t size = count("the size of the cell list");
    src_.check_room(n, 1, "cells", false);
    src_.check_room(size, 1, "cell list numbers", false);
    std::vector<std::vector<unsigned>> cells;
    if (n == 0) return cells;
    const std::string_view peek = word("a cell");
    if (peek == "OFFSETS") {
      word("an offset type");
      std::vector<long long> offsets(n);
      for (long long& o : offsets)
        o = integer("an offset");
      expect("CONNECTIVITY");
      word("a connectivity type");
      std::vector<unsigned> ids(size);
      for (unsigned& id : ids)
        id = node(integer("a point index"));
      for (std::size_t c = 0; c + 1 < n; ++c) {
        if (offsets[c] < 0 || offsets[c] > offsets[c + 1] ||
            offsets[c + 1] > static_cast<long long>(size))
          src_.fail("expected offsets rising within the connectivity, found " +
                    std::to_string(offsets[c + 1]));
        cells.emplace_back(ids.begin() + offsets[c], ids.begin() + offsets[c + 1]);
      }
      return cells;
    }
    std::size_t used = 0;
    for (std::size_t c = 0; c < n; ++c) {
      const long long k = parse_integer(src_, c == 0 ? peek : word("a cell size"), "a cell size", 0,
                                        static_cast<long long>(size));
      std::vector<unsigned> cell(static_cast<std::size_t>(k));
      for (unsigned& id : cell)
        id = node(integer("a point index"));
      used += cell.size() + 1;
      cells.push_back(std::move(cell));
    }
    if (used != size)
      src_.fail("expected a cell list of " + std::to_string(size) +
                " numbers as announced, found " + std::to_string(used));
    return cells;
  }

  void read_array(const std::string& name, unsigned components, std::size_t tuples) {
    named_array a{name, components, {}};
    src_.check_room(std::uint64_t(tuples) * components, 1, "values of array '" + name + "'", false);
    a.values.resize(tuples * components);
    for (double& v : a.values) {
      const std::string_view w = word("an array value");
      if (!parse_number(w, v))
        src_.fail("expected a number of array '" + name + "', found '" + std::string(w) + "'");
    }
    if (on_cells_) {
      if (!cells_.add_cell_array(net_, std::move(a)))
        src_.fail("expected cell array '" + name + "' to have one entry per cell");
    } else {
      if (tuples != net_.coords.size() / 3)
        src_.fail("expected point array '" + name + "' to have one entry per point");
      net_.point_arrays.push_back(std::move(a));
    }
  }

  void skip_metadata() {
    next_ = words_.size();
    std::string text;
    while (src_.next_line(text) && text.find_first_not_of(" \t") != std::string::npos) {
    }
  }
};

void write_array(std::string& out, const named_array& a) {
  const std::size_t tuples = a.values.size() / a.components;
  out += a.name + ' ' + std::to_string(a.components) + ' ' + std::to_string(tuples) + " double\n";
  for (std::size_t t = 0; t < tuples; ++t) {
    for (unsigned c = 0; c < a.components; ++c) {
      if (c) out += ' ';
      append_double(out, a.values[t * a.components + c]);
    }
    out += '\n';
  }
}

}  // namespace

line_network read_vtk(source& src) {
  return vtk_reader(src).read();
}

void write_vtk(std::ostream& out, const line_network& net, const write_options& options) {
  const std::size_t n = net.node_count();
  std::string b =
      "# vtk DataFile Version 3.0\nfilum line network\nASCII\nDATASET POLYDATA\nPOINTS " +
      std::to_string(n) + " double\n";
  write_point_rows(out, b, net);
  const auto cells = cells_to_write(net, false);
  std::size_t size = 0;
  for (const auto& c : cells)
    size += c.second + 2;
  b += "LINES " + std::to_string(cells.size()) + ' ' + std::to_string(size) + '\n';
  for (const auto& c : cells) {
    b += std::to_string(c.second + 1) + ' ' + std::to_string(net.edges[2 * c.first]);
    for (std::size_t e = c.first; e < c.first + c.second; ++e)
      b += ' ' + std::to_string(net.edges[2 * e + 1]);
    b += '\n';
    flush_buffer(out, b);
  }
  if (!net.colors.empty() || !net.cell_arrays.empty()) {
    b += "CELL_DATA " + std::to_string(cells.size()) + '\n';
    if (!net.colors.empty()) {
      b += "SCALARS " + options.color_by + " int 1\nLOOKUP_TABLE default\n";
      for (const auto& c : cells) {
        const unsigned color = net.color(c.first);
        b += color == none ? std::string("-1") : std::to_string(color);
        b += '\n';
      }
    }
    if (!net.cell_arrays.empty()) {
      b += "FIELD FieldData " + std::to_string(net.cell_arrays.size()) + '\n';
      for (const named_array& a : net.cell_arrays)
        write_array(b, a), flush_buffer(out, b);
    }
  }
  if (!net.point_arrays.empty()) {
    b += "POINT_DATA " + std::to_string(n) + "\nFIELD FieldData " +
         std::to_string(net.point_arrays.size()) + '\n';
    for (const named_array& a : net.point_arrays)
      write_array(b, a), flush_buffer(out, b);
  }
  flush_buffer(out, b, true);
}

}  // namespace io
}  // namespace filum
}  // namespace vorn
