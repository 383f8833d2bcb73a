// Preliminary coordinates of the 3D chain on synthetic networks: every
// observation is computed from true positions without noise by the test's
// own ellipsoid formulas (see prelim_network_3d.hpp).
//
// What each method can give back:
// - a GPS vector is exact: X, Y, Z, latitude, longitude and height to the
//   rounding of the conversions (1e-6 m allowed), the grid position to that
//   of the projection (1e-6 m);
// - a placement by a horizontal distance and a direction on the grid is good
//   to a small fraction of a millimetre for these short lines (the ground
//   distance is taken to the grid by the combined factor with a mean earth
//   radius, and the horizon angle is used as a grid angle: both differ by
//   parts in 1e7 here); 1 mm is allowed;
// - an elevation carried along a vertical difference S cos z misses the
//   earth's curvature, d^2 / 2R per line (R = 6,371 km): the sum over the
//   lines carried, plus 0.5 mm, is allowed;
// - the three-distance intersection takes the ground distances to the grid
//   by each line's combined factor at the point they first give: 1 mm is
//   allowed as for the other grid placements (taken as grid distances they
//   would put the point off by up to three times the largest difference
//   between a ground and its grid distance).

#include "engine/prelim_coords_3d.hpp"

#include "engine/prelim_network_3d.hpp"
#include "model/settings/global_vars.hpp"
#include "platform/shell_services.hpp"
#include "support/project_vars_guard.hpp"
#include "support/raw_list_builder.hpp"

#include "geodetic/geoid_grid.hpp"
#include "geodetic/state_plane_83.hpp"
#include "output/report_lines.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

using testsupport::SyntheticNetwork3D;

namespace {

constexpr double exact_m = 1e-6;
constexpr double gridPlacement_m = 1e-3;
constexpr double meanRadius_m = 6371000.0;

double radians(double degrees) {
    return degrees * std::numbers::pi / 180.0;
}

// A coordinate system and a place in it for the network.
struct SystemCase {
    const char* name;
    void (*use)(globalVars&);
    double lat0; // degrees
    double lon0;
};

const std::vector<SystemCase>& systems() {
    static const std::vector<SystemCase> cases = {
        {"State Plane 1983, zone 406",
         [](globalVars& s) {
             s.gridSystem = gridStatePlane83;
             s.gridZone = 406;
         },
         33.0, -116.3},
        {"UTM zone 18 on GRS 80",
         [](globalVars& s) {
             s.gridSystem = gridUtm;
             s.gridZone = 18;
             s.ellipsoid = 9;
         },
         45.0, -75.1},
        {"user-defined transverse Mercator",
         [](globalVars& s) {
             s.gridSystem = gridUserDefined;
             s.udp.EllipsInt = userDefinedEllipsoid;
             s.udp.EllipseA = 6378137.0;
             s.udp.EllipseF = 1.0 / 298.257222101;
             s.udp.ProjInt = udpTransverseMercator;
             s.udp.CentralMeridian = radians(-74.5);
             s.udp.ScaleOrRefLatitude = radians(40.5);
             s.udp.projection_scale = 0.9999;
             s.udp.FalseEastings = 150000.0;
             s.udp.FalseNorthings = 20000.0;
         },
         40.6, -74.45},
    };
    return cases;
}

class Prelim3D : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = setActiveShell(&shell);
        init83ZoneConstants();
        useSystem(systems()[1]);
    }
    void TearDown() override { setActiveShell(previous_); }

    void useSystem(const SystemCase& system) {
        projectVars = globalVars();
        system.use(projectVars);
        projectVars.geodeticModel = 1;
        projectVars.geoidModel = 0;
        projectVars.geoidHt = 0.0;
        lat0_ = system.lat0;
        lon0_ = system.lon0;
    }

    // A station `dn` metres north and `de` east of the system's place.
    void place(const std::string& name, double dn, double de, double h) {
        const double lat = lat0_ + dn / 111132.0;
        const double lon = lon0_ + de / (111320.0 * std::cos(radians(lat0_)));
        net.at(name, lat, lon, h);
    }

    // Runs the whole computation; returns the stations left.
    int run() { return prelimCoords3D(status); }

    // d^2 / 2R summed over the legs of a chain of stations.
    double curvatureAlong(std::initializer_list<const char*> chain) const {
        double sum = 0.0;
        const char* before = nullptr;
        for (const char* name : chain) {
            if (before != nullptr) {
                const double d = net.local(before, name).horizontal();
                sum += d * d / (2.0 * meanRadius_m);
            }
            before = name;
        }
        return sum + 0.5e-3;
    }

    // The largest difference between the horizontal ground distance and the
    // grid distance from the stations `from` to `to`.
    double groundLessGrid(const char* to, std::initializer_list<const char*> from) const {
        double largest = 0.0;
        const auto& b = net.truth(to);
        for (const char* name : from) {
            const auto& a = net.truth(name);
            const double grid = std::hypot(a.northing - b.northing, a.easting - b.easting);
            largest = std::max(largest, std::fabs(net.local(name, to).horizontal() - grid));
        }
        return largest;
    }

    void expectExact(const std::string& name) {
        SCOPED_TRACE(name);
        const stationRec s = net.computed(name);
        const auto& t = net.truth(name);
        EXPECT_LT(net.ecefError(name), exact_m);
        EXPECT_LT(net.heightError(name), exact_m);
        EXPECT_LT(net.gridError(name), exact_m);
        EXPECT_NEAR(s.latitude, t.lat, 1e-12);
        EXPECT_NEAR(s.longitude, t.lon, 1e-12);
        EXPECT_EQ(s.geoidSep, 0.0);
    }

    // Horizontally within `grid_m`, in height within `height_m`, and the
    // geodetic and earth-centred values consistent with both.
    void expectNear(const std::string& name, double grid_m, double height_m) {
        SCOPED_TRACE(name);
        EXPECT_LT(net.gridError(name), grid_m);
        EXPECT_LT(net.heightError(name), height_m);
        EXPECT_LT(net.ecefError(name), std::hypot(grid_m, height_m));
    }

    testsupport::ProjectVarsGuard guard;
    RecordingShell shell;
    SyntheticNetwork3D net;
    int status = -1;

