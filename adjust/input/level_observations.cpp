#include "input/level_observations.hpp"

#include "input/level_records.hpp"
#include "model/angle_math.hpp"
#include "model/program_lists.hpp"
#include "model/settings/global_vars.hpp"

#include <cmath>
#include <string>
#include <unordered_map>
#include <vector>

std::vector<levDiff> levDiffArray;

double levelDiffStdErr(int n, double c, double r, double D) {
    const double rod = r / 100.0;
    const double collimation = c / angle::secondsPerRadian;
    return D * std::sqrt(2.0 * n * (rod * rod + collimation * collimation));
}

void levelDiffMean::add(double diff, double stdErr) {
    ++count_;
    sum_ += diff;
    stdErrSum_ += stdErr;
    if (!(stdErr > 0.0)) {
        weighted_ = false;
        return;
    }
    const double weight = 1.0 / (stdErr * stdErr);
    weightedSum_ += weight * diff;
    weights_ += weight;
}

double levelDiffMean::mean() const {
    return weighted_ ? weightedSum_ / weights_ : sum_ / count_;
}

double levelDiffMean::stdErr() const {
    return weighted_ ? 1.0 / std::sqrt(weights_) : stdErrSum_ / count_ / std::sqrt(count_);
}

namespace {

bool isLevelPoint2D(const std::string& name) {
    return pointList2D.indexOf(name) >= 0 || fixedPointList2D.indexOf(name) >= 0;
}

// A point with a height difference has an elevation to adjust, as the
// station-list building decides for a distance that carries one.
void markHasVertical(const std::string& name) {
    coordRec point;
    if (pointList2D.find(name, point) >= 0 && point.vertType == vtNoVertical) {
        point.vertType = vtFreeElevation;
        pointList2D.replace(point);
    }
}

void addFreshPoint2D(const std::string& name, const std::string& description) {
    coordRec point;
    initCoordRec(point);
    setPointName(point.name, name);
    point.description = description;
    pointList2D.append(point);
}

// A line filed again: the mean of its difference and the new one, stored in
// the line's own direction. `line` is the copy found for fromName -> to.
void fileRepeatedDiff(distanceObs2D line, const std::string& fromName, double diff, double stdErr) {
    // The copy found carries its difference in the direction asked for.
    double combined = diff;
    double combinedStdErr = stdErr;
    if (isSet(line.vertDiff)) {
        levelDiffMean mean;
        mean.add(line.vertDiff, line.stdErrVert);
        mean.add(diff, stdErr);
        combined = mean.mean();
        combinedStdErr = mean.stdErr();
    }
    line.vertDiff = sameName(fixedText(line.from), fromName) ? combined : -combined;
    line.stdErrVert = combinedStdErr;
    line.vertType = 0;
    distanceList2D.replace(line);
}

int benchmarkVertType() {
    return projectVars.stErrZ > 0.0 ? vtWeightedElevation : vtFixedElevation;
}

double geoidSeparationOf(std::string_view name) {
    stationRec station;
    if (stationList.find(name, station) < 0 && fixedStationList.find(name, station) < 0)
        return notComputed;
    return station.geoidSep;
}

// The rows of each line, in list order.
std::unordered_map<std::string, std::vector<std::size_t>> rowsByLine() {
    std::unordered_map<std::string, std::vector<std::size_t>> rows;
    for (std::size_t i = 0; i < levDiffArray.size(); ++i)
        rows[lineNameKey(levDiffArray[i].fromName, levDiffArray[i].toName)].push_back(i);
    return rows;
}

} // namespace

int addLevelDiff2D(const std::string& fromName, const std::string& fromDesc,
                   const std::string& toName, const std::string& toDesc, double diff,
                   double stdErr) {
    distanceObs2D line;
    if (distanceList2D.find(fromName, toName, line) < 0) {
        setPointName(line.from, fromName);
        setPointName(line.to, toName);
        line.vertDiff = diff;
        line.stdErrVert = stdErr;
        line.vertType = 0;
        distanceList2D.append(line);
        if (!isLevelPoint2D(fromName))
            addFreshPoint2D(fromName, fromDesc);
        if (!isLevelPoint2D(toName))
            addFreshPoint2D(toName, toDesc);
    } else {
        fileRepeatedDiff(line, fromName, diff, stdErr);
    }
    markHasVertical(fromName);
    markHasVertical(toName);
    return 0;
}

int addLevelBenchmark2D(const std::string& name, const std::string& desc, double elevation) {
    coordRec point;
    if (pointList2D.find(name, point) >= 0) {
        if (point.vertType == vtWeightedElevation)
            return 0;
        point.vertType = benchmarkVertType();
        point.elevation = elevation;
        point.stdErrZ = projectVars.stErrZ;
        pointList2D.replace(point);
        return 0;
    }
    if (fixedPointList2D.indexOf(name) >= 0)
        return 0;
    initCoordRec(point);
    setPointName(point.name, name);
    point.description = desc;
    point.elevation = elevation;
    point.stdErrZ = projectVars.stErrZ;
    point.vertType = benchmarkVertType();
    pointList2D.append(point);
    return 0;
}

void averageLevDiffs() {
    const auto rowsOfLine = rowsByLine();
    for (levDiff& first : levDiffArray) {
        if (first.used != 0)
            continue;
        levelDiffMean mean;
        for (const std::size_t j : rowsOfLine.at(lineNameKey(first.fromName, first.toName))) {
            levDiff& row = levDiffArray[j];
            const bool sameWay =
                sameName(row.fromName, first.fromName) && sameName(row.toName, first.toName);
            mean.add(sameWay ? row.diff : -row.diff, row.stdErr);
            row.used = 1;
        }
        addLevelDiff2D(first.fromName, first.fromDescription, first.toName, first.toDescription,
                       mean.mean(), mean.stdErr());
    }
}

int addLevelObs3D(const std::string& fromName, const std::string& fromDesc,
                  const std::string& toName, const std::string& toDesc, double diff,
                  double stdErr) {
    levelObs obs;
    setPointName(obs.from, fromName);
    setPointName(obs.to, toName);
    obs.fromDescription = fromDesc;
    obs.toDescription = toDesc;
    obs.orthometricDiff = diff;
    obs.stdErr = stdErr;
    levelList.append(obs);
    return 0;
}

int updateLevelObsElevations() {
    const int cursor = levelList.openCursor(0);
    levelObs obs;
    while (levelList.getAtCursor(cursor, obs) == 0) {
        obs.geoidSepFrom = geoidSeparationOf(fixedText(obs.from));
        obs.geoidSepTo = geoidSeparationOf(fixedText(obs.to));
        const bool bothKnown = isSet(obs.geoidSepFrom) && isSet(obs.geoidSepTo);
        obs.ellipsoidalDiff =
            obs.orthometricDiff + (bothKnown ? obs.geoidSepTo - obs.geoidSepFrom : 0.0);
        levelList.replaceAtCursor(cursor, obs);
        levelList.advanceCursor(cursor);
    }
    levelList.closeCursor(cursor);
    return 0;
}

bool isLevelStation3D(const std::string& name) {
    return stationList.indexOf(name) >= 0 || fixedStationList.indexOf(name) >= 0;
}
