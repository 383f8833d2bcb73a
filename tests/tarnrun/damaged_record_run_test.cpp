// The example run with one field of its raw file damaged the way a hand or a
// transfer damages it. Each slip once gave coordinates with exit status 0
// and nothing in the error report: a blank or a byte inside a number read as
// two numbers or as merged digits, a name cut to 10 characters, minutes of
// 75, a damaged setup or height record left out so the sights after it
// joined the wrong setup, a record whose code was damaged passed over as
// one the reader does not use, a vertical token of another prefix read as a
// vertical angle, an angle token of another prefix read as an angle right
// and a distance token of another as a slope distance, a control record of
// its code alone passed over. Now the run stops (exit status 1), names the file,
// the line and the field, and leaves the .NEZ and .OUT of the run before
// byte for byte as they were.

#include "damaged_field_run.hpp"
#include "site_copy_run.hpp"
#include "support/report_text.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <string>

namespace {

using damagedfield::Damage;
using damagedfield::exitConverged;
using damagedfield::exitStoppedEarly;

// How one raw format is run: the example's raw file in that format, and
// where its messages say a record stands.
struct RawFormat {
    const char* file;
    std::string (*raw)();
    int (*run)(const testsupport::TempFolder&, const std::string& raw);
    std::string (*where)(const testsupport::TempFolder&, int line);
};

int runVkr(const testsupport::TempFolder& folder, const std::string& raw) {
    return sitecopy::run(folder, sitecopy::exampleSettings(), raw);
}

std::string vkrWhere(const testsupport::TempFolder& folder, int line) {
    return "In " + (folder / "site.vkr").string() + ", line " + std::to_string(line) + ".";
}

std::string siteRw5() {
    return testsupport::readBytes(std::string(TARNWELL_FIXTURES) + "/input/rw5/site.rw5");
}

// The example's project with its traverse as .RW5 records.
int runRw5(const testsupport::TempFolder& folder, const std::string& raw) {
    std::string project = testsupport::readBytes(sitecopy::exampleFile("site.prj"));
    project = testsupport::replaceAll(project, "site.vkr", "site.rw5");
    testsupport::writeBytes(folder / "site.prj", project);
    testsupport::writeBytes(folder / "site.rw5", raw);
    testsupport::writeBytes(folder / "site.cls",
                            testsupport::readBytes(sitecopy::exampleFile("site.cls")));
    return tarnruntest::runQuiet(folder / "site.prj", folder / "console.txt");
}

std::string rw5Where(const testsupport::TempFolder& folder, int line) {
    return "  File: " + (folder / "site.rw5").string() + ", line " + std::to_string(line);
}

const RawFormat vkr{"site.vkr", sitecopy::exampleRaw, runVkr, vkrWhere};
const RawFormat rw5{"site.rw5", siteRw5, runRw5, rw5Where};

// Runs the undamaged file, then each damaged copy over its outputs. A raw
// file's messages set the field's sentence on a line of its own.
void expectEachDamageStopsTheRun(const RawFormat& format, const std::vector<Damage>& rows) {
    for (const Damage& row : rows) {
        SCOPED_TRACE(row.slip);
        const testsupport::TempFolder folder("damaged-record-run");
        const std::string good = format.raw();
        ASSERT_EQ(format.run(folder, good), exitConverged);
        const damagedfield::CoordinateFiles before = damagedfield::coordinateFiles(folder, "site");
        ASSERT_FALSE(before.nez.empty());

        const std::string err = damagedfield::expectStoppedKeeping(
            folder, "site", format.run(folder, damagedfield::damagedText(good, row)), before);
        const std::string console = testsupport::readBytes(folder / "console.txt");
        EXPECT_NE(err.find(format.where(folder, row.line) + "\r\n" + row.shown + "\r\n"),
                  std::string::npos)
            << err;
        EXPECT_NE(console.find(row.shown), std::string::npos) << console;
    }
}

const std::string notAnAngle = " is not a dd.mmss angle: its minutes or seconds are 60 or more.";
const std::string unknownRw5Code =
    " is no record type this program knows, so the file may be damaged; a record of a type it "
    "does not read can be taken out of the file.";

} // namespace

