#pragma once
// The report's listing of sideshots (points computed from adjusted points
// after the adjustment, outside the network): the section headings, one
// column heading per kind of sideshot line, and the lines the sideshot
// computations write one at a time. Everything goes to the report file
// (`rptFile`) through writeLine.
//
// Directions and angles are radians; 2D values are in the project's unit,
// 3D values in metres (shown times the unit factor of `HorizUnits`: 1,
// 3.2808333333333333 or 3.280839895013123; any other code shows metres).
// Coordinate columns follow `NEDisplayType` (0 and 3 northing first, 1 and 2
// easting first). Standard errors below -2 (fixed) print empty, -2 up to 0
// as zero. Results: 0, or 1 after a failed write (nothing more is written).

#include "engine/sideshots_2d.hpp"
#include "engine/sideshots_3d.hpp"
#include "model/observation_records.hpp"
#include "model/point_records.hpp"

#include <string_view>
#include <vector>

// The kind of column heading written last in the current section.
enum sideshotKindCode : int {
    noSideshotKind = 0,
    radialSideshot = 1,       // from one known point by direction and distance
    twoDirectionSideshot = 2, // from two known points by their directions
    twoAngleSideshot = 3,     // by two angles over three known points
};
extern int sideshotKind;

// Two empty lines, "Sideshots", its rule and an empty line; a new section
// starts with no column heading written.
int writeRptSideshotsHeading();

// A radial sideshot `to` from `from`, with the direction from -> to.
int writeRptSideshotLine(std::string_view from, double distance, double direction_rad,
                         double northing, double easting, double stdErrN, double stdErrE,
                         std::string_view to);
// The same from 3D values in metres; the standard errors print as passed.
int writeRptSideshotLine3D(std::string_view from, double distance_m, double direction_rad,
                           double northing_m, double easting_m, double stdErrN, double stdErrE,
                           std::string_view to);
// A sideshot located by the directions from two known points.
int writeRptAzimuthIntersectLine(std::string_view first, double firstDirection_rad,
                                 std::string_view second, double secondDirection_rad,
                                 double northing, double easting, double stdErrN, double stdErrE,
                                 std::string_view sideshot);
// A sideshot located by resection: the angle from point 1 to point 2 and
// the angle from point 2 to point 3, measured at the sideshot.
int writeRptAngleIntersectLine(std::string_view point1, std::string_view point2,
                               std::string_view point3, double firstAngle_rad,
                               double secondAngle_rad, double northing, double easting,
                               std::string_view sideshot);
// A 3D sideshot located from a GPS vector: the vector's components, then the
// point's grid position and its elevation above the geoid (metres in the
// records, shown in the project's unit), then an empty line.
int writeRptGpsSideshotLine(const stationRec& point, const gpsVectorRec& vector);
// Two empty lines.
int writeRptBlankLines();

// An empty line, "Vertical Sideshots", its column heading and an empty line.
int writeRptVertSideshotsHeading();
// The point's name and elevation.
int writeRptVertSideshotLine(coordRec point);

// The "Sideshots" section of a run: the heading, a line per placement in the
// order given (each line written whatever became of the one before), two
// empty lines.
int writeRptSideshots(const std::vector<SideshotPlacement>& placements);
// The "Sideshots" section of a 3D run: the heading, a line per placement in
// the order given (radial ones through writeRptSideshotLine3D with the
// station's standard errors, GPS ones through writeRptGpsSideshotLine, the
// resected and intersected ones through writeRptAngleIntersectLine and
// writeRptAzimuthIntersectLine with the position in the project's unit and
// the standard errors as the station holds them), two empty lines.
int writeRptSideshots3D(const std::vector<SideshotPlacement3D>& placements);
// The "Vertical Sideshots" section: the heading, the points' lines, two empty lines.
int writeRptVertSideshots(const std::vector<coordRec>& points);
