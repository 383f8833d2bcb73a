// The XML forms of GPS data into .GPS: the vector XML export (route 4),
// LandXML survey positions (route 7) and the field book's GPS records.

#include "gps_test_support.hpp"
#include "input/converters/converter_files.hpp"
#include "input/converters/gps_vector_converters.hpp"
#include "input/gps_control_points.hpp"
#include "input/gps_vector_file.hpp"
#include "input/gps_vector_reader.hpp"
#include "model/reader_std_errs.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

using gpstest::converterFixture;
using gpstest::expectVector;

namespace {

// X, Y, Z of a row of base_points.txt (GeographicLib's CartConvert on
// GRS 80 at latitude, longitude and EL - (AG + PA)).
struct Position {
    double X, Y, Z;
};
Position referencePosition(int row) {
    std::ifstream in(std::string(TARNWELL_FIXTURES) + "/input/gps/base_points.txt");
    std::string line;
    for (int n = 0; std::getline(in, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        if (n++ < row)
            continue;
        std::istringstream fields(line);
        double skip = 0.0;
        Position p{};
        fields >> skip >> skip >> skip >> skip >> skip >> p.X >> p.Y >> p.Z;
        return p;
    }
    ADD_FAILURE() << "no row " << row;
    return {};
}

// The C lines of a .GPS text, parsed as the control reader parses them;
// `defaults` stand for the standard errors a line leaves out.
std::vector<ptGPSXYZCntrl> controlLines(const std::string& text) {
    std::vector<ptGPSXYZCntrl> points;
    std::istringstream lines(text);
    const double defaults[3] = {-7.0, -8.0, -9.0};
    for (std::string line; std::getline(lines, line);) {
        if (classifyGpsLine(line) != gpsLineKind::control)
            continue;
        ptGPSXYZCntrl point;
        std::string fault;
        EXPECT_EQ(parseGpsControlLine(line, defaults, point, fault), controlLineResult::point)
            << line << fault;
        points.push_back(point);
    }
    return points;
}

void expectPosition(const ptGPSXYZCntrl& p, const char* name, const Position& at) {
    SCOPED_TRACE(name);
    EXPECT_EQ(fixedText(p.name), name);
    // "%f" keeps six decimals.
    EXPECT_NEAR(p.X, at.X, 1e-6);
    EXPECT_NEAR(p.Y, at.Y, 1e-6);
    EXPECT_NEAR(p.Z, at.Z, 1e-6);
}

using GpsXmlRoutes = gpstest::GpsRouteTest;

// A copy of `text` with `from` replaced by `to`.
std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const auto at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos)
        text.replace(at, from.size(), to);
    return text;
}

} // namespace

// Standard errors s and correlations r become var = s^2 and cov = r si sj:
// first vector  0.004^2 = 1.6e-5, 0.005^2 = 2.5e-5, 0.006^2 = 3.6e-5,
//               XY 0.1 x 0.004 x 0.005 = 2e-6, XZ -0.2 x 0.004 x 0.006 =
//               -4.8e-6, YZ 0.3 x 0.005 x 0.006 = 9e-6;
// second vector 1e-4, 4e-4, 9e-4 and no correlations (elements in another
// order, blanks around a value).
TEST_F(GpsXmlRoutes, VectorXmlGivesEachVectorElement) {
    write("net.xml", converterFixture("vectors.xml"));
    projectVars.gpsFileFmtType = 4;
    ASSERT_EQ(readGpsVectorFiles(context, "net.xml\n", 1), gpsReadDone)
        << testing::PrintToString(shell.boxTexts());
    ASSERT_EQ(vectors().size(), 2u);
    expectVector(
        vectors()[0],
        {"A1", "B2", {100.1234, -200.5, 300.25}, {1.6e-5, 2.5e-5, 3.6e-5}, {2e-6, -4.8e-6, 9e-6}});
    expectVector(vectors()[1],
                 {"B2", "C3", {-10.5, 20.25, -30.125}, {1e-4, 4e-4, 9e-4}, {0, 0, 0}});
    EXPECT_TRUE(shell.boxTexts().empty());
    EXPECT_EQ(
        testsupport::readBytes(runFolder / "net.GPS").rfind(".GPS WEIGHT STDERRCORRELATION\r\n", 0),
        0u);
}

