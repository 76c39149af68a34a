"""Every operation of the library under its own name, over numpy arrays.

Conventions: coordinates are (N, D) float64 arrays, D = 2 or 3; chains are 1-D uint32
arrays; connectivities are (E, K) uint32 arrays; metrics are (N, 3) in the plane and
(N, 6) in space. Other dtypes and memory orders are converted once; the caller's arrays are
never modified: every result is a new array, returned in a named tuple. Overloads are told
apart by keyword arguments and by the shapes of the arrays. A refused argument raises
ArgumentError, a storage failure MemoryError.
"""

from typing import NamedTuple, Optional, Union

import numpy as np
from numpy.typing import ArrayLike

from . import _core
from ._arrays import coords, count, point, reals
from ._arrays import ids as _ids
from ._errors import check

__all__ = [
    # operations
    "indices_to_connectE2", "indices_to_connectE3", "split_into_linear", "convert_into_linear",
    "flip", "convert_into_high_order", "convert_into_quadratic", "mesh_reorient", "mesh_line",
    "mesh_straight", "spline_point", "mesh_spline", "mesh_spline_on_curve",
    "extrude_translate", "extrude_rotate", "interpolate_metrics", "metrics_gen_aniso2d",
    "metrics_gen_aniso3d", "length", "curvatures", "interpolate_coordinates",
    "parametric_curvatures", "normals", "sort", "subdivide", "remesh_lines", "version",
    # their results
    "ConnectE2", "ConnectE3", "Connectivity", "HighOrder", "Quadratic", "Reoriented",
    "LineMesh", "LineMeshMetrics", "StraightMesh", "SplinePoint", "SplineMesh",
    "SplineMeshMetrics", "Row", "Sizes", "Metrics", "MetricField", "Length", "Values", "Placed",
    "Sorted", "Subdivided", "Remeshed",
    # constants
    "NO_ID", "UNSET", "MAX_ELEMENTS",
]

NO_ID: int = _core.no_id
UNSET: float = _core.unset
MAX_ELEMENTS: int = NO_ID - 1

_METRIC_WIDTHS = (3, 6)


def _run(operation: str, names: tuple, function, *args, storage: int = -199) -> list:
    code, *outputs = function(*args)
    check(operation, names, code, storage)
    return outputs


def _empty_conn(rows: int) -> np.ndarray:
    return np.empty((0, rows), dtype=np.uint32)


def _is_matrix(value: ArrayLike) -> bool:
    return np.ndim(value) == 2


# --- connectivity -------------------------------------------------------------------------


class ConnectE2(NamedTuple):
    connectE2: np.ndarray


class ConnectE3(NamedTuple):
    connectE3: np.ndarray


class Connectivity(NamedTuple):
    connectM: np.ndarray


class HighOrder(NamedTuple):
    pos: np.ndarray
    connectM_high: np.ndarray


class Quadratic(NamedTuple):
    pos: np.ndarray
    connectM: np.ndarray


class Reoriented(NamedTuple):
    connectM: np.ndarray
    neighbors: np.ndarray
    reversed: int


def _append_elements(op: str, names: tuple, function, source: ArrayLike, source_ndim: int,
                     target: Optional[ArrayLike], rows: int) -> list:
    """Runs an operation that appends elements of `rows` nodes to a connectivity (new when
    target is None) from a chain or a connectivity."""
    base = _empty_conn(rows) if target is None else _ids(op, names[1], target, 2)
    return _run(op, names, function, _ids(op, names[0], source, source_ndim), base)


def indices_to_connectE2(indices: ArrayLike, connectE2: Optional[ArrayLike] = None) -> ConnectE2:
    """The n - 1 E2 elements [a, b] of a node chain, appended to connectE2 when given."""
    return ConnectE2(*_append_elements("indices_to_connectE2", ("indices", "connectE2"),
                                       _core.indices_to_connectE2, indices, 1, connectE2, 2))


def indices_to_connectE3(indices: ArrayLike, connectE3: Optional[ArrayLike] = None) -> ConnectE3:
    """The (n - 1) / 2 E3 elements [start, end, middle] of a chain of odd length."""
    return ConnectE3(*_append_elements("indices_to_connectE3", ("indices", "connectE3"),
                                       _core.indices_to_connectE3, indices, 1, connectE3, 3))


