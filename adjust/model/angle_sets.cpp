#include "model/angle_sets.hpp"

#include "model/angle_math.hpp"
#include "model/error_file_warnings.hpp"
#include "model/key_table.hpp"
#include "model/pair_lookup.hpp"
#include "model/plane_geometry.hpp"
#include "model/program_lists.hpp"
#include "model/progress.hpp"
#include "model/raw_record.hpp"
#include "model/raw_sight_index.hpp"
#include "model/reader_std_errs.hpp"
#include "model/settings/global_vars.hpp"

#include <algorithm>
#include <cmath>
#include <deque>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace {

constexpr double twoPi = 2.0 * angle::pi;

std::string nameOf(const pointNameField& field) {
    return std::string(fixedText(field));
}

// A reading of the record at `rawIndex` with the errors in force now.
void appendReading(hzReadingList& readings, double reading, int face, int rawIndex) {
    hzReadingRec added;
    added.reading = reading;
    added.pointingErr = readerStdErrs[seHorizPointing];
    added.readingErr = readerStdErrs[seHorizReading];
    added.targetCenteringErr = readerStdErrs[seTargetCentering];
    added.face = face;
    added.rawIndex = rawIndex;
    readings.append(added);
}

void takeSetup(setupRec& setup, const rawRec& record, int rawIndex) {
    setPointName(setup.instrument, fixedText(record.stationName));
    setPointName(setup.backsight, fixedText(record.backsightName));
    setup.HI = record.instrumentHeight;
    setup.bsTargetHeight = record.bsTargetHeight;
    setup.instrumentCenteringErr = readerStdErrs[seInstrumentCentering];
    if (isSet(record.bsHorizontalReading))
        appendReading(setup.backsightReadings, record.bsHorizontalReading, record.face, rawIndex);
}

int readNextSetup(setupRec& setup, int& setupIndex) {
    setup.backsightReadings.clear();
    // The angles of the setup are added by walking it again, applying its
    // standard-error records in order; the walk here must not leave them in
    // force for readings that stand before them.
    stdErrBlock atSetup = readerStdErrs;
    int setupsMet = 0;
    rawRec record;
    while (rawDataList.get(record) == 0) {
        advanceProgress();
        if (userCancelled()) {
            readerStdErrs = atSetup;
            return noSetupLeft;
        }
        const int index = rawDataList.cursorIndex();
        if (record.kind == rawSetup) {
            if (++setupsMet == 2) {
                rawDataList.advance();
                break;
            }
            atSetup = readerStdErrs;
            setupIndex = index;
            takeSetup(setup, record, index);
        } else if (record.kind == rawForesight) {
            if (setupsMet == 1 && isSet(record.horizontalReading) &&
                sameName(fixedText(record.foresightName), fixedText(setup.backsight)))
                appendReading(setup.backsightReadings, record.horizontalReading, record.face,
                              index);
        } else if (record.kind == rawStdErrs) {
            applyRawStdErrRec(record);
        }
        if (rawDataList.advance() != 0)
            break;
    }
    readerStdErrs = atSetup;
    return setupsMet == 0 ? noSetupLeft : setupRead;
}

// Unrecorded faces alternate direct, reverse, ... in list order; a recorded
// face makes the next unrecorded one its opposite.
void assignFaces(hzReadingList& readings) {
    int expected = faceDirect;
    hzReadingRec reading;
    readings.seekCursor(0);
    while (readings.getAtCursor(reading) == 0) {
        if (reading.face == faceUnknown) {
            reading.face = expected;
            readings.replaceAtCursor(reading);
        }
        expected = reading.face == faceDirect ? faceReverse : faceDirect;
        readings.advanceCursor();
    }
}

struct faceCounts {
    int direct = 0;
    int reverse = 0;
    bool operator==(const faceCounts&) const = default;
};

faceCounts countFaces(const hzReadingList& readings) {
    faceCounts counts;
    hzReadingRec reading;
    for (int i = 0; readings.getAt(i, reading) == 0; ++i) {
        if (reading.face == faceDirect)
            ++counts.direct;
        else if (reading.face == faceReverse)
            ++counts.reverse;
    }
    return counts;
}

// What the pairs of a set add up to.
struct setSums {
    int pairs = 0;
    double angles = 0.0;
    double low = 0.0;
    double high = 0.0;
    double pointingSquares = 0.0;
    double readingSquares = 0.0;
    double backsightTargets = 0.0;
    double foresightTargets = 0.0;
};

// The clockwise angle from the backsight reading to the foresight reading, in [0, 2pi).
double angleBetweenReadings(double backsight, double foresight) {
    const double b = normalizedAngle(backsight);
    const double f = normalizedAngle(foresight);
    return f < b ? f - b + twoPi : f - b;
}

// The highest minus the lowest angle of the set, measured across zero when
// the set straddles it (as the spread warning reports it).
double spreadOf(const setSums& sums) {
    const double low =
        sums.high > 1.5 * angle::pi && sums.low < 0.5 * angle::pi ? sums.low + twoPi : sums.low;
    return std::fabs(sums.high - low);
}

