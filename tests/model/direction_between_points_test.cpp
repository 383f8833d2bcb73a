#include "model/direction_between_points.hpp"
#include "model/program_lists.hpp"
#include "support/angles.hpp"

#include <gtest/gtest.h>

#include <cmath>

using testsupport::pi;

namespace {

constexpr double rho = 648000.0 / pi; // seconds of arc per radian
constexpr double untouched = -12345.0;

template <class Point> Point pointAt(const char* name, double n, double e, double err) {
    Point point;
    setPointName(point.name, name);
    point.northing = n;
    point.easting = e;
    point.stdErrE = err;
    point.stdErrN = err;
    return point;
}

template <class Angle>
Angle angleAt(const char* backsight, const char* instrument, const char* foresight, double a,
              double err_sec) {
    Angle angle;
    setPointName(angle.backsight, backsight);
    setPointName(angle.instrument, instrument);
    setPointName(angle.foresight, foresight);
    angle.angle = a;
    angle.stdErr = err_sec;
    return angle;
}

azimuthObs azimuthOf(const char* from, const char* to, double az, double err_sec) {
    azimuthObs azimuth;
    setPointName(azimuth.from, from);
    setPointName(azimuth.to, to);
    azimuth.azimuth = az;
    azimuth.stdErr = err_sec;
    return azimuth;
}

// A at the origin, B 100 north of it, C 100 east of it; coordinate errors
// 0.01 at A, 0.02 at B, 0.03 at C in both coordinates.
// Direction errors (sqrt((dN sE)^2 + (dE sN)^2) / d^2 with sE, sN of the pair):
// A-B: dE = 0, so 100 sqrt(0.01^2 + 0.02^2) / 100^2; A-C: 100 sqrt(0.01^2 + 0.03^2) / 100^2.
const double errAB = std::hypot(0.01, 0.02) / 100;
const double errAC = std::hypot(0.01, 0.03) / 100;
// The angle at A from B clockwise to C is 90° with 5".
const double angleErr = 5.0 / rho;

class DirectionBetweenPoints : public ::testing::Test {
protected:
    void SetUp() override { resetProgramLists(); }
    void TearDown() override { resetProgramLists(); }
};

struct Row {
    const char* from;
    const char* to;
    double direction;
    double stdErr;
};

// Each row asked with the angle cursor at the start of `angleList`.
void expectDirections3D(int cursor, std::initializer_list<Row> rows) {
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << row.from << " -> " << row.to);
        double direction = untouched;
        double stdErr = untouched;
        angleList.seekCursor(cursor, 0);
        ASSERT_EQ(azimuthBetween3D(direction, stdErr, row.from, row.to, cursor), directionFound);
        EXPECT_NEAR(direction, row.direction, 1e-12);
        EXPECT_NEAR(stdErr, row.stdErr, 1e-15);
    }
}

} // namespace

TEST_F(DirectionBetweenPoints, FromAnAngleAtAKnownStation3D) {
    stationList.append(pointAt<stationRec>("A", 0, 0, 0.01));
    stationList.append(pointAt<stationRec>("B", 100, 0, 0.02));
    fixedStationList.append(pointAt<stationRec>("C", 0, 100, 0.03));
    angleList.append(angleAt<angleObs>("B", "A", "C", pi / 2, 5.0));
    const int cursor = angleList.openCursor(0);
    // The backsight B has coordinates:
    expectDirections3D(cursor, {{"A", "C", pi / 2, std::hypot(errAB, angleErr)}, // dir(A,B) + a
                                {"C", "A", 3 * pi / 2, std::hypot(errAB, angleErr)},
                                {"A", "B", 0, errAB},  // dir(A,B)
                                {"B", "A", pi, errAB}, // dir(B,A)
                                {"a", "c", pi / 2, std::hypot(errAB, angleErr)}});
    // Only the foresight C has coordinates:
    stationList.clear();
    stationList.append(pointAt<stationRec>("A", 0, 0, 0.01));
    expectDirections3D(cursor, {{"A", "B", 0, errAC},                        // dir(A,C) - a
                                {"B", "A", pi, std::hypot(errAC, angleErr)}, // dir(A,C) - a + pi
                                {"A", "C", pi / 2, errAC},                   // dir(A,C)
                                {"C", "A", 3 * pi / 2, errAC}});             // dir(C,A)
    // The instrument without coordinates gives nothing, though B and C are known.
    stationList.clear();
    stationList.append(pointAt<stationRec>("B", 100, 0, 0.02));
    double direction = untouched;
    double stdErr = untouched;
    angleList.seekCursor(cursor, 0);
    EXPECT_EQ(azimuthBetween3D(direction, stdErr, "A", "C", cursor), noDirection);
    EXPECT_EQ(direction, untouched);
    EXPECT_EQ(stdErr, untouched);
    angleList.closeCursor(cursor);
}

