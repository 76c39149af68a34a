#ifndef FILUM_PYTHON_DENSE_CASTER_H
#define FILUM_PYTHON_DENSE_CASTER_H

/// \file
/// \brief Conversions between numpy arrays and the dense containers.
///
/// An (N, K) C-ordered array holds the same bytes as a K x N column-major dense2D, so an
/// input is copied once into storage of the library's own (the caller's array is never
/// written) and an output is handed to numpy without a copy: the array keeps the
/// container's buffer alive through a capsule.

#include <cstring>
#include <new>
#include <vector>

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <vorn/dense.h>

namespace filum_python {

namespace py = pybind11;

/// \brief A numpy array viewing the storage of a container, which the array keeps alive.
/// \param[in] owner the container, moved to the heap and released with the array.
/// \param[in] shape the array's shape; \param[in] strides its strides in bytes.
template <class Container>
py::array share_with_numpy(Container owner, std::vector<py::ssize_t> shape,
                           std::vector<py::ssize_t> strides) {
  using T = typename Container::value_type;
  if (owner.data() == nullptr) return py::array_t<T>(shape);
  auto* held = new Container(std::move(owner));
  py::capsule release(held, [](void* p) { delete static_cast<Container*>(p); });
  return py::array_t<T>(std::move(shape), std::move(strides), held->data(), release);
}

/// \brief The array as C-ordered T with the given number of dimensions, or nothing.
template <class T>
py::array_t<T, py::array::c_style> c_array(py::handle src, py::ssize_t ndim) {
  auto array = py::array_t<T, py::array::c_style | py::array::forcecast>::ensure(src);
  if (!array || array.ndim() != ndim) return {};
  return array;
}

}  // namespace filum_python

namespace pybind11 {
namespace detail {

/// \brief dense1D from a 1-D array (copied) and to a 1-D array (shared).
template <class T>
struct type_caster<vorn::dense1D<T>> {
  PYBIND11_TYPE_CASTER(vorn::dense1D<T>, const_name("numpy.ndarray"));

  bool load(handle src, bool) {
    auto array = filum_python::c_array<T>(src, 1);
    if (!array) return false;
    const auto n = static_cast<std::size_t>(array.shape(0));
    if (!value.resize(n)) throw std::bad_alloc();
    if (n != 0) std::memcpy(value.data(), array.data(), n * sizeof(T));
    return true;
  }

  static handle cast(const vorn::dense1D<T>& src, return_value_policy, handle) {
    return filum_python::share_with_numpy(src, {static_cast<ssize_t>(src.size())},
                                          {static_cast<ssize_t>(sizeof(T))})
        .release();
  }
};

/// \brief dense2D (K x N) from an (N, K) array (copied) and to one (shared).
template <class T>
struct type_caster<vorn::dense2D<T>> {
  PYBIND11_TYPE_CASTER(vorn::dense2D<T>, const_name("numpy.ndarray"));

  bool load(handle src, bool) {
    auto array = filum_python::c_array<T>(src, 2);
    if (!array) return false;
    const auto cols = static_cast<std::size_t>(array.shape(0));
    const auto rows = static_cast<std::size_t>(array.shape(1));
    value = vorn::dense2D<T>();
    if (!value.resize(rows, cols)) throw std::bad_alloc();
    if (rows * cols != 0) std::memcpy(value.data(), array.data(), rows * cols * sizeof(T));
    return true;
  }

  static handle cast(const vorn::dense2D<T>& src, return_value_policy, handle) {
    const auto t = static_cast<ssize_t>(sizeof(T));
    return filum_python::share_with_numpy(
               src, {static_cast<ssize_t>(src.cols()), static_cast<ssize_t>(src.rows())},
               {static_cast<ssize_t>(src.ld()) * t, t})
        .release();
  }
};

/// \brief vector_fixed<double, N> from any sequence of N numbers, and to a 1-D array.
template <std::size_t N>
struct type_caster<vorn::vector_fixed<double, N>> {
  using fixed_type = vorn::vector_fixed<double, N>;
  PYBIND11_TYPE_CASTER(fixed_type, const_name("numpy.ndarray"));

  bool load(handle src, bool) {
    auto array = filum_python::c_array<double>(src, 1);
    if (!array || array.shape(0) != static_cast<ssize_t>(N)) return false;
    std::memcpy(value.values, array.data(), N * sizeof(double));
    return true;
  }

  static handle cast(const vorn::vector_fixed<double, N>& src, return_value_policy, handle) {
    array_t<double> out(static_cast<ssize_t>(N));
    std::memcpy(out.mutable_data(), src.values, N * sizeof(double));
    return out.release();
  }
};

}  // namespace detail
}  // namespace pybind11

#endif
