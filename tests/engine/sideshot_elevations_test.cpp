// Vertical sideshots of the 2D chain: the filter on the vertical types and
// the height differences' vertical status, and the elevations carried to
// the sideshots afterwards with their report lines.

#include "engine/sideshot_elevations.hpp"
#include "reports/run_files_fixture.hpp"
#include "reports/sideshot_listing.hpp"
#include "sideshot_lists.hpp"

using namespace sideshottest;

namespace {

class SideshotElevations : public RunFiles {
protected:
    void SetUp() override {
        RunFiles::SetUp();
        projectVars.distPrec = 3;
    }

    static coordRec withVertical(coordRec p, int vertType, double elevation = notComputed) {
        p.vertType = vertType;
        p.elevation = elevation;
        return p;
    }

    static int vertTypeOf(const char* name) { return pointNamed(name).vertType; }

    static int heightStatus(const char* from, const char* to) {
        distanceObs2D d;
        distanceList2D.find(from, to, d);
        return d.vertType;
    }
};

TEST_F(SideshotElevations, OneHeightDifferenceMakesAVerticalSideshot) {
    fixedPointList2D.append(withVertical(point2D("BM", ptFixed, 0, 0), vtFixedElevation, 100.0));
    pointList2D.append(withVertical(unplaced2D("C"), vtFreeElevation));
    pointList2D.append(withVertical(unplaced2D("D"), vtFreeElevation));
    pointList2D.append(withVertical(unplaced2D("W"), vtWeightedElevation, 90.0));
    pointList2D.append(withVertical(unplaced2D("N"), vtFreeElevation));
    distanceList2D.append(levelled2D("BM", "C", 1.0));
    distanceList2D.append(levelled2D("C", "BM", -1.0));
    distanceList2D.append(levelled2D("BM", "D", 2.0));
    distanceList2D.append(levelled2D("W", "BM", 10.0));
    distanceList2D.append(distance2D("N", "BM", 10.0)); // no height difference
    distanceList2D.append(levelled2D("N", "BM", 3.0));

    EXPECT_EQ(filterVertSideshots(), 0);
    EXPECT_EQ(vertTypeOf("C"), vtFreeElevation);
    EXPECT_EQ(vertTypeOf("D"), vtSideshot);
    EXPECT_EQ(vertTypeOf("W"), vtWeightedElevation);
    EXPECT_EQ(vertTypeOf("N"), vtSideshot); // the distance without one does not count
    EXPECT_EQ(heightStatus("BM", "D"), vtSideshot);
    EXPECT_EQ(heightStatus("BM", "C"), 0);
    EXPECT_EQ(shell.percents.back(), 0);
}

TEST_F(SideshotElevations, ChainsOffVerticalSideshotsAreFoundInLaterWalks) {
    fixedPointList2D.append(withVertical(point2D("BM", ptFixed, 0, 0), vtFixedElevation, 100.0));
    pointList2D.append(withVertical(unplaced2D("E"), vtFreeElevation));
    pointList2D.append(withVertical(unplaced2D("F"), vtFreeElevation));
    distanceList2D.append(levelled2D("BM", "E", 1.0));
    distanceList2D.append(levelled2D("E", "F", 1.0));
    filterVertSideshots();
    // F hangs off E alone; then E has BM and a sideshot: one counts.
    EXPECT_EQ(vertTypeOf("F"), vtSideshot);
    EXPECT_EQ(vertTypeOf("E"), vtSideshot);
}

TEST_F(SideshotElevations, ElevationIsTheMeanOfTheEstimatesAndChainsResolve) {
    fixedPointList2D.append(withVertical(point2D("A", ptFixed, 0, 0), vtFixedElevation, 100.0));
    fixedPointList2D.append(withVertical(point2D("B", ptFixed, 0, 0), vtFixedElevation, 104.0));
    pointList2D.append(withVertical(unplaced2D("Q"), vtSideshot, 55.0)); // stale, reset
    pointList2D.append(withVertical(unplaced2D("P"), vtSideshot));
    const auto marked = [](distanceObs2D d) {
        d.vertType = vtSideshot;
        return d;
    };
    distanceList2D.append(marked(levelled2D("P", "Q", 0.5)));
    distanceList2D.append(marked(levelled2D("A", "P", 2.0))); // P = 100 + 2
    distanceList2D.append(marked(levelled2D("P", "B", 1.0))); // P = 104 - 1
    distanceList2D.append(levelled2D("A", "B", 4.0));         // not a sideshot's

    writeRptVertSideshots(computeSideshotElevations(RunContext(shell)));
    EXPECT_DOUBLE_EQ(pointNamed("P").elevation, (102.0 + 103.0) / 2);
    EXPECT_DOUBLE_EQ(pointNamed("Q").elevation, 102.5 + 0.5);
    const std::vector<std::string> lines = crlfLines(report());
    EXPECT_EQ(lines, (std::vector<std::string>{"", "Vertical Sideshots",
                                               " Station                Elevation", "",
                                               " P                        102.500",
                                               " Q                        103.000", "", ""}));
}

TEST_F(SideshotElevations, AVerticalSideshotWithoutAKnownNeighbourStaysUnset) {
    pointList2D.append(withVertical(unplaced2D("P"), vtSideshot, 10.0));
    pointList2D.append(withVertical(unplaced2D("R"), vtFreeElevation));
    distanceObs2D d = levelled2D("R", "P", 1.0);
    d.vertType = vtSideshot;
    distanceList2D.append(d);
    coordRec p = pointNamed("P");
    EXPECT_EQ(sideshotElevation2D(p), 0);
    writeRptVertSideshots(computeSideshotElevations(RunContext(shell)));
    EXPECT_FALSE(isSet(pointNamed("P").elevation));
}

// Points levelled among themselves with no path to a benchmark (L5 and L6
// out and back as one line, U1 to U3 in an open line) are vertical
// sideshots as a true sideshot is; what tells them apart is that no chain
// reaches them from a point with an elevation. G hangs off the loop BM, C,
// D: it is reached once C has an elevation (after the adjustment), not
// before. The names out of reach are those the placement leaves unset.
TEST_F(SideshotElevations, SideshotsOutOfReachAreThoseThePlacementLeavesUnset) {
    fixedPointList2D.append(withVertical(point2D("BM", ptFixed, 0, 0), vtFixedElevation, 100.0));
    for (const char* name : {"E", "F", "L5", "L6", "U1", "U2", "U3", "C", "D", "G"})
        pointList2D.append(withVertical(unplaced2D(name), vtFreeElevation));
    for (const auto& [from, to] : {std::pair{"BM", "E"},
                                   {"E", "F"},
                                   {"L5", "L6"},
                                   {"U1", "U2"},
                                   {"U2", "U3"},
                                   {"BM", "C"},
                                   {"C", "D"},
                                   {"D", "BM"},
                                   {"C", "G"}})
        distanceList2D.append(levelled2D(from, to, 1.0));
    filterVertSideshots();
    for (const char* name : {"E", "F", "L5", "L6", "U1", "U2", "U3", "G"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(vertTypeOf(name), vtSideshot);
    }
    const std::vector<std::string> beforeAdjustment = {"L5", "L6", "U1", "U2", "U3", "G"};
    EXPECT_EQ(verticalSideshotsOutOfReach([](const coordRec& p) { return isSet(p.elevation); }),
              beforeAdjustment);
    EXPECT_EQ(verticalSideshotsOutOfReach([](const coordRec& p) {
                  return isSet(p.elevation) || sameName(fixedText(p.name), "C");
              }),
              (std::vector<std::string>{"L5", "L6", "U1", "U2", "U3"}));

    computeSideshotElevations(RunContext(shell));
    std::vector<std::string> unset;
    for (const char* name : {"E", "F", "L5", "L6", "U1", "U2", "U3", "G"})
        if (!isSet(pointNamed(name).elevation))
            unset.emplace_back(name);
    EXPECT_EQ(unset, beforeAdjustment);
    EXPECT_DOUBLE_EQ(pointNamed("F").elevation, 102.0);
}

} // namespace
