#ifndef FILUM_FRAME_CHECKS_H
#define FILUM_FRAME_CHECKS_H

// Argument tests shared by the exported operations.

#include <cmath>
#include <cstddef>
#include <cstdint>

#include <vorn/dense.h>
#include <vorn/filum.h>
#include <vorn/tessa.h>

namespace vorn {
namespace filum {

/// \brief The element type of two-node edges, as the mesh utilities expect it.
constexpr tessa::element_type edge2 = tessa::element_type::edge2;

/// \brief Whether coordinates have 2 (plane) or 3 (space) rows.
inline bool is_plane_or_space(const dense2D<double>& pos) noexcept {
  return pos.rows() == 2 || pos.rows() == 3;
}

/// \brief The column count of pos as an identifier bound (saturated to 32 bits).
inline unsigned node_bound(const dense2D<double>& pos) noexcept {
  return pos.cols() >= 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<unsigned>(pos.cols());
}

/// \brief Whether every identifier of a chain is a column of pos.
inline bool ids_in(const dense1D<unsigned>& ids, const dense2D<double>& pos) noexcept {
  return tessa::check_IDs(ids, node_bound(pos));
}

/// \brief Whether every node of an E2 (or higher) connectivity is a column of pos.
inline bool ids_in(const dense2D<unsigned>& connectM, const dense2D<double>& pos) noexcept {
  return tessa::check_IDs(connectM, edge2, node_bound(pos));
}

/// \brief A code of a general overload as the calling overload reports it: codes below
/// bound, which name arguments after those the caller lacks, move up by shift.
inline int shift_code(int code, int bound, int shift) noexcept {
  return code < bound ? code + shift : code;
}

/// \brief The largest node identifier in rows 0 and 1 of a connectivity (0 when empty).
unsigned largest_node(const dense2D<unsigned>& connectM) noexcept;

/// \brief Whether every value is >= its predecessor; a NaN fails.
bool is_non_decreasing(const dense1D<double>& values) noexcept;

/// \brief Whether every coordinate of the listed nodes is finite (identifiers are columns).
bool coordinates_finite(const dense2D<double>& pos, const dense1D<unsigned>& ids) noexcept;

/// \brief Whether every coordinate of the nodes of the elements is finite (rows 0 and 1;
/// identifiers are columns).
bool coordinates_finite(const dense2D<double>& pos, const dense2D<unsigned>& connectM) noexcept;

/// \brief Whether every entry of the columns from first on is finite.
bool columns_finite(const dense2D<double>& m, std::size_t first = 0) noexcept;

/// \brief Whether every entry of a fixed-size vector is finite.
template <class T, std::size_t N>
bool is_finite(const vector_fixed<T, N>& v) noexcept {
  for (std::size_t i = 0; i < N; ++i)
    if (!std::isfinite(v[i])) return false;
  return true;
}

/// \brief Whether count items of bytes_each bytes stay within half the machine's physical
/// memory. Larger requests are refused as storage failures before any allocation: an
/// overcommitting system would grant them and kill the process once they are filled.
bool fits_in_memory(std::uint64_t count, std::size_t bytes_each) noexcept;

/// \brief Strictly positive; a NaN fails.
inline bool is_positive(double x) noexcept {
  return x > 0;
}

/// \brief Whether a tolerance means "off": +-largest double, or NaN.
inline bool is_unset(double x) noexcept {
  return std::isnan(x) || x == unset || x == -unset;
}

}  // namespace filum
}  // namespace vorn

#endif