private:
    ShellServices* previous_ = nullptr;
    double lat0_ = 0.0;
    double lon0_ = 0.0;
};

// A chain of vectors out from one control station, one of them measured
// towards the station it places.
void gpsChain(SyntheticNetwork3D& net) {
    net.fixed("A");
    net.unknowns({"B", "C", "D", "E"});
    net.vector("A", "B");
    net.vector("B", "C");
    net.vector("D", "C");
    net.vector("C", "E");
}

} // namespace

// The user-defined transverse Mercator takes west-positive longitudes in its
// forward direction: a vector's station must reach it with its longitude
// turned, or it lands mirrored about the central meridian.
TEST_F(Prelim3D, AChainOfVectorsPlacesEveryStationExactlyInEverySystem) {
    for (const SystemCase& system : systems()) {
        SCOPED_TRACE(system.name);
        resetProgramLists();
        useSystem(system);
        place("A", 0, 0, 120.0);
        place("B", 812.4, 1310.7, 131.2);
        place("C", 2210.9, 640.3, 98.7);
        place("D", 3015.0, -905.5, 150.4);
        place("E", 1404.2, -2222.8, 87.9);
        gpsChain(net);
        EXPECT_EQ(run(), 0);
        for (const char* name : {"B", "C", "D", "E"})
            expectExact(name);
    }
}

// Angles, horizontal distances and height differences from two fixed
// stations: B sees A and runs out through 1, 2, 3. The lines 1-2 (which
// places 2 with the angle at 1) and 2-3 (which the traverse pass follows)
// are stored from their far end, and must carry the same height as the
// other way round.
TEST_F(Prelim3D, ATerrestrialTraversePlacesItsStationsByGridGeometry) {
    place("A", 0, 0, 100.0);
    place("B", 180.2, 95.4, 104.3);
    place("1", 310.8, 251.9, 98.6);
    place("2", 402.5, 440.1, 106.2);
    place("3", 318.0, 611.7, 101.9);
    net.fixed("A");
    net.fixed("B");
    net.unknowns({"1", "2", "3"});
    net.angle("A", "B", "1");
    net.angle("B", "1", "2");
    net.angle("1", "2", "3");
    net.sight("B", "1");
    net.sight("1", "2", true);
    net.sight("2", "3", true);
    EXPECT_EQ(run(), 0);
    expectNear("1", gridPlacement_m, curvatureAlong({"B", "1"}));
    expectNear("2", gridPlacement_m, curvatureAlong({"B", "1", "2"}));
    expectNear("3", gridPlacement_m, curvatureAlong({"B", "1", "2", "3"}));
}

