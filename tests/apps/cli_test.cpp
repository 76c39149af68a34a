// The filum command end to end: exit codes, messages, and no output left behind on failure.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include <vorn/filum/io/formats.h>

namespace {

namespace fs = std::filesystem;
const std::string work = FILUM_TEST_WORK_DIR;

struct result {
  int code;
  std::string output;  // stdout and stderr
};

result filum(const std::string& args) {
  const std::string command = std::string(FILUM_TEST_COMMAND) + " " + args + " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  std::string output;
  char buffer[4096];
  while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
    output.append(buffer, n);
  const int status = pclose(pipe);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

std::string write(const std::string& name, const std::string& text) {
  fs::create_directories(work);
  std::string path = work + "/" + name;
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

std::string read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

const std::string helix = std::string(FILUM_TEST_DATA) + "/helix.txt";

// Bad input exits with 2, a meshing failure with 1; both say why and write nothing.
TEST(Cli, FailuresExitWithTheirCodeAMessageAndNoOutput) {
  struct bad_run {
    const char* what;
    std::string file, text, args, message;
    int code;
  } runs[] = {
      {"empty file", "empty.msh", "", "", "empty.msh:0: expected $MeshFormat, found an empty file",
       2},
      {"no size", "ok.txt", "0 0\n1 0\n", "--size-field depth",
       "--size-field: " + work + "/ok.txt has no point array 'depth' (it has: none)", 2},
      {"bad hard nodes", "ok2.txt", "0 0\n1 0\n", "--size 0.1 --hard-nodes 1,x",
       "--hard-nodes: expected node numbers separated by commas, found 'x'", 2},
      {"hard node out of range", "ok3.txt", "0 0\n1 0\n", "--size 0.1 --hard-nodes 9",
       "--hard-nodes: expected node numbers of the input, found 9", 2},
      {"negative size", "ok4.txt", "0 0\n1 0\n", "--size -1", "--size", 2},
      {"meshing failure", "ok5.txt", "0 0\n1 0\n", "--size 0.1 --min-elements 5 --max-elements 2",
       "remesh_network failed with code", 1},
  };
  for (const bad_run& r : runs) {
    SCOPED_TRACE(r.what);
    const std::string in = write(r.file, r.text);
    const std::string out = work + "/never.msh";
    fs::remove(out);
    const std::string args = r.args.empty() ? "--size 0.5" : r.args;
    const result got = filum("remesh " + in + " -o " + out + " " + args);
    EXPECT_EQ(got.code, r.code) << got.output;
    EXPECT_PRED_FORMAT2(::testing::IsSubstring, r.message, got.output);
    EXPECT_FALSE(fs::exists(out));
  }
  EXPECT_EQ(filum("info " + work + "/missing.msh").code, 2);
  EXPECT_EQ(filum("frobnicate").code, 2);
}

TEST(Cli, TheInputIsNeverOverwrittenWithoutForce) {
  const std::string in = write("keep.txt", "0 0\n1 0\n2 0\n");
  const result refused = filum("convert " + in + " " + in);
  EXPECT_EQ(refused.code, 2);
  EXPECT_PRED_FORMAT2(::testing::IsSubstring, "is the input file; pass --force", refused.output);
  EXPECT_EQ(read(in), "0 0\n1 0\n2 0\n");
  EXPECT_EQ(filum("convert --force -q " + in + " " + in).code, 0);
  EXPECT_EQ(read(in), "0 0\n1 0\n2 0\n");
}

TEST(Cli, SizesComeFromAPointArrayAndHardNodesFromTheFileNumbers) {
  const std::string in =
      write("sizes.vtk",
            "# vtk DataFile Version 3.0\nx\nASCII\nDATASET POLYDATA\n"
            "POINTS 3 double\n0 0 0 1 0 0 2 0 0\nLINES 1 4\n3 0 1 2\n"
            "POINT_DATA 3\nSCALARS h double 1\nLOOKUP_TABLE default\n0.1 0.1 0.5\n");
  const std::string out = work + "/sized.vtk", coarse_out = work + "/coarse.vtk";
  const result fine =
      filum("remesh " + in + " -o " + out + " --size-field h --chordal-tol 0 --hard-nodes 1");
  ASSERT_EQ(fine.code, 0) << fine.output;
  const result coarse =
      filum("remesh " + in + " -o " + coarse_out + " --size 1 --chordal-tol 0 -q");
  ASSERT_EQ(coarse.code, 0) << coarse.output;
  EXPECT_EQ(coarse.output, "");  // --quiet: no summary
  namespace io = vorn::filum::io;
  const io::line_network sized = io::read_network(out, io::file_format::vtk);
  EXPECT_GT(sized.element_count(), 5u);
  EXPECT_EQ(io::read_network(coarse_out, io::file_format::vtk).element_count(), 2u);
  // The hard node (1, 0) and the point array survive; new nodes carry NaN.
  bool kept = false;
  for (std::size_t k = 0; k < sized.node_count(); ++k)
    kept = kept || (sized.coords[2 * k] == 1 && sized.point_arrays[0].values[k] == 0.1);
  EXPECT_TRUE(kept);
  const result wrong = filum("remesh " + in + " -o " + out + " --size-field q");
  EXPECT_PRED_FORMAT2(::testing::IsSubstring, "has no point array 'q' (it has: h)", wrong.output);
}

TEST(Cli, RemeshesConvertsAndPreviewsTheDemoSample) {
  fs::create_directories(work);
  const std::string first = work + "/helix.msh";
  const result remeshed = filum("remesh " + helix + " -o " + first + " --size 0.2 --binary");
  ASSERT_EQ(remeshed.code, 0) << remeshed.output;
  EXPECT_PRED_FORMAT2(::testing::IsSubstring, "elements in", remeshed.output);
  const std::string converted = work + "/helix.vtu";
  ASSERT_EQ(filum("convert -q " + first + " " + converted).code, 0);
  const result before = filum("info --json " + first), after = filum("info --json " + converted);
  ASSERT_EQ(before.code, 0);
  const auto field = [](const std::string& json, const std::string& key) {
    const std::size_t at = json.find("\"" + key + "\": ");
    return json.substr(at, json.find_first_of(",\n", at) - at);
  };
  for (const char* key : {"elements", "total_length", "shortest_element", "dimension"})
    EXPECT_EQ(field(before.output, key), field(after.output, key)) << key;
  const result preview = filum("preview " + helix + " " + first + " -o " + work + "/p.svg");
  EXPECT_EQ(preview.code, 0) << preview.output;
  EXPECT_PRED_FORMAT2(::testing::IsSubstring, "helix.msh: ", read(work + "/p.svg"));
}

TEST(Cli, ClippedPiecesOfAShorelineBecomeOneLine) {
  const std::string in = write("shore.geojson", R"({"type": "FeatureCollection", "features": [
    {"type": "Feature", "properties": {}, "geometry": {"type": "LineString", "coordinates": [[0, 0], [1, 0.1], [2, 0]]}},
    {"type": "Feature", "properties": {}, "geometry": {"type": "LineString", "coordinates": [[2, 0], [3, 0.1], [4, 0]]}},
    {"type": "Feature", "properties": {}, "geometry": {"type": "Polygon", "coordinates": [
      [[10, 10], [12, 10], [12, 12], [10, 10]], [[10.5, 10.5], [11, 10.7], [11.5, 11], [10.5, 10.5]]]}}]})");
  const result info = filum("info " + in);
  ASSERT_EQ(info.code, 0) << info.output;
  // 12 positions, the shared end joined; the shoreline is one line, the triangle is cut at
  // its 3 corners and the hole at its 2 sharp ones.
  for (const char* line : {"nodes              11", "lines              6", "longitude/latitude"})
    EXPECT_PRED_FORMAT2(::testing::IsSubstring, line, info.output);
}

}  // namespace
