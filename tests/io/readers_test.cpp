// Each reader on the forms it promises beyond what the writers produce, and on bad files:
// every reader names the file and the line (or byte offset), what it expected and what it
// found.
#include <cmath>
#include <cstring>

#include <gtest/gtest.h>

#include "io_test_support.h"

namespace {

using namespace io_test;

io::line_network read(const std::string& text, io::file_format format,
                      const std::string& color_by = "") {
  std::istringstream in(text);
  io::read_options options;
  options.color_by = color_by;
  return io::read_network(in, "test", format, options);
}

TEST(Readers, GeoJsonPolygonsBecomeClosedLoopsColoredByAProperty) {
  const io::line_network net = read(R"({"type": "FeatureCollection", "features": [
    {"type": "Feature", "properties": {"kind": "island"}, "geometry": {"type": "MultiPolygon",
     "coordinates": [[[[0, 0], [4, 0], [4, 4], [0, 0]], [[1, 1], [2, 1], [2, 2], [1, 1]]],
                     [[[9, 9], [10, 9], [10, 10], [9, 9]]]]}},
    {"type": "Feature", "properties": {"kind": 7}, "geometry": {"type": "Point", "coordinates": [5, 5]}},
    {"type": "Feature", "properties": {"kind": "river"}, "geometry": {"type": "GeometryCollection",
     "geometries": [{"type": "MultiLineString", "coordinates": [[[0, 5, 1], [1, 6, 2]]]}]}},
    {"type": "Feature", "properties": null, "geometry": {"type": "LineString", "coordinates": [[0, 9], [1, 9]]}}]})",
                                    io::file_format::geojson, "kind");
  EXPECT_EQ(net.dim, 3);
  EXPECT_EQ(net.node_count(), 3u * 3 + 2 + 2);  // three rings of 3 nodes, two lines
  EXPECT_EQ(net.element_count(), 3u * 3 + 1 + 1);
  EXPECT_EQ(net.color_names, (std::vector<std::string>{"island", "river"}));
  EXPECT_EQ(net.colors, (std::vector<unsigned>{0, 0, 0, 0, 0, 0, 0, 0, 0, 1, io::none}));
  EXPECT_EQ(net.edges[11], 3u);  // the hole closes on its own first node
}

TEST(Readers, VtkTakesEitherCellLayoutAndUnstructuredGrids) {
  const std::string head = "# vtk DataFile Version 5.1\nx\nASCII\n";
  const io::line_network offsets =
      read(head +
               "DATASET POLYDATA\nPOINTS 4 float\n0 0 0 1 0 0 2 0 0 3 1 0\n"
               "LINES 3 5\nOFFSETS vtktypeint64\n0 3 5\nCONNECTIVITY vtktypeint64\n0 1 2 2 3\n"
               "CELL_DATA 2\nFIELD FieldData 1\ncolor 1 2 int\n5 -1\n",
           io::file_format::vtk);
  EXPECT_EQ(offsets.edges, (std::vector<unsigned>{0, 1, 1, 2, 2, 3}));
  EXPECT_EQ(offsets.colors, (std::vector<unsigned>{5, 5, io::none}));
  const io::line_network grid =
      read(head +
               "DATASET UNSTRUCTURED_GRID\nPOINTS 3 double\n0 0 0 1 0 0 1 1 0\n"
               "CELLS 3 9\n1 0\n2 0 1\n3 0 1 2\nCELL_TYPES 3\n1\n3\n5\n"
               "CELL_DATA 3\nSCALARS zone int\nLOOKUP_TABLE default\n1 2 3\n"
               "METADATA\nINFORMATION 0\n\n",
           io::file_format::vtk, "zone");
  EXPECT_EQ(grid.edges, (std::vector<unsigned>{0, 1}));  // the vertex and triangle skipped
  EXPECT_EQ(grid.colors, (std::vector<unsigned>{2}));
}

TEST(Readers, VtuReadsBase64Arrays) {
  // "AQAAAAAAAAA=" style blocks: an 8-byte length header then the raw little-endian values.
  const io::line_network net = read(
      R"(<VTKFile type="UnstructuredGrid" header_type="UInt64"><UnstructuredGrid>
      <Piece NumberOfPoints="2" NumberOfCells="1">
      <Points><DataArray type="Float32" NumberOfComponents="3" format="binary">GAAAAAAAAAAAAAAAAAAAAAAAAAAAAIA/AAAAAAAAAAA=</DataArray></Points>
      <Cells><DataArray type="Int32" Name="connectivity" format="binary">CAAAAAAAAAAAAAAAAQAAAA==</DataArray>
      <DataArray type="Int32" Name="offsets" format="binary">BAAAAAAAAAACAAAA</DataArray>
      <DataArray type="UInt8" Name="types" format="binary">AQAAAAAAAAAD</DataArray></Cells>
      </Piece></UnstructuredGrid></VTKFile>)",
      io::file_format::vtu);
  EXPECT_EQ(net.coords, (std::vector<double>{0, 0, 1, 0}));
  EXPECT_EQ(net.edges, (std::vector<unsigned>{0, 1}));
}

