"""Each family of operations through Python, against values computed here."""

import numpy as np
import pytest

import filum

NO = filum.NO_ID


def circle(n, radius=1.0, closed_repeat=False):
    t = np.linspace(0, 2 * np.pi, n + 1)[: n + (1 if closed_repeat else 0)]
    return np.c_[radius * np.cos(t), radius * np.sin(t)]


def edge_lengths(pos, chain):
    return np.linalg.norm(np.diff(pos[chain], axis=0), axis=1)


@pytest.mark.parametrize("call, expected", [
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
])
def test_connectivity(call, expected):
    np.testing.assert_array_equal(call(), expected)


def test_mesh_line_forms_give_uniform_rows():
    pos, chain = [[0, 0], [4, 0], [10, 0]], [0, 1, 2]
    metric = [[1.0, 0, 1.0]] * 3  # unit length in every direction
    for result in (filum.mesh_line(pos, chain, [1.0] * 3),
                   filum.mesh_line(pos, chain, [1.0] * 3, params=[0, 0.4, 1]),
                   filum.mesh_line(pos, chain, metrics=metric),
                   filum.mesh_line(pos, chain, metric, params=[0, 4, 10])):
        np.testing.assert_allclose(edge_lengths(result.pos, result.new_indices), 1.0)
        assert result.new_indices[0] == 0 and result.new_indices[-1] == 2
    assert isinstance(filum.mesh_line(pos, chain, metric), filum.LineMeshMetrics)


@pytest.mark.parametrize("kwargs, elements", [
    (dict(indices=[0, 1, 2], sizes=[1.0, 1.0, 1.0]), 10),
    (dict(indices=[0, 1, 2], metrics=[[4.0, 0, 4.0]] * 3), 20),
    (dict(indices=[0, 1, 2], n_elements=5), 5),  # size 2: segments of 4 and 6
    (dict(first=0, last=2, n_elements=7), 7),
    (dict(first=0, middle=1, last=2, n_elements=5), 5),
    (dict(first=0, last=2, size_first=1.0, size_last=1.0), 10),
])
def test_mesh_straight_forms(kwargs, elements):
    result = filum.mesh_straight([[0, 0], [4, 0], [10, 0]], **kwargs)
    assert len(result.new_indices) - 1 == elements
    assert edge_lengths(result.pos, result.new_indices).sum() == pytest.approx(10)


def test_spline_through_circle_stays_on_it():
    radius, pos = 3.0, circle(16, 3.0)
    chain = np.r_[15, np.arange(17), 1] % 16
    for result in (filum.mesh_spline(pos, chain, np.full(19, 0.2), chordal_tol=0),
                   filum.mesh_spline(pos, chain, metrics=np.tile([25.0, 0, 25.0], (19, 1))),
                   filum.mesh_spline_on_curve(pos, chain, np.full(19, 0.2))):
        nodes = result.pos[result.new_indices]
        np.testing.assert_allclose(np.linalg.norm(nodes, axis=1), radius, rtol=1e-2)
        assert len(nodes) - 1 == round(2 * np.pi * radius / 0.2)
        # the spline bulges from each chord of the 16-gon by its sagitta
        assert result.max_deviation == pytest.approx(radius * (1 - np.cos(np.pi / 16)), rel=0.02)
    polygon = filum.curvatures(circle(64, radius), np.arange(64)).values
    np.testing.assert_allclose(polygon[1:-1], 1 / radius, rtol=1e-3)
    np.testing.assert_allclose(filum.spline_point(pos, 15, 0, 1, 2, 0.0).point, pos[0])
    space = np.c_[pos, np.zeros(16)]
    np.testing.assert_allclose(filum.spline_point(space, 0, 0, 1, 2, 1.0).point, space[1])


@pytest.mark.parametrize("kwargs, last", [
    (dict(start_point=[1, 0], translation=[4, 0], n_elements=4), [5, 0]),
    (dict(start_point=[1, 0, 0], translation=[0, 0, 2], n_elements=4), [1, 0, 2]),
    (dict(pos=[[1, 0]], node=0, translation=[0, 3], n_elements=3), [1, 3]),
    (dict(start_point=[1, 0], center=[0, 0], angle=np.pi / 2, n_elements=4), [0, 1]),
    (dict(pos=[[1, 0, 0]], node=0, center=[0, 0, 0], rotation=[0, 0, np.pi], n_elements=4),
     [-1, 0, 0]),
])
def test_uniform_rows_end_where_the_motion_takes_the_start(kwargs, last):
    rotate = "center" in kwargs
    row = (filum.extrude_rotate if rotate else filum.extrude_translate)(**kwargs)
    assert len(row.indices) == 5 if "start_point" in kwargs or rotate else len(row.indices) == 4
    np.testing.assert_allclose(row.pos[row.indices[-1]], last, atol=1e-12)
    steps = edge_lengths(row.pos, row.indices)
    np.testing.assert_allclose(steps, steps[0])


