#pragma once
// The reductions of a level file's records into height differences, with the
// levelling errors of the project (`diffLevDistBSFS`, `diffLevRodRead`,
// `diffLevCollimation`) for their standard errors (levelDiffStdErr).
//
// .LEV runs: a start of run (SR) sets the height of instrument from its
// elevation and backsight; each named turning point (TP) gives the difference
// from the last named point and becomes the from point; an unnamed one is
// chained through, its setup counted into the next difference; an end of run
// (ER) gives a difference and becomes the from point; a side shot (LV) hangs
// from the from point and moves nothing. Benchmarks are the named SR, ER and
// LV records given with FE.

#include "input/level_records.hpp"

#include <vector>

// 2D: benchmarks filed as they come (addLevelBenchmark2D), the differences
// collected in `levDiffArray`, combined per line and filed (averageLevDiffs).
// n setups for a difference = the unnamed turning points since the from
// point + 1.
void reduceLevelRun2D(const std::vector<levelRec>& records);

// 3D: a difference to or from a point that is not a network station is not
// filed (a turning point is chained through; an ER or LV gets a line in the
// report and the error report). Differences and standard errors in metres by
// `levelUnits`; n setups for TP and ER = unnamed turning points + 2, for LV
// + 1. No benchmarks and no combining.
void reduceLevelRun3D(const std::vector<levelRec>& records);

// 2D .tlv: each benchmark (with an elevation) is filed; each setup averages
// its backsight group and each foresight group (sightings of one point in a
// row, comments passed over) into a difference from the backsight point to
// the foresight point: w_B + HR_B - w_F - HR_F, with w a sighting's
// face-corrected vertical value and HR the rod height in force. A group
// without any vertical value forms no difference (a line in the report and
// the error report says so).
void reduceTrigLevels2D(const std::vector<trigLevelRec>& records);

// The face-corrected vertical value w of a sighting: its vertical value, or
// its negative for a zenith angle of pi or more.
double faceCorrectedVertical(const trigLevelRec& sighting);

// The sightings group that starts at `first`: same kind, same name, comments
// passed over. `last` is the index of its last sighting; the mean of the
// face-corrected values of those with a vertical value, or nothing.
struct sightingGroup {
    std::size_t last = 0;
    bool hasValue = false;
    double mean = 0.0;
};
sightingGroup sightingGroupAt(const std::vector<trigLevelRec>& records, std::size_t first);
