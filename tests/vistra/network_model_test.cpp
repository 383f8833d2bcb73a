// The network model: what it marks, the setups and foresights it builds and
// where it places them, for the cases of the 2D and 3D roads.

#include "graph_project.hpp"
#include "support/terrestrial_3d_project.hpp"

#include "vistra/network_model.hpp"

#include <gtest/gtest.h>

#include <cmath>

using graphtest::Fore;
using graphtest::GraphProject;
using graphtest::setupLines;

namespace {

constexpr double pi = 3.14159265358979323846;

std::vector<graphPoint> pointsOf(const rawDataGraph& g) {
    std::vector<graphPoint> points;
    graphPoint p;
    for (int i = 0; g.getPointAt(i, p) == 0; ++i)
        points.push_back(p);
    return points;
}

std::vector<graphSetup> setupsOf(const rawDataGraph& g) {
    std::vector<graphSetup> setups;
    graphSetup s;
    for (int i = 0; g.getSetupAt(i, s) == 0; ++i)
        setups.push_back(s);
    return setups;
}

std::vector<std::string> foresightNames(const graphSetup& setup) {
    std::vector<std::string> names;
    for (const graphForesight& f : setup.foresights)
        names.emplace_back(f.foresight);
    return names;
}

struct TruePoint {
    const char* name;
    double northing;
    double easting;
};

} // namespace

// The example project's points, as examples/site/make_site.py generated its
// raw data from them (tests/fixtures/input/rw5/site.rw5 holds the same
// observations as .RW5 records): every foresight the model carries out from
// its instrument along the backsight direction turned by the angle must land
// on its own point. Directions are azimuths clockwise from north, so a line
// computed from coordinates and the angles turned from it agree.
TEST(NetworkModelGeometry, EveryForesightOfTheExampleLandsOnItsTruePoint) {
    const TruePoint truth[] = {{"A", 1000.000, 1000.000},
                               {"B", 1180.250, 1245.800},
                               {"C", 1050.420, 1430.150},
                               {"D", 880.600, 1210.330}};
    // The data are rounded to 0.1" and 1 mm, and the preliminary
    // coordinates the directions start from carry that rounding: 2 mm.
    constexpr double tolerance_m = 0.002;
    const std::string prj = std::string(TARNWELL_EXAMPLES) + "/site/site.prj";
    const std::string rw5 = std::string(TARNWELL_FIXTURES) + "/input/rw5/site.rw5";
    for (const std::string& rawFiles : {std::string("site.vkr\n"), rw5 + "\n"}) {
        SCOPED_TRACE(rawFiles);
        GraphProject project;
        ASSERT_NE(projectVars.readProjectFile(prj), 0);
        projectVars.projectFileName = prj;
        projectVars.pInputFileName = rawFiles;
        RecordingShell shell;
        rawDataGraph g(shell);
        ASSERT_EQ(g.buildStatus, graphBuilt);
        const auto setups = setupsOf(g);
        ASSERT_EQ(setups.size(), 4u);
        int placed = 0;
        for (const graphSetup& setup : setups) {
            EXPECT_EQ(setup.directionSource, directionComputed);
            for (const graphForesight& f : setup.foresights) {
                SCOPED_TRACE(std::string(setup.instrument) + " -> " + f.foresight);
                for (const TruePoint& t : truth) {
                    if (std::string(t.name) != f.foresight)
                        continue;
                    EXPECT_NEAR(f.northing, t.northing, tolerance_m);
                    EXPECT_NEAR(f.easting, t.easting, tolerance_m);
                    ++placed;
                }
            }
        }
        EXPECT_EQ(placed, 4);
        std::vector<std::string> marked;
        for (const graphPoint& p : pointsOf(g))
            marked.emplace_back(p.name);
        EXPECT_EQ(marked, (std::vector<std::string>{"A", "B"}));
        EXPECT_TRUE(shell.boxes.empty());
    }
}

