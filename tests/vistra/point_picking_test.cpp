// Picking: which points of the network lie near a click, nearest first.

#include "graph_project.hpp"

#include "vistra/point_picking.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using graphtest::GraphProject;

namespace {

graphSetup setupAt(const char* instrument, double north, double east, const char* backsight,
                   double direction, double distance) {
    graphSetup s;
    setPointName(s.instrument, instrument);
    setPointName(s.backsight, backsight);
    s.instrumentN = north;
    s.instrumentE = east;
    s.direction = direction;
    s.backsightDist = distance;
    return s;
}

graphPoint pointAt(const char* name, double north, double east) {
    graphPoint p;
    setPointName(p.name, name);
    p.northing = north;
    p.easting = east;
    p.pointType = 1;
    return p;
}

std::vector<std::string> namesOf(const std::vector<pickCandidate>& list) {
    std::vector<std::string> names;
    for (const pickCandidate& c : list)
        names.push_back(c.name);
    return names;
}

class PointPicking : public ::testing::Test {
protected:
    GraphProject project;
    RecordingShell shell;
    rawDataGraph model{shell};
};

TEST_F(PointPicking, NearerPointComesFirst) {
    ASSERT_EQ(model.appendPoint(pointAt("FAR", 1003.0, 1000.0)), 0);
    ASSERT_EQ(model.appendPoint(pointAt("NEAR", 1000.0, 1001.0)), 0);
    ASSERT_EQ(model.appendPoint(pointAt("OUT", 1010.0, 1000.0)), 0);
    auto got = pickPoints(model, {1000.0, 1000.0}, 5.0);
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(namesOf(got), (std::vector<std::string>{"NEAR", "FAR"}));
    EXPECT_DOUBLE_EQ(got[0].distance, 1.0);
    EXPECT_DOUBLE_EQ(got[1].distance, 3.0);
}

TEST_F(PointPicking, InstrumentOnTheRadiusCountsOtherPointsDoNot) {
    // The instrument and a marked point both lie exactly 5 from the click.
    ASSERT_EQ(model.appendSetup(setupAt("I", 1005.0, 1000.0, "", notComputed, 0.0)), 0);
    ASSERT_EQ(model.appendPoint(pointAt("P", 995.0, 1000.0)), 0);
    EXPECT_EQ(namesOf(pickPoints(model, {1000.0, 1000.0}, 5.0)), std::vector<std::string>{"I"});
}

TEST_F(PointPicking, SharedPointIsListedOnceAtItsFirstDistance) {
    // Setup A at (N 1000, E 1000) sees B 4 to the east (azimuth 90 degrees);
    // setup B stands on B. B's backsight is first met at distance 4 - 0.5.
    const double east = std::numbers::pi / 2;
    ASSERT_EQ(model.appendSetup(setupAt("A", 1000.0, 1000.0, "B", east, 4.0)), 0);
    ASSERT_EQ(model.appendSetup(setupAt("B", 1000.0, 1004.0, "A", 3 * east, 4.0)), 0);
    auto got = pickPoints(model, {1003.5, 1000.0}, 5.0);
    EXPECT_EQ(namesOf(got), (std::vector<std::string>{"B", "A"}));
    EXPECT_NEAR(got[0].distance, 0.5, 1e-9);
}

TEST_F(PointPicking, BacksightWithoutDirectionIsNoCandidate) {
    ASSERT_EQ(model.appendSetup(setupAt("A", 1000.0, 1000.0, "B", notComputed, 4.0)), 0);
    EXPECT_EQ(namesOf(pickPoints(model, {1000.0, 1000.0}, 5.0)), std::vector<std::string>{"A"});
}

TEST(BacksightPosition, LiesAlongTheAzimuthFromNorth) {
    graphSetup s = setupAt("A", 1000.0, 2000.0, "B", std::numbers::pi / 6, 10.0);
    groundPoint b = backsightPosition(s);
    EXPECT_NEAR(b.north, 1000.0 + 10.0 * std::sqrt(3.0) / 2, 1e-9); // cos 30
    EXPECT_NEAR(b.east, 2000.0 + 5.0, 1e-9);                        // sin 30
}

} // namespace
