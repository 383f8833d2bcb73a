// The makers' GPS vector formats through the run: converted into the run's
// temporary folder and read back into `gpsVectorList`.

#include "gps_test_support.hpp"
#include "input/converters/converter_files.hpp"
#include "input/converters/gps_vector_converters.hpp"
#include "input/gps_vector_reader.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

using gpstest::converterFixture;
using gpstest::expectVector;

namespace {

// A line with each text put at its column (1 is the first), blanks between.
std::string atColumns(std::initializer_list<std::pair<std::size_t, std::string>> fields) {
    std::string line;
    for (const auto& [column, text] : fields) {
        if (line.size() < column - 1 + text.size())
            line.resize(column - 1 + text.size(), ' ');
        line.replace(column - 1, text.size(), text);
    }
    return line + "\r\n";
}

// A C record: components and standard errors in units of 0.1 mm.
std::string cRecord(const char* dx, const char* sx, const char* dy, const char* sy, const char* dz,
                    const char* sz, const char* from, const char* to) {
    return atColumns({{1, "C"},
                      {10, dx},
                      {21, sx},
                      {26, dy},
                      {37, sy},
                      {42, dz},
                      {53, sz},
                      {59, from},
                      {69, to}});
}

// A D record: three groups of index i, index j and the correlation in units
// of 1e-7, 15 columns each from column 2.
std::string dRecord(const char* xy, const char* xz, const char* yz) {
    return atColumns(
        {{1, "D"}, {2, "  1  2"}, {8, xy}, {17, "  1  3"}, {23, xz}, {32, "  2  3"}, {38, yz}});
}

const std::string gFile =
    atColumns({{1, "A"}, {2, "NET"}, {4, "2026"}, {8, "0314"}, {20, "test network"}}) +
    cRecord("   12345678", "   25", "   -2345678", "   30", "     500000", "   40", "BASE",
            "ROVER1") +
    dRecord("  1234567", " -0500000", "  2500000") + atColumns({{1, "B"}, {2, "not a vector"}});

// dX 12345678 x 1e-4 = 1234.5678 m, dY -234.5678, dZ 50; standard errors
// 0.0025, 0.003, 0.004; correlations 0.1234567, -0.05, 0.25, so
// covXY = 0.1234567 x 0.0025 x 0.003, covXZ = -0.05 x 0.0025 x 0.004,
// covYZ = 0.25 x 0.003 x 0.004.
const gpstest::Expected gFileVector = {
    "BASE",
    "ROVER1",
    {1234.5678, -234.5678, 50.0},
    {6.25e-6, 9e-6, 1.6e-5},
    {0.1234567 * 0.0025 * 0.003, -0.05 * 0.0025 * 0.004, 0.25 * 0.003 * 0.004}};

// Data collector records: 73 from-point, 67 to-point and vector, 59
// covariances, at the columns of their field tables.
std::string record73(const char* name) {
    return atColumns({{1, "73"}, {5, name}});
}
std::string record67(const char* name, const char* dx, const char* dy, const char* dz) {
    return atColumns({{1, "67"}, {5, name}, {21, dx}, {37, dy}, {53, dz}});
}
std::string record59(const char* xx, const char* xy, const char* xz, const char* yy, const char* yz,
                     const char* zz) {
    return atColumns({{1, "59"}, {23, xx}, {39, xy}, {55, xz}, {71, yy}, {87, yz}, {103, zz}});
}

const std::string dataCollectorFile =
    "  " + record73("BASE") + record67("A-12", "1234.5678", "-234.5", "50.25") +
    record59("1.0e-6", "2.0e-7", "-3.0e-7", "4.0e-6", "5.0e-7", "9.0e-6") +
    atColumns({{1, "10"}, {5, "job record"}}) + record73("A-12") +
    record67("LONGPOINTNAME1", "-1", "-2", "-3") + record59("1", "0", "0", "2", "0", "3");

using GpsVectorRoutes = gpstest::GpsRouteTest;

} // namespace

