// The .VKR reader: the example project's file, the record forms one by one,
// the failures that stop a read, and the dispatch of .RW5 lists.

#include "input/numeric_raw_reader.hpp"
#include "input/raw_files.hpp"
#include "model/program_lists.hpp"
#include "model/reader_std_errs.hpp"
#include "model/settings/global_vars.hpp"
#include "output/report_lines.hpp"
#include "platform/shell_services.hpp"
#include "reports/report_files.hpp"
#include "support/angles.hpp"
#include "support/project_vars_guard.hpp"
#include "support/raw_list_builder.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <vector>

using testsupport::radiansOf;

namespace {

std::string examplesFolder() {
    return std::string(TARNWELL_FIXTURES) + "/../../examples/site";
}

// A header line as the writers lay it out; the reader skips it.
const std::string header = std::string(190, ' ') + "100     VER 1.0    0000000000\r\n";

// An observation line in the fixed columns.
std::string obs(char type, const std::string& station, const std::string& hi,
                const std::string& backsight, const std::string& target, const std::string& reading,
                const std::string& dist, const std::string& zenith,
                const std::string& foresight = "", const std::string& rest = "") {
    char text[256];
    std::snprintf(text, sizeof text, "%c%-10s %8s %-10s %8s %10s %9s %9s %-10s %s", type,
                  station.c_str(), hi.c_str(), backsight.c_str(), target.c_str(), reading.c_str(),
                  dist.c_str(), zenith.c_str(), foresight.c_str(), rest.c_str());
    return text;
}

// A project in a temporary folder with its error report open.
class VkrReader : public ::testing::Test {
protected:
    void SetUp() override {
        resetProgramLists();
        previous_ = setActiveShell(&shell);
        projectVars.projectFileName = (folder / "net.prj").string();
        projectVars.curvRefract = 0;
        ASSERT_GT(openErrFile(startNewFile), 0);
    }
    void TearDown() override {
        closeErrFile();
        setActiveShell(previous_);
        resetProgramLists();
    }

    // Writes `lines` (each ended by CR LF) after a header into net.vkr and reads it.
    int read(const std::vector<std::string>& lines, const std::string& lastWithoutEnd = "") {
        std::string bytes = header;
        for (const std::string& line : lines)
            bytes += line + "\r\n";
        testsupport::writeBytes(folder / "net.vkr", bytes + lastWithoutEnd);
        return readVkrRawFile("net.vkr\n");
    }

    std::vector<rawRec> records() { return testsupport::rawRecords(); }

    std::string errText() {
        closeErrFile();
        return testsupport::readBytes(folder / "net.ERR");
    }

    testsupport::ProjectVarsGuard guard;
    testsupport::TempFolder folder{"vkr-reader"};
    RecordingShell shell;

private:
    ShellServices* previous_ = nullptr;
};

} // namespace

