// Format names, the dispatch to each reader and writer, and atomic file writes.
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "formats_internal.h"

namespace vorn {
namespace filum {
namespace io {
namespace {

struct format_entry {
  const char* name;
  file_format format;
};
const format_entry format_names[] = {
    {"msh", file_format::msh},           {"vtk", file_format::vtk},
    {"vtu", file_format::vtu},           {"geojson", file_format::geojson},
    {"polyline", file_format::polyline}, {"gmt", file_format::gmt},
    {"svg", file_format::svg},           {"shp", file_format::shp}};

struct extension_entry {
  const char* extension;
  file_format format;
};
const extension_entry extensions[] = {
    {".msh", file_format::msh},      {".vtk", file_format::vtk},
    {".vtu", file_format::vtu},      {".geojson", file_format::geojson},
    {".json", file_format::geojson}, {".txt", file_format::polyline},
    {".xy", file_format::polyline},  {".xyz", file_format::polyline},
    {".gmt", file_format::gmt},      {".svg", file_format::svg},
    {".shp", file_format::shp}};

}  // namespace

file_format format_of(const std::string& path) {
  std::string ext = std::filesystem::path(path).extension().string();
  for (char& c : ext)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (const extension_entry& e : extensions)
    if (ext == e.extension) return e.format;
  throw error(path +
              ": expected an extension .msh .vtk .vtu .geojson .json .txt .xy .xyz .gmt "
              ".svg or .shp (or --format), found '" +
              ext + "'");
}

file_format parse_format(const std::string& name) {
  for (const format_entry& f : format_names)
    if (name == f.name) return f.format;
  throw error("--format: expected msh, vtk, vtu, geojson, polyline, gmt, svg or shp, found '" +
              name + "'");
}

const char* format_name(file_format format) {
  for (const format_entry& f : format_names)
    if (f.format == format) return f.name;
  return "?";
}

line_network read_network(std::istream& in, const std::string& name, file_format format,
                          const read_options& options, std::uint64_t total_bytes) {
  if (total_bytes == 0) {  // the size of a seekable stream, so that counts can be checked
    const std::streampos start = in.tellg();
    if (start != std::streampos(-1) && in.seekg(0, std::ios::end)) {
      const std::streampos end = in.tellg();
      if (end != std::streampos(-1) && end >= start)
        total_bytes = static_cast<std::uint64_t>(end - start);
    }
    in.clear();
    in.seekg(start);
  }
  source src(in, name, options, total_bytes);
  line_network net;
  switch (format) {
    case file_format::msh:
      net = read_msh(src);
      break;
    case file_format::vtk:
      net = read_vtk(src);
      break;
    case file_format::vtu:
      net = read_vtu(src);
      break;
    case file_format::geojson:
      net = read_geojson(src);
      break;
    case file_format::polyline:
      net = read_polyline_text(src, false);
      break;
    case file_format::gmt:
      net = read_polyline_text(src, true);
      break;
    case file_format::svg:
      throw error(name + ": SVG is written, not read");
    case file_format::shp:
      throw error(name + ": a shapefile is read from its file, not a stream");
  }
  validate(net, name);
  if (options.progress) options.progress(1.0);
  return net;
}

line_network read_network(const std::string& path, file_format format,
                          const read_options& options) {
  if (format == file_format::shp) {
    line_network net = read_shapefile(path, options);
    validate(net, path);
    if (options.progress) options.progress(1.0);
    return net;
  }
  std::vector<char> buffer(1 << 20);
  std::ifstream in;
  in.rdbuf()->pubsetbuf(buffer.data(), static_cast<std::streamsize>(buffer.size()));
  in.open(path, std::ios::binary);
  if (!in) throw error(path + ": cannot open: " + std::strerror(errno));
  std::error_code ignored;
  const std::uintmax_t size = std::filesystem::file_size(path, ignored);
  return read_network(in, path, format, options, ignored ? 0 : size);
}

void write_network(std::ostream& out, const line_network& net, file_format format,
                   const write_options& options) {
  switch (format) {
    case file_format::msh:
      write_msh(out, net, options);
      break;
    case file_format::vtk:
      write_vtk(out, net, options);
      break;
    case file_format::vtu:
      write_vtu(out, net, options);
      break;
    case file_format::geojson:
      write_geojson(out, net, options);
      break;
    case file_format::polyline:
      write_polyline_text(out, net, false);
      break;
    case file_format::gmt:
      write_polyline_text(out, net, true);
      break;
    case file_format::svg:
      write_svg(out, {svg_panel{&net, std::to_string(net.element_count()) + " elements"}});
      break;
    case file_format::shp:
      throw error("a shapefile is written to its file, not a stream");
  }
}

void write_file_atomically(const std::string& path,
                           const std::function<void(std::ostream&)>& write) {
  static std::atomic<unsigned> counter{0};
  const std::filesystem::path target(path);
  const std::string temporary =
      (target.parent_path() / ("." + target.filename().string() + ".tmp-" +
                               std::to_string(::getpid()) + "-" + std::to_string(counter++)))
          .string();
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) throw error(path + ": cannot write: " + std::strerror(errno));
    try {
      write(out);
      out.flush();
    } catch (...) {
      out.close();
      std::remove(temporary.c_str());
      throw;
    }
    if (!out) {
      const int code = errno;
      out.close();
      std::remove(temporary.c_str());
      throw error(path + ": cannot write: " + std::strerror(code));
    }
  }
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    const int code = errno;
    std::remove(temporary.c_str());
    throw error(path + ": cannot rename the temporary file into place: " + std::strerror(code));
  }
}

