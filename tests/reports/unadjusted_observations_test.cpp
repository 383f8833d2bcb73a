// The "Unadjusted Observations" sections: the example project's 2D listing
// against a golden file rendered independently (fixtures/reports/
// make_site_unadjusted.py), the same bytes under a comma-decimal locale, and
// the rules of the 3D listing.

#include "run_files_fixture.hpp"

#include "model/angle_math.hpp"
#include "model/settings/global_vars.hpp"
#include "reports/unadjusted_observations.hpp"
#include "support/comma_locale.hpp"

namespace {

coordRec point(const char* name, int type, double northing, double easting) {
    coordRec p;
    setPointName(p.name, name);
    p.pointType = type;
    p.northing = northing;
    p.easting = easting;
    return p;
}

double degrees(double value) {
    return value * angle::pi / 180.0;
}

// The example project's lists as the builders and the preliminary
// coordinates leave them (see make_site_unadjusted.py).
void fillExampleLists() {
    for (const coordRec& p :
         {point("A", ptFixed, 1000.0, 1000.0), point("B", ptFixed, 1180.25, 1245.8)}) {
        controlPointList2D.append(p);
        fixedPointList2D.append(p);
    }
    pointList2D.append(point("C", ptUnknown, 1050.42, 1430.15));
    pointList2D.append(point("D", ptUnknown, 880.6, 1210.33));
    const struct {
        const char* from;
        const char* to;
        double distance;
        double stdErr;
    } distances[] = {{"A", "B", 304.8076, 0.0036},
                     {"B", "C", 225.4789, 0.0035},
                     {"C", "D", 277.7763, 0.0036},
                     {"D", "A", 241.8575, 0.0035}};
    for (const auto& d : distances) {
        distanceObs2D obs;
        setPointName(obs.from, d.from);
        setPointName(obs.to, d.to);
        obs.distance = d.distance;
        obs.stdErrDist = d.stdErr;
        distanceList2D.append(obs);
    }
    const struct {
        const char* backsight;
        const char* instrument;
        const char* foresight;
        double angle_deg;
    } angles[] = {{"D", "A", "B", 294.163984},
                  {"A", "B", "C", 251.408768},
                  {"B", "C", "D", 287.157001},
                  {"C", "D", "A", 247.270247}};
    for (const auto& a : angles) {
        angleObs2D obs;
        setPointName(obs.backsight, a.backsight);
        setPointName(obs.instrument, a.instrument);
        setPointName(obs.foresight, a.foresight);
        obs.angle = degrees(a.angle_deg);
        obs.stdErr = 2.5;
        angleList2D.append(obs);
    }
}

void useExampleSettings() {
    projectVars.gridSystem = gridLocal;
    projectVars.NEDisplayType = 0;
    projectVars.coordPrec = 3;
    projectVars.distPrec = 3;
    projectVars.directionPrec = 1;
    projectVars.angleType = 0;
}

} // namespace

TEST_F(RunFiles, ExampleListingMatchesTheGoldenFile) {
    useExampleSettings();
    fillExampleLists();
    writeRptUnadjustedObs(rptFile);
    const std::string golden =
        testsupport::readBytes(std::string(TARNWELL_FIXTURES) + "/reports/site_unadjusted.RPT");
    const std::vector<std::string> expected = crlfLines(golden);
    const std::string written = report();
    const std::vector<std::string> lines = crlfLines(written);
    ASSERT_EQ(lines.size(), expected.size());
    for (std::size_t i = 0; i < lines.size(); ++i)
        EXPECT_EQ(lines[i], expected[i]) << "line " << i + 1;
    EXPECT_EQ(written, golden);
}

TEST_F(RunFiles, ListingIsTheSameUnderACommaDecimalLocale) {
    useExampleSettings();
    fillExampleLists();
    writeRptUnadjustedObs(rptFile);
    const std::string plain = report();
    restartFiles();
    {
        testsupport::CommaLocale comma;
        TARNWELL_REQUIRE_COMMA(comma);
        writeRptUnadjustedObs(rptFile);
    }
    EXPECT_EQ(report(), plain);
}

