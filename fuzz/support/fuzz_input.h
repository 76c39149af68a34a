#ifndef FILUM_FUZZ_INPUT_H
#define FILUM_FUZZ_INPUT_H

// The one decoder of the fuzz targets: turns the fuzzer's bytes into small, hostile
// arguments (special values, near-duplicates, bad identifiers), plus the invariant checks.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>

#include <vorn/filum.h>

namespace filum_fuzz {

using vorn::dense1D;
using vorn::dense2D;

/// Stops the run when an invariant of the operation does not hold, naming its line.
inline void require(bool holds, const char* file = __builtin_FILE(), int line = __builtin_LINE()) {
  if (holds) return;
  std::fprintf(stderr, "invariant broken at %s:%d\n", file, line);
  __builtin_trap();
}

/// Reads arguments from the fuzzer's bytes; past the end every read yields 0.
class input {
 public:
  input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  unsigned byte() { return at_ < size_ ? data_[at_++] : 0u; }
  bool flag() { return byte() & 1u; }
  /// A value in [0, n).
  unsigned below(unsigned n) { return n ? byte() % n : 0u; }

  /// A coordinate, size or setting: mostly small multiples of 1/4 or 5, sometimes a special value
  /// (zeros, infinities, NaN, denormals, extremes) or a near-duplicate of the previous value.
  double value() {
    using limits = std::numeric_limits<double>;
    constexpr double inf = limits::infinity(), tiny = limits::denorm_min(), u = vorn::filum::unset;
    static const double special[] = {0.0,  -0.0,  inf,   -inf,   limits::quiet_NaN(),
                                     tiny, -tiny, 1e300, -1e300, 1e-300,
                                     u,    -u,    1e-9,  0.01};
    constexpr unsigned n_special = sizeof(special) / sizeof(special[0]);
    const unsigned b = byte();
    double v;
    if (b < n_special)
      v = special[b];
    else if (b < n_special + 4)
      v = std::nextafter(last_, b & 1u ? 1e308 : -1e308);  // near-duplicate
    else {                                                 // quarters up to +-15, then steps of 5
      const int k = static_cast<int>(b) - 140, mag = k < 0 ? -k : k;
      v = mag <= 60 ? k * 0.25 : (k < 0 ? -1 : 1) * (15.0 + 5.0 * (mag - 60));
    }
    if (!(std::fabs(v) < 1e150)) finite_ = false;  // squares of larger values overflow
    last_ = v;
    return v;
  }

  /// A count, mostly small, sometimes huge.
  unsigned count() {
    const unsigned b = byte();
    if (b >= 250) return b == 255 ? vorn::filum::no_id : 1000000000u + b;
    return b % 12;
  }

  /// `n` node identifiers, mostly below `nodes`; rarely out of range.
  dense1D<unsigned> ids(std::size_t n, unsigned nodes) {
    dense1D<unsigned> v(n);
    for (std::size_t i = 0; i < n; ++i) {
      const unsigned b = byte();
      v[i] = b == 255 ? vorn::filum::no_id : (nodes ? b % (nodes + (b >= 250)) : b);
    }
    return v;
  }

  /// `count` elements over `nodes` nodes: 2 rows (rarely 3), identifiers as ids() gives them.
  dense2D<unsigned> elements(std::size_t count, unsigned nodes) {
    dense2D<unsigned> m(byte() < 250 ? 2 : 3, count);
    for (std::size_t j = 0; j < count; ++j)
      for (std::size_t i = 0; i < m.rows(); ++i)
        m(i, j) = ids(1, nodes)[0];
    return m;
  }

  /// `n` values.
  dense1D<double> values(std::size_t n) {
    dense1D<double> v(n);
    for (std::size_t i = 0; i < n; ++i)
      v[i] = value();
    return v;
  }

  /// A rows x cols matrix of values.
  dense2D<double> matrix(std::size_t rows, std::size_t cols) {
    dense2D<double> m(rows, cols);
    for (std::size_t j = 0; j < cols; ++j)
      for (std::size_t i = 0; i < rows; ++i)
        m(i, j) = value();
    return m;
  }

  /// Coordinates: 2 or 3 rows (rarely another count), up to 7 nodes.
  dense2D<double> pos() {
    const unsigned b = byte();
    const std::size_t rows = b < 240 ? 2 + (b & 1u) : b % 5;
    return matrix(rows, 1 + below(7));
  }

  /// Non-decreasing parameters from 0 (sometimes disordered when `hostile`).
  dense1D<double> params(std::size_t n) {
    dense1D<double> v(n);
    double t = 0;
    for (std::size_t i = 0; i < n; ++i) {
      const unsigned b = byte();
      v[i] = b >= 250 ? value() : (t += b % 5);
    }
    return v;
  }

