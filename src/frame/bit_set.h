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
    return words_.resize((count + 63) / 64, 0);
  }
  /// \brief Whether bit e is set.
  bool test(std::size_t e) const noexcept { return (words_[e / 64] >> (e % 64)) & 1u; }
  /// \brief Sets bit e.
  void set(std::size_t e) noexcept { words_[e / 64] |= std::uint64_t{1} << (e % 64); }

 private:
  dense1D<std::uint64_t> words_;
};

}  // namespace filum
}  // namespace vorn

#endif