def split_into_linear(connectE3: ArrayLike, connectE2: Optional[ArrayLike] = None) -> ConnectE2:
    """Two E2 elements [s, m], [m, e] per E3 element [s, e, m], appended to connectE2."""
    return ConnectE2(*_append_elements("split_into_linear", ("connectE3", "connectE2"),
                                       _core.split_into_linear, connectE3, 2, connectE2, 2))


def convert_into_linear(connectM: ArrayLike) -> Connectivity:
    """The elements without their interior nodes: columns 0 and 1 of connectM."""
    op = "convert_into_linear"
    out = _run(op, ("connectM",), _core.convert_into_linear, _ids(op, "connectM", connectM, 2))
    return Connectivity(*out)


def flip(connectM: ArrayLike) -> Connectivity:
    """Every element reversed: [s, e, i1, ..., iK] becomes [e, s, iK, ..., i1]."""
    out = _run("flip", ("connectM",), _core.flip, _ids("flip", "connectM", connectM, 2))
    return Connectivity(*out)


def convert_into_high_order(pos: ArrayLike, connectM: ArrayLike, interior_count: int) -> HighOrder:
    """Gives every edge interior_count new nodes evenly spaced on its chord.

    Returns pos with the new nodes appended (edge e gets N + e K ... N + e K + K - 1) and
    connectM_high, [start, end, interior nodes] per edge. (The library's in-place form of
    this call gives the same arrays.)
    """
    op = "convert_into_high_order"
    out = _run(op, ("pos", "connectM", "interior_count"), _core.convert_into_high_order,
               coords(op, "pos", pos, (1, 2, 3)), _ids(op, "connectM", connectM, 2),
               count(op, "interior_count", interior_count))
    return HighOrder(*out)


def convert_into_quadratic(pos: ArrayLike, connectM: ArrayLike) -> Quadratic:
    """E2 elements to E3: one new node in the middle of every edge."""
    op = "convert_into_quadratic"
    out = _run(op, ("pos", "connectM"), _core.convert_into_quadratic,
               coords(op, "pos", pos, (1, 2, 3)), _ids(op, "connectM", connectM, 2))
    return Quadratic(*out)


def mesh_reorient(connectM: ArrayLike, neighbors: ArrayLike, start_element: int = 0,
                  all_components: bool = False) -> Reoriented:
    """Orients the elements consistently, spreading start_element's orientation breadth first.

    neighbors has connectM's shape: column 0 the element sharing the end node, column 1 the
    one sharing the start node. Returns both tables and the number of reversed elements.
    """
    op = "mesh_reorient"
    code, connect, neighbors = _core.mesh_reorient(
        _ids(op, "connectM", connectM, 2), _ids(op, "neighbors", neighbors, 2),
        count(op, "start_element", start_element), int(bool(all_components)))
    check(op, ("connectM", "neighbors", "start_element", "all_components"), code)
    return Reoriented(connect, neighbors, code)


# --- line meshing -------------------------------------------------------------------------


class LineMesh(NamedTuple):
    pos: np.ndarray
    new_indices: np.ndarray
    new_params: np.ndarray
    new_sizes: np.ndarray


class LineMeshMetrics(NamedTuple):
    pos: np.ndarray
    new_indices: np.ndarray
    new_params: np.ndarray
    new_metrics: np.ndarray


class StraightMesh(NamedTuple):
    pos: np.ndarray
    new_indices: np.ndarray


def _pick_field(op: str, sizes, metrics, required: bool = True):
    """The size or metric field given by keyword, or positionally as sizes with 2-D shape;
    one of the two is needed when required."""
    if sizes is not None and metrics is not None:
        raise ValueError(f"{op}: give either 'sizes' or 'metrics', not both")
    if required and sizes is None and metrics is None:
        raise ValueError(f"{op}: give 'sizes' or 'metrics'")
    if sizes is not None and _is_matrix(sizes):
        return None, sizes
    return sizes, metrics