// Standard errors s and correlations r become var = s^2 and cov = r si sj:
// first line  0.004^2 = 1.6e-5, 0.005^2 = 2.5e-5, 0.006^2 = 3.6e-5,
//             XY 0.1 x 0.004 x 0.005 = 2e-6, XZ -0.2 x 0.004 x 0.006 = -4.8e-6,
//             YZ 0.3 x 0.005 x 0.006 = 9e-6;
// second line 1e-4, 4e-4, 9e-4, YZ 0.5 x 0.02 x 0.03 = 3e-4;
// third line  1e-6, 4e-6, 9e-6, no covariance.
TEST_F(GpsVectorRoutes, VectorTextFilesGiveTheirThreeKindsOfVectorLine) {
    write("net.tvf", converterFixture("vectors.tvf"));
    projectVars.gpsFileFmtType = 3;
    ASSERT_EQ(readGpsVectorFiles(context, "net.tvf\n", 1), gpsReadDone)
        << testing::PrintToString(shell.boxTexts());
    ASSERT_EQ(vectors().size(), 3u);
    expectVector(
        vectors()[0],
        {"A1", "B2", {100.1234, -200.5, 300.25}, {1.6e-5, 2.5e-5, 3.6e-5}, {2e-6, -4.8e-6, 9e-6}});
    expectVector(vectors()[1],
                 {"B2", "C3", {-10.5, 20.25, -30.125}, {1e-4, 4e-4, 9e-4}, {0, 0, 3e-4}});
    expectVector(vectors()[2], {"C3", "A1", {1, 2, 3}, {1e-6, 4e-6, 9e-6}, {0, 0, 0}});
}

// First group: a = 0, s = 1, so the elements 1..6 are taken as they are.
// Second group: (value + 0.5) x 1e-6: XX 2e-6, XY 0.25e-6, XZ 0.5e-6,
// YY 3e-6, YZ 1.25e-6, ZZ 4e-6.
TEST_F(GpsVectorRoutes, AdjustmentInputFilesGiveOneVectorPerGroup) {
    write("net.iob", converterFixture("adjustment.iob"));
    projectVars.gpsFileFmtType = 11;
    ASSERT_EQ(readGpsVectorFiles(context, "net.iob\n", 1), gpsReadDone)
        << testing::PrintToString(shell.boxTexts());
    ASSERT_EQ(vectors().size(), 2u);
    expectVector(vectors()[0], {"0012", "0034", {100.5, -200.25, 300.125}, {1, 4, 6}, {2, 3, 5}});
    expectVector(vectors()[1],
                 {"34", "56", {-1.5, 2.5, -3.5}, {2e-6, 3e-6, 4e-6}, {0.25e-6, 0.5e-6, 1.25e-6}});
}

TEST_F(GpsVectorRoutes, LeadingZerosOfAdjustmentInputNamesCanBeDropped) {
    const std::string input = write("net.iob", converterFixture("adjustment.iob"));
    std::string message;
    ASSERT_EQ(convertAdjustmentInputToGps(path(input), path("net.GPS"), 1, message),
              conversionDone);
    const std::string text = testsupport::readBytes(folder / "net.GPS");
    EXPECT_EQ(text.rfind(".GPS WEIGHT COVARIANCE\r\n", 0), 0u);
    EXPECT_NE(text.find("G1  12-34 "), std::string::npos) << text;
}

// US survey feet, u = 1200/3937 m: the lengths times u, the covariances
// s^2 u^2 a once (the converted file is in metres, so the project's own
// GPS units, here US feet too, do not scale it again).
TEST_F(GpsVectorRoutes, BaselineTextFilesAreConvertedIntoMetresOnce) {
    write("net.txt", converterFixture("baselines.txt"));
    projectVars.gpsFileFmtType = 2;
    projectVars.GPSUnits = 1;
    ASSERT_EQ(readGpsVectorFiles(context, "net.txt\n", 1), gpsReadDone)
        << testing::PrintToString(shell.boxTexts());
    ASSERT_EQ(vectors().size(), 2u);
    const double u = 1200.0 / 3937.0;
    const double k = 2.0 * 2.0 * u * u;
    expectVector(vectors()[0], {"BASE1",
                                "ROV1",
                                {100 * u, -50 * u, 25 * u},
                                {k * 1e-6, k * 4e-6, k * 9e-6},
                                {k * 2e-7, k * -1e-7, k * 3e-7}});
    const double k2 = u * u;
    expectVector(
        vectors()[1],
        {"BASE1", "ROV2", {10 * u, 20 * u, 30 * u}, {k2 * 1e-6, k2 * 1e-6, k2 * 1e-6}, {0, 0, 0}});
}

