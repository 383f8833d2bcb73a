// Bad input that the project names: a run that cannot do what the project
// asks stops (exit 1) or fails (exit 2) with a message naming the file, and
// never crashes, reports success or lists numbers that are not numbers.

#include "site_copy_run.hpp"
#include "support/report_text.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace fs = std::filesystem;
using testsupport::readBytes;

namespace {

constexpr int exitConverged = 0;
constexpr int exitStopped = 1;
constexpr int exitAdjustmentFailed = 2;
constexpr int exitProjectRefused = 3;

fs::path badInput(const std::string& name) {
    return fs::path(TARNWELL_FIXTURES) / "run" / "bad_input" / name;
}

// The console and the error report of a run both hold `text`.
void expectTold(const testsupport::TempFolder& folder, const std::string& text) {
    const std::string console = readBytes(folder / "console.txt");
    EXPECT_NE(console.find(text), std::string::npos) << console;
    EXPECT_NE(readBytes(folder / "site.ERR").find(text), std::string::npos)
        << readBytes(folder / "site.ERR");
}

// The example with its level loop beside the traverse.
globalVars withLevelLoop(const testsupport::TempFolder& folder) {
    fs::copy_file(badInput("loop.lev"), folder / "loop.lev");
    globalVars settings = sitecopy::exampleSettings();
    settings.vertAdjust = 1;
    settings.includeLevData = 1;
    settings.pLevRawFileName = "loop.lev";
    settings.levelFileFmtType = 0;
    return settings;
}

} // namespace

