// The report's title and settings block in its modes and coordinate
// systems, the projection block, the .OUT header and the word tables. The
// example project's block is checked against a golden file by the tarnrun
// tests; here the branches it does not take.

#include "run_files_fixture.hpp"

#include "model/settings/global_vars.hpp"
#include "reports/report_header.hpp"
#include "reports/report_words.hpp"
#include "support/angles.hpp"
#include "support/comma_locale.hpp"

#include <algorithm>

using testsupport::radiansOf;

namespace {

bool contains(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// The lines after `first` (exclusive), up to `count` of them.
std::vector<std::string> after(const std::vector<std::string>& lines, const std::string& first,
                               std::size_t count) {
    const auto at = std::find(lines.begin(), lines.end(), first);
    if (at == lines.end())
        return {};
    const auto from = at + 1;
    return {from, from + static_cast<long>(std::min<std::size_t>(count, lines.end() - from))};
}

} // namespace

TEST_F(RunFiles, VerticalReportEndsAfterTheCurvatureLineWithoutALevelFile) {
    projectVars.horizAdjust = 0;
    projectVars.curvRefract = 1;
    ASSERT_EQ(writeRptHeader(verticalReportHeader), 0);
    const std::vector<std::string> expected = {
        "",
        "                 LEAST SQUARES VERTICAL ADJUSTMENT REPORT",
        "",
        "",
        "Wed Dec  9 23:58:15 2026",
        "Output File: " + projectVars.reportFileName,
        "Curvature, refraction correction: ON",
        "",
    };
    EXPECT_EQ(crlfLines(report()), expected);
}

TEST_F(RunFiles, VerticalReportWithALevelFile) {
    projectVars.horizAdjust = 1;
    projectVars.pInputFileName = "one.vkr\ntwo.vkr\n";
    projectVars.pLevRawFileName = "site.lev";
    projectVars.diffLevDistBSFS = 50.0;
    projectVars.diffLevRodRead = 0.0001;
    projectVars.diffLevCollimation = 3.0;
    writeRptHeader(verticalReportHeader);
    const std::vector<std::string> lines = crlfLines(report());
    const std::vector<std::string> expected = {
        "2D Geodetic Model.",
        "Input Raw Files:",
        "    one.vkr",
        "    two.vkr",
        "Level File:  site.lev",
        "Output File: " + projectVars.reportFileName,
        "Curvature, refraction correction: ON",
        "Differential Leveling Standard Errors",
        "    Avg. Dist. to BS/FS:50.0",
        "    Rod Reading Err. per 100'/m:0.000",
        "    Collimation Err. (sec.) 3.0:",
        "",
    };
    EXPECT_EQ(after(lines, "Wed Dec  9 23:58:15 2026", 20), expected);
}

TEST_F(RunFiles, GridSystemsAddElevationFactorGeoidAndProjectionLines) {
    projectVars.gridSystem = gridUserDefined;
    projectVars.useProjZ = 0;
    projectVars.projZ = 250.0;
    projectVars.ZUnits = 1;
    projectVars.HorizUnits = 2;
    projectVars.geoidModel = 1;
    projectVars.geoidModelType = 2;
    projectVars.UDPFilePath = "site.udp";
    udpRec& p = projectVars.udp;
    p.ProjInt = udpTransverseMercator;
    p.EllipsInt = 9;
    p.EllipseA = 6378137.0;
    p.EllipseF = 1.0 / 298.257222101;
    p.CentralMeridian = radiansOf(-75);
    p.projection_scale = 0.9996;
    p.FalseNorthings = 0.0;
    p.FalseEastings = 500000.0;
    p.ScaleOrRefLatitude = radiansOf(10, 30);
    projectVars.coordPrec = 3;
    writeRptHeader(adjustmentReportHeader);
    const std::vector<std::string> lines = crlfLines(report());
    // f = 1/298.257222101 = 0.0033528106812 to 13 decimals.
    const std::vector<std::string> expected = {
        "Coordinate System: User-defined",
        "User-defined Projection file: site.udp",
        "  Map Projection System: Transverse Mercator",
        "  Ellipsoid: GRS 1980",
        "  Semimajor Axis: 6378137.0000  Flattening:  0.0033528106812",
        "  Central Meridian: 75-00'00.00000\"W",
        "  Scale Factor: 0.999600",
        "  North Grid Origin:        0.000",
        "  East Grid Origin:   500000.000",
        "  Latitude of North Origin: 10-30'00.00000\"N",
        "  Longitude of East Origin: 75-00'00.00000\"W",
        "",
        "Elevation factor computed from project elevation,250.000000.",
        "Elevation Units: US Feet",
        "Horizontal Units: Intl. Feet",
        "Confidence Interval: 95.00",
        "Geoid Height computed from geoid grid files using the EGM96 model.",
        "Default Standard Errors:",
    };
    EXPECT_EQ(after(lines, "Maximum iterations: 10 , Convergence Limit: 0.001000", 18), expected);
}

TEST_F(RunFiles, ThreeDModelWithGpsVectors) {
    projectVars.geodeticModel = 1;
    projectVars.gridSystem = gridNewBrunswickStereographic;
    projectVars.includeGPSVectors = 1;
    projectVars.pGPSFileName = "site.gps\n";
    projectVars.geoidHt = -28.5;
    projectVars.distPrec = 3;
    projectVars.stErrGPSCentering = 0.003;
    projectVars.stErrGPSMultFactor = 1.5;
    projectVars.useProjZ = 1;
    writeRptHeader(adjustmentReportHeader);
    const std::vector<std::string> lines = crlfLines(report());
    EXPECT_TRUE(contains(lines, "3D Geodetic Model."));
    EXPECT_TRUE(contains(lines, "    site.gps"));
    EXPECT_TRUE(contains(lines, "Coordinate System: New Brunswick Survey Control"));
    EXPECT_FALSE(contains(lines, "Elevation factor computed from raw data elevations."))
        << "the elevation factor lines belong to the 2D model";
    EXPECT_TRUE(contains(lines, "Project Geoid Height:   -28.500"));
    EXPECT_TRUE(contains(lines, "  GPS: Centering:0.003, Vector Err. Factor:1.5"));
}

TEST_F(RunFiles, BlunderAndPreprocessingTitlesGoToTheErrorReport) {
    const struct {
        int mode;
        std::vector<std::string> title;
    } rows[] = {
        {floatBlunderReportHeader,
         {"", "         BLUNDER DETECTION REPORT", "     LOW WEIGHT ON SINGLE MEASUREMENT",
          "     ================================", ""}},
        {reweightBlunderReportHeader,
         {"", "               BLUNDER DETECTION REPORT",
          "   REWEIGHT MEASUREMENTS USING STD.ERR. & RESIDUALS",
          "   ================================================", ""}},
        {preprocessingReportHeader,
         {"", "                 BLUNDER DETECTION REPORT",
          "                 PREPROCESSING & K-MATRIX ANALYSIS"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.mode);
        restartFiles();
        ASSERT_EQ(writeRptHeader(row.mode), 0);
        EXPECT_EQ(report(), "\r\n") << "the report gets one empty line";
        const std::vector<std::string> lines = crlfLines(errors());
        ASSERT_GT(lines.size(), row.title.size() + 2);
        EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + row.title.size()),
                  row.title);
        EXPECT_EQ(lines[row.title.size() + 1], "Wed Dec  9 23:58:15 2026");
        EXPECT_TRUE(contains(lines, "Local Coordinate System, Scale Factor: 1.000000"));
    }
    restartFiles();
    EXPECT_EQ(writeRptHeader(7), 0);
    EXPECT_EQ(report() + errors(), "") << "any other mode writes nothing";
}