// Every file starts in metres: the unit of the file before does not carry
// over to one without a unit record.
TEST_F(GpsVectorRoutes, TheUnitOfOneBaselineFileDoesNotCarryIntoTheNext) {
    write("feet.txt", converterFixture("baselines.txt"));
    write("metres.txt", "@+B 0 0 0\r\n@-R 10 20 30\r\n@=1 1e-6 0 0 1e-6 0 1e-6\r\n");
    projectVars.gpsFileFmtType = 2;
    ASSERT_EQ(readGpsVectorFiles(context, "feet.txt\nmetres.txt\n", 1), gpsReadDone);
    ASSERT_EQ(vectors().size(), 3u);
    expectVector(vectors()[2], {"B", "R", {10, 20, 30}, {1e-6, 1e-6, 1e-6}, {0, 0, 0}});
}

// G-files are in metres whatever the project's GPS units.
TEST_F(GpsVectorRoutes, GFileRecordsGiveAVectorWithItsCorrelations) {
    write("net.g", gFile);
    projectVars.gpsFileFmtType = 8;
    projectVars.GPSUnits = 2;
    ASSERT_EQ(readGpsVectorFiles(context, "net.g\n", 1), gpsReadDone)
        << testing::PrintToString(shell.boxTexts());
    ASSERT_EQ(vectors().size(), 1u);
    expectVector(vectors()[0], gFileVector);
}

// Only the lines after "G-FILES" that are G-file records count, up to the
// first line of another kind; no file is left beside the report.
TEST_F(GpsVectorRoutes, AReportGivesTheVectorsOfItsGFileSections) {
    const std::string later =
        cRecord("          1", "    1", "          2", "    1", "          3", "    1", "X", "Y");
    write("report.txt", "SOLUTION REPORT\r\n" + later + "    G-FILES  \r\n" + gFile +
                            "end of section\r\n" + later);
    projectVars.gpsFileFmtType = 9;
    ASSERT_EQ(readGpsVectorFiles(context, "report.txt\n", 1), gpsReadDone)
        << testing::PrintToString(shell.boxTexts());
    ASSERT_EQ(vectors().size(), 1u);
    expectVector(vectors()[0], gFileVector);
    EXPECT_FALSE(std::filesystem::exists(folder / "report.xxx"));
}

// A name with a hyphen becomes A_12 and is reported once though read
// twice; a name of 14 characters is cut to 10.
TEST_F(GpsVectorRoutes, DataCollectorRecordsGiveVectorsWithRepairedNames) {
    write("job.dat", dataCollectorFile);
    projectVars.gpsFileFmtType = 6;
    ASSERT_EQ(readGpsVectorFiles(context, "job.dat\n", 1), gpsReadDone)
        << testing::PrintToString(shell.boxTexts());
    ASSERT_EQ(vectors().size(), 2u);
    expectVector(
        vectors()[0],
        {"BASE", "A_12", {1234.5678, -234.5, 50.25}, {1e-6, 4e-6, 9e-6}, {2e-7, -3e-7, 5e-7}});
    expectVector(vectors()[1], {"A_12", "LONGPOINTN", {-1, -2, -3}, {1, 2, 3}, {0, 0, 0}});
    EXPECT_EQ(shell.boxTexts(),
              std::vector<std::string>{
                  "The following points were modified because of invalid point names.\n"
                  "  A-12 -> A_12\n"
                  "  LONGPOINTNAME1 -> LONGPOINTN\n"});
}

TEST_F(GpsVectorRoutes, RepairedNamesAreNotShownWithoutTheNameCheck) {
    write("job.dat", dataCollectorFile);
    projectVars.gpsFileFmtType = 6;
    ASSERT_EQ(readGpsVectorFiles(context, "job.dat\n", 0), gpsReadDone);
    EXPECT_EQ(vectors().size(), 2u);
    EXPECT_TRUE(shell.boxTexts().empty());
}

