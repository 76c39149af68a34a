#include "network.h"

namespace demo {

unsigned network::add_node(const double* p, double size) {
  const auto id = static_cast<unsigned>(node_count());
  coords.insert(coords.end(), p, p + dim);
  node_sizes.push_back(size);
  return id;
}

unsigned network::add_chain(const std::vector<unsigned>& chain, unsigned color) {
  const auto first_element = static_cast<unsigned>(element_count());
  for (std::size_t k = 0; k + 1 < chain.size(); ++k) {
    edges.push_back(chain[k]);
    edges.push_back(chain[k + 1]);
    colors.push_back(color);
  }
  return first_element;
}

unsigned network::add_polyline(const std::vector<double>& points, bool closed, unsigned color,
                               double size) {
  const std::size_t n = points.size() / static_cast<std::size_t>(dim);
  std::vector<unsigned> chain;
  for (std::size_t k = 0; k < n; ++k)
    chain.push_back(add_node(&points[k * dim], size));
  if (closed) chain.push_back(chain.front());
  return add_chain(chain, color);
}

}  // namespace demo
