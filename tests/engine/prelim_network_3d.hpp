#pragma once
// Synthetic 3D networks for the preliminary-coordinate tests: stations with
// a true latitude, longitude and height on GRS 80, and observations computed
// from them without noise by the test's own ellipsoid formulas (earth-centred
// coordinates, the local north-east-up frame of a station), independent of
// the code under test. The grid position of a station is its true position
// through the project's projection (the geodetic library's, tested on its
// own), so grid results can be compared with it.
//
// A slope distance S with zenith z (from the ellipsoid normal at the
// instrument) enters the distance list the way the builders leave a
// measured set: the horizontal distance S sin z as the mean distance and
// the vertical difference S cos z as the mean height difference.

#include "model/program_lists.hpp"
#include "model/project_geodesy.hpp"
#include "model/settings/global_vars.hpp"

#include <cmath>
#include <map>
#include <numbers>
#include <string>
#include <vector>

namespace testsupport {

class SyntheticNetwork3D {
public:
    static constexpr double a = 6378137.0;
    static constexpr double f = 1.0 / 298.257222101;
    static constexpr double eSq = f * (2.0 - f);

    struct Truth {
        double lat; // radians
        double lon; // radians, east-positive
        double h;
        double X, Y, Z;
        double northing, easting; // grid, metres
    };

    // Local north, east, up components of the line from one station to another.
    struct Local {
        double n, e, u;
        double slope() const { return std::sqrt(n * n + e * e + u * u); }
        double horizontal() const { return std::hypot(n, e); }
        double azimuth() const {
            const double t = std::atan2(e, n);
            return t < 0 ? t + 2.0 * std::numbers::pi : t;
        }
        double zenith() const { return std::acos(u / slope()); }
    };

    SyntheticNetwork3D() { resetProgramLists(); }
    ~SyntheticNetwork3D() { resetProgramLists(); }
    SyntheticNetwork3D(const SyntheticNetwork3D&) = delete;
    SyntheticNetwork3D& operator=(const SyntheticNetwork3D&) = delete;

    // Where a station truly is (degrees, metres above the ellipsoid).
    void at(const std::string& name, double latDeg, double lonDeg, double h) {
        Truth t{};
        t.lat = latDeg * std::numbers::pi / 180.0;
        t.lon = lonDeg * std::numbers::pi / 180.0;
        t.h = h;
        const double N = a / std::sqrt(1.0 - eSq * std::sin(t.lat) * std::sin(t.lat));
        t.X = (N + h) * std::cos(t.lat) * std::cos(t.lon);
        t.Y = (N + h) * std::cos(t.lat) * std::sin(t.lon);
        t.Z = (N * (1.0 - eSq) + h) * std::sin(t.lat);
        geodCoord g{};
        g.lat = t.lat;
        g.lon = westPositiveProjection() ? -t.lon : t.lon;
        g.scale = 1.0;
        projGeodToGridMeters(g);
        t.northing = g.northing;
        t.easting = g.easting;
        truth_[name] = t;
    }
    const Truth& truth(const std::string& name) const { return truth_.at(name); }

    // Fixed control: every coordinate value of its truth.
    void fixed(const std::string& name) {
        stationRec s = known(name);
        s.pointType = ptFixed;
        s.stdErrE = s.stdErrN = s.stdErrZ = -2.0;
        fixedStationList.append(s);
    }
    // An azimuth dummy among the fixed stations.
    void azimuthDummy(const std::string& name) {
        stationRec s = known(name);
        s.pointType = ptAzimuthDummy;
        fixedStationList.append(s);
    }
    // A station to compute.
    void unknown(const std::string& name) {
        stationRec s;
        initStationRec(s);
        setPointName(s.name, name);
        stationList.append(s);
    }
    void unknowns(std::initializer_list<const char*> names) {
        for (const char* name : names)
            unknown(name);
    }
    // A given (approximate) station: its truth in the given list, an unknown
    // record in the station list.
    void given(const std::string& name) {
        stationRec s = known(name);
        s.pointType = ptGiven;
        givenStationList.append(s);
        unknown(name);
    }

    Local local(const std::string& from, const std::string& to) const {
        const Truth& i = truth_.at(from);
        const Truth& j = truth_.at(to);
        const double dX = j.X - i.X, dY = j.Y - i.Y, dZ = j.Z - i.Z;
        const double sp = std::sin(i.lat), cp = std::cos(i.lat);
        const double sl = std::sin(i.lon), cl = std::cos(i.lon);
        return {-sp * cl * dX - sp * sl * dY + cp * dZ, -sl * dX + cl * dY,
                cp * cl * dX + cp * sl * dY + sp * dZ};
    }

