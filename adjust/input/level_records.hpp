#pragma once
// The records of the two level file formats and the program-wide lists that
// hold one file's records while it is read, reduced and reported:
// - .LEV differential levelling: runs of start (SR), turning point (TP), end
//   (ER) and side shot (LV) readings, comments ("--");
// - .tlv trigonometric levelling: benchmarks (BM), backsight and foresight
//   sightings (BS, FS) by zenith angle and distance or by vertical value,
//   rod heights (LS), comments and two header lines (H1, H2).
// Readings, distances and elevations are in the file's linear unit; zenith
// angles in radians. A value not read or not computed holds `notComputed`.

#include "model/point_name.hpp"
#include "model/raw_record_list.hpp"
#include "platform/sentinels.hpp"

#include <string>
#include <vector>

inline constexpr std::size_t levelDescriptionMax = 100;
inline constexpr std::size_t trigHeaderTextMax = 10;

// Kinds of a .LEV record, by its two-letter code.
enum levelRecKind : int {
    levStartOfRun = 0,   // "SR"
    levTurningPoint = 1, // "TP"
    levEndOfRun = 2,     // "ER"
    levComment = 3,      // "--"
    levSideShot = 4,     // "LV"
};

// One .LEV record. Three-wire readings (top, middle, bottom) are kept with
// their mean in BS or FS. HI and the elevations of TP, ER and LV are filled by
// the unadjusted level report; the elevation of SR (and a given one of ER and
// LV) is read. A comment keeps its text in `description`.
struct levelRec {
    int kind = levComment;
    pointNameField name = {};
    double backTop = notComputed;
    double backMiddle = notComputed;
    double backBottom = notComputed;
    double backsight = notComputed;
    double foreTop = notComputed;
    double foreMiddle = notComputed;
    double foreBottom = notComputed;
    double foresight = notComputed;
    double heightOfInstrument = notComputed;
    double elevation = notComputed;
    std::string description;
    int fixed = 0; // 1 when the elevation was given as FE (a fixed benchmark)
};

// Kinds of a .tlv record, by its two-letter code.
enum trigLevelRecKind : int {
    trigBenchmark = 0,  // "BM"
    trigBacksight = 1,  // "BS"
    trigForesight = 2,  // "FS"
    trigRodSetting = 3, // "LS"
    trigComment = 4,    // "--"
    trigHeader1 = 5,    // "H1"
    trigHeader2 = 6,    // "H2"
};

// One .tlv record. A sighting's vertical value `vertical` is read (VD) or
// computed from slope distance and zenith angle (minus the height component
// for a face-left sighting, plus it for face right). `reportValue` is the
// report's HI of a backsight or elevation of a foresight; `average` and
// `groupEnd` mark the last sighting of a group with the group's mean.
struct trigLevelRec {
    int kind = trigComment;
    pointNameField name = {};
    double elevation = notComputed; // of a benchmark
    double zenith = notComputed;    // radians
    double slopeDistance = notComputed;
    double vertical = notComputed;
    double horizontalDistance = notComputed;
    double rodHeight = notComputed;
    double reportValue = notComputed;
    double average = notComputed;
    int groupEnd = 0;
    std::string description;                         // also the text of a comment
    std::string projectName, operatorName, loopName; // H1
    std::string date, time, pressure, temperature;   // H2
};

// One levelled height difference of a 2D reduction, before repeated lines are
// combined.
struct levDiff {
    std::string fromName, fromDescription;
    std::string toName, toDescription;
    double diff = 0.0; // from-point to to-point
    double stdErr = 0.0;
    int used = 0;
};

// The records of the level file being read, in file order; empty between reads.
extern rawRecListOf<levelRec> levelRunList;
extern rawRecListOf<trigLevelRec> trigLevelList;
// The height differences of the 2D .LEV reduction; empty between reads.
extern std::vector<levDiff> levDiffArray;

// The records of a list in order, and the list's records replaced by them
// (same count, same order), for the walks that look ahead and write back.
template <class Record> std::vector<Record> recordsOf(rawRecListOf<Record>& list) {
    std::vector<Record> records;
    records.reserve(static_cast<std::size_t>(list.count()));
    Record record;
    for (int ok = list.seek(0); ok == 0 && list.get(record) == 0; ok = list.advance())
        records.push_back(record);
    return records;
}
template <class Record>
void storeRecords(rawRecListOf<Record>& list, const std::vector<Record>& records) {
    int ok = list.seek(0);
    for (const Record& record : records) {
        if (ok != 0)
            break;
        list.replaceAtCursor(record);
        ok = list.advance();
    }
}
