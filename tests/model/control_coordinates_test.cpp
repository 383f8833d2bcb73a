// Control points merged from the coordinate records of the raw data.

#include "model/control_coordinates.hpp"

#include "model/program_lists.hpp"
#include "model/settings/global_vars.hpp"
#include "support/raw_list_builder.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

using namespace testsupport;

rawRec errors(double e, double n, double z) {
    rawRec r = stdErrRecord();
    r.stErrX = e;
    r.stErrY = n;
    r.stErrZ = z;
    return r;
}

rawRec point(double n, double e, double z) {
    rawRec r = coordRecord("P", n, e);
    r.elevation = z;
    return r;
}

class ControlCoordinates : public RawListTest {
protected:
    void SetUp() override {
        RawListTest::SetUp();
        projectVars.gridSystem = gridLocal;
        projectVars.geoidModel = 0;
        projectVars.geoidHt = 0.0;
    }
    stationRec only3D(const obsList<stationRec>& list) {
        EXPECT_EQ(list.count(), 1);
        stationRec r;
        list.getAt(0, r);
        return r;
    }
};

// Weights 1/0.01 and 1/0.02: (100.00/0.01 + 100.03/0.02) / (100 + 50) =
// 100.01; error sqrt(0.01^2 + 0.02^2) / 2.
TEST_F(ControlCoordinates, RepeatedWeightedPointsTakeTheMeanWeightedByOneOverTheError) {
    appendRaw({errors(0.01, 0.01, 0.01), point(500.00, 100.00, 10.0), errors(0.02, 0.02, 0.02),
               point(500.00, 100.03, 10.0)});
    ASSERT_EQ(addStationsFromRaw3D("P", 0), controlAdded);
    const stationRec p = only3D(controlStationList);
    EXPECT_NEAR(p.easting, 100.01, 1e-9);
    EXPECT_NEAR(p.stdErrE, std::sqrt(0.0001 + 0.0004) / 2, 1e-15);
    EXPECT_EQ(p.pointType, ptWeightedControl);
    EXPECT_EQ(p.resetFlag, 0);
    EXPECT_NE(warnings().find("NE Values for P exceeds tolerance:"), std::string::npos);
}

TEST_F(ControlCoordinates, IdenticalRecordsRaiseNoWarningAndAnyDifferenceDoes) {
    appendRaw({errors(0.01, 0.01, 0.01), point(500, 100, 10), point(500, 100, 10)});
    addStationsFromRaw3D("P", 0);
    EXPECT_EQ(warnings(), "");
    appendRaw({point(500, 100, 10.001)});
    controlStationList.clear();
    addStationsFromRaw3D("P", 0);
    EXPECT_NE(warnings().find("Z Values for P exceeds tolerance:"), std::string::npos);
}

