// Sights reduced to the marks and merged per line, checked against the
// exact geometry of the same sights on a sphere.

#include "model/mark_to_mark.hpp"

#include "model/program_lists.hpp"
#include "model/settings/global_vars.hpp"
#include "support/raw_list_builder.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

using namespace testsupport;

constexpr double pi = std::numbers::pi;
constexpr double degree = pi / 180.0;

// In a local grid the reduction takes the line's mid-point at latitude 0;
// for a line running east-west the radius of curvature there is the
// prime-vertical radius at the equator, the GRS 80 semi-major axis.
constexpr double sphereRadius = 6378137.0;

// Slope distance and zenith from a point at height h1 above the sphere to a
// point at height h2 above it, the central angle between them `theta`; the
// zenith is measured from the radius through the first point.
struct sphereSight {
    double slope;
    double zenith;
};

sphereSight onSphere(double h1, double h2, double theta) {
    const double r1 = sphereRadius + h1;
    const double r2 = sphereRadius + h2;
    const double x = r2 * std::sin(theta);
    const double up = r2 * std::cos(theta) - r1;
    const double slope = std::hypot(x, up);
    return {slope, std::acos(up / slope)};
}

stationRec station(const char* name, double e, double n, double z) {
    stationRec r;
    initStationRec(r);
    setPointName(r.name, name);
    r.easting = e;
    r.northing = n;
    r.elevation = z;
    return r;
}

void addLine(const char* from, const char* to) {
    distanceObs d;
    setPointName(d.from, from);
    setPointName(d.to, to);
    distanceList.append(d);
    verticalObs v;
    setPointName(v.to, to);
    setPointName(v.from, from);
    verticalList.append(v);
}

rawRec measured(rawRec r, double slope, double zenith, double distErr = 0.003,
                double zenithErr = 3.0) {
    r.distance = slope;
    r.zenithOrVertDiff = zenith;
    r.distStdErr = distErr;
    r.zenithStdErr = zenithErr;
    return r;
}

rawRec marks(rawRec r, double slope, double zenith, double distErr, double zenithErr) {
    r.markSlopeDistance = slope;
    r.markZenith = zenith;
    r.distStdErr = distErr;
    r.zenithStdErr = zenithErr;
    return r;
}

class MarkToMark : public RawListTest {
protected:
    void SetUp() override {
        RawListTest::SetUp();
        projectVars.geodeticModel = 1;
        projectVars.gridSystem = gridLocal;
        projectVars.curvRefract = 0;
        projectVars.HorizUnits = 0;
        projectVars.hDistTol = 0.01;
        projectVars.vAngTol = 10.0 / 3600.0 * degree;
        fixedStationList.append(station("I", 0.0, 0.0, 100.0));
        stationList.append(station("T", 500.0, 0.0, 110.0));
        addLine("I", "T");
    }

    rawRec reducedSetup() {
        rawRec r;
        rawDataList.seek(0);
        rawDataList.get(r);
        return r;
    }

    // Instrument mark 100, HI 1.6; target mark 110, target height 1.3; 500 m
    // of arc at sea level.
    static constexpr double hi = 1.6;
    static constexpr double ht = 1.3;
    const double theta = 500.0 / sphereRadius;
    const sphereSight measuredSight = onSphere(100.0 + hi, 110.0 + ht, theta);
    const sphereSight markSight = onSphere(100.0, 110.0, theta);
};

// The distance reduction is exact on the sphere; the zenith reduction turns
// the measured zenith by the angle the height difference of HI and target
// subtends, a plane approximation that on this sight agrees with the sphere
// to 0.003" (tolerance 0.05").
TEST_F(MarkToMark, ASlopeSightReducesToTheMarksAsOnTheSphere) {
    appendRaw({measured(withHeights(setupRecord("I", "T"), hi, ht), measuredSight.slope,
                        measuredSight.zenith)});
    ASSERT_EQ(reduceRawSlopeToMarks(), 0);
    const rawRec r = reducedSetup();
    EXPECT_NEAR(r.markSlopeDistance, markSight.slope, 1e-8);
    EXPECT_NEAR(r.markZenith, markSight.zenith, 0.05 / 3600 * degree);

    distanceObs d;
    ASSERT_GE(distanceList.find("I", "T", d), 0);
    EXPECT_NEAR(d.reducedDist, markSight.slope, 1e-8);
    EXPECT_NEAR(d.stdErr, 0.003, 1e-15); // one sight, no centering errors
    verticalObs v;
    ASSERT_GE(verticalList.find("I", "T", v), 0);
    EXPECT_NEAR(v.zenith, markSight.zenith, 0.05 / 3600 * degree);
    EXPECT_NEAR(v.stdErr, 3.0, 1e-12);
}

// The same sight recorded as horizontal distance and vertical difference
// must give the same marks; read as slope and zenith its vertical
// difference of about 9.9 m would be a zenith of 9.9 rad.
TEST_F(MarkToMark, ASightRecordedAsHorizontalAndVerticalReducesAsSuch) {
    rawRec hv = withHeights(setupRecord("I", "T"), hi, ht);
    hv.sightForm = sightHorizVert;
    hv = measured(hv, measuredSight.slope * std::sin(measuredSight.zenith),
                  measuredSight.slope * std::cos(measuredSight.zenith));
    appendRaw({hv});
    ASSERT_EQ(reduceRawSlopeToMarks(), 0);
    const rawRec r = reducedSetup();
    EXPECT_NEAR(r.markSlopeDistance, markSight.slope, 1e-8);
    EXPECT_NEAR(r.markZenith, markSight.zenith, 0.05 / 3600 * degree);
}

