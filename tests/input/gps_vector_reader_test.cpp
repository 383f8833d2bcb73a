#include "gps_test_support.hpp"
#include "input/gps_vector_file.hpp"
#include "input/gps_vector_reader.hpp"
#include "platform/length_units.hpp"

#include <gtest/gtest.h>

#include <cmath>

using gpstest::GpsTest;

namespace {

// One vector from A to B in metres under the covariance header.
const std::string oneVector = ".GPS WEIGHT COVARIANCE\r\n"
                              "G0 'V1  Day100  10:30 session\r\n"
                              "G1  A-B 100.5 -200.25 300.125\r\n"
                              "G2  1.0e-4 4.0e-4 9.0e-4\r\n"
                              "G3  1.0e-5 -2.0e-5 3.0e-5\r\n";

} // namespace

using GpsVectorReading = GpsTest;

// Standard errors 0.01, 0.02, 0.03 and correlations 0.5, 0, 0: the
// variances are their squares and covXY = 0.5 x 0.01 x 0.02 = 0.0001.
TEST_F(GpsVectorReading, StandardErrorsAndCorrelationsBecomeACovarianceMatrix) {
    write("v.gps", ".GPS WEIGHT STDERRCORRELATION\r\n"
                   "G1  A-B 1 2 3\r\n"
                   "G2  0.01 0.02 0.03\r\n"
                   "G3  0.5 0 0\r\n");
    ASSERT_EQ(readGpsVectorFiles(context, "v.gps\n", 1), gpsReadDone);
    ASSERT_EQ(vectors().size(), 1u);
    const gpsVectorRec v = vectors()[0];
    EXPECT_NEAR(v.varX, 0.0001, 1e-18);
    EXPECT_NEAR(v.varY, 0.0004, 1e-18);
    EXPECT_NEAR(v.varZ, 0.0009, 1e-18);
    EXPECT_NEAR(v.covXY, 0.0001, 1e-18);
    EXPECT_EQ(v.covXZ, 0.0);
    EXPECT_EQ(v.covYZ, 0.0);
}

TEST_F(GpsVectorReading, AVectorAsWritten) {
    write("v.gps", oneVector);
    ASSERT_EQ(readGpsVectorFiles(context, "v.gps\n", 1), gpsReadDone);
    ASSERT_EQ(vectors().size(), 1u);
    const gpsVectorRec v = vectors()[0];
    EXPECT_EQ(fixedText(v.from), "A");
    EXPECT_EQ(fixedText(v.to), "B");
    EXPECT_EQ(v.dX, 100.5);
    EXPECT_EQ(v.dY, -200.25);
    EXPECT_EQ(v.dZ, 300.125);
    EXPECT_EQ(v.varX, 1.0e-4);
    EXPECT_EQ(v.varZ, 9.0e-4);
    EXPECT_EQ(v.covXZ, -2.0e-5);
    EXPECT_EQ(v.status, 0);
    EXPECT_EQ(shell.messages, std::vector<std::string>{"Reading GPS Vectors"});
    EXPECT_TRUE(shell.boxes.empty());
}

// var' = 2c^2 + 2^f var and cov' = 2^f cov, with the file's values
// var 1e-4, 4e-4, 9e-4 and cov 1e-5, -2e-5, 3e-5.
TEST_F(GpsVectorReading, CenteringAndFactorWeighTheVector) {
    struct Row {
        double c, f;
        double varX, varY, varZ, covXY, covXZ, covYZ;
    };
    const Row rows[] = {
        {0.0, 0.0, 1e-4, 4e-4, 9e-4, 1e-5, -2e-5, 3e-5},               // the file's own matrix
        {0.005, 0.0, 1.5e-4, 4.5e-4, 9.5e-4, 1e-5, -2e-5, 3e-5},       // + 2 x 0.005^2 = 5e-5
        {0.0, 1.0, 2e-4, 8e-4, 18e-4, 2e-5, -4e-5, 6e-5},              // doubled
        {0.003, 2.0, 4.18e-4, 16.18e-4, 36.18e-4, 4e-5, -8e-5, 12e-5}, // 1.8e-5 + 4 var
        {0.0, -1.0, 0.5e-4, 2e-4, 4.5e-4, 0.5e-5, -1e-5, 1.5e-5},      // halved
    };
    write("v.gps", oneVector);
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "c " << row.c << " f " << row.f);
        projectVars.stErrGPSCentering = row.c;
        projectVars.stErrGPSMultFactor = row.f;
        ASSERT_EQ(readGpsVectorFiles(context, "v.gps\n", 1), gpsReadDone);
        const gpsVectorRec v = vectors().at(0);
        EXPECT_NEAR(v.varX, row.varX, 1e-15);
        EXPECT_NEAR(v.varY, row.varY, 1e-15);
        EXPECT_NEAR(v.varZ, row.varZ, 1e-15);
        EXPECT_NEAR(v.covXY, row.covXY, 1e-16);
        EXPECT_NEAR(v.covXZ, row.covXZ, 1e-16);
        EXPECT_NEAR(v.covYZ, row.covYZ, 1e-16);
    }
}

