#include "mesher/refine_chain.h"

#include <cstdint>

#include <gtest/gtest.h>

#include "support/filum_test.h"
#include "support/line_geometry.h"

using namespace vorn;
using namespace vorn::filum;
using namespace filum_test;

namespace {

// A mesh of the chain of all columns by the driver, and its refinement.
struct refined {
  dense2D<double> pos;
  dense1D<unsigned> mesh;
  dense1D<double> params, sizes;
};

refined mesh_and_refine(const dense2D<double>& pos, const dense1D<double>& params,
                        const dense1D<double>& sizes, double tol, bool force_even = false) {
  const std::size_t n = pos.cols();
  refined r;
  r.pos.copy(pos);
  mesh_chain_iso<2>(r.pos, first_columns(n), params, sizes, force_even, 1, 4294967295u, tol, 0,
                    r.mesh, r.params, r.sizes);
  refine_chain_iso<2>(r.pos, first_columns(n), params, sizes, force_even, tol, 0, n, r.mesh,
                      r.params, r.sizes);
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
    EXPECT_TRUE(r.mesh[j] < n || r.mesh[j] == next_new++) << j;
  EXPECT_EQ(r.pos.cols(), next_new);
  for (std::size_t k = 1; k + 1 < n; ++k)
    EXPECT_LE(distance_to_polyline(r.pos, k, r.mesh), tol * (1 + 1e-9)) << k;
}

}  // namespace

TEST(RefineChain, EveryGivenNodeEndsWithinTheTolerance) {
  const auto pos = arc(40, 1, 4);
  for (bool even : {false, true})
    for (double tol : {1e-2, 1e-4}) {
      const auto r = mesh_and_refine(pos, chord_params(pos), dense1D<double>(40, 0.3), tol, even);
      expect_well_formed(r, 40, tol);
      EXPECT_TRUE(!even || (r.mesh.size() - 1) % 2 == 0) << tol;
    }
}

TEST(RefineChain, DeepInputOfThousandsOfNodes) {
  // Nodes alternate between the diagonals at distances growing by 5 % a node, parameters by
  // index: in every part the worst node is the one before its end, so each split only takes
  // off the last segment and the parts nest thousands deep. A tolerance far below every
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
  const auto r = mesh_and_refine(pos, params, dense1D<double>(n, 1e100), 1e-12);
  EXPECT_EQ(entries(r.mesh), entries(first_columns(n)));
  EXPECT_EQ(r.pos.cols(), n);
}