TEST_F(VkrReader, ReadsTheExampleProjectFile) {
    namespace fs = std::filesystem;
    fs::copy_file(examplesFolder() + "/site.vkr", folder / "site.vkr");
    ASSERT_EQ(readVkrRawFile("site.vkr\n"), vkrReadOk);
    const std::vector<rawRec> all = records();
    ASSERT_EQ(all.size(), 19u) << "1 standard-error, 2 coordinate and 16 sight records";
    EXPECT_EQ(all[0].kind, rawStdErrs);
    EXPECT_EQ(all[0].stErrX, stdErrFixed);
    EXPECT_EQ(readerStdErrs[seEasting], stdErrFixed) << "the record is in force";

    const rawRec& a = all[1];
    EXPECT_EQ(a.kind, rawCoord);
    EXPECT_EQ(fixedText(a.pointName), "A");
    EXPECT_DOUBLE_EQ(a.northing, 1000.0);
    EXPECT_DOUBLE_EQ(a.elevation, 50.0);
    EXPECT_EQ(fixedText(a.code), "CP");
    EXPECT_EQ(fixedText(a.description), "control A");

    // "1A 1.520 D 1.600 0.00000 241.858 90.00426": zenith 90d00'42.6".
    const rawRec& setup = all[3];
    EXPECT_EQ(setup.kind, rawSetup);
    EXPECT_EQ(fixedText(setup.stationName), "A");
    EXPECT_EQ(fixedText(setup.backsightName), "D");
    EXPECT_DOUBLE_EQ(setup.instrumentHeight, 1.52);
    EXPECT_DOUBLE_EQ(setup.bsTargetHeight, 1.6);
    EXPECT_DOUBLE_EQ(setup.bsHorizontalReading, 0.0);
    EXPECT_EQ(setup.face, faceDirect);
    EXPECT_EQ(setup.heightsApplied, 1);
    const double z = radiansOf(90, 0, 42.6);
    EXPECT_NEAR(setup.zenithOrVertDiff, z, 1e-12);
    EXPECT_NEAR(setup.horizDistance, 241.858 * std::sin(z), 1e-9);
    EXPECT_NEAR(setup.vertDifference, 241.858 * std::cos(z) + 1.52 - 1.6, 1e-9);
    // The default standard errors: 0.01 + 5 ppm; zenith sqrt(3^2 + 3^2).
    EXPECT_NEAR(setup.distStdErr, 0.01 + 5.0 * 241.858 / 1e6, 1e-12);
    EXPECT_NEAR(setup.zenithStdErr, std::sqrt(18.0), 1e-12);

    // The face-right foresight to B: reading 114d09'50.3", zenith 270d27'17.6".
    const rawRec& reverse = all[5];
    EXPECT_EQ(reverse.kind, rawForesight);
    EXPECT_EQ(fixedText(reverse.foresightName), "B");
    EXPECT_EQ(reverse.face, faceReverse);
    EXPECT_NEAR(reverse.horizontalReading, radiansOf(114, 9, 50.3), 1e-12);
    EXPECT_EQ(fixedText(reverse.code), "CP  ") << "the code field loses only its leading blanks";
    EXPECT_EQ(fixedText(reverse.description), "control B");
    EXPECT_NEAR(reverse.horizDistance, 304.817 * std::fabs(std::sin(radiansOf(270, 27, 17.6))),
                1e-9);
}

