// The error-report sections of blunder detection's preprocessing run: the
// horizontal observations against their preliminary coordinates and the
// points lying close to each other.

#include "reports/blunder_listing.hpp"

#include "model/angle_text.hpp"
#include "model/program_lists.hpp"
#include "model/settings/global_vars.hpp"
#include "platform/c_locale_text.hpp"
#include "platform/length_units.hpp"
#include "support/raw_list_builder.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>

namespace {

using namespace testsupport;

constexpr double pi = std::numbers::pi;
constexpr double second = pi / 648000.0;

coordRec point(const char* name, double northing, double easting, int type = ptUnknown) {
    coordRec p;
    initCoordRec(p);
    setPointName(p.name, name);
    p.northing = northing;
    p.easting = easting;
    p.pointType = type;
    return p;
}

class BlunderListing : public RawListTest {
protected:
    void SetUp() override {
        RawListTest::SetUp();
        projectVars.distPrec = 3;
        projectVars.angleType = 0;
        projectVars.directionType = 1;
        projectVars.directionPrec = 1;
        projectVars.hDistTol = 0.01;
    }
    std::string errorReport() { return readBytes(folder / "t.ERR"); }
    void angle(const char* bs, const char* ip, const char* fs, double value) {
        angleObs2D a;
        setPointName(a.backsight, bs);
        setPointName(a.instrument, ip);
        setPointName(a.foresight, fs);
        a.angle = value;
        a.stdErr = 5.0;
        angleList2D.append(a);
    }
    void distance(const char* from, const char* to, double value) {
        distanceObs2D d;
        setPointName(d.from, from);
        setPointName(d.to, to);
        d.distance = value;
        d.stdErrDist = 0.005;
        distanceList2D.append(d);
    }
};

TEST_F(BlunderListing, ProximityListsPairsCloserThanTheDistanceOnly) {
    // A-B 0.05 apart, A-C exactly 0.1, B-C 0.112; F (fixed) 0.03 from C.
    pointList2D.append(point("A", 0.0, 0.0));
    pointList2D.append(point("B", 0.0, 0.05));
    pointList2D.append(point("C", 0.1, 0.0));
    fixedPointList2D.append(point("F", 0.13, 0.0, ptFixed));
    fixedPointList2D.append(point("G", 0.13, 0.01, ptFixed)); // fixed pairs are not compared
    ASSERT_EQ(writePointProximity2D(errFile, 0.1), 0);
    EXPECT_EQ(errorReport(), "\r\nPoint Proximity Report:\r\n\r\n"
                             "  Points  A  and B are within     0.050 of each other.\r\n"
                             "  Points  C  and F are within     0.030 of each other.\r\n"
                             "  Points  C  and G are within     0.032 of each other.\r\n");
}

TEST_F(BlunderListing, ThreeDimensionalProximityIsInTheProjectsUnit) {
    projectVars.HorizUnits = units::internationalFeet;
    // 0.03 m apart: 0.098 ft, within 0.1 ft.
    for (const auto& [name, northing] : {std::pair{"P", 0.0}, std::pair{"Q", 0.03}}) {
        stationRec s;
        initStationRec(s);
        setPointName(s.name, name);
        s.northing = northing;
        s.easting = 0.0;
        stationList.append(s);
    }
    ASSERT_EQ(writePointProximity3D(errFile, 0.1), 0);
    EXPECT_NE(errorReport().find("  Points  P  and Q are within     0.098 of each other.\r\n"),
              std::string::npos)
        << errorReport();
}

TEST_F(BlunderListing, ObservationsBeyondTheirToleranceAreListed) {
    // A (fixed) at the origin, B 100 north, C 100 east, D 100 north and 10"
    // east of north.
    fixedPointList2D.append(point("A", 0.0, 0.0, ptFixed));
    pointList2D.append(point("B", 100.0, 0.0));
    pointList2D.append(point("C", 0.0, 100.0));
    pointList2D.append(point("D", 100.0, 100.0 * std::tan(10 * second)));
    angle("B", "A", "C", pi / 2 + 15 * second);     // 15" off: kept
    angle("C", "A", "B", 3 * pi / 2 + 25 * second); // 25" off: listed
    angle("B", "A", "D", 2 * pi - 5 * second);      // 15" off across north: kept
    distance("A", "B", 100.02);                     // 0.02 off: listed
    distance("A", "C", 100.005);                    // within 0.01: kept
    azimuthObs z;
    setPointName(z.from, "A");
    setPointName(z.to, "C");
    z.azimuth = pi / 2 + 30 * second;
    z.stdErr = 5.0;
    azimuthList2D.append(z);
    ASSERT_EQ(writeMeasuredVsComputed2D(errFile), 0);
    const std::string expected =
        "Distance: From pt.: A  To pt.: B\r\n"
        "   Measured distance:   100.020  Initial computed distance:   100.000\r\n"
        "   Difference:     0.020\r\n"
        "\r\n"
        "Angle: IP: A  BS: C  FS: B\r\n"
        "   Measured angle:         " +
        angleToText(3 * pi / 2 + 25 * second) +
        "\r\n"
        "   Initial computed angle: " +
        angleToText(3 * pi / 2) +
        "\r\n"
        "   Difference: " +
        angleToText(25 * second) +
        "\r\n"
        "\r\n"
        "Azimuth: From pt.: A  To pt.: C\r\n"
        "   Measured azimuth:       " +
        directionToText(pi / 2 + 30 * second) +
        "\r\n"
        "   Initial computed azimuth: " +
        directionToText(pi / 2) + "\r\n";
    EXPECT_EQ(errorReport(), expected);
}

TEST_F(BlunderListing, ObservationsOfStatusTwoAreNotCompared) {
    fixedPointList2D.append(point("A", 0.0, 0.0, ptFixed));
    pointList2D.append(point("B", 100.0, 0.0));
    distanceObs2D d;
    setPointName(d.from, "A");
    setPointName(d.to, "B");
    d.distance = 150.0;
    d.stdErrDist = 0.005;
    d.status = 2;
    distanceList2D.append(d);
    ASSERT_EQ(writeMeasuredVsComputed2D(errFile), 0);
    EXPECT_EQ(errorReport(), "");
}

// A small 3D network on Clarke 1866 (UTM zone 13): the computed values are
// worked out here from the earth-centred positions and the local north/east/
// up frame of the instrument.
class BlunderListing3D : public BlunderListing {
protected:
    static constexpr double a = 6378206.4;
    static constexpr double f = 1.0 / 294.978698214;

