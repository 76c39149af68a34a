#ifndef FILUM_NETWORK_PARALLEL_BLOCKS_H
#define FILUM_NETWORK_PARALLEL_BLOCKS_H

// Running independent tasks on a given number of TBB threads, and splitting a range of
// elements into fixed blocks whose results do not depend on the thread count.

#include <algorithm>
#include <cstddef>

#if defined(__SANITIZE_THREAD__)
#include <atomic>
#include <thread>
#endif

#include <vector>

#include <tbb/blocked_range.h>
#include <tbb/parallel_for.h>
#include <tbb/task_arena.h>
#include <vorn/dense.h>

#include "frame/append.h"

namespace vorn {
namespace filum {

/// \brief Elements per block of a per-element pass: fixed, so per-block results combine
/// the same way on any thread count.
constexpr std::size_t elements_per_block = std::size_t{1} << 16;

/// \brief The blocks of elements_per_block elements that cover n elements.
inline std::size_t block_count(std::size_t n) noexcept {
  return (n + elements_per_block - 1) / elements_per_block;
}

#if defined(__SANITIZE_THREAD__)
/// \brief Under ThreadSanitizer the tasks run on plain std::threads, whose hand-offs the
/// sanitizer sees: the system's TBB is not instrumented, so its own hand-offs would read as
/// races and hide real ones in the tasks. A thread that cannot start leaves its share to
/// the others and to this thread.
template <class Task>
bool run_parallel(unsigned threads, std::size_t count, const Task& task) noexcept {
  std::atomic<std::size_t> next{0};
  auto worker = [&]() noexcept {
    for (std::size_t b = next++; b < count; b = next++)
      task(b);
  };
  std::vector<std::thread> pool;
  try {
    pool.reserve(threads - 1);
    for (unsigned t = 1; t < threads; ++t)
      pool.emplace_back(worker);
  } catch (...) {
  }
  worker();
  for (std::thread& t : pool)
    t.join();
  return true;
}
#else
/// \brief Runs task(b) for every b below count on `threads` threads: in the caller's arena
/// when it has that many, else in an arena of its own. False when the pool could not run
/// it (the tasks that ran may have run); the caller then runs them on its own thread.
template <class Task>
bool run_parallel(unsigned threads, std::size_t count, const Task& task) noexcept {
  try {
    auto body = [&] {
      tbb::parallel_for(
          tbb::blocked_range<std::size_t>(0, count, 1),
          [&](const tbb::blocked_range<std::size_t>& r) {
            for (std::size_t b = r.begin(); b != r.end(); ++b)
              task(b);
          },
          tbb::simple_partitioner());
    };
    if (static_cast<int>(threads) == tbb::this_task_arena::max_concurrency()) {
      body();
    } else {
      tbb::task_arena arena(static_cast<int>(threads));
      arena.execute(body);
    }
    return true;
  } catch (...) {
    return false;
  }
}
#endif

/// \brief Runs task(t) for every t below count, on `threads` threads when there are more
/// than one and the pool runs, else in order on this thread. task must give the same
/// result when run again.
template <class Task>
void for_each_task(unsigned threads, std::size_t count, const Task& task) noexcept {
  if (threads > 1 && count > 1 && run_parallel(threads, count, task)) return;
  for (std::size_t t = 0; t < count; ++t)
    task(t);
}

/// \brief Runs block(first, last) over the blocks of n elements, on `threads` threads when
/// there are more than one and the pool runs, else one block after the other on this
/// thread. block must give the same result when run again on the same range.
/// \param[in] threads threads to use (0 or 1: this thread only).
/// \param[in] n elements.
/// \param[in] block task on the elements [first, last).
template <class Block>
void for_each_block(unsigned threads, std::size_t n, const Block& block) noexcept {
  for_each_task(threads, block_count(n), [&](std::size_t b) {
    block(b * elements_per_block, std::min(n, (b + 1) * elements_per_block));
  });
}

/// \brief Identifiers found block by block on any thread, joined in block order so that
/// the list does not depend on the thread count.
class block_lists {
 public:
  /// \brief Empty lists for `blocks` blocks. \return false when storage fails.
  bool reset(std::size_t blocks) noexcept {
    try {
      lists_.assign(blocks, dense1D<unsigned>());
    } catch (...) {
      return false;
    }
    return complete_.resize(blocks, 0);
  }
  /// \brief The list of block b, emptied; call mark(b, ok) once it is filled.
  dense1D<unsigned>& start(std::size_t b) noexcept {
    lists_[b].clear();
    complete_[b] = 1;
    return lists_[b];
  }
  /// \brief Records whether block b got all its identifiers (false: storage failed).
  void mark(std::size_t b, bool ok) noexcept { complete_[b] = ok ? 1 : 0; }
  /// \brief Every list in block order into joined (emptied first). \return false when a
  /// block or the join ran out of storage.
  bool join(dense1D<unsigned>& joined) const noexcept {
    joined.clear();
    for (std::size_t b = 0; b < lists_.size(); ++b)
      if (!complete_[b] || !append_values(lists_[b], joined)) return false;
    return true;
  }

 private:
  std::vector<dense1D<unsigned>> lists_;
  dense1D<unsigned char> complete_;
};

}  // namespace filum
}  // namespace vorn

#endif
