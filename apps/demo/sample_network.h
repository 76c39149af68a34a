#ifndef FILUM_DEMO_SAMPLE_NETWORK_H
#define FILUM_DEMO_SAMPLE_NETWORK_H

#include "network.h"

namespace demo {

/// The embedded sample: a channel outline (walls of four colors, one hard edge on the
/// inlet) around a NACA 0012 airfoil with its sharp trailing edge, and beside it a
/// closed coastline-like curve with two islands. Each curve carries its own size.
network sample_network();

/// The demo's network of a network read from a file: every node with a size of 1/40 of
/// the bounding-box diagonal, a name per color.
network network_from_file(const vorn::filum::io::line_network& file);

}  // namespace demo

#endif