// A name that leads to a folder, a device or nothing is refused with the
// system's reason, and the run stops.
TEST(BadInputRun, NamedFilesThatCannotBeReadStopTheRun) {
    struct Row {
        const char* what;
        void (*change)(globalVars&);
        const char* told; // after the folder's path and a separator
    };
    const Row rows[] = {
        {"a raw file that is a folder", [](globalVars& s) { s.pInputFileName = "sub\n"; },
         "sub: Is a directory"},
        {"a closure file that is not there",
         [](globalVars& s) {
             s.includeClosure = 1;
             s.pClosureFileName = "missing.cls";
         },
         "missing.cls: No such file or directory"},
        {"a closure file that is a folder",
         [](globalVars& s) {
             s.includeClosure = 1;
             s.pClosureFileName = "sub";
         },
         "sub: Is a directory"},
        {"a level file that is a folder",
         [](globalVars& s) {
             s.vertAdjust = 1;
             s.includeLevData = 1;
             s.pLevRawFileName = "sub";
         },
         "sub: Is a directory"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const testsupport::TempFolder folder("bad-input-names");
        fs::create_directory(folder / "sub");
        globalVars settings = sitecopy::exampleSettings();
        row.change(settings);
        EXPECT_EQ(sitecopy::run(folder, settings, sitecopy::exampleRaw()), exitStopped);
        expectTold(folder, (folder / row.told).string());
    }
    const testsupport::TempFolder folder("bad-input-device");
    globalVars settings = sitecopy::exampleSettings();
    settings.pInputFileName = "/dev/zero\n";
    EXPECT_EQ(sitecopy::run(folder, settings, sitecopy::exampleRaw()), exitStopped);
    expectTold(folder, "Error opening /dev/zero: not a regular file");
}

// A raw file is read by its own (last) extension; one that yields no record
// at all stops the run instead of adjusting nothing.
TEST(BadInputRun, ARawFileIsReadByItsOwnExtensionAndMustHoldRecords) {
    const testsupport::TempFolder folder("bad-input-extension");
    globalVars settings = sitecopy::exampleSettings();
    settings.pInputFileName = "job.rw5.vkr\n";
    testsupport::writeBytes(folder / "job.rw5.vkr", sitecopy::exampleRaw());
    EXPECT_EQ(sitecopy::run(folder, settings, sitecopy::exampleRaw()), exitConverged);
    EXPECT_EQ(sitecopy::readNez(folder / "site.NEZ").size(), 4u) << "A to D adjusted";

    const std::string header =
        sitecopy::exampleRaw().substr(0, sitecopy::exampleRaw().find('\n') + 1);
    settings.pInputFileName = "header.vkr\n";
    testsupport::writeBytes(folder / "header.vkr", header);
    EXPECT_EQ(sitecopy::run(folder, settings, sitecopy::exampleRaw()), exitStopped);
    expectTold(folder, "No raw data records in " + (folder / "header.vkr").string() +
                           ": none of its lines is a raw data record.");
}

// Level distances of 0 leave the height differences without a standard
// error: the vertical adjustment the project asks for cannot be made.
TEST(BadInputRun, AVerticalAdjustmentThatCannotBeMadeFailsTheRun) {
    const testsupport::TempFolder folder("bad-input-level-distance");
    globalVars settings = withLevelLoop(folder);
    settings.diffLevDistBSFS = 0.0;
    EXPECT_EQ(sitecopy::run(folder, settings, sitecopy::exampleRaw()), exitAdjustmentFailed);
    expectTold(folder, "Height difference BM1 to L1 has no standard error.");
}

// A standard error whose square is no ordinary number is refused where the
// project is read, with the range that is accepted, on the console and in
// the error report; nothing is run on another value than the project's.
TEST(BadInputRun, AStandardErrorBeyondTheRangeOfNumbersIsRefused) {
    const testsupport::TempFolder folder("bad-input-std-err");
    const globalVars settings = withLevelLoop(folder);
    ASSERT_EQ(settings.writeProjectFile((folder / "site.prj").string()), 1);
    const std::string text = testsupport::replaceAll(readBytes(folder / "site.prj"),
                                                     "\r\nstErrZ=", "\r\nstErrZ=1e-160\r\nx=");
    testsupport::writeBytes(folder / "site.prj", text);
    testsupport::writeBytes(folder / "site.vkr", sitecopy::exampleRaw());
    fs::copy_file(sitecopy::exampleFile("site.cls"), folder / "site.cls");
    EXPECT_EQ(tarnruntest::runQuiet(folder / "site.prj", folder / "console.txt"),
              exitProjectRefused);
    const std::string refusal =
        "stErrZ=1e-160 refused (a standard error is 0 or from 1e-100 to 1e+12)";
    EXPECT_NE(readBytes(folder / "console.txt").find(refusal), std::string::npos)
        << readBytes(folder / "console.txt");
    EXPECT_NE(readBytes(folder / "site.ERR").find(refusal), std::string::npos)
        << readBytes(folder / "site.ERR");
    EXPECT_FALSE(fs::exists(folder / "site.RPT"));
}

// A stop on a record names the file and the line the record came from.
TEST(BadInputRun, ADistanceFromAPointToItselfNamesItsRecord) {
    const testsupport::TempFolder folder("bad-input-self-distance");
    std::string raw = sitecopy::exampleRaw();
    // Line 14, the first foresight of setup C, aimed at C itself.
    const std::string foresight = "277.779  90.14511 D ";
    ASSERT_NE(raw.find(foresight), std::string::npos);
    raw.replace(raw.find(foresight), foresight.size(), "277.779  90.14511 C ");
    EXPECT_EQ(sitecopy::run(folder, sitecopy::exampleSettings(), raw), exitStopped);
    expectTold(folder, "Error processing distance; C to C\nFile: " +
                           (folder / "site.vkr").string() + ", line 14");
}

// Repeated ranges and names cost work by the distinct points, not by what
// the file repeats: these runs end as the example does.
TEST(BadInputRun, RepeatedRangesAndNamesAreTakenOnce) {
    const testsupport::TempFolder folder("bad-input-repeats");
    fs::copy_file(badInput("repeated_range.cls"), folder / "repeats.cls");
    fs::copy_file(badInput("repeated_names.alt"), folder / "repeats.alt");
    globalVars settings = sitecopy::exampleSettings();
    settings.includeClosure = 1;
    settings.pClosureFileName = "repeats.cls";
    settings.relativeErrFileOn = 1;
    settings.ALTARptOn = 1;
    settings.relativeErrFileNm = "repeats.alt";
    EXPECT_EQ(sitecopy::run(folder, settings, sitecopy::exampleRaw()), exitConverged);
    EXPECT_NE(readBytes(folder / "site.RPT").find("Alta Tolerance Report"), std::string::npos);
}
