#include "rw5_test_support.hpp"

#include "support/angles.hpp"

#include <cmath>

namespace {

using namespace rw5test;
using testsupport::pi;
using testsupport::radiansOf;

constexpr double tol = 1e-9;

using Rw5Backsight = Rw5ReaderTest;

// BK,OP1,BP0,BS45 then BD,OP1,FP2: the "BD" names the backsight.
TEST_F(Rw5Backsight, AzimuthOnlySetupTakesTheBdForesightAsBacksight) {
    ASSERT_EQ(read("backsight_from_bd.rw5"), 0);
    const std::vector<rawRec> r = records();
    ASSERT_EQ(kindsOf(r), (std::vector<int>{rawCoord, rawSetup, rawForesight}));
    EXPECT_EQ(nameOf(r[1].backsightName), "2");
    EXPECT_NEAR(r[1].horizDistance, 100.0, tol); // the BD's sight went into the setup
    EXPECT_EQ(nameOf(r[2].foresightName), "3");
}

TEST_F(Rw5Backsight, WithDummyCoordsTheBdForesightGetsTheAzimuth) {
    projectVars.useDummyBacksightCoords = 1;
    ASSERT_EQ(read("backsight_from_bd.rw5"), 0);
    const std::vector<rawRec> r = records();
    ASSERT_EQ(kindsOf(r), (std::vector<int>{rawCoord, rawAzimuth, rawSetup, rawForesight}));
    EXPECT_EQ(nameOf(r[1].fromName), "1");
    EXPECT_EQ(nameOf(r[1].toName), "2");
    EXPECT_NEAR(r[1].azimuth, pi / 4, 1e-12);
}

// BK,OPCP1,BP0,BS90 with no BD: the backsight is the dummy point "BACKCP1".
TEST_F(Rw5Backsight, AzimuthOnlySetupWithoutBdGetsADummyPoint) {
    ASSERT_EQ(read("dummy_backsight.rw5"), 0);
    const std::vector<rawRec> r = records();
    ASSERT_EQ(kindsOf(r), (std::vector<int>{rawCoord, rawAzimuth, rawSetup, rawForesight}));
    EXPECT_EQ(nameOf(r[1].fromName), "CP1");
    EXPECT_EQ(nameOf(r[1].toName), "BACKCP1");
    EXPECT_NEAR(r[1].azimuth, pi / 2, 1e-12);
    EXPECT_EQ(nameOf(r[2].stationName), "CP1");
    EXPECT_EQ(nameOf(r[2].backsightName), "BACKCP1");
}

TEST_F(Rw5Backsight, WithDummyCoordsTheDummyPointStands100UnitsAlongTheAzimuth) {
    projectVars.useDummyBacksightCoords = 1;
    ASSERT_EQ(read("dummy_backsight.rw5"), 0);
    const std::vector<rawRec> r = records();
    ASSERT_EQ(kindsOf(r), (std::vector<int>{rawCoord, rawCoord, rawAzimuth, rawAzimuth, rawSetup,
                                            rawForesight}));
    // Azimuth 90 from CP1 (N 5000, E 5000): N 5000 + 100 cos 90 = 5000, E 5000 + 100 sin 90 = 5100.
    EXPECT_EQ(nameOf(r[1].pointName), "BACKCP1");
    EXPECT_NEAR(r[1].northing, 5000.0, tol);
    EXPECT_NEAR(r[1].easting, 5100.0, tol);
    EXPECT_DOUBLE_EQ(r[1].elevation, 100.0);
    EXPECT_EQ(nameOf(r[3].toName), "BACKCP1");
}

// BK,OP1,BP0,BS10 followed at once by BK,OP1,BP2: the first setup is dropped.
TEST_F(Rw5Backsight, AzimuthOnlySetupRepeatedAtOnceIsDropped) {
    ASSERT_EQ(read("repeated_setup.rw5"), 0);
    const std::vector<rawRec> r = records();
    ASSERT_EQ(kindsOf(r), (std::vector<int>{rawSetup, rawForesight}));
    EXPECT_EQ(nameOf(r[0].backsightName), "2");
}

// An empty BP is taken from the next BD of the point; with none it is "BACK1".
TEST_F(Rw5Backsight, EmptyBacksightFromTheNextBdElseBack1) {
    ASSERT_EQ(read("empty_backsight.rw5"), 0);
    const std::vector<rawRec> r = records();
    ASSERT_EQ(kindsOf(r), (std::vector<int>{rawSetup, rawSetup, rawForesight}));
    EXPECT_EQ(nameOf(r[0].stationName), "1");
    EXPECT_EQ(nameOf(r[0].backsightName), "2");
    EXPECT_EQ(nameOf(r[1].stationName), "2");
    EXPECT_EQ(nameOf(r[1].backsightName), "BACK1");
}

TEST_F(Rw5Backsight, BdWithoutForesightSightsTheSetupsBacksight) {
    testsupport::writeBytes(folder / "bd.rw5", "LS,HI1.5,HR1.5\n"
                                               "BK,OP1,BP2,BS,BC0.0000\n"
                                               "BD,OP1,FP2,AR0.0000,ZE90.0000,SD20.000\n"
                                               "SS,OP1,FP3,AR90.0000,ZE90.0000,SD10.000\n"
                                               "BD,OP1,,AR0.0001,ZE90.0000,SD20.000\n");
    ASSERT_EQ(readRw5File((folder / "bd.rw5").string() + "\n", ""), 0);
    const std::vector<rawRec> r = records();
    ASSERT_EQ(kindsOf(r), (std::vector<int>{rawSetup, rawForesight, rawForesight}));
    // The first BD went into the setup; the later one is a sight of the backsight.
    EXPECT_EQ(nameOf(r[2].foresightName), "2");
    EXPECT_NEAR(r[2].horizontalReading, radiansOf(0, 0, 1), 1e-12);
}

} // namespace
