// The list builders on the two hand-made networks of
// tests/fixtures/model/builders/README.md: every list compared with the
// content worked out by hand there.

#include "model/observation_builders.hpp"
#include "model/station_lists.hpp"

#include "model/program_lists.hpp"
#include "model/settings/global_vars.hpp"
#include "platform/length_units.hpp"
#include "support/raw_list_builder.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

namespace {

using namespace testsupport;

constexpr double pi = std::numbers::pi;
const double sqrt10 = std::sqrt(10.0); // seconds: two pointings of 2", two readings of 1"

template <class Record, class List> std::vector<Record> contents(List& list) {
    std::vector<Record> out;
    Record r;
    for (int i = 0; list.getAt(i, r) == 0; ++i)
        out.push_back(r);
    return out;
}

std::vector<std::string> names(const auto& records) {
    std::vector<std::string> out;
    for (const auto& r : records)
        out.emplace_back(fixedText(r.name));
    return out;
}

rawRec withElevation(rawRec r, double z) {
    r.elevation = z;
    return r;
}

rawRec described(rawRec r, const char* description, const char* code) {
    setFixedText(r.description, description);
    setFixedText(r.code, code);
    return r;
}

rawRec controlErrors(double e, double n, double z = notComputed) {
    rawRec r = stdErrRecord();
    r.stErrX = e;
    r.stErrY = n;
    r.stErrZ = z;
    return r;
}

rawRec withZenith(rawRec r, double zenith) {
    r.zenithOrVertDiff = zenith;
    return r;
}

rawRec withMeasuredDistance(rawRec r, double distance) {
    r.distance = distance;
    return r;
}

class ObservationBuilders : public RawListTest {
protected:
    void SetUp() override {
        RawListTest::SetUp();
        stdErrBlock saved{};
        saved[seAzimuth] = 5.0;
        saved[seHorizPointing] = 2.0;
        saved[seHorizReading] = 1.0;
        saved[seEasting] = saved[seNorthing] = saved[seElevation] = stdErrFixed;
        savedReaderStdErrs = readerStdErrs = saved;
        projectVars.hDistTol = 0.01;
        projectVars.vDistTol = 0.05;
        projectVars.hAngTol = 1.0;
        projectVars.vAngTol = 1.0;
        projectVars.geoidModel = 0;
        projectVars.geoidHt = 0.0;
        projectVars.gridSystem = gridLocal;
    }

    static void appendNetwork2D() {
        appendRaw({
            described(withElevation(coordRecord("A", 5000, 1000), 100), "IRON PIN", "IP"),
            controlErrors(0.01, 0.01, 0.02),
            withElevation(coordRecord("B", 5100, 1000), 101),
            controlErrors(-1, -1),
            coordRecord("G", 5050, 1100),
            azimuthRecord("A", "B", 0.0),
            withSight(setupRecord("A", "B", 0.0, faceDirect), 100.000, 0.003, 1.000, 0.005),
            withSight(foresightRecord("C", pi / 2, faceDirect), 100.002, 0.003, -0.500, 0.005),
            withSight(foresightRecord("G", std::atan2(100.0, 50.0), faceDirect), 111.803, 0.003),
            withSight(setupRecord("C", "A", 0.0, faceDirect), 100.004, 0.003, 0.520, 0.005),
            described(withSight(foresightRecord("D", pi / 2, faceDirect), 100.000, 0.003), "FENCE",
                      "FN"),
        });
    }

