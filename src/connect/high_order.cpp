// Linear edges to high-order edges: K new interior nodes evenly spaced on every edge.

#include <cstddef>

#include <vorn/filum.h>

#include "frame/checks.h"

namespace vorn {
namespace filum {
namespace {

// Gives every edge of connectM `interior` new nodes on its chord, over D coordinates.
// pos and the output are each resized once to their final size, then filled in one pass.
template <std::size_t D>
int convert_high_order(dense2D<double>& pos, const dense2D<unsigned>& connectM, unsigned interior,
                       dense2D<unsigned>& connectM_high) noexcept {
  // An output that shares the input's storage (a copied view) gets storage of its own.
  if (connectM_high.buffer() && connectM_high.buffer().get() == connectM.buffer().get())
    connectM_high = dense2D<unsigned>();
  connectM_high.clear();
  if (connectM.empty() || interior == 0) return 0;
  if (!ids_in(connectM, pos)) return -2;

  const std::size_t first_node = pos.cols();
  const std::size_t edges = connectM.cols();
  const std::size_t rows = std::size_t{interior} + 2;
  // Every new node needs a 32-bit identifier below no_id.
  const std::size_t free_ids = first_node < no_id ? no_id - first_node : 0;
  if (interior > free_ids / edges) return storage_failure;
  if (!pos.resize(D, first_node + edges * interior, 0.0)) return storage_failure;
  if (!connectM_high.resize(rows, edges, no_id)) {
    pos.resize(D, first_node);  // shrinks: cannot fail
    return storage_failure;
  }

  const double step = 1.0 / (static_cast<double>(interior) + 1);
  double* coords = pos.data();
  const unsigned* in = connectM.data();
  unsigned* out = connectM_high.data();
  const std::size_t pos_ld = pos.ld(), in_ld = connectM.ld(), out_ld = connectM_high.ld();
  std::size_t node = first_node;
  for (std::size_t e = 0; e < edges; ++e, in += in_ld, out += out_ld) {
    const unsigned s = in[0], t = in[1];
    out[0] = s;
    out[1] = t;
    const double* ps = coords + s * pos_ld;
    const double* pt = coords + t * pos_ld;
    for (unsigned j = 1; j <= interior; ++j, ++node) {
      // P(s) + tau (P(t) - P(s)) with tau = j x (1 / (K + 1)), coordinate by coordinate.
      const double tau = static_cast<double>(j) * step;
      double* p = coords + node * pos_ld;
      for (std::size_t i = 0; i < D; ++i)
        p[i] = ps[i] + tau * (pt[i] - ps[i]);
      out[j + 1] = static_cast<unsigned>(node);
    }
  }
  return 0;
}

}  // namespace

int convert_into_high_order(dense2D<double>& pos, const dense2D<unsigned>& connectM,
                            unsigned interior_count, dense2D<unsigned>& connectM_high) noexcept {
  switch (pos.rows()) {
    case 1:
      return convert_high_order<1>(pos, connectM, interior_count, connectM_high);
    case 2:
      return convert_high_order<2>(pos, connectM, interior_count, connectM_high);
    case 3:
      return convert_high_order<3>(pos, connectM, interior_count, connectM_high);
    default:
      return -1;
  }
}

int convert_into_high_order(dense2D<double>& pos, dense2D<unsigned>& connectM,
                            unsigned interior_count) noexcept {
  dense2D<unsigned> edges;
  if (!edges.copy(connectM)) return storage_failure;
  return convert_into_high_order(pos, edges, interior_count, connectM);
}

int convert_into_quadratic(dense2D<double>& pos, dense2D<unsigned>& connectM) noexcept {
  return convert_into_high_order(pos, connectM, 1);
}

}  // namespace filum
}  // namespace vorn