TEST_F(VkrReader, RecordFormsAndTheirEdgeCases) {
    projectVars.angleType = 0;
    projectVars.directionType = 1;
    ASSERT_EQ(read({
                  obs('1', "S1", "1.500", "BS", "1.600", "0.0000", "100.000", "180.0000"),
                  obs('1', "", "", "", "2.000", "90.0000", "50.000", "180.0001", "F1"),
                  obs('1', "S2", "", "S1", "1.700", "10.0000", "20.000", "90.0000"),
                  obs('2', "", "", "", "1.000", "45.0000", "30.000", "0.250", "F2"),
                  "6DO",
                  obs('1', "", "", "", "", "", "", "", ""), // malformed, but reading is off
                  "6DO",
                  "3A-B 45.3000",
                  "6DR B-C 90.0000",
                  "6E P9 12.5",
                  "6C P1 1000 2000",
                  "6C P2 1000 2000 50 'CP,iron pin",
                  "5anything",
                  "6S anything",
                  "",
              }),
              vkrReadOk);
    const std::vector<rawRec> all = records();
    ASSERT_EQ(all.size(), 9u);
    EXPECT_EQ(all[0].face, faceDirect) << "180 exactly is direct";
    EXPECT_EQ(all[1].face, faceReverse) << "180.0001 is reverse";
    // The second setup has no HI: the first setup's HI stays in force.
    EXPECT_FALSE(isSet(all[2].instrumentHeight));
    EXPECT_EQ(all[2].heightsApplied, 1);
    EXPECT_NEAR(all[2].vertDifference, 20.0 * std::cos(testsupport::pi / 2) + 1.5 - 1.7, 1e-9);
    // '2' record: horizontal distance and vertical difference as read, HI 1.5, target 1.0.
    EXPECT_EQ(all[3].face, faceUnknown);
    EXPECT_DOUBLE_EQ(all[3].horizDistance, 30.0);
    EXPECT_DOUBLE_EQ(all[3].vertDifference, 0.25 + 1.5 - 1.0);
    EXPECT_EQ(all[3].sightForm, sightHorizVert) << "the reduction to the marks reads it so";
    EXPECT_EQ(all[1].sightForm, sightSlopeZenith);
    // The type character is not part of the first azimuth's names.
    EXPECT_EQ(all[4].kind, rawAzimuth);
    EXPECT_EQ(fixedText(all[4].fromName), "A");
    EXPECT_EQ(fixedText(all[4].toName), "B");
    EXPECT_NEAR(all[4].azimuth, radiansOf(45, 30), 1e-12);
    EXPECT_EQ(fixedText(all[5].fromName), "B");
    EXPECT_NEAR(all[5].azimuth, radiansOf(90), 1e-12);
    EXPECT_EQ(fixedText(all[6].pointName), "P9");
    EXPECT_DOUBLE_EQ(all[6].elevation, 12.5);
    EXPECT_FALSE(isSet(all[6].northing));
    EXPECT_FALSE(isSet(all[7].elevation));
    EXPECT_DOUBLE_EQ(all[7].easting, 2000.0);
    EXPECT_DOUBLE_EQ(all[8].elevation, 50.0);
    EXPECT_EQ(fixedText(all[8].code), "CP");
    EXPECT_EQ(fixedText(all[8].description), "iron pin");
    // Both notes on assumed faces close the error report.
    const std::string err = errText();
    EXPECT_NE(err.find(" vertical difference mode, assumptions were made"), std::string::npos);
    EXPECT_EQ(err.find("Since vertical angles were missing"), std::string::npos);
}

TEST_F(VkrReader, GradsFaceAndQuadrantBearings) {
    projectVars.angleType = 1;
    projectVars.directionType = 0;
    ASSERT_EQ(read({obs('1', "S1", "1.5", "BS", "", "0", "", "200.0000"),
                    obs('1', "S1", "1.5", "BS", "", "0", "", "200.0001"), "6DR A-B 2050"}),
              vkrReadOk);
    const std::vector<rawRec> all = records();
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[0].face, faceDirect);
    EXPECT_EQ(all[1].face, faceReverse);
    // Quadrant 2 (SE) bearing of 50 grads: azimuth 150 grads.
    EXPECT_NEAR(all[2].azimuth, testsupport::gradsToRadians(150), 1e-12);
}

TEST_F(VkrReader, StandardErrorKeys) {
    projectVars.geodeticModel = 1;
    projectVars.HorizUnits = 1; // US survey feet: the unit factor is metres per foot
    const double u = 0.3048006096012192;
    const struct {
        const char* record;
        double rawRec::*field;
        double expected;
    } rows[] = {
        {"6SE X:!", &rawRec::stErrX, -2.0},
        {"6SE Y:#", &rawRec::stErrY, -1.0},
        {"6SE X:0", &rawRec::stErrX, 1e-6 * u},
        {"6SE Z:-0.02", &rawRec::stErrZ, 0.02 * u},
        {"6SE VR:3", &rawRec::vStErrRead, 3.0},
        {"6SE AZ:7", &rawRec::stErrAz, 7.0},
        {"6SE ROD:0.01", &rawRec::rodStErr, 0.01 * u},
        {"6SE D:0.005,PPM:3", &rawRec::stErrDist, 0.005 * u},
        {"6SE D:0.005,PPM:3", &rawRec::stErrDistPPM, 3.0},
        {"6SE HI:*", &rawRec::HIStErr, projectVars.HIStErr * u},
        {"6SE TE:0.004 IE:0.003", &rawRec::stErrInstrCentering, 0.003 * u},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.record);
        rawDataList.clear();
        vkrReaderState state = startVkrRead();
        rawRec r;
        ASSERT_EQ(parseVkrLine(row.record, r, state), rawRecordStore);
        EXPECT_EQ(r.kind, rawStdErrs);
        EXPECT_NEAR(r.*(row.field), row.expected, 1e-15);
    }
    vkrReaderState state = startVkrRead();
    const stdErrBlock before = readerStdErrs;
    rawRec r;
    parseVkrLine("6SE VR:3", r, state);
    EXPECT_FALSE(isSet(r.vStErrPoint)) << "VR sets only the vertical reading error";
    EXPECT_EQ(readerStdErrs[seVertReading], 3.0);
    EXPECT_EQ(readerStdErrs[seVertPointing], before[seVertPointing]);
}

