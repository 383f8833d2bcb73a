#pragma once
// The supplemental control file (`controlNEFileName`, its format
// `nezFileFmtType`) read into the raw data as coordinate records, so that its
// points serve as control. Text formats, one point a line, fields separated
// by blanks or commas (runs count as one):
//   5  name, northing, easting, elevation, description, code
//   7  name, northing, easting, elevation, northing, easting and elevation
//      standard errors, description, code; a standard error of 0 holds the
//      coordinate fixed
// Only points the raw data or the GPS vectors use are taken, and only lines
// that carry an elevation.

#include <string>
#include <string_view>

inline constexpr int supplementalNez = 5;
inline constexpr int supplementalLatLong = 6;
inline constexpr int supplementalNezStdErrs = 7;

// 1 when the name is a setup's station or backsight, a foresight, a
// coordinate record's point or an end of an azimuth record in `rawDataList`,
// or an end of a vector of `gpsVectorList`; names compared without case.
int isPointInRawData(std::string_view name);

// Appends the file's points to `rawDataList`. 0, or 1 with the reason in
// `error` ("Error opening %s" with the path) when the file cannot be read.
int addSupplementalToRawList(std::string& error);
