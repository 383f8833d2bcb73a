#include "model/control_coordinates.hpp"

#include "model/error_file_warnings.hpp"
#include "model/program_lists.hpp"
#include "model/project_geodesy.hpp"
#include "model/raw_record.hpp"
#include "model/raw_sight_index.hpp"
#include "model/reader_std_errs.hpp"
#include "model/settings/global_vars.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <span>
#include <string>

namespace {

enum class controlState { none, weighted, fixed };

// Calls `visit` with each coordinate record of the point from raw index
// `startIndex` to the end, with the standard errors in force that a walk
// from the index applying every standard-error record would have there; the
// errors in force are the same afterwards as before. False when the index is
// past the end. The records come from the raw-data index: a walk to the end
// for each point made the control passes quadratic in the number of points.
// What `visit` puts in force stays in force for the records after, until a
// standard-error record between sets it again, as on a walk: each record's
// errors are those of a walk from the record before, with the errors it
// left.
template <class Visit> bool scanPointRecords(std::string_view name, int startIndex, Visit visit) {
    const std::shared_ptr<const rawSightIndex> index = currentRawSightIndex();
    if (startIndex < 0 || startIndex >= index->count())
        return false;
    const stdErrBlock before = readerStdErrs;
    const std::span<const int> records = index->coordRecordsOf(name);
    int walkedFrom = startIndex;
    for (auto at = std::lower_bound(records.begin(), records.end(), startIndex);
         at != records.end(); ++at) {
        readerStdErrs = index->errorsInForce(*at, walkedFrom, readerStdErrs);
        visit(index->record(*at));
        walkedFrom = *at;
    }
    readerStdErrs = before;
    return true;
}

// Highest and lowest of the values given for one axis.
struct valueRange {
    double high = 0.0;
    double low = 0.0;
    void start(double value) { high = low = value; }
    void widen(double value) {
        high = std::max(high, value);
        low = std::min(low, value);
    }
    bool spread() const { return high != low; }
};

// One axis of a 3D control point. `holdsValue` tells whether any record gave
// the axis a value; a record that gives none changes an axis that holds one
// in no way, so a missing value can neither enter a mean nor wipe one out.
struct axis3D {
    bool holdsValue = false;
    double byError = 0.0;      // sum of value / error
    double inverseError = 0.0; // sum of 1 / error
    double squaredErrors = 0.0;
    double fixedValue = notComputed;
    valueRange range;

    void add(double value, double error) {
        squaredErrors += error * error;
        if (!isSet(value))
            return;
        if (!holdsValue) {
            byError = inverseError = 0.0;
            range.start(value);
            holdsValue = true;
        }
        byError += value / error;
        inverseError += 1.0 / error;
        range.widen(value);
    }

    // A fixed or missing axis of a point that is otherwise weighted.
    void substitute(double value, double error, double squaredError) {
        if (!isSet(value) && holdsValue)
            return;
        const double divisor = error == 0.0 ? stdErrFixed : error;
        squaredErrors = squaredError;
        holdsValue = isSet(value);
        byError = value / divisor;
        inverseError = 1.0 / divisor;
        range.start(value);
    }

    // A fixed record; an axis it gives no value keeps the value it holds.
    void fix(double value, controlState before) {
        if (!isSet(value) && holdsValue)
            value = mean(before);
        squaredErrors = 0.0;
        holdsValue = isSet(value);
        fixedValue = value;
        byError = value;
        inverseError = 1.0;
        range.start(value);
    }

    double mean(controlState state) const {
        if (!holdsValue)
            return notComputed;
        return state == controlState::fixed ? fixedValue : byError / inverseError;
    }
};

double substituteSquaredError(double error) {
    return error <= stdErrFixed ? fixedAxisSquaredError : missingAxisSquaredError;
}

// The coordinate records of one 3D point, merged.
struct station3DSums {
    std::array<axis3D, 3> axes; // easting, northing, elevation
    std::array<double, 3> fixedErrors{};
    controlState state = controlState::none;
    int count = 0;
    std::string name;

