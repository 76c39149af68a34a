// What the writers never produce but other programs do: each reader on the forms it
// promises beyond its own output.
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

}  // namespace
