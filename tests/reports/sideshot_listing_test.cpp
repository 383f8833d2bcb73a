// The sideshot listing: a column heading whenever the kind of line changes,
// the coordinate order of NEDisplayType, standard-error markers, 3D values
// in the project's unit and the GPS-vector lines. Expected lines were
// rendered with Python's own %-formatting from the formats of the listing.

#include "reports/sideshot_listing.hpp"
#include "run_files_fixture.hpp"
#include "sideshot_settings.hpp"
#include "support/angles.hpp"

#include <algorithm>

using testsupport::radiansOf;

namespace {

class SideshotListing : public RunFiles {
protected:
    void SetUp() override {
        RunFiles::SetUp();
        useSideshotListingSettings();
        projectVars.NEDisplayType = 1; // easting first
        sideshotKind = noSideshotKind;
    }
};

const std::string radialHeading =
    " From      To              Azimuth       Dist.      E             N     "
    "StDev. E  StDev. N";
const std::string twoDirectionHeading =
    " From       Azimuth       From       Azimuth       To            "
    "E              N        StDev. E  StDev. N";

TEST_F(SideshotListing, HeadingsFollowTheKindOfEachLine) {
    writeRptSideshotsHeading();
    writeRptSideshotLine("K", 12.5, radiansOf(90), 1000.0, 2012.5, 0.001, -1.0, "P");
    // A name longer than its field is cut; -3 (fixed) prints empty, -1 as zero.
    writeRptSideshotLine("K", 1.0, radiansOf(45), 2.0, 1.0, -1.0, -3.0, "LONGNAME123");
    writeRptAzimuthIntersectLine("A", radiansOf(45), "B", radiansOf(90), 10.0, 20.0, 0.01, 0.02,
                                 "S");
    writeRptSideshotLine("K", 12.5, radiansOf(90), 1000.0, 2012.5, 0.001, -1.0, "P");
    EXPECT_EQ(sideshotKind, radialSideshot);

    const std::string radial = " K          P           090-00'00.0\"      12.500     2012.500     "
                               "1000.000   0.000   0.001";
    EXPECT_EQ(crlfLines(report()),
              (std::vector<std::string>{
                  "", "", "Sideshots", "=========", "", "", radialHeading, "", radial,
                  " K          LONGNAME12  045-00'00.0\"       1.000        1.000        2.000 "
                  "   0.000",
                  "", twoDirectionHeading, "",
                  " A           045-00'00.0\"    B           090-00'00.0\"    S                "
                  "20.000       10.000   0.020   0.010",
                  "", radialHeading, "", radial}));
}

TEST_F(SideshotListing, ANewSectionRepeatsTheFirstHeading) {
    writeRptSideshotsHeading();
    writeRptSideshotLine("K", 1.0, 0.0, 1.0, 1.0, 0.0, 0.0, "P");
    writeRptSideshotsHeading();
    EXPECT_EQ(sideshotKind, noSideshotKind);
    writeRptSideshotLine("K", 1.0, 0.0, 1.0, 1.0, 0.0, 0.0, "P");
    const std::vector<std::string> lines = crlfLines(report());
    EXPECT_EQ(std::count(lines.begin(), lines.end(), radialHeading), 2);
}

TEST_F(SideshotListing, ThreeDValuesShowInUsFeetWithTheirErrorsAsPassed) {
    projectVars.HorizUnits = 1;
    writeRptSideshotLine3D("K", 10.0, radiansOf(90), 100.0, 200.0, 0.002, -3.0, "P3");
    const std::vector<std::string> lines = crlfLines(report());
    ASSERT_EQ(lines.size(), 4u);
    // 10 m, 200 m and 100 m times 3.2808333333333333.
    EXPECT_EQ(lines[3], " K          P3          090-00'00.0\"      32.808      656.167      "
                        "328.083    0.002");
}

// A resected and an intersected 3D placement: the two-angle and the
// two-direction lines with the position in US feet (100 m and 200 m times
// 3.2808333333333333: 328.083 and 656.167; 10 m and 20 m: 32.808 and
// 65.617) and the standard errors as the station holds them.
TEST_F(SideshotListing, TheThreeDSectionListsResectedAndIntersectedPlacementsInTheUnit) {
    projectVars.HorizUnits = 1;
    SideshotPlacement3D resected;
    resected.rule = SideshotPlacement3D::Rule::twoAngles;
    setPointName(resected.station.name, "P");
    resected.station.northing = 100.0;
    resected.station.easting = 200.0;
    resected.known[0] = "B1";
    resected.known[1] = "F1";
    resected.known[2] = "F2";
    resected.angles_rad[0] = radiansOf(200);
    resected.angles_rad[1] = radiansOf(280);
    SideshotPlacement3D crossed;
    crossed.rule = SideshotPlacement3D::Rule::twoDirections;
    setPointName(crossed.station.name, "S");
    crossed.station.northing = 10.0;
    crossed.station.easting = 20.0;
    crossed.station.stdErrN = 0.01;
    crossed.station.stdErrE = 0.02;
    crossed.known[0] = "A";
    crossed.known[1] = "B";
    crossed.angles_rad[0] = radiansOf(45);
    crossed.angles_rad[1] = radiansOf(90);
    EXPECT_EQ(writeRptSideshots3D({resected, crossed}), 0);
    EXPECT_EQ(crlfLines(report()),
              (std::vector<std::string>{
                  "", "", "Sideshots", "=========", "", "",
                  " Pt. 1      Pt. 2      Pt. 3          Ang. 1      Ang. 2    SS Pt.#        "
                  "E            N",
                  "",
                  " B1          F1          F2          200-00'00.0\"   280-00'00.0\"    P  "
                  "             656.167      328.083",
                  "", twoDirectionHeading, "",
                  " A           045-00'00.0\"    B           090-00'00.0\"    S                "
                  "65.617       32.808   0.020   0.010",
                  "", ""}));
}

TEST_F(SideshotListing, GpsSideshotLinesShowTheVectorAndTheElevationAboveTheGeoid) {
    stationRec g;
    setPointName(g.name, "G");
    g.northing = 1000.0;
    g.easting = 2000.0;
    g.elevation = 50.0;
    g.geoidSep = -30.0;
    gpsVectorRec v;
    setPointName(v.from, "A");
    setPointName(v.to, "G");
    v.dX = 1.5;
    v.dY = -2.25;
    v.dZ = 3.125;
    writeRptGpsSideshotLine(g, v);
    EXPECT_EQ(crlfLines(report()),
              (std::vector<std::string>{
                  " From:A           Delta X:       1.5000  Delta Y:     -2.2500   Delta Z:      "
                  "3.1250",
                  " To  :G                 N:    1000.000   E:    2000.000   Z:      80.000", ""}));
}

// The 3D section: a radial placement (metres) and a GPS placement, each
// through its own line, framed by the heading and two empty lines.
TEST_F(SideshotListing, TheThreeDSectionListsRadialAndGpsPlacements) {
    SideshotPlacement3D radial;
    radial.rule = SideshotPlacement3D::Rule::radial;
    setPointName(radial.station.name, "P");
    radial.station.northing = 1000.0;
    radial.station.easting = 2012.5;
    radial.station.stdErrN = -1.0;
    radial.station.stdErrE = 0.001;
    radial.known[0] = "K";
    radial.distance = 12.5;
    radial.angles_rad[0] = radiansOf(90);
    SideshotPlacement3D gps;
    gps.rule = SideshotPlacement3D::Rule::gpsVector;
    setPointName(gps.station.name, "G");
    gps.station.northing = 1000.0;
    gps.station.easting = 2000.0;
    gps.station.elevation = 50.0;
    gps.station.geoidSep = -30.0;
    setPointName(gps.vector.from, "A");
    setPointName(gps.vector.to, "G");
    gps.vector.dX = 1.5;
    gps.vector.dY = -2.25;
    gps.vector.dZ = 3.125;
    EXPECT_EQ(writeRptSideshots3D({radial, gps}), 0);
    EXPECT_EQ(crlfLines(report()),
              (std::vector<std::string>{
                  "", "", "Sideshots", "=========", "", "", radialHeading, "",
                  " K          P           090-00'00.0\"      12.500     2012.500     "
                  "1000.000   0.001   0.000",
                  " From:A           Delta X:       1.5000  Delta Y:     -2.2500   Delta Z:      "
                  "3.1250",
                  " To  :G                 N:    1000.000   E:    2000.000   Z:      80.000", "",
                  "", ""}));
}

} // namespace
