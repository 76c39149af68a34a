#ifndef FILUM_TESTS_IO_SUPPORT_H
#define FILUM_TESTS_IO_SUPPORT_H

// Networks and helpers the io tests share.

#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include <vorn/filum/io/formats.h>

namespace io_test {

namespace io = vorn::filum::io;

/// Two lines of two colors and a closed triangle without color, with coordinates that
/// need all 17 digits; in space when dim is 3.
inline io::line_network sample(int dim) {
  io::line_network net;
  net.dim = dim;
  const double third = 1.0 / 3.0;
  const double points[][3] = {{0, 0, 0},       {third, 0.1, 1e-300}, {1, 2.0 / 7.0, -5},
                              {2, -1e10, 0.5}, {3, 1e-7, 3},         {10, 10, 1},
                              {11, 10, 2},     {10.5, 11, third}};
  for (const auto& p : points)
    for (int i = 0; i < dim; ++i)
      net.coords.push_back(p[i]);
  net.edges = {0, 1, 1, 2, 2, 3, 3, 4, 5, 6, 6, 7, 7, 5};
  net.colors = {0, 0, 4, 4, io::none, io::none, io::none};
  return net;
}

/// Writes then reads back through a string.
// Checks that every element of back has the end coordinates of the same element of net, bit
// for bit (writers may renumber nodes, not elements).
inline void expect_same_element_ends(const io::line_network& back, const io::line_network& net) {
  ASSERT_EQ(back.dim, net.dim);
  ASSERT_EQ(back.element_count(), net.element_count());
  const std::size_t dim = static_cast<std::size_t>(net.dim);
  for (std::size_t e = 0; e < net.element_count(); ++e)
    for (int end = 0; end < 2; ++end)
      for (std::size_t i = 0; i < dim; ++i)
        EXPECT_EQ(back.coords[back.edges[2 * e + end] * dim + i],
                  net.coords[net.edges[2 * e + end] * dim + i])
            << "element " << e;
}

inline io::line_network round_trip(const io::line_network& net, io::file_format format,
                                   const io::write_options& options = {}) {
  std::stringstream buffer;
  io::write_network(buffer, net, format, options);
  return io::read_network(buffer, "memory", format);
}

/// The message of the io::error that f() throws, or "" when it throws none.
template <class F>
std::string error_of(F f) {
  try {
    f();
  } catch (const io::error& e) {
    return e.what();
  }
  return "";
}

/// The message read_network throws for the text, or "" when it reads.
inline std::string read_error(const std::string& text, io::file_format format) {
  std::istringstream in(text);
  return error_of([&] { io::read_network(in, "bad.file", format); });
}

}  // namespace io_test

#endif
