// The error-report sections of blunder detection's preprocessing run: the
// horizontal observations against their preliminary coordinates and the
// points lying close to each other.

#include "reports/blunder_listing.hpp"

#include "model/angle_text.hpp"
#include "model/program_lists.hpp"
#include "model/settings/global_vars.hpp"
#include "platform/length_units.hpp"
#include "support/raw_list_builder.hpp"

#include <gtest/gtest.h>

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

} // namespace
