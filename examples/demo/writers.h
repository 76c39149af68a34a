#ifndef FILUM_DEMO_WRITERS_H
#define FILUM_DEMO_WRITERS_H

// Output of the demo: a legacy VTK file of a network, and an SVG picture of the input and
// the output networks side by side with their nodes.

#include <ostream>

#include "network.h"

namespace demo {

/// Writes the elements of a network and the nodes they use as legacy VTK polydata, with
/// the element colours as cell data.
void write_vtk(std::ostream& out, const network& net, const char* title);

/// Draws the two networks (x and y) side by side, elements coloured by colour, nodes as dots.
void write_svg(std::ostream& out, const network& input, const network& output);

}  // namespace demo

#endif
