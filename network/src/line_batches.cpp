#include "line_batches.h"

#include <algorithm>

#include <vorn/filum.h>

#include "on_curve.h"
#include "remesh/line_chain.h"

namespace vorn {
namespace filum {
namespace {

// Appends the chain of the new mesh to the batch: nodes of the line under their network
// identifiers, new nodes by their column in the batch.
bool append_chain(const batch_buffers& b, std::size_t n, std::size_t first_new_column,
                  line_batch& out) noexcept {
  const dense1D<unsigned>& indices = b.work.new_indices;
  if (!out.chains.reserve(out.chains.size() + indices.size(), 2)) return false;
  for (unsigned id : indices) {
    const std::int64_t new_node = static_cast<std::int64_t>(first_new_column + (id - n));
    out.chains.push_back(id < n ? std::int64_t{b.global_chain[id]} : -1 - new_node);
  }
  return out.chain_ends.push_back(static_cast<unsigned>(out.chains.size()));
}

// Appends the columns of pos from `first` on to the batch's new nodes.
bool append_new_nodes(const dense2D<double>& pos, std::size_t first, line_batch& out) noexcept {
  const std::size_t before = out.new_pos.cols(), added = pos.cols() - first;
  if (!out.new_pos.reserve(pos.rows(), before + added, 2) ||
      !out.new_pos.resize(pos.rows(), before + added))
    return false;
  for (std::size_t j = 0; j < added; ++j)
    for (std::size_t i = 0; i < pos.rows(); ++i)
      out.new_pos(i, before + j) = pos(i, first + j);
  return true;
}

// Copies the line's nodes to the thread's own coordinates and renumbers its chains
// there: the line's k-th node is column k (a closed line's last node is a copy of its
// first), and the ghosts take the column of the node they repeat.
template <std::size_t D>
bool localise_line(const dense2D<double>& pos, batch_buffers& b) noexcept {
  line_work& w = b.work;
  const std::size_t n = w.chain.size();
  if (!b.global_chain.resize(n) || !b.local_pos.resize(D, n)) return false;
  for (std::size_t k = 0; k < n; ++k) {
    b.global_chain[k] = w.chain[k];
    for (std::size_t i = 0; i < D; ++i)
      b.local_pos(i, k) = pos(i, w.chain[k]);
    w.chain[k] = static_cast<unsigned>(k);
    w.padded_chain[k + 1] = static_cast<unsigned>(k);
  }
  const bool closed = b.global_chain[0] == b.global_chain[n - 1];
  w.padded_chain[0] = static_cast<unsigned>(closed ? n - 2 : 0);
  w.padded_chain[n + 1] = static_cast<unsigned>(closed ? 1 : n - 1);
  return true;
}

// The settings of one line: a closed line gets at least min_closed_elements elements.
remesh_settings line_settings(const batch_job& job, bool closed) noexcept {
  remesh_settings s = job.settings;
  if (closed) {
    s.min_elements = std::max(s.min_elements, job.min_closed_elements);
    s.max_elements = std::max(s.max_elements, s.min_elements);
  }
  return s;
}

// Meshes line i into the batch and fills its record.
template <std::size_t D>
int mesh_one_line(const batch_job& job, batch_buffers& b, std::size_t i, line_batch& out,
                  line_record& record) noexcept {
  const line_network& net = *job.net;
  const dense2D<unsigned>& connectM = *job.connectM;
  line_work& w = b.work;
  record =
      line_record{line_path::polyline, static_cast<unsigned>(net.element_count(i)), 0, 0, 0, false};
  if (line_chain(connectM, net.line_starts, net.line_elements, i, w.chain) != 0)
    return storage_failure;
  const std::size_t n = w.chain.size();
  const unsigned first = net.elements_of(i)[0];
  if (n == 2 && net.hard_edges.contains(first)) {
    record.path = line_path::hard_edge;
    record.elements_out = 1;
    record.length = (*job.lengths)[i];
    const bool kept = out.chains.push_back(connectM(0, first)) &&
                      out.chains.push_back(connectM(1, first)) &&
                      out.chain_ends.push_back(static_cast<unsigned>(out.chains.size()));
    return kept ? 0 : storage_failure;
  }
  if (!pad_line(net, w) || !localise_line<D>(*job.pos, b)) return storage_failure;
  record.length = (*job.lengths)[i];
  const bool closed = b.global_chain[0] == b.global_chain[n - 1];
  if (closed && record.length < job.min_closed_length) {
    record.path = line_path::dropped;
    return out.chain_ends.push_back(static_cast<unsigned>(out.chains.size())) ? 0 : storage_failure;
  }
  const remesh_settings s = line_settings(job, closed);
  const int code = mesh_line_nodes<D>(b.local_pos, s, w);
  if (code < 0) return code;
  const unsigned last = static_cast<unsigned>(n - 1);
  if (!is_whole_chain(w.new_indices, 0, last, b.local_pos)) return storage_failure;
  if (w.spline_used && job.node_placement == placement::on_curve &&
      w.new_params.size() == w.new_indices.size() &&
      !place_on_curve<D>(b.local_pos, w.padded_chain, n, w.new_indices.data(), w.new_params.data(),
                         w.new_indices.size(), b.node_params))
    return storage_failure;
  record.path = w.spline_used ? line_path::spline : line_path::polyline;
  record.max_deviation = w.spline_used ? w.max_deviation : 0;
  record.elements_out = static_cast<unsigned>(w.new_indices.size() - 1);
  record.capped = record.elements_out >= s.max_elements;
  const std::size_t first_new_column = out.new_pos.cols();
  if (!append_new_nodes(b.local_pos, n, out) || !append_chain(b, n, first_new_column, out))
    return storage_failure;
  return 0;
}

}  // namespace

bool batch_buffers::reserve(std::size_t rows, std::size_t elements) noexcept {
  ready = work.reserve(elements) && global_chain.reserve(elements + 1) &&
          local_pos.reserve(rows, 2 * (elements + 1)) && node_params.reserve(elements + 1);
  return ready;
}

bool make_batches(const line_network& net, std::size_t elements,
                  std::vector<line_batch>& batches) noexcept {
  try {
    batches.clear();
    std::size_t first = 0, in_batch = 0;
    for (std::size_t i = 0; i < net.line_count(); ++i) {
      in_batch += net.element_count(i);
      if (in_batch >= elements || i + 1 == net.line_count()) {
        batches.emplace_back();
        batches.back().first_line = first;
        batches.back().last_line = first = i + 1;
        in_batch = 0;
      }
    }
  } catch (...) {
    return false;
  }
  return true;
}

template <std::size_t D>
void mesh_batch(const batch_job& job, batch_buffers& buffers, line_batch& batch,
                line_record* records) noexcept {
  for (std::size_t i = batch.first_line; i < batch.last_line; ++i) {
    batch.code = mesh_one_line<D>(job, buffers, i, batch, records[i]);
    if (batch.code < 0) return;
  }
  // The batch grew by doubling: give the slack back while it waits for the assembly
  // (kept as it is when the compact copy cannot be had).
  dense2D<double> compact_pos;
  if (compact_pos.copy(batch.new_pos)) batch.new_pos = compact_pos;
  dense1D<std::int64_t> compact_chains;
  if (compact_chains.copy(batch.chains)) batch.chains = compact_chains;
}

template void mesh_batch<2>(const batch_job&, batch_buffers&, line_batch&, line_record*) noexcept;
template void mesh_batch<3>(const batch_job&, batch_buffers&, line_batch&, line_record*) noexcept;

}  // namespace filum
}  // namespace vorn