def mesh_line(pos: ArrayLike, indices: ArrayLike, sizes: Optional[ArrayLike] = None, *,
              metrics: Optional[ArrayLike] = None, params: Optional[ArrayLike] = None,
              force_even: bool = False, min_elements: int = 1,
              max_elements: int = MAX_ELEMENTS, chordal_tol: float = 0.0,
              min_size: float = 0.0) -> Union["LineMesh", "LineMeshMetrics"]:
    """Meshes the polyline through the chain indices into elements that follow a field.

    The field is sizes (one per chain entry) or metrics ((n, 3) or (n, 6)); params are the
    chain's non-decreasing curvilinear parameters (default: the normalized chord length).
    chordal_tol > 0 bounds the distance of given interior nodes from the mesh, < 0 caps
    sizes to a relative sag; 0 is off. Returns pos with the new nodes appended, the new
    chain, its parameters and its sizes (LineMesh) or metrics (LineMeshMetrics).
    """
    op = "mesh_line"
    sizes, metrics = _pick_field(op, sizes, metrics)
    p = coords(op, "pos", pos)
    chain = _ids(op, "indices", indices)
    knobs = (bool(force_even), count(op, "min_elements", min_elements),
             count(op, "max_elements", max_elements), float(chordal_tol), float(min_size))
    tail = ("force_even", "min_elements", "max_elements", "chordal_tol", "min_size")
    field_name = "sizes" if metrics is None else "metrics"
    field = (reals(op, "sizes", sizes) if metrics is None
             else reals(op, "metrics", metrics, 2, _METRIC_WIDTHS))
    result = LineMesh if metrics is None else LineMeshMetrics
    if params is None:
        function = _core.mesh_line__sizes if metrics is None else _core.mesh_line__metrics
        out = _run(op, ("pos", "indices", field_name) + tail, function, p, chain, field, *knobs)
    else:
        function = (_core.mesh_line__sizes_params if metrics is None
                    else _core.mesh_line__metrics_params)
        out = _run(op, ("pos", "indices", "params", field_name) + tail, function, p, chain,
                   reals(op, "params", params), field, *knobs)
    return result(*out)


def mesh_straight(pos: ArrayLike, indices: Optional[ArrayLike] = None,
                  sizes: Optional[ArrayLike] = None, *, metrics: Optional[ArrayLike] = None,
                  n_elements: Optional[int] = None, force_even: bool = False,
                  first: Optional[int] = None, middle: Optional[int] = None,
                  last: Optional[int] = None, size_first: Optional[float] = None,
                  size_last: Optional[float] = None) -> StraightMesh:
    """Meshes every segment of a chain as a straight edge of its own, keeping every node.

    Forms: (pos, indices, sizes) or metrics=...; (pos, indices, n_elements=...) for a
    uniform size; (pos, first=, last=, n_elements=); (pos, first=, middle=, last=,
    n_elements=); (pos, first=, last=, size_first=, size_last=). Returns pos with the new
    nodes appended and the new chain.
    """
    op = "mesh_straight"
    p = coords(op, "pos", pos)
    if indices is not None:
        chain = _ids(op, "indices", indices)
        sizes, metrics = _pick_field(op, sizes, metrics, required=False)
        if sizes is not None:
            out = _run(op, ("pos", "indices", "sizes", "force_even"), _core.mesh_straight__sizes,
                       p, chain, reals(op, "sizes", sizes), bool(force_even))
        elif metrics is not None:
            out = _run(op, ("pos", "indices", "metrics", "force_even"),
                       _core.mesh_straight__metrics, p, chain,
                       reals(op, "metrics", metrics, 2, _METRIC_WIDTHS), bool(force_even))
        elif n_elements is not None:
            out = _run(op, ("pos", "indices", "n_elements", "force_even"),
                       _core.mesh_straight__count, p, chain,
                       count(op, "n_elements", n_elements), bool(force_even))
        else:
            raise ValueError(f"{op}: give 'sizes', 'metrics' or 'n_elements' with 'indices'")
        return StraightMesh(*out)
    if first is None or last is None:
        raise ValueError(f"{op}: give 'indices', or 'first' and 'last'")
    ends = (count(op, "first", first), count(op, "last", last))
    if size_first is not None or size_last is not None:
        if size_first is None or size_last is None:
            raise ValueError(f"{op}: give both 'size_first' and 'size_last'")
        out = _run(op, ("pos", "first", "last", "size_first", "size_last", "force_even"),
                   _core.mesh_straight__two_sizes, p, *ends, float(size_first),
                   float(size_last), bool(force_even))
    elif n_elements is None:
        raise ValueError(f"{op}: give 'n_elements' or 'size_first' and 'size_last'")
    elif middle is not None:
        out = _run(op, ("pos", "first", "middle", "last", "n_elements"),
                   _core.mesh_straight__three, p, ends[0], count(op, "middle", middle), ends[1],
                   count(op, "n_elements", n_elements))
    else:
        out = _run(op, ("pos", "first", "last", "n_elements"), _core.mesh_straight__two, p,
                   *ends, count(op, "n_elements", n_elements))
    return StraightMesh(*out)


