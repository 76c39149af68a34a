// Files Gmsh writes read correctly, and files we write open in Gmsh and in meshio. Skipped
// with a message when gmsh or meshio is missing (scripts/install-deps installs both).
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "io_test_support.h"

namespace {

using namespace io_test;

const std::string work = FILUM_TEST_WORK_DIR;

bool have_gmsh() {
  return std::string(FILUM_TEST_GMSH).find("NOTFOUND") == std::string::npos;
}

bool have_meshio() {
  return std::system("/usr/bin/python3 -c 'import meshio' > /dev/null 2>&1") == 0;
}

int run(const std::string& command) {
  return std::system((command + " > /dev/null 2>&1").c_str());
}

// A square of side 1 (4 curves, physical group 7 on the bottom and right, 9 on the rest)
// and a circle, meshed in 1D.
void write_geo(const std::string& path) {
  std::ofstream geo(path);
  geo << "Point(1) = {0, 0, 0, 0.25}; Point(2) = {1, 0, 0, 0.25};\n"
         "Point(3) = {1, 1, 0, 0.25}; Point(4) = {0, 1, 0, 0.25};\n"
         "Line(1) = {1, 2}; Line(2) = {2, 3}; Line(3) = {3, 4}; Line(4) = {4, 1};\n"
         "Point(5) = {3, 0, 0, 0.1}; Point(6) = {4, 0, 0, 0.1}; Point(7) = {2, 0, 0, 0.1};\n"
         "Circle(5) = {6, 5, 7}; Circle(6) = {7, 5, 6};\n"
         "Physical Curve(\"walls\", 7) = {1, 2}; Physical Curve(9) = {3, 4, 5, 6};\n";
}

TEST(GmshFiles, EveryVersionAndEncodingGmshWritesReads) {
  if (!have_gmsh()) GTEST_SKIP() << "gmsh not found: scripts/install-deps installs it";
  std::filesystem::create_directories(work);
  write_geo(work + "/shapes.geo");
  struct variant {
    const char* name;
    const char* flags;
  } variants[] = {{"v41_ascii", "-format msh41"},
                  {"v41_binary", "-format msh41 -bin"},
                  {"v22_ascii", "-format msh22"},
                  {"v22_binary", "-format msh22 -bin"},
                  {"v41_second_order", "-format msh41 -order 2"}};
  std::size_t elements = 0;
  for (const variant& v : variants) {
    SCOPED_TRACE(v.name);
    const std::string out = work + "/" + v.name + ".msh";
    ASSERT_EQ(run("gmsh " + work + "/shapes.geo -1 " + v.flags + " -o " + out), 0);
    const io::line_network net = io::read_network(out, io::file_format::msh);
    EXPECT_EQ(net.dim, 2);
    if (elements == 0) elements = net.element_count();
    EXPECT_EQ(net.element_count(), elements);  // second order: the same edges, end to end
    EXPECT_GT(net.element_count(), 20u);
    // Colors are the physical tags less one; every element has one.
    for (unsigned c : net.colors)
      EXPECT_TRUE(c == 6 || c == 8) << c;
    ASSERT_GE(net.color_names.size(), 7u);
    EXPECT_EQ(net.color_names[6], "walls");
    double length = 0;
    for (std::size_t e = 0; e < net.element_count(); ++e) {
      const double* a = &net.coords[2 * net.edges[2 * e]];
      const double* b = &net.coords[2 * net.edges[2 * e + 1]];
      length += std::hypot(b[0] - a[0], b[1] - a[1]);
    }
    EXPECT_NEAR(length, 4 + 2 * 3.14159265358979, 0.05);
  }
}

TEST(GmshFiles, GmshAndMeshioOpenWhatWeWrite) {
  if (!have_gmsh()) GTEST_SKIP() << "gmsh not found: scripts/install-deps installs it";
  std::filesystem::create_directories(work);
  io::line_network net = sample(3);
  net.colors = {0, 0, 4, 4, 2, 2, 2};  // meshio wants a physical group on every curve
  net.color_names = {"coast"};
  for (bool binary : {false, true}) {
    SCOPED_TRACE(binary ? "binary" : "ascii");
    const std::string ours = work + (binary ? "/ours_bin.msh" : "/ours.msh");
    const std::string theirs = work + "/theirs.msh";
    io::write_options options;
    options.binary = binary;
    io::write_network(ours, net, io::file_format::msh, options);
    ASSERT_EQ(run("gmsh " + ours + " -0 -format msh41 -o " + theirs), 0);
    const io::line_network back = io::read_network(theirs, io::file_format::msh);
    EXPECT_EQ(back.element_count(), net.element_count());
    std::vector<unsigned> colors = back.colors;  // Gmsh groups the elements by curve
    std::sort(colors.begin(), colors.end());
    EXPECT_EQ(colors, (std::vector<unsigned>{0, 0, 2, 2, 2, 4, 4}));
    if (!have_meshio()) continue;
    const std::string check = "/usr/bin/python3 -c \"import meshio, sys; m = meshio.read('" + ours +
                              "'); lines = sum(len(c.data) for c in m.cells if c.type == 'line'); "
                              "sys.exit(0 if lines == 7 and len(m.points) == 8 else 1)\"";
    EXPECT_EQ(run(check), 0) << check;
  }
  if (!have_meshio())
    GTEST_SKIP()
        << "meshio not found for /usr/bin/python3: scripts/install-deps installs python3-meshio";
}

}  // namespace
