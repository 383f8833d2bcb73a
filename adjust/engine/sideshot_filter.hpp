#pragma once
// The sideshot filters run before the preliminary coordinates: a point that
// too few observations name cannot strengthen the network, so it is taken
// out of the adjustment (point type 2) together with the observations that
// reach it (status 2); the sideshot computations place it afterwards.
//
// Observation weight of a point (the point is a sideshot while its weight is
// at most the limit; counting stops as soon as the weight passes it):
//
//   chain  distance  angle  azimuth  zenith  GPS vector  limit  weighted control starts at
//   2D     1         1      1        -       2           2      2 (never a sideshot)
//   3D     1         1      1        1       3           3      3 (never a sideshot)
//
// Every observation that names the point counts (as either end; an angle as
// backsight, foresight or instrument). Points of type 2 or -1 are passed over.
// Each walk over the points may mark several; the filters walk until a walk
// marks nothing.

#include <string>
#include <string_view>
#include <vector>

// Points the relative-error points file names: they stay in the adjustment,
// for the relative-error report needs them there.
struct relErrPoints {
    bool inUse = false;             // the project reads the points file
    std::vector<std::string> names; // both names of each pair and each entry's text
};

// The points file of the project when either relative-error switch
// (`relativeErrFileOn`, `ALTARptOn`) is on, else an unused one.
relErrPoints loadRelErrPoints();

// 1 when the points file is in use and names the point (compared as point
// names are everywhere: without regard to letter case), else 0.
int isListedRelErrPoint(std::string_view name, const relErrPoints& points);

// 2D chain (`pointList2D`; observations of `distanceList2D`, `angleList2D`,
// `azimuthList2D` and the GPS vectors of `gpsVectorList`).
void filterHorizSideshots();
// One walk; the number of points made sideshots. Posts index x 100 / count.
int filterHorizSideshotsPass(const relErrPoints& points);
// Status 2 on the point's distances, the angles where it is foresight or
// instrument, and its azimuths. Returns 0.
int markSideshotObs2D(std::string_view name);

// 3D chain (`stationList`; `distanceList`, `angleList`, `azimuthList`,
// `verticalList`, `gpsVectorList`).
void filterSideshots3D();
int filterSideshots3DPass(const relErrPoints& points);
// Status 2 on the station's distances, angles (as foresight or instrument),
// azimuths, zenith angles and GPS vectors. Returns 0.
int markSideshotObs3D(std::string_view name);