  /// False once a value that is not finite, or whose square overflows, was handed out.
  bool finite() const { return finite_; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
  double last_ = 1;
  bool finite_ = true;
};

/// Whether `code` is 0, -199 or one of the listed argument codes.
inline bool documented(int code, std::initializer_list<int> codes) {
  return code == 0 || code == vorn::filum::storage_failure ||
         std::find(codes.begin(), codes.end(), code) != codes.end();
}

/// A deep copy, to compare the caller's data with after a call.
template <class C>
C snapshot(const C& c) {
  C copy;
  copy.copy(c);
  return copy;
}

/// Whether two containers hold the same shape and bits.
template <class T>
bool same(const dense2D<T>& a, const dense2D<T>& b) {
  if (a.rows() != b.rows() || a.cols() != b.cols()) return false;
  for (std::size_t j = 0; j < a.cols(); ++j)
    if (a.rows() && std::memcmp(&a(0, j), &b(0, j), a.rows() * sizeof(T)) != 0) return false;
  return true;
}
template <class T>
bool same(const dense1D<T>& a, const dense1D<T>& b) {
  return a.size() == b.size() &&
         (a.empty() || !std::memcmp(a.data(), b.data(), a.size() * sizeof(T)));
}

/// Whether the first columns of `now` are those of `before` (nodes never move).
inline bool kept(const dense2D<double>& before, const dense2D<double>& now) {
  return now.rows() == before.rows() && now.cols() >= before.cols() &&
         same(before, now.sub_matrix(0, 0, now.rows(), before.cols()));
}

/// Whether `holds` is true of every entry from entry `first` of a vector, or of every entry of
/// the columns from column `first` of a matrix.
template <class T, class P>
bool all_from(const dense1D<T>& v, std::size_t first, P holds) {
  return first >= v.size() || std::all_of(v.begin() + first, v.end(), holds);
}
template <class T, class P>
bool all_from(const dense2D<T>& m, std::size_t first, P holds) {
  for (std::size_t j = first; j < m.cols(); ++j)
    if (!all_from(m.col(j), 0, holds)) return false;
  return true;
}

/// Whether every entry of entries (columns) [first, end) is finite.
template <class C>
bool finite_from(const C& c, std::size_t first) {
  return all_from(c, first, [](double x) { return std::isfinite(x); });
}

/// Whether every identifier is below `nodes`.
template <class C>
bool ids_below(const C& c, std::size_t nodes) {
  return all_from(c, 0, [nodes](unsigned id) { return id < nodes; });
}

/// Whether `now` is `before` followed by identifiers below `nodes` (the caller's entries
/// stay as they were, whatever they hold).
inline bool appended_ids_below(const dense1D<unsigned>& before, const dense1D<unsigned>& now,
                               std::size_t nodes) {
  const std::size_t given = before.size();
  return now.size() >= given && same(before, now.sub_vector(0, given)) &&
         ids_below(now.sub_vector(given, now.size() - given), nodes);
}

/// The invariants of a line mesh: on failure pos as it came; on success pos kept and grown,
/// new indices over it, one parameter per new index, and finite new values for finite input.
/// Returns whether the call succeeded.
inline bool check_line_mesh(int code, const dense2D<double>& before, const dense2D<double>& pos,
                            const dense1D<unsigned>& new_indices, const dense1D<double>& new_params,
                            const dense1D<double>& new_sizes, const dense2D<double>& new_metrics,
                            bool finite) {
  if (code != 0) {
    require(same(before, pos));
    return false;
  }
  require(kept(before, pos) && ids_below(new_indices, pos.cols()));
  require(new_params.size() == new_indices.size());
  if (finite)
    require(finite_from(pos, before.cols()) && finite_from(new_params, 0) &&
            finite_from(new_sizes, 0) && finite_from(new_metrics, 0));
  return true;
}

/// The arguments of a network remeshing as they came, and the invariants of its result.
struct network_before {
  dense2D<double> pos;
  dense2D<unsigned> connect;
  dense1D<unsigned> colors, hard_nodes;

  /// On failure every argument as it came; on success pos kept and grown, E2 elements and
  /// hard nodes over it, one color per element when colors were given, and finite new
  /// nodes for finite input.
  /// lowest is the lowest argument code of the call.
  void check(int code, const dense2D<double>& p, const dense2D<unsigned>& c,
             const dense1D<unsigned>& k, const dense1D<unsigned>& h, bool finite,
             int lowest = -13) const {
    require(code == 0 || code == vorn::filum::storage_failure || (code < 0 && code >= lowest));
    if (code != 0) {
      require(same(pos, p) && same(connect, c) && same(colors, k) && same(hard_nodes, h));
      return;
    }
    require(kept(pos, p) && c.rows() == 2 && ids_below(c, p.cols()) && ids_below(h, p.cols()));
    require(colors.empty() || k.size() == c.cols());
    require(!finite || finite_from(p, pos.cols()));
  }
};

/// Runs the target's body on the decoder of each input.
void run_one(input& in);

}  // namespace filum_fuzz

/// Defines the entry point of a fuzz target; the body that follows runs on the decoder `in`,
/// in namespace filum_fuzz.
#define FILUM_FUZZ_TARGET(in)                                                         \
  extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) { \
    filum_fuzz::input decoder(data, size);                                            \
    filum_fuzz::run_one(decoder);                                                     \
    return 0;                                                                         \
  }                                                                                   \
  void filum_fuzz::run_one(filum_fuzz::input& in)

#endif
