// Bad files: every reader names the file and the line (or byte offset), what it expected
// and what it found.
#include <cmath>
#include <cstring>

#include <gtest/gtest.h>

#include "io_test_support.h"

namespace {

using namespace io_test;

const char* const msh_head = "$MeshFormat\n4.1 0 8\n$EndMeshFormat\n";
const char* const msh_nodes = "$Nodes\n1 3 1 3\n1 1 0 3\n1\n2\n3\n0 0 0\n1 0 0\n2 0 0\n$EndNodes\n";

std::string msh(const std::string& body) {
  return std::string(msh_head) + body;
}

struct bad_case {
  const char* what;
  io::file_format format;
  std::string text;
  const char* message;
};

TEST(BadInput, EveryReaderNamesTheFileTheLineAndWhatItFound) {
  const bad_case cases[] = {
      {"empty msh", io::file_format::msh, "",
       "bad.file:0: expected $MeshFormat, found an empty file"},
      {"msh version", io::file_format::msh, "$MeshFormat\n3.0 0 8\n$EndMeshFormat\n",
       "bad.file:2: expected MSH version 4.1 or 2.2, found '3.0'"},
      {"truncated msh", io::file_format::msh, msh("$Nodes\n1 3 1 3\n1 1 0 3\n1\n2\n"),
       "bad.file:5: expected 3 nodes, found 12 bytes left in the file"},
      {"wrong node count", io::file_format::msh,
       msh("$Nodes\n1 4 1 4\n1 1 0 3\n1\n2\n3\n0 0 0\n1 0 0\n2 0 0\n$EndNodes\n"),
       "expected 4 nodes as the $Nodes header says, found 3"},
      {"block count beyond the header", io::file_format::msh,
       msh("$Nodes\n1 2 1 3\n1 1 0 3\n1\n2\n3\n0 0 0\n1 0 0\n2 0 0\n$EndNodes\n"),
       "bad.file:6: expected the number of nodes of the block, found '3'"},
      {"unknown element type", io::file_format::msh,
       msh(std::string(msh_nodes) + "$Elements\n1 1 1 1\n1 1 99 1\n1 1 2\n$EndElements\n"),
       "bad.file:16: expected a known element type (1 to 31), found 99"},
      {"nan coordinate", io::file_format::msh,
       msh("$Nodes\n1 2 1 2\n1 1 0 2\n1\n2\n0 nan 0\n1 0 0\n$EndNodes\n"),
       "bad.file:9: expected a finite coordinate, found 'nan'"},
      {"missing node", io::file_format::msh,
       msh(std::string(msh_nodes) + "$Elements\n1 1 1 1\n1 1 1 1\n7 1 9\n$EndElements\n"),
       "bad.file:17: element 7: expected a node tag of $Nodes, found 9"},
      {"wrong element count", io::file_format::msh,
       msh(std::string(msh_nodes) + "$Elements\n1 2 1 2\n1 1 1 1\n1 1 2\n$EndElements\n"),
       "expected 2 elements as the $Elements header says, found 1"},
      {"elements before nodes", io::file_format::msh, msh("$Elements\n0 0 0 0\n$EndElements\n"),
       "bad.file:4: expected $Nodes before $Elements"},
      {"msh 2.2 missing node", io::file_format::msh,
       "$MeshFormat\n2.2 0 8\n$EndMeshFormat\n$Nodes\n2\n1 0 0 0\n2 1 0 0\n$EndNodes\n"
       "$Elements\n1\n1 1 2 0 1 1 3\n$EndElements\n",
       "bad.file:11: element 1: expected a node tag of $Nodes, found 3"},
      {"vtk empty", io::file_format::vtk, "",
       "expected '# vtk DataFile Version', found an empty file"},
      {"vtk binary", io::file_format::vtk, "# vtk DataFile Version 3.0\nx\nBINARY\n",
       "bad.file:3: expected ASCII (binary legacy files are not read), found 'BINARY'"},
      {"vtk truncated", io::file_format::vtk,
       "# vtk DataFile Version 3.0\nx\nASCII\nDATASET POLYDATA\nPOINTS 3 double\n0 0 0\n1 0 0\n",
       "bad.file:5: expected 3 points, found 12 bytes left in the file"},
      {"vtk cut in a point", io::file_format::vtk,
       "# vtk DataFile Version 3.0\nx\nASCII\nDATASET POLYDATA\nPOINTS 2 double\n0 0 0\n1 0    \n",
       "bad.file:7: expected a point coordinate, found the end of the file"},
      {"vtk missing point", io::file_format::vtk,
       "# vtk DataFile Version 3.0\nx\nASCII\nDATASET POLYDATA\nPOINTS 2 double\n0 0 0 1 0 0\n"
       "LINES 1 3\n2 0 5\n",
       "bad.file:8: expected a point index below 2, found 5"},
      {"vtk wrong cell list size", io::file_format::vtk,
       "# vtk DataFile Version 3.0\nx\nASCII\nDATASET POLYDATA\nPOINTS 2 double\n0 0 0 1 0 0\n"
       "LINES 1 4\n2 0 1\n",
       "expected a cell list of 4 numbers as announced, found 3"},
      {"vtk nan", io::file_format::vtk,
       "# vtk DataFile Version 3.0\nx\nASCII\nDATASET POLYDATA\nPOINTS 1 double\n0 NaN 0\n",
       "bad.file:6: expected a finite coordinate, found 'NaN'"},
      {"vtu not xml", io::file_format::vtu, "<VTKFile", "bad.file: byte offset"},
      {"vtu wrong count", io::file_format::vtu,
       "<VTKFile type=\"UnstructuredGrid\"><UnstructuredGrid><Piece NumberOfPoints=\"2\" "
       "NumberOfCells=\"0\"><Points><DataArray NumberOfComponents=\"3\" format=\"ascii\">0 0 0"
       "</DataArray></Points></Piece></UnstructuredGrid></VTKFile>",
       "expected 6 values in Points, found 3"},
      {"geojson syntax", io::file_format::geojson,
       "{\n\"type\": \"LineString\",\n\"coordinates\": [[0, 0], [1,\n",
       "bad.file:4: expected valid JSON"},
      {"geojson empty", io::file_format::geojson, "", "bad.file:1: expected valid JSON"},
      {"geojson open ring", io::file_format::geojson,
       R"({"type": "Polygon", "coordinates": [[[0, 0], [1, 0], [1, 1]]]})",
       "the document: expected a ring whose last position repeats its first"},
      {"geojson unknown type", io::file_format::geojson,
       R"({"type": "FeatureCollection", "features": [{"type": "Feature", "geometry": {"type": "Curve"}}]})",
       "feature 1: expected a GeoJSON geometry type, found 'Curve'"},
      {"geojson string coordinate", io::file_format::geojson,
       R"({"type": "LineString", "coordinates": [[0, 0], [1, "x"]]})",
       "expected a finite coordinate, found \"x\""},
      {"polyline dimension change", io::file_format::polyline, "0 0\n1 1 1\n",
       "bad.file:2: expected 2 coordinates as the lines before, found 3"},
      {"polyline word", io::file_format::polyline, "0 0\n1 x\n",
       "bad.file:2: expected a finite coordinate, found 'x'"},
      {"polyline single point", io::file_format::polyline, "0 0\n1 1\n\n5 5\n",
       "bad.file:4: expected a polyline of 2 points or more, found 1 point"},
      {"polyline empty", io::file_format::polyline, "# nothing\n",
       "expected a polyline, found none"},
      {"gmt color", io::file_format::gmt, "> -Zred\n0 0\n1 1\n",
       "bad.file:1: expected -Z and a color, found 'red'"},
      {"svg is not read", io::file_format::svg, "<svg/>", "SVG is written, not read"},
  };
  for (const bad_case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string message = read_error(c.text, c.format);
    EXPECT_NE(message.find(c.message), std::string::npos) << message;
  }
}

// Binary MSH: a file cut anywhere fails with a byte offset, never reads past the data.
TEST(BadInput, BinaryMshCutAnywhereNamesAByteOffset) {
  std::stringstream whole;
  io::write_options options;
  options.binary = true;
  io::write_network(whole, sample(3), io::file_format::msh, options);
  const std::string bytes = whole.str();
  const std::size_t nodes = bytes.find("$Nodes\n") + 7;
  for (std::size_t cut = nodes; cut < bytes.find("$EndElements"); cut += 5) {
    const std::string message = read_error(bytes.substr(0, cut), io::file_format::msh);
    EXPECT_NE(message.find("bad.file"), std::string::npos) << cut;
    EXPECT_FALSE(message.empty()) << cut;
  }
  std::string nan = bytes;
  const double bad = std::nan("");
  std::memcpy(&nan[bytes.find("$Nodes\n") + 7 + 32 + 20 + 8 * 8], &bad, 8);  // first x
  EXPECT_NE(read_error(nan, io::file_format::msh).find("expected finite coordinates, found nan"),
            std::string::npos)
      << read_error(nan, io::file_format::msh);
}

TEST(BadInput, FormatNamesAndExtensionsAreChecked) {
  EXPECT_EQ(io::format_of("a/b.GeoJSON"), io::file_format::geojson);
  EXPECT_EQ(io::format_of("x.gmt"), io::file_format::gmt);
  EXPECT_EQ(io::format_of("coast.SHP"), io::file_format::shp);
  EXPECT_EQ(io::parse_format("vtu"), io::file_format::vtu);
  for (io::file_format f : {io::file_format::msh, io::file_format::polyline, io::file_format::svg,
                            io::file_format::shp})
    EXPECT_EQ(io::parse_format(io::format_name(f)), f);
  try {
    io::format_of("coast.dxf");
    ADD_FAILURE();
  } catch (const io::error& e) {
    EXPECT_NE(std::string(e.what()).find("coast.dxf: expected an extension"), std::string::npos);
  }
  EXPECT_THROW(io::parse_format("dxf"), io::error);
  EXPECT_THROW(io::read_network("/no/such/file.msh", io::file_format::msh), io::error);
}

}  // namespace
