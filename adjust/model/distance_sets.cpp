#include "model/distance_sets.hpp"

#include "model/azimuth_sets.hpp"
#include "model/error_file_warnings.hpp"
#include "model/pair_lookup.hpp"
#include "model/program_lists.hpp"
#include "model/progress.hpp"
#include "model/raw_record.hpp"
#include "model/raw_sight_index.hpp"
#include "model/reader_std_errs.hpp"
#include "model/settings/global_vars.hpp"
#include "platform/c_locale_text.hpp"
#include "platform/length_units.hpp"
#include "platform/shell_services.hpp"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace {

// One raw sight of a line with the standard errors in force at its record.
struct lineSight {
    double distance = 0.0;
    double heightDiff = notComputed;
    bool heightsApplied = false;
    bool forward = true; // runs from the line's A to its B
    double distErr = 0.0;
    double heightDiffErr = 0.0;
    stdErrBlock errorsInForce{};
};

lineSight sightOf(const rawRec& record, const indexedSight& found) {
    lineSight sight;
    sight.distance = record.horizDistance;
    sight.heightDiff = record.vertDifference;
    sight.heightsApplied = record.heightsApplied == 1;
    sight.forward = found.forward;
    sight.distErr = record.distStdErr;
    sight.heightDiffErr = record.vertDiffStdErr;
    sight.errorsInForce = found.errorsInForce;
    return sight;
}

bool startsInData(const rawSightIndex& index, int startIndex) {
    return startIndex >= 0 && startIndex < index.count();
}

// Every sight of the line from A to B with a horizontal distance above 0,
// from raw index `startIndex` to the end of the data, each with the errors in
// force at it. The record at the start index may be a foresight: its setup's
// instrument is A and its HI is `hi`. With `needHeights` a sight counts only
// when the HI and its target height are set. False when the index is past
// the end.
bool sightsOfLine(std::string_view from, std::string_view to, int startIndex, double hi,
                  bool needHeights, std::vector<lineSight>& sights) {
    const std::shared_ptr<const rawSightIndex> index = currentRawSightIndex();
    if (!startsInData(*index, startIndex))
        return false;
    for (const indexedSight& found :
         lineSightsFrom(*index, from, to, startIndex, hi, needHeights, readerStdErrs))
        sights.push_back(sightOf(index->record(found.rawIndex), found));
    return true;
}

// Mean, extremes and count of a set of repeated values.
struct spread {
    int count = 0;
    double sum = 0.0;
    double low = 0.0;
    double high = 0.0;

    void add(double value, double signedValue) {
        low = count == 0 ? value : std::min(low, value);
        high = count == 0 ? value : std::max(high, value);
        sum += signedValue;
        ++count;
    }
    double mean() const { return sum / count; }
    bool exceeds(double tolerance, double factor) const {
        return count > 0 && (high - low) * factor >= tolerance;
    }
};

// The merged distances and height differences of a line: distances of every
// sight, height differences (by size for the spread, signed A -> B for the
// mean) of those `carriesHeight` accepts.
template <class CarriesHeight>
void mergeSights(const std::vector<lineSight>& sights, CarriesHeight carriesHeight,
                 spread& distances, spread& heights) {
    for (const lineSight& sight : sights) {
        distances.add(sight.distance, sight.distance);
        if (carriesHeight(sight))
            heights.add(std::fabs(sight.heightDiff),
                        sight.forward ? sight.heightDiff : -sight.heightDiff);
    }
}

void warnSpreads(std::string_view from, std::string_view to, const spread& distances,
                 const spread& heights, double factor) {
    const std::string a(from);
    const std::string b(to);
    if (distances.exceeds(projectVars.hDistTol, factor))
        warnHorizDistTolerance(a, b, distances.high * factor, distances.low * factor);
    if (heights.exceeds(projectVars.vDistTol, factor))
        warnVertDistTolerance(a, b, heights.high * factor, heights.low * factor);
}

// The mean of one element of the errors in force over the sights `counts` accepts.
template <class Counts>
double meanErrorInForce(const std::vector<lineSight>& sights, int element, Counts counts) {
    double sum = 0.0;
    int n = 0;
    for (const lineSight& sight : sights) {
        if (counts(sight)) {
            sum += sight.errorsInForce[element];
            ++n;
        }
    }
    return n > 0 ? sum / n : 0.0;
}

// sqrt(a^2 + b^2 + (S / n / sqrt(n))^2): two set-up errors and the error of
// the mean of n sights whose own errors sum to S.
double errorOfMean(double a, double b, double errorSum, int n) {
    const double ofMean = errorSum / n / std::sqrt(static_cast<double>(n));
    return std::sqrt(a * a + b * b + ofMean * ofMean);
}

