// Consistent orientation of a line mesh, spread breadth first from one element.

#include <climits>
#include <cstddef>
#include <utility>

#include <vorn/filum.h>

#include "frame/bit_set.h"
#include "frame/checks.h"

namespace vorn {
namespace filum {
namespace {

// First-in first-out queue of element identifiers in a ring buffer. Its storage is a
// whole number of blocks of four identifiers; a full ring doubles its number of blocks,
// so that a large front costs amortised constant time per push.
class element_queue {
 public:
  bool empty() const noexcept { return count_ == 0; }

  bool push(unsigned e) noexcept {
    if (count_ == ring_.size() && !grow()) return false;
    ring_[(head_ + count_) % ring_.size()] = e;
    ++count_;
    return true;
  }

  unsigned pop() noexcept {
    const unsigned e = ring_[head_];
    head_ = (head_ + 1) % ring_.size();
    --count_;
    return e;
  }

 private:
  static constexpr std::size_t block = 4;

  // Moves the queued entries, oldest first, to the front of a ring twice as large.
  bool grow() noexcept {
    dense1D<unsigned> larger;
    if (!larger.resize(ring_.empty() ? block : 2 * ring_.size())) return false;
    for (std::size_t i = 0; i < count_; ++i)
      larger[i] = ring_[(head_ + i) % ring_.size()];
    ring_ = std::move(larger);
    head_ = 0;
    return true;
  }

  dense1D<unsigned> ring_;
  std::size_t head_ = 0;
  std::size_t count_ = 0;
};

// The breadth-first propagation over one mesh; reversals are counted in `reversed`.
class reorientation {
 public:
  reorientation(dense2D<unsigned>& connectM, dense2D<unsigned>& neighbors) noexcept
      : connectM_(connectM), neighbors_(neighbors), elements_(connectM.cols()) {}

  bool init() noexcept { return visited_.reset(elements_); }

  // Orients the piece of `start` (or, when every piece is wanted, the pieces of the
  // first unvisited elements from `start` on) like `start`.
  int run(std::size_t start, bool all_components) noexcept {
    for (std::size_t k = start;;) {
      while (k < elements_ && visited_.test(k))
        ++k;
      if (k == elements_) return 0;
      const int result = spread_from(static_cast<unsigned>(k));
      if (result != 0 || !all_components) return result;
    }
  }

  std::size_t reversed = 0;

 private:
  // Breadth-first pass: every unvisited neighbor f of a popped element e is reversed
  // when it runs against e at their shared node. An element is marked when popped, so it
  // may be queued twice; the second pop is skipped. Stops with -2 at the first neighbor
  // that does not hold the shared node.
  int spread_from(unsigned k) noexcept {
    if (!queue_.push(k)) return storage_failure;
    while (!queue_.empty()) {
      const unsigned e = queue_.pop();
      if (visited_.test(e)) continue;
      visited_.set(e);
      for (std::size_t j = 0; j < neighbors_.rows(); ++j) {
        const unsigned f = neighbors_(j, e);
        if (f >= elements_ || visited_.test(f)) continue;
        // Row 0 is the neighbor at e's end node, which f must leave; every other row
        // a neighbor at e's start node, where f must arrive.
        const bool at_end = j == 0;
        const unsigned shared = connectM_(at_end ? 1 : 0, e);
        bool leaves;
        if (connectM_(0, f) == shared)
          leaves = true;
        else if (connectM_(1, f) == shared)
          leaves = false;
        else
          return -2;
        if (leaves != at_end) reverse(f);
        if (!queue_.push(f)) return storage_failure;
      }
    }
    return 0;
  }

  // Exchanges f's start and end nodes and its two neighbor entries.
  void reverse(unsigned f) noexcept {
    std::swap(connectM_(0, f), connectM_(1, f));
    std::swap(neighbors_(0, f), neighbors_(1, f));
    ++reversed;
  }

  dense2D<unsigned>& connectM_;
  dense2D<unsigned>& neighbors_;
  std::size_t elements_;
  bit_set visited_;
  element_queue queue_;  // empty between passes; its storage is kept for the next one
};

}  // namespace

int mesh_reorient(dense2D<unsigned>& connectM, dense2D<unsigned>& neighbors, unsigned start_element,
                  int all_components) noexcept {
  const std::size_t elements = connectM.cols();
  if (elements == 0) return 0;
  if (!tessa::check_IDs(connectM, edge2, no_id)) return -1;
  if (neighbors.rows() != connectM.rows() || neighbors.cols() != elements) return -2;
  if (start_element >= elements) return -3;

  reorientation pass(connectM, neighbors);
  if (!pass.init()) return storage_failure;
  const int result = pass.run(start_element, all_components != 0);
  if (result != 0) return result;
  return pass.reversed > INT_MAX ? INT_MAX : static_cast<int>(pass.reversed);
}

}  // namespace filum
}  // namespace vorn