    static void appendNetwork3D() {
        appendRaw({
            withElevation(coordRecord("A", 5000, 1000), 100),
            controlErrors(0.01, 0.01, 0.02),
            withElevation(coordRecord("B", 5100, 1000), 101),
            withSight(withHeights(setupRecord("A", "B", 0.0, faceDirect), 5, 5), 100, 0, 1.0, 0),
            withSight(withHeights(foresightRecord("C", pi / 2, faceDirect), 5, 5), 100, 0, -0.5, 0),
            withSight(withHeights(setupRecord("C", "A", 0.0, faceDirect), 5, 5), 100, 0, 0.5, 0),
            withZenith(withHeights(foresightRecord("D", pi / 2, faceDirect), 5, 5), pi / 2),
            withMeasuredDistance(
                withSight(withHeights(setupRecord("D", "B"), notComputed, 5), 100, 0), 100),
            withMeasuredDistance(withSight(foresightRecord("X"), 100, 0), 100),
        });
    }
};

TEST_F(ObservationBuilders, TwoDimensionalNetworkGivesEveryListAndTheCounts) {
    appendNetwork2D();
    std::string message = "left over";
    ASSERT_EQ(buildObsLists2D(message), buildDone);
    EXPECT_EQ(message, "");
    ASSERT_EQ(buildDescriptionList(), 0);
    ASSERT_EQ(buildStationList2D(), 0);

    const auto control = contents<coordRec>(controlPointList2D);
    ASSERT_EQ(names(control), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(control[0].easting, 1000.0);
    EXPECT_EQ(control[0].northing, 5000.0);
    EXPECT_EQ(control[0].elevation, 100.0);
    EXPECT_EQ(control[0].stdErrE, stdErrFixed);
    EXPECT_EQ(control[0].pointType, ptFixed);
    EXPECT_EQ(control[0].vertType, vtFixedElevation);
    EXPECT_EQ(control[0].geoidSep, 0.0);
    EXPECT_DOUBLE_EQ(control[1].northing, 5100.0);
    EXPECT_DOUBLE_EQ(control[1].stdErrE, 0.01);
    EXPECT_DOUBLE_EQ(control[1].stdErrN, 0.01);
    EXPECT_DOUBLE_EQ(control[1].elevation, 101.0);
    EXPECT_DOUBLE_EQ(control[1].stdErrZ, 0.02);
    EXPECT_EQ(control[1].pointType, ptWeightedControl);
    EXPECT_EQ(control[1].vertType, vtWeightedElevation);

    const auto given = contents<coordRec>(givenPointList2D);
    ASSERT_EQ(names(given), (std::vector<std::string>{"G"}));
    EXPECT_EQ(given[0].pointType, ptGiven);
    EXPECT_EQ(given[0].stdErrE, stdErrNotGiven);
    EXPECT_FALSE(isSet(given[0].elevation));
    EXPECT_EQ(given[0].vertType, vtFreeElevation);

    const auto angles = contents<angleObs2D>(angleList2D);
    ASSERT_EQ(angles.size(), 3u);
    const struct {
        const char* bs;
        const char* at;
        const char* fs;
        double angle;
    } expectedAngles[] = {
        {"B", "A", "C", pi / 2}, {"B", "A", "G", std::atan2(100.0, 50.0)}, {"A", "C", "D", pi / 2}};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(fixedText(angles[i].backsight), expectedAngles[i].bs);
        EXPECT_EQ(fixedText(angles[i].instrument), expectedAngles[i].at);
        EXPECT_EQ(fixedText(angles[i].foresight), expectedAngles[i].fs);
        EXPECT_NEAR(angles[i].angle, expectedAngles[i].angle, 1e-12);
        EXPECT_NEAR(angles[i].stdErr, sqrt10, 1e-12);
    }

    const auto distances = contents<distanceObs2D>(distanceList2D);
    ASSERT_EQ(distances.size(), 4u);
    const struct {
        const char* from;
        const char* to;
        double distance, distErr, vertDiff, vertErr;
        int vertType;
    } expectedDistances[] = {
        {"A", "B", 100.000, 0.003, 1.000, 0.005, 0},
        {"A", "C", 100.003, 0.006 / 2 / std::sqrt(2.0), -0.510, 0.010 / 2 / std::sqrt(2.0), 0},
        {"A", "G", 111.803, 0.003, notComputed, 0.0, -1},
        {"C", "D", 100.000, 0.003, notComputed, 0.0, -1},
    };
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        const auto& e = expectedDistances[i];
        EXPECT_EQ(fixedText(distances[i].from), e.from);
        EXPECT_EQ(fixedText(distances[i].to), e.to);
        EXPECT_NEAR(distances[i].distance, e.distance, 1e-9);
        EXPECT_NEAR(distances[i].stdErrDist, e.distErr, 1e-12);
        EXPECT_NEAR(distances[i].vertDiff, e.vertDiff, 1e-9);
        EXPECT_NEAR(distances[i].stdErrVert, e.vertErr, 1e-12);
        EXPECT_EQ(distances[i].vertType, e.vertType);
    }

    const auto azimuths = contents<azimuthObs>(azimuthList2D);
    ASSERT_EQ(azimuths.size(), 1u);
    EXPECT_EQ(azimuths[0].azimuth, 0.0);
    EXPECT_DOUBLE_EQ(azimuths[0].stdErr, 5.0);

    const auto descriptions = contents<ptDescRec>(ptDescList);
    ASSERT_EQ(names(descriptions), (std::vector<std::string>{"A", "D"}));
    EXPECT_EQ(descriptions[1].description, "FENCE");
    EXPECT_EQ(descriptions[1].description2, "FN");

    const auto fixed = contents<coordRec>(fixedPointList2D);
    ASSERT_EQ(names(fixed), (std::vector<std::string>{"A"}));
    EXPECT_EQ(fixed[0].description, "IRON PIN");
    EXPECT_EQ(fixed[0].description2, "IP");
    const auto points = contents<coordRec>(pointList2D);
    ASSERT_EQ(names(points), (std::vector<std::string>{"B", "C", "G", "D"}));
    EXPECT_EQ(points[0].pointType, ptWeightedControl);
    EXPECT_EQ(points[1].vertType, vtFreeElevation);
    EXPECT_EQ(points[2].vertType, vtNoVertical);
    EXPECT_EQ(points[3].vertType, vtNoVertical);
    EXPECT_EQ(points[3].description, "FENCE");
    EXPECT_FALSE(isSet(points[1].easting));

