"""The package's contract: array conversions, exceptions, caller data, threads and files."""

import gc
import re
from concurrent.futures import ThreadPoolExecutor

import meshio
import numpy as np
import pytest

import filum
from filum import _testing

SQUARE = np.array([[0, 0], [1, 0], [1, 1], [0, 1]], float)
LOOP = np.array([[0, 1], [1, 2], [2, 3], [3, 0]], np.uint32)


def test_version():
    assert filum.__version__ == filum.version() == "5.4.1.0"


@pytest.mark.parametrize("call, message", [
    # impossible shapes name the argument
    (lambda: filum.mesh_line([0.0, 1.0], [0, 1], [1.0, 1.0]),
     "argument 'pos' must have shape (N, 2) or (N, 3)"),
    (lambda: filum.mesh_line(SQUARE, [[0, 1]], [1.0, 1.0]),
     "argument 'indices' must have shape (N,)"),
    (lambda: filum.mesh_line(SQUARE, [0, 1], metrics=np.ones((2, 4))),
     "argument 'metrics' must have shape (N, 3)"),
    (lambda: filum.remesh(SQUARE, [[0, 1, 2]], 0.1), "argument 'edges' must have shape (E, 2)"),
    (lambda: filum.extrude_translate(start_point=[0, 0], translation=[1, 0, 0], n_elements=2),
     "argument 'translation' must have shape (2,)"),
    (lambda: filum.metrics_gen_aniso2d(vectors=np.ones((1, 3)), nodes=[0], h1=1, h2=1),
     "argument 'vectors' must have shape (N, 2)"),
    # identifiers must be integers that fit
    (lambda: filum.mesh_line(SQUARE, [0.0, 1.0], [1.0, 1.0]),
     "mesh_line: argument 'indices' must hold integers"),
    (lambda: filum.mesh_line(SQUARE, [-1, 1], [1.0, 1.0]),
     "mesh_line: argument 'indices' holds values outside 0 .. 4294967295"),
    (lambda: filum.mesh_line(SQUARE, [0, 2**32], [1.0, 1.0]),
     "mesh_line: argument 'indices' holds values outside 0 .. 4294967295"),
    # calls that match no overload say what is missing
    (lambda: filum.extrude_rotate(start_point=[1, 0, 0], center=[0, 0, 0], angle=1.0,
                                  n_elements=2), "give 'angle' in the plane, 'rotation' in space"),
    (lambda: filum.extrude_translate(SQUARE, node=0, start_point=[0, 0], translation=[1, 0],
                                     n_elements=1), "either 'start_point' or 'node'"),
    (lambda: filum.mesh_straight(SQUARE, first=0, last=1), "give 'n_elements' or 'size_first'"),
    (lambda: filum.mesh_line(SQUARE, [0, 1], [1, 1], metrics=[[1, 0, 1]] * 2), "not both"),
    (lambda: filum.mesh_spline(SQUARE, [0, 0, 1, 1]), "give 'sizes' or 'metrics'"),
    (lambda: filum.length(SQUARE), "either 'indices' or 'connectM'"),
])
def test_bad_calls_raise_value_errors_saying_why(call, message):
    with pytest.raises(ValueError, match=re.escape(message)):
        call()