TEST(DamagedRecordRun, NumericRawFile) {
    expectEachDamageStopsTheRun(
        vkr, {
                 {"a blank inside a control easting", "6C B 1180.250 1245.800 52.340",
                  "6C B 1180.250 1245 800 52.340", 4, "The record has 5 fields; it needs 3 to 4."},
                 {"a blank inside an azimuth", "'CP,control B\r\n",
                  "'CP,control B\r\n3A-B 53 44480\r\n", 5, "The record has 3 fields; it needs 2."},
                 {"an azimuth record without its point pair", "'CP,control B\r\n",
                  "'CP,control B\r\n3AB 53.4448\r\n", 5, "The to point is missing."},
                 {"a NUL inside a distance", "   241.858  90.00426",
                  std::string("   24\0.858  90.00426", 20), 5,
                  "The distance \"24<NUL>.858\" is not a number."},
                 {"a tab inside a target height", "D             1.600", "D             1\t600", 5,
                  "The target height \"1<TAB>600\" is not a number."},
                 {"a foresight name of 11 characters", "B          CP  control B",
                  "LONGNAME001    control B", 6,
                  "The foresight point \"LONGNAME001\" is longer than 10 characters."},
                 {"minutes of 72 in a zenith", "304.817  89.32424", "304.817  89.72424", 6,
                  "The zenith \"89.72424\"" + notAnAngle},
                 {"an HI one column early", "1A             1.520 D", "1A         1.520     D", 5,
                  "The HI \"1.520\" runs past its columns 12 to 19."},
                 {"a damaged control record type", "6C B 1180.250", "xC B 1180.250", 4,
                  "The record code \"x\" names no record type of its file."},
                 {"a damaged control sub-record code", "6C B 1180.250", "6Q B 1180.250", 4,
                  "The record code \"6Q\" names no record type of its file."},
                 {"a damaged setup record type", "1A             1.520", "xA             1.520", 5,
                  "The record code \"x\" names no record type of its file."},
                 // A control or elevation record of its code alone was passed
                 // over: its point was lost without a word.
                 {"a control record of its code alone", "'CP,control B\r\n",
                  "'CP,control B\r\n6C\r\n", 5, "The point name is missing."},
                 {"an elevation record of its code alone", "'CP,control B\r\n",
                  "'CP,control B\r\n6E  \r\n", 5, "The point name is missing."},
                 {"an azimuth record of its code alone", "'CP,control B\r\n",
                  "'CP,control B\r\n6DR\r\n", 5, "The from point is missing."},
             });
}

TEST(DamagedRecordRun, Rw5RawFile) {
    expectEachDamageStopsTheRun(
        rw5,
        {
            {"a damaged setup circle", "BK,OPC,BPB,BS,BC120.30000", "BK,OPC,BPB,BS,BC120.3x000", 17,
             "The circle reading \"BC120.3x000\" is not a number."},
            {"a damaged HI", "LS,HI1.550", "LS,HI1.5x0", 16, "The HI \"HI1.5x0\" is not a number."},
            {"a damaged control easting", "E 1245.800", "E 1245.8x0", 3,
             "The easting \"E 1245.8x0\" is not a number."},
            {"a damaged first backsight sight", "BD,OPC,FPB,AR120.30000,ZE89.40382,SD225.483",
             "BD,OPC,FPB,AR120.30000,ZE89.40382,SD225.4x3", 18,
             "The distance \"SD225.4x3\" is not a number."},
            {"a decimal comma in a distance", "SD277.779,--iron pin\nFR,OPC",
             "SD277,779,--iron pin\nFR,OPC", 19, "The record has 7 fields; it needs 6."},
            {"minutes of 79 in an angle", "AR47.39252", "AR47.79252", 19,
             "The angle \"AR47.79252\"" + notAnAngle},
            {"a sideshot named with blanks", "SD277.780,--iron pin\n",
             "SD277.780,--iron pin\nSS,OPD,FP   ,AR10.00000,ZE90.00000,SD10.000\n", 28,
             "The foresight point is blank."},
            {"a slip in a zenith's prefix", "AR47.39252,ZE90.14511", "AR47.39252,QE90.14511", 19,
             "The vertical \"QE90.14511\" has a prefix its record does not know."},
            // An angle token of another prefix was read as its value, a
            // distance token of another first letter than H as slope.
            {"a slip in an angle's prefix", "AR47.39252,ZE90.14511", "QR47.39252,ZE90.14511", 19,
             "The angle \"QR47.39252\" has a prefix its record does not know."},
            {"a bearing without its quadrant", "AR47.39252,ZE90.14511", "BR47.39252,ZE90.14511", 19,
             "The bearing quadrant \"47\" is not NE, SE, SW or NW."},
            {"a slip in a distance's prefix", "ZE90.14511,SD277.779", "ZE90.14511,QD277.779", 19,
             "The distance \"QD277.779\" has a prefix its record does not know."},
            {"a damaged control record code", "SP,PNB", "QP,PNB", 3,
             "The record code \"QP\"" + unknownRw5Code},
            {"a damaged height record code", "LS,HI1.550", "QS,HI1.550", 16,
             "The record code \"QS\"" + unknownRw5Code},
            {"a damaged setup record code", "BK,OPC", "BQ,OPC", 17,
             "The record code \"BQ\"" + unknownRw5Code},
        });
}

// A line of megabytes without a line end was refused, and copied whole into
// the error report and onto the console: a record is quoted by its first
// 200 bytes and its length.
TEST(DamagedRecordRun, AnOverlongRecordIsQuotedAsAnExcerpt) {
    constexpr std::size_t length = 8 * 1024 * 1024;
    const struct {
        const RawFormat* format;
        std::string record;
    } rows[] = {
        {&vkr, "6C B 1180.250 " + std::string(length, '7')},
        {&rw5, "SS,OPD,FPA,AR10.00000,ZE90.00000,SD" + std::string(length, '7') + "x"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.format->file);
        const testsupport::TempFolder folder("overlong-record-run");
        EXPECT_EQ(row.format->run(folder, row.format->raw() + row.record), exitStoppedEarly);
        const std::string err = testsupport::readBytes(folder / "site.ERR");
        const std::string console = testsupport::readBytes(folder / "console.txt");
        EXPECT_LT(err.size(), 8000u);
        EXPECT_LT(console.size(), 8000u);
        const std::string bytes = "... (" + std::to_string(row.record.size()) + " bytes)";
        EXPECT_NE(err.find(row.record.substr(0, 200) + bytes), std::string::npos) << err;
        EXPECT_NE(console.find(bytes), std::string::npos) << console;
    }
}
