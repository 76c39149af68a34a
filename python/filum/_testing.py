"""Test hooks of the extension; not part of the public interface."""

from ._core import fail_nth_allocation, injected_failure_happened  # noqa: F401
