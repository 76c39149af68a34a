#include "line_report.h"

#include "curve_index.h"

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

}  // namespace

std::vector<line_row> line_report(const network& input, const network& output,
                                  const std::vector<unsigned>& hard_nodes) {
  const curve_index curves(input);
  std::vector<line_row> rows;
  const std::size_t count = output.element_count();
  std::vector<double> midpoint(static_cast<std::size_t>(output.dim));
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
    line_row row;
    row.name = color < input.names.size() ? input.names[color] : "color " + std::to_string(color);
    row.elements = last - first + 1;
    row.shortest = 1e300;
    for (std::size_t e = first; e <= last; ++e) {
      const double* a = &output.coords[output.edges[2 * e] * output.dim];
      const double* b = &output.coords[output.edges[2 * e + 1] * output.dim];
      for (int i = 0; i < output.dim; ++i)
        midpoint[i] = 0.5 * (a[i] + b[i]);
      const curve_index::hit target = curves.nearest(midpoint.data(), color);
      const double rel = distance(a, b, output.dim) / (target.size > 0 ? target.size : 1);
      row.shortest = std::min(row.shortest, rel);
      row.longest = std::max(row.longest, rel);
      row.deviation = std::max(row.deviation, curves.nearest(b, color).distance);
    }
    rows.push_back(row);
    first = last + 1;
  }
  return rows;
}

}  // namespace demo
