"""The three workflows people start with, returning a Mesh that meshio can write."""

import os
import tempfile
from typing import Any, Dict, Optional, Union

import numpy as np
from numpy.typing import ArrayLike

from . import _core
from ._arrays import coords, count, ids, reals
from ._errors import ArgumentError, check
from ._operations import MAX_ELEMENTS, mesh_line, mesh_spline, mesh_spline_on_curve


class Mesh:
    """A line mesh: points (N, D) float64, edges (E, 2) uint32, colors (E,) uint32 or None,
    node_ids (N,) the identifier each point had in the operation's output (before unused
    points were dropped) and info, a dict of what else the operation gave (params, sizes,
    max_deviation, the network report...)."""

    def __init__(self, points: np.ndarray, edges: np.ndarray, colors: Optional[np.ndarray] = None,
                 node_ids: Optional[np.ndarray] = None, info: Optional[Dict[str, Any]] = None):
        self.points = points
        self.edges = edges
        self.colors = colors
        self.node_ids = node_ids
        self.info = info or {}

    def __repr__(self) -> str:
        return f"Mesh({len(self.points)} points in {self.points.shape[1]}D, {len(self.edges)} edges)"

    def to_meshio(self):
        """The mesh as a meshio.Mesh of "line" cells (points padded to 3D), colors as the
        cell data "color"."""
        import meshio
        points = self.points
        if points.shape[1] < 3:
            points = np.hstack([points, np.zeros((len(points), 3 - points.shape[1]))])
        cell_data = {}
        if self.colors is not None:
            cell_data["color"] = [self.colors.astype(np.int64)]
        return meshio.Mesh(points, [("line", self.edges.astype(np.int64))], cell_data=cell_data)

    def write(self, path: Union[str, os.PathLike], file_format: Optional[str] = None) -> None:
        """Writes the mesh in any format meshio writes (from the extension of path unless
        file_format is given), through a temporary file in the same folder renamed at the end,
        so that a failed write leaves no partial file."""
        import meshio
        path = os.fspath(path)
        if file_format is None and path.lower().endswith(".msh"):
            file_format = "gmsh"  # .msh is also an ANSYS extension; Gmsh's is the common one
        folder, name = os.path.split(os.path.abspath(path))
        handle, temporary = tempfile.mkstemp(prefix=f".{name}.", suffix=os.path.splitext(name)[1],
                                             dir=folder)
        os.close(handle)
        try:
            meshio.write(temporary, self.to_meshio(), file_format=file_format)
            os.chmod(temporary, 0o666 & ~_umask())  # as a file opened for writing would be
            os.replace(temporary, path)
        except BaseException:
            os.unlink(temporary)
            raise


def _umask() -> int:
    mask = os.umask(0o022)
    os.umask(mask)
    return mask


def _chain_mesh(pos: np.ndarray, chain: np.ndarray, closed: bool, info: Dict[str, Any]) -> Mesh:
    """The mesh of a new chain: its points in chain order, consecutive edges."""
    nodes = chain[:-1] if closed else chain
    m = len(nodes) if closed else max(len(nodes) - 1, 0)
    edges = np.empty((m, 2), dtype=np.uint32)
    edges[:, 0] = np.arange(m, dtype=np.uint32)
    edges[:, 1] = edges[:, 0] + 1
    if closed and m:
        edges[-1, 1] = 0
    return Mesh(np.take(pos, nodes, axis=0), edges, None, nodes, info)


def _relabelled(operation: str, error: ArgumentError) -> ArgumentError:
    """The error of the operation a workflow called, in the workflow's own names."""
    names = {"pos": "points", "indices": "points", "sizes": "size"}
    return ArgumentError(operation, names.get(error.argument, error.argument), error.code)


def _sizes_along(op: str, size: Union[float, ArrayLike], n: int) -> np.ndarray:
    values = reals(op, "size", size, 0 if np.ndim(size) == 0 else 1)
    return np.full(n, float(values)) if values.ndim == 0 else values


def mesh_polyline(points: ArrayLike, size: Union[float, ArrayLike], *, closed: bool = False,
                  force_even: bool = False, min_elements: int = 1,
                  max_elements: int = MAX_ELEMENTS, chordal_tol: float = 0.0,
                  min_size: float = 0.0) -> Mesh:
    """Meshes the polyline through points ((N, D), D = 2 or 3) into edges of length size
    (one value, or one per point); closed joins the last point to the first. chordal_tol
    > 0 keeps given corners within that distance of the mesh; < 0 caps sizes by curvature.
    Returns a Mesh with info params and sizes."""
    op = "mesh_polyline"
    pos = coords(op, "points", points)
    n = len(pos)
    chain = np.arange(n + (1 if closed else 0), dtype=np.uint32) % max(n, 1)
    sizes = _sizes_along(op, size, n)
    if closed:
        sizes = np.append(sizes, sizes[:1])
    try:
        result = mesh_line(pos, chain, sizes, force_even=force_even, min_elements=min_elements,
                           max_elements=max_elements, chordal_tol=chordal_tol, min_size=min_size)
    except ArgumentError as error:
        raise _relabelled(op, error) from None
    return _chain_mesh(result.pos, result.new_indices, closed,
                       {"params": result.new_params, "sizes": result.new_sizes})