# --- splines ------------------------------------------------------------------------------


class SplinePoint(NamedTuple):
    point: np.ndarray


class SplineMesh(NamedTuple):
    pos: np.ndarray
    new_indices: np.ndarray
    new_params: np.ndarray
    new_sizes: np.ndarray
    max_deviation: float


class SplineMeshMetrics(NamedTuple):
    pos: np.ndarray
    new_indices: np.ndarray
    new_params: np.ndarray
    new_metrics: np.ndarray
    max_deviation: float


def spline_point(pos: ArrayLike, i0: int, i1: int, i2: int, i3: int, t: float) -> SplinePoint:
    """The point at local parameter t of the spline piece from node i1 to node i2, with
    neighbors i0 and i3 (i0 = i1 or i3 = i2: no tangent at that end)."""
    op = "spline_point"
    p = coords(op, "pos", pos)
    function = _core.spline_point__2d if p.shape[1] == 2 else _core.spline_point__3d
    nodes = [count(op, name, v) for name, v in zip(("i0", "i1", "i2", "i3"), (i0, i1, i2, i3))]
    out = _run(op, ("pos", "i0", "i1", "i2", "i3", "t", "point"), function, p, *nodes, float(t))
    return SplinePoint(*out)


def _spline_knobs(op, force_even, min_elements, max_elements, chordal_tol, min_size,
                  default_size, max_gradation) -> tuple:
    return (bool(force_even), count(op, "min_elements", min_elements),
            count(op, "max_elements", max_elements), float(chordal_tol), float(min_size),
            float(default_size), float(max_gradation))


_SPLINE_TAIL = ("force_even", "min_elements", "max_elements", "chordal_tol", "min_size",
                "default_size", "max_gradation")


def mesh_spline(pos: ArrayLike, indices: ArrayLike, sizes: Optional[ArrayLike] = None, *,
                metrics: Optional[ArrayLike] = None, force_even: bool = False,
                min_elements: int = 1, max_elements: int = MAX_ELEMENTS,
                chordal_tol: float = 0.0, min_size: float = 0.0, default_size: float = 0.0,
                max_gradation: float = 0.0) -> Union["SplineMesh", "SplineMeshMetrics"]:
    """Meshes the smooth spline through a padded chain [ghost, spline nodes..., ghost].

    A ghost equal to its neighbor gives no end tangent; a closed loop p0 ... pm = p0 is
    padded as [pm-1, p0, ..., pm, p1]. sizes has one entry per chain entry, or metrics one
    row. chordal_tol > 0 is a distance, < 0 a fraction of the radius of curvature.
    Returns pos with the new nodes, the new chain, its parameters, its sizes or metrics and
    the largest distance of the spline from the node polyline.
    """
    op = "mesh_spline"
    sizes, metrics = _pick_field(op, sizes, metrics)
    p = coords(op, "pos", pos)
    chain = _ids(op, "indices", indices)
    knobs = _spline_knobs(op, force_even, min_elements, max_elements, chordal_tol, min_size,
                          default_size, max_gradation)
    if metrics is None:
        out = _run(op, ("pos", "indices", "sizes") + _SPLINE_TAIL, _core.mesh_spline__sizes, p,
                   chain, reals(op, "sizes", sizes), *knobs, False)
        return SplineMesh(*out)
    out = _run(op, ("pos", "indices", "metrics") + _SPLINE_TAIL, _core.mesh_spline__metrics, p,
               chain, reals(op, "metrics", metrics, 2, _METRIC_WIDTHS), *knobs)
    return SplineMeshMetrics(*out)