@pytest.mark.parametrize("call, operation, argument, code", [
    (lambda: filum.mesh_line(SQUARE, [0, 1], [1.0, -1.0]), "mesh_line", "sizes", -3),
    (lambda: filum.mesh_line(SQUARE, [0, 1], [1.0, 1.0], params=[1, 0]), "mesh_line", "params",
     -3),
    (lambda: filum.mesh_line(SQUARE, [0, 9], [1.0, 1.0]), "mesh_line", "indices", -2),
    (lambda: filum.length(SQUARE, [0, 7]), "length", "indices", -2),
    (lambda: filum.indices_to_connectE3([0, 1]), "indices_to_connectE3", "indices", -1),
    (lambda: filum.extrude_translate(start_point=[0, 0], translation=[1, 0], size_start=-1,
                                     size_end=1), "extrude_translate", "size_start", -4),
    (lambda: filum.mesh_straight(SQUARE, first=0, last=8, n_elements=2), "mesh_straight", "last",
     -3),
    (lambda: filum.remesh(SQUARE, LOOP, -1.0), "remesh", "size", -3),
    (lambda: filum.remesh(SQUARE, [[0, 9]], 1.0), "remesh", "edges", -2),
    (lambda: filum.mesh_polyline(SQUARE, -1.0), "mesh_polyline", "size", -3),
    (lambda: filum.mesh_curve(SQUARE, [1.0, 1, 1, 0]), "mesh_curve", "size", -3),
    (lambda: filum.remesh_lines(SQUARE, LOOP, 0.1, max_elements=0, min_elements=2),
     "remesh_lines", "min_elements", -9),
])
def test_codes_become_argument_errors(call, operation, argument, code):
    with pytest.raises(filum.ArgumentError) as caught:
        call()
    error = caught.value
    assert isinstance(error, ValueError)
    assert (error.operation, error.argument, error.code) == (operation, argument, code)
    assert str(error) == f"{operation}: argument '{argument}' is invalid (code {code})"


@pytest.mark.parametrize("call", [
    lambda: filum.remesh_lines(SQUARE, LOOP, 0.05, colors=[1, 1, 2, 2], chordal_tol=-0.01),
    lambda: filum.curvatures(SQUARE, [0, 1, 2, 3]),
    lambda: filum.remesh(SQUARE, LOOP, 0.05, colors=[1, 2, 3, 4]),
])
def test_storage_failures_raise_memory_error_and_nothing_else(call):
    expected, failures = call(), 0
    for n in range(1, 200):
        _testing.fail_nth_allocation(n)
        try:
            result = call()
        except MemoryError:
            failures += 1
            continue
        finally:
            _testing.fail_nth_allocation(0)
        if not _testing.injected_failure_happened():
            break
        for got, want in zip(result, expected):  # a failure the call absorbed changes nothing
            np.testing.assert_array_equal(got, want)
    assert failures > 0 and n < 199


def test_caller_arrays_are_left_untouched():
    pos, connect, colors = SQUARE.copy(), LOOP.copy(), np.array([1, 1, 2, 2], np.uint32)
    hard = np.array([2], np.uint32)
    given = [a.copy() for a in (pos, connect, colors, hard)]
    for a in (pos, connect, colors, hard):
        a.flags.writeable = False
    filum.remesh_lines(pos, connect, 0.1, colors=colors, hard_nodes=hard)
    filum.remesh(pos, connect, 0.1, colors=colors, hard_nodes=hard)
    filum.mesh_line(pos, np.arange(4), np.ones(4))
    for a, b in zip((pos, connect, colors, hard), given):
        np.testing.assert_array_equal(a, b)


def test_results_own_their_storage():
    line = [[0, 0, 0], [0, 3, 4]]
    pos = filum.mesh_line(line, [0, 1], metrics=[[1, 0, 1, 0, 0, 1]] * 2).pos  # tuple dropped
    again = filum.mesh_line(line, [0, 1], metrics=[[1, 0, 1, 0, 0, 1]] * 2)
    gc.collect()
    assert pos.shape == (6, 3) and pos.flags.writeable
    pos[:] = -1  # writing one result leaves the others alone
    np.testing.assert_allclose(again.pos[again.new_indices][:, 1], [0, 0.6, 1.2, 1.8, 2.4, 3])


def test_other_dtypes_orders_and_strides_are_converted():
    points = np.array([[0, 0], [3, 4], [6, 0]], float)
    expected = filum.mesh_polyline(points, 0.5)
    big = np.zeros((3, 6))
    big[:, ::3] = points
    for variant in (points.astype(np.float32), np.asfortranarray(points), big[:, ::3],
                    points.astype(int).tolist()):
        got = filum.mesh_polyline(variant, 0.5)
        np.testing.assert_allclose(got.points, expected.points, rtol=1e-6)
    chain = np.arange(6, dtype=np.int64)[::2] // 2  # strided int64 chain [0, 1, 2]
    assert filum.length(points, chain).total == pytest.approx(10)