TEST_F(VkrReader, ALastLineWithoutLineEndIsRead) {
    ASSERT_EQ(read({"6E P1 1.0"}, "6E P2 2.0"), vkrReadOk);
    const std::vector<rawRec> all = records();
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(fixedText(all[1].pointName), "P2");
}

TEST_F(VkrReader, ASlopeDistanceWithoutZenithIsNotReduced) {
    ASSERT_EQ(read({obs('1', "S1", "1.5", "BS", "1.6", "0", "100.000", "")}), vkrReadOk);
    const std::vector<rawRec> all = records();
    ASSERT_EQ(all.size(), 1u);
    EXPECT_DOUBLE_EQ(all[0].distance, 100.0);
    EXPECT_FALSE(isSet(all[0].horizDistance)) << "no horizontal distance invented";
    EXPECT_FALSE(isSet(all[0].vertDifference));
    EXPECT_EQ(all[0].face, faceDirect) << "a setup without zenith is taken as direct";
    const std::string err = errText();
    EXPECT_NE(err.find("Warning, Invalid Vert. Angle. in the following raw record."),
              std::string::npos);
    EXPECT_NE(err.find(" Since vertical angles were missing"), std::string::npos);
}

TEST_F(VkrReader, MissingZenithOfAForesightIsReported) {
    const std::string line = obs('1', "", "", "", "1.6", "10.0000", "", "", "F1");
    ASSERT_EQ(read({line}), vkrReadOk);
    EXPECT_EQ(records().at(0).face, faceUnknown);
    const std::string err = errText();
    EXPECT_NE(err.find("Warning: Missing Vert. Angle. Assumption made as to whether it is direct "
                       "or reverse.\r\n  " +
                       line + "\r\n"),
              std::string::npos);
}

TEST_F(VkrReader, AMalformedRecordStopsTheReadNamingFileAndLine) {
    const std::string bad = obs('1', "S1", "1.5", "", "", "0", "", "");
    ASSERT_EQ(read({"6E P1 1.0", bad, "6E P2 2.0"}), vkrReadFailed);
    EXPECT_EQ(records().size(), 1u) << "records read before stay; the rest is not read";
    const std::string path = (folder / "net.vkr").string();
    const std::string where = "In " + path + ", line 3.";
    const std::string why = "The backsight point is blank.";
    EXPECT_NE(errText().find("Error parsing raw record:\r\n" + bad + "\r\n" + where + "\r\n" + why +
                             "\r\n"),
              std::string::npos);
    ASSERT_EQ(shell.boxes.size(), 1u);
    EXPECT_EQ(shell.boxes[0].text, "Error parsing raw record:\n" + bad + "\n" + where + "\n" + why);
}