    void vector(const std::string& from, const std::string& to) {
        gpsVectorRec v;
        setPointName(v.from, from);
        setPointName(v.to, to);
        v.dX = truth_.at(to).X - truth_.at(from).X;
        v.dY = truth_.at(to).Y - truth_.at(from).Y;
        v.dZ = truth_.at(to).Z - truth_.at(from).Z;
        gpsVectorList.append(v);
    }
    // Clockwise angle in the instrument's horizon from backsight to foresight.
    void angle(const std::string& backsight, const std::string& instrument,
               const std::string& foresight) {
        angleObs o;
        setPointName(o.backsight, backsight);
        setPointName(o.instrument, instrument);
        setPointName(o.foresight, foresight);
        double value =
            local(instrument, foresight).azimuth() - local(instrument, backsight).azimuth();
        o.angle = value < 0 ? value + 2.0 * std::numbers::pi : value;
        o.stdErr = 5.0;
        angleList.append(o);
    }
    // A measured line from the instrument: its distance record (stored from
    // -> to as given) and the zenith angle from the instrument.
    void sight(const std::string& instrument, const std::string& target,
               bool storedReversed = false) {
        const Local l = local(instrument, target);
        distanceObs d;
        setPointName(d.from, storedReversed ? target : instrument);
        setPointName(d.to, storedReversed ? instrument : target);
        d.meanDist = l.horizontal();
        d.meanHeightDiff = storedReversed ? -l.u : l.u;
        d.reducedDist = l.slope();
        d.stdErr = 0.005;
        distanceList.append(d);
        verticalObs z;
        setPointName(z.from, instrument);
        setPointName(z.to, target);
        z.zenith = l.zenith();
        z.stdErr = 5.0;
        verticalList.append(z);
    }
    // A grid azimuth from the true grid positions.
    void azimuth(const std::string& from, const std::string& to) {
        azimuthObs az;
        setPointName(az.from, from);
        setPointName(az.to, to);
        const Truth& i = truth_.at(from);
        const Truth& j = truth_.at(to);
        const double t = std::atan2(j.easting - i.easting, j.northing - i.northing);
        az.azimuth = t < 0 ? t + 2.0 * std::numbers::pi : t;
        az.stdErr = 5.0;
        azimuthList.append(az);
    }
    // A levelled height difference.
    void level(const std::string& from, const std::string& to) {
        levelObs l;
        setPointName(l.from, from);
        setPointName(l.to, to);
        l.ellipsoidalDiff = truth_.at(to).h - truth_.at(from).h;
        l.orthometricDiff = l.ellipsoidalDiff;
        l.stdErr = 0.002;
        levelList.append(l);
    }

    // The station as the run holds it now (station list, else fixed list).
    stationRec computed(const std::string& name) const {
        stationRec s;
        if (stationList.find(name, s) < 0)
            fixedStationList.find(name, s);
        return s;
    }
    double gridError(const std::string& name) const {
        const stationRec s = computed(name);
        const Truth& t = truth_.at(name);
        return std::hypot(s.northing - t.northing, s.easting - t.easting);
    }
    double heightError(const std::string& name) const {
        return std::fabs(computed(name).elevation - truth_.at(name).h);
    }
    double ecefError(const std::string& name) const {
        const stationRec s = computed(name);
        const Truth& t = truth_.at(name);
        return std::sqrt((s.ecefX - t.X) * (s.ecefX - t.X) + (s.ecefY - t.Y) * (s.ecefY - t.Y) +
                         (s.ecefZ - t.Z) * (s.ecefZ - t.Z));
    }

private:
    // The forward projections that take longitudes positive west
    // (model/user_projection.hpp for the user-defined ones).
    static bool westPositiveProjection() {
        const globalVars& s = projectVars;
        if (s.gridSystem == gridUserDefined)
            return s.udp.ProjInt == udpTransverseMercator ||
                   s.udp.ProjInt == udpLambertOneParallel ||
                   s.udp.ProjInt == udpLambertTwoParallels ||
                   s.udp.ProjInt == udpObliqueMercatorAzimuth;
        return s.gridSystem == gridStatePlane83;
    }

    stationRec known(const std::string& name) const {
        const Truth& t = truth_.at(name);
        stationRec s;
        initStationRec(s);
        setPointName(s.name, name);
        s.northing = t.northing;
        s.easting = t.easting;
        s.elevation = t.h;
        s.geoidSep = 0.0;
        s.latitude = t.lat;
        s.longitude = t.lon;
        s.ecefX = t.X;
        s.ecefY = t.Y;
        s.ecefZ = t.Z;
        return s;
    }

    std::map<std::string, Truth> truth_;
};

} // namespace testsupport
