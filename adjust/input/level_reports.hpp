#pragma once
// The unadjusted level reports a level file read leaves in the project report:
// the "Unadjusted Level Report" of a .LEV file and the "Unadjusted
// Trigonometric Level Report" of a .tlv file, written from the records of
// `levelRunList` / `trigLevelList` after the reduction and before the list is
// cleared. Lines go through writeLine (CR LF; nothing for a handle of 0 or
// less; a failed line shows "Error writing output to <file>: <reason>" and
// writing goes on).

#include "input/level_records.hpp"

#include <vector>

// Heights of instrument and elevations carried through a .LEV run from a
// height of instrument of 0: SR: HI = elevation + BS; TP: elevation = HI - FS,
// then HI = elevation + BS; ER and LV: elevation = HI - FS (replacing a given
// elevation).
void computeLevelReportValues(std::vector<levelRec>& records);

// Report values of a .tlv file: each backsight's HI from the reference
// elevation (the last benchmark, then each turning point's average
// elevation), its face-corrected vertical value and the rod height; the
// average HI of a backsight run on its last backsight; each foresight's
// elevation from the average HI, with the average of each group of
// foresights to one point on its last one.
void computeTrigReportValues(std::vector<trigLevelRec>& records);

// Compute the report values into the list's records and write the report.
// Return 0.
int writeUnadjustedLevelReport(int handle);
int writeUnadjustedTrigLevelReport(int handle);
