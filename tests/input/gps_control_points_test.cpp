#include "gps_test_support.hpp"
#include "input/converters/gps_vector_converters.hpp"
#include "input/gps_control_points.hpp"
#include "model/reader_std_errs.hpp"
#include "output/report_lines.hpp"
#include "platform/c_locale_text.hpp"
#include "platform/length_units.hpp"
#include "reports/report_files.hpp"

#include "geodetic/earth_centred.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <numbers>
#include <sstream>

using gpstest::GpsTest;

namespace {

constexpr double degree = std::numbers::pi / 180.0;

std::vector<std::vector<double>> fixtureRows(const std::string& name) {
    std::ifstream in(std::string(TARNWELL_FIXTURES) + "/input/gps/" + name);
    std::vector<std::vector<double>> rows;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        std::vector<double> row;
        for (double value; fields >> value;)
            row.push_back(value);
        rows.push_back(row);
    }
    EXPECT_FALSE(rows.empty()) << name;
    return rows;
}

// The error report of the test's project, open while the test runs.
class ErrorReport {
public:
    ErrorReport() { EXPECT_GT(openErrFile(startNewFile), 0); }
    ~ErrorReport() { closeErrFile(); }
    // The open report writes through a buffer: what it holds goes out first.
    std::string text() const {
        flushBufferedOutput();
        return testsupport::readBytes(projectOutputPath(".ERR"));
    }
};

} // namespace

