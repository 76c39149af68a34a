// remesh_network: the job of remesh_lines on every core. Degenerate elements are dropped,
// the network is cut into lines once, the lines are meshed in batches on any thread into
// the batches' own storage, and the batches are appended in line order, so the bits do
// not depend on the thread count.

#include <algorithm>
#include <chrono>
#include <exception>
#include <vector>

#include <tbb/enumerable_thread_specific.h>
#include <tbb/global_control.h>
#include <tbb/task_arena.h>
#include <vorn/filum/network.h>
#include <vorn/tessa.h>

#include "degenerate_elements.h"
#include "frame/checks.h"
#include "line_batches.h"
#include "node_ends.h"
#include "parallel_blocks.h"
#include "remesh/detect_corners.h"

namespace vorn {
namespace filum {
namespace {

// Elements per batch: enough for many batches per thread, few enough to keep the
// per-batch overhead small.
constexpr std::size_t min_batch_elements = 4096;
constexpr std::size_t batches_wanted = 64;

using clock = std::chrono::steady_clock;

double seconds_since(clock::time_point start) noexcept {
  return std::chrono::duration<double>(clock::now() - start).count();
}

// The threads a call may use: the requested count (0: the caller's arena, which is every
// hardware thread unless the caller limited it), never above a tbb::global_control limit.
unsigned thread_count(unsigned requested) noexcept {
  try {
    const int here = tbb::this_task_arena::max_concurrency();
    const std::size_t limit =
        tbb::global_control::active_value(tbb::global_control::max_allowed_parallelism);
    std::size_t wanted = requested == 0 ? static_cast<std::size_t>(here) : requested;
    wanted = std::min(wanted, limit);
    return static_cast<unsigned>(std::max<std::size_t>(1, wanted));
  } catch (...) {
    return 1;
  }
}

// The nodes the core's corner search adds, judged block by block on `threads` threads and
// listed in block order. False when storage fails.
template <std::size_t D>
bool find_corners(const dense2D<double>& pos, const dense2D<unsigned>& connectM,
                  const dense2D<unsigned>& neighbors, const remesh_settings& settings,
                  unsigned threads, dense1D<unsigned>& corners) noexcept {
  block_lists found;
  if (!found.reset(block_count(connectM.cols()))) return false;
  for_each_block(threads, connectM.cols(), [&](std::size_t first, std::size_t last) {
    const std::size_t b = first / elements_per_block;
    found.mark(b, corner_nodes<D>(pos, connectM, neighbors, settings.corner_angle,
                                  settings.min_size, first, last, found.start(b)));
  });
  return found.join(corners);
}

// Meshes every batch, on `threads` threads when there are more than one; on one thread
// when the pool cannot run. Records go to report.lines_detail.
template <std::size_t D>
void mesh_batches(const batch_job& job, unsigned threads, std::vector<line_batch>& batches,
                  network_report& report) noexcept {
  const std::size_t longest = job.net->longest_line();
  line_record* records = report.lines_detail.data();
  if (threads > 1) {
    try {
      tbb::enumerable_thread_specific<batch_buffers> buffers;
      auto task = [&](std::size_t b) {
        batch_buffers& own = buffers.local();
        if (!own.ready && !own.reserve(D, longest))
          batches[b].code = storage_failure;
        else
          mesh_batch<D>(job, own, batches[b], records);
      };
      if (run_parallel(threads, batches.size(), task)) return;
    } catch (...) {
    }
    for (line_batch& batch : batches)
      batch = line_batch{batch.first_line, batch.last_line, {}, {}, {}, 0};
    report.threads_used = 1;
  }
  batch_buffers own;
  if (!own.reserve(D, longest)) {
    batches.front().code = storage_failure;
    return;
  }
  for (line_batch& batch : batches)
    mesh_batch<D>(job, own, batch, records);
}

// Measures the lines batch by batch on `threads` threads into lengths, then sizes the
// nodes as the core's analysis does. False when storage fails.
template <std::size_t D>
bool size_nodes(const dense2D<double>& pos, const dense2D<unsigned>& connectM,
                const dense1D<double>& node_sizes, double min_size,
                const std::vector<line_batch>& batches, unsigned threads, line_network& net,
                dense1D<double>& lengths) noexcept {
  if (!lengths.resize(net.line_count())) return false;
  for_each_task(threads, batches.size(), [&](std::size_t b) {
    for (std::size_t i = batches[b].first_line; i < batches[b].last_line; ++i)
      lengths[i] = line_length<D>(pos, connectM, net, i);
  });
  size_line_ends(connectM, node_sizes, min_size, lengths, net);
  return true;
}

// Where each batch's new nodes and elements go, and the color of each line.
struct assembly_plan {
  dense1D<std::size_t> node_base, element_base;
  dense1D<unsigned> line_color;
  std::size_t new_nodes = 0, elements = 0;
};

// Counts the new nodes and elements, hands out the line colors in line order (a dropped
// line takes none) and fills the report's totals.
bool plan_assembly(const std::vector<line_batch>& batches, const line_network& net,
                   const dense1D<unsigned>& colors, network_report& report,
                   assembly_plan& plan) noexcept {
  if (!plan.node_base.resize(batches.size()) || !plan.element_base.resize(batches.size()) ||
      !plan.line_color.resize(net.line_count()))
    return false;
  line_colors colors_of_lines(colors);
  for (std::size_t b = 0; b < batches.size(); ++b) {
    plan.node_base[b] = plan.new_nodes;
    plan.element_base[b] = plan.elements;
    plan.new_nodes += batches[b].new_pos.cols();
    for (std::size_t i = batches[b].first_line; i < batches[b].last_line; ++i) {
      const line_record& record = report.lines_detail[i];
      report.max_deviation = std::max(report.max_deviation, record.max_deviation);
      if (record.path == line_path::dropped) {
        ++report.closed_lines_dropped;
        report.closed_length_dropped += record.length;
        continue;
      }
      plan.line_color[i] = colors_of_lines.of(net.elements_of(i), net.element_count(i));
      plan.elements += record.elements_out;
    }
  }
  return true;
}

// Copies batch b's new nodes to pos and its elements and colors to the new network.
void write_batch(const line_batch& batch, const assembly_plan& plan, std::size_t b,
                 std::size_t entry_cols, dense2D<double>& pos, dense2D<unsigned>& connectM,
                 dense1D<unsigned>& colors) noexcept {
  const std::size_t node_base = entry_cols + plan.node_base[b];
  for (std::size_t j = 0; j < batch.new_pos.cols(); ++j)
    for (std::size_t i = 0; i < pos.rows(); ++i)
      pos(i, node_base + j) = batch.new_pos(i, j);
  auto node = [&](std::int64_t entry) {
    return static_cast<unsigned>(entry >= 0 ? entry : node_base + (-1 - entry));
  };
  std::size_t e = plan.element_base[b], begin = 0;
  for (std::size_t i = batch.first_line; i < batch.last_line; ++i) {
    const std::size_t end = batch.chain_ends[i - batch.first_line];
    for (std::size_t k = begin; k + 1 < end; ++k, ++e) {
      connectM(0, e) = node(batch.chains[k]);
      connectM(1, e) = node(batch.chains[k + 1]);
      colors[e] = plan.line_color[i];
    }
    begin = end;
  }
}

// The arguments after degenerate elements are dropped: the caller's own, or the copies.
struct clean_network {
  dense2D<unsigned> connectM;
  dense1D<unsigned> colors, hard_edges;
};

// Checks the arguments in remesh_lines' order and codes; -14 for min_closed_length.
int check_arguments(const dense2D<double>& pos, const dense2D<unsigned>& connectM,
                    const dense1D<unsigned>& hard_edges, const network_options& o) noexcept {
  if (!is_plane_or_space(pos)) return -1;
  if (!ids_in(connectM, pos)) return -2;
  if (!(o.size >= 0)) return -3;
  const unsigned bound = connectM.cols() >= no_id ? no_id : static_cast<unsigned>(connectM.cols());
  if (!tessa::check_IDs(hard_edges, bound)) return -7;
  if (!(o.corner_angle >= 0)) return -9;
  if (!(o.max_gradation >= 0)) return -11;
  if (!(o.min_size >= 0)) return -12;
  if (o.min_elements > o.max_elements) return -13;
  if (!(o.min_closed_length >= 0)) return -14;
  return 0;
}

template <std::size_t D>
int remesh_checked(dense2D<double>& pos, dense2D<unsigned>& connectM, dense1D<unsigned>& colors,
                   dense1D<unsigned>& hard_nodes, const dense1D<unsigned>& hard_edges,
                   const dense1D<double>& node_sizes, const network_options& o,
                   network_report& report) noexcept {
  clock::time_point start = clock::now();
  const unsigned threads = thread_count(o.threads);
  degenerate_counts dropped;
  clean_network clean;
  node_ends ends;
  if (drop_degenerate_elements(pos, connectM, colors, hard_edges, dropped, clean.connectM,
                               clean.colors, clean.hard_edges, ends, threads) != 0)
    return storage_failure;
  if (dropped.total() == 0) clean = clean_network{connectM, colors, hard_edges};
  report.self_loops_dropped = dropped.self_loops;
  report.zero_length_dropped = dropped.zero_length;
  report.duplicates_dropped = dropped.duplicates;
  if (clean.connectM.empty()) {
    // Every element was degenerate: no line is left, and the hard nodes are the given ones
    // that name a node, ascending, as on any other success.
    dense1D<unsigned> kept;
    if (!kept.reserve(hard_nodes.size())) return storage_failure;
    for (unsigned node : hard_nodes)
      if (node < pos.cols()) kept.push_back(node);
    std::sort(kept.begin(), kept.end());
    kept.resize(static_cast<std::size_t>(std::unique(kept.begin(), kept.end()) - kept.begin()));
    connectM = clean.connectM;
    colors.clear();
    hard_nodes = kept;
    return 0;
  }
  const remesh_settings settings{o.size,          o.force_even, o.corner_angle, o.chordal_tol,
                                 o.max_gradation, o.min_size,   o.min_elements, o.max_elements};
  dense2D<unsigned> neighbors;
  if (!neighbor_table(clean.connectM, ends, neighbors, threads)) return storage_failure;
  // The lines take over the storage of the node ends, which the analysis needs no more:
  // memory already touched is cheaper than fresh pages.
  line_network net;
  net.line_elements = ends.first;
  net.line_elements.clear();
  ends = node_ends{};
  dense1D<unsigned> corners;
  if (!find_corners<D>(pos, clean.connectM, neighbors, settings, threads, corners))
    return storage_failure;
  int boundary_code = 0;
  const int cut_code =
      cut_into_lines<D>(pos, clean.connectM, clean.colors, hard_nodes, clean.hard_edges, settings,
                        net, boundary_code, &neighbors, &corners);
  if (cut_code < 0) return cut_code;
  neighbors = dense2D<unsigned>();
  const std::size_t batch_elements =
      std::max(min_batch_elements, clean.connectM.cols() / batches_wanted);
  std::vector<line_batch> batches;
  dense1D<double> lengths;
  if (!make_batches(net, batch_elements, batches) ||
      !size_nodes<D>(pos, clean.connectM, node_sizes, settings.min_size, batches, threads, net,
                     lengths))
    return storage_failure;
  if (boundary_code < 0) return boundary_code;
  report.lines = net.line_count();
  report.seconds_analysis = seconds_since(start);

  start = clock::now();
  if (!report.lines_detail.resize(net.line_count())) return storage_failure;
  const batch_job job{&pos,
                      &clean.connectM,
                      &net,
                      &lengths,
                      settings,
                      o.node_placement,
                      o.min_closed_elements,
                      o.min_closed_length};
  report.threads_used = threads;
  mesh_batches<D>(job, threads, batches, report);
  for (const line_batch& batch : batches)
    if (batch.code < 0) return batch.code;
  report.seconds_meshing = seconds_since(start);

  start = clock::now();
  assembly_plan plan;
  dense2D<unsigned> new_connectM;
  dense1D<unsigned> new_colors, new_hard_nodes;
  if (!plan_assembly(batches, net, clean.colors, report, plan) ||
      !new_connectM.resize(2, plan.elements) || !new_colors.resize(plan.elements) ||
      !sorted_hard_nodes(net.hard_nodes, new_hard_nodes))
    return storage_failure;
  net.line_elements = dense1D<unsigned>();  // what the network needs no more
  net.line_starts = dense1D<unsigned>();
  net.sizes = dense1D<double>();
  clean = clean_network{};
  const std::size_t entry_cols = pos.cols();
  if (!pos.resize(pos.rows(), entry_cols + plan.new_nodes)) return storage_failure;
  for_each_task(report.threads_used, batches.size(), [&](std::size_t b) {
    write_batch(batches[b], plan, b, entry_cols, pos, new_connectM, new_colors);
  });
  connectM = new_connectM;
  colors = new_colors;
  hard_nodes = new_hard_nodes;
  report.elements_out = plan.elements;
  report.seconds_assembly = seconds_since(start);
  return 0;
}

}  // namespace

int remesh_network(dense2D<double>& pos, dense2D<unsigned>& connectM, dense1D<unsigned>& colors,
                   dense1D<unsigned>& hard_nodes, const dense1D<unsigned>& hard_edges,
                   const dense1D<double>& node_sizes, const network_options& options,
                   network_report& report) noexcept {
  report = network_report{};
  report.elements_in = connectM.cols();
  if (connectM.empty()) return 0;
  const int code = check_arguments(pos, connectM, hard_edges, options);
  if (code < 0) return code;
  const std::size_t entry_cols = pos.cols();
  const int result = pos.rows() == 2 ? remesh_checked<2>(pos, connectM, colors, hard_nodes,
                                                         hard_edges, node_sizes, options, report)
                                     : remesh_checked<3>(pos, connectM, colors, hard_nodes,
                                                         hard_edges, node_sizes, options, report);
  if (result < 0) pos.resize(pos.rows(), entry_cols);
  return result;
}

}  // namespace filum
}  // namespace vorn
