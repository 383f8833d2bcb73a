#pragma once
// The point records of the two chains of a run: `stationRec` for the 3D
// model, `coordRec` for the 2D/1D model (the project's `geodeticModel` picks
// one for the whole run), and the small records of descriptions, aliases and
// point-name lists.
//
// Every point record holds the easting before the northing. Lengths are in
// the chain's unit (3D: metres, 2D: project units), angles in radians. A
// double that has no value holds `notComputed` (-999999999.0); it counts as
// set only when greater (`isSet`).
//
// Coordinate standard errors: > 0 weights the coordinate; 0 is the reset
// value (a point built from a name alone); -1 no standard error (missing, or
// given only as an approximate value); -2 or less held fixed.

#include "model/list_containers.hpp"
#include "model/point_name.hpp"
#include "platform/sentinels.hpp"

#include <string>
#include <string_view>

// Point types of `stationRec::pointType` and `coordRec::pointType`.
enum pointTypeCode : int {
    ptCarried = -1, // carried in the point list without being an unknown
    ptUnknown = 0,  // position (and in 3D elevation) adjusted
    ptWeightedControl = 1,
    ptSideshot = 2,
    ptGiven = 3, // approximate (starting) coordinates, not observations
    ptFixed = 4,
    ptAzimuthDummy = 5, // made by the station-list building; among the fixed points
};

// Vertical types of `coordRec::vertType`.
enum vertTypeCode : int {
    vtNoVertical = -1, // the point has no vertical information
    vtFreeElevation = 0,
    vtWeightedElevation = 1,
    vtFixedElevation = 4,
};

// A point of the 3D chain. A new record has an empty name and texts, every
// coordinate unset, standard errors 0 and every int 0 but `resetFlag` 1.
struct stationRec {
    pointNameField name = {};
    double easting = notComputed;
    double northing = notComputed;
    double elevation = notComputed;
    double geoidSep = notComputed;
    double latitude = notComputed;  // radians
    double longitude = notComputed; // radians
    double ecefX = notComputed;
    double ecefY = notComputed;
    double ecefZ = notComputed;
    double stdErrE = 0.0;
    double stdErrN = 0.0;
    double stdErrZ = 0.0;
    double adjustValue = 0.0; // carried for the adjustment; the reset leaves it
    int pointType = ptUnknown;
    int adjustInts[3] = {}; // carried for the adjustment and reports; the reset leaves them
    int resetFlag = 1;      // 1 after the reset; 0 for a point converted from raw coordinates
    std::string description;
    std::string description2;
    int prelimCopied = 0; // 1 once preliminary coordinates were copied into a control record

    friend bool operator==(const stationRec&, const stationRec&) = default;
};

// Resets a record before a point is built in it: every coordinate, the
// latitude, longitude and earth-centred values unset; easting and northing
// standard errors 0; point type 0; `resetFlag` 1; both texts emptied;
// `prelimCopied` 0. The name, the elevation standard error, `adjustValue`
// and `adjustInts` are left as they were (callers reset, then write the name).
stationRec& initStationRec(stationRec& record);

// A point of the 2D/1D chain. A new record is as initCoordRec leaves it with
// an empty name, the geoid separation unset and the elevation error 0.
struct coordRec {
    pointNameField name = {};
    double easting = notComputed;
    double northing = notComputed;
    double elevation = notComputed;
    double geoidSep = notComputed;
    double stdErrE = 0.0;
    double stdErrN = 0.0;
    double stdErrZ = 0.0;
    double gridFactor = 1.0; // grid scale factor, set by the reduction to grid
    double elevFactor = 1.0; // elevation factor, set by the reduction to sea level
    int pointType = ptUnknown;
    int resetFlag = 1;
    int vertType = vtFreeElevation;
    std::string description;
    std::string description2;

    friend bool operator==(const coordRec&, const coordRec&) = default;
};

// Resets a record before a point is built in it: easting, northing and
// elevation unset; the geoid separation unset when the project uses a geoid
// model (`projectVars.geoidModel` non-zero), else the project's fixed
// `geoidHt`; easting and northing errors 0; both factors 1.0; point type 0;
// `resetFlag` 1; vertical type 0; the description emptied. The name, the
// elevation error and the second text are left as they were.
coordRec& initCoordRec(coordRec& record);

// A point's descriptions as collected from the raw records.
struct ptDescRec {
    pointNameField name = {};
    std::string description;
    std::string description2;

    friend bool operator==(const ptDescRec&, const ptDescRec&) = default;
};

// An earth-centred control point that a GPS file or a base record gives.
// X, Y, Z in metres (unset while not given); sX, sY, sZ their standard
// errors in metres, where -1 means none and -2 (or below) fixed.
inline constexpr std::size_t gpsControlDescriptionMax = 100;
struct ptGPSXYZCntrl {
    pointNameField name = {};
    char description[gpsControlDescriptionMax + 1] = {};
    double X = notComputed;
    double Y = notComputed;
    double Z = notComputed;
    double sX = 0.0;
    double sY = 0.0;
    double sZ = 0.0;

    friend bool operator==(const ptGPSXYZCntrl&, const ptGPSXYZCntrl&) = default;
};

// A point name of a name list.
struct ptNameRec {
    pointNameField name = {};

    friend bool operator==(const ptNameRec&, const ptNameRec&) = default;
};

// An alias met in the raw data and the point it stands for.
struct ptAliasRec {
    pointNameField alias = {};
    pointNameField pointName = {};

    friend bool operator==(const ptAliasRec&, const ptAliasRec&) = default;
};

// List keys: points, descriptions and names are found and replaced by name;
// aliases are found by the alias name.
keyMatch findMatch(const stationRec& stored, std::string_view name);
keyMatch findMatch(const coordRec& stored, std::string_view name);
keyMatch findMatch(const ptDescRec& stored, std::string_view name);
keyMatch findMatch(const ptNameRec& stored, std::string_view name);
keyMatch findMatch(const ptAliasRec& stored, std::string_view alias);
keyMatch replaceMatch(const stationRec& stored, const stationRec& given);
keyMatch replaceMatch(const coordRec& stored, const coordRec& given);
keyMatch replaceMatch(const ptDescRec& stored, const ptDescRec& given);
// The point lists, searched by name in every pass of a run, index their names;
// so does the description list, searched once for every described sighting
// while it is built and once for every point of the station lists.
template <> inline constexpr bool indexedByName<stationRec> = true;
template <> inline constexpr bool indexedByName<coordRec> = true;
template <> inline constexpr bool indexedByName<ptDescRec> = true;