// An observed azimuth orients its setup the same way: A-B at 45 degrees,
// C turned 90 degrees from B at 100 m lies at azimuth 135 degrees:
// N = 1000 + 100 cos 135 = 929.2893219, E = 1000 + 100 sin 135 = 1070.7106781.
TEST(NetworkModelGeometry, AnObservedAzimuthPlacesTheForesightInTheGroundFrame) {
    GraphProject project;
    std::vector<std::string> lines{"6SE X:! Y:! Z:!", "6C A 1000.000 1000.000 10.0",
                                   "3A-B 45.0000"};
    for (const std::string& l : setupLines("A", "B", "141.421", {{"C", "90.0000", "100.000"}}))
        lines.push_back(l);
    project.writeVkr("net.vkr", lines);
    RecordingShell shell;
    rawDataGraph g(shell);
    graphSetup setup;
    ASSERT_EQ(g.findSetup("A", "B", setup), 0);
    EXPECT_EQ(setup.directionSource, directionObserved);
    EXPECT_NEAR(setup.direction, pi / 4, 1e-12);
    ASSERT_EQ(setup.foresights.size(), 1u);
    EXPECT_NEAR(setup.foresights[0].northing, 929.2893219, 1e-6);
    EXPECT_NEAR(setup.foresights[0].easting, 1070.7106781, 1e-6);
}

// No control at all: the first angle's instrument A starts at N 10000,
// E 10000, elevation 500 looking north at its backsight B, so B lies 100 m
// north and C, 90 degrees to the right at 50 m, due east.
TEST(NetworkModelStart, ANetworkWithoutControlStartsAtTheFirstInstrument) {
    GraphProject project;
    project.writeVkr("net.vkr", setupLines("A", "B", "100.000", {{"C", "90.0000", "50.000"}}));
    RecordingShell shell;
    rawDataGraph g(shell);
    ASSERT_EQ(g.buildStatus, graphBuilt);
    const auto points = pointsOf(g);
    ASSERT_EQ(points.size(), 1u);
    EXPECT_STREQ(points[0].name, "A");
    EXPECT_EQ(points[0].northing, 10000.0);
    EXPECT_EQ(points[0].easting, 10000.0);
    EXPECT_EQ(points[0].elevation, 500.0);
    EXPECT_EQ(points[0].pointType, 1);
    graphSetup setup;
    ASSERT_EQ(g.findSetup("A", "B", setup), 0);
    EXPECT_EQ(setup.directionSource, directionObserved);
    EXPECT_EQ(setup.direction, 0.0);
    ASSERT_EQ(setup.foresights.size(), 1u);
    EXPECT_NEAR(setup.foresights[0].northing, 10000.0, 1e-9);
    EXPECT_NEAR(setup.foresights[0].easting, 10050.0, 1e-9);
    EXPECT_NEAR(g.maxN, 10100.0, 1e-9) << "B, placed 100 m north, widens the extents";
}

// One control point C and no azimuth: every angle turned at C looks north at
// its backsight, so X (30 m) lies north of C and Y (90 degrees, 40 m) east.
TEST(NetworkModelStart, OneControlPointLooksNorthAtEachBacksight) {
    GraphProject project;
    std::vector<std::string> lines{"6SE X:! Y:! Z:!", "6C C 5000.000 2000.000 10.0"};
    for (const std::string& l : setupLines("C", "X", "30.000", {{"Y", "90.0000", "40.000"}}))
        lines.push_back(l);
    for (const std::string& l : setupLines("C", "Z", "20.000", {{"Y", "45.0000", "40.000"}}))
        lines.push_back(l);
    project.writeVkr("net.vkr", lines);
    RecordingShell shell;
    rawDataGraph g(shell);
    for (const char* backsight : {"X", "Z"}) {
        SCOPED_TRACE(backsight);
        graphSetup setup;
        ASSERT_GE(g.findSetup("C", backsight, setup), 0);
        EXPECT_EQ(setup.directionSource, directionObserved);
        EXPECT_EQ(setup.direction, 0.0);
    }
    graphSetup first;
    g.findSetup("C", "X", first);
    ASSERT_EQ(first.foresights.size(), 1u);
    EXPECT_NEAR(first.foresights[0].northing, 5000.0, 1e-9);
    EXPECT_NEAR(first.foresights[0].easting, 2040.0, 1e-9);
}

