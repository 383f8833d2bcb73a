#pragma once
// The observation records of the two chains and the GPS vectors.
//
// Angles and directions are radians (directions: azimuths clockwise from grid
// north); standard errors of angles, directions and zenith angles are seconds
// of arc; lengths are in the chain's unit. Names are point names of at most
// 10 characters. A double that has no value holds `notComputed`.
//
// A new record has empty names, every measured value and its standard error
// unset, factors 1.0, and the status and other ints and doubles 0: the state
// the builders start from.
//
// Status (the first int after the doubles): 0 when built; `obsNotAdjusted`
// keeps the observation in its list but out of the adjustment and the counts.

#include "model/list_containers.hpp"
#include "model/point_name.hpp"
#include "platform/sentinels.hpp"

#include <array>
#include <string>
#include <string_view>

inline constexpr int obsNotAdjusted = 2;

// Horizontal angle of the 3D chain, clockwise from backsight to foresight at
// the instrument. Found by (backsight, instrument, foresight).
struct angleObs {
    pointNameField backsight = {};
    pointNameField foresight = {};
    pointNameField instrument = {};
    double angle = notComputed;
    double stdErr = notComputed; // seconds of arc
    int status = 0;
    int spareInt = 0;

    friend bool operator==(const angleObs&, const angleObs&) = default;
};

// Horizontal angle of the 2D chain, with the arc-to-chord (t - T) correction.
struct angleObs2D {
    pointNameField backsight = {};
    pointNameField foresight = {};
    pointNameField instrument = {};
    double angle = notComputed;
    double stdErr = notComputed; // seconds of arc
    double arcToChord = 0.0;     // radians
    int status = 0;
    int spareInt = 0;

    friend bool operator==(const angleObs2D&, const angleObs2D&) = default;
};

// Distance of the 3D chain. Found by its two ends in either order (the record
// handed out unchanged); replaced only by the same order.
struct distanceObs {
    pointNameField from = {};
    pointNameField to = {};
    double reducedDist = notComputed; // mark to mark, set by the reduction
    double stdErr = notComputed;
    double meanDist = notComputed;       // mean measured distance of the set
    double meanHeightDiff = notComputed; // signed from -> to
    int status = 0;
    int spareInt = 0;

    friend bool operator==(const distanceObs&, const distanceObs&) = default;
};

// Distance of the 2D chain with its vertical difference. The vertical
// difference is always stored in the direction of the record's own names:
// found reversed, the copy keeps the stored names and carries the negated
// difference; replaced by a record given reversed, the stored names and order
// stay and the given values are stored with the difference negated. An unset
// difference is never negated.
struct distanceObs2D {
    pointNameField from = {};
    pointNameField to = {};
    double distance = notComputed; // mean horizontal distance
    double vertDiff = notComputed; // mean, signed from -> to; unset when the set has none
    double gridFactor = 1.0;       // of the line, set by the reduction to grid
    double elevFactor = 1.0;       // of the line, set by the reduction to sea level
    double stdErrDist = notComputed;
    double stdErrVert = notComputed;
    int status = 0;
    int vertType = -1; // 0 when the record carries a vertical difference, -1 when not

    friend bool operator==(const distanceObs2D&, const distanceObs2D&) = default;
};

// Mark-to-mark zenith angle of the 3D chain. The to name comes first; found by
// (from, to) in that order only.
struct verticalObs {
    pointNameField to = {};
    pointNameField from = {};
    double zenith = notComputed; // radians from the zenith
    double stdErr = notComputed; // seconds of arc
    int status = 0;
    int spareInt = 0;

    friend bool operator==(const verticalObs&, const verticalObs&) = default;
};

// Mean azimuth of a set, both chains; found by (from, to) in that order only.
struct azimuthObs {
    pointNameField from = {};
    pointNameField to = {};
    double azimuth = notComputed;
    double convergence = 0.0;    // grid convergence at the from point, radians
    double stdErr = notComputed; // of the mean, seconds of arc
    int status = 0;
    int spareInt = 0;

    friend bool operator==(const azimuthObs&, const azimuthObs&) = default;
};

