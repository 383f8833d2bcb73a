#pragma once
// The two roads of a network-model build after the raw input was read: the
// 3D model (`geodeticModel` 1) and the 2D model, and the walks they share,
// which turn the library's point and observation lists into the model's
// points and setups.

#include "platform/shell_services.hpp"

class rawDataGraph;

// The 3D road: GPS input, preliminary coordinates, points, setups, vectors.
// graphNothingToDraw when no point has a northing.
int buildModel3D(rawDataGraph& graph);

// The 3D road's last two walks over the library's lists: the setups of
// `angleList` and the GPS vectors of `gpsVectorList`, each hung on the first
// setup of its start point or on a setup of its own without a backsight.
void collectSetups3D(rawDataGraph& graph);
void collectVectors3D(rawDataGraph& graph);

// The 2D road, only with horizontal adjustment on: sideshot filter, an
// assumed start where the network has too little control, preliminary
// coordinates, reductions, sideshots, points and setups. graphBuilt.
int buildModel2D(rawDataGraph& graph, ShellServices& shell);