// A number field holds one whole number, or its record is malformed, named
// with file, line and field: a damaged field is never read as far as it goes
// (30#.816 as 30 m), nor "inf", "nan" or a number no survey gives as data;
// the description may say anything.
TEST_F(VkrReader, ANumberFieldThatIsNoWholeNumberMakesItsRecordMalformed) {
    const struct {
        std::string record;
        const char* field;
    } rows[] = {
        {obs('1', "", "", "", "1.6", "9Q.25023", "30.816", "90.0000", "P9"),
         "horizontal reading \"9Q.25023\""},
        {obs('1', "", "", "", "1.6", "92.25023", "30#.816", "90.0000", "P9"),
         "distance \"30#.816\""},
        {obs('1', "", "", "", "1.6", "92.25023", "30.816", "9O.0000", "P9"), "zenith \"9O.0000\""},
        {obs('2', "", "", "", "1.6", "92.25023", "30.816", "0.5m", "P9"),
         "vertical difference \"0.5m\""},
        {obs('1', "", "", "", "1,6", "92.25023", "30.816", "90.0000", "P9"),
         "target height \"1,6\""},
        {obs('1', "S1", "inf", "BS", "1.6", "0", "30.816", "90.0000"), "HI \"inf\""},
        {"6E P2 1e308", "elevation \"1e308\""},
        {"6E P2 -inf", "elevation \"-inf\""},
        {"6E P2 inf", "elevation \"inf\""},
        {"6E P2 nan", "elevation \"nan\""},
        {"6E P2 12.5ft", "elevation \"12.5ft\""},
        {"6C Q 1000.0 1e400 5.0", "easting \"1e400\""},
        {"6C Q 1000.0 2000.0 -1e13", "elevation \"-1e13\""},
        {"6C Q N1000.0 2000.0 'IR,iron 12x", "northing \"N1000.0\""},
        {"6DR A-B 45.3O", "azimuth \"45.3O\""},
        {"3A-B nan", "azimuth \"nan\""},
        {"6SE PE:2 VR:3s", "standard error VR \"3s\""},
        {"6SE X:#,Y:!,Z:inf", "standard error Z \"inf\""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.record);
        resetProgramLists();
        shell.boxes.clear();
        ASSERT_EQ(read({"6E P1 1.0", row.record, "6E P3 2.0"}), vkrReadFailed);
        EXPECT_EQ(records().size(), 1u);
        const std::string where = "In " + (folder / "net.vkr").string() + ", line 3.";
        ASSERT_EQ(shell.boxes.size(), 1u);
        EXPECT_EQ(shell.boxes[0].text, "Error parsing raw record:\n" + row.record + "\n" + where +
                                           "\nThe " + row.field + " is not a number.");
    }
    resetProgramLists();
    EXPECT_EQ(read({"6E P1 1.0 'rod 1e999 inf", "6SE X:#,Y:!,Z:*,PE:1e-1", "6E P3 2.0"}),
              vkrReadOk);
    EXPECT_EQ(records().size(), 3u);
}

// A record type or sub-record code that is none of the format's is a
// damaged one: passed over, it dropped a control point ("xC") or hung a
// setup's sights on the setup before ("xA"). Checked while reading is off
// too, where a damaged "6DO" would have left it off.
TEST_F(VkrReader, ARecordCodeOfNoRecordTypeStopsTheRead) {
    const struct {
        std::string record;
        const char* code;
    } rows[] = {
        {"xC B 1180.250 1245.800 52.340", "x"},
        {"9anything", "9"},
        {"6Q B 1180.250 1245.800", "6Q"},
        {"6c B 1180.250 1245.800", "6c"},
        {"6CB 1180.250 1245.800", "6CB"},
        {"6DRA-B 45.3000", "6DRA-B"},
        {"6D0", "6D0"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.record);
        for (const bool readingOff : {false, true}) {
            resetProgramLists();
            shell.boxes.clear();
            std::vector<std::string> lines = {"6E P1 1.0", row.record, "6E P3 2.0"};
            if (readingOff)
                lines = {"6E P1 1.0", "6DO", row.record, "6DO", "6E P3 2.0"};
            ASSERT_EQ(read(lines), vkrReadFailed);
            EXPECT_EQ(records().size(), 1u);
            const std::string where =
                "In " + (folder / "net.vkr").string() + ", line " + (readingOff ? "4" : "3") + ".";
            ASSERT_EQ(shell.boxes.size(), 1u);
            EXPECT_EQ(shell.boxes[0].text, "Error parsing raw record:\n" + row.record + "\n" +
                                               where + "\nThe record code \"" + row.code +
                                               "\" names no record type of its file.");
        }
    }
    resetProgramLists();
    shell.boxes.clear();
    ASSERT_EQ(read({"6E P1 1.0", " A 1.520", "6E P3 2.0"}), vkrReadFailed);
    ASSERT_EQ(shell.boxes.size(), 1u);
    EXPECT_NE(shell.boxes[0].text.find("The record code is missing."), std::string::npos);
}

