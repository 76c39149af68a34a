#ifndef VORN_DENSE_ALLOCATION_H
#define VORN_DENSE_ALLOCATION_H

/// \file
/// \brief Raw storage of the dense containers, and a fault injector for tests.

#include <cstddef>

#include <vorn/dense/export.h>

namespace vorn {

/// \brief Obtains `bytes` of raw storage aligned for any scalar type.
/// \return the storage, or nullptr when it cannot be obtained (never throws).
VORN_DENSE_API void* __vector_num_alloc(std::size_t bytes) noexcept;

/// \brief Resizes storage obtained from __vector_num_alloc to `bytes`, keeping its first
/// bytes; large blocks are remapped instead of copied. Counted as one storage request.
/// \return the storage (maybe moved), or nullptr with `storage` left as it was.
VORN_DENSE_API void* __vector_num_realloc(void* storage, std::size_t bytes) noexcept;

/// \brief Releases storage obtained from __vector_num_alloc; nullptr is ignored.
VORN_DENSE_API void __vector_num_free(void* storage) noexcept;

namespace testing {

/// \brief Makes the n-th storage request from now on, on the calling thread, fail.
/// \param[in] n 1 for the very next request; 0 disarms the injector.
/// Requests are counted from this call on; only that one request fails.
VORN_DENSE_API void fail_nth_allocation(std::size_t n) noexcept;

/// \brief Number of storage requests made on the calling thread since the last
/// call of fail_nth_allocation.
VORN_DENSE_API std::size_t allocation_requests() noexcept;

/// \brief Whether the armed failure has been delivered since it was armed.
VORN_DENSE_API bool injected_failure_happened() noexcept;

}  // namespace testing
}  // namespace vorn

#endif