void write_network(const std::string& path, const line_network& net, file_format format,
                   const write_options& options) {
  if (format == file_format::shp) return write_shapefile(path, net, options);
  write_file_atomically(path, [&](std::ostream& out) { write_network(out, net, format, options); });
}

void flush_buffer(std::ostream& out, std::string& buffer, bool always) {
  if (!always && buffer.size() < (4u << 20)) return;
  out.write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
  buffer.clear();
}

void write_point_rows(std::ostream& out, std::string& buffer, const line_network& net) {
  const auto dim = static_cast<std::size_t>(net.dim);
  for (std::size_t k = 0; k < net.node_count(); ++k) {
    for (std::size_t i = 0; i < 3; ++i) {
      if (i) buffer += ' ';
      append_double(buffer, i < dim ? net.coords[k * dim + i] : 0.0);
    }
    buffer += '\n';
    flush_buffer(out, buffer);
  }
}

std::vector<element_run> element_runs(const line_network& net) {
  std::vector<element_run> runs;
  for (std::size_t e = 0; e < net.element_count(); ++e) {
    const bool continues = !runs.empty() && net.edges[2 * e] == net.edges[2 * e - 1] &&
                           net.color(e) == net.color(e - 1);
    if (continues) {
      ++runs.back().count;
    } else {
      runs.push_back({e, 1});
    }
  }
  return runs;
}

void add_polyline(line_network& net, const std::vector<double>& points, bool closed,
                  unsigned color) {
  const std::size_t dim = static_cast<std::size_t>(net.dim);
  const std::size_t n = points.size() / dim;
  const auto first = static_cast<unsigned>(net.node_count());
  net.coords.insert(net.coords.end(), points.begin(),
                    points.begin() + static_cast<std::ptrdiff_t>(n * dim));
  for (std::size_t k = 0; k + 1 < n + (closed ? 1 : 0); ++k) {
    net.edges.push_back(first + static_cast<unsigned>(k));
    net.edges.push_back(first + static_cast<unsigned>((k + 1) % n));
    net.colors.push_back(color);
  }
}

}  // namespace io
}  // namespace filum
}  // namespace vorn
