// Preliminary coordinates of the 2D chain on synthetic networks: every
// observation is computed from true coordinates without noise (see
// prelim_network.hpp), so each method must give the truth back to rounding.

#include "engine/prelim_coords_2d.hpp"

#include "engine/prelim_chain_2d.hpp"
#include "engine/prelim_network.hpp"
#include "engine/prelim_passes_shared.hpp"
#include "platform/shell_services.hpp"
#include "support/project_vars_guard.hpp"

#include <gtest/gtest.h>

#include <limits>

using testsupport::SyntheticNetwork;

namespace {

class Prelim2D : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = setActiveShell(&shell);
        projectVars.gridSystem = gridLocal;
    }
    void TearDown() override { setActiveShell(previous_); }

    // Runs the whole computation; returns the points left.
    int run() { return prelimCoords2D(status); }

    testsupport::ProjectVarsGuard guard;
    RecordingShell shell;
    SyntheticNetwork net;
    int status = -1;

private:
    ShellServices* previous_ = nullptr;
};

// Two fixed points and a closed loop of new points around them.
void layOutTraverse(SyntheticNetwork& net) {
    net.at("A", 5000.000, 5000.000, 100.000);
    net.at("B", 5312.417, 4871.233, 104.250);
    net.at("1", 4811.562, 5253.781, 98.125);
    net.at("2", 4903.118, 5602.409, 101.870);
    net.at("3", 5255.903, 5544.016, 97.402);
}

// A traverse from A to B through 1, 2, 3 whose first setup (at 1) sees A but
// no known direction: no point can be placed without an assumed azimuth.
void unorientedTraverse(SyntheticNetwork& net) {
    layOutTraverse(net);
    net.fixedPoints({"A", "B"});
    net.unknowns({"1", "2", "3"});
    net.angles({{"A", "1", "2"}, {"1", "2", "3"}, {"2", "3", "B"}});
    net.distances({{"A", "1"}, {"1", "2"}, {"2", "3"}});
}

} // namespace

TEST_F(Prelim2D, AnOrientedTraversePlacesEveryStationAndCarriesElevations) {
    layOutTraverse(net);
    net.fixedPoints({"A", "B"});
    net.unknowns({"1", "2", "3"});
    net.angles({{"B", "A", "1"}, {"A", "1", "2"}, {"1", "2", "3"}, {"2", "3", "A"}});
    // 2-1 stored against the direction of the traverse.
    net.distances({{"A", "1"}, {"2", "1"}, {"2", "3"}});

    EXPECT_EQ(run(), 0);
    EXPECT_EQ(status, prelimInstrumentOrBacksight) << "nothing was left after the angle passes";
    net.expectAllPlaced();
    for (const char* p : {"1", "2", "3"})
        net.expectElevation(p);
}

TEST_F(Prelim2D, RadiationsFromAKnownSetupArePlacedByTheTraversePass) {
    layOutTraverse(net);
    net.at("R1", 5100.250, 5210.875, 99.500);
    net.at("R2", 4890.010, 4890.020, 103.333);
    net.fixedPoints({"A", "B"});
    net.unknowns({"R1", "R2"});
    net.angles({{"B", "A", "R1"}, {"B", "A", "R2"}});
    // R2-A reversed: the height difference must turn with it.
    net.distances({{"A", "R1"}, {"R2", "A"}});

    EXPECT_EQ(traversePass2D(), 2);
    net.expectAllPlaced();
    net.expectElevation("R1");
    net.expectElevation("R2");
}

TEST_F(Prelim2D, TheTraversePassOrientsOnAnObservedAzimuthWhenTheBacksightIsUnknown) {
    layOutTraverse(net);
    net.fixed("A");
    net.unknown("B");
    net.unknown("1");
    net.azimuth("A", "B");
    net.angle("B", "A", "1");
    net.distance2D("A", "1");

    EXPECT_EQ(traversePass2D(), 1);
    net.expectAtTruth("1");
}