def test_graded_rows_run_from_size_start_to_size_end():
    for row, total in ((filum.extrude_translate(start_point=[0, 0], translation=[10, 0],
                                                size_start=0.1, size_end=1.0), 10.0),
                       (filum.extrude_rotate(start_point=[2, 0, 0], center=[0, 0, 0],
                                             rotation=[0, 0, np.pi], size_start=0.1,
                                             size_end=0.5), None)):
        steps = edge_lengths(row.pos, row.indices)
        assert np.all(np.diff(steps) > 0)
        assert steps[0] == pytest.approx(0.1, rel=0.2) and steps[-1] == pytest.approx(
            0.5 if total is None else 1.0, rel=0.2)
        if total:
            assert steps.sum() == pytest.approx(total)


def test_fields():
    sizes = filum.interpolate_metrics([0, 1], [1.0, 3.0], [0, 0.25, 1]).new_sizes
    np.testing.assert_allclose(sizes, [1, 1.5, 3])
    metrics = filum.interpolate_metrics([0, 1], metrics=[[1.0, 0, 1], [1.0, 0, 1]],
                                        new_params=[0.5]).new_metrics
    np.testing.assert_allclose(metrics, [[1, 0, 1]])
    # one element of length 2 along x: size 2 along it, hn = 0.5 across
    m2 = filum.metrics_gen_aniso2d([[0, 0], [2, 0]], [[0, 1]], 0.5).metrics
    np.testing.assert_allclose(m2, [[0.25, 0, 4]] * 2)
    mv = filum.metrics_gen_aniso2d(vectors=[[1, 0]], nodes=[0], h1=2.0, h2=0.5).metrics
    np.testing.assert_allclose(mv, [[0.25, 0, 4]])
    m3 = filum.metrics_gen_aniso3d([[0, 0, 0], [0, 0, 2]], [[0, 1]], 0.5).metrics
    np.testing.assert_allclose(m3, [[4, 0, 4, 0, 0, 0.25]] * 2)
    bend = filum.metrics_gen_aniso3d([[0, 0, 0], [1, 0, 0], [1, 1, 0]], [[0, 1], [1, 2]],
                                     hv=0.5, hw=0.25).metrics
    assert bend.shape == (3, 6) and np.all(bend[:, [0, 2, 5]] > 0)


def test_measures_and_parameter_tools():
    square = [[0, 0], [1, 0], [1, 1], [0, 1]]
    loop = [[0, 1], [1, 2], [2, 3], [3, 0]]
    assert filum.length(square, [0, 1, 2]).total == pytest.approx(2)
    assert filum.length(square, loop).total == pytest.approx(4)
    np.testing.assert_allclose(filum.normals(square, loop).values,
                               np.array([[1, 1], [-1, 1], [-1, -1], [1, -1]]) / np.sqrt(2))  # left: inward
    pos = filum.interpolate_coordinates([[0, 0], [2, 0], [9, 9]], [0, 1], [0, 1], [2],
                                        [0.25]).pos
    np.testing.assert_allclose(pos[2], [0.5, 0])
    t = np.linspace(0, np.pi, 33)
    derivatives = 2 * np.c_[-np.sin(t), np.cos(t)]  # circle of radius 2
    kappa = filum.parametric_curvatures(t, np.c_[np.arange(32), np.arange(1, 33)],
                                        derivatives).values
    np.testing.assert_allclose(kappa, 0.5, rtol=5e-3)
    values, ids = filum.sort([3.0, 1.0, 2.0, 1.0])
    np.testing.assert_array_equal(ids, [1, 3, 2, 0])
    np.testing.assert_array_equal(values, [1, 1, 2, 3])
    params, sizes, chain = filum.subdivide([0.0, 1.0], [0.25, 0.25], [0, 1])
    assert len(chain) == 5 and np.allclose(np.sort(params), np.linspace(0, 1, 5))


@pytest.mark.parametrize("kwargs, elements", [
    (dict(), 3), (dict(force_even=True), 4), (dict(min_elements=5), 5), (dict(max_elements=2), 2),
])
def test_subdivide_counts(kwargs, elements):
    params, sizes, chain = filum.subdivide([0.0, 1.0], [0.3, 0.3], [0, 1], **kwargs)
    assert len(chain) - 1 == elements and len(params) == len(sizes) == elements + 1


def test_remesh_lines_forms_keep_corners_and_follow_the_size():
    square = np.array([[0, 0], [1, 0], [1, 1], [0, 1]], float)
    loop = np.array([[0, 1], [1, 2], [2, 3], [3, 0]])
    plain = filum.remesh_lines(square, loop, 0.1)
    colored = filum.remesh_lines(square, loop, 0.1, colors=[1, 1, 2, 2])
    general = filum.remesh_lines(square, loop, 0.1, hard_nodes=[0], node_sizes=[0.05] * 4)
    for result, elements in ((plain, 40), (colored, 40)):
        assert len(result.connectM) == elements
        assert filum.length(result.pos, result.connectM).total == pytest.approx(4)
    assert sorted(set(colored.colors)) == [1, 2] and plain.colors is None
    assert len(general.connectM) == 80 and 0 in general.hard_nodes