def test_two_threads_mesh_at_once():
    angles = np.linspace(0, 2 * np.pi, 20001)[:-1]
    blob = np.c_[np.cos(angles), np.sin(angles)]
    edges = np.c_[np.arange(20000), (np.arange(20000) + 1) % 20000]
    expected = filum.remesh(blob, edges, 0.001)
    with ThreadPoolExecutor(2) as pool:
        results = list(pool.map(lambda _: filum.remesh(blob, edges, 0.001), range(2)))
    for got in results:
        np.testing.assert_array_equal(got.points, expected.points)
        np.testing.assert_array_equal(got.edges, expected.edges)


def test_workflows():
    square = filum.mesh_polyline(SQUARE, 0.25, closed=True)
    assert len(square.points) == len(square.edges) == 16
    assert square.edges[-1].tolist() == [15, 0]
    lengths = np.linalg.norm(np.diff(square.points[square.edges], axis=1)[:, 0], axis=1)
    np.testing.assert_allclose(lengths, 0.25)
    graded = filum.mesh_polyline([[0, 0], [10, 0]], [0.5, 2.0])  # one size per point
    np.testing.assert_allclose(graded.info["sizes"][[0, -1]], [0.5, 2.0])
    radius = 2.0
    ring = filum.mesh_curve(2 * SQUARE - 1, 0.1, closed=True)  # the spline rounds the square
    assert ring.info["max_deviation"] > 0 and len(ring.edges) == len(ring.points)
    line = filum.mesh_curve([[0, 0, 0], [1, 1, 1], [2, 2, 2]], 0.1 * np.sqrt(3))
    assert len(line.edges) == 20 and line.points.shape[1] == 3
    net = filum.remesh(radius * SQUARE, LOOP, 0.5, colors=[7, 7, 8, 8], hard_nodes=[1],
                       chordal_tol=0)
    assert len(net.edges) == 16 and sorted(set(net.colors)) == [7, 8]
    np.testing.assert_array_equal(net.points[net.info["hard_nodes"]], radius * SQUARE)  # corners
    assert net.info["report"]["elements_in"] == 4


@pytest.mark.parametrize("kwargs, edges", [
    (dict(), 12),                          # 3 edges of 1/3 per side of the square
    (dict(node_sizes=[0.5] * 4), 8),       # node sizes override the size
    (dict(hard_edges=[0]), 10),            # a hard edge is kept whole
    (dict(min_elements=5), 20),
    (dict(max_elements=2), 8),
    (dict(threads=2, on_curve=True), 12),
])
def test_remesh_takes_the_network_options(kwargs, edges):
    assert len(filum.remesh(SQUARE, LOOP, 0.3, chordal_tol=0, **kwargs).edges) == edges


@pytest.mark.parametrize("suffix, dim", [(".msh", 2), (".vtu", 2), (".vtu", 3)])
def test_mesh_written_reads_back(tmp_path, suffix, dim):
    points = np.c_[SQUARE, np.arange(4.0)][:, :dim]
    mesh = filum.remesh(points, LOOP, 0.25, colors=[1, 1, 2, 2], chordal_tol=0)
    path = tmp_path / f"square{suffix}"
    mesh.write(path)
    back = meshio.read(path)
    np.testing.assert_allclose(back.points[:, :dim], mesh.points)
    np.testing.assert_array_equal(back.cells_dict["line"], mesh.edges)
    assert [p.name for p in tmp_path.iterdir()] == [path.name]  # no temporary left behind
    assert path.stat().st_mode & 0o644 == 0o644


def test_failed_write_leaves_nothing(tmp_path):
    with pytest.raises(Exception):
        filum.mesh_polyline(SQUARE, 0.5).write(tmp_path / "square.unknown")
    assert list(tmp_path.iterdir()) == []