// Names are upper-cased; only those that were invalid are reported.
TEST_F(GpsVectorRoutes, DataExchangeExportsGiveTheVectorsOfTheirGpsSection) {
    write("job.asc", converterFixture("vectors.asc"));
    projectVars.gpsFileFmtType = 5;
    ASSERT_EQ(readGpsVectorFiles(context, "job.asc\n", 1), gpsReadDone)
        << testing::PrintToString(shell.boxTexts());
    ASSERT_EQ(vectors().size(), 2u);
    expectVector(
        vectors()[0],
        {"BASE_1", "ROV_2", {100.5, -200.25, 300.125}, {1e-6, 4e-6, 9e-6}, {2e-7, 3e-7, 5e-7}});
    expectVector(vectors()[1], {"ROV_2", "C", {1, 2, 3}, {1, 2, 3}, {0, 0, 0}});
    EXPECT_EQ(shell.boxTexts(),
              std::vector<std::string>{
                  "The following points were modified because of invalid point names.\n"
                  "  base-1 -> BASE_1\n"
                  "  rov 2 -> ROV_2\n"});
}

// The floats of the file are the values as floats; the covariances come
// from the standard errors and correlations.
TEST_F(GpsVectorRoutes, BinaryObservationFilesGiveTheirVectorRecords) {
    write("obs.obn", converterFixture("observations.obn"));
    projectVars.gpsFileFmtType = 1;
    ASSERT_EQ(readGpsVectorFiles(context, "obs.obn\n", 1), gpsReadDone)
        << testing::PrintToString(shell.boxTexts());
    ASSERT_EQ(vectors().size(), 2u);
    const double s[3] = {static_cast<float>(0.004), static_cast<float>(0.005),
                         static_cast<float>(0.006)};
    expectVector(vectors()[0], {"0012",
                                "B2",
                                {1234.5678, -234.5, 50.25},
                                {s[0] * s[0], s[1] * s[1], s[2] * s[2]},
                                {0.25 * s[0] * s[1], -0.5 * s[0] * s[2], 0.125 * s[1] * s[2]}});
    const double t[3] = {static_cast<float>(0.01), static_cast<float>(0.02),
                         static_cast<float>(0.03)};
    expectVector(vectors()[1],
                 {"B2", "C3", {-1, 2, -3}, {t[0] * t[0], t[1] * t[1], t[2] * t[2]}, {0, 0, 0}});
    const std::string text = testsupport::readBytes(runFolder / "obs.GPS");
    EXPECT_NE(text.find("G0  'V1  Day134  10:30 obs.obn\r\n"), std::string::npos) << text;
}

// Week 2000, 3 days 10.5 hours: y = 14000 / 365 = 38 + 130/365, so the day
// is 130 + 3 + 1 = 134 at 10:30. Week 2001 at 59 s: 14007 - 38 x 365 = 137,
// day 138 at 00:00 (59 s is not yet a minute).
TEST(ObservationSessionLabel, DayOfYearAndTimeFromWeekAndSeconds) {
    EXPECT_EQ(observationSessionLabel(1, 2000, 3 * 86400 + 10.5 * 3600), "V1  Day134  10:30");
    EXPECT_EQ(observationSessionLabel(2, 2001, 59.0), "V2  Day138  00:00");
    EXPECT_EQ(observationSessionLabel(3, 0, 86400 - 60.0), "V3  Day1  23:59");
}

TEST_F(GpsVectorRoutes, AnObservationFileWithoutItsHeaderIsRefused) {
    std::string bytes = converterFixture("observations.obn");
    bytes.insert(11, "S");
    write("obs.obn", bytes);
    projectVars.gpsFileFmtType = 1;
    EXPECT_EQ(readGpsVectorFiles(context, "obs.obn\n", 1), gpsReadFailed);
    EXPECT_EQ(shell.boxTexts(),
              std::vector<std::string>{path("obs.obn") +
                                       ", offset 0: the file does not begin with the header "
                                       "VECTOR FILE"});
}

