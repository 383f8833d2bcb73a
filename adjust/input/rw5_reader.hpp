#pragma once
// The reader of .RW5 raw files: data-collector files of comma-separated
// records (setups, sights, stored points, azimuths, standard errors) read
// into `rawDataList` in file order. A network without any control gets an
// assumed starting point and orientation, and the first backsight's azimuth
// can orient a network that has one control point and no azimuth.
//
// Angles in the files are packed dd.mmss whatever the project's angle unit;
// lengths are used as written.

#include "input/rw5_lines.hpp"
#include "model/observation_records.hpp"

#include <string>
#include <string_view>

// Results of readRw5File.
inline constexpr int rw5ReadDone = 0;
inline constexpr int rw5ReadFailed = -1;

// Reads the files of `fileList` (names each followed by "\n", relative names
// taken from the project's folder) into `rawDataList`, after clearing it,
// `ptDescList` and `pointAliasList`. `aliasMarker` is the project's
// `PtSubstituteS` as it stands; descriptions holding it (in any letter case)
// name the point of which the sighted point is an alias. When the raw data
// and the project hold no control at all, the "OC" records of the files or,
// failing those, the first setup supply it (`controlPointList2D`,
// `azimuthList2D`).
// Returns rw5ReadDone, or rw5ReadFailed after an alias error (written to the
// error report) or when a file cannot be opened ("Error opening <path>: <reason>" in a
// message box; the files after it are not read). Records read before a
// failure stay in the list.
int readRw5File(const std::string& fileList, const std::string& aliasMarker);

// The orientation of the first "BK" record of the files that names both its
// occupied point and its backsight: from the occupied point to the
// backsight, the azimuth of its BS token (0 when it has none), standard
// error `stErrAz` of the reader's standard errors in force, status 0.
// Returns 0, or 1 when there is no such record or a file cannot be opened
// ("Error opening <path>: <reason>" in a message box).
int readRw5FirstBkAzimuth(const std::string& fileList, azimuthObs& azimuth);

// 1 when `rawDataList` holds no coordinate record, the supplemental control
// file is off (`supplamentalNE`) and `controlPointList2D` is empty; else 0.
int lacksControlCoordinates();

// 1 for the record codes of observations ("TR", "SS", "CL", "FD", "FR", "BD",
// "BR", "AB", "OB", "--OB", "CL+AB"; the whole code), else 0.
int isRw5ObservationCode(std::string_view code);

// 1 for a record code the format has: those this reader reads, a note
// ("--" and any text), and those it passes over (a job "JB", a mode "MO",
// the stakeout records "CF" (cut sheet) and "DE" (design point), and the GPS
// base, position and vector records "BP", "GPS", "G0" to "G3" that the GPS
// readers take); else 0. Codes are compared whole and in their letter case.
int isRw5RecordCode(std::string_view code);

// The refusal of a line whose code is none of the format's, for every reader
// of .RW5 files, given the line and its record as splitRw5Record split it;
// empty for a record of a known code, a blank line and a line too short to
// be a record. Passed over, a damaged code lost the control
// point, setup, heights or vector its record held; the format is open, so the
// refusal also tells how to go on when the record is a sound one of a type
// this program does not know.
std::string rw5CodeRefusal(std::string_view line, const Rw5Record& record);
