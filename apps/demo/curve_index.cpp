#include "curve_index.h"

#include <algorithm>
#include <cmath>

namespace demo {
namespace {

// Distance from p to the segment [a, b] and the fraction t of the nearest point.
double segment_distance(const double* p, const double* a, const double* b, int dim, double& t) {
  double ab2 = 0, along = 0;
  for (int i = 0; i < dim; ++i) {
    ab2 += (b[i] - a[i]) * (b[i] - a[i]);
    along += (p[i] - a[i]) * (b[i] - a[i]);
  }
  t = ab2 > 0 ? std::clamp(along / ab2, 0.0, 1.0) : 0.0;
  double s = 0;
  for (int i = 0; i < dim; ++i) {
    const double d = p[i] - (a[i] + t * (b[i] - a[i]));
    s += d * d;
  }
  return std::sqrt(s);
}

}  // namespace

curve_index::curve_index(const network& net) : net_(net) {
  const std::size_t count = net.element_count();
  double x1 = -1e300, y1 = -1e300, total = 0;
  x0_ = y0_ = 1e300;
  for (std::size_t e = 0; e < count; ++e) {
    const double* a = &net.coords[net.edges[2 * e] * net.dim];
    const double* b = &net.coords[net.edges[2 * e + 1] * net.dim];
    x0_ = std::min({x0_, a[0], b[0]}), x1 = std::max({x1, a[0], b[0]});
    y0_ = std::min({y0_, a[1], b[1]}), y1 = std::max({y1, a[1], b[1]});
    total += std::hypot(b[0] - a[0], b[1] - a[1]);
  }
  if (count == 0) return;
  const double extent = std::max(x1 - x0_, y1 - y0_);
  cell_ = std::max({2 * total / static_cast<double>(count), extent / 2048, 1e-300});
  nx_ = std::max(1L, static_cast<long>((x1 - x0_) / cell_) + 1);
  ny_ = std::max(1L, static_cast<long>((y1 - y0_) / cell_) + 1);
  // Two passes over the elements' cell ranges: count per cell, then fill.
  starts_.assign(static_cast<std::size_t>(nx_ * ny_) + 1, 0);
  for (int pass = 0; pass < 2; ++pass) {
    std::vector<unsigned> fill;
    if (pass == 1) {
      for (std::size_t c = 1; c < starts_.size(); ++c)
        starts_[c] += starts_[c - 1];
      elements_.resize(starts_.back());
      fill.assign(starts_.begin(), starts_.end() - 1);
    }
    for (std::size_t e = 0; e < count; ++e) {
      const double* a = &net.coords[net.edges[2 * e] * net.dim];
      const double* b = &net.coords[net.edges[2 * e + 1] * net.dim];
      for (long j = cell_y(std::min(a[1], b[1])); j <= cell_y(std::max(a[1], b[1])); ++j)
        for (long i = cell_x(std::min(a[0], b[0])); i <= cell_x(std::max(a[0], b[0])); ++i) {
          const std::size_t c = static_cast<std::size_t>(j * nx_ + i);
          if (pass == 0)
            ++starts_[c + 1];
          else
            elements_[fill[c]++] = static_cast<unsigned>(e);
        }
    }
  }
}

long curve_index::cell_x(double x) const {
  return std::clamp(static_cast<long>((x - x0_) / cell_), 0L, nx_ - 1);
}

long curve_index::cell_y(double y) const {
  return std::clamp(static_cast<long>((y - y0_) / cell_), 0L, ny_ - 1);
}

curve_index::hit curve_index::nearest(const double* p, unsigned color) const {
  hit best;
  if (elements_.empty()) return best;
  const long ci = cell_x(p[0]), cj = cell_y(p[1]);
  // Rings of cells around p's cell; an element first met in ring r + 1 lies at least
  // r cells away in x or y, so the search ends once the best distance is within that.
  for (long r = 0; r <= std::max(nx_, ny_); ++r) {
    for (long j = cj - r; j <= cj + r; ++j) {
      if (j < 0 || j >= ny_) continue;
      const bool edge_row = j == cj - r || j == cj + r;
      for (long i = ci - r; i <= ci + r; i += edge_row ? 1 : 2 * r) {
        if (i >= 0 && i < nx_) {
          const std::size_t c = static_cast<std::size_t>(j * nx_ + i);
          for (unsigned k = starts_[c]; k < starts_[c + 1]; ++k) {
            const unsigned e = elements_[k];
            if (net_.colors[e] != color) continue;
            const unsigned ia = net_.edges[2 * e], ib = net_.edges[2 * e + 1];
            double t = 0;
            const double d = segment_distance(p, &net_.coords[ia * net_.dim],
                                              &net_.coords[ib * net_.dim], net_.dim, t);
            if (d < best.distance)
              best = hit{d, net_.node_sizes[ia] + t * (net_.node_sizes[ib] - net_.node_sizes[ia])};
          }
        }
        if (r == 0) break;
      }
    }
    if (best.distance <= static_cast<double>(r) * cell_) break;
  }
  return best;
}

}  // namespace demo