def mesh_spline_on_curve(pos: ArrayLike, indices: ArrayLike, sizes: ArrayLike, *,
                         force_even: bool = False, min_elements: int = 1,
                         max_elements: int = MAX_ELEMENTS, chordal_tol: float = 0.0,
                         min_size: float = 0.0, default_size: float = 0.0,
                         max_gradation: float = 0.0) -> SplineMesh:
    """mesh_spline with sizes, the new nodes placed on the spline itself at their parameter
    (the network engine's placement); arguments and results as mesh_spline."""
    op = "mesh_spline_on_curve"
    knobs = _spline_knobs(op, force_even, min_elements, max_elements, chordal_tol, min_size,
                          default_size, max_gradation)
    out = _run(op, ("pos", "indices", "sizes") + _SPLINE_TAIL, _core.mesh_spline__sizes,
               coords(op, "pos", pos), _ids(op, "indices", indices), reals(op, "sizes", sizes),
               *knobs, True)
    return SplineMesh(*out)


# --- extrusion ----------------------------------------------------------------------------


class Row(NamedTuple):
    pos: np.ndarray
    indices: np.ndarray


def _extrude(op: str, kind: str, pos, start_point, node, motion_name: str, motion, extra,
             n_elements, size_start, size_end, force_even) -> Row:
    """The one worker behind extrude_translate and extrude_rotate: picks the start (a point
    or a node), the dimension and the row (uniform or graded)."""
    if (start_point is None) == (node is None):
        raise ValueError(f"{op}: give either 'start_point' or 'node'")
    if start_point is not None:
        start = point(op, "start_point", start_point)
        dim = start.shape[0]
        p = (np.empty((0, dim)) if pos is None or np.size(pos) == 0
             else coords(op, "pos", pos))
        first = ("pos", "start_point")
        where = "point"
    else:
        if pos is None:
            raise ValueError(f"{op}: 'pos' is needed to start from a node")
        p = coords(op, "pos", pos)
        dim = p.shape[1]
        start = count(op, "node", node)
        first = ("pos", "node")
        where = "node"
    vectors = [point(op, name, v, (dim,)) if name != "angle" else float(v)
               for name, v in ((motion_name, motion),) + extra]
    names = first + (motion_name,) + tuple(name for name, _ in extra)
    if kind == "extrude_rotate" and (names[-1] == "angle") != (dim == 2):
        raise ValueError(f"{op}: give 'angle' in the plane, 'rotation' in space")
    suffix = f"_{where}_{dim}d"
    if n_elements is not None:
        function = getattr(_core, f"{kind}__uniform{suffix}")
        out = _run(op, names + ("n_elements",), function, p, start, *vectors,
                   count(op, "n_elements", n_elements))
    elif size_start is not None and size_end is not None:
        function = getattr(_core, f"{kind}__graded{suffix}")
        out = _run(op, names + ("size_start", "size_end", "force_even"), function, p, start,
                   *vectors, float(size_start), float(size_end), bool(force_even))
    else:
        raise ValueError(f"{op}: give 'n_elements', or 'size_start' and 'size_end'")
    return Row(*out)


def extrude_translate(pos: Optional[ArrayLike] = None, *, start_point: Optional[ArrayLike] = None,
                      node: Optional[int] = None, translation: ArrayLike,
                      n_elements: Optional[int] = None, size_start: Optional[float] = None,
                      size_end: Optional[float] = None, force_even: bool = False) -> Row:
    """A row of nodes along translation, from start_point (appended first) or from an
    existing node: n_elements evenly spaced, or graded from size_start to size_end. The
    dimension is that of the start point or of pos. Returns pos and the row's chain."""
    return _extrude("extrude_translate", "extrude_translate", pos, start_point, node,
                    "translation", translation, (), n_elements, size_start, size_end,
                    force_even)


def extrude_rotate(pos: Optional[ArrayLike] = None, *, start_point: Optional[ArrayLike] = None,
                   node: Optional[int] = None, center: ArrayLike,
                   angle: Optional[float] = None, rotation: Optional[ArrayLike] = None,
                   n_elements: Optional[int] = None, size_start: Optional[float] = None,
                   size_end: Optional[float] = None, force_even: bool = False) -> Row:
    """A row of nodes on an arc about center, from start_point or an existing node.

    In the plane the arc turns by angle (radians, counter-clockwise); in space about the
    axis through center along rotation, whose length is the angle (right-hand rule).
    n_elements evenly spaced in angle, or graded from size_start to size_end.
    """
    op = "extrude_rotate"
    if (angle is None) == (rotation is None):
        raise ValueError(f"{op}: give 'angle' (plane) or 'rotation' (space)")
    extra = (("angle", angle),) if rotation is None else (("rotation", rotation),)
    return _extrude(op, op, pos, start_point, node, "center", center, extra, n_elements,
                    size_start, size_end, force_even)


