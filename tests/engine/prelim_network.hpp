#pragma once
// Synthetic 2D networks for the preliminary-coordinate tests: points with
// true coordinates, and observations computed from them without noise by
// the plain formulas (atan2, hypot), independent of the code under test.
// Each point enters the lists the way the station-list building leaves them:
// fixed control in `fixedPointList2D`, weighted control and unknowns in
// `pointList2D`, given points in `givenPointList2D` with an unknown record
// of the same name in `pointList2D`.

#include "model/program_lists.hpp"
#include "support/angles.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

namespace testsupport {

// Snapshot of a list, for comparing lists before and after a pass.
template <template <class> class List, class Record>
std::vector<Record> recordsOf(const List<Record>& list) {
    std::vector<Record> records;
    Record r;
    for (int i = 0; list.getAt(i, r) == 0; ++i)
        records.push_back(r);
    return records;
}

// A point record as the station-list building makes it, with a position
// and elevation when given.
inline coordRec pointRecord(const char* name, int type, double northing = notComputed,
                            double easting = notComputed, double elevation = notComputed) {
    coordRec p;
    initCoordRec(p);
    setPointName(p.name, name);
    p.pointType = type;
    p.northing = northing;
    p.easting = easting;
    p.elevation = elevation;
    return p;
}

class SyntheticNetwork {
public:
    struct Truth {
        double northing;
        double easting;
        double elevation;
    };

    SyntheticNetwork() { resetProgramLists(); }
    ~SyntheticNetwork() { resetProgramLists(); }
    SyntheticNetwork(const SyntheticNetwork&) = delete;
    SyntheticNetwork& operator=(const SyntheticNetwork&) = delete;

    // Where a point truly is; the elevation may be left unset.
    void at(const std::string& name, double northing, double easting,
            double elevation = notComputed) {
        truth_[name] = {northing, easting, elevation};
    }

    // Fixed control with its true position and elevation.
    void fixed(const std::string& name, int vertType = vtFixedElevation) {
        coordRec p = known(name, ptFixed);
        p.vertType = vertType;
        fixedPointList2D.append(p);
    }
    // Weighted control of the point list.
    void weighted(const std::string& name) { pointList2D.append(known(name, ptWeightedControl)); }
    // A point to compute; `withElevation` keeps its true elevation.
    void unknown(const std::string& name, bool withElevation = false, int type = ptUnknown) {
        coordRec p = record(name, type);
        if (withElevation)
            p.elevation = truth_.at(name).elevation;
        pointList2D.append(p);
        unknowns_.push_back(name);
    }
    void fixedPoints(std::initializer_list<const char*> names) {
        for (const char* name : names)
            fixed(name);
    }
    void unknowns(std::initializer_list<const char*> names) {
        for (const char* name : names)
            unknown(name);
    }
    // A given (approximate) point: its position in the given list, an
    // unknown record in the point list.
    void given(const std::string& name) {
        givenPointList2D.append(known(name, ptGiven));
        pointList2D.append(record(name, ptUnknown));
    }

    double direction(const std::string& from, const std::string& to) const {
        const Truth& a = truth_.at(from);
        const Truth& b = truth_.at(to);
        double t = std::atan2(b.easting - a.easting, b.northing - a.northing);
        return t < 0 ? t + 2 * pi : t;
    }
    double distance(const std::string& from, const std::string& to) const {
        const Truth& a = truth_.at(from);
        const Truth& b = truth_.at(to);
        return std::hypot(b.easting - a.easting, b.northing - a.northing);
    }

    // Observations made from now on are rounded as a field book writes
    // them: angles to `angleStep_sec`, distances to `distanceStep_m`.
    void roundTo(double angleStep_sec, double distanceStep_m) {
        angleStep_rad_ = angleStep_sec / 3600.0 * pi / 180.0;
        distanceStep_m_ = distanceStep_m;
    }

    // Clockwise angle at the instrument from backsight to foresight.
    void angle(const std::string& backsight, const std::string& instrument,
               const std::string& foresight) {
        angleObs2D a;
        setPointName(a.backsight, backsight);
        setPointName(a.instrument, instrument);
        setPointName(a.foresight, foresight);
        double value = direction(instrument, foresight) - direction(instrument, backsight);
        a.angle = rounded(value < 0 ? value + 2 * pi : value, angleStep_rad_);
        a.stdErr = 5.0;
        angleList2D.append(a);
    }
    // Angles given as {backsight, instrument, foresight}.
    void angles(std::initializer_list<std::array<const char*, 3>> triples) {
        for (const auto& t : triples)
            angle(t[0], t[1], t[2]);
    }
    // Distances given as {from, to}.
    void distances(std::initializer_list<std::array<const char*, 2>> pairs) {
        for (const auto& d : pairs)
            distance2D(d[0], d[1]);
    }

    // Horizontal distance from -> to with the true height difference when
    // both elevations are known.
    void distance2D(const std::string& from, const std::string& to) {
        distanceObs2D d;
        setPointName(d.from, from);
        setPointName(d.to, to);
        d.distance = rounded(distance(from, to), distanceStep_m_);
        const double zFrom = truth_.at(from).elevation;
        const double zTo = truth_.at(to).elevation;
        if (isSet(zFrom) && isSet(zTo)) {
            d.vertDiff = zTo - zFrom;
            d.vertType = 0;
        }
        distanceList2D.append(d);
    }
    void azimuth(const std::string& from, const std::string& to) {
        azimuthObs az;
        setPointName(az.from, from);
        setPointName(az.to, to);
        az.azimuth = direction(from, to);
        az.stdErr = 5.0;
        azimuthList2D.append(az);
    }

    // Every point made unknown is in `pointList2D` at its true position.
    void expectAllPlaced(double tolerance = 1e-9) const {
        for (const std::string& name : unknowns_)
            expectAtTruth(name, tolerance);
    }
    void expectAtTruth(const std::string& name, double tolerance = 1e-9) const {
        SCOPED_TRACE(name);
        coordRec p;
        ASSERT_GE(pointList2D.find(name, p), 0);
        EXPECT_NEAR(p.northing, truth_.at(name).northing, tolerance);
        EXPECT_NEAR(p.easting, truth_.at(name).easting, tolerance);
    }
    void expectElevation(const std::string& name, double tolerance = 1e-9) const {
        SCOPED_TRACE(name);
        coordRec p;
        ASSERT_GE(pointList2D.find(name, p), 0);
        EXPECT_NEAR(p.elevation, truth_.at(name).elevation, tolerance);
    }

    const Truth& truth(const std::string& name) const { return truth_.at(name); }

private:
    static double rounded(double value, double step) {
        return step > 0 ? std::round(value / step) * step : value;
    }
    static coordRec record(const std::string& name, int type) {
        return pointRecord(name.c_str(), type);
    }
    coordRec known(const std::string& name, int type) const {
        const Truth& t = truth_.at(name);
        return pointRecord(name.c_str(), type, t.northing, t.easting, t.elevation);
    }

    std::map<std::string, Truth> truth_;
    std::vector<std::string> unknowns_;
    double angleStep_rad_ = 0.0;
    double distanceStep_m_ = 0.0;
};

} // namespace testsupport
