#pragma once
// Distances, height differences and azimuths from the raw data (`rawDataList`).
//
// Every line between two points is taken once, at its first sight: all raw
// sights of that line from there to the end of the data, in both directions
// and from any setup, are merged into one observation, and the spread of the
// repeated values is tested against the project's `hDistTol` (horizontal
// distances) and `vDistTol` (height differences).
//
// - 3D chain: lengths in the raw list are metres, tolerances in project units
//   (the spreads are compared and shown times the `HorizUnits` factor). A
//   line gives a `distanceObs` in `distanceList` with a paired `verticalObs`
//   in `verticalList`; the mark-to-mark values and their errors are filled in
//   later by the mark-to-mark reduction.
// - 2D chain: one unit throughout. A line gives a `distanceObs2D` in
//   `distanceList2D` with its standard errors.
// - Azimuth records give `azimuthObs` in `azimuthList` / `azimuthList2D`
//   (azimuth_sets.hpp).
//
// Standard errors: each sight contributes the errors in force at its own
// raw record; a standard-error record changes them from its position on.
// A scan of one line to the end of the data leaves the errors in force as it
// found them.
//
// The passes walk cursor 1 of rawDataList and post index x 100 / record count
// per record, 0 before and after; they stop at the first cancel request of
// the user. The per-line scans read the raw data through the raw sight index
// (raw_sight_index.hpp).

#include <string>
#include <string_view>

// Results of the passes.
inline constexpr int passDone = 0;
inline constexpr int passStopped = 1; // a line from a point to itself, or the user cancelled

// Results of the per-line builders.
inline constexpr int lineAdded = 0;
inline constexpr int lineRefused = 1;

// The distance and azimuth pass of the 3D chain. passDone, or passStopped
// with `message` holding "Error processing distance; %s to %s" (and, for a
// record read from a raw file, "\nFile: %s, line %d") for the last
// line from a point to itself (the pass still goes on to the end, warning
// "Invalid distance from %s to %s:" for each such line), or
// `userAbortedText` when the user cancelled. A foresight met before any
// setup record gives "Foresight record with no instrument setup record:" and
// no distance. A setup or foresight adds its line when its horizontal
// distance, the HI and the target height are set.
int buildDistanceObs3D(std::string& message);

// The same for the 2D chain: a setup or foresight adds its line when its
// horizontal distance is set; no HI or target height is needed.
int buildDistanceObs2D(std::string& message);

// The zenith-angle pass of the 3D chain: a sight with a zenith angle on a
// line that has neither a distance nor a vertical record yet gets a vertical
// record when every sight of that line carries HI and target height.
// passDone, or passStopped when the user cancelled (the caller ends the run
// with `userAbortedText`).
int buildVerticalObs3D();

// Merges the sights of the line from A to B from raw index `startIndex` on
// (the record there may be the foresight of the setup in hand: `HI` is that
// setup's instrument height) into a `distanceObs` and a `verticalObs`. Only
// sights with a horizontal distance above 0, HI and target height count.
// Mean distance; mean height difference signed A -> B over the sights that
// carry one (unset when none does). lineAdded (nothing appended when no
// sight counts), or lineRefused when `startIndex` is past the end.
int addDistanceObs3D(std::string_view from, std::string_view to, int startIndex, double HI);

// Appends a `verticalObs` (to B, from A, zenith unset) for the line from A to
// B, unless a sight of that line from `startIndex` on lacks HI or target
// height: then lineRefused and nothing appended.
int addVerticalObs3D(std::string_view from, std::string_view to, int startIndex);

// Merges the sights of the line from A to B into a `distanceObs2D`:
// n sights with a horizontal distance above 0, of which m carry a valid
// height difference (`heightsApplied` 1):
// - distance = mean; its standard error sqrt(tc^2 + ic^2 + (S / n / sqrt(n))^2)
//   with S the sum of the sights' distance errors and tc, ic the means of the
//   target- and instrument-centering errors in force at the sights;
// - height difference = signed mean over the m (A -> B); its standard error
//   sqrt(hi^2 + rod^2 + (V / m / sqrt(m))^2) with V the sum of their height
//   difference errors and hi, rod the means of the HI and rod-height errors
//   in force at them; with m = 0 unset, error 0 and `vertType` -1.
// lineAdded (nothing appended when no sight counts), or lineRefused when A
// and B are the same point or `startIndex` is past the end.
int addDistanceObs2D(std::string_view from, std::string_view to, int startIndex);

// 1 when a record of the list joins the two points, in either order
// (names compared without regard to case), else 0.
int isPairInDistances3D(std::string_view a, std::string_view b);
int isPairInVerticals3D(std::string_view a, std::string_view b);
int isPairInDistances2D(std::string_view a, std::string_view b);
