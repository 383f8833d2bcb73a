#pragma once
// Reading a project's level file into height differences.
//
// .LEV (differential levelling) lines: a two-letter code, a comma, then
// comma-separated tokens, each a two-letter tag and its value:
//   SR,PN<name>,BS<reading> | BT<r>,BM<r>,BB<r>,<any>,EL<elev> | FE<elev>,--<desc>
//   TP,PN<name>,BS… | BT…,FS<reading> | FT<r>,FM<r>,FB<r>,--<desc>
//   ER,PN<name>,<any>,FS… | FT…,[EL | FE<elev>],--<desc>
//   LV,PN<name>,<any>,FS… | FT…,[EL | FE<elev>],--<desc>
//   --<comment>
// .tlv (trigonometric levelling) lines:
//   BM,PN<name>,EL<elev>,--<desc>
//   BS | FS,PN<name>,ZE<dd.mmss> | VD<value>,SD<slope> | HD<horizontal>,--<desc>
//   LS,HR<rod height>      H1,PR..,OP..,LP..      H2,DT..,TM..,PR..,TP..      --<comment>
// Consecutive commas count as one. A blank line is no record; a line with
// another code is a damaged record.
// Every field is read whole: a number wholly a number, a name of at most 10
// characters (never cut). A record whose tokens do not fit its code, with a
// field its code has no place for, or with a field that is not what it must
// be stops the reading: a line naming the file, the line number, the field
// and the record goes to the report and the error report, the reader
// returns 1 and the run stops.
//
// Readers return 0, or 1 after the message "Error opening %s: <reason>"
// (nothing read) or the message of a refused record.

#include "input/level_records.hpp"

#include <string>

inline constexpr int levelReadOk = 0;
inline constexpr int levelReadFailed = 1;

// Values of `levelFileFmtType`.
inline constexpr int levelFormatDifferential = 0;
inline constexpr int levelFormatTrigonometric = 1;

// notARecord: a blank line.
enum class levelLineResult { notARecord, record, malformed };

// Parses one line into `out`; a malformed one leaves the sentence that says
// why in `fault`.
levelLineResult parseLevelLine(const std::string& line, levelRec& out, std::string& fault);
levelLineResult parseTrigLevelLine(const std::string& line, trigLevelRec& out, std::string& fault);

// 2D entry of the driver: the project's level file (`pLevRawFileName`,
// relative to the project folder) as .tlv when `levelFileFmtType` is not 0,
// else as .LEV, reported to the report file. The driver stops the run on 1.
int readLevelFile();

// Read, reduce into the 2D lists (distanceList2D, pointList2D), write the
// unadjusted report to `reportHandle` when `writeReport` is 1, clear.
int readLevFile2D(int reportHandle, const std::string& path, int writeReport);
int readTrigLevelFile(int reportHandle, const std::string& path, int writeReport);

// 3D entry: reads `path` as a .LEV file whatever `levelFileFmtType` says,
// reduces it into `levelList` (metres) and writes the level report to the
// report file.
int readLevFile3D(const std::string& path);
