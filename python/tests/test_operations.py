"""Every operation reachable through Python, its arguments passed through, on simple values."""

import numpy as np
import pytest

import filum

NO = filum.NO_ID
LINE = [[0, 0], [4, 0], [10, 0]]
SQUARE = [[0, 0], [1, 0], [1, 1], [0, 1]]
LOOP = [[0, 1], [1, 2], [2, 3], [3, 0]]


def steps(result, chain="new_indices"):
    """The edge lengths along a result's chain."""
    return np.linalg.norm(np.diff(result.pos[getattr(result, chain)], axis=0), axis=1)


@pytest.mark.parametrize("call, expected", [
    # connectivity: identifiers in and out are 0-based
    (lambda: filum.indices_to_connectE2([4, 5, 6]).connectE2, [[4, 5], [5, 6]]),
    (lambda: filum.indices_to_connectE2([1, 2], connectE2=[[7, 8]]).connectE2, [[7, 8], [1, 2]]),
    (lambda: filum.indices_to_connectE3([0, 1, 2, 3, 4]).connectE3, [[0, 2, 1], [2, 4, 3]]),
    (lambda: filum.split_into_linear([[0, 2, 1]]).connectE2, [[0, 1], [1, 2]]),
    (lambda: filum.convert_into_linear([[0, 2, 1]]).connectM, [[0, 2]]),
    (lambda: filum.flip([[0, 3, 1, 2]]).connectM, [[3, 0, 2, 1]]),
    (lambda: filum.convert_into_high_order([[0, 0], [3, 0]], [[0, 1]], 2).connectM_high,
     [[0, 1, 2, 3]]),
    (lambda: filum.convert_into_high_order([[0, 0], [3, 0]], [[0, 1]], 2).pos[2:],
     [[1, 0], [2, 0]]),
    (lambda: filum.convert_into_quadratic([[0, 0, 0], [2, 2, 2]], [[0, 1]]).pos[2], [1, 1, 1]),
    (lambda: filum.mesh_reorient([[0, 1], [2, 1]], [[1, NO], [0, NO]]).reversed, 1),
    # line meshes: every overload gives unit steps along 10
    (lambda: steps(filum.mesh_line(LINE, [0, 1, 2], [1.0] * 3)), [1] * 10),
    (lambda: steps(filum.mesh_line(LINE, [0, 1, 2], [1.0] * 3, params=[0, 0.4, 1])), [1] * 10),
    (lambda: steps(filum.mesh_line(LINE, [0, 1, 2], metrics=[[1.0, 0, 1]] * 3)), [1] * 10),
    (lambda: steps(filum.mesh_line(LINE, [0, 1, 2], [[1.0, 0, 1]] * 3, params=[0, 4, 10])),
     [1] * 10),
    (lambda: steps(filum.mesh_spline(LINE, [0, 0, 1, 2, 2], [1.0] * 5)), [1] * 10),
    (lambda: steps(filum.mesh_spline(LINE, [0, 0, 1, 2, 2], metrics=[[0.25, 0, 0.25]] * 5)),
     [2] * 5),
    (lambda: steps(filum.mesh_spline_on_curve(LINE, [0, 0, 1, 2, 2], [2.0] * 5)), [2] * 5),
    (lambda: filum.spline_point(LINE, 0, 0, 1, 2, 1.0).point, [4, 0]),
    (lambda: filum.spline_point(np.c_[LINE, [0, 0, 0]], 0, 1, 2, 2, 0.0).point, [4, 0, 0]),
    # rows end where the motion takes the start, evenly or graded
    (lambda: steps(filum.extrude_translate(start_point=[1, 0], translation=[4, 0],
                                           n_elements=4), "indices"), [1] * 4),
    (lambda: filum.extrude_translate(start_point=[1, 0, 0], translation=[0, 0, 2],
                                     n_elements=4).pos[-1], [1, 0, 2]),
    (lambda: filum.extrude_translate([[1, 0]], node=0, translation=[0, 3], n_elements=3).pos,
     [[1, 0], [1, 1], [1, 2], [1, 3]]),
    (lambda: np.diff(steps(filum.extrude_translate(start_point=[0, 0], translation=[10, 0],
                                                   size_start=1, size_end=4), "indices")) > 0,
     [True] * 4),  # 10 ln 4 / 3 = 4.62: 5 growing elements
    (lambda: filum.extrude_rotate(start_point=[1, 0], center=[0, 0], angle=np.pi / 2,
                                  n_elements=4).pos[-1], [0, 1]),
    (lambda: filum.extrude_rotate([[1, 0, 0]], node=0, center=[0, 0, 0],
                                  rotation=[0, 0, np.pi], n_elements=4).pos[-1], [-1, 0, 0]),
    (lambda: len(filum.extrude_rotate(start_point=[2, 0, 0], center=[0, 0, 0],
                                      rotation=[0, 0, np.pi], size_start=0.1, size_end=0.5,
                                      force_even=True).indices) % 2, 1),
    # fields
    (lambda: filum.interpolate_metrics([0, 1], [1.0, 3.0], [0, 0.25, 1]).new_sizes, [1, 1.5, 3]),
    (lambda: filum.interpolate_metrics([0, 1], metrics=[[1.0, 0, 1]] * 2,
                                       new_params=[0.5]).new_metrics, [[1, 0, 1]]),
    (lambda: filum.metrics_gen_aniso2d([[0, 0], [2, 0]], [[0, 1]], 0.5).metrics,
     [[0.25, 0, 4]] * 2),  # size 2 along the element, hn = 0.5 across
    (lambda: filum.metrics_gen_aniso2d(vectors=[[1, 0]], nodes=[0], h1=2.0, h2=0.5).metrics,
     [[0.25, 0, 4]]),
    (lambda: filum.metrics_gen_aniso3d([[0, 0, 0], [0, 0, 2]], [[0, 1]], 0.5).metrics,
     [[4, 0, 4, 0, 0, 0.25]] * 2),
    (lambda: filum.metrics_gen_aniso3d([[0, 0, 0], [1, 0, 0], [1, 1, 0]], [[0, 1], [1, 2]],
                                       hv=0.25, hw=4).metrics,  # a bend: hv in its plane
     [[1, 0, 1 / 16, 0, 0, 1 / 16], [16, 0, 16, 0, 0, 1 / 16], [1 / 16, 0, 1, 0, 0, 1 / 16]]),
    # measures and parameter tools
    (lambda: filum.length(SQUARE, [0, 1, 2]).total, 2),
    (lambda: filum.length(SQUARE, LOOP).total, 4),
    (lambda: filum.curvatures([[0, 0], [1, 0], [1, 1]], [0, 1, 2]).values, [np.sqrt(2)] * 3),
    (lambda: filum.normals(SQUARE, LOOP).values,
     np.array([[1, 1], [-1, 1], [-1, -1], [1, -1]]) / np.sqrt(2)),  # left of the loop: inward
    (lambda: filum.interpolate_coordinates([[0, 0], [2, 0], [9, 9]], [0, 1], [0, 1], [2],
                                           [0.25]).pos[2], [0.5, 0]),
    (lambda: filum.parametric_curvatures([0, 1, 3], [[0, 1], [1, 2]],
                                         [[1, -1], [-1, 1], [1, 1]]).values, [0, 1, 1]),
    (lambda: filum.sort([3.0, 1.0, 2.0, 1.0]), [[1, 1, 2, 3], [1, 3, 2, 0]]),
    (lambda: filum.sort([3.0, 1.0], ids=[7, 8]).ids, [8, 7]),
    (lambda: np.sort(filum.subdivide([0.0, 1.0], [0.25, 0.25], [0, 1]).params),
     np.linspace(0, 1, 5)),
])
def test_operation(call, expected):
    np.testing.assert_allclose(call(), expected, atol=1e-12)


