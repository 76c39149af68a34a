// VTK XML unstructured grids (.vtu): line and polyline cells, point and cell arrays, in
// ascii or uncompressed base64 ("binary") data arrays. Written as ascii, one line cell
// per element.
#include <cmath>
#include <cstring>
#include <iterator>

#include <pugixml.hpp>

#include "cells.h"
#include "formats_internal.h"

namespace vorn {
namespace filum {
namespace io {
namespace {

class vtu_reader {
 public:
  explicit vtu_reader(source& src) : src_(src) {}

  line_network read(std::istream& in) {
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (text.empty()) src_.fail_at_byte("expected a VTKFile XML document, found an empty file");
    const pugi::xml_parse_result parsed = doc_.load_buffer(text.data(), text.size());
    if (!parsed)
      fail_at(static_cast<std::size_t>(parsed.offset),
              std::string("expected well-formed XML: ") + parsed.description());
    const pugi::xml_node file = doc_.child("VTKFile");
    if (!file) fail_at(0, "expected a VTKFile element");
    if (std::strcmp(file.attribute("type").value(), "UnstructuredGrid") != 0)
      fail(file, std::string("expected type=\"UnstructuredGrid\", found \"") +
                     file.attribute("type").value() + "\"");
    if (file.attribute("compressor")) fail(file, "expected uncompressed data, found a compressor");
    header64_ = std::strcmp(file.attribute("header_type").value(), "UInt64") == 0;
    const pugi::xml_node piece = file.child("UnstructuredGrid").child("Piece");
    if (!piece) fail(file, "expected UnstructuredGrid/Piece");
    const std::size_t points = piece.attribute("NumberOfPoints").as_ullong();
    const std::size_t cells = piece.attribute("NumberOfCells").as_ullong();

    net_.coords = values(piece.child("Points").child("DataArray"), points * 3, "Points");
    for (double x : net_.coords)
      if (!std::isfinite(x))
        fail(piece.child("Points"), "expected finite coordinates, found " + std::to_string(x));
    const pugi::xml_node cell_node = piece.child("Cells");
    const std::vector<double> connectivity =
        values(array(cell_node, "connectivity"), 0, "connectivity");
    const std::vector<double> offsets = values(array(cell_node, "offsets"), cells, "offsets");
    const std::vector<double> types = values(array(cell_node, "types"), cells, "types");
    std::size_t start = 0;
    std::vector<unsigned> ids;
    for (std::size_t c = 0; c < cells; ++c) {
      const double end = offsets[c];
      if (!(end >= static_cast<double>(start) && end <= static_cast<double>(connectivity.size())))
        fail(cell_node, "cell " + std::to_string(c) +
                            ": expected an offset within the connectivity, found " +
                            std::to_string(end));
      ids.clear();
      for (std::size_t k = start; k < static_cast<std::size_t>(end); ++k) {
        const double id = connectivity[k];
        if (!(id >= 0 && id < static_cast<double>(points) && id == std::floor(id)))
          fail(cell_node, "cell " + std::to_string(c) + ": expected a point index below " +
                              std::to_string(points) + ", found " + std::to_string(id));
        ids.push_back(static_cast<unsigned>(id));
      }
      start = static_cast<std::size_t>(end);
      types[c] == 3 || types[c] == 4 ? cells_.add_line_cell(net_, ids) : cells_.skip_cell();
    }
    for (pugi::xml_node a : piece.child("PointData").children("DataArray")) {
      named_array arr = named(a, points);
      net_.point_arrays.push_back(std::move(arr));
    }
    for (pugi::xml_node a : piece.child("CellData").children("DataArray"))
      if (!cells_.add_cell_array(net_, named(a, cells))) fail(a, "expected one entry per cell");
    take_colors(net_, src_.options().color_by);
    finish_read(net_);
    return std::move(net_);
  }

 private:
  source& src_;
  pugi::xml_document doc_;
  line_network net_;
  cell_map cells_;
  bool header64_ = false;

  [[noreturn]] void fail_at(std::size_t offset, const std::string& message) const {
    throw error(src_.name() + ": byte offset " + std::to_string(offset) + ": " + message);
  }
  [[noreturn]] void fail(pugi::xml_node node, const std::string& message) const {
    fail_at(static_cast<std::size_t>(node.offset_debug() < 0 ? 0 : node.offset_debug()), message);
  }

