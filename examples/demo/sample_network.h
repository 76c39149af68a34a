#ifndef FILUM_DEMO_SAMPLE_NETWORK_H
#define FILUM_DEMO_SAMPLE_NETWORK_H

#include "network.h"
#include "polyline_reader.h"

namespace demo {

/// The embedded sample: a channel outline (walls of four colours, one hard edge on the
/// inlet) around a NACA 0012 airfoil with its sharp trailing edge, and beside it a
/// closed coastline-like curve with two islands. Each curve carries its own size.
network sample_network();

/// A network from polylines read from a file: one colour per polyline, every node with
/// a size of 1/40 of the bounding-box diagonal.
network network_from_polylines(const polyline_file& file);

}  // namespace demo

#endif
