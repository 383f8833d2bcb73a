// Horizontal sideshots of the 2D chain: positions and standard errors
// against formulas written out here (the radial errors also against a
// numerical Jacobian), the order of the rules, sideshots of sideshots, the
// wrap-around of the distance walk and the report lines.

#include "engine/sideshots_2d.hpp"
#include "reports/run_files_fixture.hpp"
#include "reports/sideshot_listing.hpp"
#include "reports/sideshot_settings.hpp"
#include "sideshot_lists.hpp"
#include "support/angles.hpp"

#include <cmath>
#include <functional>

using namespace sideshottest;
using testsupport::radiansOf;

namespace {

// Seconds of arc per radian in the sideshot error formulas.
constexpr double rhoSideshot = 206264.8;

class Sideshots2D : public RunFiles {
protected:
    void SetUp() override {
        RunFiles::SetUp();
        useSideshotListingSettings();
        projectVars.NEDisplayType = 0;
    }

    std::vector<std::string> reportLines() { return crlfLines(report()); }
};

// The spread of f(d, t) from the spreads of d and t, by central differences.
double propagated(const std::function<double(double, double)>& f, double d, double t, double sd,
                  double st) {
    const double h = 1e-6;
    const double byD = (f(d + h, t) - f(d - h, t)) / (2 * h);
    const double byT = (f(d, t + h) - f(d, t - h)) / (2 * h);
    return std::hypot(byD * sd, byT * st);
}

TEST_F(Sideshots2D, RadialSideshotFromAnAngleAtTheKnownPoint) {
    // K due south of the backsight B; the angle B-K-P of 60 degrees makes
    // the direction K -> P 60 degrees; K and B are fixed (errors -2 count 0).
    fixedPointList2D.append(point2D("K", ptFixed, 5000.0, 5000.0));
    fixedPointList2D.append(point2D("B", ptFixed, 5200.0, 5000.0));
    pointList2D.append(unplaced2D("P", ptSideshot));
    angleList2D.append(angleAt("B", "K", "P", radiansOf(60), 5.0));
    distanceList2D.append(distance2D("K", "P", 100.0, 0.005));

    writeRptSideshots(computeSideshots2D(RunContext(shell)));

    const coordRec p = pointNamed("P");
    const double t = radiansOf(60);
    const double st = 5.0 / rhoSideshot; // the angle's error is the direction's
    EXPECT_NEAR(p.northing, 5000.0 + 100.0 * std::cos(t), 1e-9);
    EXPECT_NEAR(p.easting, 5000.0 + 100.0 * std::sin(t), 1e-9);
    const auto east = [](double d, double a) { return 5000.0 + d * std::sin(a); };
    const auto north = [](double d, double a) { return 5000.0 + d * std::cos(a); };
    EXPECT_NEAR(p.stdErrE, propagated(east, 100.0, t, 0.005, st), 1e-9);
    EXPECT_NEAR(p.stdErrN, propagated(north, 100.0, t, 0.005, st), 1e-9);
    // sE = sqrt(sin^2 60 x 0.005^2 + (100 cos 60)^2 (5/206264.8)^2) = 0.0044966,
    // sN = sqrt(cos^2 60 x 0.005^2 + (100 sin 60)^2 (5/206264.8)^2) = 0.0032645.
    EXPECT_NEAR(p.stdErrE, 0.0044966, 1e-7);
    EXPECT_NEAR(p.stdErrN, 0.0032645, 1e-7);

    const std::vector<std::string> lines = reportLines();
    ASSERT_GE(lines.size(), 10u);
    EXPECT_EQ(lines[2], "Sideshots");
    EXPECT_EQ(lines[3], "=========");
    EXPECT_EQ(lines[6], " From      To              Azimuth       Dist.      N             E     "
                        "StDev. N  StDev. E");
    // " %-10.10s %-10.10s %s %s %s %s %s %s": the direction padded to 15,
    // "%9.3f", "%12.3f" twice, "%7.3f" twice.
    EXPECT_EQ(lines[8], " K          P           060-00'00.0\"     100.000     5050.000     "
                        "5086.603   0.003   0.004");
    EXPECT_EQ(lines[9], "");
    EXPECT_EQ(lines[10], "");
}

TEST_F(Sideshots2D, KnownPointErrorsAddAndMarkersCountAsZero) {
    // Azimuth K -> P of 0 degrees with 10": sE = sqrt(0.02^2 + (50 x 10/206264.8)^2),
    // sN = sqrt(0.01^2 + 0.004^2); K's easting error 0.02, northing error 0.01.
    coordRec k = point2D("K", ptUnknown, 100.0, 200.0);
    k.stdErrE = 0.02;
    k.stdErrN = 0.01;
    pointList2D.append(k);
    pointList2D.append(unplaced2D("P", ptSideshot));
    azimuthList2D.append(azimuthFrom("K", "P", 0.0, 10.0));
    distanceList2D.append(distance2D("P", "K", 50.0, 0.004));
    writeRptSideshots(computeSideshots2D(RunContext(shell)));
    const coordRec p = pointNamed("P");
    EXPECT_NEAR(p.northing, 150.0, 1e-9);
    EXPECT_NEAR(p.easting, 200.0, 1e-9);
    EXPECT_NEAR(p.stdErrE, std::hypot(0.02, 50.0 * 10.0 / rhoSideshot), 1e-12);
    EXPECT_NEAR(p.stdErrN, std::hypot(0.01, 0.004), 1e-12);
}

TEST_F(Sideshots2D, SideshotOfASideshotIsPlacedInALaterWalk) {
    fixedPointList2D.append(point2D("K", ptFixed, 0.0, 0.0));
    pointList2D.append(unplaced2D("S2", ptSideshot)); // tried first, before S1 is known
    pointList2D.append(unplaced2D("S1", ptSideshot));
    azimuthList2D.append(azimuthFrom("K", "S1", radiansOf(90)));
    azimuthList2D.append(azimuthFrom("S1", "S2", radiansOf(180)));
    distanceList2D.append(distance2D("S1", "S2", 30.0));
    distanceList2D.append(distance2D("K", "S1", 40.0));
    writeRptSideshots(computeSideshots2D(RunContext(shell)));
    EXPECT_NEAR(pointNamed("S1").easting, 40.0, 1e-9);
    EXPECT_NEAR(pointNamed("S1").northing, 0.0, 1e-9);
    EXPECT_NEAR(pointNamed("S2").easting, 40.0, 1e-9);
    EXPECT_NEAR(pointNamed("S2").northing, -30.0, 1e-9);
    const std::string text = report();
    EXPECT_LT(text.find(" K          S1 "), text.find(" S1         S2 "));
}

TEST_F(Sideshots2D, DistanceWalkWrapsAroundFromTheListCursor) {
    fixedPointList2D.append(point2D("K", ptFixed, 0.0, 0.0));
    coordRec p = unplaced2D("P", ptSideshot);
    azimuthList2D.append(azimuthFrom("K", "P", 0.0));
    distanceList2D.append(distance2D("K", "P", 12.0));
    distanceList2D.append(distance2D("X", "Y", 1.0));
    distanceList2D.append(distance2D("Y", "Z", 1.0));
    distanceList2D.seekCursor(1);
    const int angleCursor = angleList2D.openCursor(0);
    SideshotPlacement placement;
    ASSERT_EQ(locateSideshot2D(p, angleCursor, placement), 1);
    EXPECT_NEAR(p.northing, 12.0, 1e-12);
    EXPECT_EQ(distanceList2D.cursorIndex(), 1); // after the distance used
}

TEST_F(Sideshots2D, TwoDirectionsWithoutADistance) {
    // A at (N 1000, E 1000) sees P at 45 degrees, B at (N 1000, E 1200) at
    // 315 degrees: the lines cross at (N 1100, E 1100).
    fixedPointList2D.append(point2D("A", ptFixed, 1000.0, 1000.0));
    fixedPointList2D.append(point2D("B", ptFixed, 1000.0, 1200.0));
    pointList2D.append(unplaced2D("P", ptSideshot));
    azimuthList2D.append(azimuthFrom("A", "P", radiansOf(45)));
    azimuthList2D.append(azimuthFrom("B", "P", radiansOf(315)));
    writeRptSideshots(computeSideshots2D(RunContext(shell)));
    const coordRec p = pointNamed("P");
    EXPECT_NEAR(p.northing, 1100.0, 1e-9);
    EXPECT_NEAR(p.easting, 1100.0, 1e-9);
    EXPECT_GT(p.stdErrN, 0.0);
    const std::vector<std::string> lines = reportLines();
    EXPECT_EQ(lines[6], " From       Azimuth       From       Azimuth       To            N        "
                        "      E        StDev. N  StDev. E");
    // " %-10.10s %s  %-10.10s %s  %-10.10s %s %s %s %s"
    EXPECT_EQ(lines[8].substr(0, 81),
              " A           045-00'00.0\"    B           315-00'00.0\"    P "
              "             1100.000 ");
}

// Known points of the fixed list serve the resection, and a second angle
// from the shared backsight (120 degrees against 200) is the difference
// turned into [0, 2pi): 280 degrees from F1 to F2.
TEST_F(Sideshots2D, ResectionFromFixedPointsWithASharedBacksight) {
    // P at (N 1000, E 1000); B1, F1, F2 100 away at azimuths 0, 200 and 120.
    const auto at = [](double az) {
        return std::pair{1000.0 + 100.0 * std::cos(radiansOf(az)),
                         1000.0 + 100.0 * std::sin(radiansOf(az))};
    };
    for (const auto& [name, az] : {std::pair{"B1", 0.0}, {"F1", 200.0}, {"F2", 120.0}}) {
        const auto [n, e] = at(az);
        fixedPointList2D.append(point2D(name, ptFixed, n, e));
    }
    pointList2D.append(unplaced2D("P", ptSideshot));
    angleList2D.append(angleAt("B1", "P", "F1", radiansOf(200)));
    angleList2D.append(angleAt("B1", "P", "F2", radiansOf(120)));
    writeRptSideshots(computeSideshots2D(RunContext(shell)));
    const coordRec p = pointNamed("P");
    EXPECT_NEAR(p.northing, 1000.0, 1e-6);
    EXPECT_NEAR(p.easting, 1000.0, 1e-6);
    const std::vector<std::string> lines = reportLines();
    EXPECT_EQ(lines[6], " Pt. 1      Pt. 2      Pt. 3          Ang. 1      Ang. 2    SS Pt.#      "
                        "  N            E");
    ASSERT_GE(lines.size(), 9u);
    EXPECT_EQ(lines[8], " B1          F1          F2          200-00'00.0\"   280-00'00.0\"    P  "
                        "            1000.000     1000.000");
}

TEST_F(Sideshots2D, ASideshotNoRulePlacesKeepsNoPositionAndNoLine) {
    fixedPointList2D.append(point2D("K", ptFixed, 0.0, 0.0));
    pointList2D.append(point2D("P", ptSideshot, 5.0, 5.0)); // stale values are reset
    distanceList2D.append(distance2D("K", "P", 10.0));      // but no direction
    writeRptSideshots(computeSideshots2D(RunContext(shell)));
    EXPECT_FALSE(isSet(pointNamed("P").easting));
    EXPECT_FALSE(isSet(pointNamed("P").northing));
    const std::vector<std::string> lines = reportLines();
    EXPECT_EQ(lines, (std::vector<std::string>{"", "", "Sideshots", "=========", "", "", ""}));
}

} // namespace
