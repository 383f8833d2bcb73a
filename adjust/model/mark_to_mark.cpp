#include "model/mark_to_mark.hpp"

#include "model/error_file_warnings.hpp"
#include "model/pair_lookup.hpp"
#include "model/plane_geometry.hpp"
#include "model/program_lists.hpp"
#include "model/progress.hpp"
#include "model/project_geodesy.hpp"
#include "model/raw_sight_index.hpp"
#include "model/reader_std_errs.hpp"
#include "model/settings/global_vars.hpp"
#include "platform/length_units.hpp"
#include "platform/shell_services.hpp"

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <string>

namespace {

constexpr double pi = std::numbers::pi;

// The measured slope distance of a sight in either form; unset when the
// sight has none.
double measuredSlope(const rawRec& r) {
    if (r.sightForm != sightHorizVert)
        return r.distance;
    if (!isSet(r.distance) || !isSet(r.zenithOrVertDiff))
        return notComputed;
    return std::hypot(r.distance, r.zenithOrVertDiff);
}

bool knownStation(std::string_view name, stationRec& station) {
    station = stationRec{};
    setPointName(station.name, name);
    return findKnownStation3D(station) == stationFound;
}

int reduceSight(std::string_view instrument, double HI, std::string_view target,
                double targetHeight, rawRec& sight) {
    stationRec from;
    stationRec to;
    if (!knownStation(instrument, from) || !knownStation(target, to))
        return sightNotReduced;
    reduceSlopeToMarks(from.easting, from.northing, from.elevation, to.easting, to.northing,
                       to.elevation, HI, targetHeight, measuredSlope(sight), measuredZenith(sight),
                       sight.markSlopeDistance, sight.markZenith, projectVars.curvRefract);
    return sightReduced;
}

// Without a measured distance the slope distance comes from the stations:
// horizontal distance d and the difference of the two heights above the
// marks. A vertical difference read as such gives the zenith atan2(d, VD).
int reduceSightFromCoords(std::string_view instrument, double HI, std::string_view target,
                          double targetHeight, rawRec& sight) {
    stationRec from;
    stationRec to;
    if (!knownStation(instrument, from) || !knownStation(target, to))
        return sightNotReduced;
    double d = 0.0;
    inverseDirDist(from.northing, from.easting, to.northing, to.easting, d);
    const double h = (to.elevation + targetHeight) - (from.elevation + HI);
    const double zenith = sight.sightForm == sightHorizVert ? std::atan2(d, sight.zenithOrVertDiff)
                                                            : sight.zenithOrVertDiff;
    double markSlope = 0.0;
    reduceSlopeToMarks(from.easting, from.northing, from.elevation, to.easting, to.northing,
                       to.elevation, HI, targetHeight, std::sqrt(h * h + d * d), zenith, markSlope,
                       sight.markZenith, projectVars.curvRefract);
    return sightReduced;
}

bool hasGeodeticPosition(const stationRec& s) {
    return isSet(s.latitude) && isSet(s.longitude) && isSet(s.ecefX) && isSet(s.ecefY) &&
           isSet(s.ecefZ);
}

// The zeniths of the line A-B seen from each end, each from its own plumb
// line (the ellipsoid normal), add up to pi plus the angle by which the two
// normals converge, about the central angle d/R (7" over 200 m). Exact for
// the chord between the marks, as the adjustment computes its zeniths; 0
// when either end has no geodetic position.
double normalConvergence(std::string_view a, std::string_view b) {
    stationRec from;
    stationRec to;
    if (!knownStation(a, from) || !knownStation(b, to) || !hasGeodeticPosition(from) ||
        !hasGeodeticPosition(to))
        return 0.0;
    const double d[3] = {to.ecefX - from.ecefX, to.ecefY - from.ecefY, to.ecefZ - from.ecefZ};
    const double length = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
    if (length == 0.0)
        return 0.0;
    const auto upAlong = [&](const stationRec& s) {
        const double up[3] = {std::cos(s.latitude) * std::cos(s.longitude),
                              std::cos(s.latitude) * std::sin(s.longitude), std::sin(s.latitude)};
        return (up[0] * d[0] + up[1] * d[1] + up[2] * d[2]) / length;
    };
    const double zenithAtA = std::acos(upAlong(from));
    const double zenithAtB = std::acos(-upAlong(to));
    return zenithAtA + zenithAtB - pi;
}

// The zenith of the line seen from its other end.
double reverseZenith(double zenith, double convergence) {
    return pi - zenith + convergence;
}

// Which reduction a sight takes, given its HI and target height.
enum class sightKind { none, measured, fromCoords };

sightKind sightKindOf(const rawRec& r, double HI, double targetHeight) {
    if (!isSet(HI) || !isSet(targetHeight))
        return sightKind::none;
    if (isSet(measuredSlope(r)) && isSet(measuredZenith(r)))
        return sightKind::measured;
    if (isSet(r.zenithOrVertDiff) && !isSet(r.distance))
        return sightKind::fromCoords;
    return sightKind::none;
}

// Mean, extremes, count and error sum of the repeated values of a line,
// with the mean centering errors in force at the sights.
struct lineValues {
    int count = 0;
    double sum = 0.0;
    double high = 0.0;
    double low = 0.0;
    double errorSum = 0.0;
    double targetCentering = 0.0;
    double instrumentCentering = 0.0;

