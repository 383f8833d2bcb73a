#pragma once
// Levelled height differences and benchmarks filed into the lists of the
// adjustment: in the 2D model as vertical differences of `distanceList2D`
// and vertical types and elevations of `pointList2D`; in the 3D model as
// `levelObs` records of `levelList`.
//
// Point names are one point whatever their letter case, here as in every
// list look-up.

#include <string>

// Standard error of a height difference levelled over n setups with the mean
// sight length D, the rod-reading error r and the collimation error c
// (seconds of arc), in the unit of D:
//   sigma = D sqrt(2n ((r/100)^2 + (c pi / 648000)^2)).
double levelDiffStdErr(int n, double c, double r, double D);

// A mean of several values of one height difference: with every standard
// error positive the weighted mean (weights 1/sigma^2) and its standard error
// 1/sqrt(sum of weights); otherwise the plain mean and the mean standard
// error divided by sqrt(n).
class levelDiffMean {
public:
    void add(double diff, double stdErr);
    double mean() const;
    double stdErr() const;

private:
    int count_ = 0;
    double sum_ = 0.0, weightedSum_ = 0.0, weights_ = 0.0, stdErrSum_ = 0.0;
    bool weighted_ = true;
};

// Files one 2D height difference from -> to. A line not yet in
// `distanceList2D` (in either direction) is appended with no distance, the
// difference, its standard error and vertical status 0; each end that is in
// neither `pointList2D` nor `fixedPointList2D` joins `pointList2D` as a fresh
// point with its description; an end of `pointList2D` without vertical
// information (vertical type -1) gets vertical type 0. A line already there
// keeps its direction and
// takes the mean of its difference and this one (levelDiffMean); a line that
// had no height difference takes this one. Returns 0.
int addLevelDiff2D(const std::string& fromName, const std::string& fromDesc,
                   const std::string& toName, const std::string& toDesc, double diff,
                   double stdErr);

// Files a 2D benchmark: a point in neither list joins `pointList2D` with the
// elevation, standard error `stErrZ` and vertical type 1 (weighted), or 4
// (fixed) when `stErrZ` is not greater than 0; a point of `pointList2D`
// with another vertical type takes the same; a weighted benchmark, or a
// point only in `fixedPointList2D`, stays as it is. Returns 0.
int addLevelBenchmark2D(const std::string& name, const std::string& desc, double elevation);

// Combines the rows of `levDiffArray` per line (the same two names in either
// order, the reversed ones negated) and files each mean with addLevelDiff2D,
// in the direction of the line's first row.
void averageLevDiffs();

// Appends a `levelObs` with the orthometric difference and standard error
// (metres). Returns 0.
int addLevelObs3D(const std::string& fromName, const std::string& fromDesc,
                  const std::string& toName, const std::string& toDesc, double diff, double stdErr);

// 3D: each `levelObs` gets the geoid separations of its ends (from
// `stationList`, else `fixedStationList`) and its ellipsoidal difference =
// orthometric + N(to) - N(from); while either separation is unknown the two
// differences are taken as equal. Returns 0.
int updateLevelObsElevations();

// True when the name is a point of `stationList` or `fixedStationList`.
bool isLevelStation3D(const std::string& name);