    void take(const rawRec& record) {
        if (!isSet(record.easting))
            readerStdErrs[seEasting] = stdErrNotGiven;
        if (!isSet(record.northing))
            readerStdErrs[seNorthing] = stdErrNotGiven;
        const std::array<double, 3> values{record.easting, record.northing, record.elevation};
        const std::array<double, 3> errors{readerStdErrs[seEasting], readerStdErrs[seNorthing],
                                           readerStdErrs[seElevation]};
        const bool allWeighted = errors[0] > 0.0 && errors[1] > 0.0 && errors[2] > 0.0;
        const bool allAlike = errors[0] == errors[1] && errors[1] == errors[2];
        if (allWeighted) {
            if (state == controlState::fixed) {
                warnMultipleFixed(name);
                axes = {};
                count = 0;
            }
            if (controlStationList.indexOf(name) < 0) {
                for (int a = 0; a < 3; ++a)
                    axes[a].add(values[a], errors[a]);
                ++count;
            }
            state = controlState::weighted;
        } else if (!allAlike) {
            for (int a = 0; a < 3; ++a) {
                if (errors[a] > 0.0)
                    axes[a].add(values[a], errors[a]);
                else
                    axes[a].substitute(values[a], errors[a], substituteSquaredError(errors[a]));
            }
            state = controlState::weighted;
            count = 1;
        } else {
            if (state == controlState::weighted)
                warnMultipleFixed(name);
            for (int a = 0; a < 3; ++a)
                axes[a].fix(values[a], state);
            fixedErrors = errors;
            state = controlState::fixed;
            count = 1;
        }
    }
};

// Latitude and longitude of a grid position in metres and the geoid
// separation there; a separation that cannot be read is warned about.
geodCoord geodeticPositionMetres(const std::string& name, double easting, double northing,
                                 double& separation) {
    geodCoord at{};
    at.lat = at.lon = notComputed;
    at.northing = northing;
    at.easting = easting;
    at.scale = 1.0;
    projGridMetersToGeod(at);
    if (getGeoidHeight(at, separation) != 0)
        warnGeoidSeparation(name);
    return at;
}

stationRec stationFromSums(const station3DSums& sums) {
    const axis3D& e = sums.axes[0];
    const axis3D& n = sums.axes[1];
    const axis3D& z = sums.axes[2];
    if (e.range.spread() || n.range.spread())
        warnNEToleranceUnits(sums.name, e.range.high, n.range.high, e.range.low, n.range.low);

    stationRec station;
    initStationRec(station);
    setPointName(station.name, sums.name);
    station.resetFlag = 0;
    station.easting = e.mean(sums.state);
    station.northing = n.mean(sums.state);
    if (e.squaredErrors > 0.0) {
        station.stdErrE = std::sqrt(e.squaredErrors) / sums.count;
        station.stdErrN = std::sqrt(n.squaredErrors) / sums.count;
        station.stdErrZ = std::sqrt(z.squaredErrors) / sums.count;
    } else {
        station.stdErrE = sums.fixedErrors[0];
        station.stdErrN = sums.fixedErrors[1];
        station.stdErrZ = sums.fixedErrors[2];
    }
    if (z.range.spread())
        warnZToleranceUnits(sums.name, z.range.high, z.range.low);

    const bool positioned = isSet(station.easting) && isSet(station.northing);
    double separation = 0.0;
    geodCoord at{};
    if (positioned)
        at = geodeticPositionMetres(sums.name, station.easting, station.northing, separation);
    station.geoidSep = separation;
    const double orthometric = z.mean(sums.state);
    station.elevation = isSet(orthometric) ? orthometric + separation : notComputed;
    if (positioned) {
        station.latitude = at.lat;
        station.longitude =
            projectVars.gridSystem == gridStatePlane83 && isSet(at.lon) ? -at.lon : at.lon;
        projGeodToEcef(station);
        station.pointType = ptWeightedControl;
        if (station.stdErrZ <= stdErrFixed)
            station.stdErrZ = 1e-7;
    } else {
        station.pointType = isSet(station.elevation) ? ptWeightedControl : ptUnknown;
    }
    return station;
}

void storeStation(stationRec& station) {
    if (station.stdErrE > 0.0 && station.stdErrN > 0.0 && station.stdErrZ > 0.0) {
        controlStationList.append(station);
    } else if (station.stdErrE > stdErrFixed) {
        station.pointType = ptGiven;
        givenStationList.append(station);
    } else {
        station.pointType = ptFixed;
        controlStationList.append(station);
    }
}

// The horizontal or the vertical part of a 2D control point: weighted sums
// of (value / error, 1 / error) per coordinate, or one fixed value.
template <int N> struct sums2D {
    controlState state = controlState::none;
    int count = 0;
    std::array<double, N> byError{};
    std::array<double, N> inverseError{};
    std::array<double, N> squaredErrors{};
    std::array<valueRange, N> ranges;
    std::array<double, N> fixedValues{};
    std::array<double, N> fixedErrors{};

    void add(const std::array<double, N>& values, const std::array<double, N>& errors) {
        for (int i = 0; i < N; ++i) {
            byError[i] += values[i] / errors[i];
            inverseError[i] += 1.0 / errors[i];
            squaredErrors[i] += errors[i] * errors[i];
            if (count == 0)
                ranges[i].start(values[i]);
            else
                ranges[i].widen(values[i]);
        }
        ++count;
    }
    void fix(const std::array<double, N>& values, const std::array<double, N>& errors) {
        fixedValues = values;
        fixedErrors = errors;
        state = controlState::fixed;
    }
    bool spread() const {
        return std::any_of(ranges.begin(), ranges.end(),
                           [](const valueRange& r) { return r.spread(); });
    }
    double mean(int i) const { return byError[i] / inverseError[i]; }
    double error(int i) const { return std::sqrt(squaredErrors[i]) / count; }
};

struct point2DSums {
    sums2D<2> horizontal; // easting, northing
    sums2D<1> vertical;
    std::string name;

