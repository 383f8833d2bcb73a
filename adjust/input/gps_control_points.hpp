#pragma once
// Earth-centred control points from GPS files, and the points of the GPS
// vectors as stations.
//
// The control points of a run are gathered in `gpsXyzControlArray`: the C
// lines of the project's .GPS files and the "BP" base records of its .RW5
// files. They enter the 3D model as raw records (a standard-error record
// with the point's errors, a coordinate record, a standard-error record
// putting the project's errors back), appended once after the raw data, so
// the control pass treats them as any other control.
//
// A C line holds name, X, Y, Z (metres, whatever `GPSUnits` says), sX, sY,
// sZ and the rest of the line as its description; missing standard errors
// take the project's `stErrX`, `stErrY`, `stErrZ` (in metres). A standard
// error of 0 would weigh the point infinitely: it is read as fixed (-2), as
// -2 is. A C line without X, Y and Z gives no point: a line in the error
// report names file and line. A value that is not a number stops the
// reading with a message naming file and line.

#include "model/observation_records.hpp"
#include "model/point_records.hpp"
#include "model/run_context.hpp"

#include <string>
#include <string_view>

inline constexpr int gpsControlDone = 0;
inline constexpr int gpsControlFailed = 1;

// A control point's standard error as stored: 0 would weigh the point
// infinitely and is read as fixed (-2); any other value as it is.
double gpsControlStdErr(double value);

// What one C line gives.
enum class controlLineResult { point, noPosition, malformed };

// The text of a C line after its "C" into `out`, which starts with an empty
// name, X, Y, Z unset and the standard errors `defaults` (X, Y, Z). A
// number not wholly a number, or a name over 10 characters (never cut), is
// malformed with the sentence saying so in `fault`.
controlLineResult parseGpsControlLine(std::string_view text, const double (&defaults)[3],
                                      ptGPSXYZCntrl& out, std::string& fault);

// The C lines of every .GPS file of the list (names each followed by "\n")
// appended to `gpsXyzControlArray`. "Error opening %s: <reason>" for a file that
// cannot be opened. gpsControlDone or gpsControlFailed.
int readGpsControlLines(const RunContext& context, const std::string& fileList);

// Empties `gpsXyzControlArray` and reads the control points of the GPS
// files by `gpsFileFmtType`: 0 the C lines; 2 the base points of its
// baseline text files (in metres by each file's unit, with the project's
// control errors; a name met again is not taken again); the other formats
// up to 11 give none. gpsControlFailed for a failed file (its message
// shown) or a format value outside 0-11.
int loadGpsXyzControlByFormat(const RunContext& context, const std::string& fileList);

// The "BP" base records of the .RW5 files of the list (names containing
// ".RW5" in any case) appended to `gpsXyzControlArray`. A base record gives
// PN (name), LA, LN (latitude and longitude, DD.MMSS), EL (ellipsoidal
// height), AG (antenna height) and PA (phase-centre offset) in this order;
// the point is the earth-centred position on GRS 80 of the latitude,
// longitude and height EL - (AG + PA). Its standard errors are the
// project's `stErrX`, `stErrY`, `stErrZ` times the factor of `Rw5GPSUnits`,
// as "CSE" records change them on the way (fields N, E, EL: '*' the
// project's value, '#' none (-1), '!' fixed (-2), else the number, where
// one from 0 to 1e-15 is 1e-6). A base or "CSE" record with a field that
// is missing or not what it must be, or a line whose code is none of the
// format's (rw5CodeRefusal), stops the reading: "Error parsing: %s", the file
// and line and the refusal are shown, and with `logErrors` 1 go to the error
// report too. gpsControlDone; gpsControlFailed after such a refusal or
// "Error opening %s: <reason>".
int readRw5GpsControlPoints(const RunContext& context, const std::string& fileList, int logErrors);

// The GPS control of a 3D run: `gpsXyzControlArray` emptied, then filled
// from the project's GPS files (with `includeGPSVectors`) and the base
// records of its .RW5 files (with `includeRawData` and `useRw5GPSVectors`),
// each point once. Nothing in the 2D model. gpsControlDone or
// gpsControlFailed.
int loadGpsXyzControl(const RunContext& context);

// Appends the three raw records of each point of `gpsXyzControlArray` to
// `rawDataList`: the earth-centred position turned into latitude, longitude
// and ellipsoidal height, then grid northing and easting in metres, the
// elevation the ellipsoidal height less the geoid separation. The records
// are marked as already in metres. Returns 0.
int appendGpsControlRawRecs();

// Turns an antenna-to-antenna vector into a mark-to-mark vector: the base
// antenna stands `baseAntennaHeight_m` + `basePhaseCentre_m` above its mark
// along the ellipsoid normal at the base (latitude and longitude in
// radians, east positive; height in metres), the rover antenna
// `roverAntennaHeight_m` above its mark along the normal at the rover. GRS
// 80. Returns 0.
int reduceVectorToMarks(gpsVectorRec& vec, double baseAntennaHeight_m, double basePhaseCentre_m,
                        double roverAntennaHeight_m, double baseLatitude_rad,
                        double baseLongitude_rad, double baseHeight_m);

// Appends to `stationList` a bare station (no coordinates, type 0) for each
// end of each vector of `gpsVectorList`, from-name then to-name, that is
// neither in `stationList` nor fixed; its descriptions come from
// `ptDescList`. An empty name adds nothing. Returns 0.
int addGpsVectorEndPoints();