TEST_F(RunFiles, WeightedGivenAndRunPointsOfThe2DListing) {
    useExampleSettings();
    projectVars.NEDisplayType = 2; // X Y: easting first
    projectVars.gridSystem = gridUtm;
    projectVars.directionType = 1;
    coordRec weighted = point("W1", ptWeightedControl, 200.0, 100.0);
    weighted.stdErrE = 0.01;
    weighted.stdErrN = 0.02;
    controlPointList2D.append(weighted);
    controlPointList2D.append(point("G1", ptGiven, 300.0, 400.0));
    coordRec run = point("W2", ptWeightedControl, 10.0, 20.0);
    run.stdErrE = 0.005;
    run.stdErrN = -1.0;           // none: printed as zero
    pointList2D.append(weighted); // listed once, from the control list
    pointList2D.append(run);
    givenPointList2D.append(point("G2", ptGiven, 1.0, 2.0));
    azimuthObs azimuth;
    setPointName(azimuth.from, "W1");
    setPointName(azimuth.to, "W2");
    azimuth.azimuth = degrees(45.5);
    azimuth.stdErr = -3.25;
    azimuthList2D.append(azimuth);
    writeRptUnadjustedObs(rptFile);
    const std::vector<std::string> lines = crlfLines(report());
    const std::vector<std::string> expected = {
        "Control Coordinates:     1 Observed Points,    0 Fixed Points,    1 Approx. Points",
        " Sta.            X:            Y:           StErr X:   StErr Y:",
        " W1               100.000       200.000      0.010       0.020",
        " G1               400.000       300.000      FLOAT     FLOAT",
        " W2                20.000        10.000      0.005      0.000",
        " G2                 2.000         1.000      FLOAT     FLOAT",
        "",
        "",
        "Grid Azimuths:    1 Observations",
        " Occ. Sta.   FS Sta.       Azimuth        StErr (Sec.)",
        " W1           W2          045-30'00.0\"     -    3.2  ",
    };
    ASSERT_GE(lines.size(), 8 + expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(lines[8 + i], expected[i]) << "line " << 9 + i;
}

TEST_F(RunFiles, ThreeDListingShowsMetresInTheProjectUnit) {
    projectVars.HorizUnits = 1; // US survey feet: 3.2808333333333333 ft per metre
    projectVars.coordPrec = 3;
    projectVars.distPrec = 3;
    projectVars.elevDispPrec = 3;
    projectVars.NEDisplayType = 0;
    stationRec fixed;
    setPointName(fixed.name, "F1");
    fixed.pointType = ptFixed;
    fixed.northing = 1000.0;
    fixed.easting = 2000.0;
    fixed.elevation = 100.0;
    fixed.geoidSep = -30.0;
    fixed.latitude = degrees(45.5);
    fixed.longitude = degrees(-75.25);
    controlStationList.append(fixed);
    fixedStationList.append(fixed);
    distanceObs d;
    setPointName(d.from, "F1");
    setPointName(d.to, "P2");
    d.reducedDist = 100.0;
    d.meanDist = 99.0;
    d.stdErr = 0.01;
    distanceList.append(d);
    writeRptUnadjustedObs3D(rptFile, 0);
    const std::vector<std::string> lines = crlfLines(report());
    auto has = [&](const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    };
    EXPECT_TRUE(has("     3-DIMENSIONAL ADJUSTMENT REPORT"));
    EXPECT_TRUE(
        has("Control Coordinates:     0 Observed Points,    1 Fixed Points,    0 Approx. Points"));
    // Ellipsoid height 100 m = 328.083 US ft; latitude and longitude as text.
    EXPECT_TRUE(
        has(" F1          45-30'00.00000\"N  75-15'00.00000\"W      328.083     FIXED      FIXED"
            "      FIXED"));
    // Grid: 1000 m = 3280.833 ft, 2000 m = 6561.667 ft; Z (Geoid) 130 m = 426.508 ft.
    EXPECT_TRUE(has(
        " F1              3280.833      6561.667       426.508      FIXED       FIXED     FIXED"));
    EXPECT_TRUE(has("Mark to Mark Slope Distances:    1 Observations"));
    // 100 m = 328.083 ft; 0.01 m = 0.033 ft.
    EXPECT_TRUE(has(" F1            P2                328.083       0.033"));
}