// Reading off, a record is not read, so its fields are not judged either.
TEST_F(VkrReader, ARecordWhileReadingIsOffIsNotJudged) {
    EXPECT_EQ(read({"6DO", "6E P2 12.5ft", "6DO", "6E P3 2.0"}), vkrReadOk);
    EXPECT_EQ(records().size(), 1u);
}

TEST_F(VkrReader, AFileThatCannotBeOpenedStopsTheList) {
    testsupport::writeBytes(folder / "one.vkr", header + "6E P1 1.0\r\n");
    EXPECT_EQ(readVkrRawFile("one.vkr\nmissing.vkr\n"), vkrReadFailed);
    EXPECT_EQ(rawDataList.count(), 1);
    ASSERT_EQ(shell.boxes.size(), 1u);
    EXPECT_EQ(shell.boxes[0].text,
              "Error opening " + (folder / "missing.vkr").string() + ": No such file or directory");
    EXPECT_FALSE(std::filesystem::exists(folder / "missing.vkr")) << "nothing is created";
    EXPECT_NE(errText().find("Error opening " + (folder / "missing.vkr").string() +
                             ": No such file or directory\r\n"),
              std::string::npos)
        << "the error report says the same as the box";
}

// A file of which no line is a record (another kind of file, or a damaged
// one) stops the read with one message naming it, in the box and in the
// error report; without it the run went on and reported only consequences.
TEST_F(VkrReader, AFileWithoutAnyRecordIsNamedAsTheCause) {
    const std::string path = (folder / "net.vkr").string();
    const std::string message =
        "No raw data records in " + path + ": none of its lines is a raw data record.";
    // Blank lines are no records (a line of any other text after the header
    // is a damaged record, refused by its code).
    for (const std::vector<std::string>& lines :
         {std::vector<std::string>{"", "   ", "\t"}, std::vector<std::string>{}}) {
        SCOPED_TRACE(lines.size());
        shell.boxes.clear();
        EXPECT_EQ(read(lines), vkrReadFailed);
        ASSERT_EQ(shell.boxes.size(), 1u);
        EXPECT_EQ(shell.boxes[0].text, message);
    }
    EXPECT_NE(errText().find(message + "\r\n"), std::string::npos);
}

TEST_F(VkrReader, AliasesInDescriptions) {
    projectVars.PtSubstituteS = "same";
    const std::string second = obs('1', "", "", "", "", "5", "", "", "X2", "    SAME 7");
    ASSERT_EQ(read({obs('1', "S1", "1.5", "BS", "", "0", "", "", ""),
                    obs('1', "", "", "", "", "5", "", "", "X1", "    SAME 7"),
                    "6C Q1 10 20 'CP,SAME 8", second, "6C Q2 10 20 'SAME 9", "6C Q3 1 2 'SAME",
                    obs('1', "", "", "", "", "5", "", "", "X1", "    SAME 9")}),
              vkrReadFailed);
    ASSERT_EQ(pointAliasList.count(), 4);
    ptAliasRec alias;
    pointAliasList.getAt(1, alias);
    EXPECT_EQ(fixedText(alias.alias), "Q1");
    EXPECT_EQ(fixedText(alias.pointName), "8");
    const std::vector<rawRec> all = records();
    ASSERT_EQ(all.size(), 6u) << "a refused alias of a coordinate record keeps the record";
    EXPECT_EQ(fixedText(all[1].description), "") << "an alias leaves the description empty";
    EXPECT_EQ(fixedText(all[2].code), "CP");
    EXPECT_EQ(fixedText(all[2].description), "");
    const std::string err = errText();
    EXPECT_NE(err.find("Found the alias: SAME but no point name\r\n\r\n"), std::string::npos);
    EXPECT_NE(err.find("Invalid Point alias: X1 cannot be alias for two points: 9 & 7\r\n\r\n"),
              std::string::npos);
}

