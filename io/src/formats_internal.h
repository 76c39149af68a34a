#ifndef FILUM_IO_FORMATS_INTERNAL_H
#define FILUM_IO_FORMATS_INTERNAL_H

// The reader and writer of every format, behind read_network and write_network.

#include <ostream>

#include "source.h"

namespace vorn {
namespace filum {
namespace io {

line_network read_msh(source& src);
void write_msh(std::ostream& out, const line_network& net, const write_options& options);

line_network read_vtk(source& src);
void write_vtk(std::ostream& out, const line_network& net, const write_options& options);

line_network read_vtu(source& src);
void write_vtu(std::ostream& out, const line_network& net, const write_options& options);

line_network read_geojson(source& src);
void write_geojson(std::ostream& out, const line_network& net, const write_options& options);

/// Shapefiles, through GDAL; without it, both throw an error saying so.
line_network read_shapefile(const std::string& path, const read_options& options);
void write_shapefile(const std::string& path, const line_network& net,
                     const write_options& options);

/// The plain polyline text (blank lines between polylines) or, with multi_segment, the
/// text with '>' header lines between pieces.
line_network read_polyline_text(source& src, bool multi_segment);
void write_polyline_text(std::ostream& out, const line_network& net, bool multi_segment);

/// A run of consecutive elements that continue one another, all of one color: the
/// polylines the text and GeoJSON writers write.
struct element_run {
  std::size_t first = 0;  ///< its first element
  std::size_t count = 0;  ///< its element count
};
std::vector<element_run> element_runs(const line_network& net);

/// Adds a node per point of a polyline (dim values each) and the elements joining them,
/// of one color; a closed polyline's last element returns to its first node.
void add_polyline(line_network& net, const std::vector<double>& points, bool closed,
                  unsigned color);

/// Writes a buffer to the stream once it holds more than a few megabytes, or always.
void flush_buffer(std::ostream& out, std::string& buffer, bool always = false);

/// Appends one text row "x y z" per node (z = 0 in the plane), %.17g, flushing as it goes:
/// the point block of both VTK forms.
void write_point_rows(std::ostream& out, std::string& buffer, const line_network& net);

}  // namespace io
}  // namespace filum
}  // namespace vorn

#endif
