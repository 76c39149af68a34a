#include "writers.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace demo {
namespace {

const char* const palette[] = {"#1f77b4", "#d62728", "#2ca02c", "#9467bd", "#ff7f0e",
                               "#17becf", "#8c564b", "#e377c2", "#7f7f7f", "#bcbd22"};

std::string color_of(unsigned c) {
  return c == 0xFFFFFFFFu ? std::string("#000000") : std::string(palette[c % 10]);
}

struct box {
  double x0 = 1e300, y0 = 1e300, x1 = -1e300, y1 = -1e300;
};

// Bounding box of the nodes that elements use.
void grow(box& b, const network& net) {
  for (unsigned id : net.edges) {
    const double x = net.coords[id * net.dim], y = net.coords[id * net.dim + 1];
    b.x0 = std::min(b.x0, x), b.x1 = std::max(b.x1, x);
    b.y0 = std::min(b.y0, y), b.y1 = std::max(b.y1, y);
  }
}

// One panel: the elements of a network as lines and their nodes as dots, the window b
// mapped into [left, left + width] x [top, top + height] and clipped to it.
void draw_panel(std::ostream& out, int id, const network& net, const box& b, double left,
                double top, double width, double height, double dot, const std::string& title) {
  const double scale = std::min(width / (b.x1 - b.x0), height / (b.y1 - b.y0));
  auto sx = [&](double x) { return left + (x - b.x0) * scale; };
  auto sy = [&](double y) { return top + height - (y - b.y0) * scale; };
  char buffer[256];
  std::snprintf(buffer, sizeof buffer,
                "<text x=\"%.1f\" y=\"%.1f\" font-family=\"sans-serif\" font-size=\"15\">", left,
                top - 10);
  out << buffer << title << "</text>\n";
  std::snprintf(buffer, sizeof buffer,
                "<clipPath id=\"panel%d\"><rect x=\"%.1f\" y=\"%.1f\" width=\"%.1f\" "
                "height=\"%.1f\"/></clipPath>\n<g clip-path=\"url(#panel%d)\">\n",
                id, left, top, width, height, id);
  out << buffer;
  std::vector<char> used(net.node_count(), 0);
  for (std::size_t e = 0; e < net.element_count(); ++e) {
    const unsigned a = net.edges[2 * e], c = net.edges[2 * e + 1];
    used[a] = used[c] = 1;
    std::snprintf(buffer, sizeof buffer,
                  "<line x1=\"%.2f\" y1=\"%.2f\" x2=\"%.2f\" y2=\"%.2f\" stroke=\"%s\"/>\n",
                  sx(net.coords[a * net.dim]), sy(net.coords[a * net.dim + 1]),
                  sx(net.coords[c * net.dim]), sy(net.coords[c * net.dim + 1]),
                  color_of(e < net.colors.size() ? net.colors[e] : 0xFFFFFFFFu).c_str());
    out << buffer;
  }
  for (std::size_t n = 0; n < used.size(); ++n) {
    if (!used[n]) continue;
    std::snprintf(buffer, sizeof buffer, "<circle cx=\"%.2f\" cy=\"%.2f\" r=\"%.1f\"/>\n",
                  sx(net.coords[n * net.dim]), sy(net.coords[n * net.dim + 1]), dot);
    out << buffer;
  }
  out << "</g>\n";
}

// The height of a panel of the given width showing the window b.
double panel_height(const box& b, double width) {
  const double w = std::max(b.x1 - b.x0, 1e-300);
  return std::min(std::max(width * (b.y1 - b.y0) / w, 120.0), 1200.0);
}

}  // namespace

void write_vtk(std::ostream& out, const network& net, const char* title) {
  std::vector<unsigned> renumber(net.node_count(), 0xFFFFFFFFu);
  std::vector<unsigned> used;
  for (unsigned id : net.edges)
    if (renumber[id] == 0xFFFFFFFFu)
      renumber[id] = static_cast<unsigned>(used.size()), used.push_back(id);
  out << "# vtk DataFile Version 3.0\n" << title << "\nASCII\nDATASET POLYDATA\n";
  out << "POINTS " << used.size() << " double\n";
  out.precision(17);
  for (unsigned id : used) {
    for (int i = 0; i < 3; ++i)
      out << (i < net.dim ? net.coords[id * net.dim + i] : 0.0) << (i < 2 ? ' ' : '\n');
  }
  const std::size_t e = net.element_count();
  out << "LINES " << e << ' ' << 3 * e << '\n';
  for (std::size_t k = 0; k < e; ++k)
    out << "2 " << renumber[net.edges[2 * k]] << ' ' << renumber[net.edges[2 * k + 1]] << '\n';
  out << "CELL_DATA " << e << "\nSCALARS color int 1\nLOOKUP_TABLE default\n";
  for (std::size_t k = 0; k < e; ++k)
    out << static_cast<long>(k < net.colors.size() && net.colors[k] != 0xFFFFFFFFu ? net.colors[k]
                                                                                   : -1)
        << '\n';
}

void write_svg(std::ostream& out, const network& input, const network& output) {
  box all;
  grow(all, input);
  grow(all, output);
  const double width = 760, margin = 40;
  const double full = panel_height(all, width);
  const bool zoomed = input.zoom.size() == 4;
  box detail;
  if (zoomed) detail = box{input.zoom[0], input.zoom[1], input.zoom[2], input.zoom[3]};
  const double near = zoomed ? panel_height(detail, width) : 0;
  const double height = margin + full + (zoomed ? margin + near : 0) + margin;
  out << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << 2 * width + 3 * margin
      << "\" height=\"" << height << "\">\n"
      << "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n"
      << "<g stroke-width=\"0.9\" fill=\"black\">\n";
  const std::string in = "input: " + std::to_string(input.element_count()) + " elements";
  const std::string re = "remeshed: " + std::to_string(output.element_count()) + " elements";
  draw_panel(out, 1, input, all, margin, margin, width, full, 1.1, in);
  draw_panel(out, 2, output, all, 2 * margin + width, margin, width, full, 1.1, re);
  if (zoomed) {
    const double top = 2 * margin + full;
    draw_panel(out, 3, input, detail, margin, top, width, near, 2.2, in + " (detail)");
    draw_panel(out, 4, output, detail, 2 * margin + width, top, width, near, 2.2, re + " (detail)");
  }
  out << "</g>\n</svg>\n";
}

}  // namespace demo