// The braced zig-zag traverse of the 2D chain's tests on the grid: 50
// stations on legs of about 80 m, fixed at both ends; every setup Pi
// backsights P(i-1) and sights P(i+1) and, braced, also P(i+2). Each
// placement is good to the grid geometry's 1 mm, carried along 47 legs;
// with each setup oriented through the station it was placed from, the
// braces make nothing worse.
TEST_F(Prelim3D, ABracedZigZagTraverseIsPlacedAsWellAsItsLegsAlone) {
    constexpr int count = 50;
    const auto name = [](int i) { return "P" + std::to_string(i); };
    for (bool braced : {false, true}) {
        SCOPED_TRACE(braced ? "braced" : "legs only");
        resetProgramLists();
        for (int i = 1; i <= count; ++i)
            place(name(i), 40.0 * (i % 2) + 5.0 * std::sin(1.7 * i),
                  70.0 * i + 5.0 * std::cos(2.3 * i), 100.0);
        for (int i : {1, 2, count - 1, count})
            net.fixed(name(i));
        for (int i = 3; i < count - 1; ++i)
            net.unknown(name(i));
        for (int i = 2; i < count; ++i)
            for (int ahead = 1; ahead <= (braced ? 2 : 1) && i + ahead <= count; ++ahead) {
                net.angle(name(i - 1), name(i), name(i + ahead));
                net.sight(name(i), name(i + ahead));
            }
        EXPECT_EQ(run(), 0);
        for (int i = 3; i < count - 1; ++i) {
            SCOPED_TRACE(name(i));
            EXPECT_LT(net.gridError(name(i)), 47 * gridPlacement_m);
        }
    }
}

// Vectors from control to two stations, a traverse on from them, and
// levelled height differences, which the preliminary coordinates leave to
// the adjustment.
TEST_F(Prelim3D, AMixedNetworkWithLevellingPlacesEveryStation) {
    place("A", 0, 0, 100.0);
    place("G1", 640.0, 420.0, 112.5);
    place("G2", 820.0, 610.0, 109.8);
    place("T1", 930.0, 480.0, 115.1);
    place("T2", 1080.0, 555.0, 111.4);
    net.fixed("A");
    net.unknowns({"G1", "G2", "T1", "T2"});
    net.vector("A", "G1");
    net.vector("A", "G2");
    net.angle("G2", "G1", "T1");
    net.angle("G1", "T1", "T2");
    net.sight("G1", "T1");
    net.sight("T1", "T2");
    net.level("A", "G1");
    net.level("G1", "T1");
    net.level("T1", "T2");
    EXPECT_EQ(run(), 0);
    expectExact("G1");
    expectExact("G2");
    expectNear("T1", gridPlacement_m, curvatureAlong({"G1", "T1"}));
    expectNear("T2", gridPlacement_m, curvatureAlong({"G1", "T1", "T2"}));
    EXPECT_EQ(levelList.count(), 3) << "the level records are left as they are";
}

// One control station and angles that start from a backsight no azimuth
// orients: nothing can be placed, and the driver's condition for trying the
// first backsight azimuth of a raw file holds. With that azimuth appended
// the same computation places every station.
TEST_F(Prelim3D, OneControlStationNeedsAnAzimuthAndThenPlacesTheNetwork) {
    place("A", 0, 0, 100.0);
    place("B", 150.0, -120.0, 96.0);
    place("1", -90.0, 160.0, 103.0);
    place("2", -40.0, 330.0, 99.5);
    net.fixed("A");
    net.unknowns({"B", "1", "2"});
    net.angle("B", "A", "1");
    net.angle("A", "1", "2");
    net.sight("A", "B");
    net.sight("A", "1");
    net.sight("1", "2");
    EXPECT_EQ(run(), 3);
    EXPECT_EQ(status, prelim3DInstrumentOrBacksight);
    EXPECT_EQ(countControlPoints3D(), 1);
    EXPECT_EQ(getAzimuthCount3D(), 0);
    EXPECT_EQ(isInstOrBacksightPt3D("b"), 1);
    EXPECT_EQ(isInstOrBacksightPt3D("2"), 0);

    net.azimuth("A", "B");
    EXPECT_EQ(run(), 0);
    expectNear("B", gridPlacement_m, curvatureAlong({"A", "B"}));
    expectNear("1", gridPlacement_m, curvatureAlong({"A", "1"}));
    expectNear("2", gridPlacement_m, curvatureAlong({"A", "1", "2"}));
}