# --- size and metric fields ---------------------------------------------------------------


class Sizes(NamedTuple):
    new_sizes: np.ndarray


class Metrics(NamedTuple):
    new_metrics: np.ndarray


class MetricField(NamedTuple):
    metrics: np.ndarray


def interpolate_metrics(params: ArrayLike, sizes: Optional[ArrayLike] = None,
                        new_params: Optional[ArrayLike] = None, *,
                        metrics: Optional[ArrayLike] = None) -> Union["Sizes", "Metrics"]:
    """Interpolates sizes (1-D) or metrics ((N, 1), (N, 3) or (N, 6)) known at params onto
    new_params; metrics vary linearly in size along the common directions of each pair."""
    op = "interpolate_metrics"
    sizes, metrics = _pick_field(op, sizes, metrics)
    if new_params is None:
        raise ValueError(f"{op}: give 'new_params'")
    known = reals(op, "params", params)
    wanted = reals(op, "new_params", new_params)
    if metrics is None:
        out = _run(op, ("params", "sizes", "new_params"), _core.interpolate_metrics__sizes,
                   known, reals(op, "sizes", sizes), wanted)
        return Sizes(*out)
    out = _run(op, ("params", "metrics", "new_params"), _core.interpolate_metrics__metrics,
               known, reals(op, "metrics", metrics, 2, (1, 3, 6)), wanted)
    return Metrics(*out)


def _metrics_base(op: str, metrics: Optional[ArrayLike], width: int) -> np.ndarray:
    if metrics is None:
        return np.empty((0, width))
    return reals(op, "metrics", metrics, 2, (width,))


def metrics_gen_aniso2d(pos: Optional[ArrayLike] = None, connectM: Optional[ArrayLike] = None,
                        hn: Optional[float] = None, metrics: Optional[ArrayLike] = None, *,
                        vectors: Optional[ArrayLike] = None, nodes: Optional[ArrayLike] = None,
                        h1: Optional[float] = None, h2: Optional[float] = None) -> MetricField:
    """Merges plane metrics into metrics (intersection with what a node holds).

    Forms: (pos, connectM, hn): at the nodes of every E2 element, its length along it and
    hn across (0: the length; < 0: |hn| x the length); (vectors=, nodes=, h1=, h2=): at
    each listed node, h1 along the node's vector and h2 across it.
    """
    op = "metrics_gen_aniso2d"
    base = _metrics_base(op, metrics, 3)
    if vectors is not None:
        if nodes is None or h1 is None or h2 is None:
            raise ValueError(f"{op}: give 'vectors', 'nodes', 'h1' and 'h2' together")
        out = _run(op, ("vectors", "nodes", "h1", "h2", "metrics"),
                   _core.metrics_gen_aniso2d__vectors, coords(op, "vectors", vectors, (2,)),
                   _ids(op, "nodes", nodes), float(h1), float(h2), base)
        return MetricField(*out)
    if pos is None or connectM is None or hn is None:
        raise ValueError(f"{op}: give 'pos', 'connectM' and 'hn', or 'vectors' and 'nodes'")
    out = _run(op, ("pos", "connectM", "hn", "metrics"), _core.metrics_gen_aniso2d__elements,
               coords(op, "pos", pos), _ids(op, "connectM", connectM, 2), float(hn), base)
    return MetricField(*out)


