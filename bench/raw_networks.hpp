#pragma once
// Generated projects for the benchmarks that run the whole driver from raw
// data, written as a surveyor's files are: a project file, a .vkr raw file
// and, for the 3D network, a .gps vector file.
//
// - The 2D network: a square grid of `points` points 200 m apart in full
//   rows, each point moved up to 30 m from its grid place (seeded), the four
//   corners fixed by coordinate records. Every point is a station that
//   measures slope distances and zenith angles to its grid neighbours and
//   the horizontal circle readings to them (its first neighbour the
//   backsight), one face, from the true positions rounded to 1 mm and 0.1".
//   Free points get no coordinates, unless `givenStart` asks for their true
//   positions as given (starting) coordinates.
// - The angle-observed 2D network: a square grid of `points` points 200 m
//   apart in full rows, each point moved up to 40 m from its grid place
//   (seeded), the four corners fixed. Every point is a station that measures
//   a horizontal distance to each grid neighbour and the angle from its
//   first neighbour (clockwise: west, north, east, south) to each other one,
//   each angle as its own setup (the backsight read at 0, one foresight
//   reading), in horizontal distance and height difference form (no zenith),
//   on flat ground; the stations row by row from the south, each row from
//   east to west (walked in that order, the angles meet many points with
//   three placed neighbours). With `noisy` the angles carry normal errors of
//   2" and the distances of 3 mm + 2 ppm (seeded); without, the true values
//   rounded to 0.1" and 0.1 mm.
// - The 3D network: the same grid of stations on GRS 80 around 45 N 75.2 W
//   with heights of 90 to 110 m, adjusted in UTM zone 18: GNSS vectors from
//   each station to its neighbour east (correlated covariance), and the
//   total-station setups of the 2D network sighted in each instrument's
//   local frame; the four corners fixed by their grid coordinates.
//
// - Sideshots (either network): `sideshots.count` further foresights from
//   the last station's setup, each to a new point of its own 10 to 300 m
//   away in a seeded direction, as a data collector records a topographic
//   job; `sideshots.adjusted` keeps them in the adjustment (the project's
//   `includeSS`), else the sideshot filter takes them out and they are
//   placed after it.
//
// Each writes PROJECT.prj (its name is returned) and its raw files into
// `folder`, which must exist.

#include <filesystem>
#include <vector>

namespace rawnetworks {

struct Sideshots {
    int count = 0;
    bool adjusted = true;
};

std::filesystem::path writeGridProject2D(const std::filesystem::path& folder, int points,
                                         bool givenStart = false, Sideshots sideshots = {});
std::filesystem::path writeAngleGridProject2D(const std::filesystem::path& folder, int points,
                                              bool noisy = true);
std::filesystem::path writeNetworkProject3D(const std::filesystem::path& folder, int stations,
                                            Sideshots sideshots = {});

// The true positions of the 2D networks' points, by number (point i is
// named "P<i>").
struct GridPosition {
    double northing, easting;
};
std::vector<GridPosition> gridTruth2D(int points);
std::vector<GridPosition> angleGridTruth(int points);

} // namespace rawnetworks