TEST_F(Prelim3D, WithoutControlNothingIsPlacedAndTheInstrumentsAreNamed) {
    place("A", 0, 0, 100.0);
    place("B", 150.0, -120.0, 96.0);
    place("1", -90.0, 160.0, 103.0);
    net.unknowns({"A", "B", "1"});
    net.angle("B", "A", "1");
    net.sight("A", "B");
    net.sight("A", "1");
    EXPECT_EQ(run(), 3);
    EXPECT_EQ(status, prelim3DInstrumentOrBacksight);
    EXPECT_EQ(countControlPoints3D(), 0);
    EXPECT_FALSE(isSet(net.computed("1").easting));
}

TEST_F(Prelim3D, AStationNoObservationReachesIsCountedAsAnotherStation) {
    place("A", 0, 0, 120.0);
    place("B", 812.4, 1310.7, 131.2);
    place("C", 2210.9, 640.3, 98.7);
    place("D", 3015.0, -905.5, 150.4);
    place("E", 1404.2, -2222.8, 87.9);
    gpsChain(net);
    net.unknown("Z");
    EXPECT_EQ(run(), 1);
    EXPECT_EQ(status, prelim3DOtherStations);
    EXPECT_FALSE(isSet(net.computed("Z").easting));
    expectExact("E");
}

// Two control stations that no backsight joins: the traverse between them is
// solved from A with an assumed azimuth and turned onto F, which keeps its
// control position. X, which no angle names, is placed in the assumed frame
// by three distances from the traverse; it must be turned onto the control
// with the others, not left without a position while the computation reports
// success.
TEST_F(Prelim3D, TwoUnjoinedControlStationsOrientTheTraverseByAnAssumedAzimuth) {
    place("A", 0, 0, 100.0);
    place("P", 120.0, 140.0, 102.0);
    place("Q", 160.0, 320.0, 99.0);
    place("R", 90.0, 480.0, 104.5);
    place("F", 140.0, 640.0, 101.0);
    place("X", 40.0, 220.0, 100.5);
    net.fixed("A");
    net.fixed("F");
    net.unknowns({"P", "Q", "R", "X"});
    net.angle("A", "P", "Q");
    net.angle("P", "Q", "R");
    net.angle("Q", "R", "F");
    net.sight("A", "P");
    net.sight("P", "Q");
    net.sight("Q", "R");
    net.sight("R", "F");
    for (const char* from : {"P", "Q", "A"})
        net.sight(from, "X");
    const stationRec controlBefore = net.computed("F");
    EXPECT_EQ(run(), 0);
    expectNear("P", gridPlacement_m, curvatureAlong({"A", "P"}));
    expectNear("Q", gridPlacement_m, curvatureAlong({"A", "P", "Q"}));
    expectNear("R", gridPlacement_m, curvatureAlong({"A", "P", "Q", "R"}));
    EXPECT_LT(net.gridError("X"), 3.0 * groundLessGrid("X", {"P", "Q", "A"}) + gridPlacement_m);
    EXPECT_EQ(net.computed("F"), controlBefore);
    EXPECT_EQ(fixedStationList.count(), 2) << "the lists are put back";
    EXPECT_EQ(azimuthList.count(), 0);
}

TEST_F(Prelim3D, ThreeDistancesPlaceAStationWithoutAnyAngle) {
    place("A", 0, 0, 100.0);
    place("B", 20.0, 300.0, 103.0);
    place("C", 260.0, 140.0, 98.0);
    place("P", 110.0, 150.0, 101.0);
    net.fixed("A");
    net.fixed("B");
    net.fixed("C");
    net.unknown("P");
    net.sight("A", "P");
    net.sight("B", "P");
    net.sight("C", "P");
    EXPECT_EQ(run(), 0);
    const double scaleShift = groundLessGrid("P", {"A", "B", "C"});
    EXPECT_GT(scaleShift, 1e-3) << "the grid scale shows in these distances";
    EXPECT_LT(net.gridError("P"), gridPlacement_m);
    EXPECT_LT(net.heightError("P"), curvatureAlong({"A", "P"}));
}