    void take(const rawRec& record) {
        const double sE = readerStdErrs[seEasting];
        const double sN = readerStdErrs[seNorthing];
        const double sZ = readerStdErrs[seElevation];
        takeHorizontal(record, sE, sN);
        if (isSet(record.elevation))
            takeVertical(record.elevation, sZ);
    }

    void takeHorizontal(const rawRec& record, double sE, double sN) {
        if (sE <= 0.0 && isSet(record.easting)) {
            if (horizontal.state == controlState::weighted)
                warnMultipleFixed(name);
            horizontal.fix({record.easting, record.northing}, {sE, sN});
            return;
        }
        if (horizontal.state == controlState::fixed && !isSet(record.easting) &&
            isSet(record.elevation))
            return;
        if (horizontal.state == controlState::fixed)
            warnMultipleFixed(name);
        horizontal.state = controlState::weighted;
        if (controlPointList2D.indexOf(name) < 0 && isSet(record.easting) && isSet(record.northing))
            horizontal.add({record.easting, record.northing}, {sE, sN});
    }

    void takeVertical(double elevation, double sZ) {
        if (sZ <= stdErrFixed || sZ == 0.0) {
            if (vertical.state == controlState::weighted)
                warnMultipleFixed(name);
            vertical.fix({elevation}, {sZ});
        } else if (sZ > 0.0) {
            if (vertical.state == controlState::fixed)
                warnMultipleFixed(name);
            vertical.state = controlState::weighted;
            vertical.add({elevation}, {sZ});
        }
    }
};

// The separation of a 2D point with an elevation, at its final position.
double separation2D(const std::string& name, double easting, double northing) {
    if (projectVars.geoidModel == 0)
        return projectVars.geoidHt;
    if (!isSet(northing))
        return 0.0;
    const geodCoord at = geodOfGridPoint(northing, easting);
    double separation = 0.0;
    if (getGeoidHeight(at, separation) != 0)
        warnGeoidSeparation(name);
    return separation;
}

coordRec pointFromSums(const point2DSums& sums) {
    coordRec point;
    initCoordRec(point);
    setPointName(point.name, sums.name);
    point.resetFlag = 0;
    const auto& h = sums.horizontal;
    if (h.state == controlState::fixed) {
        point.easting = h.fixedValues[0];
        point.northing = h.fixedValues[1];
        point.stdErrE = h.fixedErrors[0];
        point.stdErrN = h.fixedErrors[1];
    } else if (h.count > 0) {
        if (h.spread())
            warnNETolerance(sums.name, h.ranges[0].high, h.ranges[1].high, h.ranges[0].low,
                            h.ranges[1].low);
        point.easting = h.mean(0);
        point.northing = h.mean(1);
        point.stdErrE = h.error(0);
        point.stdErrN = h.error(1);
    } else {
        point.easting = point.northing = point.stdErrE = point.stdErrN = notComputed;
    }

    const auto& v = sums.vertical;
    point.stdErrZ = 0.0;
    if (v.state == controlState::weighted && v.count > 0) {
        if (v.spread())
            warnZTolerance(sums.name, v.ranges[0].high, v.ranges[0].low);
        point.elevation = v.mean(0);
        point.stdErrZ = v.error(0);
    } else if (v.state == controlState::fixed) {
        point.elevation = v.fixedValues[0];
        point.stdErrZ = v.fixedErrors[0];
    } else {
        point.elevation = notComputed;
    }
    point.geoidSep =
        isSet(point.elevation) ? separation2D(sums.name, point.easting, point.northing) : 0.0;
    point.gridFactor = point.elevFactor = 1.0;
    point.vertType = isSet(point.elevation)
                         ? (point.stdErrZ <= 0.0 ? vtFixedElevation : vtWeightedElevation)
                         : vtFreeElevation;
    const double sE = point.stdErrE;
    const double sN = point.stdErrN;
    if (!isSet(point.easting) || !isSet(point.northing))
        point.pointType = ptUnknown;
    else if (sE > 0.0 && sN > 0.0)
        point.pointType = ptWeightedControl;
    else
        point.pointType = sE < -1.0 || sN < -1.0 || (sE == 0.0 && sN == 0.0) ? ptFixed : ptGiven;
    return point;
}

// A point read before from a supplemental control file takes what the raw
// records give it.
void updateSupplementalPoint(coordRec stored, const coordRec& point) {
    if (isSet(point.elevation)) {
        stored.elevation = point.elevation;
        stored.geoidSep = point.geoidSep;
        stored.vertType = vtWeightedElevation;
    }
    if (isSet(point.easting) && isSet(point.northing)) {
        stored.easting = point.easting;
        stored.northing = point.northing;
        stored.stdErrE = point.stdErrE;
        stored.stdErrN = point.stdErrN;
        const bool unweighted = point.stdErrE < 0.0 || point.stdErrN < 0.0;
        const bool fixed = point.stdErrE < -1.0 || point.stdErrN < -1.0;
        stored.pointType = unweighted ? (fixed ? ptFixed : ptGiven) : ptWeightedControl;
    }
    if (stored.pointType == ptGiven)
        givenPointList2D.append(stored);
    else
        controlPointList2D.replace(stored);
}

} // namespace

