#include <cmath>
#include <cstring>

#include <vorn/tessa.h>

#include "packed.h"

namespace vorn {
namespace tessa {
namespace {

constexpr unsigned absent = 0xFFFFFFFFu;

// Growth rate of sizes per unit length: ln(gradation), 0 when gradation <= 1 or NaN.
double growth_rate(double gradation) noexcept {
  return gradation > 1 ? std::log(gradation) : 0.0;
}

// The bound a node of size h puts on a neighbor at distance l.
double graded_bound(double h, double rate, double l) noexcept {
  return rate > 0 ? h + rate * l : h;
}

// The column count of pos as an identifier bound (saturated to 32 bits).
unsigned node_bound(const dense2D<double>& pos) noexcept {
  return pos.cols() >= 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<unsigned>(pos.cols());
}

// Checks of the arguments both overloads share, in argument order.
int check_graph(const dense2D<double>& pos, const dense2D<unsigned>& connectM, element_type type,
                const dense1D<unsigned>& nodes) noexcept {
  if (pos.rows() != 2 && pos.rows() != 3) return -1;
  if (!check_IDs(connectM, element_type::edge2, node_bound(pos))) return -2;
  if (type != element_type::edge2) return -3;
  if (!check_IDs(nodes, node_bound(pos))) return -4;
  return 0;
}

// Which nodes may be lowered: all of them, or only those of a non-empty list.
class lowerable_nodes {
 public:
  bool build(const dense1D<unsigned>& nodes, std::size_t count) noexcept {
    all_ = nodes.empty();
    if (all_) return true;
    if (!listed_.resize(count, 0)) return false;
    for (unsigned id : nodes)
      listed_[id] = 1;
    return true;
  }
  bool operator()(std::size_t node) const noexcept { return all_ || listed_[node] != 0; }

 private:
  bool all_ = true;
  dense1D<unsigned char> listed_;
};

// Distance between the first D coordinates of nodes a and b.
template <std::size_t D>
double distance(const dense2D<double>& pos, std::size_t a, std::size_t b) noexcept {
  double squared = 0;
  for (std::size_t i = 0; i < D; ++i) {
    const double d = pos(i, b) - pos(i, a);
    squared += d * d;
  }
  return std::sqrt(squared);
}

// Node adjacency of the edges in compressed rows: the neighbors of node i are
// targets[first[i]] .. targets[first[i + 1] - 1]. Edges from a node to itself are left out.
struct adjacency {
  dense1D<std::size_t> first;
  dense1D<unsigned> targets;

  bool build(const dense2D<unsigned>& connectM, std::size_t nodes) noexcept {
    if (!first.resize(nodes + 1, 0)) return false;
    for (std::size_t e = 0; e < connectM.cols(); ++e) {
      const unsigned a = connectM(0, e), b = connectM(1, e);
      if (a == b) continue;
      ++first[a + 1];
      ++first[b + 1];
    }
    for (std::size_t i = 0; i < nodes; ++i)
      first[i + 1] += first[i];
    if (!targets.resize(first[nodes])) return false;
    // Fill with first[i] as the cursor of node i, then shift the cursors back.
    for (std::size_t e = 0; e < connectM.cols(); ++e) {
      const unsigned a = connectM(0, e), b = connectM(1, e);
      if (a == b) continue;
      targets[first[a]++] = b;
      targets[first[b]++] = a;
    }
    for (std::size_t i = nodes; i > 0; --i)
      first[i] = first[i - 1];
    first[0] = 0;
    return true;
  }
};

// Binary min-heap of nodes keyed by an external array, with each node's slot kept so
// that a lowered key can move up in O(log n).
class node_heap {
 public:
  explicit node_heap(const double* keys) noexcept : keys_(keys) {}

