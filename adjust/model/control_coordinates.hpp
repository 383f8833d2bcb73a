#pragma once
// Control points from the coordinate records (kind 2) of the raw data.
//
// A point may be given several times, with different standard errors in
// force each time (standard-error records stand between them). For each
// point met first at raw index k, every coordinate record of the point from
// k to the end of the data is gathered: repeated weighted values give a
// weighted mean, a fixed value replaces what came before, spreads are
// reported, the geoid separation is worked out and the point is stored.
//
// Standard errors in force (`readerStdErrs` elements `seEasting`,
// `seNorthing`, `seElevation`): > 0 weighted; -1 given (no weight); <= -2
// fixed; 0 counts as fixed. The means weight each value by 1 / error and the
// stored error of an axis is sqrt(sum of squared errors) / count.
//
// 3D chain: lengths in metres; the point becomes a `stationRec` of
// `controlStationList` (weighted control, type 1, or fixed, type 4) or
// `givenStationList` (type 3); its elevation is ellipsoidal (orthometric +
// geoid separation). A fixed or missing axis of a point that is otherwise
// weighted carries a substitute squared error (`fixedAxisSquaredError`,
// `missingAxisSquaredError`). 2D chain: project units; the point becomes a
// `coordRec` of `controlPointList2D` or `givenPointList2D` with separate
// horizontal and vertical types, its elevation orthometric beside the
// separation.
//
// An elevation that a record does not give never enters a mean: a record
// without one leaves the elevation of earlier records alone, and a point
// that never gets one keeps its elevation unset (missing, like an easting
// or northing that is not given).
//
// The scans walk cursor 0 of `rawDataList`, apply the standard-error records
// they pass and leave the errors as they found them.

#include <string_view>

// Results of the add functions.
inline constexpr int controlAdded = 0;
inline constexpr int controlIndexPastEnd = 1;

// Squared errors standing in for an axis that is fixed (error about 1e-7)
// and for one that is missing or given (error about 1e5).
inline constexpr double fixedAxisSquaredError = 9.999999999999998e-15;
inline constexpr double missingAxisSquaredError = 1e10;

// Builds the 3D control point `name` from the coordinate records from raw
// index `startIndex` on and appends it to its list (nothing when no record
// of the point is there). controlAdded, or controlIndexPastEnd.
int addStationsFromRaw3D(std::string_view name, int startIndex);

// The same for the 2D chain. A point already in `controlPointList2D` (from a
// supplemental control file) is updated in place rather than added again.
int addCoordRecsFromRaw2D(std::string_view name, int startIndex);

// 1 when the point is in `controlStationList` or `givenStationList`, else 0.
int isPointInInputLists3D(std::string_view name);
// 1 when the point is in `controlPointList2D` or `givenPointList2D`, else 0.
int isPointInInputLists2D(std::string_view name);