// A record with only a levelled height difference has no distance: used as
// one it would throw the foresight a thousand million units away.
TEST_F(Prelim2D, AHeightDifferenceWithoutDistancePlacesNothing) {
    layOutTraverse(net);
    net.fixedPoints({"A", "B"});
    net.unknown("1");
    net.angle("B", "A", "1");
    distanceObs2D levelled;
    setPointName(levelled.from, "A");
    setPointName(levelled.to, "1");
    levelled.vertDiff = -1.875;
    distanceList2D.append(levelled);

    EXPECT_EQ(traversePass2D(), 0);
    coordRec p;
    setPointName(p.name, "1");
    EXPECT_EQ(solveStation2D(p), 0);
    EXPECT_FALSE(isSet(p.easting));
    EXPECT_NE(run(), 0);
    pointList2D.find("1", p);
    EXPECT_FALSE(isSet(p.easting));
}

TEST_F(Prelim2D, TwoSightedDirectionsIntersect) {
    struct Row {
        const char* name;
        const char* angleAtB[2]; // backsight, foresight
        int status;
    };
    const Row rows[] = {
        // A foresight only: left to the point-by-point solution.
        {"P a foresight from A and B", {"A", "P"}, prelimOtherPoints},
        // A backsight is placed by the angle pass; its direction is the
        // foresight's less the angle.
        {"P the backsight at B", {"P", "A"}, prelimInstrumentOrBacksight},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SyntheticNetwork n;
        layOutTraverse(n);
        n.at("P", 5477.777, 5333.333);
        n.fixed("A");
        n.fixed("B");
        n.unknown("P");
        n.angle("B", "A", "P");
        n.angle(row.angleAtB[0], "B", row.angleAtB[1]);
        EXPECT_EQ(run(), 0);
        EXPECT_EQ(status, row.status);
        n.expectAllPlaced();
    }
}

TEST_F(Prelim2D, AnAzimuthAndADistanceFromAKnownPointPlaceAPoint) {
    layOutTraverse(net);
    net.fixedPoints({"A", "B"});
    net.unknowns({"1", "2"});
    net.azimuth("A", "1");
    net.azimuth("2", "B"); // the known point at the azimuth's end: the direction turns by pi
    net.distances({{"1", "A"}, {"B", "2"}});

    EXPECT_EQ(run(), 0);
    net.expectAllPlaced();
}

TEST_F(Prelim2D, ThreeDistancesPlaceAPointOnEitherSideOfTheKnownPoints) {
    net.at("A", 1000.0, 1000.0);
    net.at("B", 1000.0, 2000.0);
    net.at("C", 1800.0, 1500.0);
    net.at("P", 1312.5, 1712.25);  // inside the triangle
    net.at("Q", 612.125, 1488.75); // beyond A-B
    net.at("S", 1650.5, 2400.25);  // beyond B-C
    net.fixedPoints({"A", "B", "C"});
    for (const char* p : {"P", "Q", "S"}) {
        net.unknown(p);
        for (const char* k : {"A", "B", "C"})
            net.distance2D(p, k);
    }

    EXPECT_EQ(run(), 0);
    net.expectAllPlaced();
}