  bool reserve(std::size_t nodes) noexcept {
    return heap_.reserve(nodes) && slot_.resize(nodes, absent);
  }
  void push_unordered(unsigned node) noexcept {
    slot_[node] = static_cast<unsigned>(heap_.size());
    heap_.push_back(node);  // within the reserved capacity
  }
  void make_heap() noexcept {
    for (std::size_t k = heap_.size() / 2; k-- > 0;)
      sift_down(k);
  }
  bool empty() const noexcept { return heap_.empty(); }
  bool contains(unsigned node) const noexcept { return slot_[node] != absent; }
  unsigned pop() noexcept {
    const unsigned top = heap_[0];
    slot_[top] = absent;
    const unsigned last = heap_[heap_.size() - 1];
    heap_.resize(heap_.size() - 1);
    if (!heap_.empty()) {
      place(0, last);
      sift_down(0);
    }
    return top;
  }
  // The key of node has decreased.
  void lowered(unsigned node) noexcept { sift_up(slot_[node]); }

 private:
  void place(std::size_t k, unsigned node) noexcept {
    heap_[k] = node;
    slot_[node] = static_cast<unsigned>(k);
  }
  bool less(std::size_t a, std::size_t b) const noexcept {
    return keys_[heap_[a]] < keys_[heap_[b]];
  }
  void swap_slots(std::size_t a, std::size_t b) noexcept {
    const unsigned na = heap_[a], nb = heap_[b];
    place(a, nb);
    place(b, na);
  }
  void sift_up(std::size_t k) noexcept {
    while (k > 0 && less(k, (k - 1) / 2)) {
      swap_slots(k, (k - 1) / 2);
      k = (k - 1) / 2;
    }
  }
  void sift_down(std::size_t k) noexcept {
    const std::size_t n = heap_.size();
    for (;;) {
      std::size_t smallest = k;
      const std::size_t left = 2 * k + 1, right = 2 * k + 2;
      if (left < n && less(left, smallest)) smallest = left;
      if (right < n && less(right, smallest)) smallest = right;
      if (smallest == k) return;
      swap_slots(k, smallest);
      k = smallest;
    }
  }

