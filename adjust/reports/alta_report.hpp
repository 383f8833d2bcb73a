#pragma once
// The ALTA tolerance report of an adjustment: the relative error
// ellipses of the connections the ALTA points file names, each tested
// against the allowable relative positional precision
//     allowable = altaTolerance + distance x altaPPM / 1000000,
// where a connection whose relative semi-major axis exceeds it (ratio above
// 1) fails.

#include "input/alta_points_file.hpp"

#include <string>
#include <vector>

// One tested connection. A row whose semi-major axis is not above 0 is empty.
struct altaRptPt {
    std::string from;
    std::string to;
    double semiMajor = -1.0;
    double allowable = -1.0;
    double distance = -1.0;
    double ratio = 0.0;
    double semiMinor = 0.0;
    double azimuth = 0.0;
};

double altaAllowable(double distance, double tolerance, int ppm);

// Actual over allowable. An allowable of zero or less (a tolerance and ppm
// set to nothing) holds only a connection with no error at all: any other
// fails with an infinite ratio instead of dividing by zero.
double altaRatio(double semiMajor, double allowable);

// The row takes the place of the first row of lower ratio, the rows from
// there move one place down and the last falls off; with none of lower
// ratio nothing changes. Equal ratios keep their order of arrival.
int insertAltaRptPt(std::vector<altaRptPt>& table, const altaRptPt& row);

// 1 when neither from-to nor to-from is in the table (names compared
// without case), else 0.
int altaPairIsNew(const std::vector<altaRptPt>& table, const altaRptPt& row);

// Appends a name entry for every point of the run's chain (`pointList2D`
// and `fixedPointList2D`, 3D `stationList` and `fixedStationList`) whose
// description equals a description entry's text without regard to case,
// then removes the description entries: they name no point themselves.
int expandAltaDescEntries(std::vector<AltaEntry>& entries);

// Replaces every range entry "A-B" by the names of the range that are
// points of the run's chain. 1, with the range's message in `error`,
// on an invalid range: the entries then stand as far as they were expanded.
int expandAltaPtRanges(std::vector<AltaEntry>& entries, std::string& error);

// Keeps each name entry where it first stands and drops its repeats (names
// compared as point names): every connection of the entries is tested once,
// however often the file repeats a name.
void takeEachAltaNameOnce(std::vector<AltaEntry>& entries);

// Writes the report's section to the report file `handle`, reading the
// ALTA points file `relativeErrFileNm`: the horizontal adjustment's (2D,
// the all-connections test with a progress message and Cancel) and the 3D
// adjustment's (relative ellipses of `relErrEllipse3D`; distances and axes
// in the project's unit like the tolerance).
void writeAltaReport(int handle);
void writeAltaReport3D(int handle);
