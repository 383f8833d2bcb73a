// Sideshots of the 3D chain: the radial placement with its combined factor,
// height difference and standard errors, the placement from a GPS vector,
// the resection before the crossing of two directions, chains of sideshots
// and sideshots no rule places.

#include "engine/line_combined_factor.hpp"
#include "engine/sideshots_3d.hpp"
#include "model/list_snapshot.hpp"
#include "model/program_lists.hpp"
#include "model/project_geodesy.hpp"
#include "model/settings/global_vars.hpp"
#include "platform/shell_services.hpp"
#include "support/project_vars_guard.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

constexpr double pi = 3.14159265358979323846;

class Sideshots3DTest : public ::testing::Test {
protected:
    void SetUp() override {
        projectVars.gridSystem = gridStatePlane83;
        projectVars.gridZone = 502;
        resetProgramLists();
    }

    // A station with a grid position and height, its geodetic and
    // earth-centred values completed from them.
    static stationRec placed(const std::string& name, double n, double e, double h, int type) {
        stationRec s;
        initStationRec(s);
        setPointName(s.name, name);
        s.northing = n;
        s.easting = e;
        s.elevation = h;
        s.pointType = type;
        geodCoord at{};
        at.northing = n;
        at.easting = e;
        projGridMetersToGeod(at);
        s.latitude = at.lat;
        s.longitude = -at.lon; // the State Plane 1983 inverse gives it positive west
        projGeodToEcef(s);
        return s;
    }
    static stationRec sideshot(const std::string& name) {
        stationRec s;
        initStationRec(s);
        setPointName(s.name, name);
        s.pointType = ptSideshot;
        s.elevation = 1.0; // kept through the reset, replaced by the placement
        return s;
    }
    static void addDistance(const std::string& from, const std::string& to, double d, double dh,
                            double sigma) {
        distanceObs r;
        setPointName(r.from, from);
        setPointName(r.to, to);
        r.meanDist = d;
        r.reducedDist = d;
        r.meanHeightDiff = dh;
        r.stdErr = sigma;
        r.status = obsNotAdjusted;
        distanceList.append(r);
    }
    static void addAzimuth(const std::string& from, const std::string& to, double t, double sigma) {
        azimuthObs z;
        setPointName(z.from, from);
        setPointName(z.to, to);
        z.azimuth = t;
        z.stdErr = sigma;
        azimuthList.append(z);
    }
    static void addAngle(const std::string& backsight, const std::string& instrument,
                         const std::string& foresight, double angle) {
        angleObs a;
        setPointName(a.backsight, backsight);
        setPointName(a.instrument, instrument);
        setPointName(a.foresight, foresight);
        a.angle = angle;
        a.stdErr = 5.0;
        a.status = obsNotAdjusted;
        angleList.append(a);
    }
    static stationRec station(const std::string& name) {
        stationRec s;
        stationList.find(name, s);
        return s;
    }

    testsupport::ProjectVarsGuard guard;
    RecordingShell shell;
    RunContext context{shell};
};

struct RadialCase {
    const char* label;
    bool recordFromSideshot; // the distance record runs P -> K
};

class RadialSideshot : public Sideshots3DTest, public ::testing::WithParamInterface<RadialCase> {};

