#pragma once
// The small sections of the report that stand between the big listings: the
// statistics block of an adjustment, the notes that replace an adjustment
// that could not run, the observations reduced to the grid, the notes of the
// blunder-detection modes, and two lookups of the headers and listings.
// Every writer stops at its first failed write; where it has a result that is
// 1 (else 0).

#include <string>
#include <vector>

// The statistics block after a converged adjustment: iterations, degrees of
// freedom (`obsCount` - `unknownCount`), reference variance, standard error
// of unit weight and the two-sided chi-square test of `dof x variance` at
// the project's `confidenceInterval` (a value equal to a bound passes).
void writeRptStatistics(int handle, double referenceVariance, int iterations);

// To the report: an empty line, " Zero degrees of freedom. No Horizontal
// Adjustment performed.", " Only sideshots reduced.".
int writeRptZeroDofNote();
// To the report: "Unable to compute elevation factor. Least squares
// adjustment aborted." between empty lines.
void writeRptElevFactorAbort();
// To the report: the text between empty lines.
void writeRptMessage(const std::string& text);

// The 2D distances reduced to the grid with their grid, elevation and
// combined factors; two empty lines when there are none.
void writeRptGridDistances(int handle);
// The 2D angles reduced to the grid with their standard error (as stored)
// and arc-to-chord correction in seconds; two empty lines when there are none.
void writeRptGridAngles(int handle);

// Notes of the blunder-detection modes, to the error report.
void writeRptBlunderFloatNote();
int writeRptBlunderNote();
// To the error report: "Number of reweighting iterations: %d." and an empty line.
void writeErrReweightCount(int passes);

// Fixed points of the 2D / 3D chain, azimuth dummies (type 5) not counted.
int countFixedPoints();
int countFixedPoints3D();

// Position of the zone code in the settings' zone-name list of state plane
// 1983 (system 1, 124 names) or 1927 (system 2, every zone of the table); the list's length
// when no name has the code; 0 for any other system.
int zoneNameIndex(int system, int zoneCode);
// The same search in a given list: each name's code is the integer after its
// first '-'.
int zoneNameIndexIn(const std::vector<std::string>& names, int zoneCode);