// Faults of the vector XML and the line each is on.
struct XmlFault {
    std::string from, to;
    int line;
    const char* what;
};

const XmlFault vectorXmlFaults[] = {
    {"<DX>100.1234</DX>", "<DX>100.1234</DY>", 10, "an element closed by another"},
    {"<DX>100.1234</DX>", "<DX>1OO</DX>", 10, "a component not a number"},
    {"<BasePoint>A1</BasePoint>", "", 6, "no base point"},
    {"<RoverPoint>B2</RoverPoint>", "<RoverPoint>B-2</RoverPoint>", 6, "a hyphen in a name"},
    {"<SY>0.02</SY>", "", 20, "a standard error missing"},
    {"<CXZ>-0.2</CXZ>", "<CXZ>-1.2</CXZ>", 6, "a correlation beyond -1"},
    {"<SZ>0.006</SZ>", "<SZ>-0.006</SZ>", 6, "a negative standard error"},
};

TEST_F(GpsXmlRoutes, VectorXmlFaultsNameTheirLine) {
    projectVars.gpsFileFmtType = 4;
    for (const XmlFault& c : vectorXmlFaults) {
        SCOPED_TRACE(c.what);
        shell.boxes.clear();
        write("net.xml", replaced(converterFixture("vectors.xml"), c.from, c.to));
        EXPECT_EQ(readGpsVectorFiles(context, "net.xml\n", 1), gpsReadFailed);
        ASSERT_EQ(shell.boxTexts().size(), 1u);
        const std::string where = path("net.xml") + ", line " + std::to_string(c.line) + ": ";
        EXPECT_EQ(shell.boxTexts()[0].rfind(where, 0), 0u)
            << testing::PrintToString(shell.boxTexts());
        EXPECT_TRUE(vectors().empty());
    }
}

// CP1 at 45 N, 75 W, 98.4 m is the first row of base_points.txt; its
// standard errors are the roots of the variances 0.0004, 0.0009, 0.0016:
// 0.02, 0.03, 0.04. CP2 (second row, 37.935 m) has no quality record, so
// its line leaves the standard errors to the reader. CP3 has no height and
// the position outside the survey is not survey data. The attribute
// "oldname" does not stand for "name".
TEST(LandXmlConversion, SurveyPositionsBecomeControlLines) {
    testsupport::TempFolder folder("landxml");
    testsupport::writeBytes(folder / "survey.xml", converterFixture("survey.xml"));
    std::string message, notice;
    ASSERT_EQ(convertLandXmlToGps((folder / "survey.xml").string(), (folder / "s.GPS").string(), 1,
                                  message, notice),
              conversionDone)
        << message;
    const std::string text = testsupport::readBytes(folder / "s.GPS");
    EXPECT_EQ(text.rfind(".GPS WEIGHT STDERRCORRELATION\r\n", 0), 0u);
    const std::vector<ptGPSXYZCntrl> points = controlLines(text);
    ASSERT_EQ(points.size(), 2u) << text;
    expectPosition(points[0], "CP1", referencePosition(0));
    EXPECT_NEAR(points[0].sX, 0.02, 1e-8);
    EXPECT_NEAR(points[0].sY, 0.03, 1e-8);
    EXPECT_NEAR(points[0].sZ, 0.04, 1e-8);
    expectPosition(points[1], "CP2", referencePosition(1));
    EXPECT_EQ(points[1].sX, -7.0);
    EXPECT_EQ(points[1].sZ, -9.0);
    EXPECT_EQ(notice, (folder / "survey.xml").string() +
                          ", line 19: a GPSPosition without wgsLatitude, wgsLongitude and "
                          "wgsHeight was not converted\n" +
                          (folder / "survey.xml").string() +
                          ": 2 GPS vectors (GPSVector) were not converted: only the GPS "
                          "positions of LandXML files are read");
}

