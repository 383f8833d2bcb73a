// The 3D road's walks over hand-filled lists: where its foresights land and
// how GPS vectors find their setups. (The road itself stops earlier until the
// computing core has the 3D preliminary coordinates.)

#include "graph_project.hpp"

#include "vistra/network_model.hpp"
#include "vistra/network_stages.hpp"

#include <gtest/gtest.h>

namespace {

stationRec station(const char* name, double northing, double easting, int type) {
    stationRec s;
    setPointName(s.name, name);
    s.northing = northing;
    s.easting = easting;
    s.pointType = type;
    return s;
}

angleObs angle(const char* backsight, const char* instrument, const char* foresight,
               double angle_rad) {
    angleObs a;
    setPointName(a.backsight, backsight);
    setPointName(a.instrument, instrument);
    setPointName(a.foresight, foresight);
    a.angle = angle_rad;
    a.stdErr = 2.0;
    return a;
}

distanceObs distance(const char* from, const char* to, double mean, double stdErr) {
    distanceObs d;
    setPointName(d.from, from);
    setPointName(d.to, to);
    d.meanDist = mean;
    d.reducedDist = mean - 0.001;
    d.stdErr = stdErr;
    return d;
}

gpsVectorRec vector(const char* from, const char* to) {
    gpsVectorRec v;
    setPointName(v.from, from);
    setPointName(v.to, to);
    v.dX = 1.0;
    v.dY = 2.0;
    v.dZ = 3.0;
    v.varX = 0.1;
    v.varY = 0.2;
    v.varZ = 0.3;
    return v;
}

constexpr double halfPi = 1.57079632679489661923;

class ThreeDWalks : public ::testing::Test {
protected:
    ThreeDWalks() : graph(shell) {
        projectVars.pInputFileName.clear();
        graph.refresh(); // an empty model
        fixedStationList.append(station("A", 100.0, 200.0, ptFixed));
        stationList.append(station("B", 200.0, 200.0, ptUnknown));
        stationList.append(station("E", 0.0, 0.0, ptUnknown));
        stationList.append(station("D", 5.0, 5.0, ptUnknown));
        stationList.append(station("C", notComputed, notComputed, ptUnknown));
    }

    graphtest::GraphProject project;
    RecordingShell shell;
    rawDataGraph graph;
};

} // namespace

// A at (100, 200) looks north at B; C, 90 degrees to the right at the mean
// measured distance of 50 m (stored C -> A), lies at (100, 250).
TEST_F(ThreeDWalks, AForesightIsCarriedOutAlongTheTurnedDirection) {
    angleList.append(angle("B", "A", "C", halfPi));
    distanceList.append(distance("C", "A", 50.0, 0.004));
    collectSetups3D(graph);
    graphSetup setup;
    ASSERT_EQ(graph.findSetup("A", "B", setup), 0);
    EXPECT_EQ(setup.directionSource, directionComputed);
    EXPECT_NEAR(setup.direction, 0.0, 1e-15);
    ASSERT_EQ(setup.foresights.size(), 1u);
    const graphForesight& c = setup.foresights[0];
    EXPECT_EQ(c.distance, 50.0);
    EXPECT_EQ(c.distanceStdErr, 0.004);
    EXPECT_EQ(c.angleStdErr, 2.0);
    EXPECT_NEAR(c.northing, 100.0, 1e-12);
    EXPECT_NEAR(c.easting, 250.0, 1e-12);
}

// A setup whose backsight direction is neither observed nor computable
// cannot carry a distance out: its foresights stand on their own known
// coordinates, or nowhere; a setup on an unknown instrument places none.
TEST_F(ThreeDWalks, WithoutADirectionOrAnInstrumentForesightsAreNotCarriedOut) {
    angleList.append(angle("F", "E", "D", 1.0));
    angleList.append(angle("F", "E", "G", 2.0));
    angleList.append(angle("A", "H", "D", 1.0));
    distanceList.append(distance("E", "D", 10.0, 0.003));
    distanceList.append(distance("E", "G", 20.0, 0.003));
    distanceList.append(distance("H", "D", 30.0, 0.003));
    collectSetups3D(graph);
    graphSetup atE;
    ASSERT_EQ(graph.findSetup("E", "F", atE), 0);
    EXPECT_FALSE(isSet(atE.direction));
    ASSERT_EQ(atE.foresights.size(), 2u);
    EXPECT_EQ(atE.foresights[0].northing, 5.0);
    EXPECT_EQ(atE.foresights[0].easting, 5.0);
    EXPECT_FALSE(isSet(atE.foresights[1].northing));
    graphSetup atH;
    ASSERT_EQ(graph.findSetup("H", "A", atH), 1);
    EXPECT_FALSE(isSet(atH.instrumentN));
    ASSERT_EQ(atH.foresights.size(), 1u);
    EXPECT_FALSE(isSet(atH.foresights[0].northing));
}

// A vector hangs on the first setup of its start point; one from a point
// that is never an instrument gets a setup of its own without a backsight.
TEST_F(ThreeDWalks, GpsVectorsFindTheirSetups) {
    angleList.append(angle("B", "A", "C", halfPi));
    gpsVectorList.append(vector("A", "B"));
    gpsVectorList.append(vector("K", "A"));
    collectSetups3D(graph);
    collectVectors3D(graph);
    ASSERT_EQ(graph.setupCount(), 2);
    graphSetup atA;
    ASSERT_EQ(graph.findSetupAt("A", atA), 0);
    ASSERT_EQ(atA.vectors.size(), 1u);
    EXPECT_STREQ(atA.vectors[0].to, "B");
    EXPECT_EQ(atA.vectors[0].toN, 200.0);
    EXPECT_EQ(atA.vectors[0].varZ, 0.3);
    graphSetup atK;
    ASSERT_EQ(graph.findSetupAt("K", atK), 1);
    EXPECT_STREQ(atK.backsight, "");
    EXPECT_FALSE(isSet(atK.direction));
    EXPECT_FALSE(isSet(atK.instrumentN));
    EXPECT_EQ(atK.backsightDist, 0.0);
    ASSERT_EQ(atK.vectors.size(), 1u);
    EXPECT_EQ(atK.vectors[0].toN, 100.0);
    EXPECT_EQ(atK.vectors[0].toE, 200.0);
}