TEST_F(GpsVectorRoutes, AnObservationFileCutShortNamesTheOffset) {
    write("obs.obn", converterFixture("observations.obn").substr(0, 84 + 2180 + 100));
    projectVars.gpsFileFmtType = 1;
    EXPECT_EQ(readGpsVectorFiles(context, "obs.obn\n", 1), gpsReadFailed);
    EXPECT_EQ(shell.boxTexts(),
              std::vector<std::string>{path("obs.obn") +
                                       ", offset 2264: the last vector record is cut short"});
}

// A .GPS file of the user's beside the converted input keeps its bytes: the
// converted file goes to the run's temporary folder.
TEST_F(GpsVectorRoutes, TheConvertedFileNeverReplacesTheUsersOwn) {
    write("net.tvf", converterFixture("vectors.tvf"));
    const std::string own = ".GPS WEIGHT COVARIANCE\r\nG1  X-Y 1 2 3\r\n";
    write("net.GPS", own);
    projectVars.gpsFileFmtType = 3;
    ASSERT_EQ(readGpsVectorFiles(context, "net.tvf\n", 1), gpsReadDone);
    EXPECT_EQ(testsupport::readBytes(folder / "net.GPS"), own);
    EXPECT_TRUE(std::filesystem::exists(runFolder / "net.GPS"));
    EXPECT_EQ(vectors().size(), 3u);
}

// A fault stops the list at its file with the file and line named; vectors
// of the files before stay.
TEST_F(GpsVectorRoutes, AFaultNamesTheFileAndLine) {
    write("good.tvf", converterFixture("vectors.tvf"));
    write("bad.tvf", "VPP,A B 1 2 3\r\n");
    projectVars.gpsFileFmtType = 3;
    EXPECT_EQ(readGpsVectorFiles(context, "good.tvf\nbad.tvf\n", 1), gpsReadFailed);
    EXPECT_EQ(vectors().size(), 3u);
    ASSERT_EQ(shell.boxTexts().size(), 1u);
    EXPECT_EQ(shell.boxTexts()[0].rfind(path("bad.tvf") + ", line 1: ", 0), 0u)
        << testing::PrintToString(shell.boxTexts());
}

TEST_F(GpsVectorRoutes, AMissingInputIsNamed) {
    projectVars.gpsFileFmtType = 11;
    EXPECT_EQ(readGpsVectorFiles(context, "none.iob\n", 1), gpsReadFailed);
    EXPECT_EQ(shell.boxTexts(), std::vector<std::string>{"Error opening " + path("none.iob")});
}

// Inputs each with one fault, and the line it is on.
struct FaultCase {
    int format;
    std::string text;
    int line;
    const char* what;
};

