"""Exceptions of the filum package and the conversion of result codes into them."""

from typing import Optional, Sequence

STORAGE_FAILURE = -199


class ArgumentError(ValueError):
    """An operation refused one of its arguments.

    Attributes: ``operation`` (the operation's name), ``argument`` (the name of the
    refused parameter, or None when the code names none) and ``code`` (the library's
    negative result code).
    """

    def __init__(self, operation: str, argument: Optional[str], code: int):
        self.operation = operation
        self.argument = argument
        self.code = code
        what = f"argument '{argument}' is invalid" if argument else "the call failed"
        super().__init__(f"{operation}: {what} (code {code})")


def check(operation: str, names: Sequence[str], code: int,
          storage: int = STORAGE_FAILURE) -> int:
    """Returns a non-negative code; raises the exception a negative one stands for.

    ``names`` are the parameter names of the called overload: code -k refers to the k-th.
    ``storage`` is the overload's code for a storage failure (shifted in some overloads).
    """
    if code >= 0:
        return code
    if code == storage:
        raise MemoryError(f"{operation}: storage could not be obtained (code {code})")
    k = -code
    raise ArgumentError(operation, names[k - 1] if k <= len(names) else None, code)
