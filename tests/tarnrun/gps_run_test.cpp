// A 3D project on a .GPS file (fixtures/input/gps/site.gps: three vectors
// around BASE - N1 - N2 and a C line for BASE), and on the makers' formats,
// run as a user runs it. The run loads the vectors and the control, lists
// them and adjusts them.

#include "damaged_field_run.hpp"
#include "platform/c_locale_text.hpp"
#include "support/temp_folder.hpp"
#include "tarnrun_command.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <utility>

namespace {

constexpr int exitConverged = 0;
constexpr int exitStoppedEarly = 1;
constexpr int exitAdjustmentFailed = 2;

std::string siteGps() {
    return testsupport::readBytes(std::string(TARNWELL_FIXTURES) + "/input/gps/site.gps");
}

// The example's project turned into a 3D project on UTM zone 18 (GRS 80)
// that reads `name` (holding `bytes`) as its only input, in GPS format
// `format`; tarnrun's exit status.
int runGpsFormat(const testsupport::TempFolder& folder, int format, const std::string& name,
                 const std::string& bytes, const std::string& options = "") {
    std::string project =
        testsupport::readBytes(std::string(TARNWELL_FIXTURES) + "/../../examples/site/site.prj");
    for (const auto& [from, to] : {std::pair{"includeRawData=1", "includeRawData=0"},
                                   {"includeGPSVectors=0", "includeGPSVectors=1"},
                                   {"geodeticModel=0", "geodeticModel=1"},
                                   {"gridSystem=0", "gridSystem=4"},
                                   {"includeClosure=1", "includeClosure=0"}})
        project.replace(project.find(from), std::string_view(from).size(), to);
    project += "gridZone=18\r\nellipsoid=9\r\npGPSFileName=" + name +
               "\r\ngpsFileFmtType=" + std::to_string(format) +
               "\r\nGPSUnits=0\r\nstErrGPSCentering=0.0\r\nstErrGPSMultFactor=1.0\r\n";
    testsupport::writeBytes(folder / "site.prj", project);
    testsupport::writeBytes(folder / name, bytes);
    return tarnruntest::runQuiet(folder / "site.prj", folder / "console.txt", options);
}

int runGpsProject(const testsupport::TempFolder& folder, const std::string& gps,
                  const std::string& options = "") {
    return runGpsFormat(folder, 0, "site.gps", gps, options);
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// A network of vectors that holds no control point stops at its preliminary
// coordinates, after the vectors are listed.
const std::string noControl = "No control points found.";

} // namespace

// The first vector, BASE to N1: dX -512.345678 and its variance 2.25e-5
// doubled by the vector factor 1 (2^1) = 4.5e-5, covXY 1.1e-6 x 2 = 2.2e-6.
// The third, under standard errors and correlations: varX 0.004^2 x 2 =
// 3.2e-5, covXY 0.2 x 0.004 x 0.005 x 2 = 8e-6.
TEST(GpsRun, AdjustsAndListsTheUnadjustedVectors) {
    testsupport::TempFolder folder("gps-run");
    EXPECT_EQ(runGpsProject(folder, siteGps()), exitConverged)
        << testsupport::readBytes(folder / "console.txt");
    const std::string report = testsupport::readBytes(folder / "site.RPT");
    EXPECT_TRUE(contains(report, "GPS Vectors:    3 Observations\r\n")) << report;
    EXPECT_TRUE(contains(report, " BASE             -512.346        4.5E-05          2.2E-06\r\n"));
    EXPECT_TRUE(contains(report, " N2                211.346        3.2E-05            8E-06\r\n"));
    EXPECT_TRUE(contains(report, " BASE         4982950.400    500000.000        98.400"))
        << "the C line is control";
    EXPECT_TRUE(contains(report, "Adjusted Geocentric Coordinates, (Metric)\r\n")) << report;
}

TEST(GpsRun, AMalformedLineStopsTheRunNamingFileAndLine) {
    testsupport::TempFolder folder("gps-run-malformed");
    std::string gps = siteGps();
    gps.replace(gps.find("G2    2.250000e-05"), 18, "G2    2.250000e-0x");
    EXPECT_EQ(runGpsProject(folder, gps), exitStoppedEarly);
    const std::string console = testsupport::readBytes(folder / "console.txt");
    EXPECT_TRUE(contains(console, "site.gps, line 4: The variance of dX \"2.250000e-0x\" is "
                                  "not a number. Record: G2    2.250000e-0x"))
        << console;
    EXPECT_TRUE(contains(console, "error loading GPS vector file"));
}

// "Invalid Point number" goes on only when the user says so: by default
// tarnrun gives the answer that loses nothing, Cancel.
TEST(GpsRun, AnEmptyPointNameIsAnsweredByTheAnswerOption) {
    std::string gps = siteGps();
    gps.replace(gps.find("N1-N2"), 5, "N1-  ");
    const std::string question = "Invalid Point number in GPS vector\nFrom Pt.: N1 -> To Pt.:";
    {
        testsupport::TempFolder folder("gps-run-ask");
        EXPECT_EQ(runGpsProject(folder, gps), exitStoppedEarly);
        const std::string console = testsupport::readBytes(folder / "console.txt");
        EXPECT_TRUE(contains(console, question + "\n  (answered: cancel)")) << console;
        EXPECT_TRUE(contains(console, "error loading GPS vector file"));
    }
    {
        testsupport::TempFolder folder("gps-run-answer-yes");
        // Read with its empty name, the vector's end has no position: the
        // adjustment says so and fails.
        EXPECT_EQ(runGpsProject(folder, gps, "--answer=yes"), exitAdjustmentFailed);
        const std::string console = testsupport::readBytes(folder / "console.txt");
        EXPECT_TRUE(contains(console, question + "\n  (answered: ok)")) << console;
        EXPECT_TRUE(contains(console, "Station  of an observation has no coordinates."));
        EXPECT_TRUE(contains(testsupport::readBytes(folder / "site.RPT"),
                             "GPS Vectors:    3 Observations\r\n"));
    }
}

// The loop of site.gps as a vector XML export (standard errors and
// correlations). The first vector: varX 0.004^2 x 2 = 3.2e-5, covXY
// 0.2 x 0.004 x 0.005 x 2 = 8e-6. The converted file goes to the run's
// temporary folder, not beside the input.
TEST(GpsRun, AVectorXmlProjectReachesThe3DStages) {
    testsupport::TempFolder folder("gps-run-xml");
    const char* vector = "<Vector><BasePoint>%s</BasePoint><RoverPoint>%s</RoverPoint>"
                         "<DX>%s</DX><DY>%s</DY><DZ>%s</DZ><SX>0.004</SX><SY>0.005</SY>"
                         "<SZ>0.006</SZ><CXY>0.2</CXY><CXZ>-0.1</CXZ><CYZ>0.3</CYZ></Vector>\n";
    const std::string xml =
        "<data>\n" +
        platform::formatC(vector, "BASE", "N1", "-512.345678", "412.000123", "-88.123456") +
        platform::formatC(vector, "N1", "N2", "301.0", "-99.5", "210.25") +
        platform::formatC(vector, "N2", "BASE", "211.345678", "-312.500123", "-122.126544") +
        "</data>\n";
    EXPECT_EQ(runGpsFormat(folder, 4, "site.xml", xml), exitStoppedEarly);
    const std::string console = testsupport::readBytes(folder / "console.txt");
    EXPECT_TRUE(contains(console, noControl)) << console;
    const std::string report = testsupport::readBytes(folder / "site.RPT");
    EXPECT_TRUE(contains(report, "GPS Vectors:    3 Observations\r\n")) << report;
    EXPECT_TRUE(contains(report, " BASE             -512.346        3.2E-05            8E-06\r\n"));
    EXPECT_FALSE(std::filesystem::exists(folder / "site.GPS"));
}

TEST(GpsRun, AMalformedVectorXmlStopsTheRunNamingFileAndLine) {
    testsupport::TempFolder folder("gps-run-xml-bad");
    EXPECT_EQ(runGpsFormat(folder, 4, "site.xml", "<data>\n<Vector>\n<DX>1</DY>\n</data>\n"),
              exitStoppedEarly);
    const std::string console = testsupport::readBytes(folder / "console.txt");
    EXPECT_TRUE(contains(console, "site.xml, line 3: ")) << console;
    EXPECT_TRUE(contains(console, "error loading GPS vector file"));
}

// The vectors of a LandXML file are not converted: the run says so on the
// console and in the error report.
TEST(GpsRun, ALandXmlProjectSaysItsVectorsWereNotConverted) {
    testsupport::TempFolder folder("gps-run-landxml");
    const std::string landXml =
        "<LandXML><Survey>\n<GPSPosition wgsLatitude=\"45\" wgsLongitude=\"-75\" "
        "wgsHeight=\"98.4\"><TargetPoint name=\"BASE\"/></GPSPosition>\n"
        "<GPSVector dX=\"1\" dY=\"2\" dZ=\"3\"/>\n</Survey></LandXML>\n";
    runGpsFormat(folder, 7, "site.xml", landXml);
    const std::string notConverted = "site.xml: 1 GPS vectors (GPSVector) were not converted";
    EXPECT_TRUE(contains(testsupport::readBytes(folder / "console.txt"), notConverted))
        << testsupport::readBytes(folder / "console.txt");
    EXPECT_TRUE(contains(testsupport::readBytes(folder / "site.ERR"), notConverted));
}

// The GPS records of an .RW5 file (the first vector: gps/antenna_to_marks.txt
// row 1, at its marks dX 1234.494; varX 1e-6 x 2).
TEST(GpsRun, AnRw5ProjectReadsItsGpsRecords) {
    testsupport::TempFolder folder("gps-run-rw5");
    const std::string rw5 =
        testsupport::readBytes(std::string(TARNWELL_FIXTURES) + "/input/converters/vectors.rw5");
    EXPECT_EQ(runGpsFormat(folder, 10, "site.rw5", rw5), exitStoppedEarly);
    const std::string console = testsupport::readBytes(folder / "console.txt");
    EXPECT_TRUE(contains(console, noControl)) << console;
    const std::string report = testsupport::readBytes(folder / "site.RPT");
    EXPECT_TRUE(contains(report, "GPS Vectors:    2 Observations\r\n")) << report;
    EXPECT_TRUE(contains(report, " BASE             1234.494          2E-06"));
}

// A damaged code in the GPS records of an .RW5 file was passed over: "QS"
// lost the rover height and the vector took the height before. The reading
// stops at it, naming the file, the line and the code.
TEST(GpsRun, AnRw5GpsRecordOfADamagedCodeStopsTheRun) {
    testsupport::TempFolder folder("gps-run-rw5-code");
    std::string rw5 =
        testsupport::readBytes(std::string(TARNWELL_FIXTURES) + "/input/converters/vectors.rw5");
    rw5.replace(rw5.find("LS,HR2.000"), 10, "QS,HR2.000");
    EXPECT_EQ(runGpsFormat(folder, 10, "site.rw5", rw5), exitStoppedEarly);
    const std::string console = testsupport::readBytes(folder / "console.txt");
    EXPECT_TRUE(contains(console, (folder / "site.rw5").string() +
                                      ", line 5: The record code \"QS\" is no record type this "
                                      "program knows"))
        << console;
    EXPECT_FALSE(contains(console, noControl)) << "the run stopped before the control";
}

// A baseline text file's base point is control: BASE at the earth-centred
// position of 45 N, 75 W, 98.4 m (gps/base_points.txt), as site.gps's C line.
TEST(GpsRun, ABaselineTextProjectTakesItsBasePointAsControl) {
    testsupport::TempFolder folder("gps-run-baseline");
    const std::string baselines =
        "@%Unit: m\r\n@%Coordinate type: Cartesian\r\n"
        "@+BASE 1169256.565887013 -4363724.910973839 4487417.988062060\r\n"
        "@-N1 -512.345678 412.000123 -88.123456\r\n@=1 2.25e-5 1.1e-6 -2.2e-6 4e-5 3.3e-6 "
        "3.61e-5\r\n"
        "@-N2 -211.345678 312.500123 122.126544\r\n@=1 1e-5 0 0 1e-5 0 1e-5\r\n";
    // Two vectors from the one control point leave no redundancy: the run
    // reduces them as sideshots and ends.
    EXPECT_EQ(runGpsFormat(folder, 2, "site.txt", baselines), 0);
    const std::string console = testsupport::readBytes(folder / "console.txt");
    EXPECT_TRUE(contains(console, "Zero Degrees of freedom.")) << console;
    const std::string report = testsupport::readBytes(folder / "site.RPT");
    EXPECT_TRUE(contains(report, "GPS Vectors:    2 Observations\r\n")) << report;
    EXPECT_TRUE(contains(report, " BASE         4982950.400    500000.000        98.400"))
        << "the base point is control";
}

// Every field of a .GPS line is read whole or the run stops naming the
// file, the line and the field: a decimal comma or a blank inside a number
// split it into two numbers, of which the first was taken (dY 412 instead
// of 412.00012300) and the rest passed over; a control byte was deleted, so
// the digits on both sides merged; a long name was cut, so two points could
// become one.
TEST(GpsRun, ADamagedFieldStopsTheRunNamingFileLineAndField) {
    using damagedfield::Damage;
    const std::vector<Damage> rows = {
        {"decimal comma", "412.00012300", "412,00012300", 3, "412,00012300"},
        {"blank inside a number", "301.00000000", "301 .00000000", 6, "301 .00000000"},
        {"tab inside a number", "-99.50000000", "-99\t.50000000", 6, "-99<TAB>.50000000"},
        {"NUL inside a number", "210.25000000", std::string("210") + '\0' + "25000000", 6,
         "dZ \"210<NUL>25000000\""},
        {"decimal comma in a G2 line", "0.005 0.006", "0,005 0.006", 11, "0,005"},
        {"name of 11 characters", "N1-N2", "N1-N2345678901", 6, "N2345678901"},
        {"from-to without a dash", "N1-N2", "N1_N2", 6, "N1_N2"},
    };
    testsupport::TempFolder folder("gps-run-damaged");
    damagedfield::expectEveryDamageStops(
        folder, folder / "site.gps", "site", siteGps(),
        [&](const std::string& gps) { return runGpsProject(folder, gps); }, rows);
}

// A .GPS file whose lines end in a lone CR reads as the same file with CR
// LF: it was read as one line and its vectors were lost.
TEST(GpsRun, LinesEndingInALoneCrReadAsCrLf) {
    testsupport::TempFolder crLf("gps-run-crlf");
    ASSERT_EQ(runGpsProject(crLf, siteGps()), exitConverged);
    testsupport::TempFolder cr("gps-run-cr");
    std::string gps = siteGps();
    for (std::size_t at = gps.find("\r\n"); at != std::string::npos; at = gps.find("\r\n", at))
        gps.erase(at + 1, 1);
    ASSERT_EQ(runGpsProject(cr, gps), exitConverged) << testsupport::readBytes(cr / "console.txt");
    EXPECT_EQ(testsupport::readBytes(cr / "site.NEZ"), testsupport::readBytes(crLf / "site.NEZ"));
}
