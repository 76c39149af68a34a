// Polylines as text, one point 'x y [z]' per line: the plain form separates polylines by
// blank lines, each its own color; the multi-segment form starts every piece with a '>'
// header line, where '-Z<n>' gives the piece's color (none without it, so that the
// pieces of one clipped line join into one). '#' starts a comment. A piece whose last point repeats
// its first (4 points or more) is a closed loop.
#include "formats_internal.h"

namespace vorn {
namespace filum {
namespace io {
namespace {

// The color a header line names with -Z<n>, or fallback.
unsigned header_color(const source& src, std::string_view header, unsigned fallback) {
  for (std::string_view word : split_words(header.substr(1)))
    if (word.size() > 2 && word.substr(0, 2) == "-Z")
      return static_cast<unsigned>(
          parse_integer(src, word.substr(2), "-Z and a color", 0, none - 1));
  return fallback;
}

}  // namespace

line_network read_polyline_text(source& src, bool multi_segment) {
  line_network net;
  net.dim = 0;
  std::vector<double> points;
  std::size_t piece_line = 0;
  unsigned pieces = 0, color = 0;
  auto finish = [&]() {
    if (points.empty()) return;
    const auto dim = static_cast<std::size_t>(net.dim);
    const std::size_t n = points.size() / dim;
    if (n < 2) {
      throw error(src.name() + ":" + std::to_string(piece_line) +
                  ": expected a polyline of 2 points or more, found 1 point");
    }
    bool closed = n >= 4;
    for (std::size_t i = 0; i < dim && closed; ++i)
      closed = points[i] == points[(n - 1) * dim + i];
    if (closed) points.resize((n - 1) * dim);
    add_polyline(net, points, closed, color);
    points.clear();
  };
  std::string text;
  while (src.next_line(text)) {
    const std::size_t hash = text.find('#');
    std::string_view body(text.data(), hash == std::string::npos ? text.size() : hash);
    const std::vector<std::string_view> words = split_words(body);
    if (multi_segment && !words.empty() && words[0][0] == '>') {
      finish();
      color = header_color(src, body.substr(body.find('>')), none);
      ++pieces;
      continue;
    }
    if (words.empty()) {
      if (!multi_segment) finish();
      continue;
    }
    if (points.empty()) {
      piece_line = src.line();
      if (!multi_segment) color = pieces++;
      if (multi_segment && pieces == 0) color = none, ++pieces;
    }
    if (words.size() != 2 && words.size() != 3)
      src.fail("expected 2 or 3 coordinates, found " + std::to_string(words.size()) + " words");
    if (net.dim == 0) net.dim = static_cast<int>(words.size());
    if (static_cast<int>(words.size()) != net.dim)
      src.fail("expected " + std::to_string(net.dim) + " coordinates as the lines before, found " +
               std::to_string(words.size()));
    for (std::string_view w : words)
      points.push_back(parse_coordinate(src, w));
  }
  finish();
  if (net.dim == 0) src.fail("expected a polyline, found none");
  return net;
}

void write_polyline_text(std::ostream& out, const line_network& net, bool multi_segment) {
  const auto dim = static_cast<std::size_t>(net.dim);
  std::string buffer;
  auto point = [&](unsigned node) {
    for (std::size_t i = 0; i < dim; ++i) {
      if (i) buffer += ' ';
      append_double(buffer, net.coords[node * dim + i]);
    }
    buffer += '\n';
  };
  bool first = true;
  for (const element_run& run : element_runs(net)) {
    if (multi_segment) {
      buffer += '>';
      if (net.color(run.first) != none) buffer += " -Z" + std::to_string(net.color(run.first));
      buffer += '\n';
    } else if (!first) {
      buffer += '\n';
    }
    first = false;
    point(net.edges[2 * run.first]);
    for (std::size_t e = run.first; e < run.first + run.count; ++e)
      point(net.edges[2 * e + 1]);
    flush_buffer(out, buffer);
  }
  flush_buffer(out, buffer, true);
}

}  // namespace io
}  // namespace filum
}  // namespace vorn