TEST(Readers, MultiSegmentHeadersGiveColorsAndPiecesStayApart) {
  const io::line_network net =
      read("# clipped coast\n> -Z3 first\n0 0\n1 0\n>\n1 0\n2 1\n2 2\n1 0\n", io::file_format::gmt);
  EXPECT_EQ(net.colors, (std::vector<unsigned>{3, io::none, io::none, io::none}));
  EXPECT_EQ(net.node_count(), 5u);  // the second piece is a loop of three nodes
}

TEST(Readers, MshSparseTagsAndNamedPhysicalsAreKept) {
  const io::line_network net = read(
      "$MeshFormat\n4.1 0 8\n$EndMeshFormat\n$PhysicalNames\n1\n1 4 \"coast line\"\n"
      "$EndPhysicalNames\n$Entities\n0 1 0 0\n2 0 0 0 1 1 0 1 4 0\n$EndEntities\n"
      "$Nodes\n2 3 10 1000000\n1 2 0 2\n1000000\n10\n0 0 0\n1 0 0\n0 2 0 1\n20\n5 5 0\n$EndNodes\n"
      "$Elements\n3 3 1 3\n1 2 1 1\n1 10 1000000\n0 2 15 1\n2 20\n1 2 1 1\n3 20 10\n$EndElements\n"
      "$NodeData\n1\n\"x\"\n$EndNodeData\n",
      io::file_format::msh);
  EXPECT_EQ(net.node_tags, (std::vector<std::int64_t>{1000000, 10, 20}));
  EXPECT_EQ(net.edges, (std::vector<unsigned>{1, 0, 2, 1}));
  EXPECT_EQ(net.colors, (std::vector<unsigned>{3, 3}));
  EXPECT_EQ(net.color_names[3], "coast line");
}

const char* const msh_head = "$MeshFormat\n4.1 0 8\n$EndMeshFormat\n";
const char* const msh_nodes = "$Nodes\n1 3 1 3\n1 1 0 3\n1\n2\n3\n0 0 0\n1 0 0\n2 0 0\n$EndNodes\n";

std::string msh(const std::string& body) {
  return std::string(msh_head) + body;
}

using F = io::file_format;

struct bad_case {
  io::file_format format;
  std::string text;
  const char* message;
};