double angleStdErr_sec(const setSums& sums, const setupRec& setup, std::string_view foresight,
                       double mean) {
    const double n = sums.pairs;
    const double pointing = std::sqrt(sums.pointingSquares) / n;
    const double reading = std::sqrt(sums.readingSquares) / n;
    double backsightLength = 0.0;
    double foresightLength = 0.0;
    double backsightForesight = 0.0;
    angleSightLengths(backsightLength, foresightLength, backsightForesight,
                      fixedText(setup.backsight), foresight, fixedText(setup.instrument), mean);
    double target = 0.0;
    double instrument = 0.0;
    if (backsightLength > 0.0 && foresightLength > 0.0) {
        const double rho = angle::secondsPerRadian;
        target = rho * std::hypot(sums.backsightTargets / n / backsightLength,
                                  sums.foresightTargets / n / foresightLength);
        instrument = rho * backsightForesight /
                     (std::sqrt(2.0) * backsightLength * foresightLength) *
                     setup.instrumentCenteringErr;
    }
    return std::sqrt(reading * reading + pointing * pointing + target * target +
                     instrument * instrument);
}

template <class Angle>
int reduceAngleSet(Angle& angle, setupRec& setup, hzReadingList& foresightReadings) {
    hzReadingList& backsightReadings = setup.backsightReadings;
    assignFaces(foresightReadings);
    assignFaces(backsightReadings);
    const int backsightCount = backsightReadings.count();
    const bool balanced =
        backsightCount > 0 && countFaces(foresightReadings) == countFaces(backsightReadings);
    const std::string instrument = nameOf(setup.instrument);
    const std::string backsight = nameOf(setup.backsight);
    const std::string foresight = nameOf(angle.foresight);

    setSums sums;
    double reference = 0.0;
    hzReadingRec fs;
    for (int i = 0; foresightReadings.getAt(i, fs) == 0; ++i) {
        const int paired = balanced ? std::min(i, backsightCount - 1)
                                    : findReadingByFace(fs.face, fs.rawIndex, backsightReadings);
        hzReadingRec bs;
        if (paired < 0 || backsightReadings.getAt(paired, bs) != 0) {
            warnNoBacksight(instrument, backsight, foresight);
            continue;
        }
        double a = angleBetweenReadings(bs.reading, fs.reading);
        sums.low = sums.pairs == 0 ? a : std::min(sums.low, a);
        sums.high = sums.pairs == 0 ? a : std::max(sums.high, a);
        if (i == 0)
            reference = a;
        else if (std::fabs(a - reference) > 1.5 * angle::pi)
            a += a < reference ? twoPi : -twoPi;
        sums.angles += a;
        sums.pointingSquares += fs.pointingErr * fs.pointingErr + bs.pointingErr * bs.pointingErr;
        sums.readingSquares += fs.readingErr * fs.readingErr + bs.readingErr * bs.readingErr;
        sums.backsightTargets += bs.targetCenteringErr;
        sums.foresightTargets += fs.targetCenteringErr;
        ++sums.pairs;
    }
    if (sums.pairs == 0) {
        warnNoValidAngle(instrument, backsight, foresight);
        return noValidAngle;
    }
    if (spreadOf(sums) >= projectVars.hAngTol)
        warnAngleSpread(instrument, backsight, foresight, sums.high, sums.low);

    double mean = sums.angles / sums.pairs;
    if (mean < 0.0)
        mean += twoPi;
    setPointName(angle.backsight, backsight);
    setPointName(angle.instrument, instrument);
    angle.angle = mean;
    angle.stdErr = angleStdErr_sec(sums, setup, foresight, mean);
    return angleReduced;
}

// The points sighted in a setup in the order of their first foresight, each
// with its readings, from one walk of the setup.
class setupSightings {
public:
    // The readings of `point` so far; a point met for the first time is
    // added after those met before.
    hzReadingList& readingsOf(std::string_view point) {
        const auto [found, added] = order_.emplace(pointKeyOf(point), nullptr);
        if (added) {
            sighted_.emplace_back().point = point;
            *found = &sighted_.back().readings;
        }
        return **found;
    }
    struct sighting {
        std::string point;
        hzReadingList readings;
    };
    std::deque<sighting>& inOrder() { return sighted_; }

private:
    keyTable<pointKey, hzReadingList*> order_;
    std::deque<sighting> sighted_; // a deque: the lists must not move
};

// Every foresight of the setup from raw index `first` to the next setup
// record, its reading kept with the errors in force at its record. Leaves
// cursor 0 on the next setup record (or at the end).
setupSightings walkSetup(int first) {
    setupSightings sightings;
    if (rawDataList.seek(first) != 0)
        return sightings;
    rawRec record;
    while (rawDataList.get(record) == 0 && record.kind != rawSetup) {
        if (record.kind == rawStdErrs) {
            applyRawStdErrRec(record);
        } else if (record.kind == rawForesight) {
            hzReadingList& readings = sightings.readingsOf(fixedText(record.foresightName));
            if (isSet(record.horizontalReading))
                appendReading(readings, record.horizontalReading, record.face,
                              rawDataList.cursorIndex());
        }
        if (rawDataList.advance() != 0)
            break;
    }
    return sightings;
}