// Azimuth observations keep their errors in seconds of arc; the direction's
// error comes out in radians, like the errors that come from coordinates.
TEST_F(DirectionBetweenPoints, LastAzimuthJoiningThePointsWinsAndErrorsAreRadians3D) {
    azimuthList.append(azimuthOf("A", "B", 0.3, 2.0));
    azimuthList.append(azimuthOf("B", "A", 3.5, 4.0));
    stationList.append(pointAt<stationRec>("A", 0, 0, 0.01));
    stationList.append(pointAt<stationRec>("B", 100, 0, 0.02));
    angleList.append(angleAt<angleObs>("B", "A", "C", pi / 2, 5.0));
    const int cursor = angleList.openCursor(0);
    double direction = 0, stdErr = 0;
    ASSERT_EQ(azimuthBetween3D(direction, stdErr, "A", "B", cursor), directionFound);
    EXPECT_NEAR(direction, 3.5 + pi - 2 * pi, 1e-12); // the reverse one turned by pi
    EXPECT_NEAR(stdErr, 4.0 / rho, 1e-18);
    ASSERT_EQ(azimuthBetween3D(direction, stdErr, "B", "A", cursor), directionFound);
    EXPECT_NEAR(direction, 3.5, 1e-12);
    EXPECT_EQ(angleList.cursorIndex(cursor), 0) << "the angles are not searched";
    EXPECT_EQ(azimuthList.openCursor(0), 0) << "the azimuth walk gave its cursor back";
}

TEST_F(DirectionBetweenPoints, AngleSearchRunsFromTheCursorRoundToIt) {
    stationList.append(pointAt<stationRec>("A", 0, 0, 0.01));
    stationList.append(pointAt<stationRec>("B", 100, 0, 0.02));
    // Five angles; only those at positions 1 (0.1) and 3 (0.3) are at a known station.
    for (int i = 0; i < 5; ++i)
        angleList.append(angleAt<angleObs>("B", i % 2 == 1 ? "A" : "Z", "T", 0.1 * i, 1.0));
    const int cursor = angleList.openCursor(3);
    double direction = 0, stdErr = 0;
    struct Step {
        double direction;
        int cursorAfter;
    };
    for (const Step& step : {Step{0.3, 4}, Step{0.1, 2}, Step{0.3, 4}}) {
        ASSERT_EQ(azimuthBetween3D(direction, stdErr, "A", "T", cursor), directionFound);
        EXPECT_NEAR(direction, step.direction, 1e-12); // dir(A,B) = 0 plus the angle
        EXPECT_EQ(angleList.cursorIndex(cursor), step.cursorAfter);
    }
    direction = untouched;
    EXPECT_EQ(azimuthBetween3D(direction, stdErr, "A", "Q", cursor), noDirection);
    EXPECT_EQ(direction, untouched);
    angleList.closeCursor(cursor);
}

TEST_F(DirectionBetweenPoints, TwoDimensionalChain) {
    pointList2D.append(pointAt<coordRec>("A", 0, 0, 0.01));
    fixedPointList2D.append(pointAt<coordRec>("B", 100, 0, 0.02));
    angleList2D.append(angleAt<angleObs2D>("B", "A", "C", pi / 2, 5.0));
    azimuthList2D.append(azimuthOf("D", "A", 0.25, 3.0));
    const int cursor = angleList2D.openCursor(0);
    double direction = 0, stdErr = 0;
    ASSERT_EQ(azimuthBetween2D(direction, stdErr, "A", "D", cursor), directionFound);
    EXPECT_NEAR(direction, 0.25 + pi, 1e-12);
    EXPECT_NEAR(stdErr, 3.0 / rho, 1e-18);
    ASSERT_EQ(azimuthBetween2D(direction, stdErr, "C", "A", cursor), directionFound);
    EXPECT_NEAR(direction, 3 * pi / 2, 1e-12); // dir(A,B) + a + pi
    EXPECT_NEAR(stdErr, std::hypot(errAB, angleErr), 1e-15);
    EXPECT_EQ(angleList2D.cursorIndex(cursor), 1);
    angleList2D.closeCursor(cursor);
}