TEST(LandXmlConversion, PositionsAreLeftOutWhenNotAskedFor) {
    testsupport::TempFolder folder("landxml");
    testsupport::writeBytes(folder / "survey.xml", converterFixture("survey.xml"));
    std::string message, notice;
    ASSERT_EQ(convertLandXmlToGps((folder / "survey.xml").string(), (folder / "s.GPS").string(), 0,
                                  message, notice),
              conversionDone);
    EXPECT_EQ(testsupport::readBytes(folder / "s.GPS"), ".GPS WEIGHT STDERRCORRELATION\r\n");
}

// A file of vectors alone gives the header line alone, and says so: the
// run shows it and goes on with no vectors from it.
TEST_F(GpsXmlRoutes, LandXmlVectorsAreNeverDroppedSilently) {
    write("v.xml", "<LandXML><Survey><GPSVector dX=\"1\" dY=\"2\" dZ=\"3\"/></Survey></LandXML>");
    projectVars.gpsFileFmtType = 7;
    ASSERT_EQ(readGpsVectorFiles(context, "v.xml\n", 1), gpsReadDone);
    EXPECT_TRUE(vectors().empty());
    EXPECT_EQ(testsupport::readBytes(runFolder / "v.GPS"), ".GPS WEIGHT STDERRCORRELATION\r\n");
    EXPECT_EQ(shell.boxTexts(),
              std::vector<std::string>{path("v.xml") +
                                       ": 1 GPS vectors (GPSVector) were not converted: only the "
                                       "GPS positions of LandXML files are read"});
}

// Converts copies of `fixture` damaged by each case: each fails with its
// file and line named and leaves no output.
template <std::size_t N, typename Convert>
void expectFaultsAtTheirLines(const std::string& fixture, const XmlFault (&cases)[N],
                              Convert convert) {
    testsupport::TempFolder folder("xml-faults");
    const std::string input = (folder / "in.xml").string();
    for (const XmlFault& c : cases) {
        SCOPED_TRACE(c.what);
        testsupport::writeBytes(input, replaced(converterFixture(fixture), c.from, c.to));
        std::string message;
        EXPECT_EQ(convert(input, (folder / "out.GPS").string(), message), conversionFailed);
        EXPECT_EQ(message.rfind(input + ", line " + std::to_string(c.line) + ": ", 0), 0u)
            << message;
        EXPECT_FALSE(std::filesystem::exists(folder / "out.GPS"));
    }
}

const XmlFault landXmlFaults[] = {
    {"wgsLatitude=\"45.0\"", "wgsLatitude=\"45,0\"", 11, "a latitude not a number"},
    {"wgsLatitude=\"45.0\"", "wgsLatitude=\"145.0\"", 11, "a latitude beyond 90"},
    {"<TargetPoint name=\"CP2\"/>", "", 16, "a position without its name"},
    {"name=\"CP2\"", "name=\"CP 2\"", 17, "a blank in a name"},
    {"covarianceYY=\"0.0009\"", "covarianceYY=\"-0.0009\"", 14, "a negative variance"},
    {"</Survey>", "</Surve>", 26, "a closing tag that does not match"},
};

TEST(LandXmlConversion, FaultsNameTheirLine) {
    expectFaultsAtTheirLines(
        "survey.xml", landXmlFaults,
        [](const std::string& in, const std::string& out, std::string& message) {
            std::string notice;
            return convertLandXmlToGps(in, out, 1, message, notice);
        });
}

