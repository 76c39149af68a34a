#include "line_report.h"

#include <algorithm>
#include <cmath>

namespace demo {
namespace {

double distance(const double* a, const double* b, int dim) {
  double s = 0;
  for (int i = 0; i < dim; ++i)
    s += (b[i] - a[i]) * (b[i] - a[i]);
  return std::sqrt(s);
}

// Distance from p to the segment [a, b].
double segment_distance(const double* p, const double* a, const double* b, int dim) {
  double ab2 = 0, t = 0;
  for (int i = 0; i < dim; ++i) {
    ab2 += (b[i] - a[i]) * (b[i] - a[i]);
    t += (p[i] - a[i]) * (b[i] - a[i]);
  }
  t = ab2 > 0 ? std::clamp(t / ab2, 0.0, 1.0) : 0.0;
  double s = 0;
  for (int i = 0; i < dim; ++i) {
    const double d = p[i] - (a[i] + t * (b[i] - a[i]));
    s += d * d;
  }
  return std::sqrt(s);
}

// Distance from p to the nearest input element of the given colour.
double curve_distance(const network& input, const double* p, unsigned color) {
  double best = 1e300;
  for (std::size_t e = 0; e < input.element_count(); ++e) {
    if (input.colors[e] != color) continue;
    best = std::min(best,
                    segment_distance(p, &input.coords[input.edges[2 * e] * input.dim],
                                     &input.coords[input.edges[2 * e + 1] * input.dim], input.dim));
  }
  return best;
}

// The target size of a colour's curve: the smallest positive node size on it.
double target_size(const network& input, unsigned color) {
  double size = 0;
  for (std::size_t e = 0; e < input.element_count(); ++e)
    for (int end = 0; end < 2 && input.colors[e] == color; ++end) {
      const double h = input.node_sizes[input.edges[2 * e + end]];
      if (h > 0 && (size == 0 || h < size)) size = h;
    }
  return size > 0 ? size : 1;
}

}  // namespace

std::vector<line_row> line_report(const network& input, const network& output,
                                  const std::vector<unsigned>& hard_nodes) {
  std::vector<line_row> rows;
  const std::size_t count = output.element_count();
  std::size_t first = 0;
  while (first < count) {
    // The line runs while the next element starts where this one ends, short of hard nodes.
    std::size_t last = first;
    const unsigned start = output.edges[2 * first];
    while (last + 1 < count) {
      const unsigned end = output.edges[2 * last + 1];
      if (output.edges[2 * (last + 1)] != end || end == start ||
          std::binary_search(hard_nodes.begin(), hard_nodes.end(), end))
        break;
      ++last;
    }
    const unsigned color = output.colors[first];
    const double size = target_size(input, color);
    line_row row;
    row.name = color < input.names.size() ? input.names[color] : "colour " + std::to_string(color);
    row.elements = last - first + 1;
    row.shortest = 1e300;
    for (std::size_t e = first; e <= last; ++e) {
      const double* a = &output.coords[output.edges[2 * e] * output.dim];
      const double* b = &output.coords[output.edges[2 * e + 1] * output.dim];
      const double rel = distance(a, b, output.dim) / size;
      row.shortest = std::min(row.shortest, rel);
      row.longest = std::max(row.longest, rel);
      row.deviation = std::max(row.deviation, curve_distance(input, b, color));
    }
    rows.push_back(row);
    first = last + 1;
  }
  return rows;
}

}  // namespace demo
