#pragma once
// Reduction of the 3D chain's total-station sights to the marks, and the
// merging of the repeated mark-to-mark values of each line into its
// `distanceObs` (reduced distance and its standard error) and `verticalObs`
// (zenith angle and its standard error).
//
// A sight runs from the trunnion axis (HI above the instrument mark) to the
// target (target height above its mark). With the preliminary coordinates
// of both stations (`findKnownStation3D`) it is reduced by
// `reduceSlopeToMarks` and the mark-to-mark slope distance and zenith angle
// are written into the raw record itself; a later run reduces again and
// overwrites them. A sight recorded as horizontal distance HD and vertical
// difference VD (`sightHorizVert`) is first turned into the slope distance
// sqrt(HD^2 + VD^2) and the zenith atan2(HD, VD). A sight with a zenith but
// no distance gets a mark-to-mark zenith from the station coordinates and no
// distance.
//
// Lengths in metres (the raw list after the 3D build), angles in radians,
// standard errors of zenith angles in seconds of arc. Spreads are tested
// against the project's `hDistTol` (compared and shown in project units)
// and `vAngTol`. Each pass starts from the standard errors saved when the
// raw data were read; each sight contributes the errors in force at its own
// record.

#include "model/raw_record.hpp"

#include <string_view>

// Results of the sight reductions.
inline constexpr int sightReduced = 0;
inline constexpr int sightNotReduced = 1; // a station without coordinates

// Reduces every sight of `rawDataList` that carries a distance or a zenith,
// HI and target height, then merges the lines (mergeRepeatedDists3D,
// mergeRepeatedVerts3D). 1 when the raw list is empty (nothing done), else 0.
// A cancel asked for meanwhile ends the run (endRunWhenCancelled).
int reduceRawSlopeToMarks();

// The sight of a setup to its backsight: from its measured slope distance
// and zenith (reduceSetupSight) or, without a distance, from its zenith and
// the coordinates (reduceSetupSightFromCoords, which writes the zenith
// only). sightReduced with the record's mark-to-mark fields written, or
// sightNotReduced with the record unchanged.
int reduceSetupSight(rawRec& setup);
int reduceSetupSightFromCoords(rawRec& setup);
// The same for a foresight from `instrument` with instrument height `HI`.
int reduceObsSight(std::string_view instrument, double HI, rawRec& foresight);
int reduceObsSightFromCoords(std::string_view instrument, double HI, rawRec& foresight);

// The measured zenith angle of a sight in either form: the zenith as read,
// or atan2(HD, VD) for a sight read as horizontal distance and vertical
// difference (unset when either is).
double measuredZenith(const rawRec& sight);

// Walk the raw list and merge each line with a mark-to-mark distance (resp.
// only a mark-to-mark zenith) that has no reduced value yet, at its first
// sight. Return 0.
int mergeRepeatedDists3D();
int mergeRepeatedVerts3D();

// Merges every sight of the line A-B from raw index `k` to the end, in
// either direction:
// - distances (Dist only): mean of the mark-to-mark distances above 0 into
//   the line's `distanceObs`, error sqrt(tc^2 + ic^2 + (S / n / sqrt(n))^2)
//   with S the sum of the sights' distance errors and tc, ic the means of
//   the centering errors in force at them;
// - zenith angles above 0, each taken in face one (2pi - z above pi) and as
//   seen from A: a zenith z from B is pi - z + c, c the angle by which the
//   ellipsoid normals at A and B converge (about the central angle d/R; 0
//   when either end has no latitude, longitude and earth-centred position);
//   mean into the line's `verticalObs` (turned the same way when that is
//   stored from B), error (sum of zenith errors / m) / sqrt(m).
// Spreads at or above the tolerance are warned about. 0, or 1 when `k` is
// past the end.
int mergeMarkToMarkDist3D(std::string_view a, std::string_view b, int k);
int mergeMarkToMarkVert3D(std::string_view a, std::string_view b, int k);

// 1 when the line A-B (either order) has a `distanceObs` with its reduced
// distance set (resp. a `verticalObs` with its zenith set), else 0.
int hasDistanceValue3D(std::string_view a, std::string_view b);
int hasVerticalValue3D(std::string_view a, std::string_view b);
