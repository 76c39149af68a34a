// SVG pictures of networks: panels side by side, elements colored by color, nodes as
// dots, an optional enlarged detail below.
#include <algorithm>
#include <cstdio>
#include <ostream>

#include "formats_internal.h"

namespace vorn {
namespace filum {
namespace io {
namespace {

const char* const palette[] = {"#1f77b4", "#d62728", "#2ca02c", "#9467bd", "#ff7f0e",
                               "#17becf", "#8c564b", "#e377c2", "#7f7f7f", "#bcbd22"};

const char* color_of(unsigned c) {
  return c == none ? "#000000" : palette[c % 10];
}

struct box {
  double x0 = 1e300, y0 = 1e300, x1 = -1e300, y1 = -1e300;
};

// Grows the box by the nodes that elements use.
void grow(box& b, const line_network& net) {
  const auto dim = static_cast<std::size_t>(net.dim);
  for (unsigned id : net.edges) {
    const double x = net.coords[id * dim], y = net.coords[id * dim + 1];
    b.x0 = std::min(b.x0, x), b.x1 = std::max(b.x1, x);
    b.y0 = std::min(b.y0, y), b.y1 = std::max(b.y1, y);
  }
}

// One panel: the window b mapped into [left, left + width] x [top, top + height], clipped.
void draw_panel(std::ostream& out, int id, const line_network& net, const box& b, double left,
                double top, double width, double height, double dot, const std::string& title) {
  const auto dim = static_cast<std::size_t>(net.dim);
  const double scale =
      std::min(width / std::max(b.x1 - b.x0, 1e-300), height / std::max(b.y1 - b.y0, 1e-300));
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
                  sx(net.coords[a * dim]), sy(net.coords[a * dim + 1]), sx(net.coords[c * dim]),
                  sy(net.coords[c * dim + 1]), color_of(net.color(e)));
    out << buffer;
  }
  for (std::size_t n = 0; n < used.size(); ++n) {
    if (!used[n]) continue;
    std::snprintf(buffer, sizeof buffer, "<circle cx=\"%.2f\" cy=\"%.2f\" r=\"%.1f\"/>\n",
                  sx(net.coords[n * dim]), sy(net.coords[n * dim + 1]), dot);
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

void write_svg(std::ostream& out, const std::vector<svg_panel>& panels,
               const std::vector<double>& detail) {
  box all;
  for (const svg_panel& p : panels)
    grow(all, *p.net);
  if (all.x0 > all.x1) all = box{0, 0, 1, 1};
  const double width = 760, margin = 40;
  const double full = panel_height(all, width);
  const bool zoomed = detail.size() == 4;
  box near_box;
  if (zoomed) near_box = box{detail[0], detail[1], detail[2], detail[3]};
  const double near = zoomed ? panel_height(near_box, width) : 0;
  const double height = margin + full + (zoomed ? margin + near : 0) + margin;
  const double count = static_cast<double>(std::max<std::size_t>(panels.size(), 1));
  out << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\""
      << count * width + (count + 1) * margin << "\" height=\"" << height << "\">\n"
      << "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n"
      << "<g stroke-width=\"0.9\" fill=\"black\">\n";
  int id = 0;
  for (std::size_t k = 0; k < panels.size(); ++k) {
    const double left = margin + static_cast<double>(k) * (width + margin);
    draw_panel(out, ++id, *panels[k].net, all, left, margin, width, full, 1.1, panels[k].title);
  }
  if (zoomed)
    for (std::size_t k = 0; k < panels.size(); ++k) {
      const double left = margin + static_cast<double>(k) * (width + margin);
      draw_panel(out, ++id, *panels[k].net, near_box, left, 2 * margin + full, width, near, 2.2,
                 panels[k].title + " (detail)");
    }
  out << "</g>\n</svg>\n";
}

}  // namespace io
}  // namespace filum
}  // namespace vorn