    void SetUp() override {
        BlunderListing::SetUp();
        projectVars.geodeticModel = 1;
        projectVars.gridSystem = gridUtm;
        projectVars.gridZone = 13;
        projectVars.ellipsoid = 4;
        projectVars.HorizUnits = units::metres;
        projectVars.hAngTol = 30 * second;
        projectVars.vAngTol = 30 * second;
    }
    static stationRec station(const char* name, double lat, double lon, double h, int type) {
        stationRec s;
        initStationRec(s);
        setPointName(s.name, name);
        s.latitude = lat;
        s.longitude = lon;
        s.elevation = h;
        s.northing = 0.0;
        s.easting = 0.0;
        const double ee = f * (2 - f);
        const double n = a / std::sqrt(1 - ee * std::sin(lat) * std::sin(lat));
        s.ecefX = (n + h) * std::cos(lat) * std::cos(lon);
        s.ecefY = (n + h) * std::cos(lat) * std::sin(lon);
        s.ecefZ = (n * (1 - ee) + h) * std::sin(lat);
        s.pointType = type;
        return s;
    }
    static std::array<double, 3> delta(const stationRec& i, const stationRec& j) {
        return {j.ecefX - i.ecefX, j.ecefY - i.ecefY, j.ecefZ - i.ecefZ};
    }
    static double chord(const stationRec& i, const stationRec& j) {
        const auto d = delta(i, j);
        return std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
    }
    // (north, east, up) of j in the frame of i.
    static std::array<double, 3> local(const stationRec& i, const stationRec& j) {
        const auto d = delta(i, j);
        const double sp = std::sin(i.latitude), cp = std::cos(i.latitude);
        const double sl = std::sin(i.longitude), cl = std::cos(i.longitude);
        return {-sp * cl * d[0] - sp * sl * d[1] + cp * d[2], -sl * d[0] + cl * d[1],
                cp * cl * d[0] + cp * sl * d[1] + sp * d[2]};
    }
    static double azimuth(const stationRec& i, const stationRec& j) {
        const auto v = local(i, j);
        const double az = std::atan2(v[1], v[0]);
        return az < 0 ? az + 2 * pi : az;
    }
    static double zenith(const stationRec& i, const stationRec& j) {
        return std::acos(local(i, j)[2] / chord(i, j));
    }
    static std::string length(double value) { return platform::formatC("%9.*f", 3, value); }
    std::string listed() {
        EXPECT_EQ(writeMeasuredVsComputed3D(errFile), 0);
        return errorReport();
    }
};

TEST_F(BlunderListing3D, PlantedBlundersAreListedAndGoodObservationsAreNot) {
    const double lat = 40 * pi / 180, lon = -105 * pi / 180;
    const stationRec A = station("A", lat, lon, 1600.0, ptFixed);
    const stationRec B = station("B", lat + 2e-5, lon, 1605.0, ptUnknown);
    const stationRec C = station("C", lat, lon + 2e-5, 1598.0, ptUnknown);
    fixedStationList.append(A);
    stationList.append(B);
    stationList.append(C);
    const auto addDistance = [](const char* from, const char* to, double value) {
        distanceObs d;
        setPointName(d.from, from);
        setPointName(d.to, to);
        d.reducedDist = value;
        d.stdErr = 0.005;
        distanceList.append(d);
    };
    const auto addZenith = [](const char* from, const char* to, double value) {
        verticalObs v;
        setPointName(v.from, from);
        setPointName(v.to, to);
        v.zenith = value;
        v.stdErr = 5.0;
        verticalList.append(v);
    };
    addDistance("A", "B", chord(A, B) + 0.5);   // planted
    addDistance("A", "C", chord(A, C) + 0.002); // within 0.01
    double computedAngle = azimuth(A, C) - azimuth(A, B);
    if (computedAngle < 0)
        computedAngle += 2 * pi;
    angleObs angle;
    setPointName(angle.backsight, "B");
    setPointName(angle.instrument, "A");
    setPointName(angle.foresight, "C");
    angle.angle = computedAngle + 60 * second; // planted
    angle.stdErr = 5.0;
    angleList.append(angle);
    addZenith("A", "B", zenith(A, B) + 2 * second);   // within 30"
    addZenith("A", "C", zenith(A, C) - 100 * second); // planted
    gpsVectorRec v;
    setPointName(v.from, "B");
    setPointName(v.to, "C");
    const auto d = delta(B, C);
    v.dX = d[0];
    v.dY = d[1];
    v.dZ = d[2] + 0.3; // planted
    v.varX = v.varY = v.varZ = 1e-4;
    v.covXY = v.covXZ = v.covYZ = 0.0;
    gpsVectorList.append(v);

    const std::string report = listed();
    const std::string expected =
        "Distance: From pt.: A  To pt.: B\r\n"
        "   Measured distance: " +
        length(chord(A, B) + 0.5) + "  Initial computed distance: " + length(chord(A, B)) +
        "\r\n"
        "   Difference:     0.500\r\n"
        "\r\n"
        "Angle: IP: A  BS: B  FS: C\r\n"
        "   Measured angle:         " +
        angleToText(computedAngle + 60 * second) +
        "\r\n"
        "   Initial computed angle: " +
        angleToText(computedAngle) +
        "\r\n"
        "   Difference: " +
        angleToText(60 * second) +
        "\r\n"
        "\r\n"
        "Vertical Angle: From pt.: A  To pt.: C\r\n"
        "   Measured vertical angle:         " +
        angleToText(zenith(A, C) - 100 * second) +
        "\r\n"
        "   Initial computed vertical angle: " +
        angleToText(zenith(A, C)) +
        "\r\n"
        "   Difference: " +
        angleToText(-100 * second) +
        "\r\n"
        "\r\n"
        "GPS Vector (meters): From pt.: B  To pt.: C\r\n"
        "   Measured Deltas XYZ:       " +
        length(d[0]) + "  " + length(d[1]) + "  " + length(d[2] + 0.3) +
        "\r\n"
        "   Computed Deltas XYZ:       " +
        length(d[0]) + "  " + length(d[1]) + "  " + length(d[2]) +
        "\r\n"
        "   Difference XYZ:            " +
        length(0.0) + "  " + length(0.0) + "  " + length(0.3) + "\r\n";
    EXPECT_EQ(report, expected);
}

TEST_F(BlunderListing3D, AGridWithoutGeodeticPositionsIsSaid) {
    projectVars.gridSystem = gridStatePlane27;
    EXPECT_NE(listed().find("The 3D model needs a coordinate system with geodetic positions"),
              std::string::npos);
}

} // namespace