TEST_F(RunFiles, OutHeaderTitlesAndColumns) {
    projectVars.pInputFileName = "site.vkr\n";
    projectVars.NEDisplayType = 2;
    ASSERT_EQ(writeOutHeader(rptFile, 0), 0);
    const std::vector<std::string> expected = {
        "",
        "     ======================",
        "     UNADJUSTED COORDINATES",
        "     ======================",
        "",
        "Wed Dec  9 23:58:15 2026",
        "Input Raw Files:",
        "    site.vkr",
        "Output File: " + projectVars.reportFileName,
        "Curvature, refraction correction: ON",
        "Local Coordinate System, Scale Factor: 1.000000",
        "Horizontal Units: Meters",
        "",
        "Pt.No.    Code       X            Y            Z           Desc.",
    };
    EXPECT_EQ(crlfLines(report()), expected);

    restartFiles();
    projectVars.NEDisplayType = 1;
    projectVars.gridSystem = gridNewBrunswickStereographic;
    projectVars.useProjZ = 1;
    writeOutHeader(rptFile, 1);
    const std::vector<std::string> lines = crlfLines(report());
    EXPECT_EQ(lines.at(2), "     ADJUSTED COORDINATES");
    EXPECT_EQ(lines.at(1), "     ====================");
    EXPECT_TRUE(contains(lines, "Elevations factor computed from raw data elevations."));
    EXPECT_TRUE(contains(lines, "Elevation Units: Meters"));
    EXPECT_EQ(lines.back(), "Pt.No.    Code       East        North       Elevation    Desc.");

    // The GPS vector and levelling files the run read are listed with the raw file.
    restartFiles();
    projectVars.includeGPSVectors = 1;
    projectVars.pGPSFileName = "site.gps\n";
    projectVars.includeLevData = 1;
    projectVars.pLevRawFileName = "loop.lev\n";
    writeOutHeader(rptFile, 1);
    const std::vector<std::string> listed = crlfLines(report());
    const auto at = std::find(listed.begin(), listed.end(), "Input Raw Files:");
    ASSERT_NE(at, listed.end());
    EXPECT_EQ(std::vector<std::string>(at + 1, at + 4),
              (std::vector<std::string>{"    site.vkr", "    site.gps", "    loop.lev"}));
}