TEST_F(MarkToMark, AZenithWithoutDistanceGivesOnlyAMarkZenith) {
    rawRec sight = withHeights(setupRecord("I", "T"), hi, ht);
    sight.zenithOrVertDiff = measuredSight.zenith;
    appendRaw({sight});
    reduceRawSlopeToMarks();
    const rawRec r = reducedSetup();
    EXPECT_FALSE(isSet(r.markSlopeDistance));
    EXPECT_NEAR(r.markZenith, markSight.zenith, 0.05 / 3600 * degree);
    distanceObs d;
    distanceList.find("I", "T", d);
    EXPECT_FALSE(isSet(d.reducedDist));
    verticalObs v;
    verticalList.find("I", "T", v);
    EXPECT_NEAR(v.zenith, markSight.zenith, 0.05 / 3600 * degree);
}

TEST_F(MarkToMark, ASightToAStationWithoutCoordinatesStaysUnreduced) {
    appendRaw({measured(withHeights(setupRecord("I", "Q"), hi, ht), 100.0, pi / 2)});
    rawRec r = reducedSetup();
    EXPECT_EQ(reduceSetupSight(r), sightNotReduced);
    reduceRawSlopeToMarks();
    EXPECT_FALSE(isSet(reducedSetup().markSlopeDistance));
}

TEST_F(MarkToMark, AnEmptyRawListReturnsOne) {
    EXPECT_EQ(reduceRawSlopeToMarks(), 1);
}

// A -> B at 88 deg and B -> A at 92 deg (88 deg seen from A), and a face-two
// reading of 272 deg (88 deg in face one): zenith 88 deg, no spread, error
// (3 x 3" / 3) / sqrt(3) = sqrt(3)".
TEST_F(MarkToMark, RepeatedZenithsMergeAsSeenFromTheFirstPoint) {
    addLine("A", "B");
    appendRaw({marks(setupRecord("A", "B"), 100.000, 88 * degree, 0.004, 3),
               marks(foresightRecord("B"), 100.002, 272 * degree, 0.004, 3),
               marks(setupRecord("B", "A"), 100.004, 92 * degree, 0.004, 3)});
    ASSERT_EQ(mergeMarkToMarkDist3D("A", "B", 0), 0);
    verticalObs v;
    ASSERT_GE(verticalList.find("A", "B", v), 0);
    EXPECT_NEAR(v.zenith, 88 * degree, 1e-12);
    EXPECT_NEAR(v.stdErr, std::sqrt(3.0), 1e-12);
    distanceObs d;
    distanceList.find("A", "B", d);
    EXPECT_NEAR(d.reducedDist, 100.002, 1e-12);
    EXPECT_NEAR(d.stdErr, 0.004 * 3 / 3 / std::sqrt(3.0), 1e-15);
    EXPECT_EQ(warnings(), "");
    EXPECT_EQ(mergeMarkToMarkDist3D("A", "B", 3), 1);
}

TEST_F(MarkToMark, AZenithRecordStoredTheOtherWayRoundIsTurned) {
    verticalObs v;
    setPointName(v.to, "A");
    setPointName(v.from, "B");
    verticalList.append(v);
    appendRaw({marks(setupRecord("A", "B"), notComputed, 88 * degree, 0, 3)});
    mergeMarkToMarkVert3D("A", "B", 0);
    ASSERT_GE(verticalList.find("B", "A", v), 0);
    EXPECT_NEAR(v.zenith, 92 * degree, 1e-12);
}

TEST_F(MarkToMark, SpreadsAtTheToleranceAreWarnedAbout) {
    addLine("A", "B");
    appendRaw({marks(setupRecord("A", "B"), 100.000, 88 * degree, 0.004, 3),
               marks(foresightRecord("B"), 100.010, 88 * degree + 10.0 / 3600 * degree, 0.004, 3)});
    mergeMarkToMarkDist3D("A", "B", 0);
    const std::string text = warnings();
    EXPECT_NE(text.find("Mark to mark distance from A to B exceeds tolerance:"), std::string::npos);
    EXPECT_NE(text.find("Mark to Mark Vertical Angle from A to B exceeds tolerance:"),
              std::string::npos);
}

// Each sight takes the centering errors in force at its own record: a
// standard-error record after the first line's sight changes the second
// line's error only.
TEST_F(MarkToMark, StandardErrorRecordsDoNotLeakIntoEarlierLines) {
    addLine("I", "U");
    rawRec centering = stdErrRecord();
    centering.stErrTrgtCentering = 0.010;
    appendRaw({marks(setupRecord("I", "T"), 500.0, pi / 2, 0.003, 3), centering,
               marks(foresightRecord("U"), 50.0, pi / 2, 0.003, 3)});
    mergeRepeatedDists3D();
    distanceObs first;
    distanceObs second;
    distanceList.find("I", "T", first);
    distanceList.find("I", "U", second);
    EXPECT_NEAR(first.stdErr, 0.003, 1e-15);
    EXPECT_NEAR(second.stdErr, std::hypot(0.010, 0.003), 1e-15);
    EXPECT_EQ(readerStdErrs[seTargetCentering], 0.010); // the pass itself applies them
}

} // namespace