  const double* keys_;
  dense1D<unsigned> heap_;
  dense1D<unsigned> slot_;
};

// Lowers sizes to the largest field not above them with h_j <= h_i + rate l_ij on every
// edge into a lowerable node j: a shortest-path sweep from the smallest sizes, in which a
// node's size is final when it leaves the heap.
template <std::size_t D>
int grade_sizes(const dense2D<double>& pos, const dense2D<unsigned>& connectM,
                const lowerable_nodes& lowerable, double rate, dense1D<double>& sizes) noexcept {
  const std::size_t n = pos.cols();
  adjacency graph;
  node_heap heap(sizes.data());
  if (!graph.build(connectM, n) || !heap.reserve(n)) return -199;
  for (std::size_t i = 0; i < n; ++i)
    if (graph.first[i + 1] > graph.first[i]) heap.push_unordered(static_cast<unsigned>(i));
  heap.make_heap();
  while (!heap.empty()) {
    const unsigned i = heap.pop();
    for (std::size_t k = graph.first[i]; k < graph.first[i + 1]; ++k) {
      const unsigned j = graph.targets[k];
      if (!heap.contains(j) || !lowerable(j)) continue;
      const double bound = graded_bound(sizes[i], rate, distance<D>(pos, i, j));
      if (bound < sizes[j]) {
        sizes[j] = bound;
        heap.lowered(j);
      }
    }
  }
  return 0;
}

template <std::size_t D>
packed_metric<D> metric_column(const dense2D<double>& metrics, std::size_t j) noexcept {
  packed_metric<D> M;
  std::memcpy(M.data(), metrics.data() + j * metrics.ld(), sizeof(M.values));
  return M;
}

// Whether b differs from a by more than a relative 1e-12 of a's largest entry.
template <std::size_t D>
bool differs(const packed_metric<D>& a, const packed_metric<D>& b) noexcept {
  double scale = 0;
  double change = 0;
  for (std::size_t k = 0; k < a.size(); ++k) {
    scale = std::fmax(scale, std::fabs(a[k]));
    change = std::fmax(change, std::fabs(b[k] - a[k]));
  }
  return change > 1e-12 * scale;
}

// Bounds the metric of node `to` by that of node `from` grown over the edge vector d:
// M_from / eta^2 with eta = 1 + rate sqrt(d' M_from d). Returns whether `to` changed.
template <std::size_t D>
bool spread_metric(dense2D<double>& metrics, std::size_t from, std::size_t to, const double* d,
                   double rate) noexcept {
  const packed_metric<D> source = metric_column<D>(metrics, from);
  const double eta = 1 + rate * std::sqrt(quadratic_form<D>(source, d));
  if (!(eta >= 1) || !std::isfinite(eta)) return false;
  packed_metric<D> grown = source;
  for (std::size_t k = 0; k < grown.size(); ++k)
    grown[k] /= eta * eta;
  const packed_metric<D> old = metric_column<D>(metrics, to);
  packed_metric<D> bounded;
  if (!minimum_metric(old, grown, bounded) || !differs<D>(old, bounded)) return false;
  std::memcpy(metrics.data() + to * metrics.ld(), bounded.data(), sizeof(bounded.values));
  return true;
}

// The same law for metrics, direction by direction: passes over the edges, alternately
// in column order and in reverse, until one changes nothing (at most 100 passes).
template <std::size_t D>
void grade_metrics(const dense2D<double>& pos, const dense2D<unsigned>& connectM,
                   const lowerable_nodes& lowerable, double rate,
                   dense2D<double>& metrics) noexcept {
  const std::size_t edges = connectM.cols();
  for (int pass = 0; pass < 100; ++pass) {
    bool changed = false;
    for (std::size_t k = 0; k < edges; ++k) {
      const std::size_t e = pass % 2 == 0 ? k : edges - 1 - k;
      const unsigned a = connectM(0, e), b = connectM(1, e);
      if (a == b) continue;
      double d[D];
      for (std::size_t i = 0; i < D; ++i)
        d[i] = pos(i, b) - pos(i, a);
      if (lowerable(b)) changed = spread_metric<D>(metrics, a, b, d, rate) || changed;
      if (lowerable(a)) changed = spread_metric<D>(metrics, b, a, d, rate) || changed;
    }
    if (!changed) return;
  }
}

}  // namespace

int bound_metric_gradations(const dense2D<double>& pos, const dense2D<unsigned>& connectM,
                            element_type type, const dense1D<unsigned>& nodes, bool flag, int mode,
                            double gradation, dense1D<double>& sizes) noexcept {
  (void)flag;
  (void)mode;
  if (connectM.empty()) return 0;
  if (const int code = check_graph(pos, connectM, type, nodes)) return code;
  if (sizes.size() != pos.cols()) return -8;
  for (double h : sizes)
    if (std::isnan(h)) return -8;
  const double rate = growth_rate(gradation);
  if (std::isinf(rate)) return 0;
  lowerable_nodes lowerable;
  if (!lowerable.build(nodes, pos.cols())) return -199;
  return pos.rows() == 2 ? grade_sizes<2>(pos, connectM, lowerable, rate, sizes)
                         : grade_sizes<3>(pos, connectM, lowerable, rate, sizes);
}

int bound_metric_gradations(const dense2D<double>& pos, const dense2D<unsigned>& connectM,
                            element_type type, const dense1D<unsigned>& nodes, bool flag, int mode,
                            double gradation, dense2D<double>& metrics) noexcept {
  (void)flag;
  (void)mode;
  if (connectM.empty()) return 0;
  if (const int code = check_graph(pos, connectM, type, nodes)) return code;
  const std::size_t rows = pos.rows() == 2 ? 3 : 6;
  if (metrics.rows() != rows || metrics.cols() != pos.cols()) return -8;
  const double rate = growth_rate(gradation);
  if (std::isinf(rate)) return 0;
  lowerable_nodes lowerable;
  if (!lowerable.build(nodes, pos.cols())) return -199;
  if (pos.rows() == 2)
    grade_metrics<2>(pos, connectM, lowerable, rate, metrics);
  else
    grade_metrics<3>(pos, connectM, lowerable, rate, metrics);
  return 0;
}

}  // namespace tessa
}  // namespace vorn