    ASSERT_EQ(countUnknownsObs2D(unknownCount, obsCount), 0);
    EXPECT_EQ(unknownCount, 8);
    EXPECT_EQ(obsCount, 10);
    EXPECT_EQ(obsCount - unknownCount, 2);
}

TEST_F(ObservationBuilders, ThreeDimensionalNetworkGivesEveryListAndTheCounts) {
    projectVars.geodeticModel = 1;
    projectVars.HorizUnits = units::usSurveyFeet;
    projectVars.stErrX = projectVars.stErrY = projectVars.stErrZ = 0.0; // fixed
    const double f = units::usSurveyFootMetres;
    appendNetwork3D();
    std::string message;
    ASSERT_EQ(buildObsLists3D(message), buildDone) << message;
    ASSERT_EQ(buildDescriptionList(), 0);
    ASSERT_EQ(buildStationList3D(), 0);

    const auto control = contents<stationRec>(controlStationList);
    ASSERT_EQ(names(control), (std::vector<std::string>{"A", "B"}));
    EXPECT_DOUBLE_EQ(control[0].easting, 1000 * f);
    EXPECT_DOUBLE_EQ(control[0].northing, 5000 * f);
    EXPECT_DOUBLE_EQ(control[0].elevation, 100 * f);
    EXPECT_EQ(control[0].pointType, ptFixed);
    EXPECT_EQ(control[0].stdErrE, stdErrFixed);
    EXPECT_EQ(control[0].stdErrZ, 1e-7);
    EXPECT_EQ(control[0].geoidSep, 0.0);
    EXPECT_FALSE(isSet(control[0].latitude)); // a local grid has no geodetic position
    EXPECT_DOUBLE_EQ(control[1].northing, 5100 * f);
    EXPECT_DOUBLE_EQ(control[1].elevation, 101 * f);
    EXPECT_DOUBLE_EQ(control[1].stdErrE, 0.01);
    EXPECT_DOUBLE_EQ(control[1].stdErrZ, 0.02);
    EXPECT_EQ(control[1].pointType, ptWeightedControl);
    EXPECT_EQ(givenStationList.count(), 0);

    const auto angles = contents<angleObs>(angleList);
    ASSERT_EQ(angles.size(), 2u);
    EXPECT_EQ(fixedText(angles[0].instrument), "A");
    EXPECT_EQ(fixedText(angles[1].instrument), "C");
    EXPECT_EQ(fixedText(angles[1].foresight), "D");
    for (const angleObs& a : angles) {
        EXPECT_NEAR(a.angle, pi / 2, 1e-12);
        EXPECT_NEAR(a.stdErr, sqrt10, 1e-12);
    }

    const auto distances = contents<distanceObs>(distanceList);
    ASSERT_EQ(distances.size(), 2u);
    EXPECT_EQ(fixedText(distances[0].to), "B");
    EXPECT_DOUBLE_EQ(distances[0].meanDist, 100 * f);
    EXPECT_DOUBLE_EQ(distances[0].meanHeightDiff, 1.0 * f);
    EXPECT_EQ(fixedText(distances[1].to), "C");
    EXPECT_DOUBLE_EQ(distances[1].meanDist, 100 * f);
    EXPECT_DOUBLE_EQ(distances[1].meanHeightDiff, -0.5 * f);
    EXPECT_FALSE(isSet(distances[1].reducedDist));

    const auto verticals = contents<verticalObs>(verticalList);
    ASSERT_EQ(verticals.size(), 3u);
    EXPECT_EQ(fixedText(verticals[2].to), "D");
    EXPECT_EQ(fixedText(verticals[2].from), "C");

    EXPECT_EQ(names(contents<stationRec>(fixedStationList)), (std::vector<std::string>{"A"}));
    EXPECT_EQ(names(contents<stationRec>(stationList)), (std::vector<std::string>{"B", "C", "D"}));

    ASSERT_EQ(countUnknownsObs3D(unknownCount, obsCount), 0);
    EXPECT_EQ(unknownCount, 9);
    EXPECT_EQ(obsCount, 10);

    EXPECT_EQ(readBytes(folder / "t.RPT"), ""); // the notes go to the error report alone
    EXPECT_EQ(readBytes(folder / "t.ERR"),
              "IP:          D, BS:          B, Missing HI. All foresight distances and vertical "
              "angles from this setup will be ignored.\r\n\r\n"
              "IP:          D, FS:          X, Missing Rod Ht. FS distance and FS vertical angle "
              "ignored.\r\n\r\n");
}