template <class Angle> int addAngles(setupRec& setup, int setupIndex, obsList<Angle>& angles) {
    progressDone = setupIndex + 1;
    setupSightings sightings = walkSetup(setupIndex + 1);
    for (auto& [point, readings] : sightings.inOrder()) {
        if (sameName(point, fixedText(setup.backsight)) || readings.count() == 0)
            continue;
        Angle angle;
        setPointName(angle.foresight, point);
        if (reduceAngleSet(angle, setup, readings) == angleReduced)
            angles.append(angle);
    }
    return 0;
}

struct knownPoint {
    bool known = false;
    double northing = 0.0;
    double easting = 0.0;
};

// The coordinates the last coordinate record of `point` gives it.
knownPoint coordinatesOf(const rawSightIndex& index, std::string_view point) {
    const int at = index.lastCoordOf(point);
    if (at < 0)
        return {};
    const rawRec& record = index.record(at);
    return {true, record.northing, record.easting};
}

// The last horizontal distance above 0 recorded on the line A-B; 0 when none.
double lastSightLength(const rawSightIndex& index, std::string_view a, std::string_view b) {
    const std::span<const int> sights = index.sightsOf(a, b);
    for (auto at = sights.rbegin(); at != sights.rend(); ++at)
        if (index.record(*at).horizDistance > 0.0)
            return index.record(*at).horizDistance;
    return 0.0;
}

// The sight length from the two points' coordinates when both are known and
// the length is not known otherwise.
void lengthFromCoordinates(double& length, const knownPoint& a, const knownPoint& b) {
    if (length <= 0.0 && a.known && b.known)
        length = std::hypot(a.northing - b.northing, a.easting - b.easting);
}

} // namespace

int readNextSetup3D(setupRec& setup, int& setupIndex) {
    return readNextSetup(setup, setupIndex);
}

int readNextSetup2D(setupRec& setup, int& setupIndex) {
    return readNextSetup(setup, setupIndex);
}

int addAngleObs3D(setupRec& setup, int setupIndex) {
    return addAngles(setup, setupIndex, angleList);
}

int addAngleObs2D(setupRec& setup, int setupIndex) {
    return addAngles(setup, setupIndex, angleList2D);
}

int collectSetupReadings(int startIndex, std::string_view pointName, hzReadingList& readings) {
    readings.clear();
    const stdErrBlock before = readerStdErrs;
    rawRec record;
    if (rawDataList.seek1(startIndex) == 0) {
        for (int index = startIndex; rawDataList.getNext1(record) == 0; ++index) {
            if (record.kind == rawSetup)
                break;
            if (record.kind == rawStdErrs)
                applyRawStdErrRec(record);
            else if (record.kind == rawForesight && isSet(record.horizontalReading) &&
                     sameName(fixedText(record.foresightName), pointName))
                appendReading(readings, record.horizontalReading, record.face, index);
        }
    }
    readerStdErrs = before;
    return readings.count() > 0 ? readingsFound : noReadings;
}

int reduceAngleSet3D(angleObs& angle, setupRec& setup, hzReadingList& foresightReadings) {
    return reduceAngleSet(angle, setup, foresightReadings);
}

int reduceAngleSet2D(angleObs2D& angle, setupRec& setup, hzReadingList& foresightReadings) {
    return reduceAngleSet(angle, setup, foresightReadings);
}

int findReadingByFace(int face, int rawIndex, hzReadingList& backsightReadings) {
    int direct = -1;
    hzReadingRec reading;
    for (int i = 0; backsightReadings.getAt(i, reading) == 0; ++i)
        if (reading.face == faceDirect && reading.rawIndex <= rawIndex)
            direct = i;
    if (face != faceReverse || direct < 0)
        return direct;
    for (int i = direct; backsightReadings.getAt(i, reading) == 0; ++i)
        if (reading.face == faceReverse)
            return i;
    return -1;
}

int angleSightLengths(double& backsightLength, double& foresightLength,
                      double& backsightForesightLength, std::string_view backsight,
                      std::string_view foresight, std::string_view instrument, double angle_rad) {
    backsightLength = 0.0;
    foresightLength = 0.0;
    backsightForesightLength = 0.0;
    const std::shared_ptr<const rawSightIndex> index = currentRawSightIndex();
    backsightLength = lastSightLength(*index, instrument, backsight);
    foresightLength = lastSightLength(*index, instrument, foresight);
    const knownPoint atInstrument = coordinatesOf(*index, instrument);
    const knownPoint atBacksight = coordinatesOf(*index, backsight);
    const knownPoint atForesight = coordinatesOf(*index, foresight);
    lengthFromCoordinates(backsightLength, atInstrument, atBacksight);
    lengthFromCoordinates(foresightLength, atInstrument, atForesight);
    if (backsightLength > 0.0 && foresightLength > 0.0)
        backsightForesightLength = std::sqrt(
            std::max(0.0, backsightLength * backsightLength + foresightLength * foresightLength -
                              2.0 * backsightLength * foresightLength * std::cos(angle_rad)));
    return 0;
}
