// Point lists of a run, the dummy ends of lone azimuths and the counts.

#include "model/station_lists.hpp"

#include "engine/spatial_network.hpp"
#include "model/program_lists.hpp"
#include "model/project_geodesy.hpp"
#include "model/settings/global_vars.hpp"
#include "support/project_vars_guard.hpp"
#include "support/raw_list_builder.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

using namespace testsupport;

stationRec station(const char* name, double e, double n, double sE, int type = ptWeightedControl) {
    stationRec r;
    initStationRec(r);
    setPointName(r.name, name);
    r.easting = e;
    r.northing = n;
    r.elevation = 10.0;
    r.stdErrE = r.stdErrN = r.stdErrZ = sE;
    r.pointType = type;
    return r;
}

azimuthObs azimuth(const char* from, const char* to, double az) {
    azimuthObs a;
    setPointName(a.from, from);
    setPointName(a.to, to);
    a.azimuth = az;
    a.stdErr = 5.0;
    return a;
}

angleObs angle(const char* bs, const char* at, const char* fs) {
    angleObs a;
    setPointName(a.backsight, bs);
    setPointName(a.instrument, at);
    setPointName(a.foresight, fs);
    a.angle = 1.0;
    return a;
}

std::vector<std::string> namesOf(const obsList<stationRec>& list) {
    std::vector<std::string> out;
    stationRec r;
    for (int i = 0; list.getAt(i, r) == 0; ++i)
        out.emplace_back(fixedText(r.name));
    return out;
}

using StationLists = RawListTest;

// An azimuth F -> T from fixed control F, with only angles measured at F:
// F gets a bare fixed entry after its own and T becomes a type-5 dummy
// 1000 units away, at (E + 1000 sin az, N + 1000 cos az).
TEST_F(StationLists, ALoneAzimuthFromAFixedPointGetsADummyEnd) {
    controlStationList.append(station("F", 100.0, 200.0, stdErrFixed, ptFixed));
    azimuthList.append(azimuth("F", "T", 0.5));
    angleList.append(angle("T", "F", "X"));
    ASSERT_EQ(buildStationList3D(), 0);
    EXPECT_EQ(namesOf(fixedStationList), (std::vector<std::string>{"F", "F", "T"}));
    stationRec bare;
    stationRec dummy;
    fixedStationList.getAt(1, bare);
    fixedStationList.getAt(2, dummy);
    EXPECT_FALSE(isSet(bare.easting));
    EXPECT_EQ(bare.pointType, ptUnknown);
    EXPECT_EQ(dummy.pointType, ptAzimuthDummy);
    EXPECT_DOUBLE_EQ(dummy.easting, 100.0 + 1000.0 * std::sin(0.5));
    EXPECT_DOUBLE_EQ(dummy.northing, 200.0 + 1000.0 * std::cos(0.5));
    EXPECT_EQ(namesOf(stationList), (std::vector<std::string>{"X"}));
}

// In a geodetic system the dummy also gets a geodetic position, so that the
// three-dimensional adjustment can form the azimuth to it: its grid point's
// latitude and longitude (east-positive; the State Plane 1983 inverse gives
// it positive west) at F's height, and X, Y, Z from those, 1000 m from F's
// less the grid's scale (within 0.2 m in this zone).
TEST_F(StationLists, ADummyInAGeodeticSystemHasAGeodeticPosition) {
    testsupport::ProjectVarsGuard guard;
    projectVars.gridSystem = gridStatePlane83;
    projectVars.gridZone = 502;
    stationRec f = station("F", 2000000.0, 600000.0, stdErrFixed, ptFixed);
    geodCoord at{};
    at.northing = f.northing;
    at.easting = f.easting;
    projGridMetersToGeod(at);
    f.latitude = at.lat;
    f.longitude = -at.lon;
    projGeodToEcef(f);
    controlStationList.append(f);
    azimuthList.append(azimuth("F", "T", 0.5));
    ASSERT_EQ(buildStationList3D(), 0);
    stationRec dummy;
    fixedStationList.getAt(2, dummy);
    ASSERT_EQ(dummy.pointType, ptAzimuthDummy);
    geodCoord expected{};
    expected.northing = dummy.northing;
    expected.easting = dummy.easting;
    projGridMetersToGeod(expected);
    EXPECT_NEAR(dummy.latitude, expected.lat, 1e-12);
    EXPECT_NEAR(dummy.longitude, -expected.lon, 1e-12);
    EXPECT_DOUBLE_EQ(dummy.elevation, f.elevation);
    const double apart = std::hypot(dummy.ecefX - f.ecefX, dummy.ecefY - f.ecefY,
                                    dummy.ecefZ - f.ecefZ);
    EXPECT_NEAR(apart, 1000.0, 0.2);

    SpatialNetwork network;
    std::string problem;
    EXPECT_TRUE(readSpatialNetwork(network, problem)) << problem;
}

