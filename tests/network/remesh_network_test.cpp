#include <cmath>
#include <limits>
#include <vector>

#include <gtest/gtest.h>
#include <tbb/global_control.h>
#include <vorn/filum.h>
#include <vorn/filum/network.h>

#include "support/filum_test.h"
#include "support/line_geometry.h"
#include "support/random_network.h"

using namespace vorn;
using namespace filum_test;
using filum::no_id;

namespace {

const double pi = std::acos(-1.0);

// A network and everything remesh_network takes for it.
struct network_case {
  dense2D<double> pos;
  dense2D<unsigned> connectM;
  dense1D<unsigned> colors, hard_nodes, hard_edges;
  dense1D<double> node_sizes;
  filum::network_options options;

  network_case copy() const {
    network_case c = *this;
    c.pos.copy(pos), c.connectM.copy(connectM), c.colors.copy(colors);
    c.hard_nodes.copy(hard_nodes);
    return c;
  }
  int run(filum::network_report& report) {
    return filum::remesh_network(pos, connectM, colors, hard_nodes, hard_edges, node_sizes, options,
                                 report);
  }
  int run() {
    filum::network_report report;
    return run(report);
  }
  int run_remesh_lines() {
    return filum::remesh_lines(pos, connectM, options.size, node_sizes, colors, hard_nodes,
                               hard_edges, options.force_even, options.corner_angle,
                               options.chordal_tol, options.max_gradation, options.min_size,
                               options.min_elements, options.max_elements);
  }
};

// A random network (see filum_test::random_network) at size 0.1.
network_case random_case(unsigned seed, std::size_t rows) {
  random_lines r = random_network(seed, rows);
  network_case c{r.pos, r.connectM, r.colors, r.hard_nodes, r.hard_edges, r.node_sizes, {}};
  c.options.size = 0.1;
  return c;
}

// The outputs of a call, compared bit for bit.
struct outputs {
  int code;
  std::vector<double> pos;
  std::vector<unsigned> connectM, colors, hard_nodes;
  bool operator==(const outputs& o) const {
    return code == o.code && pos == o.pos && connectM == o.connectM && colors == o.colors &&
           hard_nodes == o.hard_nodes;
  }
};

outputs outputs_of(const network_case& c, int code) {
  return {code, flat(c.pos), flat(c.connectM), entries(c.colors), entries(c.hard_nodes)};
}

outputs remeshed(const network_case& given, unsigned threads, unsigned min_closed_elements) {
  network_case c = given.copy();
  c.options.threads = threads;
  c.options.min_closed_elements = min_closed_elements;
  const int code = c.run();
  return outputs_of(c, code);
}

TEST(RemeshNetwork, GivesTheBitsOfRemeshLinesForEveryThreadCount) {
  for (unsigned seed = 1; seed <= 16; ++seed)
    for (double chordal_tol : {0.0, -0.01, 2e-3}) {
      SCOPED_TRACE(::testing::Message() << "seed " << seed << " chordal_tol " << chordal_tol);
      network_case c = random_case(seed, seed % 2 ? 2 : 3);
      c.options.chordal_tol = chordal_tol;
      network_case reference = c.copy();
      const outputs expected = outputs_of(reference, reference.run_remesh_lines());
      const outputs closed_floor = remeshed(c, 1, 3);
      EXPECT_EQ(closed_floor.code, expected.code);
      for (unsigned threads : {1u, 2u, 3u, 8u}) {
        EXPECT_TRUE(remeshed(c, threads, 1) == expected) << threads << " threads";
        EXPECT_TRUE(remeshed(c, threads, 3) == closed_floor) << threads << " threads";
      }
    }
}

// A circle of n nodes of radius 1, counterclockwise.
network_case circle(unsigned n, double size) {
  network_case c;
  c.pos = arc(n + 1, 1, 2 * pi), c.connectM = path_elements(n, true);
  c.pos.resize(2, n);
  c.options.size = size;
  return c;
}

void append_element(network_case& c, unsigned a, unsigned b) {
  const std::size_t E = c.connectM.cols();
  c.connectM.resize(2, E + 1);
  c.connectM(0, E) = a, c.connectM(1, E) = b;
}

TEST(RemeshNetwork, DropsAndCountsDegenerateElements) {
  network_case clean = circle(100, 0.25);
  clean.pos.resize(2, 101);
  clean.pos(0, 100) = clean.pos(0, 7), clean.pos(1, 100) = clean.pos(1, 7);
  network_case dirty = clean.copy();
  append_element(dirty, 5, 5);    // self-loop
  append_element(dirty, 7, 100);  // zero length
  append_element(dirty, 3, 4);    // repeated
  append_element(dirty, 12, 11);  // repeated backwards
  dirty.hard_edges = ids({103});  // names an element that is dropped
  filum::network_report report;
  ASSERT_EQ(dirty.run(report), 0);
  EXPECT_EQ(report.self_loops_dropped, 1u);
  EXPECT_EQ(report.zero_length_dropped, 1u);
  EXPECT_EQ(report.duplicates_dropped, 2u);
  ASSERT_EQ(clean.run(), 0);
  EXPECT_EQ(entries(dirty.connectM.as_vector()), entries(clean.connectM.as_vector()));
  EXPECT_EQ(report.elements_in, 104u);
  EXPECT_EQ(report.elements_out, clean.connectM.cols());

  // Found by fuzzing: a network of self-loops alone handed back a hard node beyond pos.
  network_case loops = circle(4, 0.25);
  loops.connectM = filum_test::make_columns<unsigned>({{1, 1}, {2, 2}});
  loops.colors = dense1D<unsigned>();
  loops.hard_nodes = ids({9, 2, 2});
  ASSERT_EQ(loops.run(), 0);
  EXPECT_EQ(loops.connectM.cols(), 0u);
  EXPECT_EQ(entries(loops.hard_nodes), std::vector<unsigned>({2}));
}

TEST(RemeshNetwork, KeepsClosedLinesAboveTheirFloorOrDropsShortOnes) {
  struct expectation {
    double min_closed_length;
    unsigned min_closed_elements;
    std::size_t island_elements;  // elements of the small circle in the output
    std::size_t dropped;
  };
  for (const expectation& x :
       {expectation{0, 3, 3, 0}, expectation{0, 5, 5, 0}, expectation{0.1, 3, 0, 1}}) {
    network_case c = circle(64, 0.2);
    c.options.chordal_tol = 1;  // splines without a curvature limit
    const std::size_t big_elements = [&] {
      network_case alone = c.copy();
      alone.run();
      return alone.connectM.cols();
    }();
    c.pos.resize(2, 96);
    for (unsigned k = 0; k < 32; ++k) {  // an island of radius 0.004 at (5, 5)
      c.pos(0, 64 + k) = 5 + 0.004 * std::cos(pi * k / 16);
      c.pos(1, 64 + k) = 5 + 0.004 * std::sin(pi * k / 16);
      append_element(c, 64 + k, 64 + (k + 1) % 32);
    }
    c.options.min_closed_length = x.min_closed_length;
    c.options.min_closed_elements = x.min_closed_elements;
    filum::network_report report;
    ASSERT_EQ(c.run(report), 0);
    EXPECT_EQ(c.connectM.cols(), big_elements + x.island_elements);
    EXPECT_EQ(report.closed_lines_dropped, x.dropped);
    EXPECT_NEAR(report.closed_length_dropped, x.dropped * 32 * 2 * 0.004 * std::sin(pi / 32),
                1e-12);
    for (std::size_t e = 0; e < c.connectM.cols(); ++e)
      EXPECT_NE(c.connectM(0, e), c.connectM(1, e)) << "self-loop " << e;
  }
}

TEST(RemeshNetwork, StorageFailureLeavesEveryArgumentAsItCame) {
  for (unsigned threads : {1u, 2u}) {
    network_case given = random_case(7, 2);
    given.options.chordal_tol = -0.01;
    given.options.threads = threads;
    const outputs before = outputs_of(given, -199);
    const std::size_t failures = sweep_allocation_failures(
        [&] { return given.copy(); }, [](network_case& c) { return c.run(); },
        [&](network_case& c, int code, bool failed) {
          if (code == 0) return;
          EXPECT_TRUE(failed);
          EXPECT_EQ(code, -199);
          EXPECT_TRUE(outputs_of(c, code) == before);
        });
    EXPECT_GT(failures, 10u);
  }
}

TEST(RemeshNetwork, RejectsBadArgumentsWithTheirCodes) {
  struct bad_case {
    int code;
    void (*spoil)(network_case&);
  };
  const bad_case cases[] = {
      {-1, [](network_case& c) { c.pos.resize(1, c.pos.cols()); }},
      {-2, [](network_case& c) { c.connectM(1, 0) = 1000; }},
      {-3, [](network_case& c) { c.options.size = -1; }},
      {-7, [](network_case& c) { c.hard_edges = ids({500}); }},
      {-9, [](network_case& c) { c.options.corner_angle = -1; }},
      {-11, [](network_case& c) { c.options.max_gradation = -1; }},
      {-12, [](network_case& c) { c.options.min_size = -1; }},
      {-13, [](network_case& c) { c.options.min_elements = 5, c.options.max_elements = 4; }},
      {-14,
       [](network_case& c) {
         c.options.min_closed_length = std::numeric_limits<double>::quiet_NaN();
       }},
  };
  for (const bad_case& bad : cases) {
    network_case c = circle(20, 0.3);
    bad.spoil(c);
    const outputs before = outputs_of(c, bad.code);
    EXPECT_TRUE(outputs_of(c, c.run()) == before) << "code " << bad.code;
  }
}

TEST(RemeshNetwork, StaysWithinTheCallersThreadLimit) {
  const network_case c = random_case(3, 2);
  const outputs free_run = remeshed(c, 8, 3);
  tbb::global_control limit(tbb::global_control::max_allowed_parallelism, 1);
  network_case limited = c.copy();
  limited.options.threads = 8;
  filum::network_report report;
  const int code = limited.run(report);
  EXPECT_EQ(report.threads_used, 1u);
  EXPECT_TRUE(outputs_of(limited, code) == free_run);
}

TEST(RemeshNetwork, ReportsEveryLine) {
  network_case c = random_case(11, 2);
  c.options.chordal_tol = -0.01;
  filum::network_report report;
  ASSERT_EQ(c.run(report), 0);
  ASSERT_EQ(report.lines_detail.size(), report.lines);
  std::size_t in = 0, out = 0, hard = 0;
  for (const filum::line_record& line : report.lines_detail) {
    in += line.elements_in, out += line.elements_out;
    hard += line.path == filum::line_path::hard_edge;
    EXPECT_GT(line.length, 0);
  }
  EXPECT_EQ(in, report.elements_in);
  EXPECT_EQ(out, report.elements_out);
  EXPECT_EQ(hard, 1u);
}

}  // namespace