// The placements of the edge cases: {E, N, Z errors in force, the record's
// values} -> list, type, errors.
TEST_F(ControlCoordinates, StandardErrorsDecideTypeAndList) {
    const struct {
        const char* name;
        double sE, sN, sZ;
        bool horizontal;
        bool given;
        int type;
        double errE, errZ, tolerance;
    } rows[] = {
        {"elevation only, weighted", 0.01, 0.01, 0.02, false, false, ptWeightedControl, 1e5, 0.02,
         1e-9},
        {"fixed position, weighted elevation", -2, -2, 0.02, true, false, ptWeightedControl, 1e-7,
         0.02, 1e-15},
        {"all given", -1, -1, -1, true, true, ptGiven, -1, -1, 0},
        {"given position, weighted elevation", -1, -1, 0.02, true, false, ptWeightedControl, 1e5,
         0.02, 1e-9},
        {"all fixed", -2, -2, -2, true, false, ptFixed, -2, 1e-7, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        resetProgramLists();
        rawRec record = row.horizontal ? point(500, 100, 10) : point(notComputed, notComputed, 10);
        appendRaw({errors(row.sE, row.sN, row.sZ), record});
        ASSERT_EQ(addStationsFromRaw3D("P", 0), controlAdded);
        const stationRec p = only3D(row.given ? givenStationList : controlStationList);
        EXPECT_EQ(p.pointType, row.type);
        EXPECT_NEAR(p.stdErrE, row.errE, row.tolerance);
        EXPECT_NEAR(p.stdErrZ, row.errZ, row.tolerance);
        EXPECT_EQ(p.elevation, 10.0);
        EXPECT_EQ(isSet(p.easting), row.horizontal);
        EXPECT_EQ(p.geoidSep, 0.0);
    }
}

// A record without a position leaves the easting and northing errors at -1
// (given) for the records after it, until a standard-error record sets them
// again. Errors in force 0.01, 0.01, 0.02 unless a row sets others; every
// positioned record is N 500, E 100, every record Z 10.
// - position-less, then positioned: both records meet (-1, -1, 0.02), not
//   all alike, so each easting replaces the sums with the substitute 1e10
//   and count = 1: sE = sqrt(1e10) / 1 = 1e5; the elevations add up,
//   sZ = sqrt(2 x 0.02^2) / 1 = 0.028284.
// - positioned, position-less, positioned: the first adds (0.01), the
//   second leaves the easting that holds a value alone, the third replaces
//   it with the substitute: sE = 1e5; sZ = sqrt(3 x 0.02^2) / 1 = 0.034641.
// - position-less, errors 0.03 0.03 0.02, positioned: the new record puts
//   0.03 in force, all weighted, so the easting adds to the substitute:
//   sE = sqrt(1e10 + 0.03^2) / 2 = 5e4; sZ = sqrt(2 x 0.02^2) / 2 = 0.014142.
TEST_F(ControlCoordinates, ARecordWithoutAPositionLeavesItsAxesGivenForTheRecordsAfter) {
    const rawRec positioned = point(500, 100, 10);
    const rawRec positionLess = point(notComputed, notComputed, 10);
    const struct {
        const char* name;
        std::vector<rawRec> records;
        double errE, errZ;
    } rows[] = {
        {"position-less record first", {positionLess, positioned}, 1e5, std::sqrt(2 * 0.0004)},
        {"position-less record between",
         {positioned, positionLess, positioned},
         1e5,
         std::sqrt(3 * 0.0004)},
        {"errors set again after the position-less record",
         {positionLess, errors(0.03, 0.03, 0.02), positioned},
         5e4,
         std::sqrt(2 * 0.0004) / 2},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        resetProgramLists();
        appendRaw({errors(0.01, 0.01, 0.02)});
        for (const rawRec& record : row.records)
            rawDataList.append(record);
        ASSERT_EQ(addStationsFromRaw3D("P", 0), controlAdded);
        const stationRec p = only3D(controlStationList);
        EXPECT_NEAR(p.easting, 100.0, 1e-9);
        EXPECT_NEAR(p.northing, 500.0, 1e-9);
        EXPECT_NEAR(p.stdErrE, row.errE, 1e-6);
        EXPECT_NEAR(p.stdErrN, row.errE, 1e-6);
        EXPECT_NEAR(p.stdErrZ, row.errZ, 1e-12);
        EXPECT_EQ(p.pointType, ptWeightedControl);
    }
}

// A record without an elevation must neither put the unset value into the
// mean nor wipe out the elevation another record gave the point; a point
// that never gets one keeps it unset.
TEST_F(ControlCoordinates, AnUnsetElevationNeverBecomesAValue) {
    appendRaw({errors(0.01, 0.01, 0.01), point(500, 100, 10.0), point(500, 100, notComputed)});
    addStationsFromRaw3D("P", 0);
    EXPECT_DOUBLE_EQ(only3D(controlStationList).elevation, 10.0);

    resetProgramLists();
    appendRaw({errors(0.01, 0.01, 0.01), point(500, 100, notComputed), point(500, 100, 10.0)});
    addStationsFromRaw3D("P", 0);
    EXPECT_DOUBLE_EQ(only3D(controlStationList).elevation, 10.0);

    resetProgramLists();
    appendRaw({errors(0.01, 0.01, 0.01), point(500, 100, notComputed)});
    addStationsFromRaw3D("P", 0);
    const stationRec p = only3D(controlStationList);
    EXPECT_FALSE(isSet(p.elevation));
    EXPECT_EQ(p.pointType, ptWeightedControl);
}

TEST_F(ControlCoordinates, AFixedRecordAfterAWeightedOneWinsWithAWarning) {
    appendRaw(
        {errors(0.01, 0.01, 0.01), point(500, 100, 10), errors(-2, -2, -2), point(501, 101, 11)});
    addStationsFromRaw3D("P", 0);
    const stationRec p = only3D(controlStationList);
    EXPECT_EQ(p.easting, 101.0);
    EXPECT_EQ(p.pointType, ptFixed);
    EXPECT_NE(warnings().find("  Point: P appeared multiple times at least once as a floating or "
                              "fixed point."),
              std::string::npos);
}

TEST_F(ControlCoordinates, TheScanLeavesTheErrorsInForceAsItFoundThem) {
    readerStdErrs[seEasting] = 0.05;
    appendRaw({coordRecord("P", 1, 1), errors(0.01, 0.01, 0.01)});
    addStationsFromRaw3D("P", 0);
    EXPECT_EQ(readerStdErrs[seEasting], 0.05);
    EXPECT_EQ(addStationsFromRaw3D("P", 5), controlIndexPastEnd);
}

TEST_F(ControlCoordinates, TwoDimensionalPointsKeepSeparateHorizontalAndVerticalStates) {
    projectVars.geoidHt = -30.0;
    appendRaw({errors(0.01, 0.02, 0.03), point(500.0, 100.0, 10.0), point(500.0, 100.0, 10.2)});
    ASSERT_EQ(addCoordRecsFromRaw2D("P", 0), controlAdded);
    coordRec p;
    ASSERT_EQ(controlPointList2D.getAt(0, p), 0);
    EXPECT_EQ(p.easting, 100.0);
    EXPECT_NEAR(p.stdErrN, std::sqrt(2 * 0.0004) / 2, 1e-15);
    EXPECT_NEAR(p.elevation, 10.1, 1e-12);
    EXPECT_NEAR(p.stdErrZ, std::sqrt(2 * 0.0009) / 2, 1e-15);
    EXPECT_EQ(p.geoidSep, -30.0);
    EXPECT_EQ(p.pointType, ptWeightedControl);
    EXPECT_EQ(p.vertType, vtWeightedElevation);
    EXPECT_NE(warnings().find("Z Values for P exceeds tolerance:"), std::string::npos);

    resetProgramLists();
    appendRaw({errors(-1, -1, -2), point(500.0, 100.0, notComputed)});
    addCoordRecsFromRaw2D("P", 0);
    ASSERT_EQ(givenPointList2D.getAt(0, p), 0);
    EXPECT_EQ(p.pointType, ptGiven);
    EXPECT_FALSE(isSet(p.elevation));
    EXPECT_EQ(p.geoidSep, 0.0);
    EXPECT_EQ(p.vertType, vtFreeElevation);
}

TEST_F(ControlCoordinates, AFixedTwoDimensionalPositionAfterAWeightedOneWinsWithAWarning) {
    appendRaw({errors(0.01, 0.01, -2), point(500, 100, 10), errors(-2, -2, -2),
               point(501, 101, notComputed)});
    addCoordRecsFromRaw2D("P", 0);
    coordRec p;
    ASSERT_EQ(controlPointList2D.getAt(0, p), 0);
    EXPECT_EQ(p.easting, 101.0);
    EXPECT_EQ(p.pointType, ptFixed);
    EXPECT_EQ(p.elevation, 10.0);
    EXPECT_EQ(p.vertType, vtFixedElevation);
    EXPECT_NE(warnings().find("appeared multiple times"), std::string::npos);
}

} // namespace
