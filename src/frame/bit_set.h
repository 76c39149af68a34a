#ifndef FILUM_FRAME_BIT_SET_H
#define FILUM_FRAME_BIT_SET_H

// One bit per element (visited, marked), packed in 64-bit words.

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include <vorn/dense.h>

namespace vorn {
namespace filum {

/// \brief A fixed number of bits, all clear after reset.
class bit_set {
 public:
  /// \brief count clear bits; false when storage fails.
  bool reset(std::size_t count) noexcept {
    words_.clear();
    const bool done = words_.resize((count + 63) / 64, 0);
    bits_ = words_.data();
    return done;
  }
  /// \brief Whether bit e is set.
  bool test(std::size_t e) const noexcept { return (bits_[e / 64] >> (e % 64)) & 1u; }
  /// \brief Sets bit e.
  void set(std::size_t e) noexcept { bits_[e / 64] |= std::uint64_t{1} << (e % 64); }

 private:
  dense1D<std::uint64_t> words_;
  // The words themselves: a word store could otherwise alias the container's own fields
  // and make every test reload them.
  std::uint64_t* bits_ = nullptr;
};

}  // namespace filum
}  // namespace vorn

#endif