bool carriesHeight3D(const lineSight& sight) {
    return isSet(sight.heightDiff);
}

bool carriesHeight2D(const lineSight& sight) {
    return sight.heightsApplied && isSet(sight.heightDiff);
}

bool everySight(const lineSight&) {
    return true;
}

int addDistance2DLine(std::string_view from, std::string_view to, int startIndex, double) {
    return addDistanceObs2D(from, to, startIndex);
}

struct chain3D {
    static bool setupCounts(const rawRec& r) {
        return isSet(r.horizDistance) && isSet(r.instrumentHeight) && isSet(r.bsTargetHeight);
    }
    static bool foresightCounts(const rawRec& r, double hi) {
        return isSet(r.horizDistance) && isSet(r.targetHeight) && isSet(hi);
    }
    static constexpr auto pairInDistances = isPairInDistances3D;
    static constexpr auto addDistance = addDistanceObs3D;
    static constexpr auto pairInAzimuths = isPairInAzimuths3D;
    static constexpr auto addAzimuth = addAzimuthObs3D;
};

struct chain2D {
    static bool setupCounts(const rawRec& r) { return isSet(r.horizDistance); }
    static bool foresightCounts(const rawRec& r, double) { return isSet(r.horizDistance); }
    static constexpr auto pairInDistances = isPairInDistances2D;
    static constexpr auto addDistance = addDistance2DLine;
    static constexpr auto pairInAzimuths = isPairInAzimuths2D;
    static constexpr auto addAzimuth = addAzimuthObs2D;
};

// No run context reaches the distance-list builders: their interface has none, so the shell is
// the active one (the run installs its own for its length).
template <class Chain> int distancePass(std::string& message) {
    ShellServices& shell = activeShell();
    shell.setPercent(0);
    const int total = rawDataList.count();
    int result = passDone;
    bool setupMet = false;
    std::string instrument;
    double hi = 0.0;
    rawRec record;
    const auto addLine = [&](const std::string& to, int index) {
        if (!sameName(instrument, to)) {
            Chain::addDistance(instrument, to, index, hi);
            return;
        }
        warnInvalidDistance(instrument, to);
        message = platform::formatC("Error processing distance; %s to %s", instrument.c_str(),
                                    to.c_str()) +
                  rawRecordPlace(record);
        result = passStopped;
    };
    rawDataList.seek1(0);
    for (int index = 0; rawDataList.getNext1(record) == 0; ++index) {
        postProgress(index, total);
        if (userCancelled()) {
            message = userAbortedText;
            return passStopped;
        }
        if (record.kind == rawSetup) {
            setupMet = true;
            instrument = fixedText(record.stationName);
            hi = record.instrumentHeight;
            const std::string backsight(fixedText(record.backsightName));
            if (Chain::setupCounts(record) && !Chain::pairInDistances(instrument, backsight))
                addLine(backsight, index);
        } else if (record.kind == rawForesight) {
            const std::string point(fixedText(record.foresightName));
            if (Chain::foresightCounts(record, hi) && !Chain::pairInDistances(point, instrument)) {
                if (setupMet)
                    addLine(point, index);
                else
                    warnForesightNoSetup(point, record.distance, record.zenithOrVertDiff);
            }
        } else if (record.kind == rawAzimuth) {
            const std::string_view from = fixedText(record.fromName);
            const std::string_view to = fixedText(record.toName);
            if (!Chain::pairInAzimuths(from, to))
                Chain::addAzimuth(from, to, index);
        } else if (record.kind == rawStdErrs) {
            applyRawStdErrRec(record);
        }
    }
    shell.setPercent(0);
    return result;
}

} // namespace

int buildDistanceObs3D(std::string& message) {
    return distancePass<chain3D>(message);
}

int buildDistanceObs2D(std::string& message) {
    return distancePass<chain2D>(message);
}

// No run context reaches buildVerticalObs3D: its interface has none, so the shell is
// the active one (the run installs its own for its length).
int buildVerticalObs3D() {
    ShellServices& shell = activeShell();
    shell.setPercent(0);
    const int total = rawDataList.count();
    bool setupMet = false;
    std::string instrument;
    double hi = 0.0;
    const auto lineIsNew = [&instrument](std::string_view other) {
        return !isPairInDistances3D(instrument, other) && !isPairInVerticals3D(instrument, other);
    };
    rawRec record;
    rawDataList.seek1(0);
    for (int index = 0; rawDataList.getNext1(record) == 0; ++index) {
        postProgress(index, total);
        if (userCancelled())
            return passStopped;
        if (record.kind == rawSetup) {
            setupMet = true;
            instrument = fixedText(record.stationName);
            hi = record.instrumentHeight;
            const std::string_view backsight = fixedText(record.backsightName);
            if (isSet(record.zenithOrVertDiff) && isSet(record.bsTargetHeight) && isSet(hi) &&
                lineIsNew(backsight))
                addVerticalObs3D(instrument, backsight, index);
        } else if (record.kind == rawForesight) {
            const std::string_view point = fixedText(record.foresightName);
            if (setupMet && isSet(record.zenithOrVertDiff) && isSet(hi) &&
                record.targetHeight != 0.0 && lineIsNew(point))
                addVerticalObs3D(instrument, point, index);
        } else if (record.kind == rawStdErrs) {
            applyRawStdErrRec(record);
        }
    }
    shell.setPercent(0);
    return passDone;
}

