#include <vorn/dense/allocation.h>

#include <cstdlib>

namespace vorn {
namespace {

// Fault-injection state of the calling thread; it only exists for tests.
struct injector_state {
  std::size_t requests = 0;
  std::size_t fail_at = 0;
  bool delivered = false;
};

thread_local injector_state injector;

// Counts a storage request; true when the injector makes this one fail.
bool injected_failure() noexcept {
  ++injector.requests;
  if (injector.fail_at == 0 || injector.requests != injector.fail_at) return false;
  injector.delivered = true;
  return true;
}

}  // namespace

void* __vector_num_alloc(std::size_t bytes) noexcept {
  if (injected_failure()) return nullptr;
  return std::malloc(bytes == 0 ? 1 : bytes);
}

void* __vector_num_realloc(void* storage, std::size_t bytes) noexcept {
  if (injected_failure()) return nullptr;
  return std::realloc(storage, bytes == 0 ? 1 : bytes);
}

void __vector_num_free(void* storage) noexcept {
  std::free(storage);
}

namespace testing {

void fail_nth_allocation(std::size_t n) noexcept {
  injector = injector_state{0, n, false};
}

std::size_t allocation_requests() noexcept {
  return injector.requests;
}

bool injected_failure_happened() noexcept {
  return injector.delivered;
}

}  // namespace testing
}  // namespace vorn