def metrics_gen_aniso3d(pos: ArrayLike, connectM: ArrayLike, hn: Optional[float] = None,
                        metrics: Optional[ArrayLike] = None, *, hv: Optional[float] = None,
                        hw: Optional[float] = None) -> MetricField:
    """Merges space metrics from E2 elements into metrics: the element length along each
    element and hn in both normal directions, or (hv=, hw=) hv along the principal normal
    of the bend at each node and hw along its binormal."""
    op = "metrics_gen_aniso3d"
    p = coords(op, "pos", pos)
    connect = _ids(op, "connectM", connectM, 2)
    base = _metrics_base(op, metrics, 6)
    if hv is not None or hw is not None:
        if hv is None or hw is None or hn is not None:
            raise ValueError(f"{op}: give 'hv' and 'hw' together, without 'hn'")
        out = _run(op, ("pos", "connectM", "hv", "hw", "metrics"),
                   _core.metrics_gen_aniso3d__frame, p, connect, float(hv), float(hw), base)
        return MetricField(*out)
    if hn is None:
        raise ValueError(f"{op}: give 'hn', or 'hv' and 'hw'")
    out = _run(op, ("pos", "connectM", "hn", "metrics"), _core.metrics_gen_aniso3d__normal, p,
               connect, float(hn), base)
    return MetricField(*out)


# --- geometric measures and parameter tools -----------------------------------------------


class Length(NamedTuple):
    total: float


class Values(NamedTuple):
    values: np.ndarray


class Placed(NamedTuple):
    pos: np.ndarray


class Sorted(NamedTuple):
    values: np.ndarray
    ids: np.ndarray


class Subdivided(NamedTuple):
    params: np.ndarray
    sizes: np.ndarray
    new_indices: np.ndarray


def length(pos: ArrayLike, indices: Optional[ArrayLike] = None, *,
           connectM: Optional[ArrayLike] = None) -> Length:
    """Total length of a node chain (1-D indices) or of edge elements (connectM, or a 2-D
    array given as indices), measured between their first two nodes."""
    op = "length"
    p = coords(op, "pos", pos)
    if connectM is None and indices is not None and _is_matrix(indices):
        indices, connectM = None, indices
    if (indices is None) == (connectM is None):
        raise ValueError(f"{op}: give either 'indices' or 'connectM'")
    if connectM is not None:
        return Length(*_run(op, ("pos", "connectM"), _core.length__elements, p,
                            _ids(op, "connectM", connectM, 2)))
    return Length(*_run(op, ("pos", "indices"), _core.length__chain, p,
                        _ids(op, "indices", indices)))


def curvatures(pos: ArrayLike, indices: ArrayLike) -> Values:
    """Curvature estimate at every entry of a chain from the turning of its segments."""
    op = "curvatures"
    return Values(*_run(op, ("pos", "indices"), _core.curvatures, coords(op, "pos", pos),
                        _ids(op, "indices", indices)))


def interpolate_coordinates(pos: ArrayLike, indices: ArrayLike, params: ArrayLike,
                            new_indices: ArrayLike, new_params: ArrayLike) -> Placed:
    """pos with the nodes new_indices placed on the polyline indices at new_params, by
    linear interpolation in the chain's parameters params."""
    op = "interpolate_coordinates"
    out = _run(op, ("pos", "indices", "params", "new_indices", "new_params"),
               _core.interpolate_coordinates, coords(op, "pos", pos), _ids(op, "indices", indices),
               reals(op, "params", params), _ids(op, "new_indices", new_indices),
               reals(op, "new_params", new_params))
    return Placed(*out)


def parametric_curvatures(params: ArrayLike, connectM: ArrayLike,
                          derivatives: ArrayLike) -> Values:
    """Curvature at the nodes of a parametric line mesh from dr/du at each node ((N, 2) or
    (N, 3)), averaged over the elements weighted by their parameter spans."""
    op = "parametric_curvatures"
    out = _run(op, ("params", "connectM", "derivatives"), _core.parametric_curvatures,
               reals(op, "params", params), _ids(op, "connectM", connectM, 2),
               coords(op, "derivatives", derivatives))
    return Values(*out)


def normals(pos: ArrayLike, connectM: ArrayLike, exponent: float = 0.0,
            normalize: bool = True) -> Values:
    """Node normals (N, 2) of a planar line mesh from its element normals (left of each
    element) weighted by length**exponent; exponent UNSET takes the longest element,
    -UNSET the shortest."""
    op = "normals"
    out = _run(op, ("pos", "connectM", "exponent", "normalize"), _core.normals,
               coords(op, "pos", pos), _ids(op, "connectM", connectM, 2), float(exponent),
               bool(normalize))
    return Values(*out)