// A vector in feet becomes metres: its components by the factor u, its
// variances and covariances (squared lengths) by u^2. Scaling them by u, as
// a plain copy of the length factor would, leaves a standard error of 1 ft
// at sqrt(0.3048) = 0.55 m instead of 0.3048 m.
TEST_F(GpsVectorReading, UnitFactorSquaredForVariancesAndCovariances) {
    struct Row {
        int code;
        double u;
    };
    const Row rows[] = {
        {0, 1.0}, {1, units::usSurveyFootMetres}, {2, units::internationalFootMetres}, {3, 1.0}};
    write("v.gps", oneVector);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.code);
        projectVars.GPSUnits = row.code;
        ASSERT_EQ(readGpsVectorFiles(context, "v.gps\n", 1), gpsReadDone);
        const gpsVectorRec v = vectors().at(0);
        const double u2 = row.u * row.u;
        EXPECT_DOUBLE_EQ(v.dX, 100.5 * row.u);
        EXPECT_DOUBLE_EQ(v.dY, -200.25 * row.u);
        EXPECT_DOUBLE_EQ(v.dZ, 300.125 * row.u);
        EXPECT_DOUBLE_EQ(v.varX, 1e-4 * u2);
        EXPECT_DOUBLE_EQ(v.varY, 4e-4 * u2);
        EXPECT_DOUBLE_EQ(v.varZ, 9e-4 * u2);
        EXPECT_DOUBLE_EQ(v.covXY, 1e-5 * u2);
        EXPECT_DOUBLE_EQ(v.covXZ, -2e-5 * u2);
        EXPECT_DOUBLE_EQ(v.covYZ, 3e-5 * u2);
    }
}

// The centering error is in the project's unit, the vector in the file's:
// each is turned into metres once, so var = 1e-4 u^2 + 2 (0.01 p)^2 with u
// the file's and p the project's metres per unit, 0.3048006096012192 for US
// feet and 0.3048 for international feet. Fault mended: the centering was
// added in the file's unit, so a project in feet with a file in metres
// weighed the vector with 0.01 m of centering, and the reverse with
// 0.01 x 0.3048^2 m^2.
TEST_F(GpsVectorReading, TheCenteringErrorIsInTheProjectsUnit) {
    struct Row {
        int projectUnit, fileUnit;
        double p, u;
    };
    const double usFt = 0.3048006096012192, ft = 0.3048;
    const Row rows[] = {{0, 0, 1.0, 1.0},   {1, 0, usFt, 1.0}, {0, 1, 1.0, usFt},
                        {1, 1, usFt, usFt}, {2, 1, ft, usFt},  {2, 0, ft, 1.0}};
    write("v.gps", oneVector);
    projectVars.stErrGPSCentering = 0.01;
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message()
                     << "project " << row.projectUnit << " file " << row.fileUnit);
        projectVars.HorizUnits = row.projectUnit;
        projectVars.GPSUnits = row.fileUnit;
        ASSERT_EQ(readGpsVectorFiles(context, "v.gps\n", 1), gpsReadDone);
        const gpsVectorRec v = vectors().at(0);
        const double centering = 2.0 * (0.01 * row.p) * (0.01 * row.p);
        EXPECT_NEAR(v.varX, 1e-4 * row.u * row.u + centering, 1e-17);
        EXPECT_NEAR(v.varZ, 9e-4 * row.u * row.u + centering, 1e-17);
        EXPECT_NEAR(v.covXY, 1e-5 * row.u * row.u, 1e-18);
    }
}

TEST_F(GpsVectorReading, AnUnknownUnitCodeReadsNothing) {
    write("v.gps", oneVector);
    projectVars.GPSUnits = 4;
    EXPECT_EQ(readGpsVectorFiles(context, "v.gps\n", 1), gpsReadFailed);
    EXPECT_TRUE(vectors().empty());
    EXPECT_EQ(shell.boxTexts(), std::vector<std::string>{"Unknown GPS units 4"});
}