// K at a known position with standard errors 0.01 / 0.02; the distance 250 m
// (sigma 5 mm), height difference K -> P +3.2 m, azimuth 60 degrees (sigma 10").
TEST_P(RadialSideshot, PlacesAlongTheDirectionByTheCombinedFactor) {
    stationRec k = placed("K", 400000.0, 950000.0, 1650.0, ptFixed);
    k.stdErrN = 0.01;
    k.stdErrE = 0.02;
    fixedStationList.append(k);
    stationList.append(sideshot("P"));
    const double t = pi / 3.0, d = 250.0, dh = 3.2, sd = 0.005, st = 10.0;
    if (GetParam().recordFromSideshot)
        addDistance("P", "K", d, -dh, sd);
    else
        addDistance("K", "P", d, dh, sd);
    addAzimuth("K", "P", t, st);

    const Sideshots3D result = computeSideshots3D(context);
    EXPECT_EQ(result.count, 1);
    ASSERT_EQ(result.placements.size(), 1u);

    stationRec provisional = k;
    provisional.northing = k.northing + d * std::cos(t);
    provisional.easting = k.easting + d * std::sin(t);
    const double cd = lineCombinedFactor(k, provisional) * d;
    const stationRec p = station("P");
    EXPECT_NEAR(p.northing, k.northing + cd * std::cos(t), 1e-9);
    EXPECT_NEAR(p.easting, k.easting + cd * std::sin(t), 1e-9);
    EXPECT_NEAR(p.elevation, k.elevation + dh, 1e-12);
    const double stRad = st / (648000.0 / pi);
    EXPECT_NEAR(p.stdErrE,
                std::sqrt(0.02 * 0.02 + std::pow(std::sin(t) * sd, 2) +
                          std::pow(cd * std::cos(t) * stRad, 2)),
                1e-12);
    EXPECT_NEAR(p.stdErrN,
                std::sqrt(0.01 * 0.01 + std::pow(std::cos(t) * sd, 2) +
                          std::pow(cd * std::sin(t) * stRad, 2)),
                1e-12);
    // Complete, with the longitude east-positive as every station holds it
    // (zone 502 lies west of Greenwich).
    const stationRec truth = placed("P", p.northing, p.easting, p.elevation, ptSideshot);
    EXPECT_NEAR(p.latitude, truth.latitude, 1e-12);
    EXPECT_NEAR(p.longitude, truth.longitude, 1e-12);
    EXPECT_NEAR(p.ecefX, truth.ecefX, 1e-6);
    EXPECT_NEAR(p.ecefY, truth.ecefY, 1e-6);
    EXPECT_LT(p.longitude, 0.0);
    const SideshotPlacement3D& placement = result.placements[0];
    EXPECT_EQ(placement.rule, SideshotPlacement3D::Rule::radial);
    EXPECT_EQ(placement.known[0], "K");
    EXPECT_NEAR(placement.distance, cd, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(Directions, RadialSideshot,
                         ::testing::Values(RadialCase{"knownToSideshot", false},
                                           RadialCase{"sideshotToKnown", true}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(Sideshots3DTest, GpsVectorPlacesTheStationInEarthCentredCoordinates) {
    const stationRec k = placed("K", 400000.0, 950000.0, 1650.0, ptFixed);
    fixedStationList.append(k);
    stationList.append(sideshot("G"));
    gpsVectorRec v;
    setPointName(v.from, "G");
    setPointName(v.to, "K");
    v.dX = 120.5;
    v.dY = -80.25;
    v.dZ = 60.125;
    v.status = obsNotAdjusted;
    gpsVectorList.append(v);

    const Sideshots3D result = computeSideshots3D(context);
    ASSERT_EQ(result.placements.size(), 1u);
    EXPECT_EQ(result.placements[0].rule, SideshotPlacement3D::Rule::gpsVector);
    const stationRec g = station("G");
    // G is the from-station: K minus the vector.
    EXPECT_NEAR(g.ecefX, k.ecefX - 120.5, 1e-9);
    EXPECT_NEAR(g.ecefY, k.ecefY + 80.25, 1e-9);
    EXPECT_NEAR(g.ecefZ, k.ecefZ - 60.125, 1e-9);
    // Back to the grid through its geodetic position: the grid round trip
    // of that position.
    stationRec check = g;
    projEcefToGeod(check);
    geodCoord at = gridCallPosition(check);
    projGeodToGridMeters(at);
    EXPECT_NEAR(g.northing, at.northing, 1e-6);
    EXPECT_NEAR(g.easting, at.easting, 1e-6);
    EXPECT_NEAR(g.elevation, check.elevation, 1e-9);
}

// S2 hangs off S1, which hangs off K: the walk that places S1 may come after
// S2's turn, and a later walk places S2. Z has no rule and stays unset.
TEST_F(Sideshots3DTest, ChainsArePlacedInLaterWalksAndTheUnplaceableStayUnset) {
    fixedStationList.append(placed("K", 400000.0, 950000.0, 1650.0, ptFixed));
    stationList.append(sideshot("S2"));
    stationList.append(sideshot("S1"));
    stationList.append(sideshot("Z"));
    addDistance("S1", "S2", 100.0, 0.0, 0.005);
    addAzimuth("S1", "S2", pi / 2, 5.0);
    addDistance("K", "S1", 200.0, 1.0, 0.005);
    addAzimuth("K", "S1", 0.0, 5.0);

    const Sideshots3D result = computeSideshots3D(context);
    EXPECT_EQ(result.count, 3);
    ASSERT_EQ(result.placements.size(), 2u);
    EXPECT_STREQ(result.placements[0].station.name, "S1");
    EXPECT_STREQ(result.placements[1].station.name, "S2");
    EXPECT_FALSE(isSet(station("Z").easting));
    EXPECT_NEAR(station("S2").elevation, 1651.0, 1e-9);
}

// The grid direction from (n0, e0) to (n1, e1), clockwise from north.
double directionBetween(double n0, double e0, double n1, double e1) {
    const double t = std::atan2(e1 - e0, n1 - n0);
    return t < 0 ? t + 2 * pi : t;
}

double clockwiseAngle(double from, double to) {
    const double a = to - from;
    return a < 0 ? a + 2 * pi : a;
}

struct ResectionCase {
    const char* label;
    bool sharedBacksight; // the second angle turns from B1, else from F1
};

class ResectionSideshot : public Sideshots3DTest,
                          public ::testing::WithParamInterface<ResectionCase> {};

// P's truth at (N 400000, E 950000); B1 and F1 in the adjusted list, F2 in
// the fixed list, all sighted from P. Two known stations also have a wrong
// azimuth to P: the resection comes first and places P at its truth.
TEST_P(ResectionSideshot, PlacesTheStationAtItsTruthBeforeTheTwoDirections) {
    const double n = 400000.0, e = 950000.0;
    stationList.append(placed("B1", n + 300.0, e + 40.0, 1600.0, ptUnknown));
    stationList.append(placed("F1", n - 120.0, e + 250.0, 1610.0, ptUnknown));
    fixedStationList.append(placed("F2", n - 200.0, e - 180.0, 1620.0, ptFixed));
    stationList.append(sideshot("P"));
    const double tB1 = directionBetween(n, e, n + 300.0, e + 40.0);
    const double tF1 = directionBetween(n, e, n - 120.0, e + 250.0);
    const double tF2 = directionBetween(n, e, n - 200.0, e - 180.0);
    const double a1 = clockwiseAngle(tB1, tF1);
    addAngle("B1", "P", "F1", a1);
    if (GetParam().sharedBacksight)
        addAngle("B1", "P", "F2", clockwiseAngle(tB1, tF2));
    else
        addAngle("F1", "P", "F2", clockwiseAngle(tF1, tF2));
    addAzimuth("B1", "P", 0.3, 5.0);
    addAzimuth("F1", "P", 2.0, 5.0);

    const Sideshots3D result = computeSideshots3D(context);
    ASSERT_EQ(result.placements.size(), 1u);
    const stationRec p = station("P");
    EXPECT_NEAR(p.northing, n, 1e-6);
    EXPECT_NEAR(p.easting, e, 1e-6);
    EXPECT_NEAR(p.elevation, 1.0, 1e-12); // kept
    const stationRec truth = placed("P", n, e, 1.0, ptSideshot);
    EXPECT_NEAR(p.latitude, truth.latitude, 1e-12);
    EXPECT_NEAR(p.ecefX, truth.ecefX, 1e-6);
    EXPECT_NEAR(p.ecefZ, truth.ecefZ, 1e-6);
    const SideshotPlacement3D& placement = result.placements[0];
    EXPECT_EQ(placement.rule, SideshotPlacement3D::Rule::twoAngles);
    EXPECT_EQ(placement.known[0], "B1");
    EXPECT_EQ(placement.known[1], "F1");
    EXPECT_EQ(placement.known[2], "F2");
    EXPECT_NEAR(placement.angles_rad[0], a1, 1e-12);
    EXPECT_NEAR(placement.angles_rad[1], clockwiseAngle(tF1, tF2), 1e-12);
}

INSTANTIATE_TEST_SUITE_P(SecondAngles, ResectionSideshot,
                         ::testing::Values(ResectionCase{"fromFirstForesight", false},
                                           ResectionCase{"fromFirstBacksight", true}),
                         [](const auto& info) { return std::string(info.param.label); });

// Two known stations (without errors of their own), one adjusted and one
// fixed, with azimuths to P (10" and 20") crossing at right angles: P lands
// at the crossing, its truth. Each direction moves P sideways by its length
// (500 sqrt 2) times its error, half of it in each of N and E, so each
// standard error is 500 hypot(10", 20").
TEST_F(Sideshots3DTest, TwoDirectionsPlaceTheStationAtTheirCrossing) {
    const double n = 400000.0, e = 950000.0;
    stationRec k1 = placed("K1", n - 500.0, e - 500.0, 1600.0, ptUnknown);
    stationRec k2 = placed("K2", n - 500.0, e + 500.0, 1600.0, ptFixed);
    k1.stdErrN = k1.stdErrE = k2.stdErrN = k2.stdErrE = 0.0;
    stationList.append(k1);
    fixedStationList.append(k2);
    stationList.append(sideshot("P"));
    addAzimuth("K1", "P", pi / 4, 10.0);
    addAzimuth("K2", "P", 7 * pi / 4, 20.0);

    const Sideshots3D result = computeSideshots3D(context);
    ASSERT_EQ(result.placements.size(), 1u);
    const stationRec p = station("P");
    EXPECT_NEAR(p.northing, n, 1e-6);
    EXPECT_NEAR(p.easting, e, 1e-6);
    const double spread = 500.0 * std::hypot(10.0, 20.0) / (648000.0 / pi);
    EXPECT_NEAR(p.stdErrN, spread, 1e-6);
    EXPECT_NEAR(p.stdErrE, spread, 1e-6);
    EXPECT_TRUE(isSet(p.latitude) && isSet(p.ecefX));
    const SideshotPlacement3D& placement = result.placements[0];
    EXPECT_EQ(placement.rule, SideshotPlacement3D::Rule::twoDirections);
    EXPECT_EQ(placement.known[0], "K1");
    EXPECT_EQ(placement.known[1], "K2");
    EXPECT_NEAR(placement.angles_rad[1], 7 * pi / 4, 1e-12);
}

} // namespace
