"""Checks and converts the arrays given to the operations, once, without touching them."""

from typing import Optional, Sequence

import numpy as np
from numpy.typing import ArrayLike

UINT32_MAX = 0xFFFFFFFF


def _shape_error(operation: str, name: str, expected: str, array: np.ndarray) -> ValueError:
    return ValueError(
        f"{operation}: argument '{name}' must have shape {expected}, got {array.shape}")


def _empty_as(array: np.ndarray, ndim: int, widths: Optional[Sequence[int]]) -> np.ndarray:
    """An empty array given as [] takes the expected shape with no rows."""
    if array.size == 0 and ndim == 2 and widths and not (
            array.ndim == 2 and array.shape[1] in widths):
        return array.reshape(0, widths[0])
    return array


def reals(operation: str, name: str, value: ArrayLike, ndim: int = 1,
          widths: Optional[Sequence[int]] = None) -> np.ndarray:
    """A C-ordered float64 array of ndim dimensions (2: (N, K), K in widths when given)."""
    try:
        array = np.asarray(value, dtype=np.float64)
    except (TypeError, ValueError) as error:
        raise ValueError(f"{operation}: argument '{name}' must hold real numbers") from error
    array = _empty_as(array, ndim, widths)
    if array.ndim != ndim or (widths is not None and array.shape[1] not in widths):
        expected = "(N,)" if ndim == 1 else " or ".join(f"(N, {k})" for k in widths or ["K"])
        raise _shape_error(operation, name, expected, array)
    return array if array.flags.c_contiguous else np.ascontiguousarray(array)


def ids(operation: str, name: str, value: ArrayLike, ndim: int = 1,
        widths: Optional[Sequence[int]] = None) -> np.ndarray:
    """A C-ordered uint32 array of node or element identifiers; other integer types are
    converted when every value fits."""
    array = np.asarray(value)
    if array.size == 0:
        array = array.astype(np.uint32)
    if array.dtype.kind not in "iu":
        raise ValueError(f"{operation}: argument '{name}' must hold integers, got {array.dtype}")
    if array.dtype != np.uint32 and (array.min() < 0 or array.max() > UINT32_MAX):
        raise ValueError(f"{operation}: argument '{name}' holds values outside 0 .. {UINT32_MAX}")
    array = np.ascontiguousarray(array, dtype=np.uint32)
    array = _empty_as(array, ndim, widths)
    if array.ndim != ndim or (widths is not None and array.shape[1] not in widths):
        expected = "(N,)" if ndim == 1 else " or ".join(f"(E, {k})" for k in widths or ["K"])
        raise _shape_error(operation, name, expected, array)
    return array


def coords(operation: str, name: str, value: ArrayLike, dims: Sequence[int] = (2, 3)) -> np.ndarray:
    """Coordinates as an (N, D) float64 array, D in dims."""
    return reals(operation, name, value, 2, dims)


def point(operation: str, name: str, value: ArrayLike, dims: Sequence[int] = (2, 3)) -> np.ndarray:
    """One point or vector of D coordinates, D in dims."""
    array = reals(operation, name, value)
    if array.shape[0] not in dims:
        raise _shape_error(operation, name, " or ".join(f"({d},)" for d in dims), array)
    return array


def count(operation: str, name: str, value: int) -> int:
    """A count or identifier that fits the library's unsigned 32-bit integers."""
    if isinstance(value, (bool, np.bool_)) or not isinstance(value, (int, np.integer)):
        raise ValueError(f"{operation}: argument '{name}' must be an integer, got {value!r}")
    if not 0 <= value <= UINT32_MAX:
        raise ValueError(f"{operation}: argument '{name}' must lie in 0 .. {UINT32_MAX}")
    return int(value)
