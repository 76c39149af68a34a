#include <algorithm>

#include <vorn/tessa.h>

namespace vorn {
namespace tessa {
namespace {

constexpr unsigned none = 0xFFFFFFFFu;

// The color of element e; elements beyond the color list have none.
unsigned color_of(const dense1D<unsigned>& colors, std::size_t e) noexcept {
  return e < colors.size() ? colors[e] : none;
}

// Whether every entry of the neighbor table is an element of the connectivity or none.
bool neighbors_in_range(const dense2D<unsigned>& neighbors, std::size_t elements) noexcept {
  for (std::size_t e = 0; e < neighbors.cols(); ++e)
    for (std::size_t r = 0; r < 2; ++r)
      if (neighbors(r, e) != none && neighbors(r, e) >= elements) return false;
  return true;
}

// Whether element e and its neighbor in row r carry different colors.
bool colors_meet(const dense2D<unsigned>& neighbors, const dense1D<unsigned>& colors, std::size_t e,
                 std::size_t r) noexcept {
  const unsigned other = neighbors(r, e);
  return other != none && color_of(colors, e) != color_of(colors, other);
}

}  // namespace

int get_colors_boundaries(const dense2D<unsigned>& connectM, const dense2D<unsigned>& neighbors,
                          const dense1D<unsigned>& colors, element_type type, bool flag1,
                          bool flag2, dense2D<unsigned>& boundaries) noexcept {
  (void)type;
  (void)flag1;
  (void)flag2;
  const std::size_t elements = connectM.cols();
  boundaries.clear();
  if (!connectM.empty() && connectM.rows() < 2) return -1;
  const bool table_shape = neighbors.cols() == elements && (neighbors.rows() == 2 || elements == 0);
  if (!table_shape || !neighbors_in_range(neighbors, elements)) return -2;
  if (connectM.empty()) return boundaries.resize(1, 0) ? 0 : -199;

  // Row 0 of an element faces its end node, row 1 its start node.
  std::size_t count = 0;
  for (std::size_t e = 0; e < elements; ++e)
    for (std::size_t r = 0; r < 2; ++r)
      count += colors_meet(neighbors, colors, e, r) ? 1 : 0;
  dense1D<unsigned> nodes(count);
  if (nodes.size() != count) return -199;
  std::size_t k = 0;
  for (std::size_t e = 0; e < elements; ++e)
    for (std::size_t r = 0; r < 2; ++r)
      if (colors_meet(neighbors, colors, e, r)) nodes[k++] = connectM(1 - r, e);
  std::sort(nodes.begin(), nodes.end());
  const std::size_t distinct =
      static_cast<std::size_t>(std::unique(nodes.begin(), nodes.end()) - nodes.begin());
  if (!boundaries.resize(1, distinct)) return -199;
  std::copy(nodes.begin(), nodes.begin() + distinct, boundaries.data());
  return 0;
}

}  // namespace tessa
}  // namespace vorn
