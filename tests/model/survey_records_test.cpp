#include "model/observation_records.hpp"
#include "model/point_records.hpp"
#include "support/project_vars_guard.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <new>
#include <string>

namespace {

// Builds a record in storage full of a byte pattern, so that a field the
// constructor forgot shows the pattern instead of a lucky zero.
template <class Record> struct onDirtyStorage {
    onDirtyStorage() {
        std::memset(static_cast<void*>(bytes), 0xA5, sizeof bytes);
        record = new (bytes) Record;
    }
    ~onDirtyStorage() { record->~Record(); }
    onDirtyStorage(const onDirtyStorage&) = delete;
    onDirtyStorage& operator=(const onDirtyStorage&) = delete;

    alignas(Record) unsigned char bytes[sizeof(Record)];
    Record* record;
};

void expectEmptyName(const pointNameField& name) {
    for (char c : name)
        EXPECT_EQ(c, '\0');
}

constexpr double unset = -999999999.0;

} // namespace

TEST(SurveyRecords, NewStationIsBlank) {
    onDirtyStorage<stationRec> fresh;
    const stationRec& r = *fresh.record;
    expectEmptyName(r.name);
    for (double v : {r.easting, r.northing, r.elevation, r.geoidSep, r.latitude, r.longitude,
                     r.ecefX, r.ecefY, r.ecefZ})
        EXPECT_EQ(v, unset);
    for (double v : {r.stdErrE, r.stdErrN, r.stdErrZ, r.adjustValue})
        EXPECT_EQ(v, 0.0);
    for (int v : {r.pointType, r.adjustInts[0], r.adjustInts[1], r.adjustInts[2], r.prelimCopied})
        EXPECT_EQ(v, 0);
    EXPECT_EQ(r.resetFlag, 1);
    EXPECT_TRUE(r.description.empty());
    EXPECT_TRUE(r.description2.empty());
}

TEST(SurveyRecords, NewCoordRecIsBlank) {
    onDirtyStorage<coordRec> fresh;
    const coordRec& r = *fresh.record;
    expectEmptyName(r.name);
    for (double v : {r.easting, r.northing, r.elevation, r.geoidSep})
        EXPECT_EQ(v, unset);
    for (double v : {r.stdErrE, r.stdErrN, r.stdErrZ})
        EXPECT_EQ(v, 0.0);
    EXPECT_EQ(r.gridFactor, 1.0);
    EXPECT_EQ(r.elevFactor, 1.0);
    EXPECT_EQ(r.pointType, 0);
    EXPECT_EQ(r.resetFlag, 1);
    EXPECT_EQ(r.vertType, 0);
    EXPECT_TRUE(r.description.empty());
    EXPECT_TRUE(r.description2.empty());
}

TEST(SurveyRecords, NewObservationsAreBlank) {
    {
        onDirtyStorage<angleObs> fresh;
        const angleObs& r = *fresh.record;
        expectEmptyName(r.backsight);
        expectEmptyName(r.foresight);
        expectEmptyName(r.instrument);
        EXPECT_EQ(r.angle, unset);
        EXPECT_EQ(r.stdErr, unset);
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.spareInt, 0);
    }
    {
        onDirtyStorage<angleObs2D> fresh;
        const angleObs2D& r = *fresh.record;
        expectEmptyName(r.backsight);
        expectEmptyName(r.foresight);
        expectEmptyName(r.instrument);
        EXPECT_EQ(r.angle, unset);
        EXPECT_EQ(r.stdErr, unset);
        EXPECT_EQ(r.arcToChord, 0.0);
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.spareInt, 0);
    }
    {
        onDirtyStorage<distanceObs> fresh;
        const distanceObs& r = *fresh.record;
        expectEmptyName(r.from);
        expectEmptyName(r.to);
        for (double v : {r.reducedDist, r.stdErr, r.meanDist, r.meanHeightDiff})
            EXPECT_EQ(v, unset);
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.spareInt, 0);
    }
    {
        onDirtyStorage<distanceObs2D> fresh;
        const distanceObs2D& r = *fresh.record;
        expectEmptyName(r.from);
        expectEmptyName(r.to);
        for (double v : {r.distance, r.vertDiff, r.stdErrDist, r.stdErrVert})
            EXPECT_EQ(v, unset);
        EXPECT_EQ(r.gridFactor, 1.0);
        EXPECT_EQ(r.elevFactor, 1.0);
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.vertType, -1) << "no vertical difference yet";
    }
    {
        onDirtyStorage<verticalObs> fresh;
        const verticalObs& r = *fresh.record;
        expectEmptyName(r.to);
        expectEmptyName(r.from);
        EXPECT_EQ(r.zenith, unset);
        EXPECT_EQ(r.stdErr, unset);
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.spareInt, 0);
    }
    {
        onDirtyStorage<azimuthObs> fresh;
        const azimuthObs& r = *fresh.record;
        expectEmptyName(r.from);
        expectEmptyName(r.to);
        EXPECT_EQ(r.azimuth, unset);
        EXPECT_EQ(r.convergence, 0.0);
        EXPECT_EQ(r.stdErr, unset);
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.spareInt, 0);
    }
    {
        onDirtyStorage<levelObs> fresh;
        const levelObs& r = *fresh.record;
        expectEmptyName(r.from);
        expectEmptyName(r.to);
        for (double v :
             {r.ellipsoidalDiff, r.orthometricDiff, r.stdErr, r.geoidSepFrom, r.geoidSepTo})
            EXPECT_EQ(v, unset);
        EXPECT_EQ(r.spareValue, 0.0);
        EXPECT_EQ(r.spareInt, 0);
        for (const std::string* text :
             {&r.fromDescription, &r.fromDescription2, &r.toDescription, &r.toDescription2})
            EXPECT_TRUE(text->empty());
    }
    {
        onDirtyStorage<gpsVectorRec> fresh;
        const gpsVectorRec& r = *fresh.record;
        expectEmptyName(r.from);
        expectEmptyName(r.to);
        EXPECT_EQ(fixedText(r.comment), "");
        for (double v : {r.dX, r.dY, r.dZ, r.varX, r.varY, r.varZ, r.covXY, r.covXZ, r.covYZ})
            EXPECT_EQ(v, unset);
        EXPECT_EQ(r.spareValues[0], 0.0);
        EXPECT_EQ(r.spareValues[1], 0.0);
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.spareInt, 0);
    }
    {
        onDirtyStorage<ptDescRec> fresh;
        expectEmptyName(fresh.record->name);
        EXPECT_TRUE(fresh.record->description.empty());
        EXPECT_TRUE(fresh.record->description2.empty());
    }
    {
        onDirtyStorage<ptNameRec> fresh;
        expectEmptyName(fresh.record->name);
    }
    {
        onDirtyStorage<ptAliasRec> fresh;
        expectEmptyName(fresh.record->alias);
        expectEmptyName(fresh.record->pointName);
    }
}

