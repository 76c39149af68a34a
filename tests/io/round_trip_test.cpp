// Every format reads back what it wrote: the same coordinates to the bit, the same
// elements in the same order, and the colors and arrays where the format keeps them.
#include <filesystem>

#include <gtest/gtest.h>

#include "io_test_support.h"

namespace {

using namespace io_test;

struct format_case {
  const char* name;
  io::file_format format;
  bool binary;
  bool keeps_colors;
  bool keeps_arrays;
};

const format_case formats[] = {
    {"msh ascii", io::file_format::msh, false, true, false},
    {"msh binary", io::file_format::msh, true, true, false},
    {"vtk", io::file_format::vtk, false, true, true},
    {"vtu", io::file_format::vtu, false, true, true},
    {"geojson", io::file_format::geojson, false, true, false},
    {"gmt", io::file_format::gmt, false, true, false},
    {"polyline", io::file_format::polyline, false, false, false},
};

TEST(RoundTrip, EveryFormatKeepsCoordinatesBitForBitAndElementsInOrder) {
  for (int dim : {2, 3})
    for (const format_case& f : formats) {
      SCOPED_TRACE(std::string(f.name) + " dim " + std::to_string(dim));
      io::line_network net = sample(dim);
      io::write_options options;
      options.binary = f.binary;
      const io::line_network back = round_trip(net, f.format, options);
      ASSERT_EQ(back.dim, dim);
      // Text formats write polylines: a closed loop shares its first node, the rest keep
      // their order, so compare element end coordinates.
      expect_same_element_ends(back, net);
      if (f.keeps_colors) {
        EXPECT_EQ(back.colors, net.colors);
      }
    }
}

TEST(RoundTrip, MshAndVtkKeepTheNodesThemselves) {
  for (const format_case& f : formats) {
    if (f.format != io::file_format::msh && f.format != io::file_format::vtk &&
        f.format != io::file_format::vtu)
      continue;
    SCOPED_TRACE(f.name);
    io::line_network net = sample(3);
    net.coords.insert(net.coords.end(), {7, 7, 7});  // a node no element uses
    if (f.format == io::file_format::msh) net.node_tags = {5, 6, 7, 8, 100, 101, 102, 103, 9};
    io::write_options options;
    options.binary = f.binary;
    const io::line_network back = round_trip(net, f.format, options);
    EXPECT_EQ(back.coords, net.coords);
    EXPECT_EQ(back.edges, net.edges);
    EXPECT_EQ(back.node_tags, net.node_tags);
  }
}

TEST(RoundTrip, VtkFormatsCarryPointAndCellArrays) {
  for (io::file_format format : {io::file_format::vtk, io::file_format::vtu}) {
    io::line_network net = sample(2);
    net.point_arrays.push_back({"size", 1, {1, 2, 3, 4, 5, 6, 7, 0.125}});
    std::vector<double> vectors(24);
    for (int k = 0; k < 24; ++k)
      vectors[k] = k / 7.0;
    net.point_arrays.push_back({"v", 3, vectors});
    net.cell_arrays.push_back({"quality", 1, {0.5, 1, 2, 3, 4, 5, 1.0 / 3.0}});
    const io::line_network back = round_trip(net, format);
    ASSERT_EQ(back.point_arrays.size(), 2u);
    EXPECT_EQ(back.point_arrays[0].values, net.point_arrays[0].values);
    EXPECT_EQ(back.point_arrays[1].components, 3u);
    EXPECT_EQ(back.point_arrays[1].values, vectors);
    ASSERT_EQ(back.cell_arrays.size(), 1u);
    EXPECT_EQ(back.cell_arrays[0].values, net.cell_arrays[0].values);
    EXPECT_EQ(back.colors, net.colors);
  }
}

TEST(RoundTrip, ColorNamesSurviveMshAndGeoJson) {
  io::line_network net = sample(2);
  net.color_names = {"coast", "", "", "", "river"};
  const io::line_network msh = round_trip(net, io::file_format::msh);
  EXPECT_EQ(msh.color_names[0], "coast");
  EXPECT_EQ(msh.color_names[4], "river");
  EXPECT_EQ(msh.colors, net.colors);
  // GeoJSON writes the names; reading numbers them in order of appearance.
  const io::line_network geo = round_trip(net, io::file_format::geojson);
  EXPECT_EQ(geo.color_names, (std::vector<std::string>{"coast", "river"}));
  EXPECT_EQ(geo.colors, (std::vector<unsigned>{0, 0, 1, 1, io::none, io::none, io::none}));
}

TEST(RoundTrip, FileWritesReplaceTheTargetWhole) {
  const std::string path = std::string(FILUM_TEST_WORK_DIR) + "/replace.msh";
  std::filesystem::create_directories(FILUM_TEST_WORK_DIR);
  io::write_network(path, sample(2), io::file_format::msh);
  // A writer that fails halfway leaves the old file as it was and no temporary beside it.
  EXPECT_THROW(io::write_file_atomically(path,
                                         [](std::ostream& out) {
                                           out << "partial";
                                           throw io::error("stop");
                                         }),
               io::error);
  EXPECT_EQ(io::read_network(path, io::file_format::msh).element_count(), 7u);
  std::size_t files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(FILUM_TEST_WORK_DIR))
    files += entry.path().filename().string().find("replace.msh") != std::string::npos;
  EXPECT_EQ(files, 1u);
  EXPECT_THROW(io::write_network(std::string(FILUM_TEST_WORK_DIR) + "/no/such/dir/x.msh", sample(2),
                                 io::file_format::msh),
               io::error);
}

}  // namespace