// Level observation of the 3D chain.
struct levelObs {
    pointNameField from = {};
    pointNameField to = {};
    double ellipsoidalDiff = notComputed; // orthometric + N(to) - N(from)
    double orthometricDiff = notComputed;
    double stdErr = notComputed;
    double spareValue = 0.0;
    double geoidSepFrom = notComputed;
    double geoidSepTo = notComputed;
    int spareInt = 0;
    std::string fromDescription;
    std::string fromDescription2;
    std::string toDescription;
    std::string toDescription2;

    friend bool operator==(const levelObs&, const levelObs&) = default;
};

// Longest comment a GPS vector keeps (the session label or the text after
// "--" on its vector line).
inline constexpr std::size_t gpsCommentMax = 105;

// GPS baseline vector, both chains; found by (from, to) in that order only.
struct gpsVectorRec {
    pointNameField from = {};
    pointNameField to = {};
    char comment[gpsCommentMax + 1] = {};
    double dX = notComputed;
    double dY = notComputed;
    double dZ = notComputed;
    double spareValues[2] = {};
    double varX = notComputed;
    double varY = notComputed;
    double varZ = notComputed;
    double covXY = notComputed;
    double covXZ = notComputed;
    double covYZ = notComputed;
    int status = 0;
    int spareInt = 0;

    friend bool operator==(const gpsVectorRec&, const gpsVectorRec&) = default;
};

// List keys of the observation records (see list_containers.hpp).
keyMatch findMatch(const angleObs& stored, std::string_view backsight, std::string_view instrument,
                   std::string_view foresight);
keyMatch findMatch(const angleObs2D& stored, std::string_view backsight,
                   std::string_view instrument, std::string_view foresight);
keyMatch findMatch(const distanceObs& stored, std::string_view a, std::string_view b);
keyMatch findMatch(const distanceObs2D& stored, std::string_view a, std::string_view b);
keyMatch findMatch(const verticalObs& stored, std::string_view from, std::string_view to);
keyMatch findMatch(const azimuthObs& stored, std::string_view from, std::string_view to);
keyMatch findMatch(const gpsVectorRec& stored, std::string_view from, std::string_view to);

keyMatch replaceMatch(const angleObs& stored, const angleObs& given);
keyMatch replaceMatch(const angleObs2D& stored, const angleObs2D& given);
keyMatch replaceMatch(const distanceObs& stored, const distanceObs& given);
keyMatch replaceMatch(const distanceObs2D& stored, const distanceObs2D& given);
keyMatch replaceMatch(const verticalObs& stored, const verticalObs& given);
keyMatch replaceMatch(const azimuthObs& stored, const azimuthObs& given);
keyMatch replaceMatch(const gpsVectorRec& stored, const gpsVectorRec& given);

// The point names of the lines, angles, azimuths and GPS vectors, which the passes of a
// run look up point by point: their lists index them.
inline std::array<std::string_view, 3> recordNames(const angleObs& r) {
    return {fixedText(r.backsight), fixedText(r.instrument), fixedText(r.foresight)};
}
inline std::array<std::string_view, 2> recordNames(const distanceObs& r) {
    return {fixedText(r.from), fixedText(r.to)};
}
inline std::array<std::string_view, 2> recordNames(const verticalObs& r) {
    return {fixedText(r.from), fixedText(r.to)};
}
inline std::array<std::string_view, 2> recordNames(const distanceObs2D& r) {
    return {fixedText(r.from), fixedText(r.to)};
}
inline std::array<std::string_view, 3> recordNames(const angleObs2D& r) {
    return {fixedText(r.backsight), fixedText(r.instrument), fixedText(r.foresight)};
}
inline std::array<std::string_view, 2> recordNames(const azimuthObs& r) {
    return {fixedText(r.from), fixedText(r.to)};
}
inline std::array<std::string_view, 2> recordNames(const gpsVectorRec& r) {
    return {fixedText(r.from), fixedText(r.to)};
}
template <> inline constexpr bool indexedByNames<angleObs> = true;
template <> inline constexpr bool indexedByNames<distanceObs> = true;
template <> inline constexpr bool indexedByNames<verticalObs> = true;
template <> inline constexpr bool indexedByNames<distanceObs2D> = true;
template <> inline constexpr bool indexedByNames<angleObs2D> = true;
template <> inline constexpr bool indexedByNames<azimuthObs> = true;
template <> inline constexpr bool indexedByNames<gpsVectorRec> = true;

void orientFound(distanceObs2D& copy, keyMatch match);
void storeReplacement(distanceObs2D& stored, const distanceObs2D& given, keyMatch match);