// Each candidate pair (P1 or P2 of A-B, P3 or P4 of B-C) holds the truth in
// one of the four rows; the rule must pick it every time. Expected points
// are the true ones the distances were computed from.
TEST(IntersectThreeDistances, PicksTheCommonPointOfBothMirrorPairs) {
    struct Row {
        const char* name;
        double n, e;
    };
    const double nA = 0, eA = 0, nB = 0, eB = 100, nC = 80, eC = 150;
    const Row rows[] = {
        {"left of A-B, left of B-C", 40.0, 30.0},
        {"left of A-B, right of B-C", 70.0, 60.0},
        {"right of A-B, left of B-C", -35.0, 140.0},
        {"right of A-B, right of B-C", -20.0, 60.0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const double dA = std::hypot(row.n - nA, row.e - eA);
        const double dB = std::hypot(row.n - nB, row.e - eB);
        const double dC = std::hypot(row.n - nC, row.e - eC);
        double n = 0, e = 0;
        ASSERT_EQ(intersectThreeDistances(nA, eA, dA, nB, eB, dB, nC, eC, dC, n, e), 0);
        EXPECT_NEAR(n, row.n, 1e-9);
        EXPECT_NEAR(e, row.e, 1e-9);
    }
    double n = 7, e = 7;
    EXPECT_EQ(intersectThreeDistances(nA, eA, 10, nB, eB, 10, nC, eC, 50, n, e), 1)
        << "circles of A and B 100 apart with radii 10 do not meet";
    EXPECT_EQ(n, 7);
}

TEST_F(Prelim2D, AResectionFromTwoAnglesAtTheNewPoint) {
    struct Row {
        const char* name;
        const char* first[2];  // backsight, foresight of the first angle
        const char* second[2]; // of the second
    };
    // One setup with one backsight and two foresights is the usual field
    // case; the other rows chain the angles.
    const Row rows[] = {
        {"shared backsight, smaller angle first", {"A", "B"}, {"A", "C"}},
        {"shared backsight, larger angle first", {"A", "C"}, {"A", "B"}},
        {"first foresight is the second backsight", {"A", "B"}, {"B", "C"}},
        {"first backsight is the second foresight", {"B", "C"}, {"A", "B"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SyntheticNetwork n;
        n.at("A", 2000.0, 1000.0);
        n.at("B", 2300.0, 1900.0);
        n.at("C", 1400.0, 2100.0);
        n.at("P", 1500.123, 1300.456);
        n.fixedPoints({"A", "B", "C"});
        n.unknown("P");
        n.angle(row.first[0], "P", row.first[1]);
        n.angle(row.second[0], "P", row.second[1]);
        int placed = 0;
        EXPECT_EQ(anglePass2D(placed), 0);
        EXPECT_EQ(placed, 1);
        n.expectAllPlaced();
    }
}

// On the circle through the three known points every point sees them under
// the same angles: there is no resection, and the point must stay unplaced
// rather than be counted as solved without coordinates.
TEST_F(Prelim2D, AResectionOnTheDangerCircleDoesNotCountAsSolved) {
    const double r = 500.0;
    const auto onCircle = [&](const char* name, double degrees) {
        const double t = testsupport::radiansOf(degrees);
        net.at(name, 3000.0 + r * std::cos(t), 3000.0 + r * std::sin(t));
    };
    onCircle("A", 10);
    onCircle("B", 100);
    onCircle("C", 200);
    onCircle("P", 300);
    net.fixedPoints({"A", "B", "C"});
    net.unknown("P");
    net.angles({{"A", "P", "B"}, {"B", "P", "C"}});

    coordRec p;
    setPointName(p.name, "P");
    pointList2D.find("P", p);
    EXPECT_EQ(solveStation2D(p), 0);
    EXPECT_FALSE(isSet(p.easting));
    EXPECT_NE(run(), 0);
    EXPECT_EQ(status, prelimInstrumentOrBacksight);
    pointList2D.find("P", p);
    EXPECT_FALSE(isSet(p.easting));
}

TEST_F(Prelim2D, TwoDistancesAndTheAngleBetweenThemChooseTheSide) {
    struct Row {
        const char* name;
        double n, e;         // true position of P
        bool distanceAFirst; // order of the distances in the list
        bool backsightA;     // angle from A to B, else from B to A
    };
    const Row rows[] = {
        {"P left of A-B, angle A to B", 1500.0, 900.0, true, true},
        {"P left of A-B, angle B to A", 1500.0, 900.0, true, false},
        {"P right of A-B, angle A to B", 1400.0, 1700.0, true, true},
        {"P right of A-B, distances from B first", 1400.0, 1700.0, false, true},
        {"P left of A-B, distances from B first, angle B to A", 1500.0, 900.0, false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SyntheticNetwork n;
        n.at("A", 1000.0, 1000.0);
        n.at("B", 2000.0, 1300.0);
        n.at("P", row.n, row.e);
        n.fixedPoints({"A", "B"});
        n.unknown("P");
        if (row.backsightA)
            n.angle("A", "P", "B");
        else
            n.angle("B", "P", "A");
        n.distance2D("P", row.distanceAFirst ? "A" : "B");
        n.distance2D("P", row.distanceAFirst ? "B" : "A");
        EXPECT_EQ(prelimCoords2D(status), 0);
        n.expectAllPlaced();
    }
}

// A walk that fails on an instrument because its neighbour comes later in
// the list walks again and completes.
TEST_F(Prelim2D, TheAngleWalkRepeatsWhileItPlacesPoints) {
    layOutTraverse(net);
    net.fixedPoints({"A", "B"});
    net.unknowns({"1", "2", "3"});
    net.angles({{"2", "3", "A"}, {"1", "2", "3"}, {"A", "1", "2"}, {"B", "A", "1"}});
    net.distances({{"A", "1"}, {"1", "2"}, {"2", "3"}});

    int placed = 0;
    EXPECT_EQ(anglePass2D(placed), 0);
    EXPECT_EQ(placed, 3);
    net.expectAllPlaced();
}

// Two fixed points at the ends of a traverse whose first setup sees no
// known backsight: solved with an assumed azimuth from A and turned so that
// B comes out where it is.
TEST_F(Prelim2D, AnUnorientedTraverseBetweenTwoControlPointsIsTurnedOntoThem) {
    unorientedTraverse(net);
    net.distance2D("3", "B");
    const auto fixedBefore = testsupport::recordsOf(fixedPointList2D);

    EXPECT_EQ(run(), 0);
    net.expectAllPlaced();
    EXPECT_EQ(testsupport::recordsOf(fixedPointList2D), fixedBefore);
    EXPECT_EQ(azimuthList2D.count(), 0);
}

TEST_F(Prelim2D, OneControlPointAndAnAzimuthInsideTheNetworkOrientIt) {
    layOutTraverse(net);
    net.fixed("A");
    net.unknowns({"1", "2", "3"});
    net.angles({{"A", "1", "2"}, {"1", "2", "3"}});
    net.distances({{"A", "1"}, {"1", "2"}, {"2", "3"}});
    net.azimuth("1", "2");
    const auto azimuthsBefore = testsupport::recordsOf(azimuthList2D);
    const auto fixedBefore = testsupport::recordsOf(fixedPointList2D);

    EXPECT_EQ(hasEnoughControl2D(), 1);
    EXPECT_EQ(run(), 0);
    net.expectAllPlaced();
    EXPECT_EQ(testsupport::recordsOf(azimuthList2D), azimuthsBefore);
    EXPECT_EQ(testsupport::recordsOf(fixedPointList2D), fixedBefore);
}

// A point fixed by distances alone from stations of the assumed frame is
// placed in that frame; it must be turned with the others, not left without
// coordinates while the pass reports every point placed.
TEST_F(Prelim2D, APointTrilateratedInTheAssumedFrameIsTurnedToo) {
    unorientedTraverse(net);
    net.at("D", 5050.505, 5404.040);
    net.unknown("D");
    net.distances({{"3", "B"}, {"D", "1"}, {"D", "2"}, {"D", "3"}});

    EXPECT_EQ(run(), 0);
    net.expectAllPlaced();
}

// A point nothing can place: the assumed frame does not help, and the lists
// must come back as they were (known points keep their coordinates, the
// fixed list keeps every fixed point) for the failure listing and whatever
// runs after it.
TEST_F(Prelim2D, AFailedAssumedAzimuthPassPutsTheListsBack) {
    unorientedTraverse(net);
    net.at("W", 4000.0, 4000.0);
    net.at("K", 5600.0, 5100.0);
    net.weighted("K");
    net.unknown("W");
    net.angle("3", "B", "K");
    net.distance2D("W", "3"); // one distance alone cannot place W
    const auto pointsBefore = testsupport::recordsOf(pointList2D);
    const auto fixedBefore = testsupport::recordsOf(fixedPointList2D);

    // Left in the assumed frame: W, and B and K that lost their positions
    // there and cannot get them back without a distance.
    EXPECT_EQ(assumedAzimuthPass2D(), 3);
    EXPECT_EQ(testsupport::recordsOf(pointList2D), pointsBefore);
    EXPECT_EQ(testsupport::recordsOf(fixedPointList2D), fixedBefore);
    EXPECT_EQ(azimuthList2D.count(), 0);

    EXPECT_NE(run(), 0);
    net.expectAtTruth("K", 0.0);
}

TEST_F(Prelim2D, WithoutAnOriginOrAReferenceTheAssumedAzimuthIsImpossible) {
    layOutTraverse(net);
    net.fixed("A");
    net.unknown("1");
    net.distance2D("A", "1");
    EXPECT_EQ(assumedAzimuthPass2D(), assumedAzimuthImpossible) << "no known point in an angle";

    net.unknown("2");
    net.angle("A", "1", "2");
    net.distance2D("1", "2");
    EXPECT_EQ(assumedAzimuthPass2D(), assumedAzimuthImpossible)
        << "one known point and no azimuth: nothing to turn onto";
    EXPECT_EQ(fixedPointList2D.count(), 1);
    EXPECT_EQ(pointList2D.count(), 2);
}

TEST_F(Prelim2D, OneControlPointWithoutAzimuthTriesNoAssumedAzimuth) {
    layOutTraverse(net);
    net.fixed("A");
    net.unknown("1");
    net.unknown("2");
    net.angle("A", "1", "2");
    net.distance2D("A", "1");
    net.distance2D("1", "2");

    EXPECT_EQ(hasEnoughControl2D(), 0);
    EXPECT_EQ(run(), 2);
    EXPECT_EQ(status, prelimInstrumentOrBacksight);
    coordRec p;
    pointList2D.find("1", p);
    EXPECT_FALSE(isSet(p.easting));
}

TEST_F(Prelim2D, AKnownNetworkStillGetsItsElevations) {
    layOutTraverse(net);
    net.fixed("A");
    net.weighted("B");
    net.unknown("1", true);
    net.unknowns({"2", "3"});
    // Known positions, no elevations yet: 1 carries its own.
    for (const char* p : {"1", "2", "3"}) {
        coordRec r;
        pointList2D.find(p, r);
        r.northing = net.truth(p).northing;
        r.easting = net.truth(p).easting;
        pointList2D.replace(r);
    }
    net.distance2D("3", "2"); // walked before 2 has an elevation: needs a second walk
    net.distance2D("1", "2");

    EXPECT_EQ(run(), 0);
    EXPECT_EQ(status, prelimInstrumentOrBacksight);
    net.expectElevation("2");
    net.expectElevation("3");
    EXPECT_EQ(shell.messages, std::vector<std::string>{"Computing Initial Z's"});
}

TEST_F(Prelim2D, ElevationsFlowBothWaysFromAFixedPoint) {
    layOutTraverse(net);
    net.fixed("A");
    net.unknowns({"1", "2"});
    // 1 gets A's elevation less the difference 1 -> A; 2 then 1's plus 1 -> 2.
    net.distances({{"1", "A"}, {"1", "2"}});
    EXPECT_EQ(computeInitialZ2D(), 0);
    net.expectElevation("1");
    net.expectElevation("2");
}

TEST_F(Prelim2D, GivenPointsSeedThePointListWithoutOverwritingElevations) {
    layOutTraverse(net);
    net.at("G", 5200.5, 5100.5, 111.0);
    net.fixedPoints({"A", "B"});
    net.given("G");
    coordRec g;
    pointList2D.find("G", g);
    g.elevation = 99.0;
    pointList2D.replace(g);

    EXPECT_EQ(run(), 0);
    net.expectAtTruth("G", 0.0);
    pointList2D.find("G", g);
    EXPECT_EQ(g.elevation, 99.0);
}

// S is a carried point (type -1) standing as a backsight, with two sighted
// directions that would place it; 1 makes the angle pass run.
TEST_F(Prelim2D, ACarriedPointIsNeverCountedNorSolved) {
    layOutTraverse(net);
    net.at("S", 5477.777, 5333.333);
    net.fixedPoints({"A", "B"});
    net.unknown("S", false, ptCarried);
    net.unknown("1");
    net.angles({{"B", "A", "S"}, {"S", "B", "A"}, {"B", "A", "1"}, {"A", "1", "B"}});
    net.distance2D("A", "1");

    EXPECT_EQ(run(), 0);
    net.expectAtTruth("1");
    coordRec s;
    pointList2D.find("S", s);
    EXPECT_FALSE(isSet(s.easting));
}

TEST_F(Prelim2D, AllProgressStaysWithinTheBar) {
    unorientedTraverse(net);
    net.angle("B", "A", "1");
    EXPECT_EQ(run(), 0);
    ASSERT_FALSE(shell.percents.empty());
    EXPECT_EQ(shell.percents.front(), 0);
    EXPECT_EQ(shell.percents.back(), 0) << "the bar is reset at the end";
    for (int p : shell.percents)
        EXPECT_TRUE(p >= 0 && p < 100) << p;
}

// An infinite height difference would give 1 an infinite elevation and 2,
// from it, inf - inf: a NaN that reads as unset and would be filled again on
// every pass. Such elevations are not stored, so the passes end.
TEST_F(Prelim2D, NonFiniteCarriedElevationsAreNotStoredAndThePassesEnd) {
    layOutTraverse(net);
    net.fixedPoints({"A", "B"});
    net.unknowns({"1", "2"});
    const auto heightDifference = [](const char* from, const char* to, double dh) {
        distanceObs2D line;
        setPointName(line.from, from);
        setPointName(line.to, to);
        line.vertDiff = dh;
        distanceList2D.append(line);
    };
    heightDifference("A", "1", std::numeric_limits<double>::infinity());
    heightDifference("2", "1", 1.0);
    EXPECT_EQ(computeInitialZ2D(), 0);
    for (const char* name : {"1", "2"}) {
        coordRec p;
        ASSERT_GE(pointList2D.find(name, p), 0);
        EXPECT_FALSE(isSet(p.elevation)) << name;
    }
}

namespace {

constexpr int zigZagCount = 50;

std::string zigZagName(int i) {
    return "P" + std::to_string(i);
}

// A zig-zag traverse of 50 points on legs of about 80 m, fixed at both ends
// (P1, P2 and P49, P50). Every setup Pi backsights P(i-1) and sights P(i+1);
// braced, it also sights the point after next, P(i+2), some 140 m away: one
// angle and one distance more per setup.
void layOutZigZag(SyntheticNetwork& net, bool braced) {
    for (int i = 1; i <= zigZagCount; ++i)
        net.at(zigZagName(i), 40.0 * (i % 2) + 5.0 * std::sin(1.7 * i),
               70.0 * i + 5.0 * std::cos(2.3 * i), 100.0);
    for (int i : {1, 2, zigZagCount - 1, zigZagCount})
        net.fixed(zigZagName(i));
    for (int i = 3; i < zigZagCount - 1; ++i)
        net.unknown(zigZagName(i));
    for (int i = 2; i < zigZagCount; ++i) {
        for (int ahead = 1; ahead <= (braced ? 2 : 1) && i + ahead <= zigZagCount; ++ahead) {
            net.angle(zigZagName(i - 1), zigZagName(i), zigZagName(i + ahead));
            net.distance2D(zigZagName(i), zigZagName(i + ahead));
        }
    }
}

// A grid of `rows` x `columns` points, rows 200 m apart and columns 100 m,
// each moved by up to 20 m, fixed at its four corners. Every point is a setup
// that backsights its first neighbour of west, north, east, south and
// measures the angle and the distance to each other one. No corner sees a
// known direction, so the grid is solved from one corner in an assumed
// frame and turned onto another.
void layOutGrid(SyntheticNetwork& net, int rows, int columns) {
    const auto name = [columns](int row, int column) {
        return "G" + std::to_string(row * columns + column);
    };
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            net.at(name(r, c), 200.0 * r + 20.0 * std::sin(1.3 * r + 2.9 * c),
                   100.0 * c + 20.0 * std::cos(3.1 * r + 0.7 * c), 100.0);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) {
            const bool corner = (r == 0 || r == rows - 1) && (c == 0 || c == columns - 1);
            corner ? net.fixed(name(r, c)) : net.unknown(name(r, c));
        }
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) {
            std::vector<std::string> neighbours;
            if (c > 0)
                neighbours.push_back(name(r, c - 1));
            if (r + 1 < rows)
                neighbours.push_back(name(r + 1, c));
            if (c + 1 < columns)
                neighbours.push_back(name(r, c + 1));
            if (r > 0)
                neighbours.push_back(name(r - 1, c));
            for (std::size_t k = 1; k < neighbours.size(); ++k)
                net.angle(neighbours[0], name(r, c), neighbours[k]);
            for (const std::string& n : neighbours)
                if (n > name(r, c))
                    net.distance2D(name(r, c), n);
        }
}

} // namespace

// A point placed from a setup takes that setup's orientation with it. Turned
// from the direction to a backsight that was placed along another path, the
// setup would pass the difference of the two paths' errors on, grown by the
// ratio of sight lengths (140 m / 80 m for the brace): the far points of the
// braced traverse ran away by kilometres. Oriented through the point it was
// placed from, every setup carries the orientation on as a traverse does,
// and the braces make nothing worse.
//
// Exact observations come back to rounding. Observations written as a field
// book holds them (0.1", 1 mm) may drift by the rounding carried along 47
// legs of 80 m: at most 80 m x 0.05" x 47^2 / 2 + 47 x 0.5 mm = 45 mm.
TEST_F(Prelim2D, ABracedZigZagTraverseIsPlacedAsWellAsItsLegsAlone) {
    struct Row {
        const char* name;
        bool braced;
        double angleStep_sec;
        double distanceStep_m;
        double tolerance_m;
    };
    const Row rows[] = {
        {"legs only, exact", false, 0.0, 0.0, 1e-6},
        {"braced, exact", true, 0.0, 0.0, 1e-6},
        {"legs only, field book", false, 0.1, 0.001, 0.045},
        {"braced, field book", true, 0.1, 0.001, 0.045},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SyntheticNetwork zigZag;
        zigZag.roundTo(row.angleStep_sec, row.distanceStep_m);
        layOutZigZag(zigZag, row.braced);
        EXPECT_EQ(run(), 0);
        zigZag.expectAllPlaced(row.tolerance_m);
    }
}

// The grid is a traverse along every path from the corner where it starts:
// no path has more than 16 legs of at most 250 m, so with observations
// rounded to 0.1" and 1 mm no point drifts by more than 250 m x 0.05" x
// 16^2 / 2 + 16 x 0.5 mm = 23 mm, and the turn onto the other corner (2 km
// away) moves none by more than twice that again.
TEST_F(Prelim2D, AGridSolvedInTheAssumedFrameKeepsEveryPointNearItsTruth) {
    net.roundTo(0.1, 0.001);
    layOutGrid(net, 9, 9);
    EXPECT_EQ(run(), 0);
    net.expectAllPlaced(0.07);
}

namespace {

// The fixed K and L, the new points I and `newPoint` and G at its true
// position, for the observations to be computed from.
void layOutAroundK(SyntheticNetwork& net, const std::string& newPoint) {
    net.at("K", 1000.0, 1000.0, 100.0);
    net.at("L", 1000.0, 800.0, 100.0);
    net.at("I", 1080.0, 1040.0, 100.0);
    net.at("G", 1120.0, 1020.0, 100.0);
    net.at(newPoint, 1100.0, 1140.0, 100.0);
    net.fixed("K");
    net.fixed("L");
    net.unknown("I");
    net.unknown(newPoint);
}

// G becomes a given point whose approximate position lies 1 m off its true
// one.
void giveGOneMetreOff(SyntheticNetwork& net) {
    net.at("G", 1120.0, 1021.0, 100.0);
    net.given("G");
}

} // namespace

// I is placed from the fixed point K. Its setup backsights G, a given point
// whose approximate position lies 1 m off its true one, and sights K and P.
// P is placed in the direction of the setup oriented through K, the point I
// was placed from; turned from G's approximate position it would lie about
// 2 m off.
TEST_F(Prelim2D, ASetupIsOrientedThroughThePointItWasPlacedFrom) {
    layOutAroundK(net, "P");
    net.angles({{"L", "K", "I"}, {"G", "I", "K"}, {"G", "I", "P"}});
    net.distances({{"K", "I"}, {"I", "P"}});
    giveGOneMetreOff(net);

    EXPECT_EQ(run(), 0);
    net.expectAtTruth("I");
    net.expectAtTruth("P");
}

// X is the instrument of an angle and has distances to three known points:
// the fixed K, I (placed from K) and G, a given point whose approximate
// position lies 1 m off its true one. I's setup, oriented through K, sights
// X. X is placed by that distance and direction from I; intersected from
// the three distances it would take a share of G's error, and a setup at X
// would have no point placed along its own path to orient through.
TEST_F(Prelim2D, AConsistentDirectionAndDistanceComeBeforeThreeDistances) {
    layOutAroundK(net, "X");
    net.angles({{"L", "K", "I"}, {"K", "I", "X"}, {"I", "X", "G"}});
    net.distances({{"G", "X"}, {"K", "X"}, {"I", "X"}, {"K", "I"}});
    giveGOneMetreOff(net);

    EXPECT_EQ(run(), 0);
    net.expectAtTruth("I");
    net.expectAtTruth("X");
}

// The zig-zag traverse's legs, its setups listed from the far end: a walk of
// the angles meets each setup before the one that orients it, so walk after
// walk would each place one more station, trying every station still
// unplaced each time (about 50 x 50 / 2 tries). Working outward from the
// stations a walk placed, the pass tries each station a few times.
TEST_F(Prelim2D, TheAnglePassWorksOutwardFromTheStationsAWalkPlaced) {
    for (int i = 1; i <= zigZagCount; ++i)
        net.at(zigZagName(i), 40.0 * (i % 2), 70.0 * i, 100.0);
    net.fixedPoints({"P1", "P2"});
    for (int i = 3; i <= zigZagCount; ++i)
        net.unknown(zigZagName(i));
    for (int i = zigZagCount - 1; i >= 2; --i) {
        net.angle(zigZagName(i - 1), zigZagName(i), zigZagName(i + 1));
        net.distance2D(zigZagName(i), zigZagName(i + 1));
    }
    int tries = 0;
    int placed = 0;
    const int stalled =
        prelimpasses::solveAngleStations<prelim2d::chain>(placed, [&tries](coordRec& point) {
            ++tries;
            return solveStation2D(point);
        });

    EXPECT_EQ(stalled, 0);
    EXPECT_EQ(placed, zigZagCount - 3); // the last station is no instrument or backsight
    EXPECT_LE(tries, 4 * zigZagCount);
    for (int i = 3; i < zigZagCount; ++i)
        net.expectAtTruth(zigZagName(i), 1e-6);
}