// Angles measured at P from A: to C and to B make a resection whose second
// angle is the difference of the two (an earlier reading kept only one angle
// per backsight, so this figure was never formed); the same angle twice is
// one figure, which places nothing.
TEST_F(Prelim3D, TwoAnglesSharingTheirBacksightResectTheStation) {
    struct Row {
        const char* name;
        const char* firstForesight;
        int left;
    };
    for (const Row& row : {Row{"A to C and A to B", "C", 0}, Row{"A to B twice", "B", 1}}) {
        SCOPED_TRACE(row.name);
        resetProgramLists();
        place("A", 0, 0, 100.0);
        place("B", 260.0, 40.0, 103.0);
        place("C", 120.0, 330.0, 98.0);
        place("P", 90.0, 110.0, 101.0);
        net.fixed("A");
        net.fixed("B");
        net.fixed("C");
        net.unknown("P");
        net.angle("A", "P", row.firstForesight);
        net.angle("A", "P", "B");
        EXPECT_EQ(run(), row.left);
        if (row.left == 0) {
            EXPECT_LT(net.gridError("P"), gridPlacement_m);
        }
    }
}

// P on the circle through A, B and C (the danger circle), set out on the
// grid so that the angles at P (A to B 45 degrees, A to C 90) are exact: the
// two angles determine no point, and a resection that yields none must not
// count as placing the station.
TEST_F(Prelim3D, AResectionOnTheDangerCirclePlacesNothing) {
    const double n0 = 4982000.0, e0 = 500000.0, r = 150.0;
    const auto fixedAt = [](const char* name, double northing, double easting) {
        stationRec s;
        initStationRec(s);
        setPointName(s.name, name);
        s.northing = northing;
        s.easting = easting;
        s.elevation = 100.0;
        s.pointType = ptFixed;
        fixedStationList.append(s);
    };
    fixedAt("A", n0 + r, e0);
    fixedAt("B", n0, e0 + r);
    fixedAt("C", n0 - r, e0);
    net.unknown("P");
    for (const auto& [foresight, degrees] : {std::pair{"B", 45.0}, std::pair{"C", 90.0}}) {
        angleObs a;
        setPointName(a.backsight, "A");
        setPointName(a.instrument, "P");
        setPointName(a.foresight, foresight);
        a.angle = radians(degrees);
        a.stdErr = 5.0;
        angleList.append(a);
    }
    EXPECT_EQ(run(), 1);
    EXPECT_FALSE(isSet(net.computed("P").easting));
}

// Given stations seed the computation with their approximate positions.
TEST_F(Prelim3D, AGivenStationStartsFromItsGivenPosition) {
    place("A", 0, 0, 100.0);
    place("G", 300.0, 200.0, 104.0);
    place("P", 420.0, 350.0, 101.0);
    net.fixed("A");
    net.given("G");
    net.unknown("P");
    net.angle("A", "G", "P");
    net.sight("G", "P");
    EXPECT_EQ(run(), 0);
    expectExact("G");
    expectNear("P", gridPlacement_m, curvatureAlong({"G", "P"}));
}

// X is the instrument of an angle and has distances to three known
// stations: the fixed K, I (placed from K) and G, a given station whose
// approximate position lies 1 m off its true one. I's setup, oriented
// through K, sights X: X is placed by that distance and direction, to the
// grid geometry's 1 mm; intersected from the three distances it would take
// a share of G's error.
TEST_F(Prelim3D, AConsistentDirectionAndDistanceComeBeforeThreeDistances) {
    place("K", 0.0, 0.0, 100.0);
    place("L", 0.0, -200.0, 100.0);
    place("I", 80.0, 40.0, 100.0);
    place("G", 120.0, 20.0, 100.0);
    place("X", 100.0, 140.0, 100.0);
    net.fixed("K");
    net.fixed("L");
    net.unknowns({"I", "X"});
    net.angle("L", "K", "I");
    net.angle("K", "I", "X");
    net.angle("I", "X", "G");
    net.sight("G", "X");
    net.sight("K", "X");
    net.sight("I", "X");
    net.sight("K", "I");
    place("G", 120.0, 21.0, 100.0); // the given, approximate position
    net.given("G");

    EXPECT_EQ(run(), 0);
    EXPECT_LT(net.gridError("I"), gridPlacement_m);
    EXPECT_LT(net.gridError("X"), gridPlacement_m);
}

