// The sideshot filters: which points the observation weights leave in the
// adjustment, the observations marked with a sideshot, weighted control and
// the points the relative-error points file protects.

#include "engine/sideshot_filter.hpp"
#include "model/run_stops.hpp"
#include "sideshot_lists.hpp"
#include "support/project_vars_guard.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

using namespace sideshottest;

namespace {

class SideshotFilter : public ::testing::Test {
protected:
    void SetUp() override { resetProgramLists(); }
    void TearDown() override { resetProgramLists(); }

    static int typeOf(const char* name) { return pointNamed(name).pointType; }

    testsupport::ProjectVarsGuard guard;
};

int distanceStatus(const char* from, const char* to) {
    distanceObs2D d;
    distanceList2D.find(from, to, d);
    return d.status;
}

int angleStatus(const char* bs, const char* ip, const char* fs) {
    angleObs2D a;
    angleList2D.find(bs, ip, fs, a);
    return a.status;
}

// Control A and B with a traverse point C between them; P hangs off C.
void fillTraverseWithOneShot() {
    fixedPointList2D.append(point2D("A", ptFixed, 0.0, 0.0));
    fixedPointList2D.append(point2D("B", ptFixed, 0.0, 200.0));
    pointList2D.append(unplaced2D("C"));
    pointList2D.append(unplaced2D("P"));
    distanceList2D.append(distance2D("A", "C", 100.0));
    distanceList2D.append(distance2D("C", "B", 100.0));
    angleList2D.append(angleAt("B", "A", "C", 0.5));
    angleList2D.append(angleAt("A", "C", "B", 2.0));
    angleList2D.append(angleAt("A", "C", "P", 1.0));
    distanceList2D.append(distance2D("C", "P", 20.0));
}

TEST_F(SideshotFilter, OneDistanceAndOneAngleMakeASideshotWithItsObservations) {
    fillTraverseWithOneShot();
    filterHorizSideshots();
    EXPECT_EQ(typeOf("P"), ptSideshot);
    EXPECT_EQ(typeOf("C"), ptUnknown);
    EXPECT_EQ(distanceStatus("C", "P"), obsNotAdjusted);
    EXPECT_EQ(angleStatus("A", "C", "P"), obsNotAdjusted);
    EXPECT_EQ(distanceStatus("A", "C"), 0);
    EXPECT_EQ(angleStatus("A", "C", "B"), 0);
}

TEST_F(SideshotFilter, ASecondDistanceKeepsThePointInTheAdjustment) {
    fillTraverseWithOneShot();
    distanceList2D.append(distance2D("B", "P", 90.0));
    filterHorizSideshots();
    EXPECT_EQ(typeOf("P"), ptUnknown);
    EXPECT_EQ(distanceStatus("C", "P"), 0);
}

TEST_F(SideshotFilter, WeightedControlIsNeverASideshot) {
    fillTraverseWithOneShot();
    coordRec p;
    pointList2D.find("P", p);
    p.pointType = ptWeightedControl;
    pointList2D.replace(p);
    pointList2D.append(unplaced2D("Q", ptWeightedControl)); // no observation at all
    filterHorizSideshots();
    EXPECT_EQ(typeOf("P"), ptWeightedControl);
    EXPECT_EQ(typeOf("Q"), ptWeightedControl);
}

TEST_F(SideshotFilter, AGpsVectorWeighsTwoIn2DAndThreeIn3D) {
    pointList2D.append(unplaced2D("G"));
    pointList2D.append(unplaced2D("H"));
    gpsVectorList.append(vector("X", "G"));
    gpsVectorList.append(vector("X", "H"));
    distanceList2D.append(distance2D("X", "H", 10.0));
    filterHorizSideshots();
    EXPECT_EQ(typeOf("G"), ptSideshot); // weight 2
    EXPECT_EQ(typeOf("H"), ptUnknown);  // weight 3

    stationRec s;
    setPointName(s.name, "G");
    stationList.append(s);
    setPointName(s.name, "H");
    stationList.append(s);
    distanceObs d;
    setPointName(d.from, "X");
    setPointName(d.to, "H");
    distanceList.append(d);
    filterSideshots3D();
    stationRec g;
    stationRec h;
    stationList.find("G", g);
    stationList.find("H", h);
    EXPECT_EQ(g.pointType, ptSideshot); // weight 3
    EXPECT_EQ(h.pointType, ptUnknown);  // weight 4
    gpsVectorRec v;
    gpsVectorList.find("X", "G", v);
    EXPECT_EQ(v.status, obsNotAdjusted);
    gpsVectorList.find("X", "H", v);
    EXPECT_EQ(v.status, 0);
}

TEST_F(SideshotFilter, ThreeDMarksZenithAnglesAndAzimuthsOfTheSideshot) {
    stationRec s;
    setPointName(s.name, "P");
    stationList.append(s);
    verticalObs z;
    setPointName(z.from, "K");
    setPointName(z.to, "P");
    verticalList.append(z);
    azimuthList.append(azimuthFrom("K", "P", 1.0));
    angleList.append(angleAt<angleObs>("P", "K", "Q", 1.0)); // P as backsight: not marked
    filterSideshots3D();
    stationList.find("P", s);
    EXPECT_EQ(s.pointType, ptSideshot);
    verticalList.find("K", "P", z);
    EXPECT_EQ(z.status, obsNotAdjusted);
    azimuthObs a;
    azimuthList.find("K", "P", a);
    EXPECT_EQ(a.status, obsNotAdjusted);
    angleObs angle;
    angleList.find("P", "K", "Q", angle);
    EXPECT_EQ(angle.status, 0);
}

// The points file protects its points whenever the project reads it, under
// either switch, and its names match the points' names as every point-name
// comparison does, whatever the case.
TEST_F(SideshotFilter, ListedPointsStayWhicheverSwitchReadsTheFileAndWhateverTheCase) {
    fillTraverseWithOneShot();
    const relErrPoints listed{true, {"p"}};
    projectVars.ALTARptOn = 0;
    projectVars.relativeErrFileOn = 1;
    EXPECT_EQ(isListedRelErrPoint("P", listed), 1);
    EXPECT_EQ(filterHorizSideshotsPass(listed), 0);
    EXPECT_EQ(typeOf("P"), ptUnknown);
    EXPECT_EQ(isListedRelErrPoint("P", relErrPoints{false, {"P"}}), 0);
}

TEST_F(SideshotFilter, ThePointsFileIsReadWhenEitherSwitchIsOn) {
    testsupport::TempFolder folder("relerr");
    testsupport::writeBytes(folder / "p.alt", "REL_ERR_PAIRS a-b\r\nREL_ERR_ALL p, DESC:fence\r\n");
    projectVars.relativeErrFileNm = (folder / "p.alt").string();
    EXPECT_FALSE(loadRelErrPoints().inUse);
    for (const auto& [fileOn, altaOn] : {std::pair{1, 0}, {0, 1}}) {
        projectVars.relativeErrFileOn = fileOn;
        projectVars.ALTARptOn = altaOn;
        const relErrPoints points = loadRelErrPoints();
        EXPECT_TRUE(points.inUse);
        EXPECT_EQ(points.names, (std::vector<std::string>{"A", "B", "P", "FENCE"}));
        // The file's names are upper case; the project's lower-case point still matches.
        EXPECT_EQ(isListedRelErrPoint("p", points), 1);
    }
}

TEST_F(SideshotFilter, PointsMarkedOnInputArePassedOver) {
    fillTraverseWithOneShot();
    coordRec p;
    pointList2D.find("P", p);
    p.pointType = ptCarried;
    pointList2D.replace(p);
    filterHorizSideshots();
    EXPECT_EQ(typeOf("P"), ptCarried);
    EXPECT_EQ(distanceStatus("C", "P"), 0);
}

} // namespace
