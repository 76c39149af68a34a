// Shapefiles: what is written reads back to the bit, polygons become closed loops, and a
// missing or foreign file gets a clear message. Skipped when built without GDAL.
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "io_test_support.h"

#if FILUM_TEST_HAVE_GDAL
#include <gdal.h>
#include <ogr_api.h>
#endif

namespace {

using namespace io_test;
namespace fs = std::filesystem;

class Shapefile : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!io::shapefiles_supported()) GTEST_SKIP() << "built without GDAL (FILUM_GDAL=OFF)";
    fs::create_directories(dir);
  }
  const std::string dir = std::string(FILUM_TEST_WORK_DIR) + "/shp";
};

TEST_F(Shapefile, RoundTripKeepsCoordinatesBitForBitColorsAndLoops) {
  for (int dim : {2, 3})
    for (bool named : {false, true}) {
      SCOPED_TRACE("dim " + std::to_string(dim) + (named ? " named colors" : ""));
      io::line_network net = sample(dim);
      if (named) net.color_names = {"coast", "", "", "", "river"};
      const std::string path = dir + "/net" + std::to_string(dim) + ".shp";
      io::write_network(path, net, io::format_of(path));
      const io::line_network back = io::read_network(path, io::file_format::shp);
      expect_same_element_ends(back, net);
      // The triangle comes back as a loop: its last element returns to its first node.
      EXPECT_EQ(back.edges[13], back.edges[8]);
      if (named) {
        EXPECT_EQ(back.color_names, (std::vector<std::string>{"coast", "river"}));
        EXPECT_EQ(back.colors, (std::vector<unsigned>{0, 0, 1, 1, io::none, io::none, io::none}));
      } else {
        EXPECT_EQ(back.colors, net.colors);
      }
    }
  for (const auto& entry : fs::directory_iterator(dir))
    EXPECT_EQ(entry.path().filename().string().find(".tmp-"), std::string::npos)
        << "temporary left: " << entry.path();
}

#if FILUM_TEST_HAVE_GDAL
// Writes one polygon shape, an outer square with a square hole, through OGR itself.
void write_polygon(const std::string& path) {
  GDALAllRegister();
  GDALDatasetH ds = GDALCreate(GDALGetDriverByName("ESRI Shapefile"), path.c_str(), 0, 0, 0,
                               GDT_Unknown, nullptr);
  ASSERT_NE(ds, nullptr);
  OGRLayerH layer = GDALDatasetCreateLayer(ds, "poly", nullptr, wkbPolygon, nullptr);
  OGRFeatureH f = OGR_F_Create(OGR_L_GetLayerDefn(layer));
  char wkt[] = "POLYGON ((0 0,10 0,10 10,0 10,0 0),(2 2,2 4,4 4,4 2,2 2))";
  char* text = wkt;
  OGRGeometryH g = nullptr;
  ASSERT_EQ(OGR_G_CreateFromWkt(&text, nullptr, &g), OGRERR_NONE);
  OGR_F_SetGeometryDirectly(f, g);
  EXPECT_EQ(OGR_L_CreateFeature(layer, f), OGRERR_NONE);
  OGR_F_Destroy(f);
  GDALClose(ds);
}

TEST_F(Shapefile, PolygonWithAHoleReadsAsTwoClosedLoops) {
  const std::string path = dir + "/holed.shp";
  write_polygon(path);
  const io::line_network net = io::read_network(path, io::file_format::shp);
  ASSERT_EQ(net.dim, 2);
  ASSERT_EQ(net.node_count(), 8u);
  EXPECT_EQ(net.edges, (std::vector<unsigned>{0, 1, 1, 2, 2, 3, 3, 0, 4, 5, 5, 6, 6, 7, 7, 4}));
  EXPECT_EQ(net.coords[8], 2.0);
}
#endif

TEST_F(Shapefile, MissingForeignOrUnwritableFilesFail) {
  const std::string foreign = dir + "/text.shp";
  std::ofstream(foreign) << "this is not a shapefile\n";
  const struct {
    std::string path;
    const char* message;
  } cases[] = {{dir + "/missing.shp", "missing.shp: cannot open: No such file or directory"},
               {foreign, "text.shp: expected a shapefile"}};
  for (const auto& c : cases)
    EXPECT_PRED_FORMAT2(::testing::IsSubstring, c.message,
                        error_of([&] { io::read_network(c.path, io::file_format::shp); }));
  const std::string unwritable = dir + "/no/such/folder/out.shp";
  EXPECT_THROW(io::write_network(unwritable, sample(2), io::file_format::shp), io::error);
  EXPECT_FALSE(fs::exists(dir + "/no"));
}

}  // namespace
