#pragma once
// The system's own total-station raw format (.VKR): a header line, then one
// record per line told apart by its first character.
//
// - '1' zenith angle and slope distance, '2' horizontal distance and vertical
//   difference; fixed columns (from 0): type 0, instrument station 1-10, HI
//   12-19, backsight 21-30, target height 32-39, horizontal reading 41-50,
//   distance 52-60, zenith or vertical difference 62-70, foresight 72-81,
//   code 83-86, description from 87. A station makes a setup record (with its
//   backsight sight), an empty station a foresight record.
// - '3' an azimuth "FROM-TO value"; '5' ignored; other types skipped.
// - '6' sub-records by the two letters after it: "C " control coordinate
//   "name northing easting [elevation] ['code,description]", "E " elevation
//   "name elevation", "DR" azimuth "FROM-TO value", "SE" standard errors
//   "KEY:value ...", "S " ignored, "DO" switches reading off and on.
//
// Angles are typed in the project's angle unit (dd.mmss or grads) and held in
// radians; standard errors of angles in seconds of arc. A number field holds
// one whole number in the C locale, or the record is malformed (a field read
// as far as it goes turned "30#.816" into 30 m); a field empty after trimming
// is not given.

#include "input/raw_files.hpp"

#include "model/raw_record.hpp"

#include <string>

// Results of the record parsers.
inline constexpr int rawRecordStore = 0;   // the record is to be stored
inline constexpr int rawRecordNothing = 1; // nothing to store
inline constexpr int rawRecordError = -1;  // the record is malformed

// Results of readVkrRawFile.
inline constexpr int vkrReadOk = 0;
inline constexpr int vkrReadFailed = 1;

// Modes of parseVkrObservation.
inline constexpr int vkrSlopeZenith = 0;   // record type '1'
inline constexpr int vkrHorizVertDiff = 1; // record type '2'

// What a read carries from line to line and from file to file.
struct vkrReaderState {
    // 1 in the 2D model; in the 3D model metres per unit of `HorizUnits`.
    double unitFactor = 1.0;
    // The first four characters of `PtSubstituteS`, upper-cased and trimmed;
    // empty: no aliases.
    std::string aliasMarker;
    // Records are stored only while on; a "DO" sub-record flips it.
    bool reading = true;
    // The HI of the last setup that gave one, carried to the following records.
    double currentHI = notComputed;
    // Set when a '2' record was read / when a zenith angle was missing.
    bool sawHorizVertDiff = false;
    bool sawMissingZenith = false;
};

// The state of a new read of the open project (`projectVars`): puts the
// project's standard errors in force (`initReaderStdErrs`) and saves them.
vkrReaderState startVkrRead();

// Reads every file of the "\n"-separated list, in order, into `rawDataList`
// (which it does not clear); names are taken relative to the project's folder.
// A file that cannot be opened or is no regular file shows "Error opening
// %s: <reason>", one that cannot be read to its end "Error reading %s after
// line %d", and one that yields no record at all "No raw data records were
// found in %s" (each also in the error report) and returns 1; a
// malformed record while reading is on writes "Error parsing raw record:",
// the line and its file and line number to the error report, shows the same,
// and returns 1 (records read before stay); a record with a field that is
// not what it must be (vkrRecordFault) is malformed, and the sentence on the
// field follows. The record is quoted as platform::recordExcerpt quotes it. Every record stored
// notes its file and line (setRawRecordSource). The shell is asked for a cancel on every line: a
// cancel returns 1 with nothing shown. After the last file the notes on assumed faces go to the
// error report. 0 on success.
int readVkrRawFile(const std::string& fileList, RawReadWording wording = RawReadWording::run);

// Parses one record line (the header excluded) by its first character and
// the reading flag; stores nothing itself. Returns rawRecordStore when
// `record` is to be appended, rawRecordError for a malformed record while
// reading is on, else rawRecordNothing.
int parseVkrLine(const std::string& line, rawRec& record, vkrReaderState& state);

// A '1' (mode 0) or '2' (mode 1) line into a setup or foresight record;
// warnings go to the error report. rawRecordStore, or rawRecordError when the
// required backsight or foresight is missing or an alias is refused.
int parseVkrObservation(int mode, const std::string& line, rawRec& record, vkrReaderState& state);

// "FROM-TO value": an azimuth in the angle unit when `directionType` is not 0,
// else a coded quadrant bearing. rawRecordNothing when a token is missing.
int parseVkrAzimuth(const std::string& text, rawRec& record);

// "name elevation" into a coordinate record. Always rawRecordStore.
int parseVkrElevation(const std::string& text, rawRec& record);

// "KEY:value" tokens into a standard-error record, which is also put in force
// at once (`applyRawStdErrRec`). Always rawRecordStore.
int parseVkrStdErrs(const std::string& text, rawRec& record, const vkrReaderState& state);

// A '6' sub-record: `text` is the line after the '6'.
int parseVkrSubRecord(const std::string& text, rawRec& record, vkrReaderState& state);