TEST_F(Prelim3D, AnAzimuthGetsTheGridConvergenceAtItsKnownStation) {
    place("A", 0, 0, 100.0);
    place("B", 150.0, -120.0, 96.0);
    net.fixed("A");
    net.unknown("B");
    net.azimuth("A", "B");
    net.sight("A", "B");
    EXPECT_EQ(run(), 0);
    // UTM zone 18, central meridian 75 W: gamma = dlambda sin(phi) to first order.
    const auto& a = net.truth("A");
    const double gamma = (a.lon - radians(-75.0)) * std::sin(a.lat);
    azimuthObs az;
    ASSERT_EQ(azimuthList.getAt(0, az), 0);
    EXPECT_NEAR(az.convergence, gamma, 1e-6);
}

// Azimuth dummies are fixed records but no control: one control station and
// one azimuth count one, as the retry with the first backsight needs.
TEST_F(Prelim3D, ControlCountsLeaveAzimuthDummiesOut) {
    place("A", 0, 0, 100.0);
    place("D", 100.0, 0, 100.0);
    place("W", 50.0, 50.0, 100.0);
    net.fixed("A");
    net.azimuthDummy("D");
    EXPECT_EQ(countControlPoints3D(), 1);
    stationRec weighted = net.computed("A");
    setPointName(weighted.name, "W");
    weighted.pointType = ptWeightedControl;
    stationList.append(weighted);
    stationRec unplaced;
    setPointName(unplaced.name, "U");
    unplaced.pointType = ptWeightedControl;
    stationList.append(unplaced);
    EXPECT_EQ(countControlPoints3D(), 2);
    EXPECT_EQ(hasEnoughControl3D(), 0) << "one fixed station, no azimuth";
    net.azimuth("A", "D");
    EXPECT_EQ(hasEnoughControl3D(), 1);
}

TEST_F(Prelim3D, StationQueriesIgnoreCase) {
    place("A", 0, 0, 100.0);
    net.fixed("A");
    net.unknowns({"P", "Q"});
    stationRec g;
    setPointName(g.name, "G");
    givenStationList.append(g);
    angleObs a;
    setPointName(a.backsight, "A");
    setPointName(a.instrument, "P");
    setPointName(a.foresight, "Q");
    angleList.append(a);
    for (const char* name : {"a", "p", "g"})
        EXPECT_EQ(lookupStation3D(name), 0) << name;
    EXPECT_EQ(lookupStation3D("z"), 1);
    EXPECT_EQ(isAngleStation3D("q"), 1);
    EXPECT_EQ(isInstOrBacksightPt3D("q"), 0);
    EXPECT_EQ(isInstOrBacksightPt3D("a"), 1);
    EXPECT_EQ(isInstOrBacksightPt3D("p"), 1);
}

TEST_F(Prelim3D, CopyPrelimToControlFillsOnlyControlWithoutPosition) {
    place("A", 0, 0, 100.0);
    place("B", 812.4, 1310.7, 131.2);
    net.fixed("A");
    net.unknown("B");
    net.vector("A", "B");
    stationRec weighted;
    setPointName(weighted.name, "b");
    weighted.pointType = ptWeightedControl;
    weighted.elevation = 131.0;
    controlStationList.append(weighted);
    stationRec positioned = net.computed("A");
    controlStationList.append(positioned);
    ASSERT_EQ(run(), 0);
    copyPrelimToControl3D();
    stationRec copied;
    ASSERT_GE(controlStationList.find("B", copied), 0);
    const stationRec b = net.computed("B");
    EXPECT_EQ(copied.easting, b.easting);
    EXPECT_EQ(copied.northing, b.northing);
    EXPECT_EQ(copied.elevation, b.elevation);
    EXPECT_EQ(copied.geoidSep, b.geoidSep);
    EXPECT_EQ(copied.latitude, b.latitude);
    EXPECT_EQ(copied.longitude, b.longitude);
    EXPECT_EQ(copied.ecefX, b.ecefX);
    EXPECT_EQ(copied.ecefY, b.ecefY);
    EXPECT_EQ(copied.ecefZ, b.ecefZ);
    EXPECT_EQ(copied.prelimCopied, 1);
    stationRec untouched;
    ASSERT_GE(controlStationList.find("A", untouched), 0);
    EXPECT_EQ(untouched, positioned);
}

