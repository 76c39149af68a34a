// The extension module filum._core: every operation of the library, one function per
// overload, returning (code, outputs...). The package's Python layer picks the overload,
// checks the arrays and turns codes into exceptions.

#include <string>
#include <type_traits>

#include <pybind11/pybind11.h>
#include <vorn/dense/allocation.h>
#include <vorn/filum.h>
#include <vorn/filum/network.h>

#include "dense_caster.h"

namespace py = pybind11;
using namespace vorn;
using D1 = dense1D<double>;
using U1 = dense1D<unsigned>;
using D2 = dense2D<double>;
using U2 = dense2D<unsigned>;
using V2 = vector_fixed<double, 2>;
using V3 = vector_fixed<double, 3>;

namespace {

/// Runs a library call with the interpreter unlocked, so that other threads run meanwhile.
template <class Call>
int unlocked(Call call) {
  py::gil_scoped_release unlock;
  return call();
}

void bind_connectivity(py::module_& m) {
  m.def("indices_to_connectE2", [](U1 indices, U2 connectE2) {
    const int code = unlocked([&] { return filum::indices_to_connectE2(indices, connectE2); });
    return py::make_tuple(code, connectE2);
  });
  m.def("indices_to_connectE3", [](U1 indices, U2 connectE3) {
    const int code = unlocked([&] { return filum::indices_to_connectE3(indices, connectE3); });
    return py::make_tuple(code, connectE3);
  });
  m.def("split_into_linear", [](U2 connectE3, U2 connectE2) {
    const int code = unlocked([&] { return filum::split_into_linear(connectE3, connectE2); });
    return py::make_tuple(code, connectE2);
  });
  m.def("convert_into_linear", [](U2 connectM) {
    const int code = unlocked([&] { return filum::convert_into_linear(connectM); });
    return py::make_tuple(code, connectM);
  });
  m.def("flip", [](U2 connectM) {
    const int code = unlocked([&] { return filum::flip(connectM); });
    return py::make_tuple(code, connectM);
  });
  m.def("convert_into_high_order", [](D2 pos, U2 connectM, unsigned interior_count) {
    U2 high;
    const int code = unlocked(
        [&] { return filum::convert_into_high_order(pos, connectM, interior_count, high); });
    return py::make_tuple(code, pos, high);
  });
  m.def("convert_into_quadratic", [](D2 pos, U2 connectM) {
    const int code = unlocked([&] { return filum::convert_into_quadratic(pos, connectM); });
    return py::make_tuple(code, pos, connectM);
  });
  m.def("mesh_reorient", [](U2 connectM, U2 neighbors, unsigned start, int all_components) {
    const int code =
        unlocked([&] { return filum::mesh_reorient(connectM, neighbors, start, all_components); });
    return py::make_tuple(code, connectM, neighbors);
  });
}

void bind_line_meshing(py::module_& m) {
  m.def("mesh_line__sizes_params", [](D2 pos, U1 indices, D1 params, D1 sizes, bool even,
                                      unsigned lo, unsigned hi, double tol, double min_size) {
    U1 ni;
    D1 np, ns;
    const int code = unlocked([&] {
      return filum::mesh_line(pos, indices, params, sizes, even, lo, hi, tol, min_size, ni, np, ns);
    });
    return py::make_tuple(code, pos, ni, np, ns);
  });
  m.def("mesh_line__sizes", [](D2 pos, U1 indices, D1 sizes, bool even, unsigned lo, unsigned hi,
                               double tol, double min_size) {
    U1 ni;
    D1 np, ns;
    const int code = unlocked([&] {
      return filum::mesh_line(pos, indices, sizes, even, lo, hi, tol, min_size, ni, np, ns);
    });
    return py::make_tuple(code, pos, ni, np, ns);
  });
  m.def("mesh_line__metrics_params", [](D2 pos, U1 indices, D1 params, D2 metrics, bool even,
                                        unsigned lo, unsigned hi, double tol, double min_size) {
    U1 ni;
    D1 np;
    D2 nm;
    const int code = unlocked([&] {
      return filum::mesh_line(pos, indices, params, metrics, even, lo, hi, tol, min_size, ni, np,
                              nm);
    });
    return py::make_tuple(code, pos, ni, np, nm);
  });
  m.def("mesh_line__metrics", [](D2 pos, U1 indices, D2 metrics, bool even, unsigned lo,
                                 unsigned hi, double tol, double min_size) {
    U1 ni;
    D1 np;
    D2 nm;
    const int code = unlocked([&] {
      return filum::mesh_line(pos, indices, metrics, even, lo, hi, tol, min_size, ni, np, nm);
    });
    return py::make_tuple(code, pos, ni, np, nm);
  });
  m.def("mesh_straight__sizes", [](D2 pos, U1 indices, D1 sizes, bool even) {
    U1 ni;
    const int code = unlocked([&] { return filum::mesh_straight(pos, indices, sizes, even, ni); });
    return py::make_tuple(code, pos, ni);
  });
  m.def("mesh_straight__metrics", [](D2 pos, U1 indices, D2 metrics, bool even) {
    U1 ni;
    const int code =
        unlocked([&] { return filum::mesh_straight(pos, indices, metrics, even, ni); });
    return py::make_tuple(code, pos, ni);
  });
  m.def("mesh_straight__count", [](D2 pos, U1 indices, unsigned n, bool even) {
    U1 ni;
    const int code = unlocked([&] { return filum::mesh_straight(pos, indices, n, even, ni); });
    return py::make_tuple(code, pos, ni);
  });
  m.def("mesh_straight__two", [](D2 pos, unsigned first, unsigned last, unsigned n) {
    U1 ni;
    const int code = unlocked([&] { return filum::mesh_straight(pos, first, last, n, ni); });
    return py::make_tuple(code, pos, ni);
  });
  m.def("mesh_straight__three",
        [](D2 pos, unsigned first, unsigned middle, unsigned last, unsigned n) {
          U1 ni;
          const int code =
              unlocked([&] { return filum::mesh_straight(pos, first, middle, last, n, ni); });
          return py::make_tuple(code, pos, ni);
        });
  m.def("mesh_straight__two_sizes",
        [](D2 pos, unsigned first, unsigned last, double size_first, double size_last, bool even) {
          U1 ni;
          const int code = unlocked([&] {
            return filum::mesh_straight(pos, first, last, size_first, size_last, even, ni);
          });
          return py::make_tuple(code, pos, ni);
        });
}

void bind_spline_meshing(py::module_& m) {
  m.def("spline_point__2d", [](D2 pos, unsigned i0, unsigned i1, unsigned i2, unsigned i3,
                               double t) {
    V2 point;
    const int code = unlocked([&] { return filum::spline_point(pos, i0, i1, i2, i3, t, point); });
    return py::make_tuple(code, point);
  });
  m.def("spline_point__3d", [](D2 pos, unsigned i0, unsigned i1, unsigned i2, unsigned i3,
                               double t) {
    V3 point;
    const int code = unlocked([&] { return filum::spline_point(pos, i0, i1, i2, i3, t, point); });
    return py::make_tuple(code, point);
  });
  m.def("mesh_spline__sizes",
        [](D2 pos, U1 indices, D1 sizes, bool even, unsigned lo, unsigned hi, double tol,
           double min_size, double default_size, double gradation, bool on_curve) {
          U1 ni;
          D1 np, ns;
          double deviation = 0;
          const int code = unlocked([&] {
            if (on_curve)
              return filum::mesh_spline_on_curve(pos, indices, sizes, even, lo, hi, tol, min_size,
                                                 default_size, gradation, ni, np, ns, deviation);
            return filum::mesh_spline(pos, indices, sizes, even, lo, hi, tol, min_size,
                                      default_size, gradation, ni, np, ns, deviation);
          });
          return py::make_tuple(code, pos, ni, np, ns, deviation);
        });
  m.def("mesh_spline__metrics",
        [](D2 pos, U1 indices, D2 metrics, bool even, unsigned lo, unsigned hi, double tol,
           double min_size, double default_size, double gradation) {
          U1 ni;
          D1 np;
          D2 nm;
          double deviation = 0;
          const int code = unlocked([&] {
            return filum::mesh_spline(pos, indices, metrics, even, lo, hi, tol, min_size,
                                      default_size, gradation, ni, np, nm, deviation);
          });
          return py::make_tuple(code, pos, ni, np, nm, deviation);
        });
}

// The four extrusions in one dimension from one kind of start (a node or a point): translated
// and rotated rows, uniform and graded. In the plane a rotation is an angle, in space a vector.
template <class Start, std::size_t N>
void bind_extrusions(py::module_& m, const std::string& suffix) {
  using V = vector_fixed<double, N>;
  using Turn = std::conditional_t<N == 2, double, V>;
  m.def(("extrude_translate__uniform" + suffix).c_str(),
        [](D2 pos, Start start, V translation, unsigned n) {
          U1 row;
          const int code =
              unlocked([&] { return filum::extrude_translate(pos, start, translation, n, row); });
          return py::make_tuple(code, pos, row);
        });
  m.def(("extrude_translate__graded" + suffix).c_str(),
        [](D2 pos, Start start, V translation, double size_start, double size_end, bool even) {
          U1 row;
          const int code = unlocked([&] {
            return filum::extrude_translate(pos, start, translation, size_start, size_end, even,
                                            row);
          });
          return py::make_tuple(code, pos, row);
        });
  m.def(("extrude_rotate__uniform" + suffix).c_str(),
        [](D2 pos, Start start, V center, Turn turn, unsigned n) {
          U1 row;
          const int code =
              unlocked([&] { return filum::extrude_rotate(pos, start, center, turn, n, row); });
          return py::make_tuple(code, pos, row);
        });
  m.def(
      ("extrude_rotate__graded" + suffix).c_str(),
      [](D2 pos, Start start, V center, Turn turn, double size_start, double size_end, bool even) {
        U1 row;
        const int code = unlocked([&] {
          return filum::extrude_rotate(pos, start, center, turn, size_start, size_end, even, row);
        });
        return py::make_tuple(code, pos, row);
      });
}

void bind_fields_and_measures(py::module_& m) {
  m.def("interpolate_metrics__sizes", [](D1 params, D1 sizes, D1 new_params) {
    D1 out;
    const int code =
        unlocked([&] { return filum::interpolate_metrics(params, sizes, new_params, out); });
    return py::make_tuple(code, out);
  });
  m.def("interpolate_metrics__metrics", [](D1 params, D2 metrics, D1 new_params) {
    D2 out;
    const int code =
        unlocked([&] { return filum::interpolate_metrics(params, metrics, new_params, out); });
    return py::make_tuple(code, out);
  });
  m.def("metrics_gen_aniso2d__vectors", [](D2 vectors, U1 nodes, double h1, double h2, D2 metrics) {
    const int code =
        unlocked([&] { return filum::metrics_gen_aniso2d(vectors, nodes, h1, h2, metrics); });
    return py::make_tuple(code, metrics);
  });
  m.def("metrics_gen_aniso2d__elements", [](D2 pos, U2 connectM, double hn, D2 metrics) {
    const int code =
        unlocked([&] { return filum::metrics_gen_aniso2d(pos, connectM, hn, metrics); });
    return py::make_tuple(code, metrics);
  });
  m.def("metrics_gen_aniso3d__normal", [](D2 pos, U2 connectM, double hn, D2 metrics) {
    const int code =
        unlocked([&] { return filum::metrics_gen_aniso3d(pos, connectM, hn, metrics); });
    return py::make_tuple(code, metrics);
  });
  m.def("metrics_gen_aniso3d__frame", [](D2 pos, U2 connectM, double hv, double hw, D2 metrics) {
    const int code =
        unlocked([&] { return filum::metrics_gen_aniso3d(pos, connectM, hv, hw, metrics); });
    return py::make_tuple(code, metrics);
  });
  m.def("length__chain", [](D2 pos, U1 indices) {
    double total = 0;
    const int code = unlocked([&] { return filum::length(pos, indices, total); });
    return py::make_tuple(code, total);
  });
  m.def("length__elements", [](D2 pos, U2 connectM) {
    double total = 0;
    const int code = unlocked([&] { return filum::length(pos, connectM, total); });
    return py::make_tuple(code, total);
  });
  m.def("curvatures", [](D2 pos, U1 indices) {
    D1 values;
    const int code = unlocked([&] { return filum::curvatures(pos, indices, values); });
    return py::make_tuple(code, values);
  });
  m.def("interpolate_coordinates",
        [](D2 pos, U1 indices, D1 params, U1 new_indices, D1 new_params) {
          const int code = unlocked([&] {
            return filum::interpolate_coordinates(pos, indices, params, new_indices, new_params);
          });
          return py::make_tuple(code, pos);
        });
  m.def("parametric_curvatures", [](D1 params, U2 connectM, D2 derivatives) {
    D1 values;
    const int code = unlocked(
        [&] { return filum::parametric_curvatures(params, connectM, derivatives, values); });
    return py::make_tuple(code, values);
  });
  m.def("normals", [](D2 pos, U2 connectM, double exponent, bool normalize) {
    D2 values;
    const int code =
        unlocked([&] { return filum::normals(pos, connectM, exponent, normalize, values); });
    return py::make_tuple(code, values);
  });
  m.def("sort", [](D1 values, U1 ids) {
    const int code = unlocked([&] { return filum::sort(values, ids); });
    return py::make_tuple(code, values, ids);
  });
  m.def("subdivide",
        [](D1 params, D1 sizes, U1 indices, bool raise_count, bool even, unsigned lo, unsigned hi) {
          U1 ni;
          const int code = unlocked([&] {
            return filum::subdivide(params, sizes, indices, raise_count, even, lo, hi, ni);
          });
          return py::make_tuple(code, params, sizes, ni);
        });
}

void bind_remeshing(py::module_& m) {
  m.def("remesh_lines__general",
        [](D2 pos, U2 connectM, double size, D1 node_sizes, U1 colors, U1 hard_nodes, U1 hard_edges,
           bool even, double corner, double tol, double gradation, double min_size, unsigned lo,
           unsigned hi) {
          const int code = unlocked([&] {
            return filum::remesh_lines(pos, connectM, size, node_sizes, colors, hard_nodes,
                                       hard_edges, even, corner, tol, gradation, min_size, lo, hi);
          });
          return py::make_tuple(code, pos, connectM, colors, hard_nodes);
        });
  m.def("remesh_lines__colors",
        [](D2 pos, U2 connectM, double size, U1 colors, bool even, double corner, double tol,
           double gradation, double min_size, unsigned lo, unsigned hi) {
          const int code = unlocked([&] {
            return filum::remesh_lines(pos, connectM, size, colors, even, corner, tol, gradation,
                                       min_size, lo, hi);
          });
          return py::make_tuple(code, pos, connectM, colors);
        });
  m.def("remesh_lines__plain",
        [](D2 pos, U2 connectM, double size, bool even, double corner, double tol, double gradation,
           double min_size, unsigned lo, unsigned hi) {
          const int code = unlocked([&] {
            return filum::remesh_lines(pos, connectM, size, even, corner, tol, gradation, min_size,
                                       lo, hi);
          });
          return py::make_tuple(code, pos, connectM);
        });
  m.def("remesh_network", [](D2 pos, U2 connectM, U1 colors, U1 hard_nodes, U1 hard_edges,
                             D1 node_sizes, const py::dict& settings) {
    filum::network_options options;
    options.size = settings["size"].cast<double>();
    options.chordal_tol = settings["chordal_tol"].cast<double>();
    options.corner_angle = settings["corner_angle"].cast<double>();
    options.max_gradation = settings["max_gradation"].cast<double>();
    options.min_size = settings["min_size"].cast<double>();
    options.min_elements = settings["min_elements"].cast<unsigned>();
    options.max_elements = settings["max_elements"].cast<unsigned>();
    options.force_even = settings["force_even"].cast<bool>();
    options.threads = settings["threads"].cast<unsigned>();
    options.node_placement = settings["on_curve"].cast<bool>() ? filum::placement::on_curve
                                                               : filum::placement::sample_polyline;
    options.min_closed_elements = settings["min_closed_elements"].cast<unsigned>();
    options.min_closed_length = settings["min_closed_length"].cast<double>();
    filum::network_report report;
    const int code = unlocked([&] {
      return filum::remesh_network(pos, connectM, colors, hard_nodes, hard_edges, node_sizes,
                                   options, report);
    });
    py::dict summary;
    summary["lines"] = report.lines;
    summary["elements_in"] = report.elements_in;
    summary["elements_out"] = report.elements_out;
    summary["self_loops_dropped"] = report.self_loops_dropped;
    summary["zero_length_dropped"] = report.zero_length_dropped;
    summary["duplicates_dropped"] = report.duplicates_dropped;
    summary["closed_lines_dropped"] = report.closed_lines_dropped;
    summary["closed_length_dropped"] = report.closed_length_dropped;
    summary["max_deviation"] = report.max_deviation;
    summary["threads_used"] = report.threads_used;
    summary["seconds"] =
        py::make_tuple(report.seconds_analysis, report.seconds_meshing, report.seconds_assembly);
    return py::make_tuple(code, pos, connectM, colors, hard_nodes, summary);
  });
}

}  // namespace

PYBIND11_MODULE(_core, m) {
  m.doc() = "The library's operations, one function per overload; see the filum package.";
  m.def("version", [] { return std::string(filum::version()); });
  m.attr("no_id") = filum::no_id;
  m.attr("unset") = filum::unset;
  bind_connectivity(m);
  bind_line_meshing(m);
  bind_spline_meshing(m);
  bind_extrusions<unsigned, 2>(m, "_node_2d");
  bind_extrusions<V2, 2>(m, "_point_2d");
  bind_extrusions<unsigned, 3>(m, "_node_3d");
  bind_extrusions<V3, 3>(m, "_point_3d");
  bind_fields_and_measures(m);
  bind_remeshing(m);
  m.def("fail_nth_allocation", &vorn::testing::fail_nth_allocation,
        "Test hook: makes the n-th storage request of the calling thread fail (0 disarms).");
  m.def("injected_failure_happened", &vorn::testing::injected_failure_happened,
        "Test hook: whether the armed storage failure was delivered.");
}