@pytest.mark.parametrize("kwargs, elements", [
    (dict(indices=[0, 1, 2], sizes=[1.0, 1.0, 1.0]), 10),
    (dict(indices=[0, 1, 2], metrics=[[4.0, 0, 4.0]] * 3), 20),
    (dict(indices=[0, 1, 2], n_elements=5), 5),  # size 2: segments of 4 and 6
    (dict(first=0, last=2, n_elements=7), 7),
    (dict(first=0, middle=1, last=2, n_elements=5), 5),
    (dict(first=0, last=2, size_first=1.0, size_last=1.0), 10),
])
def test_mesh_straight_forms(kwargs, elements):
    result = filum.mesh_straight(LINE, **kwargs)
    assert len(result.new_indices) - 1 == elements
    assert steps(result).sum() == pytest.approx(10)


@pytest.mark.parametrize("kwargs, elements", [
    (dict(), 3), (dict(force_even=True), 4), (dict(min_elements=5), 5), (dict(max_elements=2), 2),
])
def test_subdivide_counts(kwargs, elements):
    params, sizes, chain = filum.subdivide([0.0, 1.0], [0.3, 0.3], [0, 1], **kwargs)
    assert len(chain) - 1 == elements and len(params) == len(sizes) == elements + 1


def test_result_types_and_remesh_lines_forms():
    assert isinstance(filum.mesh_line(LINE, [0, 1, 2], metrics=[[1.0, 0, 1]] * 3),
                      filum.LineMeshMetrics)
    square, loop = np.array(SQUARE, float), np.array(LOOP)
    plain = filum.remesh_lines(square, loop, 0.1)
    colored = filum.remesh_lines(square, loop, 0.1, colors=[1, 1, 2, 2])
    general = filum.remesh_lines(square, loop, 0.1, hard_nodes=[0], node_sizes=[0.05] * 4)
    for result, elements in ((plain, 40), (colored, 40)):
        assert len(result.connectM) == elements
        assert filum.length(result.pos, result.connectM).total == pytest.approx(4)
    assert sorted(set(colored.colors)) == [1, 2] and plain.colors is None
    assert len(general.connectM) == 80 and 0 in general.hard_nodes