// The last line of a file often has no line end; its G3 completes the
// vector all the same.
TEST_F(GpsVectorReading, LastLineWithoutLineEndIsRead) {
    write("v.gps", "G1  A-B 1 2 3\nG2  1 1 1\nG3  0 0 0");
    ASSERT_EQ(readGpsVectorFiles(context, "v.gps\n", 1), gpsReadDone);
    EXPECT_EQ(vectors().size(), 1u);
}

// A file list whose last name has no "\n" still names that file.
TEST_F(GpsVectorReading, LastFileNameWithoutLineEndIsRead) {
    write("one.gps", "G1  A-B 1 2 3\r\nG2  1 1 1\r\nG3  0 0 0\r\n");
    write("two.gps", "G1  B-C 4 5 6\r\nG2  1 1 1\r\nG3  0 0 0\r\n");
    ASSERT_EQ(readGpsVectorFiles(context, "one.gps\ntwo.gps", 1), gpsReadDone);
    ASSERT_EQ(vectors().size(), 2u);
    EXPECT_EQ(fixedText(vectors()[1].from), "B");
}

TEST_F(GpsVectorReading, TabsCarriageReturnsAndCommasSeparateFields) {
    write("v.gps", "  \tG1\tA-B,1.5,\t2.5 ,3.5\r\r\nG2 1,2,3\r\n\tG3\t0,0,0 \r\n");
    ASSERT_EQ(readGpsVectorFiles(context, "v.gps\n", 1), gpsReadDone);
    ASSERT_EQ(vectors().size(), 1u);
    EXPECT_EQ(vectors()[0].dY, 2.5);
    EXPECT_EQ(vectors()[0].varZ, 3.0);
}

// The header changes how the G2 and G3 lines that follow are read; a header
// this system does not know (or in lower case) leaves the mode alone.
TEST_F(GpsVectorReading, HeadersSwitchTheWeightMode) {
    write("v.gps", ".GPS WEIGHT STDERRCORRELATION\n"
                   "G1 A-B 1 2 3\nG2 0.1 0.2 0.3\nG3 0 0 0\n"
                   ".GPS WEIGHT SOMETHING\n"
                   "G1 B-C 1 2 3\nG2 0.1 0.2 0.3\nG3 0 0 0\n"
                   ".gps weight covariance\n"
                   "G1 C-D 1 2 3\nG2 0.1 0.2 0.3\nG3 0 0 0\n"
                   ".GPS,WEIGHT,COVARIANCE\n"
                   "G1 D-E 1 2 3\nG2 0.1 0.2 0.3\nG3 0 0 0\n");
    ASSERT_EQ(readGpsVectorFiles(context, "v.gps\n", 1), gpsReadDone);
    const std::vector<gpsVectorRec> v = vectors();
    ASSERT_EQ(v.size(), 4u);
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(v[i].varY, 0.04, 1e-15) << i;
    EXPECT_EQ(v[3].varY, 0.2);
}

// A name is never cut (two points would become one) and a pair without
// '-' is refused: it named one point and asked about the other.
TEST(GpsPointPair, TheLastDashStartsTheToNameAndNamesAreNeverCut) {
    struct Row {
        const char* pair;
        const char* from;
        const char* to;
        const char* fault;
    };
    const Row rows[] = {
        {"A-B", "A", "B", ""},
        {"A-B-C", "A", "C", ""},
        {"-B", "", "B", ""},
        {"A-", "A", "", ""},
        {"ABCDEFGHIJ-KLMNOPQRST", "ABCDEFGHIJ", "KLMNOPQRST", ""},
        {"ABCDEFGHIJK-B", "", "",
         "The from point name \"ABCDEFGHIJK\" is longer than 10 characters."},
        {"AB", "", "", "The from-to \"AB\" has no '-' between the two point names."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.pair);
        pointNameField from = {}, to = {};
        EXPECT_EQ(splitVectorPointNames(from, to, row.pair), row.fault);
        if (*row.fault != '\0')
            continue;
        EXPECT_EQ(fixedText(from), row.from);
        EXPECT_EQ(fixedText(to), row.to);
    }
}

