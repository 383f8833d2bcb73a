// Known stations by name and the geodetic services of a local grid.

#include "model/project_geodesy.hpp"

#include "model/program_lists.hpp"
#include "model/settings/global_vars.hpp"
#include "support/raw_list_builder.hpp"

#include <gtest/gtest.h>

namespace {

using namespace testsupport;

stationRec named(const char* name, double easting) {
    stationRec r;
    setPointName(r.name, name);
    r.easting = easting;
    return r;
}

using ProjectGeodesy = RawListTest;

// Fixed, then adjustable, then given points, each only with its easting set.
TEST_F(ProjectGeodesy, KnownStationsComeFromTheFirstListThatHoldsCoordinates) {
    fixedStationList.append(named("P", notComputed));
    stationList.append(named("P", 2.0));
    givenStationList.append(named("P", 3.0));
    givenStationList.append(named("G", 4.0));
    stationRec p = named("p", notComputed);
    ASSERT_EQ(findKnownStation3D(p), stationFound);
    EXPECT_EQ(p.easting, 2.0);
    stationRec g = named("G", notComputed);
    ASSERT_EQ(findKnownStation3D(g), stationFound);
    EXPECT_EQ(g.easting, 4.0);
    stationRec q = named("Q", 9.0);
    EXPECT_EQ(findKnownStation3D(q), stationNotFound);
    EXPECT_EQ(q.easting, 9.0);

    coordRec c;
    setPointName(c.name, "C");
    c.easting = 5.0;
    pointList2D.append(c);
    coordRec wanted;
    setPointName(wanted.name, "c");
    ASSERT_EQ(findKnownStation2D(wanted), stationFound);
    EXPECT_EQ(wanted.easting, 5.0);
}

TEST_F(ProjectGeodesy, GeoidSeparationIsZeroInALocalGridAndTheProjectsValueWithoutAModel) {
    projectVars.geoidHt = -31.5;
    projectVars.geoidModel = 0;
    geodCoord at{};
    double separation = 7.0;
    projectVars.gridSystem = gridLocal;
    EXPECT_EQ(getGeoidHeight(at, separation), 0);
    EXPECT_EQ(separation, 0.0);
    projectVars.gridSystem = gridUtm;
    EXPECT_EQ(getGeoidHeight(at, separation), 0);
    EXPECT_EQ(separation, -31.5);
}

TEST_F(ProjectGeodesy, ALocalGridLeavesPositionsAlone) {
    projectVars.gridSystem = gridLocal;
    geodCoord at{};
    at.northing = 10.0;
    EXPECT_EQ(projGridToGeod(at), 0);
    EXPECT_EQ(at.lat, 0.0);
    stationRec s = named("S", 1.0);
    projGeodToEcef(s);
    EXPECT_FALSE(isSet(s.ecefX));
}

} // namespace