def sort(values: ArrayLike, ids: Optional[ArrayLike] = None) -> Sorted:
    """values sorted ascending together with their identifiers ids (default 0 .. n - 1);
    equal values by ascending identifier."""
    op = "sort"
    keys = reals(op, "values", values)
    tags = (np.arange(keys.shape[0], dtype=np.uint32) if ids is None
            else _ids(op, "ids", ids))
    return Sorted(*_run(op, ("values", "ids"), _core.sort, keys, tags))


def subdivide(params: ArrayLike, sizes: ArrayLike, indices: ArrayLike, *,
              raise_count: bool = False, force_even: bool = False, min_elements: int = 1,
              max_elements: int = MAX_ELEMENTS) -> Subdivided:
    """Meshes a chain (positions in params) in parameter space only: returns params and
    sizes with the new nodes' values appended, and the new chain."""
    op = "subdivide"
    out = _run(op, ("params", "sizes", "indices", "raise_count", "force_even", "min_elements",
                    "max_elements"), _core.subdivide, reals(op, "params", params),
               reals(op, "sizes", sizes), _ids(op, "indices", indices), bool(raise_count),
               bool(force_even), count(op, "min_elements", min_elements),
               count(op, "max_elements", max_elements))
    return Subdivided(*out)


# --- remeshing ----------------------------------------------------------------------------


class Remeshed(NamedTuple):
    pos: np.ndarray
    connectM: np.ndarray
    colors: Optional[np.ndarray]
    hard_nodes: Optional[np.ndarray]


def remesh_lines(pos: ArrayLike, connectM: ArrayLike, default_size: float, *,
                 node_sizes: Optional[ArrayLike] = None, colors: Optional[ArrayLike] = None,
                 hard_nodes: Optional[ArrayLike] = None, hard_edges: Optional[ArrayLike] = None,
                 force_even: bool = False, corner_angle: float = 30.0,
                 chordal_tol: float = 0.0, max_gradation: float = 0.0, min_size: float = 0.0,
                 min_elements: int = 1, max_elements: int = MAX_ELEMENTS) -> Remeshed:
    """Remeshes a network of E2 elements line by line, cut at free ends, corners, joints,
    color changes, hard nodes and hard edges.

    chordal_tol 0: polylines only; > 0: spline where it stays within the tolerance; < 0:
    spline always. Returns pos with the new nodes, the new elements, their colors and
    every hard node (None where the form called had none).
    """
    op = "remesh_lines"
    p = coords(op, "pos", pos)
    connect = _ids(op, "connectM", connectM, 2)
    knobs = (bool(force_even), float(corner_angle), float(chordal_tol), float(max_gradation),
             float(min_size), count(op, "min_elements", min_elements),
             count(op, "max_elements", max_elements))
    tail = ("force_even", "corner_angle", "chordal_tol", "max_gradation", "min_size",
            "min_elements", "max_elements")
    if node_sizes is not None or hard_nodes is not None or hard_edges is not None:
        out = _run(op, ("pos", "connectM", "default_size", "node_sizes", "colors",
                        "hard_nodes", "hard_edges") + tail, _core.remesh_lines__general, p,
                   connect, float(default_size), _optional_reals(op, "node_sizes", node_sizes),
                   _optional_ids(op, "colors", colors), _optional_ids(op, "hard_nodes", hard_nodes),
                   _optional_ids(op, "hard_edges", hard_edges), *knobs)
        return Remeshed(*out)
    if colors is not None:
        out = _run(op, ("pos", "connectM", "default_size", "colors") + tail,
                   _core.remesh_lines__colors, p, connect, float(default_size),
                   _ids(op, "colors", colors), *knobs, storage=-196)
        return Remeshed(*out, None)
    out = _run(op, ("pos", "connectM", "default_size") + tail, _core.remesh_lines__plain, p,
               connect, float(default_size), *knobs, storage=-195)
    return Remeshed(*out, None, None)


def _optional_ids(op: str, name: str, value: Optional[ArrayLike]) -> np.ndarray:
    return np.empty(0, np.uint32) if value is None else _ids(op, name, value)


def _optional_reals(op: str, name: str, value: Optional[ArrayLike]) -> np.ndarray:
    return np.empty(0) if value is None else reals(op, name, value)


def version() -> str:
    """The library's version, "5.4.1.0"."""
    return _core.version()
