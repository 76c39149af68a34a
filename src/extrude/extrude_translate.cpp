#include <cmath>

#include <vorn/filum.h>

#include "extrude/extrusion_frame.h"

namespace vorn {
namespace filum {
namespace {

// Places the nodes of a row on the segment from the start node B to B + V.
template <std::size_t D>
struct translation_placement {
  static constexpr std::size_t dim = D;
  static constexpr int size_start_argument = 4;
  static constexpr int motion_argument = 3;

  point<D> V;
  point<D> B;

  int non_finite_argument() const noexcept { return is_finite(V) ? 0 : 3; }
  void start_at(const point<D>& start) noexcept { B = start; }
  double row_length() const noexcept { return norm(V); }
  point<D> at(double t) const noexcept {
    if (t == 0) return B;
    point<D> p;
    for (std::size_t i = 0; i < D; ++i)
      p[i] = B[i] + t * V[i];
    return p;
  }
};

// The placement of a translation by V, its start set by the worker.
template <std::size_t D>
translation_placement<D> translation_by(const point<D>& V) noexcept {
  return translation_placement<D>{V, point<D>()};
}

}  // namespace

int extrude_translate(dense2D<double>& pos, const vector_fixed<double, 2>& start_point,
                      const vector_fixed<double, 2>& translation, unsigned n_elements,
                      dense1D<unsigned>& indices) noexcept {
  return extrude_uniform(pos, start_point, translation_by(translation), n_elements, indices);
}

int extrude_translate(dense2D<double>& pos, const vector_fixed<double, 2>& start_point,
                      const vector_fixed<double, 2>& translation, double size_start,
                      double size_end, bool force_even, dense1D<unsigned>& indices) noexcept {
  return extrude(pos, start_point, translation_by(translation),
                 graded_row(size_start, size_end, force_even), indices);
}

int extrude_translate(dense2D<double>& pos, unsigned node,
                      const vector_fixed<double, 2>& translation, unsigned n_elements,
                      dense1D<unsigned>& indices) noexcept {
  return extrude_uniform(pos, node, translation_by(translation), n_elements, indices);
}

int extrude_translate(dense2D<double>& pos, unsigned node,
                      const vector_fixed<double, 2>& translation, double size_start,
                      double size_end, bool force_even, dense1D<unsigned>& indices) noexcept {
  return extrude(pos, node, translation_by(translation),
                 graded_row(size_start, size_end, force_even), indices);
}

int extrude_translate(dense2D<double>& pos, const vector_fixed<double, 3>& start_point,
                      const vector_fixed<double, 3>& translation, unsigned n_elements,
                      dense1D<unsigned>& indices) noexcept {
  return extrude_uniform(pos, start_point, translation_by(translation), n_elements, indices);
}

int extrude_translate(dense2D<double>& pos, const vector_fixed<double, 3>& start_point,
                      const vector_fixed<double, 3>& translation, double size_start,
                      double size_end, bool force_even, dense1D<unsigned>& indices) noexcept {
  return extrude(pos, start_point, translation_by(translation),
                 graded_row(size_start, size_end, force_even), indices);
}

int extrude_translate(dense2D<double>& pos, unsigned node,
                      const vector_fixed<double, 3>& translation, unsigned n_elements,
                      dense1D<unsigned>& indices) noexcept {
  return extrude_uniform(pos, node, translation_by(translation), n_elements, indices);
}

int extrude_translate(dense2D<double>& pos, unsigned node,
                      const vector_fixed<double, 3>& translation, double size_start,
                      double size_end, bool force_even, dense1D<unsigned>& indices) noexcept {
  return extrude(pos, node, translation_by(translation),
                 graded_row(size_start, size_end, force_even), indices);
}

}  // namespace filum
}  // namespace vorn