namespace {

stationRec usedStation() {
    stationRec r;
    setPointName(r.name, "CP12");
    r.easting = 1000.0;
    r.northing = 2000.0;
    r.elevation = 30.0;
    r.geoidSep = -28.5;
    r.latitude = 0.7;
    r.longitude = -1.2;
    r.ecefX = 1.0;
    r.ecefY = 2.0;
    r.ecefZ = 3.0;
    r.stdErrE = -2.0;
    r.stdErrN = -2.0;
    r.stdErrZ = 0.05;
    r.adjustValue = 7.5;
    r.pointType = ptFixed;
    r.adjustInts[0] = 4;
    r.adjustInts[1] = 5;
    r.adjustInts[2] = 6;
    r.resetFlag = 0;
    r.description = "IRON PIN";
    r.description2 = "FOUND";
    r.prelimCopied = 1;
    return r;
}

coordRec usedCoordRec() {
    coordRec r;
    setPointName(r.name, "BM3");
    r.easting = 500.0;
    r.northing = 600.0;
    r.elevation = 12.0;
    r.geoidSep = 3.0;
    r.stdErrE = 0.01;
    r.stdErrN = 0.02;
    r.stdErrZ = 0.03;
    r.gridFactor = 0.9996;
    r.elevFactor = 0.99999;
    r.pointType = ptWeightedControl;
    r.resetFlag = 0;
    r.vertType = vtFixedElevation;
    r.description = "DISK";
    r.description2 = "SET 1990";
    return r;
}

} // namespace

TEST(SurveyRecords, StationResetLeavesNameElevationErrorAndAdjustmentFields) {
    stationRec r = usedStation();
    initStationRec(r);

    stationRec expected;
    setPointName(expected.name, "CP12");
    expected.stdErrZ = 0.05;
    expected.adjustValue = 7.5;
    expected.adjustInts[0] = 4;
    expected.adjustInts[1] = 5;
    expected.adjustInts[2] = 6;
    EXPECT_EQ(r, expected);
    EXPECT_EQ(r.stdErrE, 0.0) << "a point built from a name alone is not fixed";
    EXPECT_EQ(r.resetFlag, 1);
    EXPECT_EQ(r.prelimCopied, 0);
}

TEST(SurveyRecords, CoordRecResetTakesTheGeoidSeparationFromTheProject) {
    struct Row {
        int geoidModel;
        double geoidHt;
        double expectedSep;
    };
    const Row rows[] = {{0, -31.25, -31.25}, {1, -31.25, unset}, {2, 15.0, unset}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.geoidModel);
        testsupport::ProjectVarsGuard guard;
        projectVars.geoidModel = row.geoidModel;
        projectVars.geoidHt = row.geoidHt;
        coordRec r = usedCoordRec();
        initCoordRec(r);

        coordRec expected;
        setPointName(expected.name, "BM3");
        expected.geoidSep = row.expectedSep;
        expected.stdErrZ = 0.03;
        expected.description2 = "SET 1990";
        EXPECT_EQ(r, expected);
    }
}

TEST(SurveyRecords, CopiesCarryEveryField) {
    const stationRec station = usedStation();
    stationRec stationCopy(station);
    EXPECT_EQ(stationCopy, station);
    const coordRec point = usedCoordRec();
    coordRec pointCopy;
    pointCopy = point;
    EXPECT_EQ(pointCopy, point);
    EXPECT_EQ(pointCopy.description2, "SET 1990");
}

TEST(SurveyRecords, OnlyValuesAboveTheUnsetMarkCountAsSet) {
    EXPECT_FALSE(isSet(-999999999.0));
    EXPECT_FALSE(isSet(-1e12));
    EXPECT_TRUE(isSet(-999999998.9));
    EXPECT_TRUE(isSet(0.0));
}
