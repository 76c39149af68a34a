"""filum: one-dimensional meshing tools over numpy arrays.

The workflows mesh_polyline, mesh_curve and remesh return a Mesh (points, edges, colors)
that writes any format meshio knows. Every operation of the library is here under its own
name, with keyword names those of the library's parameters; see _operations for the array
conventions. Refused arguments raise ArgumentError (a ValueError), storage failures
MemoryError. Calls that mesh release the interpreter lock.
"""

from . import _core
from ._errors import ArgumentError
from ._mesh import Mesh, mesh_curve, mesh_polyline, remesh
from ._operations import *  # noqa: F401,F403 (the operations, their results, constants)

__version__: str = _core.version()
