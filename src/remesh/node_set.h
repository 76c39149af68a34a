#ifndef FILUM_REMESH_NODE_SET_H
#define FILUM_REMESH_NODE_SET_H

// A set of unsigned identifiers (node or element identifiers) for the network analysis
// of remeshing: a chained hash set whose entries live in one growable array, the
// buckets first and the collision entries appended behind them. Insertions and
// membership tests take constant time on average; nothing is ever removed.

#include <cstddef>
#include <iterator>

#include <vorn/dense.h>

namespace vorn {
namespace filum {

/// \brief Chained hash set of unsigned keys. Key k lives in the chain of bucket k mod B,
/// B taken from a fixed table of primes. The set grows before an insertion would lift
/// the member count above 2 x B.
///
/// Storage is obtained lazily: a new set holds 23 buckets but no array until the first
/// insertion or reservation. Every operation that needs storage reports its failure and
/// then leaves the set as it was (the members and their count unchanged).
class node_set {
 public:
  /// \brief The outcome of one insertion.
  enum class insertion {
    added,    ///< the key was not a member and now is
    present,  ///< the key was already a member; nothing changed
    failed,   ///< the key was not a member and storage for it could not be obtained
  };

  /// \brief One array entry: the key, whether the entry is used (0 or 1), and the
  /// distance to the next entry of the same chain (0 at the chain's end).
  using entry = triad<unsigned, std::size_t, std::size_t>;

  /// \brief The key an entry holds (meaningful when it is used).
  static unsigned key_of(const entry& e) noexcept { return e.first; }
  /// \brief Whether an entry holds a member.
  static bool is_used(const entry& e) noexcept { return e.second != 0; }
  /// \brief The distance to the next entry of the chain; 0 at the chain's end.
  static std::size_t next_of(const entry& e) noexcept { return e.third; }
  /// \brief Links an entry to the next one of its chain, distance entries further on.
  static void set_next(entry& e, std::size_t distance) noexcept { e.third = distance; }
  /// \brief A used entry holding key, at the end of its chain.
  static entry member(unsigned key) noexcept { return entry{key, 1, 0}; }

  /// \brief Visits the members in array order (buckets first, then collision entries).
  class const_iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = unsigned;
    using difference_type = std::ptrdiff_t;
    using pointer = const unsigned*;
    using reference = unsigned;

    const_iterator(const entry* at, const entry* end) noexcept : at_(at), end_(end) { skip(); }
    unsigned operator*() const noexcept { return key_of(*at_); }
    const_iterator& operator++() noexcept {
      ++at_;
      skip();
      return *this;
    }
    bool operator==(const const_iterator& other) const noexcept { return at_ == other.at_; }
    bool operator!=(const const_iterator& other) const noexcept { return at_ != other.at_; }

   private:
    // Moves forward to the next used entry, or to the end.
    void skip() noexcept {
      while (at_ != end_ && !is_used(*at_))
        ++at_;
    }
    const entry* at_;
    const entry* end_;
  };

  /// \brief The bucket count a new set starts with.
  static constexpr std::size_t initial_buckets = 23;

  /// \brief The bucket count chosen for a request: the first prime of the table not
  /// below it, or the largest prime (4294967291) when the request exceeds that.
  static std::size_t bucket_count_for(std::size_t request) noexcept;

  /// \brief An empty set of 23 buckets; takes no storage yet.
  node_set() noexcept = default;
  node_set(const node_set&) = delete;
  node_set& operator=(const node_set&) = delete;

  /// \brief Number of members.
  std::size_t size() const noexcept { return count_; }
  /// \brief Whether the set has no member.
  bool empty() const noexcept { return count_ == 0; }
  /// \brief The current bucket count B.
  std::size_t bucket_count() const noexcept { return buckets_; }

  /// \brief Whether key is a member.
  bool contains(unsigned key) const noexcept;

  /// \brief Inserts key, rebuilding the set first when the member count would exceed
  /// 2 x B. \return added, present, or failed when storage could not be obtained (the
  /// set is then unchanged and key is not a member).
  insertion insert(unsigned key) noexcept;

  /// \brief Inserts count keys. The growth test is made once, up front, for the member
  /// count plus count. \return false at the first key whose storage could not be
  /// obtained: the keys before it are members, that key and the later ones were not
  /// inserted by this call.
  bool insert_all(const unsigned* keys, std::size_t count) noexcept;

  /// \brief Inserts every entry of keys; see insert_all(const unsigned*, std::size_t).
  bool insert_all(const dense1D<unsigned>& keys) noexcept {
    return insert_all(keys.data(), keys.size());
  }

  /// \brief Pre-sizes the set: when request exceeds the current bucket count, rebuilds
  /// it with bucket_count_for(request) buckets; otherwise does nothing.
  /// \return false, with the set unchanged, when storage could not be obtained.
  bool reserve(std::size_t request) noexcept;

  const_iterator begin() const noexcept { return const_iterator(first_entry(), last_entry()); }
  const_iterator end() const noexcept { return const_iterator(last_entry(), last_entry()); }

 private:
  const entry* first_entry() const noexcept { return entries_.data(); }
  const entry* last_entry() const noexcept { return entries_.data() + entries_.size(); }

  // Inserts key; the growth test is made only when may_grow is true.
  insertion add(unsigned key, bool may_grow) noexcept;
  // Rebuilds the array with `buckets` buckets, re-placing every member.
  bool rebuild(std::size_t buckets) noexcept;

  dense1D<entry> entries_;  // buckets_ bucket entries, then collision entries
  std::size_t buckets_ = initial_buckets;
  std::size_t count_ = 0;
};

}  // namespace filum
}  // namespace vorn

#endif
