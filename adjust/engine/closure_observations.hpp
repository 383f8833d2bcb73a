#pragma once
// The observations and known points a closure is computed from, looked up in
// the lists of the chain in use (`geodeticModel` 1: the 3D chain, else 2D).
// Each gives nothing when the lists hold nothing that fits. Lengths come in
// the project's unit: the 3D chain's metres are multiplied by the factor of
// `HorizUnits`.

#include <optional>
#include <string_view>

struct ClosurePoint {
    double northing = 0.0;
    double easting = 0.0;
    double elevation = 0.0; // unset (notComputed) when the point has none
    int pointType = 0;
};

struct ClosureDistance {
    double distance = 0.0;
    std::optional<double> heightDiff; // signed from the first point
};

// A known point: one with coordinates in the fixed or main point lists
// (findKnownStation2D / findKnownStation3D). In the 3D chain the elevation is
// the ellipsoidal height minus the geoid separation.
std::optional<ClosurePoint> findClosurePoint(std::string_view name);
// The observed azimuth from `from` to `to`, in that order only.
std::optional<double> findClosureAzimuth(std::string_view from, std::string_view to);
// The angle backsight-instrument-foresight; observed only the other way
// round, 2pi minus that angle.
std::optional<double> findClosureAngle(std::string_view backsight, std::string_view instrument,
                                       std::string_view foresight);
// The distance between two points stored in either order, its height
// difference signed from `from`. 2D: the record's distance; 3D: the mean
// measured distance times the line's combined factor (lineCombinedFactor)
// when both points are known.
std::optional<ClosureDistance> findClosureDistance(std::string_view from, std::string_view to);
