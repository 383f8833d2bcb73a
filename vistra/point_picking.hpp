#pragma once
// The points of the network near a click: setups' instrument, backsight and
// foresight points, then the marked points, each name once, nearest first.

#include "vistra/network_model.hpp"
#include "vistra/view_transform.hpp"

#include <string>
#include <vector>

struct pickCandidate {
    std::string name;
    double distance = 0.0;
};

// Where a setup's backsight lies on the ground; unset coordinates when the
// instrument point or the direction is unknown.
groundPoint backsightPosition(const graphSetup& setup);

// Candidates within `radius` of `click` (ground units), ordered by distance;
// a setup's instrument point counts on the radius itself, other points only
// inside it. A name met again keeps the distance at which it was first met.
std::vector<pickCandidate> pickPoints(const rawDataGraph& model, groundPoint click, double radius);
