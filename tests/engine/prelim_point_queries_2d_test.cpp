// The look-ups and counts over the 2D lists that the preliminary
// coordinates and the driver share.

#include "engine/prelim_coords_2d.hpp"

#include "engine/prelim_network.hpp"
#include "model/program_lists.hpp"
#include "support/project_vars_guard.hpp"

#include <gtest/gtest.h>

using testsupport::pointRecord;

namespace {

class PointQueries2D : public ::testing::Test {
protected:
    void SetUp() override { resetProgramLists(); }
    void TearDown() override { resetProgramLists(); }

    static void azimuth(const char* from, const char* to) {
        azimuthObs az;
        setPointName(az.from, from);
        setPointName(az.to, to);
        az.azimuth = 0.5;
        azimuthList2D.append(az);
    }

    testsupport::ProjectVarsGuard guard;
};

} // namespace

TEST_F(PointQueries2D, AKnownPointIsTakenFromTheFixedListFirstAndOnlyWithAPosition) {
    fixedPointList2D.append(pointRecord("F", ptFixed, 20, 10));
    fixedPointList2D.append(pointRecord("Bare", ptUnknown));
    pointList2D.append(pointRecord("F", ptUnknown, 21, 11));
    pointList2D.append(pointRecord("bare", ptUnknown, 22, 12));
    pointList2D.append(pointRecord("U", ptUnknown));

    coordRec p;
    setPointName(p.name, "f");
    ASSERT_EQ(findKnownStation2D(p), 0);
    EXPECT_EQ(p.easting, 10);
    setPointName(p.name, "BARE");
    ASSERT_EQ(findKnownStation2D(p), 0) << "a fixed record without position gives way";
    EXPECT_EQ(p.easting, 12);
    setPointName(p.name, "U");
    p.easting = 99;
    EXPECT_EQ(findKnownStation2D(p), 1);
    EXPECT_EQ(p.easting, 99) << "left as it was";

    ASSERT_EQ(getStation2D(p), 0) << "coordinates not required";
    EXPECT_FALSE(isSet(p.easting));
    setPointName(p.name, "Bare");
    ASSERT_EQ(getStation2D(p), 0);
    EXPECT_EQ(p.pointType, ptUnknown);
    EXPECT_FALSE(isSet(p.easting)) << "the fixed list comes first";

    EXPECT_EQ(lookupStation2D("u"), 0);
    EXPECT_EQ(lookupStation2D("F"), 0);
    EXPECT_EQ(lookupStation2D("nowhere"), 1);
}

TEST_F(PointQueries2D, AngleRolesOfAPoint) {
    angleObs2D a;
    setPointName(a.backsight, "BS");
    setPointName(a.instrument, "IN");
    setPointName(a.foresight, "FS");
    angleList2D.append(a);
    struct Row {
        const char* name;
        int angleStation, instOrBacksight;
    };
    const Row rows[] = {{"BS", 1, 1}, {"in", 1, 1}, {"FS", 1, 0}, {"XX", 0, 0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(isAngleStation2D(row.name), row.angleStation);
        EXPECT_EQ(isInstOrBacksightPt2D(row.name), row.instOrBacksight);
    }
}

// Fixed points count as control by their position and type; once they
// counted only when their vertical type was 1 (a weighted benchmark), so a
// project with fixed control was told it had none.
TEST_F(PointQueries2D, ControlPointsAreWeightedOrFixedPointsWithAPosition) {
    coordRec fixedA = pointRecord("A", ptFixed, 20, 10);
    fixedA.vertType = vtFixedElevation;
    coordRec fixedB = pointRecord("B", ptFixed, 40, 30);
    fixedB.vertType = vtFreeElevation;
    fixedPointList2D.append(fixedA);
    fixedPointList2D.append(fixedB);
    fixedPointList2D.append(pointRecord("T", ptAzimuthDummy, 60, 50)); // end of a lone azimuth
    fixedPointList2D.append(pointRecord("F", ptUnknown)); // its start, without position
    pointList2D.append(pointRecord("W", ptWeightedControl, 2, 1));
    pointList2D.append(pointRecord("V", ptWeightedControl)); // no position yet
    pointList2D.append(pointRecord("G", ptGiven, 4, 3));
    pointList2D.append(pointRecord("U", ptUnknown, 6, 5));

    EXPECT_EQ(countControlPoints2D(), 3);
}

TEST_F(PointQueries2D, EnoughControlIsTwoPointsOrOnePointAndAnAzimuth) {
    struct Row {
        const char* name;
        int weighted, fixed, dummies, given, azimuths;
        int expected;
    };
    const Row rows[] = {
        {"nothing", 0, 0, 0, 0, 0, 0},
        {"one fixed point", 0, 1, 0, 0, 0, 0},
        {"one fixed point and an azimuth", 0, 1, 0, 0, 1, 1},
        {"one weighted point and an azimuth", 1, 0, 0, 0, 1, 1},
        {"one given point and an azimuth", 0, 0, 0, 1, 1, 1},
        {"one fixed point and its azimuth dummy", 0, 1, 1, 0, 0, 0},
        {"two fixed points", 0, 2, 0, 0, 0, 1},
        {"a weighted and a given point", 1, 0, 0, 1, 0, 1},
        {"an azimuth alone", 0, 0, 0, 0, 1, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        resetProgramLists();
        for (int i = 0; i < row.weighted; ++i)
            controlPointList2D.append(
                pointRecord(("W" + std::to_string(i)).c_str(), ptWeightedControl));
        for (int i = 0; i < row.fixed; ++i)
            fixedPointList2D.append(pointRecord(("F" + std::to_string(i)).c_str(), ptFixed, 1, 2));
        for (int i = 0; i < row.dummies; ++i)
            fixedPointList2D.append(pointRecord(("T" + std::to_string(i)).c_str(), ptAzimuthDummy));
        for (int i = 0; i < row.given; ++i)
            givenPointList2D.append(pointRecord(("G" + std::to_string(i)).c_str(), ptGiven, 1, 2));
        for (int i = 0; i < row.azimuths; ++i)
            azimuth("F0", "X");
        EXPECT_EQ(hasEnoughControl2D(), row.expected);
        EXPECT_EQ(getAzimuthCount2D(), row.azimuths);
    }
}
