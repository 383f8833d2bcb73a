// Traverse and GPS-loop closures on small networks whose misclosures are
// worked out by hand (each expected value's derivation is in the comment
// above it; the decimals were evaluated with Python's math module from those
// formulas, not taken from the code under test).

#include "engine/closures.hpp"
#include "model/program_lists.hpp"
#include "support/angles.hpp"
#include "support/gps_vector_list.hpp"
#include "support/project_vars_guard.hpp"

#include <gtest/gtest.h>

#include <cmath>

using testsupport::radiansOf;

namespace {

constexpr double coordinateTolerance = 1e-9; // project units
constexpr double angleTolerance = 1e-12;     // radians

coordRec point(const char* name, int type, double northing, double easting,
               double elevation = notComputed) {
    coordRec p;
    initCoordRec(p);
    setPointName(p.name, name);
    p.pointType = type;
    p.northing = northing;
    p.easting = easting;
    p.elevation = elevation;
    return p;
}

// An angle of the 2D chain (`angleList2D`) or, given `angleList`, of the 3D chain.
template <class Angle = angleObs2D>
void addAngle(const char* bs, const char* ip, const char* fs, double angle_rad,
              obsList<Angle>& list = angleList2D) {
    Angle a;
    setPointName(a.backsight, bs);
    setPointName(a.instrument, ip);
    setPointName(a.foresight, fs);
    a.angle = angle_rad;
    list.append(a);
}

void addDistance(const char* from, const char* to, double distance, double vertDiff = notComputed) {
    distanceObs2D d;
    setPointName(d.from, from);
    setPointName(d.to, to);
    d.distance = distance;
    d.vertDiff = vertDiff;
    distanceList2D.append(d);
}

class Closures : public ::testing::Test {
protected:
    void SetUp() override { resetProgramLists(); }
    void TearDown() override { resetProgramLists(); }

    // A square loop run counter-clockwise, 100 m sides: 1 (1000, 1000) fixed
    // at 50.00 m, 2 north of it, 3 west of 2, 4 south of 3; interior angles
    // of 90 degrees measured clockwise from the backsight. Observed: 10" too
    // much at 1 and at 4 (the angle at 4 stored the other way round, 3-4-1
    // as 1-4-3 = 270 deg - 10"), 2-3 short by 0.04 and 4-1 long by 0.03
    // (stored as 1-4), height differences +1.00, +0.50, -0.70, -0.75 (1-4
    // stored as +0.75).
    void squareLoop() {
        fixedPointList2D.append(point("1", ptFixed, 1000.0, 1000.0, 50.0));
        pointList2D.append(point("2", ptUnknown, 1100.0, 1000.0));
        pointList2D.append(point("3", ptUnknown, 1100.0, 900.0));
        pointList2D.append(point("4", ptUnknown, 1000.0, 900.0));
        addAngle("4", "1", "2", radiansOf(90, 0, 10));
        addAngle("1", "2", "3", radiansOf(90));
        addAngle("2", "3", "4", radiansOf(90));
        addAngle("1", "4", "3", radiansOf(269, 59, 50));
        addDistance("1", "2", 100.0, 1.0);
        addDistance("2", "3", 99.96, 0.5);
        addDistance("3", "4", 100.0, -0.7);
        addDistance("1", "4", 100.03, 0.75);
    }

    // A straight traverse due east between fixed control: backsight A
    // (1000, 900), start 1 (1000, 1000), new point 2, end 3 (1000, 1200),
    // closing foresight B (1000, 1300). Observed: 180 deg at 1 and 3,
    // 180 deg 00' 06" at 2; 1-2 100.02, 2-3 99.99.
    void pointToPointTraverse() {
        fixedPointList2D.append(point("A", ptFixed, 1000.0, 900.0));
        fixedPointList2D.append(point("1", ptFixed, 1000.0, 1000.0));
        pointList2D.append(point("2", ptUnknown, 1000.0, 1100.0));
        fixedPointList2D.append(point("3", ptFixed, 1000.0, 1200.0));
        fixedPointList2D.append(point("B", ptFixed, 1000.0, 1300.0));
        addAngle("A", "1", "2", radiansOf(180));
        addAngle("1", "2", "3", radiansOf(180, 0, 6));
        addAngle("2", "3", "B", radiansOf(180));
        addDistance("1", "2", 100.02);
        addDistance("2", "3", 99.99);
    }

