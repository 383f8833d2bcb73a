// Sideshots of the 3D chain: the radial placement with its combined factor,
// height difference and standard errors, the placement from a GPS vector,
// chains of sideshots and sideshots no rule places.

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
        s.longitude = at.lon;
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
    // Complete: its earth-centred position lies c d from K's horizontally.
    EXPECT_TRUE(isSet(p.latitude) && isSet(p.ecefX));
    const SideshotPlacement3D& placement = result.placements[0];
    EXPECT_EQ(placement.rule, SideshotPlacement3D::Rule::radial);
    EXPECT_EQ(placement.known, "K");
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

} // namespace