TEST(BadInput, EveryReaderNamesTheFileTheLineAndWhatItFound) {
  const bad_case cases[] = {
      {F::msh, "", "bad.file:0: expected $MeshFormat, found an empty file"},
      {F::msh, "$MeshFormat\n3.0 0 8\n$EndMeshFormat\n",
       "bad.file:2: expected MSH version 4.1 or 2.2, found '3.0'"},
      {F::msh, msh("$Nodes\n1 3 1 3\n1 1 0 3\n1\n2\n"),
       "bad.file:5: expected 3 nodes, found 12 bytes left in the file"},
      {F::msh, msh("$Nodes\n1 4 1 4\n1 1 0 3\n1\n2\n3\n0 0 0\n1 0 0\n2 0 0\n$EndNodes\n"),
       "expected 4 nodes as the $Nodes header says, found 3"},
      {F::msh, msh("$Nodes\n1 2 1 3\n1 1 0 3\n1\n2\n3\n0 0 0\n1 0 0\n2 0 0\n$EndNodes\n"),
       "bad.file:6: expected the number of nodes of the block, found '3'"},
      {F::msh, msh(std::string(msh_nodes) + "$Elements\n1 1 1 1\n1 1 99 1\n1 1 2\n$EndElements\n"),
       "bad.file:16: expected a known element type (1 to 31), found 99"},
      {F::msh, msh("$Nodes\n1 2 1 2\n1 1 0 2\n1\n2\n0 nan 0\n1 0 0\n$EndNodes\n"),
       "bad.file:9: expected a finite coordinate, found 'nan'"},
      {F::msh, msh(std::string(msh_nodes) + "$Elements\n1 1 1 1\n1 1 1 1\n7 1 9\n$EndElements\n"),
       "bad.file:17: element 7: expected a node tag of $Nodes, found 9"},
      {F::msh, msh(std::string(msh_nodes) + "$Elements\n1 2 1 2\n1 1 1 1\n1 1 2\n$EndElements\n"),
       "expected 2 elements as the $Elements header says, found 1"},
      {F::msh, msh("$Elements\n0 0 0 0\n$EndElements\n"),
       "bad.file:4: expected $Nodes before $Elements"},
      {F::vtk, "", "expected '# vtk DataFile Version', found an empty file"},
      {F::vtk, "# vtk DataFile Version 3.0\nx\nBINARY\n",
       "bad.file:3: expected ASCII (binary legacy files are not read), found 'BINARY'"},
      {F::vtk,
       "# vtk DataFile Version 3.0\nx\nASCII\nDATASET POLYDATA\nPOINTS 3 double\n0 0 0\n1 0 0\n",
       "bad.file:5: expected 3 points, found 12 bytes left in the file"},
      {F::vtk,
       "# vtk DataFile Version 3.0\nx\nASCII\nDATASET POLYDATA\nPOINTS 2 double\n0 0 0\n1 0    \n",
       "bad.file:7: expected a point coordinate, found the end of the file"},
      {F::vtk,
       "# vtk DataFile Version 3.0\nx\nASCII\nDATASET POLYDATA\nPOINTS 2 double\n0 0 0 1 0 0\n"
       "LINES 1 3\n2 0 5\n",
       "bad.file:8: expected a point index below 2, found 5"},
      {F::vtk,
       "# vtk DataFile Version 3.0\nx\nASCII\nDATASET POLYDATA\nPOINTS 2 double\n0 0 0 1 0 0\n"
       "LINES 1 4\n2 0 1\n",
       "expected a cell list of 4 numbers as announced, found 3"},
      {F::vtk, "# vtk DataFile Version 3.0\nx\nASCII\nDATASET POLYDATA\nPOINTS 1 double\n0 NaN 0\n",
       "bad.file:6: expected a finite coordinate, found 'NaN'"},
      {F::vtu, "<VTKFile", "bad.file: byte offset"},
      {F::vtu,
       "<VTKFile type=\"UnstructuredGrid\"><UnstructuredGrid><Piece NumberOfPoints=\"2\" "
       "NumberOfCells=\"0\"><Points><DataArray NumberOfComponents=\"3\" format=\"ascii\">0 0 0"
       "</DataArray></Points></Piece></UnstructuredGrid></VTKFile>",
       "expected 6 values in Points, found 3"},
      {F::geojson, "{\n\"type\": \"LineString\",\n\"coordinates\": [[0, 0], [1,\n",
       "bad.file:4: expected valid JSON"},
      {F::geojson, "", "bad.file:1: expected valid JSON"},
      {F::geojson, R"({"type": "Polygon", "coordinates": [[[0, 0], [1, 0], [1, 1]]]})",
       "the document: expected a ring whose last position repeats its first"},
      {F::geojson,
       R"({"type": "FeatureCollection", "features": [{"type": "Feature", "geometry": {"type": "Curve"}}]})",
       "feature 1: expected a GeoJSON geometry type, found 'Curve'"},
      {F::geojson, R"({"type": "LineString", "coordinates": [[0, 0], [1, "x"]]})",
       "expected a finite coordinate, found \"x\""},
      {F::polyline, "0 0\n1 1 1\n",
       "bad.file:2: expected 2 coordinates as the lines before, found 3"},
      {F::polyline, "0 0\n1 x\n", "bad.file:2: expected a finite coordinate, found 'x'"},
      {F::polyline, "0 0\n1 1\n\n5 5\n",
       "bad.file:4: expected a polyline of 2 points or more, found 1 point"},
      {F::polyline, "# nothing\n", "expected a polyline, found none"},
      {F::gmt, "> -Zred\n0 0\n1 1\n", "bad.file:1: expected -Z and a color, found 'red'"},
      {F::svg, "<svg/>", "SVG is written, not read"},
  };
  for (const bad_case& c : cases)
    EXPECT_PRED_FORMAT2(::testing::IsSubstring, c.message, read_error(c.text, c.format));
}

// Binary MSH: a file cut anywhere fails with a byte offset, never reads past the data.
TEST(BadInput, BinaryMshCutAnywhereNamesAByteOffset) {
  std::stringstream whole;
  io::write_options options;
  options.binary = true;
  io::write_network(whole, sample(3), F::msh, options);
  const std::string bytes = whole.str();
  const std::size_t nodes = bytes.find("$Nodes\n") + 7;
  for (std::size_t cut = nodes; cut < bytes.find("$EndElements"); cut += 5)
    EXPECT_PRED_FORMAT2(::testing::IsSubstring, "bad.file",
                        read_error(bytes.substr(0, cut), F::msh));
  std::string nan = bytes;
  const double bad = std::nan("");
  std::memcpy(&nan[bytes.find("$Nodes\n") + 7 + 32 + 20 + 8 * 8], &bad, 8);  // first x
  EXPECT_PRED_FORMAT2(::testing::IsSubstring, "expected finite coordinates, found nan",
                      read_error(nan, F::msh));
}

TEST(BadInput, FormatNamesAndExtensionsAreChecked) {
  EXPECT_EQ(io::format_of("a/b.GeoJSON"), F::geojson);
  EXPECT_EQ(io::format_of("x.gmt"), F::gmt);
  EXPECT_EQ(io::format_of("coast.SHP"), F::shp);
  EXPECT_EQ(io::parse_format("vtu"), F::vtu);
  for (io::file_format f : {F::msh, F::polyline, F::svg, F::shp})
    EXPECT_EQ(io::parse_format(io::format_name(f)), f);
  EXPECT_PRED_FORMAT2(::testing::IsSubstring, "coast.dxf: expected an extension",
                      error_of([] { io::format_of("coast.dxf"); }));
  EXPECT_THROW(io::parse_format("dxf"), io::error);
  EXPECT_THROW(io::read_network("/no/such/file.msh", F::msh), io::error);
}

}  // namespace