    testsupport::ProjectVarsGuard guard;
};

void expectLinear(const TraversePass& pass, double correctN, double correctE, double computedN,
                  double computedE, double traversed) {
    ASSERT_TRUE(pass.linear.has_value());
    EXPECT_NEAR(pass.linear->correctNorthing, correctN, coordinateTolerance);
    EXPECT_NEAR(pass.linear->correctEasting, correctE, coordinateTolerance);
    EXPECT_NEAR(pass.linear->computedNorthing, computedN, coordinateTolerance);
    EXPECT_NEAR(pass.linear->computedEasting, computedE, coordinateTolerance);
    EXPECT_NEAR(pass.linear->distanceTraversed, traversed, coordinateTolerance);
}

TEST_F(Closures, ClosedLoopWithAngleAndVerticalClosure) {
    squareLoop();
    const TraverseClosure c =
        computeTraverseClosure({"4", "1", "2", "3", "4", "1"}, {1, 1, loopInteriorRef});
    ASSERT_TRUE(c.computed);
    EXPECT_TRUE(c.messages.empty());
    EXPECT_TRUE(c.verticalShown);
    ASSERT_EQ(c.measured.legs.size(), 4u);
    EXPECT_NEAR(c.measured.legs[3].angle_rad, radiansOf(90, 0, 10), angleTolerance);
    EXPECT_NEAR(*c.measured.legs[3].heightDiff, -0.75, coordinateTolerance);

    // Azimuths 0d00'10", 270d00'10", 180d00'10", 90d00'20": the loop comes
    // back 20" clockwise of the known 90d (from 4 to 1), 5" per angle.
    ASSERT_TRUE(c.measured.azimuths.has_value());
    EXPECT_NEAR(c.measured.azimuths->known_rad, radiansOf(90), angleTolerance);
    EXPECT_NEAR(c.measured.azimuths->computed_rad, radiansOf(90, 0, 20), angleTolerance);
    EXPECT_NEAR(c.measured.azimuths->error_rad, radiansOf(0, 0, 20), angleTolerance);
    EXPECT_EQ(c.measured.azimuths->angleCount, 4);
    EXPECT_NEAR(c.measured.azimuths->correction_rad, -radiansOf(0, 0, 5), angleTolerance);
    // N = 1000 + 100 cos10" + 99.96 cos270d00'10" + 100 cos180d00'10" + 100.03 cos90d00'20"
    //   = 1000 + 99.96 sin10" - 100.03 sin20" = 999.995147015065;
    // E = 1000 + 100 sin10" - 99.96 cos10" - 100 sin10" + 100.03 cos20" = 1000.069999647246.
    expectLinear(c.measured, 1000.0, 1000.0, 999.995147015065, 1000.069999647246, 399.99);
    ASSERT_TRUE(c.measured.vertical.has_value());
    EXPECT_NEAR(c.measured.vertical->correctElevation, 50.0, coordinateTolerance);
    EXPECT_NEAR(c.measured.vertical->computedElevation, 50.05, coordinateTolerance);

    // Balanced: azimuths 0d00'05", 270d, 179d59'55", 90d; N closes exactly,
    // E = 1000 + 100 sin5" - 99.96 + 100 sin5" + 100.03 = 1000.074848136811.
    ASSERT_TRUE(c.balanced.has_value());
    EXPECT_NEAR(c.balanced->legs[0].angle_rad, radiansOf(90, 0, 5), angleTolerance);
    EXPECT_NEAR(std::remainder(c.balanced->azimuths->error_rad, 2 * testsupport::pi), 0.0,
                angleTolerance);
    expectLinear(*c.balanced, 1000.0, 1000.0, 1000.0, 1000.074848136811, 399.99);
    EXPECT_FALSE(c.balanced->vertical.has_value());
}

TEST_F(Closures, LoopWithoutAngleClosureEndsOnItsBacksight) {
    squareLoop();
    const TraverseClosure c =
        computeTraverseClosure({"4", "1", "2", "3", "4"}, {0, 0, loopInteriorRef});
    ASSERT_TRUE(c.computed);
    EXPECT_FALSE(c.measured.azimuths.has_value());
    EXPECT_FALSE(c.balanced.has_value());
    // Three legs to 4 (1000, 900), plus the stored 1-4 distance traversed:
    // N = 1000 + 99.96 sin10" = 1000.004846197555, E = 1000 - 99.96 cos10" = 900.040000117475.
    expectLinear(c.measured, 1000.0, 900.0, 1000.004846197555, 900.040000117475,
                 100.0 + 99.96 + 100.0 + 100.03);
}

TEST_F(Closures, PointToPointBetweenControlBalancesEveryAngleItUses) {
    pointToPointTraverse();
    const TraverseClosure c =
        computeTraverseClosure({"A", "1", "2", "3", "B"}, {1, 0, pointToPoint});
    ASSERT_TRUE(c.computed);
    ASSERT_EQ(c.measured.legs.size(), 3u);
    EXPECT_TRUE(c.measured.legs[2].closingAngle);
    // Computed closing azimuth 270 + 180 + 180d00'06" + 180 = 90d00'06",
    // 6" clockwise of the known 90d from 3 to B; three angles, -2" each.
    EXPECT_NEAR(c.measured.azimuths->computed_rad, radiansOf(90, 0, 6), angleTolerance);
    EXPECT_NEAR(c.measured.azimuths->error_rad, radiansOf(0, 0, 6), angleTolerance);
    EXPECT_EQ(c.measured.azimuths->angleCount, 3);
    // N = 1000 + 100.02 cos90d + 99.99 cos90d00'06" = 1000 - 99.99 sin6" = 999.997091408802;
    // E = 1000 + 100.02 + 99.99 cos6" = 1200.009999957696.
    expectLinear(c.measured, 1000.0, 1200.0, 999.997091408802, 1200.009999957696, 200.01);
    // Balanced angles 179d59'58", 180d00'04", 179d59'58": the closing
    // azimuth is 90d exactly; N = 1000 + 0.03 sin2" = 1000.000000290888,
    // E = 1000 + 200.01 cos2" = 1200.009999990598.
    ASSERT_TRUE(c.balanced.has_value());
    EXPECT_NEAR(c.balanced->azimuths->computed_rad, radiansOf(90), angleTolerance);
    expectLinear(*c.balanced, 1000.0, 1200.0, 1000.000000290888, 1200.009999990598, 200.01);
}

TEST_F(Closures, TraversesThatCannotBeComputedSayWhy) {
    pointToPointTraverse();
    squareLoop();
    struct Case {
        std::vector<std::string> names;
        ClosureSettings settings;
        std::vector<std::string> errorLines;
        bool listed;
    };
    const std::string notControl = "Error computing traverse closure. ";
    const std::vector<Case> cases = {
        {{"A", "1", "2"}, {1, 0, pointToPoint}, {"Not enough points to compute closure."}, false},
        {{"A", "2", "3", "B"},
         {1, 0, pointToPoint},
         {notControl + "Starting point, 2 is not a control point."},
         false},
        {{"A", "1", "2"},
         {0, 0, pointToPoint},
         {notControl + "Ending point, 2 is not a control point."},
         false},
        {{"4", "1", "2", "3", "4", "2"},
         {1, 0, loopInteriorRef},
         {"In a loop traverse with angle closure the starting and ending point must match.",
          "  Starting pt. :1", "  Ending pt. :2"},
         false},
        {{"4", "1", "2", "3"},
         {0, 0, loopInteriorRef},
         {"In a loop traverse with no angle closure the starting and ending backsight point "
          "must match.",
          "  Starting BS pt. :4", "  Ending BS pt. :3"},
         false},
        {{"4", "1", "3", "4", "1"},
         {1, 0, loopInteriorRef},
         {"Could not find angle: BS:4-IP:1-FS:3 when computing traverse closure."},
         true},
        {{"3", "1", "2", "3"},
         {0, 0, loopExteriorRef},
         {"Could not find angle: BS:3-IP:1-FS:2 when computing traverse closure."},
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.errorLines.front());
        const TraverseClosure closure = computeTraverseClosure(c.names, c.settings);
        EXPECT_FALSE(closure.computed);
        EXPECT_EQ(closure.listed, c.listed);
        ASSERT_EQ(closure.messages.size(), 1u);
        EXPECT_EQ(closure.messages[0].errorLines, c.errorLines);
    }
}

TEST_F(Closures, VerticalClosureStopsWhereAHeightIsMissing) {
    squareLoop();
    distanceList2D.clear();
    addDistance("1", "2", 100.0, 1.0);
    addDistance("2", "3", 99.96);
    addDistance("3", "4", 100.0, -0.7);
    addDistance("1", "4", 100.03, 0.75);
    const TraverseClosure c =
        computeTraverseClosure({"4", "1", "2", "3", "4", "1"}, {1, 1, loopInteriorRef});
    ASSERT_TRUE(c.computed);
    EXPECT_FALSE(c.measured.vertical.has_value());
    ASSERT_EQ(c.messages.size(), 1u);
    EXPECT_EQ(c.messages[0].boxText,
              "Could not find vertical difference, 2-3 when computing traverse closure.");
    EXPECT_TRUE(c.measured.legs[0].heightDiff.has_value());
    EXPECT_FALSE(c.measured.legs[2].heightDiff.has_value());
}

TEST_F(Closures, GpsLoopAddsVectorsForwardAndSubtractsThemBackward) {
    // A-B added, C-B subtracted (the loop runs B to C), C-A added:
    // X = 100 - 30 - 70.01 = -0.01, Y = 200 - 150 - 50 = 0, Z = -50 - 20 + 70.02 = 0.02;
    // perimeter = |(100, 200, -50)| + |(30, 150, 20)| + |(-70.01, -50, 70.02)|
    //           = 229.128784747792 + 154.272486205415 + 110.924300764080.
    testsupport::addGpsVector("A", "B", 100.0, 200.0, -50.0);
    testsupport::addGpsVector("C", "B", 30.0, 150.0, 20.0);
    testsupport::addGpsVector("C", "A", -70.01, -50.0, 70.02);
    const GpsLoopClosure loop = computeGpsLoopClosure({"A", "B", "C", "A"});
    ASSERT_TRUE(loop.computed);
    EXPECT_NEAR(loop.misclosureX, -0.01, 1e-12);
    EXPECT_NEAR(loop.misclosureY, 0.0, 1e-12);
    EXPECT_NEAR(loop.misclosureZ, 0.02, 1e-12);
    EXPECT_NEAR(loop.perimeter, 494.325571717287, 1e-9);
}

TEST_F(Closures, GpsLoopsThatCannotBeComputedSayWhy) {
    testsupport::addGpsVector("A", "B", 1.0, 2.0, 3.0);
    testsupport::addGpsVector("B", "C", 1.0, 2.0, 3.0);
    const std::vector<std::pair<std::vector<std::string>, std::vector<std::string>>> cases = {
        {{"A", "B", "A"},
         {"A triangle is the minimum geometric shape needed to compute a GPS loop closure."}},
        {{"A", "B", "C", "B"},
         {"In a GPS loop the starting and ending backsight point must match.", "  Starting pt. :A",
          "  Ending pt. :B"}},
        {{"A", "B", "C", "A"},
         {"Could not find the following GPS vector.", "  Starting pt.: C", "  Ending pt.: A"}},
    };
    for (const auto& [names, lines] : cases) {
        SCOPED_TRACE(lines.front());
        const GpsLoopClosure loop = computeGpsLoopClosure(names);
        EXPECT_FALSE(loop.computed);
        ASSERT_EQ(loop.messages.size(), 1u);
        EXPECT_EQ(loop.messages[0].errorLines, lines);
    }
    EXPECT_EQ(computeGpsLoopClosure({"A", "B", "C", "B"}).messages[0].boxText,
              "In a GPS loop the starting and ending point must match.\n  Starting pt. :A\n"
              "  Ending pt. :B");
}

// Traverse closures of the 3D chain: ground distances turned to the grid by
// the line's combined factor, elevations above the geoid, and every length
// in the project's unit. The traverse runs due north along the central
// meridian of UTM zone 17, where the grid scale factor is k0 = 0.9996
// exactly, so each line's factor is k0 times the mean of its ends'
// elevation factors R / (R + h), R = 6372000 m.

constexpr double usFeet = 3.2808333333333333;
constexpr double k0 = 0.9996;
constexpr double R = 6372000.0;
constexpr double feetTolerance = 1e-8;

stationRec meridianStation(const char* name, int type, double northing, double height) {
    stationRec s;
    setPointName(s.name, name);
    s.pointType = type;
    s.northing = northing;
    s.easting = 500000.0;
    s.elevation = height;
    s.geoidSep = -30.0;
    return s;
}

void addDistance3D(const char* from, const char* to, double meanDist, double heightDiff) {
    distanceObs d;
    setPointName(d.from, from);
    setPointName(d.to, to);
    d.meanDist = meanDist;
    d.reducedDist = meanDist - 1.0; // the mark-to-mark value is not the one closed on
    d.meanHeightDiff = heightDiff;
    distanceList.append(d);
}

double elevFactor(double h) {
    return R / (R + h);
}

class Closures3D : public ::testing::Test {
protected:
    // Backsight A south of 1, 1 and 3 fixed, 2 between them, closing
    // foresight B north of 3; heights 200 m except 3 (200.4 m). Observed:
    // 180 deg at 1 and 3, 180 deg 00' 06" at 2; ground 1-2 100.02 m (+1.0 m),
    // 3-2 99.99 m stored the other way round (+0.5 m from 3, so -0.5 from 2).
    void SetUp() override {
        resetProgramLists();
        projectVars.geodeticModel = 1;
        projectVars.gridSystem = gridUtm;
        projectVars.gridZone = 17;
        projectVars.ellipsoid = 15; // WGS 1984
        projectVars.HorizUnits = 1;
        fixedStationList.append(meridianStation("A", ptFixed, 4399900.0, 200.0));
        fixedStationList.append(meridianStation("1", ptFixed, 4400000.0, 200.0));
        stationList.append(meridianStation("2", ptUnknown, 4400100.0, 200.0));
        fixedStationList.append(meridianStation("3", ptFixed, 4400200.0, 200.4));
        fixedStationList.append(meridianStation("B", ptFixed, 4400300.0, 200.4));
        addAngle("A", "1", "2", radiansOf(180), angleList);
        addAngle("1", "2", "3", radiansOf(180, 0, 6), angleList);
        addAngle("2", "3", "B", radiansOf(180), angleList);
        addDistance3D("1", "2", 100.02, 1.0);
        addDistance3D("3", "2", 99.99, 0.5);
    }
    void TearDown() override { resetProgramLists(); }