const FaultCase faultCases[] = {
    {3, "VPP,A B 1 2 3 0.1 0.1 0.1 0 0\r\n", 1, "a field missing"},
    {3, "x\r\nVRTK Topo,A B 1 2 3 0.1 0.1 z 0 0 0\r\n", 2, "not a number"},
    {3, "VPP,A-1 B 1 2 3 0.1 0.1 0.1 0 0 0\r\n", 1, "a hyphen in a name"},
    {3, "VPP,ABCDEFGHIJK B 1 2 3 0.1 0.1 0.1 0 0 0\r\n", 1, "a name too long"},
    {2, "@%Coordinate type: Geodetic\n", 1, "not Cartesian"},
    {2, "@%Unit: yd\n", 1, "an unknown unit"},
    {2, "@-R 1 2 3\n", 1, "a vector before its base"},
    {2, "@+B 0 0 0\n@-R 1 2 3\n@-S 1 2 3\n", 3, "a vector without covariance"},
    {2, "@+B 0 0 0\n@-R 1 2 3\n", 2, "unfinished at the end"},
    {2, "@+B 0 0 0\n@=1 1 0 0 1 0\n", 2, "a covariance without vector"},
    {2, "@+B 0 0 0\n@-R 1 2 3\n@=1 1 0 0 1 0\n", 3, "an element missing"},
    {2, "@+B 0 0 0\n@-R 1 2,5 3\n@=1 1 0 0 1 0 1\n", 2, "a decimal comma in a vector"},
    {2, "@+B 0 0 0\n@-R 1 2 3\n@=1 1 0 0 1 0 1,5\n", 3, "a decimal comma in a covariance"},
    {2, "@+B 0 0 0 .5\n", 1, "a blank inside a base coordinate"},
    {3, "VPP,A B,C 1 2 3 0.1 0.1 0.1 0 0 0\r\n", 1, "a name too many"},
    {3, "VPP,A1 B2 100.1234 -200.5 166 .5845 0.004 0.005 0.006 0.1 -0.2 0.3\r\n", 1,
     "a blank inside a number of a blank-separated line"},
    {3, "VRTK Topo,B2,C3,-10.5,20 .25,-30.125,0.01,0.02,0.03,0,0,0.5\r\n", 1,
     "a blank inside a number of a comma-separated line"},
    {3,
     std::string("VPP,A1 B2 100.1234 -200.5 166") + '\0' +
         "5845 0.004 0.005 0.006 0.1 -0.2 0.3\r\n",
     1, "a control byte inside a number"},
    {3,
     "VPP,A1 B2 100.1234 -200.5 300.25 0.004 0.005 0.006 0.1 -0.2 0.3\rVPP,ABCDEFGHIJK B2 1 2 3 "
     "0.1 0.1 0.1 0 0 0\r",
     2, "a name too long on a line ended by a lone CR"},
    {8, "A\r\nC\r\n", 2, "a C record without numbers"},
    {8, "C 1 2\r\nD\r\n", 1, "a C record short"},
    {8, "D  1  2  1234567\r\n", 1, "a D record without vector"},
    {6, "67  A  1 2 3\n", 1, "a vector before its from-point"},
    {6, "73  B\n67  A\n", 2, "a vector without components"},
    {6, record73("B") + record67("A", "1", "2", "3") + record67("C", "1", "2", "3"), 3,
     "a vector without covariances"},
    {6, "59 1\n", 1, "covariances without vector"},
    {5, "[GPS]\nVector,1,A,B,1,2,3,1,0,0,1,0\n", 2, "a covariance missing"},
    {5, "[GPS]\nVector,1,A\n", 2, "the to-point missing"},
    {11, "GRP\nDXYZ A B 1 2 3\nGRP\n", 3, "a vector without covariance"},
    {11, "GRP\nDXYZ A B 1 2 3\nCOV CT UPPR 0 1\nELEM 1 2 3\n", 2, "unfinished at the end"},
    {11, "GRP\nDXYZ A B 1 2 3\nCOV CT LOWR 0 1\n", 3, "another covariance form"},
    {11, "GRP\nDXYZ A B 1 2\n", 2, "a component missing"},
    {11, "GRP\nCOV CT UPPR 0 1\nELEM 1 2 3\n", 3, "no DXYZ line"},
    {11, "GRP\nDXYZ A B 1 2 3\nCOV CT UPPR 0 1\nELEM 1 2\n", 4, "an ELEM row short"},
    {11, "GRP\nDXYZ A B 1 2,5 3\n", 2, "a decimal comma in a component"},
    {11, "GRP\nDXYZ A B 1 2 3\nCOV CT UPPR 0 1\nELEM 1 2 3,5\n", 4, "a decimal comma in an ELEM"},
};

TEST_F(GpsVectorRoutes, FaultsNameTheirLine) {
    for (const FaultCase& c : faultCases) {
        SCOPED_TRACE(c.what);
        shell.boxes.clear();
        write("in.dat", c.text);
        projectVars.gpsFileFmtType = c.format;
        EXPECT_EQ(readGpsVectorFiles(context, "in.dat\n", 1), gpsReadFailed);
        ASSERT_EQ(shell.boxTexts().size(), 1u);
        const std::string where = path("in.dat") + ", line " + std::to_string(c.line) + ": ";
        EXPECT_EQ(shell.boxTexts()[0].rfind(where, 0), 0u)
            << testing::PrintToString(shell.boxTexts());
    }
}