TEST(NetworkModel, WithoutHorizontalAdjustmentNothingIsBuilt) {
    GraphProject project;
    projectVars.horizAdjust = 0;
    project.writeVkr("net.vkr", setupLines("A", "B", "100.000", {{"C", "90.0000", "50.000"}}));
    RecordingShell shell;
    rawDataGraph g(shell);
    EXPECT_EQ(g.buildStatus, graphBuilt);
    EXPECT_EQ(g.pointCount(), 0);
    EXPECT_EQ(g.setupCount(), 0);
    EXPECT_TRUE(g.extentsEmpty());
}

TEST(NetworkModel, WithoutRawOrGpsFilesThereIsNothingToDraw) {
    GraphProject project;
    projectVars.pInputFileName.clear();
    RecordingShell shell;
    rawDataGraph g(shell);
    EXPECT_EQ(g.buildStatus, graphNothingToDraw);
    EXPECT_TRUE(shell.boxes.empty());
}

// Angles at A on backsight B share one setup in angle-list order; A on
// another backsight makes a second setup.
TEST(NetworkModelSetups, AnglesOnOneInstrumentAndBacksightShareASetup) {
    GraphProject project;
    std::vector<std::string> lines{"6SE X:! Y:! Z:!", "6C A 1000.000 1000.000 10.0",
                                   "6C B 1100.000 1000.000 10.0"};
    for (const std::string& l :
         setupLines("A", "B", "100.000", {{"C", "90.0000", "50.000"}, {"D", "180.0000", "60.000"}}))
        lines.push_back(l);
    for (const std::string& l : setupLines("A", "C", "50.000", {{"D", "90.0000", "60.000"}}))
        lines.push_back(l);
    project.writeVkr("net.vkr", lines);
    RecordingShell shell;
    rawDataGraph g(shell);
    const auto setups = setupsOf(g);
    ASSERT_EQ(setups.size(), 2u);
    EXPECT_STREQ(setups[0].backsight, "B");
    EXPECT_EQ(foresightNames(setups[0]), (std::vector<std::string>{"C", "D"}));
    EXPECT_STREQ(setups[1].backsight, "C");
    EXPECT_EQ(foresightNames(setups[1]), (std::vector<std::string>{"D"}));
    // D, 180 degrees from north at 60 m, lies due south of A.
    EXPECT_NEAR(setups[0].foresights[1].northing, 940.0, 1e-9);
    EXPECT_NEAR(setups[0].foresights[1].easting, 1000.0, 1e-9);
    EXPECT_NEAR(setups[1].foresights[0].northing, 940.0, 1e-9);
}

// A weighted control point stands in the control list and the point list;
// it is marked once. The adjustable points are not marked, though they
// widen the extents.
TEST(NetworkModelPoints, WeightedControlIsMarkedOnceAndAdjustablePointsOnlyWidenTheExtents) {
    GraphProject project;
    std::vector<std::string> lines{"6SE X:0.01 Y:0.01 Z:0.02", "6C A 1000.000 1000.000 10.0",
                                   "6SE X:! Y:! Z:!", "6C B 1100.000 1000.000 10.0"};
    for (const std::string& l : setupLines("A", "B", "100.000", {{"C", "90.0000", "50.000"}}))
        lines.push_back(l);
    project.writeVkr("net.vkr", lines);
    RecordingShell shell;
    rawDataGraph g(shell);
    std::vector<std::string> marked;
    for (const graphPoint& p : pointsOf(g))
        marked.emplace_back(p.name);
    EXPECT_EQ(marked, (std::vector<std::string>{"A", "B"}));
    // C at (1000, 1050) widens the eastern edge.
    EXPECT_NEAR(g.minN, 1000.0, 1e-9);
    EXPECT_NEAR(g.maxN, 1100.0, 1e-9);
    EXPECT_NEAR(g.minE, 1000.0, 1e-9);
    EXPECT_NEAR(g.maxE, 1050.0, 1e-9);
}

