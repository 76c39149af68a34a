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
  bool keeps_nodes;  // unused nodes, node order and MSH tags
  bool keeps_arrays;
};

const format_case formats[] = {
    {"msh ascii", io::file_format::msh, false, true, true, false},
    {"msh binary", io::file_format::msh, true, true, true, false},
    {"vtk", io::file_format::vtk, false, true, true, true},
    {"vtu", io::file_format::vtu, false, true, true, true},
    {"geojson", io::file_format::geojson, false, true, false, false},
    {"gmt", io::file_format::gmt, false, true, false, false},
    {"polyline", io::file_format::polyline, false, false, false, false},
};

TEST(RoundTrip, EveryFormatKeepsCoordinatesBitForBitElementsInOrderAndWhatItCarries) {
  for (int dim : {2, 3})
    for (const format_case& f : formats) {
      SCOPED_TRACE(std::string(f.name) + " dim " + std::to_string(dim));
      io::line_network net = sample(dim);
      if (f.keeps_nodes) {
        net.coords.insert(net.coords.end(), dim, 7.0);  // a node no element uses
        if (f.format == io::file_format::msh) net.node_tags = {5, 6, 7, 8, 100, 101, 102, 103, 9};
      }
      if (f.keeps_arrays) {
        net.point_arrays.push_back({"size", 1, {1, 2, 3, 4, 5, 6, 7, 0.125, 9}});
        net.point_arrays.push_back({"v", 3, std::vector<double>(27)});
        for (int k = 0; k < 27; ++k)
          net.point_arrays[1].values[k] = k / 7.0;
        net.cell_arrays.push_back({"quality", 1, {0.5, 1, 2, 3, 4, 5, 1.0 / 3.0}});
      }
      io::write_options options;
      options.binary = f.binary;
      const io::line_network back = round_trip(net, f.format, options);
      // Text formats write polylines: a closed loop shares its first node, the rest keep
      // their order, so compare element end coordinates.
      expect_same_element_ends(back, net);
      if (f.keeps_colors) {
        EXPECT_EQ(back.colors, net.colors);
      }
      if (f.keeps_nodes) {
        EXPECT_EQ(back.coords, net.coords);
        EXPECT_EQ(back.edges, net.edges);
        EXPECT_EQ(back.node_tags, net.node_tags);
      }
      if (!f.keeps_arrays) continue;
      ASSERT_EQ(back.point_arrays.size(), 2u);
      ASSERT_EQ(back.cell_arrays.size(), 1u);
      for (std::size_t a = 0; a < 2; ++a) {
        EXPECT_EQ(back.point_arrays[a].components, net.point_arrays[a].components);
        EXPECT_EQ(back.point_arrays[a].values, net.point_arrays[a].values);
      }
      EXPECT_EQ(back.cell_arrays[0].values, net.cell_arrays[0].values);
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