    testsupport::ProjectVarsGuard guard;
};

TEST_F(Closures3D, PointToPointTraverseOnTheGridInFeet) {
    const TraverseClosure c = computeTraverseClosure({"A", "1", "2", "3", "B"}, {1, 1, pointToPoint});
    ASSERT_TRUE(c.computed);
    EXPECT_TRUE(c.messages.empty());
    const double d12 = 100.02 * k0 * elevFactor(200.0);
    const double d23 = 99.99 * k0 * (elevFactor(200.0) + elevFactor(200.4)) / 2.0;
    const double turn = radiansOf(0, 0, 6);
    ASSERT_EQ(c.measured.legs.size(), 3u);
    EXPECT_NEAR(c.measured.legs[0].distance, d12 * usFeet, feetTolerance);
    EXPECT_NEAR(c.measured.legs[1].distance, d23 * usFeet, feetTolerance);
    EXPECT_NEAR(*c.measured.legs[0].heightDiff, 1.0 * usFeet, feetTolerance);
    EXPECT_NEAR(*c.measured.legs[1].heightDiff, -0.5 * usFeet, feetTolerance);

    const TraversePass::Linear& linear = *c.measured.linear;
    EXPECT_NEAR(linear.correctNorthing, 4400200.0 * usFeet, feetTolerance * 1e3);
    EXPECT_NEAR(linear.correctEasting, 500000.0 * usFeet, feetTolerance * 1e3);
    EXPECT_NEAR(linear.computedNorthing - linear.correctNorthing,
                (d12 + d23 * std::cos(turn) - 200.0) * usFeet, feetTolerance);
    EXPECT_NEAR(linear.computedEasting - linear.correctEasting, d23 * std::sin(turn) * usFeet,
                feetTolerance);
    EXPECT_NEAR(linear.distanceTraversed, (d12 + d23) * usFeet, feetTolerance);

    // Elevations above the geoid: 200 + 30 at the start, 200.4 + 30 at 3.
    ASSERT_TRUE(c.measured.vertical.has_value());
    EXPECT_NEAR(c.measured.vertical->correctElevation, 230.4 * usFeet, feetTolerance);
    EXPECT_NEAR(c.measured.vertical->computedElevation, 230.5 * usFeet, feetTolerance);

    ASSERT_TRUE(c.measured.azimuths.has_value());
    EXPECT_NEAR(c.measured.azimuths->error_rad, turn, 1e-12);
}

TEST_F(Closures3D, AnUnknownEndLeavesTheGroundDistance) {
    // Without a position for 2 the line 1-2 keeps its measured length.
    stationList.clear();
    stationRec unplaced;
    setPointName(unplaced.name, "2");
    stationList.append(unplaced);
    const TraverseClosure c = computeTraverseClosure({"A", "1", "2", "3"}, {0, 0, pointToPoint});
    ASSERT_TRUE(c.computed);
    ASSERT_EQ(c.measured.legs.size(), 2u);
    EXPECT_NEAR(c.measured.legs[0].distance, 100.02 * usFeet, feetTolerance);
}

} // namespace