TEST_F(RunFiles, AFailedWriteStopsTheHeader) {
    closeRptFile();
    rptFile = 987654; // a descriptor that is not open
    EXPECT_EQ(writeRptHeader(adjustmentReportHeader), 1);
    EXPECT_EQ(shell.boxes.size(), 1u) << "nothing is written after the first failure";
    rptFile = 0;
}

TEST_F(RunFiles, HeaderIsTheSameUnderACommaDecimalLocale) {
    projectVars.gridSystem = gridNewBrunswickStereographic;
    writeRptHeader(adjustmentReportHeader);
    const std::string plain = report();
    restartFiles();
    {
        testsupport::CommaLocale comma;
        TARNWELL_REQUIRE_COMMA(comma);
        writeRptHeader(adjustmentReportHeader);
    }
    EXPECT_EQ(report(), plain);
}

TEST_F(RunFiles, StatePlaneZoneLines) {
    const struct {
        int system;
        int zone;
        const char* line;
    } rows[] = {
        {gridStatePlane83, 101, "1983 State Plane Coordinates, zone:Alabama East - 0101"},
        {gridStatePlane27, 4904, "1927 State Plane Coordinates, zone:Wyoming West - 4904"},
        // A code the lists do not hold is named by its number, never read past the list.
        {gridStatePlane83, 99, "1983 State Plane Coordinates, zone:0099"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.line);
        restartFiles();
        projectVars.gridSystem = row.system;
        projectVars.gridZone = row.zone;
        writeRptHeader(adjustmentReportHeader);
        EXPECT_TRUE(contains(crlfLines(report()), row.line));
    }
}

TEST(ReportWords, TablesAndOutOfRangeIndexes) {
    EXPECT_EQ(utmZoneWord(1), "Zone  1 - N 174 deg. W To 180 deg. W");
    EXPECT_EQ(utmZoneWord(61), "Zone  1 - S 174 deg. W To 180 deg. W");
    EXPECT_EQ(utmZoneWord(120), "Zone 60 - S 180 deg. E To 174 deg. E");
    EXPECT_EQ(utmZoneWord(121), "121");
    EXPECT_EQ(ellipsoidWord(16), "User-Defined");
    EXPECT_EQ(ellipsoidWord(17), "");
    EXPECT_EQ(projectionWord(5), "Oblique Mercator, (EPSG)");
    EXPECT_EQ(geoidModelWord(7), "OSGM02");
    EXPECT_EQ(unitWord(2), "Intl. Feet");
    EXPECT_EQ(onOffWord(-1), "");
}