// The comment follows the last "--", unless the line's first '-' opens a
// "--" itself; it is cut to the 105 characters a vector keeps.
TEST(GpsComment, WhichMarkerAndHowLong) {
    const std::string longText(200, 'x');
    struct Row {
        std::string text;
        std::string comment;
    };
    const Row rows[] = {
        {"  A-B 1 2 3 --first --second", "second"},
        {"  AB 1 2 3 --first --second", "first --second"},
        {"  A-B 1 2 3", ""},
        {"  A-B -1 -2 -3 --session 4", "session 4"},
        {"  A-B 1 2 3 --" + longText, std::string(105, 'x')},
        {"--", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(g1Comment(row.text), row.comment);
    }
}

TEST_F(GpsVectorReading, LongCommentIsCutToTheRecord) {
    write("v.gps", "G1  A-B 1 2 3 --" + std::string(300, 'c') + "\nG2 1 1 1\nG3 0 0 0\n");
    ASSERT_EQ(readGpsVectorFiles(context, "v.gps\n", 1), gpsReadDone);
    EXPECT_EQ(fixedText(vectors().at(0).comment), std::string(gpsCommentMax, 'c'));
}

// A line that is not what its kind needs stops the reading; the message
// names the file and the line, and the vectors read before stay.
TEST_F(GpsVectorReading, AMalformedLineStopsWithFileAndLine) {
    const std::string good = "G1 P-Q 1 2 3\nG2 1 1 1\nG3 0 0 0\n";
    struct Row {
        std::string rest;
        int line;
        std::string what;
    };
    const Row rows[] = {
        {"G1 A-B 1 two 3\n", 4, "The dY \"two\" is not a number. Record: G1 A-B 1 two 3"},
        {"G1 A-B 1 2\n", 4, "The record has 3 fields; it needs 4. Record: G1 A-B 1 2"},
        {"G1 A-B 1 2,5 3\n", 4, "The record has 5 fields; it needs 4. Record: G1 A-B 1 2,5 3"},
        {"G1 A-B 1 2\t5 3\n", 4, "The record has 5 fields; it needs 4. Record: G1 A-B 1 2<TAB>5 3"},
        {std::string("G1 A-B 1 2") + '\0' + "5 3\n", 4,
         "The dY \"2<NUL>5\" is not a number. Record: G1 A-B 1 2<NUL>5 3"},
        {"G1 AB 1 2 3\n", 4,
         "The from-to \"AB\" has no '-' between the two point names. Record: G1 AB 1 2 3"},
        {"G1 A-LONGNAME001 1 2 3\n", 4,
         "The to point name \"LONGNAME001\" is longer than 10 characters. Record: G1 "
         "A-LONGNAME001 1 2 3"},
        {"G1 A-B 1 2 3\nG2 1 1\n", 5, "The record has 2 fields; it needs 3. Record: G2 1 1"},
        {"G1 A-B 1 2 3\nG2 1 1 1 1\n", 5,
         "The record has 4 fields; it needs 3. Record: G2 1 1 1 1"},
        {"G1 A-B 1 2 3\nG2 1 -1 1\n", 5, "A variance is below 0. Record: G2 1 -1 1"},
        {"G1 A-B 1 2 3\nG3 0 0 0\n", 5, "a G3 line must follow the G1 and G2 lines of its vector"},
        {"G2 1 1 1\n", 4, "a G2 line must follow its G1 line"},
        {"G1 A-B 1 2 3\nG2 1 1 1\nG3 0 x 0\n", 6,
         "The covariance XZ \"x\" is not a number. Record: G3 0 x 0"},
        {"G1 A-B 1 2 3\nG1 C-D 1 2 3\n", 4, "the vector of this G1 line has no G3 line"},
        {"G1 A-B 1 2 3\nG2 1 1 1", 4, "the vector of this G1 line has no G3 line"},
        {"G1 A-B 1 2 nan\n", 4, "The dZ \"nan\" is not a number. Record: G1 A-B 1 2 nan"},
        {".GPS WEIGHT STDERRCORRELATION\nG1 A-B 1 2 3\nG2 1 1 1\nG3 0 0\n", 7,
         "The record has 2 fields; it needs 3. Record: G3 0 0"},
        {".GPS WEIGHT STDERRCORRELATION\nG1 A-B 1 2 3\nG2 1 1 1\nG3 0.5 -1.5 0\n", 7,
         "A correlation coefficient is outside -1 to 1. Record: G3 0.5 -1.5 0"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.rest);
        shell.boxes.clear();
        write("v.gps", good + row.rest);
        EXPECT_EQ(readGpsVectorFiles(context, "v.gps\n", 1), gpsReadFailed);
        EXPECT_EQ(shell.boxTexts(),
                  std::vector<std::string>{path("v.gps") + ", line " + std::to_string(row.line) +
                                           ": " + row.what});
        ASSERT_EQ(vectors().size(), 1u);
        EXPECT_EQ(fixedText(vectors()[0].from), "P");
    }
}

// An empty point name asks whether to go on; the vector stays either way.
TEST_F(GpsVectorReading, AnEmptyPointNameAsksWhetherToGoOn) {
    write("v.gps", "G1 A- 1 2 3\nG2 1 1 1\nG3 0 0 0\nG1 C-D 1 2 3\nG2 1 1 1\nG3 0 0 0\n");
    const std::string question = "Invalid Point number in GPS vector\nFrom Pt.: A -> To Pt.:";

    shell.answers = {Answer::ok};
    EXPECT_EQ(readGpsVectorFiles(context, "v.gps\n", 1), gpsReadDone);
    EXPECT_EQ(vectors().size(), 2u);
    ASSERT_EQ(shell.boxes.size(), 1u);
    EXPECT_EQ(shell.boxes[0].text, question);
    EXPECT_EQ(shell.boxes[0].kind, MessageKind::okCancel);
    EXPECT_TRUE(shell.boxes[0].question);

    shell.boxes.clear();
    shell.answers = {Answer::cancel};
    EXPECT_EQ(readGpsVectorFiles(context, "v.gps\n", 1), gpsReadFailed);
    EXPECT_EQ(vectors().size(), 1u);
    EXPECT_EQ(shell.boxTexts(), std::vector<std::string>{question});

    shell.boxes.clear();
    EXPECT_EQ(readGpsVectorFiles(context, "v.gps\n", 0), gpsReadDone);
    EXPECT_EQ(vectors().size(), 2u);
    EXPECT_TRUE(shell.boxes.empty());
}

// An unattended run takes the policy's answer and says so.
TEST_F(GpsVectorReading, AnUnattendedRunAnswersByPolicy) {
    write("v.gps", "G1 -B 1 2 3\nG2 1 1 1\nG3 0 0 0\nG1 C-D 1 2 3\nG2 1 1 1\nG3 0 0 0\n");
    AnswerPolicy policy;
    policy.unattended = true;
    policy.answers = AnswerPolicy::Answers::yes;
    const RunContext goOn(shell, {}, {}, policy);
    EXPECT_EQ(readGpsVectorFiles(goOn, "v.gps\n", 1), gpsReadDone);
    EXPECT_EQ(vectors().size(), 2u);
    policy.answers = AnswerPolicy::Answers::safe;
    const RunContext safe(shell, {}, {}, policy);
    EXPECT_EQ(readGpsVectorFiles(safe, "v.gps\n", 1), gpsReadFailed);
    EXPECT_EQ(vectors().size(), 1u);
}

TEST_F(GpsVectorReading, AFileThatCannotBeOpenedKeepsTheVectorsBeforeIt) {
    write("one.gps", oneVector);
    EXPECT_EQ(readGpsVectorFiles(context, "one.gps\nmissing.gps\n", 1), gpsReadFailed);
    EXPECT_EQ(vectors().size(), 1u);
    EXPECT_EQ(shell.boxTexts(), std::vector<std::string>{"Error opening " + path("missing.gps") +
                                                         ": No such file or directory"});
    EXPECT_FALSE(std::filesystem::exists(folder / "missing.gps"));
}

TEST_F(GpsVectorReading, EveryReadingStartsFromAnEmptyList) {
    write("v.gps", oneVector);
    ASSERT_EQ(readGpsVectorFiles(context, "v.gps\n", 1), gpsReadDone);
    ASSERT_EQ(readGpsVectorFiles(context, "v.gps\n", 1), gpsReadDone);
    EXPECT_EQ(vectors().size(), 1u);
}

// The makers' formats are converted first (gps_vector_routes_test.cpp);
// a format value outside 0-11 reads nothing.
TEST_F(GpsVectorReading, TheFormatDecidesTheRoute) {
    write("v.gps", oneVector);
    for (int format : {-1, 12}) {
        projectVars.gpsFileFmtType = format;
        EXPECT_EQ(readGpsVectorFiles(context, "v.gps\n", 1), gpsReadFailed) << format;
        EXPECT_TRUE(vectors().empty());
    }
}

TEST_F(GpsVectorReading, OtherLinesAreNotRecords) {
    write("v.gps", "\n   \nX anything\ng1 A-B 1 2 3\nG9 1 2 3\nC P 1 2 3\nG\n" + oneVector);
    ASSERT_EQ(readGpsVectorFiles(context, "v.gps\n", 1), gpsReadDone);
    EXPECT_EQ(vectors().size(), 1u);
}