def mesh_curve(points: ArrayLike, size: Union[float, ArrayLike], *, closed: bool = False,
               chordal_tol: float = -0.01, force_even: bool = False, min_elements: int = 1,
               max_elements: int = MAX_ELEMENTS, min_size: float = 0.0,
               max_gradation: float = 0.0, on_curve: bool = False) -> Mesh:
    """Meshes the smooth spline through points ((N, D), D = 2 or 3) into edges of length
    size (one value, or one per point); closed makes a periodic loop. chordal_tol > 0 bounds
    the sag as a distance, < 0 as a fraction of the radius of curvature (default 1 %), 0
    switches it off. on_curve puts the new nodes on the spline itself. Returns a Mesh with
    info params, sizes and max_deviation."""
    op = "mesh_curve"
    pos = coords(op, "points", points)
    n = len(pos)
    sizes = _sizes_along(op, size, n)
    if n < 2:
        raise ValueError(f"{op}: argument 'points' must hold at least 2 points")
    if closed:
        chain = np.concatenate([[n - 1], np.arange(n), [0, 1]]).astype(np.uint32)
        padded = np.concatenate([sizes[-1:], sizes, sizes[:2]])
    else:
        chain = np.concatenate([[0], np.arange(n), [n - 1]]).astype(np.uint32)
        padded = np.concatenate([sizes[:1], sizes, sizes[-1:]])
    mesher = mesh_spline_on_curve if on_curve else mesh_spline
    try:
        result = mesher(pos, chain, padded, force_even=force_even, min_elements=min_elements,
                        max_elements=max_elements, chordal_tol=chordal_tol, min_size=min_size,
                        max_gradation=max_gradation)
    except ArgumentError as error:
        raise _relabelled(op, error) from None
    return _chain_mesh(result.pos, result.new_indices, closed,
                       {"params": result.new_params, "sizes": result.new_sizes,
                        "max_deviation": result.max_deviation})


_NETWORK_NAMES = ("points", "edges", "size", "node_sizes", "colors", "hard_nodes", "hard_edges",
                  "force_even", "corner_angle", "chordal_tol", "max_gradation", "min_size",
                  "min_elements", "max_elements")


def remesh(points: ArrayLike, edges: ArrayLike, size: float, *,
           colors: Optional[ArrayLike] = None, hard_nodes: Optional[ArrayLike] = None,
           hard_edges: Optional[ArrayLike] = None, node_sizes: Optional[ArrayLike] = None,
           chordal_tol: float = -0.01, corner_angle: float = 30.0, max_gradation: float = 0.0,
           min_size: float = 0.0, min_elements: int = 1, max_elements: int = MAX_ELEMENTS,
           force_even: bool = False, threads: int = 0, on_curve: bool = False,
           min_closed_elements: int = 3, min_closed_length: float = 0.0) -> Mesh:
    """Remeshes a network of edges ((E, 2) into points (N, D)) line by line with the network
    engine, cut at free ends, corners (turning above corner_angle degrees), joints, color
    changes, hard nodes and hard edges (element indices kept as they are).

    size is the default edge length, node_sizes (one per point, > 0 overrides) a local one.
    chordal_tol 0 keeps polylines, > 0 uses the spline within that distance, < 0 always the
    spline with a sag of that fraction of the radius of curvature. threads 0 uses every
    hardware thread; on_curve puts new nodes on the spline itself. Returns a Mesh whose colors
    follow the new edges, with info hard_nodes (as point indices of the mesh) and report.
    """
    op = "remesh"
    pos = coords(op, "points", points)
    connect = ids(op, "edges", edges, 2, (2,))
    settings = {
        "size": float(size), "chordal_tol": float(chordal_tol),
        "corner_angle": float(corner_angle), "max_gradation": float(max_gradation),
        "min_size": float(min_size), "min_elements": count(op, "min_elements", min_elements),
        "max_elements": count(op, "max_elements", max_elements), "force_even": bool(force_even),
        "threads": count(op, "threads", threads), "on_curve": bool(on_curve),
        "min_closed_elements": count(op, "min_closed_elements", min_closed_elements),
        "min_closed_length": float(min_closed_length)}
    empty = np.empty(0, np.uint32)
    code, new_pos, new_edges, new_colors, hard, report = _core.remesh_network(
        pos, connect, empty if colors is None else ids(op, "colors", colors),
        empty if hard_nodes is None else ids(op, "hard_nodes", hard_nodes),
        empty if hard_edges is None else ids(op, "hard_edges", hard_edges),
        np.empty(0) if node_sizes is None else reals(op, "node_sizes", node_sizes), settings)
    check(op, _NETWORK_NAMES, code)
    used = np.zeros(len(new_pos), dtype=bool)
    used[new_edges.ravel()] = True
    used[hard] = True
    node_ids = np.flatnonzero(used).astype(np.uint32)
    renumber = np.zeros(len(new_pos), dtype=np.uint32)
    renumber[node_ids] = np.arange(len(node_ids), dtype=np.uint32)
    return Mesh(new_pos[node_ids], renumber[new_edges], new_colors if colors is not None else None,
                node_ids, {"hard_nodes": renumber[hard], "report": report})