  pugi::xml_node array(pugi::xml_node parent, const char* name) const {
    for (pugi::xml_node a : parent.children("DataArray"))
      if (std::strcmp(a.attribute("Name").value(), name) == 0) return a;
    fail(parent, std::string("expected a DataArray named ") + name);
  }

  named_array named(pugi::xml_node a, std::size_t entries) {
    const unsigned components = a.attribute("NumberOfComponents").as_uint(1);
    if (components == 0 || components > 64) fail(a, "expected 1 to 64 components");
    named_array arr{a.attribute("Name").value(), components,
                    values(a, entries * components, a.attribute("Name").value())};
    return arr;
  }

  // The values of a data array as doubles; count 0: as many as it holds.
  std::vector<double> values(pugi::xml_node a, std::size_t count, const std::string& what) const {
    if (!a) fail(doc_, "expected a DataArray for " + what);
    const std::string format = a.attribute("format").value();
    std::vector<double> out;
    if (format == "ascii" || format.empty()) {
      const char* p = a.child_value();
      std::string_view text(p);
      for (std::string_view w : split_words(text)) {
        std::size_t start = 0;
        // words may be separated by newlines too
        for (std::size_t k = 0; k <= w.size(); ++k) {
          if (k < w.size() && w[k] != '\n' && w[k] != '\r') continue;
          if (k > start) {
            double v = 0;
            if (!parse_number(w.substr(start, k - start), v))
              fail(a, "expected a number in " + what + ", found '" +
                          std::string(w.substr(start, k - start)) + "'");
            out.push_back(v);
          }
          start = k + 1;
        }
      }
    } else if (format == "binary") {
      out = decode_binary(a, what);
    } else {
      fail(a, "expected format ascii or binary in " + what + ", found " + format);
    }
    if (count != 0 && out.size() != count)
      fail(a, "expected " + std::to_string(count) + " values in " + what + ", found " +
                  std::to_string(out.size()));
    return out;
  }