int addStationsFromRaw3D(std::string_view name, int startIndex) {
    station3DSums sums;
    sums.name = std::string(name);
    if (!scanPointRecords(name, startIndex, [&sums](const rawRec& r) { sums.take(r); }))
        return controlIndexPastEnd;
    if (sums.count > 0) {
        stationRec station = stationFromSums(sums);
        storeStation(station);
    }
    return controlAdded;
}

int addCoordRecsFromRaw2D(std::string_view name, int startIndex) {
    point2DSums sums;
    sums.name = std::string(name);
    bool met = false;
    if (!scanPointRecords(name, startIndex, [&](const rawRec& r) {
            met = true;
            sums.take(r);
        }))
        return controlIndexPastEnd;
    if (!met)
        return controlAdded;
    const coordRec point = pointFromSums(sums);
    coordRec stored;
    if (controlPointList2D.find(name, stored) >= 0)
        updateSupplementalPoint(stored, point);
    else if (point.pointType == ptGiven)
        givenPointList2D.append(point);
    else
        controlPointList2D.append(point);
    return controlAdded;
}

int isPointInInputLists3D(std::string_view name) {
    return controlStationList.indexOf(name) >= 0 || givenStationList.indexOf(name) >= 0 ? 1 : 0;
}

int isPointInInputLists2D(std::string_view name) {
    return controlPointList2D.indexOf(name) >= 0 || givenPointList2D.indexOf(name) >= 0 ? 1 : 0;
}