    void add(double value, double error) {
        high = count == 0 ? value : std::max(high, value);
        low = count == 0 ? value : std::min(low, value);
        sum += value;
        errorSum += error;
        targetCentering += readerStdErrs[seTargetCentering];
        instrumentCentering += readerStdErrs[seInstrumentCentering];
        ++count;
    }
    double mean() const { return sum / count; }
};

// The sights of the line A-B from raw index k on, as a walk from k meets
// them, with the errors in force at each; the errors are the same afterwards
// as before. The sights come from the raw-data index: a walk to the end of
// the raw list for each line made the merges quadratic in the number of lines.
bool lineSights(std::string_view a, std::string_view b, int k, lineValues& distances,
                lineValues& zeniths) {
    const std::shared_ptr<const rawSightIndex> index = currentRawSightIndex();
    if (k < 0 || k >= index->count())
        return false;
    const stdErrBlock before = readerStdErrs;
    const double convergence = normalConvergence(a, b);
    forEachLineSightFrom(
        *index, a, b, k, notComputed, [&](int at, std::string_view instrument, double) {
            const rawRec& r = index->record(at);
            readerStdErrs = index->errorsInForce(at, k, before);
            if (r.markSlopeDistance > 0.0)
                distances.add(r.markSlopeDistance, r.distStdErr);
            if (r.markZenith > 0.0) {
                double z = r.markZenith > pi ? 2.0 * pi - r.markZenith : r.markZenith;
                if (!sameName(instrument, a))
                    z = reverseZenith(z, convergence);
                zeniths.add(z, r.zenithStdErr);
            }
        });
    readerStdErrs = before;
    return true;
}

void storeDistance(std::string_view a, std::string_view b, const lineValues& d) {
    distanceObs line;
    if (distanceList.find(a, b, line) < 0)
        return;
    const double n = d.count;
    const double tc = d.targetCentering / n;
    const double ic = d.instrumentCentering / n;
    const double ofMean = d.errorSum / n / std::sqrt(n);
    line.reducedDist = d.mean();
    line.stdErr = std::sqrt(tc * tc + ic * ic + ofMean * ofMean);
    distanceList.replace(line);
}

// The zenith of the line as seen from A, into its vertical record whichever
// way round that is stored.
void storeZenith(std::string_view a, std::string_view b, const lineValues& z) {
    const double m = z.count;
    verticalObs vertical;
    double zenith = z.mean();
    if (verticalList.find(a, b, vertical) < 0) {
        if (verticalList.find(b, a, vertical) < 0)
            return;
        zenith = reverseZenith(zenith, normalConvergence(a, b));
    }
    vertical.zenith = zenith;
    vertical.stdErr = (z.errorSum / m) / std::sqrt(m);
    verticalList.replace(vertical);
}

void warnZenithSpread(std::string_view a, std::string_view b, const lineValues& z) {
    if (z.count > 0 && z.high - z.low >= projectVars.vAngTol)
        warnMarkToMarkVertAngleTolerance(std::string(a), std::string(b), z.high, z.low);
}

// Walks the raw list from its head (cursor 1) with the current instrument
// and calls `line` for each sight with its instrument, target and index.
// No run context reaches reduceRawSlopeToMarks: its interface has none, so the shell is
// the active one (the run installs its own for its length).
template <class Line> void forEachSight(Line line) {
    restoreReaderStdErrs();
    std::string instrument;
    rawRec r;
    rawDataList.seek1(0);
    for (int index = 0; rawDataList.getNext1(r) == 0; ++index) {
        endRunWhenCancelled();
        if (r.kind == rawSetup) {
            instrument = std::string(fixedText(r.stationName));
            line(r, instrument, fixedText(r.backsightName), index);
        } else if (r.kind == rawForesight) {
            line(r, instrument, fixedText(r.foresightName), index);
        } else if (r.kind == rawStdErrs) {
            applyRawStdErrRec(r);
        }
    }
    activeShell().setPercent(0);
}

} // namespace

double measuredZenith(const rawRec& r) {
    if (r.sightForm != sightHorizVert)
        return r.zenithOrVertDiff;
    if (!isSet(r.distance) || !isSet(r.zenithOrVertDiff))
        return notComputed;
    return std::atan2(r.distance, r.zenithOrVertDiff);
}