int addDistanceObs3D(std::string_view from, std::string_view to, int startIndex, double HI) {
    std::vector<lineSight> sights;
    if (!sightsOfLine(from, to, startIndex, HI, true, sights))
        return lineRefused;
    if (sights.empty())
        return lineAdded;
    spread distances;
    spread heights;
    mergeSights(sights, carriesHeight3D, distances, heights);

    distanceObs line;
    setPointName(line.from, from);
    setPointName(line.to, to);
    line.reducedDist = notComputed;
    line.stdErr = 0.0;
    line.meanDist = distances.mean();
    line.meanHeightDiff = heights.count > 0 ? heights.mean() : notComputed;
    distanceList.append(line);

    verticalObs vertical;
    setPointName(vertical.to, to);
    setPointName(vertical.from, from);
    vertical.stdErr = 0.0;
    verticalList.append(vertical);

    warnSpreads(from, to, distances, heights, units::unitsPerMetre(projectVars.HorizUnits));
    return lineAdded;
}

int addVerticalObs3D(std::string_view from, std::string_view to, int startIndex) {
    const std::shared_ptr<const rawSightIndex> index = currentRawSightIndex();
    if (!startsInData(*index, startIndex))
        return lineRefused;
    bool heightsMissing = false;
    forEachLineSightFrom(*index, from, to, startIndex, notComputed,
                         [&](int at, std::string_view, double) {
                             const rawRec& r = index->record(at);
                             if (r.kind == rawSetup)
                                 heightsMissing = heightsMissing || !isSet(r.instrumentHeight) ||
                                                  !isSet(r.bsTargetHeight);
                             else
                                 heightsMissing = heightsMissing || !isSet(r.targetHeight);
                         });
    if (heightsMissing)
        return lineRefused;
    verticalObs vertical;
    setPointName(vertical.to, to);
    setPointName(vertical.from, from);
    vertical.stdErr = 0.0;
    verticalList.append(vertical);
    return lineAdded;
}

int addDistanceObs2D(std::string_view from, std::string_view to, int startIndex) {
    if (sameName(from, to))
        return lineRefused;
    std::vector<lineSight> sights;
    if (!sightsOfLine(from, to, startIndex, notComputed, false, sights))
        return lineRefused;
    if (sights.empty())
        return lineAdded;
    spread distances;
    spread heights;
    mergeSights(sights, carriesHeight2D, distances, heights);
    warnSpreads(from, to, distances, heights, 1.0);

    double distErrSum = 0.0;
    double heightErrSum = 0.0;
    for (const lineSight& sight : sights) {
        distErrSum += sight.distErr;
        if (carriesHeight2D(sight))
            heightErrSum += sight.heightDiffErr;
    }
    distanceObs2D line;
    setPointName(line.from, from);
    setPointName(line.to, to);
    line.distance = distances.mean();
    line.stdErrDist = errorOfMean(meanErrorInForce(sights, seTargetCentering, everySight),
                                  meanErrorInForce(sights, seInstrumentCentering, everySight),
                                  distErrSum, distances.count);
    if (heights.count > 0) {
        line.vertDiff = heights.mean();
        line.stdErrVert = errorOfMean(meanErrorInForce(sights, seInstrumentHeight, carriesHeight2D),
                                      meanErrorInForce(sights, seRodHeight, carriesHeight2D),
                                      heightErrSum, heights.count);
        line.vertType = 0;
    } else {
        line.vertDiff = notComputed;
        line.stdErrVert = 0.0;
        line.vertType = -1;
    }
    distanceList2D.append(line);
    return lineAdded;
}

int isPairInDistances3D(std::string_view a, std::string_view b) {
    return joinsPair<distanceObs>(distanceList, a, b);
}

int isPairInVerticals3D(std::string_view a, std::string_view b) {
    return joinsPair<verticalObs>(verticalList, a, b);
}

int isPairInDistances2D(std::string_view a, std::string_view b) {
    return joinsPair<distanceObs2D>(distanceList2D, a, b);
}