// A control record with an elevation alone has no northing: its easting
// never reaches the extents.
TEST(NetworkModelPoints, TheExtentsIgnorePointsWithoutANorthing) {
    GraphProject project;
    std::vector<std::string> lines{"6SE X:! Y:! Z:!", "6C A 1000.000 1000.000 10.0",
                                   "6C B 1100.000 1000.000 10.0", "6E H 55.0"};
    for (const std::string& l : setupLines("A", "B", "100.000", {{"H", "90.0000", "50.000"}}))
        lines.push_back(l);
    project.writeVkr("net.vkr", lines);
    RecordingShell shell;
    rawDataGraph g(shell);
    EXPECT_NEAR(g.minE, 1000.0, 1e-9);
    EXPECT_NEAR(g.maxE, 1050.0, 1e-9);
    EXPECT_NEAR(g.maxN, 1100.0, 1e-9);
}

TEST(NetworkModel, FindAzimuthEitherWayTurnsAReversedRecordAround) {
    GraphProject project;
    azimuthObs stored;
    setPointName(stored.from, "P");
    setPointName(stored.to, "Q");
    stored.azimuth = 0.25;
    azimuthList2D.append(stored);
    azimuthObs found;
    EXPECT_EQ(rawDataGraph::findAzimuthEitherWay("p", "q", found), 0);
    EXPECT_EQ(found.azimuth, 0.25);
    EXPECT_EQ(rawDataGraph::findAzimuthEitherWay("Q", "P", found), 0);
    EXPECT_STREQ(found.from, "Q");
    EXPECT_STREQ(found.to, "P");
    EXPECT_NEAR(found.azimuth, 0.25 + pi, 1e-15);
    stored.azimuth = 4.0; // reversed: 4 + pi - 2 pi
    azimuthList2D.replace(stored);
    EXPECT_EQ(rawDataGraph::findAzimuthEitherWay("Q", "P", found), 0);
    EXPECT_NEAR(found.azimuth, 4.0 - pi, 1e-15);
    EXPECT_EQ(rawDataGraph::findAzimuthEitherWay("P", "R", found), -1);
}

// A list that names an .RW5 file anywhere, in any letter case, is read whole
// by the .RW5 reader, which tells of the first file that does not open; the
// numeric input drops a missing file without a word.
TEST(NetworkModelInput, AListNamingAnRw5FileAnywhereIsReadByTheRw5Reader) {
    struct Case {
        const char* list;
        bool rw5;
    };
    const Case cases[] = {{"first.vkr\nsecond.rw5\n", true},
                          {"first.vkr\nsecond.Rw5\n", true},
                          {"first.vkr\nsecond.RW5\n", true},
                          {"first.vkr\nsecond.vkr\n", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.list);
        GraphProject project;
        projectVars.pInputFileName = c.list;
        RecordingShell shell;
        rawDataGraph g(shell);
        if (c.rw5) {
            ASSERT_EQ(shell.boxes.size(), 1u);
            EXPECT_EQ(shell.boxes[0].text,
                      "Error opening " + project.path("first.vkr") + ": No such file or directory");
        } else {
            EXPECT_TRUE(shell.boxes.empty());
        }
    }
}

// The 3D model draws its network at the preliminary coordinates of the 3D
// chain: the fixture's traverse, four stations each set up once, two of them
// control marks. The computed stations widen the extents to C's easting and
// D's northing (the example's table moved to the grid; the preliminary
// positions are within centimetres).
TEST(NetworkModel, TheThreeDimensionalModelDrawsThePreliminaryCoordinates) {
    GraphProject project;
    testsupport::useTerrestrial3DSystem(projectVars);
    testsupport::writeBytes(project.path("net.vkr"), testsupport::terrestrial3DRaw());
    RecordingShell shell;
    rawDataGraph g(shell);
    EXPECT_EQ(g.buildStatus, graphBuilt);
    EXPECT_TRUE(shell.boxes.empty());
    EXPECT_EQ(g.pointCount(), 2);
    EXPECT_EQ(g.setupCount(), 4);
    EXPECT_NEAR(g.maxE, 680430.150, 0.05);
    EXPECT_NEAR(g.minN, 4981880.600, 0.05);
}