TEST(RawFileDispatch, AnRw5NameSendsTheWholeListToTheRw5Reader) {
    testsupport::ProjectVarsGuard guard;
    EXPECT_TRUE(listNamesRw5File("a.vkr\nb.rw5\n"));
    EXPECT_TRUE(listNamesRw5File("B.RW5"));
    EXPECT_FALSE(listNamesRw5File("a.vkr\nrw5.vkr\n"));
    // Both files hold .RW5 records: the .VKR name is read by the .RW5 reader
    // too, and a list without a last "\n" is read whole.
    testsupport::TempFolder folder("dispatch");
    testsupport::writeBytes(folder / "a.vkr", "EL,PNA,EL1.0\n");
    testsupport::writeBytes(folder / "b.rw5", "EL,PNB,EL2.0\n");
    resetProgramLists();
    EXPECT_EQ(readRawFiles((folder / "a.vkr").string() + "\n" + (folder / "b.rw5").string()), 0);
    EXPECT_EQ(rawDataList.count(), 2);
    resetProgramLists();
}

// Fields the reader once took in part: a blank inside a standard error left
// ".5" unread; minutes of 72 are no dd.mmss minutes, while the same digits
// are a grads reading in a project that measures in grads. A record with
// none of its fields is refused too.
TEST_F(VkrReader, FieldsAreCheckedWholeAndAnglesInTheProjectsUnit) {
    const std::string zenith72 = obs('1', "", "", "", "1.6", "92.25023", "30.816", "89.7200", "P9");
    const struct {
        int angleType;
        std::string record;
        const char* why; // nullptr: read
    } rows[] = {
        {0, "6SE PE:1 .5 VR:3", "The standard error PE \"1 .5\" is not a number."},
        {0, "6SE PE:1,5 VR:3", "The standard error PE \"1,5\" is not a number."},
        {0, zenith72,
         "The zenith \"89.7200\" is not a dd.mmss angle: its minutes or seconds are 60 or more."},
        {1, zenith72, nullptr},
        {0, "6DR A-B 45.7500",
         "The azimuth \"45.7500\" is not a dd.mmss angle: its minutes or seconds are 60 or more."},
        {0, "6E LONGNAME001 10.0", "The point name \"LONGNAME001\" is longer than 10 characters."},
        {0, "6E P2 10.0 12.0", "The record has 3 fields; it needs 2."},
        // Of their code alone, a control, elevation or azimuth record was
        // passed over and its point or azimuth lost.
        {0, "6C", "The point name is missing."},
        {0, "6E   ", "The point name is missing."},
        {0, "6DR", "The from point is missing."},
        {0, "6C 'CP,control", "The record has 0 fields; it needs 3 to 4."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.record);
        resetProgramLists();
        shell.boxes.clear();
        projectVars.angleType = row.angleType;
        const int result = read({"6E P1 1.0", row.record});
        if (row.why == nullptr) {
            EXPECT_EQ(result, vkrReadOk);
            continue;
        }
        ASSERT_EQ(result, vkrReadFailed);
        ASSERT_EQ(shell.boxes.size(), 1u);
        EXPECT_EQ(shell.boxes[0].text, "Error parsing raw record:\n" + row.record + "\nIn " +
                                           (folder / "net.vkr").string() + ", line 3.\n" + row.why);
    }
}