TEST(GpsControlLine, FieldsDefaultsAndFaults) {
    const double defaults[3] = {0.01, 0.02, 0.03};
    struct Row {
        std::string text;
        controlLineResult result;
        const char* name;
        double X, Y, Z, sX, sY, sZ;
        std::string description;
    };
    const Row rows[] = {
        // Only a name and X, Y, Z: the default standard errors.
        {" P1 1 2 3", controlLineResult::point, "P1", 1, 2, 3, 0.01, 0.02, 0.03, ""},
        {" P1,1,2,3,0.5,0.6,0.7,iron pin, set 1998", controlLineResult::point, "P1", 1, 2, 3, 0.5,
         0.6, 0.7, "iron pin, set 1998"},
        {" P1 1 2 3 0.5", controlLineResult::point, "P1", 1, 2, 3, 0.5, 0.02, 0.03, ""},
        // A standard error of 0 would weigh the point infinitely: fixed.
        {" P1 1 2 3 0 0.6 0", controlLineResult::point, "P1", 1, 2, 3, -2, 0.6, -2, ""},
        {" P1 1 2 3 -1 -2 -1", controlLineResult::point, "P1", 1, 2, 3, -1, -2, -1, ""},
        {" ABCDEFGHIJ 1 2 3", controlLineResult::point, "ABCDEFGHIJ", 1, 2, 3, 0.01, 0.02, 0.03,
         ""},
        {" P1 1 2 3 1 1 1 " + std::string(150, 'd'), controlLineResult::point, "P1", 1, 2, 3, 1, 1,
         1, std::string(100, 'd')},
        // No position.
        {" P1", controlLineResult::noPosition, "", 0, 0, 0, 0, 0, 0, ""},
        {" P1 1 2", controlLineResult::noPosition, "", 0, 0, 0, 0, 0, 0, ""},
        {"", controlLineResult::noPosition, "", 0, 0, 0, 0, 0, 0, ""},
        // Values that are not numbers.
        {" P1 1 x 3", controlLineResult::malformed, "", 0, 0, 0, 0, 0, 0, ""},
        {" P1 1 2 3 0.1 monument", controlLineResult::malformed, "", 0, 0, 0, 0, 0, 0, ""},
        {" P1 1 2", controlLineResult::noPosition, "", 0, 0, 0, 0, 0, 0, ""},
        {" P1 1 2 inf", controlLineResult::malformed, "", 0, 0, 0, 0, 0, 0, ""},
        // Fields read whole: a control byte inside a number no longer
        // vanishes, a name is never cut.
        {std::string(" P1 1 2") + '\0' + "5 3", controlLineResult::malformed, "", 0, 0, 0, 0, 0, 0,
         ""},
        {" CONTROLPT01 1 2 3", controlLineResult::malformed, "", 0, 0, 0, 0, 0, 0, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        ptGPSXYZCntrl point;
        std::string fault;
        ASSERT_EQ(parseGpsControlLine(row.text, defaults, point, fault), row.result);
        EXPECT_EQ(fault.empty(), row.result != controlLineResult::malformed) << fault;
        if (row.result != controlLineResult::point)
            continue;
        EXPECT_EQ(fixedText(point.name), row.name);
        EXPECT_EQ(point.X, row.X);
        EXPECT_EQ(point.Y, row.Y);
        EXPECT_EQ(point.Z, row.Z);
        EXPECT_EQ(point.sX, row.sX);
        EXPECT_EQ(point.sY, row.sY);
        EXPECT_EQ(point.sZ, row.sZ);
        EXPECT_EQ(fixedText(point.description), row.description);
    }
}

using GpsControlReading = GpsTest;

// The project's errors in force are the defaults, in metres: 0.05 ft in a
// US-feet project is 0.05 x 0.3048006096 m; a project error of 0 is fixed.
TEST_F(GpsControlReading, MissingErrorsAreTheProjectsInMetres) {
    projectVars.HorizUnits = units::usSurveyFeet;
    projectVars.stErrX = 0.05;
    projectVars.stErrY = 0.05;
    projectVars.stErrZ = 0.0;
    write("c.gps", "C P1 1 2 3\r\n");
    ASSERT_EQ(readGpsControlLines(context, "c.gps\n"), gpsControlDone);
    ASSERT_EQ(gpsXyzControlArray.size(), 1u);
    EXPECT_DOUBLE_EQ(gpsXyzControlArray[0].sX, 0.05 * units::usSurveyFootMetres);
    EXPECT_DOUBLE_EQ(gpsXyzControlArray[0].sY, 0.05 * units::usSurveyFootMetres);
    EXPECT_EQ(gpsXyzControlArray[0].sZ, stdErrFixed);
}

// A C line without X, Y and Z would enter the adjustment as control at
// -999999999: it is left out, and the error report says where.
TEST_F(GpsControlReading, CLinesWithMissingXyzAreLeftOutWithAWarning) {
    const ErrorReport report;
    write("c.gps", "G1 A-B 1 2 3\nC P1 1 2 3\nC P2 5 6\nC P3 7 8 9\n");
    ASSERT_EQ(readGpsControlLines(context, "c.gps\n"), gpsControlDone);
    ASSERT_EQ(gpsXyzControlArray.size(), 2u);
    EXPECT_EQ(fixedText(gpsXyzControlArray[1].name), "P3");
    EXPECT_NE(report.text().find(path("c.gps") +
                                 ", line 3: the control point has no X, Y and Z: not used\r\n"),
              std::string::npos);
    EXPECT_TRUE(shell.boxes.empty());
}

TEST_F(GpsControlReading, AMalformedCLineStopsWithFileAndLine) {
    const ErrorReport report;
    write("c.gps", "C P1 1 2 3\nC P2 1 2 three\nC P3 7 8 9\n");
    EXPECT_EQ(readGpsControlLines(context, "c.gps\n"), gpsControlFailed);
    const std::string text =
        path("c.gps") + ", line 2: The Z \"three\" is not a number. Record: C P2 1 2 three";
    EXPECT_EQ(shell.boxTexts(), std::vector<std::string>{text});
    EXPECT_NE(report.text().find(text), std::string::npos);
    EXPECT_EQ(gpsXyzControlArray.size(), 1u);
}

TEST_F(GpsControlReading, EveryFileOfTheListAndAMissingOne) {
    write("one.gps", "C P1 1 2 3\n");
    write("two.gps", "C P2 4 5 6");
    ASSERT_EQ(readGpsControlLines(context, "one.gps\ntwo.gps"), gpsControlDone);
    EXPECT_EQ(gpsXyzControlArray.size(), 2u);
    EXPECT_EQ(readGpsControlLines(context, "missing.gps\n"), gpsControlFailed);
    EXPECT_EQ(shell.boxTexts(), std::vector<std::string>{"Error opening " + path("missing.gps") +
                                                         ": No such file or directory"});
}

TEST_F(GpsControlReading, TheFormatDecidesWhatIsRead) {
    write("c.gps", "C P1 1 2 3\n");
    gpsXyzControlArray.resize(3);
    projectVars.gpsFileFmtType = 7;
    EXPECT_EQ(loadGpsXyzControlByFormat(context, "c.gps\n"), gpsControlDone);
    EXPECT_TRUE(gpsXyzControlArray.empty());
    projectVars.gpsFileFmtType = 12;
    EXPECT_EQ(loadGpsXyzControlByFormat(context, "c.gps\n"), gpsControlFailed);
    projectVars.gpsFileFmtType = 0;
    EXPECT_EQ(loadGpsXyzControlByFormat(context, "c.gps\n"), gpsControlDone);
    EXPECT_EQ(gpsXyzControlArray.size(), 1u);
}

// Baseline text files: each base point once, in metres by its file's unit
// (US feet in baselines.txt: BASE1 at 1000, 2000, 3000 ft; the second file
// in metres), with the project's control errors in metres. BASE1 met again
// in the second file keeps its first position.
TEST_F(GpsControlReading, BaselineTextFilesGiveTheirBasePointsOnce) {
    write("feet.txt", testsupport::readBytes(std::string(TARNWELL_FIXTURES) +
                                             "/input/converters/baselines.txt"));
    write("metres.txt", "@+B2 10 20 30\r\n@+BASE1 1 2 3\r\n@-R 1 2 3\r\n"
                        "@=1 1e-6 0 0 1e-6 0 1e-6\r\n@+B2 10 20 30\r\n");
    projectVars.gpsFileFmtType = 2;
    projectVars.stErrX = 0.01;
    projectVars.stErrY = 0.02;
    projectVars.stErrZ = 0.0;
    ASSERT_EQ(loadGpsXyzControlByFormat(context, "feet.txt\nmetres.txt\n"), gpsControlDone)
        << testing::PrintToString(shell.boxTexts());
    ASSERT_EQ(gpsXyzControlArray.size(), 2u);
    const double u = units::usSurveyFootMetres;
    const ptGPSXYZCntrl& base = gpsXyzControlArray[0];
    EXPECT_EQ(fixedText(base.name), "BASE1");
    EXPECT_DOUBLE_EQ(base.X, 1000 * u);
    EXPECT_DOUBLE_EQ(base.Y, 2000 * u);
    EXPECT_DOUBLE_EQ(base.Z, 3000 * u);
    EXPECT_DOUBLE_EQ(base.sX, 0.01);
    EXPECT_DOUBLE_EQ(base.sY, 0.02);
    EXPECT_EQ(base.sZ, stdErrFixed);
    EXPECT_EQ(fixedText(gpsXyzControlArray[1].name), "B2");
    EXPECT_DOUBLE_EQ(gpsXyzControlArray[1].Z, 30.0);
}

// Converted with its control (the run's route, or Import Points in the
// converter dialog), a baseline text file gives one C line per base point,
// however many vectors it starts and however often it is given: BASE1
// (1000, 2000, 3000 US feet, twice in the file, three vectors) and B2 (10,
// 20, 30 m after the unit changes). Read back as a .GPS file they are the
// control that the run takes from the baseline file itself, with the
// project's errors; converted without control, the file has no C line.
TEST_F(GpsControlReading, ABaselineConversionWritesEachBasePointOnceAsControl) {
    write("net.txt", testsupport::readBytes(std::string(TARNWELL_FIXTURES) +
                                            "/input/converters/baselines.txt") +
                         "@+BASE1 1000.0 2000.0 3000.0\r\n@-ROV3 1 1 1\r\n"
                         "@=1 1e-6 0 0 1e-6 0 1e-6\r\n@%Unit: m\r\n@+B2 10 20 30\r\n"
                         "@-ROV4 1 2 3\r\n@=1 1e-6 0 0 1e-6 0 1e-6\r\n");
    projectVars.stErrX = 0.01;
    projectVars.stErrY = 0.02;
    projectVars.stErrZ = 0.0;
    std::string message;
    ASSERT_EQ(convertBaselineTextToGps(path("net.txt"), path("net.gps"), 1, message), 0) << message;
    const std::string text = testsupport::readBytes(folder / "net.gps");
    const auto count = [&](const std::string& part) {
        std::size_t n = 0;
        for (std::size_t at = text.find(part); at != std::string::npos;
             at = text.find(part, at + 1))
            ++n;
        return n;
    };
    EXPECT_EQ(count("\nC BASE1 "), 1u) << text;
    EXPECT_EQ(count("\nC B2 "), 1u) << text;
    EXPECT_EQ(count("\nG1 "), 4u) << text;

    ASSERT_EQ(readGpsControlLines(context, "net.gps\n"), gpsControlDone);
    ASSERT_EQ(gpsXyzControlArray.size(), 2u);
    const double u = units::usSurveyFootMetres;
    const ptGPSXYZCntrl& base = gpsXyzControlArray[0];
    EXPECT_EQ(fixedText(base.name), "BASE1");
    EXPECT_NEAR(base.X, 1000 * u, 1e-6);
    EXPECT_NEAR(base.Y, 2000 * u, 1e-6);
    EXPECT_NEAR(base.Z, 3000 * u, 1e-6);
    EXPECT_DOUBLE_EQ(base.sX, 0.01);
    EXPECT_DOUBLE_EQ(base.sY, 0.02);
    EXPECT_EQ(base.sZ, stdErrFixed);
    const ptGPSXYZCntrl& b2 = gpsXyzControlArray[1];
    EXPECT_EQ(fixedText(b2.name), "B2");
    EXPECT_DOUBLE_EQ(b2.X, 10.0);
    EXPECT_DOUBLE_EQ(b2.Y, 20.0);
    EXPECT_DOUBLE_EQ(b2.Z, 30.0);

    ASSERT_EQ(convertBaselineTextToGps(path("net.txt"), path("bare.gps"), 0, message), 0);
    const std::string bare = testsupport::readBytes(folder / "bare.gps");
    EXPECT_EQ(bare.find("\nC "), std::string::npos) << bare;
    EXPECT_NE(bare.find("ROV4"), std::string::npos);
}

TEST_F(GpsControlReading, AFaultyBaselineTextFileStopsTheControlWithFileAndLine) {
    write("bad.txt", "@%Unit: m\r\n@+B 1 2\r\n");
    projectVars.gpsFileFmtType = 2;
    EXPECT_EQ(loadGpsXyzControlByFormat(context, "bad.txt\n"), gpsControlFailed);
    EXPECT_EQ(shell.boxTexts(),
              std::vector<std::string>{path("bad.txt") + ", line 2: a base point needs a name, X, "
                                                         "Y and Z (and CTRL) Record: @+B 1 2"});
}

// A 3D run gathers the C lines of its GPS files, then the base records of
// its .RW5 files, each point once; a 2D run none.
TEST_F(GpsControlReading, ARunGathersBothSourcesOnce) {
    write("v.gps", "C P1 1 2 3\n");
    write("site.rw5", "BP,PNB1,LA45.0,LN-75.0,EL100,AG1.5,PA0.1\n");
    projectVars.includeGPSVectors = 1;
    projectVars.pGPSFileName = "v.gps\n";
    projectVars.includeRawData = 1;
    projectVars.pInputFileName = "site.rw5\n";
    projectVars.useRw5GPSVectors = 1;
    gpsXyzControlArray.resize(2);
    ASSERT_EQ(loadGpsXyzControl(context), gpsControlDone);
    std::vector<std::string> names;
    for (const ptGPSXYZCntrl& p : gpsXyzControlArray)
        names.emplace_back(fixedText(p.name));
    EXPECT_EQ(names, (std::vector<std::string>{"P1", "B1"}));

    projectVars.useRw5GPSVectors = 0;
    ASSERT_EQ(loadGpsXyzControl(context), gpsControlDone);
    EXPECT_EQ(gpsXyzControlArray.size(), 1u);
    projectVars.geodeticModel = 0;
    ASSERT_EQ(loadGpsXyzControl(context), gpsControlDone);
    EXPECT_TRUE(gpsXyzControlArray.empty());
}

// The base points of an .RW5 file, at the heights EL - (AG + PA), against
// GeographicLib (tests/fixtures/input/gps/base_points.txt): AG 1.5 and PA
// 0.1 at EL 100 give the point at height 98.4. The heights are written in
// the file's GPS unit (metres, US feet, international feet) and land at the
// same marks. Fault mended: they were taken as metres whatever the unit.
TEST_F(GpsControlReading, BasePointsAtTheirMarks) {
    const auto rows = fixtureRows("base_points.txt");
    const char* dms[][2] = {
        {"45.0000", "-75.0000"}, {"-33.4800", "151.1200"}, {"64.0600", "-21.5400"}};
    for (const int unit : {0, 1, 2}) {
        SCOPED_TRACE(unit);
        projectVars.Rw5GPSUnits = unit;
        const double v = units::metresPerUnit(unit);
        std::string rw5 = "JB,NMsite\r\nMO,AD0,UN1,SF1.0\r\n";
        for (std::size_t i = 0; i < rows.size(); ++i)
            rw5 += platform::formatC("BP,PNB%zu,LA%s,LN%s,EL%.9f,AG%.9f,PA%.9f,--base\r\n", i,
                                     dms[i][0], dms[i][1], rows[i][2] / v, rows[i][3] / v,
                                     rows[i][4] / v);
        write("site.rw5", rw5);
        gpsXyzControlArray.clear();
        ASSERT_EQ(readRw5GpsControlPoints(context, "site.rw5\n", 1), gpsControlDone);
        ASSERT_EQ(gpsXyzControlArray.size(), rows.size());
        for (std::size_t i = 0; i < rows.size(); ++i) {
            SCOPED_TRACE(i);
            const ptGPSXYZCntrl& p = gpsXyzControlArray[i];
            EXPECT_EQ(fixedText(p.name), "B" + std::to_string(i));
            EXPECT_NEAR(p.X, rows[i][5], 1e-6);
            EXPECT_NEAR(p.Y, rows[i][6], 1e-6);
            EXPECT_NEAR(p.Z, rows[i][7], 1e-6);
        }
        double lat = 0, lon = 0, h = 0;
        ecef2lat(gpsXyzControlArray[0].X, gpsXyzControlArray[0].Y, gpsXyzControlArray[0].Z, &lat,
                 &lon, &h);
        EXPECT_NEAR(h, 98.4, 1e-4) << "the inverse iterates to 0.1 mm";
        EXPECT_NEAR(lat, 45.0 * degree, 1e-10);
        EXPECT_NEAR(lon, -75.0 * degree, 1e-10);
    }
}

// "CSE" changes the errors of the base points that follow: '#' none, '!'
// fixed, '*' the project's own, a number (0 stands for 1e-6); all of them in
// the base records' unit, here US feet.
TEST_F(GpsControlReading, ControlErrorRecordsChangeTheBasePointErrors) {
    projectVars.Rw5GPSUnits = 1;
    projectVars.stErrX = 0.01;
    projectVars.stErrY = 0.02;
    projectVars.stErrZ = 0.03;
    const double u = units::usSurveyFootMetres;
    write("site.RW5", "BP,PNA,LA45.0,LN-75.0,EL100,AG1.5,PA0.1\n"
                      "CSE,N #,E 0.5,EL!,AZ*\n"
                      "BP,PNB,LA45.0,LN-75.0,EL100,AG1.5,PA0.1\n"
                      "CSE,N*,E0,EL0.25\n"
                      "BP,PNC,LA45.0,LN-75.0,EL100,AG1.5,PA0.1\n"
                      "CSE,N0.7\n"
                      "BP,PND,LA45.0,LN-75.0,EL100,AG1.5,PA0.1\n");
    ASSERT_EQ(readRw5GpsControlPoints(context, "site.RW5\n", 1), gpsControlDone);
    ASSERT_EQ(gpsXyzControlArray.size(), 4u);
    struct Expected {
        double sX, sY, sZ;
    };
    const Expected expected[] = {{0.01 * u, 0.02 * u, 0.03 * u},
                                 {0.5 * u, stdErrNotGiven, stdErrFixed},
                                 {1e-6 * u, 0.02 * u, 0.25 * u},
                                 {1e-6 * u, 0.7 * u, 0.25 * u}};
    for (std::size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_DOUBLE_EQ(gpsXyzControlArray[i].sX, expected[i].sX);
        EXPECT_DOUBLE_EQ(gpsXyzControlArray[i].sY, expected[i].sY);
        EXPECT_DOUBLE_EQ(gpsXyzControlArray[i].sZ, expected[i].sZ);
    }
}

// A damaged base or control-error record was left out with one line in the
// error report, and the run went on without that control point (or with the
// errors of the record before): it now stops the reading naming the file,
// the line and the field.
TEST_F(GpsControlReading, ABrokenBaseRecordStopsTheReadingNamingTheField) {
    const ErrorReport report;
    const std::string notANumber = " is not a number.";
    const struct {
        const char* line;
        std::string why;
    } rows[] = {
        {"BP,PN,LA45.0,LN-75.0,EL100,AG1.5,PA0.1", "The point name is missing."},
        {"BP,PNX,LN-75.0,LA45.0,EL100,AG1.5,PA0.1", "The latitude is missing."},
        {"BP,PNX,LA45.0,LN-75.0,EL100,AG1.5", "The phase centre offset is missing."},
        {"BP,PNX,LA,LN-75.0,EL100,AG1.5,PA0.1", "The latitude is missing."},
        {"BP,PNX,LA45.0,LN-75.0,EL,AG1.5,PA0.1", "The height is missing."},
        {"BP,PNX,LA45.0,LN-75.0,EL10O,AG1.5,PA0.1", "The height \"EL10O\"" + notANumber},
        {"BP,PNX,LA45.7500,LN-75.0,EL100,AG1.5,PA0.1",
         "The latitude \"LA45.7500\" is not a dd.mmss angle: its minutes or seconds are 60 or "
         "more."},
        {"BP,PNLONGNAME001,LA45.0,LN-75.0,EL100,AG1.5,PA0.1",
         "The point name \"LONGNAME001\" is longer than 10 characters."},
        {"CSE,N0x5,E0.5", "The northing error \"N0x5\"" + notANumber},
        // A damaged code was passed over: the base point was lost.
        {"QP,PNX,LA45.0,LN-75.0,EL100,AG1.5,PA0.1",
         "The record code \"QP\" is no record type this program knows, so the file may be "
         "damaged; a record of a type it does not read can be taken out of the file."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.line);
        gpsXyzControlArray.clear();
        write("b.rw5", "BP,PNOK,LA45.0,LN-75.0,EL100,AG1.5,PA0.1\r\n" + std::string(row.line) +
                           "\r\nBP,PNOK2,LA45.0,LN-75.0,EL100,AG1.5,PA0.1\r\n");
        ASSERT_EQ(readRw5GpsControlPoints(context, "notes.txt\nb.rw5\n", 1), gpsControlFailed);
        EXPECT_EQ(gpsXyzControlArray.size(), 1u) << "the points before stay";
        const std::string text = "Error parsing: " + std::string(row.line) +
                                 "\r\n  File: " + path("b.rw5") + ", line 2\r\n" + row.why + "\r\n";
        EXPECT_NE(report.text().find(text), std::string::npos) << report.text();
    }
    gpsXyzControlArray.clear();
    const auto before = report.text().size();
    EXPECT_EQ(readRw5GpsControlPoints(context, "b.rw5\n", 0), gpsControlFailed);
    EXPECT_EQ(report.text().size(), before) << "nothing logged without logErrors";
    EXPECT_EQ(readRw5GpsControlPoints(context, "gone.rw5\n", 1), gpsControlFailed);
    EXPECT_EQ(shell.boxTexts().back(),
              "Error opening " + path("gone.rw5") + ": No such file or directory");
}

// Antenna to antenna becomes mark to mark, against GeographicLib's
// local-cartesian and geocentric conversions
// (tests/fixtures/input/gps/antenna_to_marks.txt).
TEST(GpsVectorMarks, ReduceVectorToMarksAgreesWithGeographicLib) {
    for (const std::vector<double>& r : fixtureRows("antenna_to_marks.txt")) {
        SCOPED_TRACE(testing::Message() << r[0] << " " << r[1]);
        ASSERT_EQ(r.size(), 12u);
        gpsVectorRec v;
        v.dX = r[3];
        v.dY = r[4];
        v.dZ = r[5];
        EXPECT_EQ(reduceVectorToMarks(v, r[6], r[7], r[8], r[0] * degree, r[1] * degree, r[2]), 0);
        EXPECT_NEAR(v.dX, r[9], 1e-6);
        EXPECT_NEAR(v.dY, r[10], 1e-6);
        EXPECT_NEAR(v.dZ, r[11], 1e-6);
    }
}

using GpsEndPoints = GpsTest;

TEST_F(GpsEndPoints, EachNewEndBecomesABareStation) {
    auto vector = [](const char* from, const char* to) {
        gpsVectorRec v;
        setPointName(v.from, from);
        setPointName(v.to, to);
        return v;
    };
    gpsVectorList.append(vector("A", "B"));
    gpsVectorList.append(vector("B", "F"));
    gpsVectorList.append(vector("c", ""));
    gpsVectorList.append(vector("a", "S"));
    stationRec fixed;
    setPointName(fixed.name, "F");
    fixed.easting = 10.0;
    fixedStationList.append(fixed);
    stationRec known;
    setPointName(known.name, "S");
    known.easting = 20.0;
    stationList.append(known);
    ptDescRec description;
    setPointName(description.name, "B");
    description.description = "rebar";
    description.description2 = "CP";
    ptDescList.append(description);

    EXPECT_EQ(addGpsVectorEndPoints(), 0);
    std::vector<std::string> names;
    stationRec s;
    for (int i = 0; stationList.getAt(i, s) == 0; ++i)
        names.emplace_back(fixedText(s.name));
    EXPECT_EQ(names, (std::vector<std::string>{"S", "A", "B", "c"}));
    stationList.getAt(2, s);
    EXPECT_EQ(s.description, "rebar");
    EXPECT_EQ(s.description2, "CP");
    EXPECT_FALSE(isSet(s.easting));
    EXPECT_EQ(s.pointType, ptUnknown);
    stationList.getAt(0, s);
    EXPECT_EQ(s.easting, 20.0) << "a station already there stays as it was";
}
