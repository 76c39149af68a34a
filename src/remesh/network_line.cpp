#include "remesh/network_line.h"

#include <limits>

#include <vorn/filum.h>

#include "frame/checks.h"
#include "geometry/length.h"

namespace vorn {
namespace filum {
namespace {

// Chordal tolerance of the polyline mesher, relative to the line's length, when no spline
// is tried: given interior nodes stay in the mesh up to rounding.
constexpr double polyline_relative_tol = 1e-12;

}  // namespace

bool line_work::reserve(std::size_t elements) noexcept {
  return chain.reserve(elements + 1) && sizes.reserve(elements + 1) &&
         padded_chain.reserve(elements + 3) && padded_sizes.reserve(elements + 3);
}

bool pad_line(const line_network& net, line_work& w) noexcept {
  const std::size_t n = w.chain.size();
  if (!w.sizes.resize(n) || !w.padded_chain.resize(n + 2) || !w.padded_sizes.resize(n + 2))
    return false;
  for (std::size_t k = 0; k < n; ++k) {
    w.sizes[k] = net.sizes[w.chain[k]];
    w.padded_chain[k + 1] = w.chain[k];
    w.padded_sizes[k + 1] = w.sizes[k];
  }
  const bool closed = w.chain[0] == w.chain[n - 1];
  w.padded_chain[0] = closed ? w.chain[n - 2] : w.chain[0];
  w.padded_chain[n + 1] = closed ? w.chain[1] : w.chain[n - 1];
  w.padded_sizes[0] = w.sizes[0];
  w.padded_sizes[n + 1] = w.sizes[n - 1];
  return true;
}

template <std::size_t D>
int mesh_line_nodes(dense2D<double>& pos, const remesh_settings& s, line_work& w) noexcept {
  w.new_indices.clear();
  w.new_params.clear();
  w.new_sizes.clear();
  w.spline_used = s.chordal_tol != 0;
  double max_deviation = unset;
  const std::size_t before = pos.cols();
  int code = 0;
  if (s.chordal_tol != 0)
    code = mesh_spline(pos, w.padded_chain, w.padded_sizes, s.force_even, s.min_elements,
                       s.max_elements, s.chordal_tol, s.min_size, s.default_size, s.max_gradation,
                       w.new_indices, w.new_params, w.new_sizes, max_deviation);
  w.max_deviation = w.spline_used ? max_deviation : 0;
  if (!(s.chordal_tol >= 0 && max_deviation > s.chordal_tol)) return code;
  if (code < 0) return code;
  double tol = s.chordal_tol;
  if (tol == 0) {
    double length = 0;
    chain_length<D>(pos, w.chain, length);
    tol = length * polyline_relative_tol;
  }
  pos.resize(pos.rows(), before);
  w.new_indices.clear();
  w.new_params.clear();
  w.new_sizes.clear();
  w.spline_used = false;
  return mesh_line(pos, w.chain, w.sizes, s.force_even, s.min_elements, s.max_elements, tol,
                   s.min_size, w.new_indices, w.new_params, w.new_sizes);
}

template int mesh_line_nodes<2>(dense2D<double>&, const remesh_settings&, line_work&) noexcept;
template int mesh_line_nodes<3>(dense2D<double>&, const remesh_settings&, line_work&) noexcept;

bool is_whole_chain(const dense1D<unsigned>& chain, unsigned s, unsigned t,
                    const dense2D<double>& pos) noexcept {
  return chain.size() >= 2 && chain[0] == s && chain[chain.size() - 1] == t && ids_in(chain, pos);
}

}  // namespace filum
}  // namespace vorn
