#ifndef VORN_FILUM_IO_FORMATS_H
#define VORN_FILUM_IO_FORMATS_H

/// \file
/// \brief Reading and writing line networks: Gmsh MSH (4.1 ASCII and binary, 2.2 read),
/// legacy VTK and VTU, GeoJSON, plain polyline text, multi-segment text, SVG (write) and
/// shapefiles (when built with GDAL).

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include <vorn/filum/io/network.h>

namespace vorn {
namespace filum {
namespace io {

/// \brief The file formats.
enum class file_format { msh, vtk, vtu, geojson, polyline, gmt, svg, shp };

/// \brief Settings of the readers.
struct read_options {
  /// GeoJSON property, shapefile attribute or VTK cell array that gives the element colors ("" :
  /// "color").
  std::string color_by;
  /// Called now and then with the fraction of the input read, or empty.
  std::function<void(double)> progress;
};

/// \brief Settings of the writers.
struct write_options {
  bool binary = false;             ///< MSH: binary 4.1 rather than ASCII
  std::string color_by = "color";  ///< name of the color property or cell array
};

/// \brief The format a path's extension names (.msh .vtk .vtu .geojson/.json .txt/.xy
/// .gmt .svg .shp). \param path the file. \throws error naming the path when unknown.
FILUM_IO_API file_format format_of(const std::string& path);

/// \brief The format of a name as given to --format (msh, vtk, vtu, geojson, polyline,
/// gmt, svg, shp). \param name the name. \throws error when unknown.
FILUM_IO_API file_format parse_format(const std::string& name);

/// \brief The name parse_format accepts for a format. \param format the format.
FILUM_IO_API const char* format_name(file_format format);

/// \brief Whether the build reads and writes shapefiles (built with GDAL, FILUM_GDAL).
FILUM_IO_API bool shapefiles_supported();

/// \brief Reads a network from a stream (not a shapefile: it has side files).
/// \param in the data. \param name the file name for messages. \param format its format.
/// \param options the settings. \param total_bytes size of the data when known (0: not),
/// for progress. \throws error naming the file and line or byte offset.
FILUM_IO_API line_network read_network(std::istream& in, const std::string& name,
                                       file_format format, const read_options& options = {},
                                       std::uint64_t total_bytes = 0);

/// \brief Reads a network from a file; a shapefile's .shx and .dbf lie beside it.
/// \param path the file. \param format its format.
/// \param options the settings. \throws error naming the file.
FILUM_IO_API line_network read_network(const std::string& path, file_format format,
                                       const read_options& options = {});

/// \brief Writes a network to a stream (not a shapefile). \param out the stream. \param net the
/// network. \param format the format (svg draws one panel). \param options the settings.
FILUM_IO_API void write_network(std::ostream& out, const line_network& net, file_format format,
                                const write_options& options = {});

/// \brief One panel of an SVG picture.
struct svg_panel {
  const line_network* net = nullptr;  ///< what it draws (x and y)
  std::string title;                  ///< the caption above it
};

/// \brief Draws the panels side by side, elements colored by color, nodes as dots;
/// with a detail window (x0, y0, x1, y1) a second row shows it enlarged.
/// \param out the stream. \param panels the panels. \param detail the window, or empty.
FILUM_IO_API void write_svg(std::ostream& out, const std::vector<svg_panel>& panels,
                            const std::vector<double>& detail = {});

/// \brief Writes to a temporary file beside path, then renames it over path, so that path
/// is never left half-written; on failure the temporary is removed.
/// \param path the file. \param write fills the stream.
/// \throws error naming the path; whatever write throws, after removing the temporary.
FILUM_IO_API void write_file_atomically(const std::string& path,
                                        const std::function<void(std::ostream&)>& write);

/// \brief write_network to a file, through write_file_atomically; a shapefile's side files
/// are each written under a temporary name and renamed into place.
/// \param path the file. \param net the network. \param format the format.
/// \param options the settings.
FILUM_IO_API void write_network(const std::string& path, const line_network& net,
                                file_format format, const write_options& options = {});

}  // namespace io
}  // namespace filum
}  // namespace vorn

#endif
