#ifndef FILUM_NETWORK_ON_CURVE_H
#define FILUM_NETWORK_ON_CURVE_H

// Moves the nodes that the spline mesher put on the spline's sample polyline onto the
// spline itself, each at its own parameter.

#include <cstddef>

#include <vorn/dense.h>

namespace vorn {
namespace filum {

/// \brief Evaluates the spline through a padded chain at the parameter of each new node
/// and puts the node there. The parameter runs over the pieces in proportion to the
/// length of their first-order coefficient, as the spline mesher's sampling does.
/// \param[in,out] pos D rows; the columns from first_new on are the nodes to move.
/// \param[in] chain padded chain of at least 4 columns of pos below first_new.
/// \param[in] first_new the first column of pos that is a new node.
/// \param[in] indices a mesher's output chain; entries >= first_new are moved.
/// \param[in] params the parameter of each entry of indices, ascending, 0 .. 1.
/// \param[in] count entries of indices and params to read.
/// \param[in,out] node_params working storage, reused from call to call.
/// \return false when node_params cannot get its storage (nothing moved).
template <std::size_t D>
bool place_on_curve(dense2D<double>& pos, const dense1D<unsigned>& chain, std::size_t first_new,
                    const unsigned* indices, const double* params, std::size_t count,
                    dense1D<double>& node_params) noexcept;

extern template bool place_on_curve<2>(dense2D<double>&, const dense1D<unsigned>&, std::size_t,
                                       const unsigned*, const double*, std::size_t,
                                       dense1D<double>&) noexcept;
extern template bool place_on_curve<3>(dense2D<double>&, const dense1D<unsigned>&, std::size_t,
                                       const unsigned*, const double*, std::size_t,
                                       dense1D<double>&) noexcept;

}  // namespace filum
}  // namespace vorn

#endif