// The lengths of a raw list loaded once are turned into metres once: a
// second build on the same list gives the same lists and leaves a HI of
// 5.000 ft at 1.524 m.
TEST_F(ObservationBuilders, BuildingTheThreeDimensionalListsTwiceGivesTheSameLists) {
    projectVars.geodeticModel = 1;
    projectVars.HorizUnits = units::internationalFeet;
    projectVars.stErrX = projectVars.stErrY = projectVars.stErrZ = 0.0;
    appendNetwork3D();
    std::string message;
    ASSERT_EQ(buildObsLists3D(message), buildDone);
    const auto control = contents<stationRec>(controlStationList);
    const auto distances = contents<distanceObs>(distanceList);
    const auto angles = contents<angleObs>(angleList);
    const auto verticals = contents<verticalObs>(verticalList);

    for (auto* list : {&controlStationList, &givenStationList})
        list->clear();
    angleList.clear();
    distanceList.clear();
    verticalList.clear();
    ASSERT_EQ(buildObsLists3D(message), buildDone);
    EXPECT_EQ(contents<stationRec>(controlStationList), control);
    EXPECT_EQ(contents<distanceObs>(distanceList), distances);
    EXPECT_EQ(contents<angleObs>(angleList), angles);
    EXPECT_EQ(contents<verticalObs>(verticalList), verticals);

    rawRec setupAtA;
    ASSERT_EQ(rawDataList.seek(3), 0);
    ASSERT_EQ(rawDataList.get(setupAtA), 0);
    EXPECT_DOUBLE_EQ(setupAtA.instrumentHeight, 1.524);
    EXPECT_DOUBLE_EQ(distances[0].meanDist, 30.48);
}

TEST_F(ObservationBuilders, EmptyRawListsBuildNothingAndSucceed) {
    std::string message;
    EXPECT_EQ(buildObsLists2D(message), buildDone);
    projectVars.geodeticModel = 1;
    EXPECT_EQ(buildObsLists3D(message), buildDone);
    EXPECT_EQ(controlStationList.count() + distanceList.count() + verticalList.count() +
                  controlPointList2D.count() + distanceList2D.count(),
              0);
}

TEST_F(ObservationBuilders, ALineFromAPointToItselfStopsTheBuildWithItsMessage) {
    appendRaw({withSight(setupRecord("A", "A", 0.0), 10.0, 0.003)});
    std::string message;
    EXPECT_EQ(buildObsLists2D(message), buildStopped);
    EXPECT_EQ(message, "Error processing distance; A to A");
}

TEST_F(ObservationBuilders, TheLastRawRecordOfAPointGivesItsDescription) {
    appendRaw({described(coordRecord("P", 1, 1), "OLD", "O1"),
               described(foresightRecord("P"), "", ""),
               described(foresightRecord("P"), "NEW", "N1")});
    buildDescriptionList();
    const auto descriptions = contents<ptDescRec>(ptDescList);
    ASSERT_EQ(descriptions.size(), 1u);
    EXPECT_EQ(descriptions[0].description, "NEW");
    EXPECT_EQ(descriptions[0].description2, "N1");
}

TEST_F(ObservationBuilders, TheFirstSightWithAZenithGivesTheSetupBacksight) {
    appendRaw({withZenith(withHeights(foresightRecord("P"), 0, notComputed), 1.5),
               withZenith(withHeights(setupRecord("S1", "P"), 1.6, 1.3), 1.4),
               withZenith(withHeights(foresightRecord("P"), 0, 2.0), 1.3)});
    std::string instrument;
    double zenith = 0.0;
    double target = 0.0;
    double hi = 0.0;
    ASSERT_EQ(findSetupBacksight("p", instrument, zenith, target, hi), 0);
    EXPECT_EQ(instrument, "S1");
    EXPECT_EQ(zenith, 1.4);
    EXPECT_EQ(target, 1.3);
    EXPECT_EQ(hi, 1.6);
    EXPECT_EQ(findSetupBacksight("Q", instrument, zenith, target, hi), 1);
}

TEST_F(ObservationBuilders, PointQueriesFindEveryEndOfTheirList) {
    appendNetwork2D();
    std::string message;
    ASSERT_EQ(buildObsLists2D(message), buildDone);
    EXPECT_EQ(isPointInDistances2D("g"), 1);
    EXPECT_EQ(isPointInDistances2D("Z"), 0);
    EXPECT_EQ(isPointInAngles2D("D"), 1);
    EXPECT_EQ(isPointInAzimuths2D("B"), 1);
    EXPECT_EQ(isPointInAzimuths2D("C"), 0);
    EXPECT_EQ(isPointInGpsVectors("A"), 0);
}

} // namespace
