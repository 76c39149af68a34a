#include "remesh/node_set.h"

#include <algorithm>
#include <iterator>

namespace vorn {
namespace filum {
namespace {

// The bucket counts a set may have, ascending.
constexpr std::size_t bucket_primes[] = {
    13,        23,        53,        97,         193,        389,       769,      1543,
    3079,      6151,      12289,     24593,      49157,      98317,     196613,   393241,
    786433,    1572869,   3145739,   6291469,    12582917,   25165843,  50331653, 100663319,
    201326611, 402653189, 805306457, 1610612741, 3221225473, 4294967291};

using entry = node_set::entry;

// The bucket of key: key mod buckets, in 32-bit arithmetic (every table prime fits).
std::size_t bucket_of(unsigned key, std::size_t buckets) noexcept {
  return key % static_cast<unsigned>(buckets);
}

// Walks the chain of bucket `at` looking for key. Returns whether key is there; `at` ends
// on the entry holding key, or on the last entry of the chain (the bucket itself when the
// bucket is unused).
bool find_in_chain(const entry* entries, std::size_t& at, unsigned key) noexcept {
  if (!node_set::is_used(entries[at])) return false;
  for (;;) {
    if (node_set::key_of(entries[at]) == key) return true;
    const std::size_t next = node_set::next_of(entries[at]);
    if (next == 0) return false;
    at += next;
  }
}

// Puts key behind `tail`, the last entry of its chain: into the bucket itself when it is
// unused, else into a collision entry appended to the array. False when storage fails.
bool append_to_chain(dense1D<entry>& entries, std::size_t tail, unsigned key) noexcept {
  if (!node_set::is_used(entries[tail])) {
    entries[tail] = node_set::member(key);
    return true;
  }
  const std::size_t added = entries.size();
  if (!entries.push_back(node_set::member(key))) return false;
  node_set::set_next(entries[tail], added - tail);
  return true;
}

}  // namespace

std::size_t node_set::bucket_count_for(std::size_t request) noexcept {
  const std::size_t* first = std::begin(bucket_primes);
  const std::size_t* last = std::end(bucket_primes);
  const std::size_t* at = std::lower_bound(first, last, request);
  return at == last ? *(last - 1) : *at;
}

bool node_set::contains(unsigned key) const noexcept {
  if (entries_.empty()) return false;
  std::size_t at = bucket_of(key, buckets_);
  return find_in_chain(entries_.data(), at, key);
}

node_set::insertion node_set::insert(unsigned key) noexcept {
  return add(key, true);
}

bool node_set::insert_all(const unsigned* keys, std::size_t count) noexcept {
  if (count == 0) return true;
  if (count_ + count > 2 * buckets_) {
    const std::size_t buckets = bucket_count_for(count_ + count);
    if (buckets != buckets_ && !rebuild(buckets)) return false;
  }
  for (std::size_t i = 0; i < count; ++i)
    if (add(keys[i], false) == insertion::failed) return false;
  return true;
}

bool node_set::reserve(std::size_t request) noexcept {
  if (request <= buckets_) return true;
  return rebuild(bucket_count_for(request));
}

node_set::insertion node_set::add(unsigned key, bool may_grow) noexcept {
  if (entries_.empty() && !entries_.resize(buckets_)) return insertion::failed;
  std::size_t tail = bucket_of(key, buckets_);
  if (find_in_chain(entries_.data(), tail, key)) return insertion::present;
  if (may_grow && count_ + 1 > 2 * buckets_) {
    const std::size_t buckets = bucket_count_for(count_ + 1);
    if (buckets != buckets_) {
      if (!rebuild(buckets)) return insertion::failed;
      tail = bucket_of(key, buckets_);
      find_in_chain(entries_.data(), tail, key);
    }
  }
  if (!append_to_chain(entries_, tail, key)) return insertion::failed;
  ++count_;
  return insertion::added;
}

bool node_set::rebuild(std::size_t buckets) noexcept {
  // Every member needs at most one collision entry, so one reservation is enough.
  dense1D<entry> fresh;
  if (!fresh.reserve(buckets + count_) || !fresh.resize(buckets)) return false;
  for (const entry& old : entries_) {
    if (!is_used(old)) continue;
    std::size_t tail = bucket_of(key_of(old), buckets);
    find_in_chain(fresh.data(), tail, key_of(old));
    append_to_chain(fresh, tail, key_of(old));  // within the reservation: cannot fail
  }
  entries_ = fresh;
  buckets_ = buckets;
  return true;
}

}  // namespace filum
}  // namespace vorn