int reduceSetupSight(rawRec& setup) {
    return reduceSight(fixedText(setup.stationName), setup.instrumentHeight,
                       fixedText(setup.backsightName), setup.bsTargetHeight, setup);
}

int reduceSetupSightFromCoords(rawRec& setup) {
    return reduceSightFromCoords(fixedText(setup.stationName), setup.instrumentHeight,
                                 fixedText(setup.backsightName), setup.bsTargetHeight, setup);
}

int reduceObsSight(std::string_view instrument, double HI, rawRec& foresight) {
    return reduceSight(instrument, HI, fixedText(foresight.foresightName), foresight.targetHeight,
                       foresight);
}

int reduceObsSightFromCoords(std::string_view instrument, double HI, rawRec& foresight) {
    return reduceSightFromCoords(instrument, HI, fixedText(foresight.foresightName),
                                 foresight.targetHeight, foresight);
}

int reduceRawSlopeToMarks() {
    if (rawDataList.count() == 0)
        return 1;
    restoreReaderStdErrs();
    std::string instrument;
    double HI = notComputed;
    rawRec r;
    rawDataList.seek(0);
    while (rawDataList.get(r) == 0) {
        endRunWhenCancelled();
        int reduced = sightNotReduced;
        if (r.kind == rawSetup) {
            instrument = std::string(fixedText(r.stationName));
            HI = r.instrumentHeight;
            const sightKind kind = sightKindOf(r, HI, r.bsTargetHeight);
            if (kind == sightKind::measured)
                reduced = reduceSetupSight(r);
            else if (kind == sightKind::fromCoords)
                reduced = reduceSetupSightFromCoords(r);
        } else if (r.kind == rawForesight) {
            const sightKind kind = sightKindOf(r, HI, r.targetHeight);
            if (kind == sightKind::measured)
                reduced = reduceObsSight(instrument, HI, r);
            else if (kind == sightKind::fromCoords)
                reduced = reduceObsSightFromCoords(instrument, HI, r);
        }
        if (reduced == sightReduced)
            rawDataList.replaceAtCursor(r);
        if (rawDataList.advance() != 0)
            break;
    }
    // The raw list does not change while the repeated sights are merged.
    const rawSightIndexInForce sightIndex;
    mergeRepeatedDists3D();
    mergeRepeatedVerts3D();
    return 0;
}

int mergeRepeatedDists3D() {
    forEachSight(
        [](const rawRec& r, const std::string& instrument, std::string_view target, int index) {
            if (isSet(r.markSlopeDistance) && hasDistanceValue3D(instrument, target) == 0)
                mergeMarkToMarkDist3D(instrument, target, index);
        });
    return 0;
}

int mergeRepeatedVerts3D() {
    forEachSight(
        [](const rawRec& r, const std::string& instrument, std::string_view target, int index) {
            if (isSet(r.markZenith) && hasDistanceValue3D(instrument, target) == 0 &&
                hasVerticalValue3D(instrument, target) == 0)
                mergeMarkToMarkVert3D(instrument, target, index);
        });
    return 0;
}

int mergeMarkToMarkDist3D(std::string_view a, std::string_view b, int k) {
    lineValues distances;
    lineValues zeniths;
    if (!lineSights(a, b, k, distances, zeniths))
        return 1;
    if (distances.count > 0)
        storeDistance(a, b, distances);
    if (zeniths.count > 0)
        storeZenith(a, b, zeniths);
    const double f = units::unitsPerMetre(projectVars.HorizUnits);
    if (distances.count > 0 && (distances.high - distances.low) * f >= projectVars.hDistTol)
        warnMarkToMarkDistTolerance(std::string(a), std::string(b), distances.high * f,
                                    distances.low * f);
    warnZenithSpread(a, b, zeniths);
    return 0;
}

int mergeMarkToMarkVert3D(std::string_view a, std::string_view b, int k) {
    lineValues distances;
    lineValues zeniths;
    if (!lineSights(a, b, k, distances, zeniths))
        return 1;
    warnZenithSpread(a, b, zeniths);
    if (zeniths.count > 0)
        storeZenith(a, b, zeniths);
    return 0;
}

int hasDistanceValue3D(std::string_view a, std::string_view b) {
    distanceObs line;
    return distanceList.find(a, b, line) >= 0 && isSet(line.reducedDist) ? 1 : 0;
}

int hasVerticalValue3D(std::string_view a, std::string_view b) {
    verticalObs vertical;
    const bool found =
        verticalList.find(a, b, vertical) >= 0 || verticalList.find(b, a, vertical) >= 0;
    return found && isSet(vertical.zenith) ? 1 : 0;
}
