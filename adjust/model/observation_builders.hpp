#pragma once
// The two top-level builders that turn the raw records (`rawDataList`) into
// the observation and control lists of a run, `buildObsLists3D` for the 3D
// model (`geodeticModel` 1) and `buildObsLists2D` for the 2D/1D model, and
// the small queries other parts ask of the built lists.
//
// Each step of a build starts again from `savedReaderStdErrs`; the
// standard-error records of the raw data change the errors in force from
// their position on. The steps, in order: control points
// (control_coordinates.hpp), angle sets (angle_sets.hpp), distances,
// azimuths and, in 3D, zenith angles (distance_sets.hpp).
//
// 3D: the lengths of the raw records (distances, heights, coordinates) are
// turned from the project's `HorizUnits` into metres in the records
// themselves. A record is converted once: building again on the same loaded
// raw list gives the same lists.

#include <string>
#include <string_view>

// Results of the builders.
inline constexpr int buildDone = 0;
inline constexpr int buildStopped = 1;

// The 3D build. buildDone, or buildStopped with `message` holding
// "Error processing distance; %s to %s" (a line from a point to itself) or
// "The user aborted processing.". Writes to the error report, for each setup
// without HI, "IP: %10.10s, BS: %10.10s, Missing HI. All foresight distances
// and vertical angles from this setup will be ignored.", and for each sight
// with a distance or zenith but no target height "IP: ..., BS: ..., Missing
// Rod Ht. BS distance and BS vertical angle ignored." (setup) or "IP: ...,
// FS: ..., Missing Rod Ht. FS distance and FS vertical angle ignored."
// (foresight), each followed by an empty line.
int buildObsLists3D(std::string& message);

// The 2D build: control points, angles, distances and azimuths in project
// units. `message` is emptied first; results as for the 3D build.
int buildObsLists2D(std::string& message);

// The control passes: every coordinate record whose point is in neither
// input list yet builds that point from all its records. The 3D pass first
// puts the project's standard errors (in metres) in force. Return 0; a
// cancel asked for meanwhile ends the run (endRunWhenCancelled).
int buildStationInputs3D();
int buildCoordRecs2D();

// Fills `ptDescList` from the foresight and coordinate records that carry a
// description or a code: the description and the code of the last such
// record of each point. Returns 0; a cancel asked for meanwhile ends the run.
int buildDescriptionList();

// The first sight in raw order to `point` that carries a zenith angle, a
// target height and an HI: a setup's backsight or a foresight (with the HI of
// its setup). 0 with the instrument, zenith (radians), target height and HI
// written; 1 when the raw list is empty or no such sight exists (outputs
// untouched).
int findSetupBacksight(std::string_view point, std::string& instrument, double& zenith_rad,
                       double& targetHeight, double& HI);

// 1 when the point (names compared without regard to case) is an end of a
// record of the list (for angles any of the three points), else 0.
int isPointInDistances3D(std::string_view point);
int isPointInAngles3D(std::string_view point);
int isPointInAzimuths3D(std::string_view point);
int isPointInDistances2D(std::string_view point);
int isPointInAngles2D(std::string_view point);
int isPointInAzimuths2D(std::string_view point);
int isPointInGpsVectors(std::string_view point);