// A station with a position but no height difference to a known station
// takes its elevation from the first raw sighting of it:
// instrument elevation + HD / tan z + HI - HR; a reading in the second face
// (S: 360 degrees less the first) gives the same. A sighting straight up
// (Q: z = 0, stored with only a warning) or within a hair of it (R) has no
// such height and gives none: the station is counted as left without an
// elevation instead of going out infinite or hundreds of kilometres high.
TEST_F(Prelim3D, ZenithSightingsGiveElevationsExceptAlongTheVertical) {
    place("A", 0, 0, 100.0);
    net.fixed("A");
    const struct {
        const char* name;
        double dn, de;
        double zenith_rad;
    } sights[] = {{"P", 80.0, 60.0, radians(88.5)},
                  {"S", 40.0, -70.0, radians(360.0 - 88.5)},
                  {"Q", -50.0, 70.0, 0.0},
                  {"R", -20.0, 90.0, 1e-9}};
    for (const auto& sight : sights) {
        place(sight.name, sight.dn, sight.de, 0.0);
        stationRec s;
        initStationRec(s);
        setPointName(s.name, sight.name);
        s.northing = net.truth(sight.name).northing;
        s.easting = net.truth(sight.name).easting;
        stationList.append(s);
        rawRec setup =
            testsupport::withHeights(testsupport::setupRecord("A", sight.name), 1.55, 1.80);
        setup.zenithOrVertDiff = sight.zenith_rad;
        testsupport::appendRaw({setup});
    }

    EXPECT_EQ(computeInitialZ3D(), 2);
    for (const char* name : {"P", "S"}) {
        const double hd = std::hypot(net.truth(name).northing - net.truth("A").northing,
                                     net.truth(name).easting - net.truth("A").easting);
        EXPECT_NEAR(net.computed(name).elevation,
                    100.0 + hd / std::tan(radians(88.5)) + 1.55 - 1.80, 1e-9)
            << name;
        EXPECT_TRUE(isSet(net.computed(name).ecefX)) << name;
    }
    for (const char* name : {"Q", "R"}) {
        EXPECT_FALSE(isSet(net.computed(name).elevation)) << name;
        EXPECT_FALSE(isSet(net.computed(name).ecefX)) << name;
    }
}

// Every positioned station gets what it lacks of its geodetic and
// earth-centred values, and nothing it has is recomputed.
TEST_F(Prelim3D, CompletingFillsOnlyMissingGeodeticValues) {
    place("A", 0, 0, 100.0);
    place("P", 80.0, 60.0, 104.0);
    net.fixed("A");
    stationRec p;
    initStationRec(p);
    setPointName(p.name, "P");
    p.northing = net.truth("P").northing;
    p.easting = net.truth("P").easting;
    p.elevation = net.truth("P").h;
    stationList.append(p);
    stationRec kept;
    initStationRec(kept);
    setPointName(kept.name, "K");
    kept.northing = net.truth("P").northing;
    kept.easting = net.truth("P").easting;
    kept.elevation = 50.0;
    kept.latitude = 0.5;
    kept.longitude = -1.3;
    kept.ecefX = 1.0;
    kept.ecefY = 2.0;
    kept.ecefZ = 3.0;
    stationList.append(kept);
    completeGeodeticCoords3D();
    EXPECT_LT(net.ecefError("P"), exact_m);
    EXPECT_NEAR(net.computed("P").longitude, net.truth("P").lon, 1e-12);
    EXPECT_EQ(net.computed("K"), kept);
}

// A geoid model whose grid is not open: every station placed gets the
// warning naming it and a separation of 0; its position does not depend on
// the geoid.
TEST_F(Prelim3D, AGeoidSeparationThatCannotBeReadIsWarnedAboutStationByStation) {
    closeGeoidGrid();
    projectVars.geoidModel = 1;
    testsupport::TempFolder folder("prelim-3d-geoid");
    errFile = ::open((folder / "t.ERR").c_str(), O_RDWR | O_CREAT | O_TRUNC, 0600);
    place("A", 0, 0, 120.0);
    place("B", 812.4, 1310.7, 131.2);
    net.fixed("A");
    net.unknown("B");
    net.vector("A", "B");
    EXPECT_EQ(run(), 0);
    ::close(errFile);
    errFile = 0;
    EXPECT_EQ(testsupport::readBytes(folder / "t.ERR"),
              "Could not read geoid separation from grid file for Point B\r\n\r\n");
    EXPECT_EQ(net.computed("B").geoidSep, 0.0);
    EXPECT_LT(net.ecefError("B"), exact_m);
}
