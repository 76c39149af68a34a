#ifndef FILUM_TESTS_REMESH_NEIGHBOR_TABLE_H
#define FILUM_TESTS_REMESH_NEIGHBOR_TABLE_H

#include <map>
#include <vector>

#include <vorn/dense.h>

namespace filum_test {

/// Neighbours as the mesh utilities give them: row 0 (row 1) of column e is the other element
/// with an end at the end (start) node of e when exactly two ends of two elements meet there.
inline vorn::dense2D<unsigned> neighbor_table(const vorn::dense2D<unsigned>& connectM) {
  std::map<unsigned, std::vector<unsigned>> ends;  // node -> one entry per element end
  for (unsigned e = 0; e < connectM.cols(); ++e)
    ends[connectM(0, e)].push_back(e), ends[connectM(1, e)].push_back(e);
  vorn::dense2D<unsigned> neighbors(2, connectM.cols(), 0xFFFFFFFFu);
  for (unsigned e = 0; e < connectM.cols(); ++e)
    for (unsigned r = 0; r < 2; ++r) {
      const std::vector<unsigned>& at = ends[connectM(1 - r, e)];
      if (at.size() == 2 && at[0] != at[1]) neighbors(r, e) = at[0] == e ? at[1] : at[0];
    }
  return neighbors;
}

}  // namespace filum_test

#endif
