#pragma once
// Makes a projection's approximate inverse series exact against its forward.
//
// A series inverse is written independently of the forward series, so the
// two disagree by the terms each leaves out: a point from the inverse does
// not project back onto the grid position it came from. The refinement asks
// the approximate inverse for the point of a shifted grid position, shifting
// by what the forward misses each time (s <- s + (target - forward(inverse(s)))).
// As forward(inverse(.)) is the identity up to a small smooth error, each
// step shrinks the miss by the ratio of that error's derivative (under 1e-5
// for the series here), so one or two steps reach the rounding of the grid.
//
// The result is then the inverse of the forward exactly, whatever the
// inverse series' own accuracy: the forward's agreement with a reference is
// what the pair is worth.

#include <cmath>

namespace geodetic_detail {

struct GridPosition {
    double easting = 0.0, northing = 0.0;
};

struct GeodeticPosition {
    double lat = 0.0, lon = 0.0;
};

inline constexpr int inverseRefinementSteps = 8;

// The point whose forward lies within `tolerance` (grid units) of `target`,
// or the one with the smallest miss when the steps run out or stop
// shrinking it (the approximate inverse's own point at worst).
// `forward(GeodeticPosition) -> GridPosition`, `approximateInverse(GridPosition)
// -> GeodeticPosition`.
template <typename Forward, typename Inverse>
GeodeticPosition inverseByForward(GridPosition target, double tolerance, Forward forward,
                                  Inverse approximateInverse) {
    GridPosition asked = target;
    GeodeticPosition best = approximateInverse(asked);
    double bestMiss = INFINITY;
    for (int step = 0; step <= inverseRefinementSteps; ++step) {
        const GeodeticPosition point = step == 0 ? best : approximateInverse(asked);
        const GridPosition reached = forward(point);
        const double missE = target.easting - reached.easting;
        const double missN = target.northing - reached.northing;
        const double miss = std::hypot(missE, missN);
        if (!(miss < bestMiss))
            break;
        best = point;
        bestMiss = miss;
        if (miss <= tolerance)
            break;
        asked.easting += missE;
        asked.northing += missN;
    }
    return best;
}

} // namespace geodetic_detail
