#include "mesher/refine_chain.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include <gtest/gtest.h>

#include "mesher/line_geometry.h"
#include "support/filum_test.h"

using namespace vorn;
using namespace vorn::filum;
using namespace filum_test;

namespace {

// A mesh of a chain by the driver, then refined.
struct refined {
  dense2D<double> pos;
  dense1D<unsigned> mesh;
  dense1D<double> params, sizes;
};

// Parameters of the chain of all columns by cumulative chord length.
dense1D<double> chord_params(const dense2D<double>& pos) {
  dense1D<double> params(pos.cols(), 0.0);
  for (std::size_t k = 1; k < pos.cols(); ++k)
    params[k] = params[k - 1] + std::hypot(pos(0, k) - pos(0, k - 1), pos(1, k) - pos(1, k - 1));
  return params;
}

refined mesh_and_refine(const dense2D<double>& pos, const dense1D<double>& sizes, double tol,
                        bool force_even = false, dense1D<double> params = dense1D<double>()) {
  const std::size_t n = pos.cols();
  const auto chain = first_columns(n);
  if (params.empty()) params = chord_params(pos);
  refined r;
  r.pos.copy(pos);
  EXPECT_EQ(mesh_chain_iso<2>(r.pos, chain, params, sizes, force_even, 1, 4294967295u, tol, 0,
                              r.mesh, r.params, r.sizes),
            0);
  EXPECT_EQ(refine_chain_iso<2>(r.pos, chain, params, sizes, force_even, tol, 0, n, r.mesh,
                                r.params, r.sizes),
            0);
  return r;
}

// The new nodes are the columns n, n + 1, ... of pos in the order of the mesh, every given
// interior node lies within tol of the mesh, and the three results agree in length.
void expect_well_formed(const refined& r, std::size_t n, double tol) {
  ASSERT_EQ(r.params.size(), r.mesh.size());
  ASSERT_EQ(r.sizes.size(), r.mesh.size());
  EXPECT_EQ(r.mesh[0], 0u);
  EXPECT_EQ(r.mesh[r.mesh.size() - 1], n - 1);
  unsigned next_new = static_cast<unsigned>(n);
  for (std::size_t j = 1; j + 1 < r.mesh.size(); ++j)
    if (r.mesh[j] >= n) {
      EXPECT_EQ(r.mesh[j], next_new++);
    }
  EXPECT_EQ(r.pos.cols(), next_new);
  for (std::size_t k = 1; k + 1 < n; ++k)
    EXPECT_LE(distance_to_polyline(r.pos, k, r.mesh), tol * (1 + 1e-9)) << k;
  for (std::size_t j = 1; j < r.params.size(); ++j)
    EXPECT_GE(r.params[j], r.params[j - 1]);
}

bool in_mesh(const refined& r, unsigned id) {
  return std::find(r.mesh.begin(), r.mesh.end(), id) != r.mesh.end();
}

}  // namespace

TEST(RefineChain, CornerNodeEntersTheMesh) {
  // Legs of 5.5 with size 1: no first-pass node falls on the corner, which is cut by 0.35.
  const auto pos = make_pos({{0, 0}, {5.5, 0}, {5.5, 5.5}});
  const auto r = mesh_and_refine(pos, values({1, 1, 1}), 0.01);
  expect_well_formed(r, 3, 0.01);
  EXPECT_TRUE(in_mesh(r, 1));
  EXPECT_EQ(r.mesh.size(), 13u);  // each leg of normalized length 5.5 gets 6 elements
}

TEST(RefineChain, EveryGivenNodeEndsWithinTheTolerance) {
  for (bool even : {false, true})
    for (double tol : {1e-2, 1e-4}) {
      const auto pos = arc(40, 1, 4);
      const auto r = mesh_and_refine(pos, dense1D<double>(40, 0.3), tol, even);
      expect_well_formed(r, 40, tol);
      EXPECT_TRUE(!even || (r.mesh.size() - 1) % 2 == 0) << tol;
    }
}

TEST(RefineChain, MeshWithinToleranceIsLeftAlone) {
  const auto pos = arc(30, 1, 1);
  const auto chain = first_columns(30);
  dense1D<double> params(30);
  for (std::size_t k = 0; k < 30; ++k)
    params[k] = static_cast<double>(k);
  refined r;
  r.pos.copy(pos);
  mesh_chain_iso<2>(r.pos, chain, params, dense1D<double>(30, 0.2), false, 1, 4294967295u, 0, 0,
                    r.mesh, r.params, r.sizes);
  const auto mesh_before = entries(r.mesh);
  const std::size_t cols_before = r.pos.cols();
  refine_chain_iso<2>(r.pos, chain, params, dense1D<double>(30, 0.2), false, 0.1, 0, 30, r.mesh,
                      r.params, r.sizes);
  EXPECT_EQ(entries(r.mesh), mesh_before);
  EXPECT_EQ(r.pos.cols(), cols_before);
}

TEST(RefineChain, DeepInputOfThousandsOfNodes) {
  // Nodes alternate between the diagonals at distances growing by 5 % a node, with parameters
  // by index: in every part the worst node is the one before its end, so each split only
  // takes off the last segment and the parts nest thousands deep. A tolerance far below every
  // deviation makes every given node a mesh node.
  const std::size_t n = 3000;
  dense2D<double> pos(2, n);
  dense1D<double> params(n);
  double distance = 1;
  for (std::size_t k = 0; k < n; ++k) {
    pos(0, k) = distance;
    pos(1, k) = k % 2 ? -distance : distance;
    params[k] = static_cast<double>(k);
    distance *= 1.05;
  }
  const auto r = mesh_and_refine(pos, dense1D<double>(n, 1e100), 1e-12, false, params);
  ASSERT_EQ(r.mesh.size(), n);
  EXPECT_EQ(entries(r.mesh), entries(first_columns(n)));
  EXPECT_EQ(r.pos.cols(), n);
}

TEST(RefineChain, StorageFailureKeepsTheDriversMesh) {
  const auto pos = make_pos({{0, 0}, {2.5, 0.2}, {5.5, 0}, {5.5, 5.5}, {3, 7}});
  const auto chain = first_columns(5);
  const auto params = values({0, 1, 2, 3, 4});
  const dense1D<double> sizes(5, 1.0);
  refined base;
  base.pos.copy(pos);
  mesh_chain_iso<2>(base.pos, chain, params, sizes, false, 1, 4294967295u, 0.01, 0, base.mesh,
                    base.params, base.sizes);
  const std::size_t runs = sweep_allocation_failures(
      [&] {
        refined r;
        r.pos.copy(base.pos);
        r.mesh.copy(base.mesh);
        r.params.copy(base.params);
        r.sizes.copy(base.sizes);
        return r;
      },
      [&](refined& r) {
        return refine_chain_iso<2>(r.pos, chain, params, sizes, false, 0.01, 0, 5, r.mesh, r.params,
                                   r.sizes);
      },
      [&](const refined& r, int code, bool failed) {
        EXPECT_EQ(code, 0);
        if (failed && entries(r.mesh) == entries(base.mesh)) {
          EXPECT_EQ(r.pos.cols(), base.pos.cols());
          return;
        }
        expect_well_formed(r, 5, 0.01);
      });
  EXPECT_GT(runs, 10u);
}