  std::vector<double> decode_binary(pugi::xml_node a, const std::string& what) const {
    static const std::string alphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::vector<unsigned char> bytes;
    unsigned bits = 0, acc = 0;
    for (const char* p = a.child_value(); *p; ++p) {
      if (*p == '=' || std::isspace(static_cast<unsigned char>(*p))) continue;
      const std::size_t v = alphabet.find(*p);
      if (v == std::string::npos)
        fail(a, "expected base64 data in " + what + ", found '" + std::string(1, *p) + "'");
      acc = (acc << 6) | static_cast<unsigned>(v);
      bits += 6;
      if (bits >= 8) bits -= 8, bytes.push_back(static_cast<unsigned char>((acc >> bits) & 0xFF));
    }
    const std::size_t header = header64_ ? 8 : 4;
    if (bytes.size() < header) fail(a, "expected a block header in " + what);
    std::uint64_t length = 0;
    std::memcpy(&length, bytes.data(), header);
    if (length > bytes.size() - header)
      fail(a, "expected " + std::to_string(length) + " bytes in " + what);
    const std::string type = a.attribute("type").value();
    std::size_t width = 0;
    if (type == "Float64" || type == "Int64" || type == "UInt64")
      width = 8;
    else if (type == "Float32" || type == "Int32" || type == "UInt32")
      width = 4;
    else if (type == "Int16" || type == "UInt16")
      width = 2;
    else if (type == "Int8" || type == "UInt8")
      width = 1;
    else
      fail(a, "expected a numeric type in " + what + ", found " + type);
    std::vector<double> out(length / width);
    const unsigned char* p = bytes.data() + header;
    for (std::size_t k = 0; k < out.size(); ++k, p += width) {
      if (type == "Float64") {
        double v;
        std::memcpy(&v, p, 8);
        out[k] = v;
      } else if (type == "Float32") {
        float v;
        std::memcpy(&v, p, 4);
        out[k] = v;
      } else if (type == "Int64") {
        std::int64_t v;
        std::memcpy(&v, p, 8);
        out[k] = static_cast<double>(v);
      } else if (type == "UInt64") {
        std::uint64_t v;
        std::memcpy(&v, p, 8);
        out[k] = static_cast<double>(v);
      } else if (type == "Int32") {
        std::int32_t v;
        std::memcpy(&v, p, 4);
        out[k] = v;
      } else if (type == "UInt32") {
        std::uint32_t v;
        std::memcpy(&v, p, 4);
        out[k] = v;
      } else if (type == "Int16") {
        std::int16_t v;
        std::memcpy(&v, p, 2);
        out[k] = v;
      } else if (type == "UInt16") {
        std::uint16_t v;
        std::memcpy(&v, p, 2);
        out[k] = v;
      } else if (type == "Int8")
        out[k] = static_cast<std::int8_t>(*p);
      else
        out[k] = *p;
    }
    return out;
  }
};

void ascii_array(std::string& b, const char* type, const std::string& name, unsigned components) {
  b += "<DataArray type=\"" + std::string(type) + "\" Name=\"" + name + "\" NumberOfComponents=\"" +
       std::to_string(components) + "\" format=\"ascii\">\n";
}

std::string escaped(const std::string& name) {
  std::string out;
  for (char c : name) {
    if (c == '"')
      out += "&quot;";
    else if (c == '&')
      out += "&amp;";
    else if (c == '<')
      out += "&lt;";
    else
      out += c;
  }
  return out;
}

void write_values(std::ostream& out, std::string& b, const named_array& a) {
  ascii_array(b, "Float64", escaped(a.name), a.components);
  for (std::size_t k = 0; k < a.values.size(); ++k) {
    append_double(b, a.values[k]);
    b += (k + 1) % a.components == 0 ? '\n' : ' ';
    flush_buffer(out, b);
  }
  b += "</DataArray>\n";
}

}  // namespace

line_network read_vtu(source& src) {
  return vtu_reader(src).read(src.stream());
}

void write_vtu(std::ostream& out, const line_network& net, const write_options& options) {
  const std::size_t n = net.node_count();
  const auto cells = cells_to_write(net, true);  // line cells: every reader takes them
  std::string b =
      "<?xml version=\"1.0\"?>\n<VTKFile type=\"UnstructuredGrid\" version=\"1.0\" "
      "byte_order=\"LittleEndian\" header_type=\"UInt64\">\n<UnstructuredGrid>\n"
      "<Piece NumberOfPoints=\"" +
      std::to_string(n) + "\" NumberOfCells=\"" + std::to_string(cells.size()) + "\">\n<Points>\n";
  ascii_array(b, "Float64", "Points", 3);
  write_point_rows(out, b, net);
  b += "</DataArray>\n</Points>\n<Cells>\n";
  ascii_array(b, "Int64", "connectivity", 1);
  for (const auto& c : cells) {
    b += std::to_string(net.edges[2 * c.first]);
    for (std::size_t e = c.first; e < c.first + c.second; ++e)
      b += ' ' + std::to_string(net.edges[2 * e + 1]);
    b += '\n';
    flush_buffer(out, b);
  }
  b += "</DataArray>\n";
  ascii_array(b, "Int64", "offsets", 1);
  std::size_t offset = 0;
  for (const auto& c : cells)
    offset += c.second + 1, b += std::to_string(offset) + '\n', flush_buffer(out, b);
  b += "</DataArray>\n";
  ascii_array(b, "UInt8", "types", 1);
  for (const auto& c : cells)
    b += c.second == 1 ? "3\n" : "4\n", flush_buffer(out, b);
  b += "</DataArray>\n</Cells>\n";
  if (!net.colors.empty() || !net.cell_arrays.empty()) {
    b += "<CellData>\n";
    if (!net.colors.empty()) {
      ascii_array(b, "Int64", escaped(options.color_by), 1);
      for (const auto& c : cells) {
        const unsigned color = net.color(c.first);
        b += color == none ? std::string("-1\n") : std::to_string(color) + '\n';
        flush_buffer(out, b);
      }
      b += "</DataArray>\n";
    }
    for (const named_array& a : net.cell_arrays)
      write_values(out, b, a);
    b += "</CellData>\n";
  }
  if (!net.point_arrays.empty()) {
    b += "<PointData>\n";
    for (const named_array& a : net.point_arrays)
      write_values(out, b, a);
    b += "</PointData>\n";
  }
  b += "</Piece>\n</UnstructuredGrid>\n</VTKFile>\n";
  flush_buffer(out, b, true);
}

}  // namespace io
}  // namespace filum
}  // namespace vorn
