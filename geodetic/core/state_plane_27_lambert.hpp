#pragma once
// The 1927 Lambert zones by their defining parameters: the standard
// parallels, origin and false coordinates that define each zone (EPSG's
// NAD27 definitions), which the zone table's constants only carry rounded
// (R0 and Rb to 0.01 ft, some cone constants to eight digits: 0.045 ft).

#include "geodetic/geodesy_records.hpp"
#include "geodetic/state_plane_27.hpp"

#include <array>

namespace geodetic_detail {

// An angle as the definitions write it; the sign is given by the field.
struct SexagesimalAngle {
    int degrees;
    int minutes;
    double seconds;

    double radians() const;
};

struct Lambert27Definition {
    int zoneCode;
    int epsgCode;
    SexagesimalAngle northParallel;
    SexagesimalAngle southParallel;
    SexagesimalAngle originLat;
    SexagesimalAngle centralMeridian; // west of Greenwich
    double falseEasting;              // US survey feet
    double falseNorthing;             // US survey feet
    double ellipsoidScale;            // Michigan's enlarged Clarke 1866, else 1
};

inline constexpr int lambert27ZoneCount = 72;

// In the zone table's order (state_plane_27_lambert_table.cpp, generated).
extern const std::array<Lambert27Definition, lambert27ZoneCount> lambert27Definitions;

// The definition of a Lambert record that is the table's own zone (its code,
// and its constants T1 to T8 those of the table); nullptr for any other
// record, which is projected on its own constants.
const Lambert27Definition* lambert27DefinitionOf(const zoneconstant27& zone);

// The two directions on a definition, with the tabular formulas' point
// conventions (radians, west-positive longitudes, US survey feet).
void definedLambertToGrid(const Lambert27Definition& definition, geodCoord* point);
void definedLambertToGeodetic(const Lambert27Definition& definition, geodCoord* point);

} // namespace geodetic_detail