TEST_F(StationLists, AnAzimuthFromAPointWithoutCoordinatesMakesNoDummy) {
    azimuthList.append(azimuth("F", "T", 0.5));
    buildStationList3D();
    EXPECT_EQ(namesOf(fixedStationList), (std::vector<std::string>{"F"}));
    EXPECT_EQ(namesOf(stationList), (std::vector<std::string>{"T"}));
}

TEST_F(StationLists, AnObservedEndMakesNoDummy) {
    controlStationList.append(station("F", 100.0, 200.0, stdErrFixed, ptFixed));
    azimuthList.append(azimuth("F", "T", 0.5));
    angleList.append(angle("F", "Y", "T")); // sights both ends from elsewhere
    buildStationList3D();
    EXPECT_EQ(namesOf(fixedStationList), (std::vector<std::string>{"F"}));
    EXPECT_EQ(namesOf(stationList), (std::vector<std::string>{"T", "Y"}));
}

TEST_F(StationLists, ControlWithoutAPositionIsUpdatedOrCarried) {
    stationRec heightOnly = station("H", notComputed, notComputed, 0.02);
    stationRec bare = station("N", notComputed, notComputed, 0.02);
    bare.elevation = notComputed;
    controlStationList.append(heightOnly);
    controlStationList.append(bare);
    controlStationList.append(station("W", 1.0, 2.0, 0.01));
    controlStationList.append(station("X", 1.0, 2.0, stdErrFixed, ptFixed));
    buildStationList3D();
    EXPECT_EQ(namesOf(stationList), (std::vector<std::string>{"H", "W", "N"}));
    EXPECT_EQ(namesOf(fixedStationList), (std::vector<std::string>{"X"}));
    stationRec carried;
    stationList.getAt(2, carried);
    EXPECT_EQ(carried.pointType, ptCarried);
    EXPECT_EQ(notFixedStation("x"), 0);
    EXPECT_EQ(notFixedStation("W"), 1);
}

// A type-1 point adds 3 unknowns and 3 observations in 3D; observations of
// status 2 are carried but not counted; every level record counts.
TEST_F(StationLists, CountsGiveUnknownsAndObservations) {
    stationList.append(station("W", 1, 2, 0.01));
    stationList.append(station("U", 1, 2, 0.0, ptUnknown));
    stationList.append(station("C", 1, 2, 0.0, ptCarried));
    distanceObs d;
    distanceList.append(d);
    d.status = obsNotAdjusted;
    distanceList.append(d);
    angleList.append(angle("A", "B", "C"));
    gpsVectorRec v;
    gpsVectorList.append(v);
    levelList.append(levelObs{});
    int unknowns = -1;
    int observations = -1;
    countUnknownsObs3D(unknowns, observations);
    EXPECT_EQ(unknowns, 6);
    EXPECT_EQ(observations, 3 + 1 + 1 + 3 + 1);

    coordRec p;
    initCoordRec(p);
    p.pointType = ptWeightedControl;
    pointList2D.append(p);
    distanceList2D.append(distanceObs2D{});
    gpsVectorList2D.append(v);
    countUnknownsObs2D(unknowns, observations);
    EXPECT_EQ(unknowns, 2);
    EXPECT_EQ(observations, 2 + 1 + 2);
}

TEST_F(StationLists, TwoDimensionalDummyHasNoVerticalAndGivenFixedElevationsCarryOver) {
    coordRec f;
    initCoordRec(f);
    setPointName(f.name, "F");
    f.easting = 0;
    f.northing = 0;
    f.stdErrE = stdErrFixed;
    controlPointList2D.append(f);
    coordRec g;
    initCoordRec(g);
    setPointName(g.name, "G");
    g.vertType = vtFixedElevation;
    givenPointList2D.append(g);
    azimuthList2D.append(azimuth("F", "T", 0.0));
    angleObs2D a;
    setPointName(a.backsight, "F");
    setPointName(a.instrument, "G");
    setPointName(a.foresight, "Q");
    angleList2D.append(a);
    buildStationList2D();
    coordRec dummy;
    ASSERT_EQ(fixedPointList2D.find("T", dummy), 1); // F is sighted from G: no bare F
    EXPECT_EQ(dummy.vertType, vtNoVertical);
    EXPECT_DOUBLE_EQ(dummy.northing, 1000.0);
    coordRec stored;
    ASSERT_GE(pointList2D.find("G", stored), 0);
    EXPECT_EQ(stored.vertType, vtFixedElevation);
}

} // namespace