// BASE (FromBase with a WGS84 position: the first row of base_points.txt)
// is a C line with standard errors 0, which the reader takes as fixed, and
// its code as description; R1 is a vector with its covariances and code;
// R2 has no covariances and gives nothing; R3 is from a base but has no
// position, so it is a vector.
TEST_F(GpsXmlRoutes, FieldBookGivesBasePositionsAndVectors) {
    const std::string input = path(write("job.xml", converterFixture("fieldbook_gps.xml")));
    std::string message;
    ASSERT_EQ(convertFieldBookXmlToGps(input, path("job.GPS"), message), conversionDone) << message;
    const std::string text = testsupport::readBytes(folder / "job.GPS");
    EXPECT_EQ(text.rfind(".GPS WEIGHT COVARIANCE\r\nC BASE ", 0), 0u) << text;
    const std::vector<ptGPSXYZCntrl> points = controlLines(text);
    ASSERT_EQ(points.size(), 1u);
    expectPosition(points[0], "BASE", referencePosition(0));
    EXPECT_EQ(points[0].sX, stdErrFixed);
    EXPECT_EQ(points[0].sZ, stdErrFixed);
    EXPECT_EQ(fixedText(points[0].description), "BRASS DISK");

    ASSERT_EQ(readGpsFiles(context, "job.GPS\n", 1), gpsReadDone);
    ASSERT_EQ(vectors().size(), 2u);
    expectVector(
        vectors()[0],
        {"BASE", "R1", {1234.5678, -234.5, 50.25}, {1e-6, 4e-6, 9e-6}, {2e-7, -3e-7, 5e-7}});
    EXPECT_EQ(fixedText(vectors()[0].comment), "FENCE POST");
    expectVector(vectors()[1], {"BASE", "R3", {-10, 20, -30}, {1, 2, 3}, {0, 0, 0}});
}

// A base position is a control point even when the record carries a whole
// vector too: no vector comes of it.
TEST_F(GpsXmlRoutes, AFieldBookBasePositionGivesNoVector) {
    const std::string input = path(write(
        "job.xml", replaced(converterFixture("fieldbook_gps.xml"), "</WGS84>",
                            "</WGS84><RTK_Base>R9</RTK_Base><ECEFDeltas><DeltaX>1</DeltaX>"
                            "<DeltaY>2</DeltaY><DeltaZ>3</DeltaZ></ECEFDeltas><QualityControl2>"
                            "<VCVxx>1</VCVxx><VCVxy>0</VCVxy><VCVxz>0</VCVxz><VCVyy>1</VCVyy>"
                            "<VCVyz>0</VCVyz><VCVzz>1</VCVzz></QualityControl2>")));
    std::string message;
    ASSERT_EQ(convertFieldBookXmlToGps(input, path("job.GPS"), message), conversionDone) << message;
    EXPECT_EQ(controlLines(testsupport::readBytes(folder / "job.GPS")).size(), 1u);
    ASSERT_EQ(readGpsFiles(context, "job.GPS\n", 1), gpsReadDone);
    ASSERT_EQ(vectors().size(), 2u);
    EXPECT_EQ(fixedText(vectors()[0].to), "R1");
    EXPECT_EQ(fixedText(vectors()[1].to), "R3");
}

const XmlFault fieldBookFaults[] = {
    {"<DeltaY>-234.5</DeltaY>", "<DeltaY>-234.5m</DeltaY>", 27, "a delta not a number"},
    {"<VCVyy>4.0e-6</VCVyy>", "<VCVyy>-4.0e-6</VCVyy>", 20, "a negative variance"},
    {"<RTK_Base>BASE</RTK_Base>", "<RTK_Base>BASE-1</RTK_Base>", 20, "a hyphen in a name"},
    {"<Height>98.4</Height>", "<Height>high</Height>", 17, "a height not a number"},
    {"<Name>BASE</Name>", "<Name>THE BASE</Name>", 4, "a blank in a control name"},
};

TEST(FieldBookGpsConversion, FaultsNameTheirLine) {
    expectFaultsAtTheirLines("fieldbook_gps.xml", fieldBookFaults, convertFieldBookXmlToGps);
}
