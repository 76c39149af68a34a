#include "polyline_reader.h"

#include <sstream>

#include <gtest/gtest.h>

namespace {

bool read(const std::string& text, demo::polyline_file& file, std::string& error) {
  std::istringstream in(text);
  return demo::read_polylines(in, file, error);
}

}  // namespace

TEST(PolylineReader, BlocksBecomePolylinesAndRepeatedFirstPointsCloseThem) {
  demo::polyline_file file;
  std::string error;
  ASSERT_TRUE(read("# two lines\n0 0\n1 0\n1 1\n0 0\n\n\n2 2   # open\n3 3\n", file, error))
      << error;
  EXPECT_EQ(file.dim, 2);
  ASSERT_EQ(file.lines.size(), 2u);
  EXPECT_TRUE(file.lines[0].closed);
  EXPECT_EQ(file.lines[0].points, (std::vector<double>{0, 0, 1, 0, 1, 1}));
  EXPECT_FALSE(file.lines[1].closed);
  EXPECT_EQ(file.lines[1].points, (std::vector<double>{2, 2, 3, 3}));
}

TEST(PolylineReader, ReadsSpaceCurves) {
  demo::polyline_file file;
  std::string error;
  ASSERT_TRUE(read("0 0 0\n1 0 1e-3\n1 1 2.5E2\n", file, error)) << error;
  EXPECT_EQ(file.dim, 3);
  EXPECT_EQ(file.lines[0].points[8], 250);
}

TEST(PolylineReader, BadInputNamesTheLine) {
  struct Case {
    const char* text;
    const char* message;
  } cases[] = {
      {"0 0\n1 x\n", "line 2: 'x' is not a finite number"},
      {"0 0\n1 1 1\n", "line 2: 3 coordinates where the file uses 2"},
      {"0 0\n1 1\n\n1 2 3 4\n", "line 4: expected 2 or 3 coordinates, found 4"},
      {"0 0\n1 1\n\n5 5\n", "line 4: a polyline needs at least 2 points"},
      {"0 0\n1 nan\n", "line 2: 'nan' is not a finite number"},
      {"1 1e999\n", "line 1: '1e999' is not a finite number"},
      {"\n# nothing\n", "the file holds no polyline"},
      {"7\n", "line 1: expected 2 or 3 coordinates, found 1"},
  };
  for (const Case& c : cases) {
    demo::polyline_file file;
    std::string error;
    EXPECT_FALSE(read(c.text, file, error)) << c.text;
    EXPECT_NE(error.find(c.message), std::string::npos) << error;
  }
}

TEST(PolylineReader, ThreePointsWithARepeatAreAnOpenLineNotALoop) {
  demo::polyline_file file;
  std::string error;
  ASSERT_TRUE(read("0 0\n1 0\n0 0\n", file, error));
  EXPECT_FALSE(file.lines[0].closed);
  EXPECT_EQ(file.lines[0].points.size(), 6u);
}
