// The example project run from .RW5 raw data (fixtures/input/rw5/site.rw5,
// the example's traverse written as .RW5 records by hand): the same report
// as from the numeric file; with one control point the first backsight's
// azimuth orients the traverse; with none the first setup is assumed.

#include "support/report_text.hpp"
#include "support/temp_folder.hpp"
#include "tarnrun_command.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

std::string exampleFile(const std::string& name) {
    return std::string(TARNWELL_FIXTURES) + "/../../examples/site/" + name;
}

std::string siteRw5() {
    return testsupport::readBytes(std::string(TARNWELL_FIXTURES) + "/input/rw5/site.rw5");
}

// The example's project naming `rawFile` and that raw file, in `folder`;
// tarnrun's exit status.
int runProject(const testsupport::TempFolder& folder, const std::string& rawFile,
               const std::string& rawText) {
    std::string project = testsupport::readBytes(exampleFile("site.prj"));
    project = testsupport::replaceAll(project, "site.vkr", rawFile);
    testsupport::writeBytes(folder / "site.prj", project);
    testsupport::writeBytes(folder / rawFile, rawText);
    testsupport::writeBytes(folder / "site.cls", testsupport::readBytes(exampleFile("site.cls")));
    return tarnruntest::runQuiet(folder / "site.prj", folder / "console.txt");
}

// The report without its date line, its folder and the raw file's name.
std::string normalised(const testsupport::TempFolder& folder, const std::string& rawFile) {
    std::string text = testsupport::maskRunDateLine(testsupport::readBytes(folder / "site.RPT"));
    for (const std::string& part : {folder.path().string(), rawFile})
        text = testsupport::replaceAll(text, part, "<raw>");
    return text;
}

// A run past the preliminary coordinates reaches the adjusted listing.
const std::string pastPreliminaryCoordinates = "\r\nAdjusted Coordinates\r\n";

} // namespace

TEST(Rw5Run, SameReportAsTheNumericExample) {
    testsupport::TempFolder numeric("rw5-run-vkr");
    testsupport::TempFolder rw5("rw5-run-rw5");
    runProject(numeric, "site.vkr", testsupport::readBytes(exampleFile("site.vkr")));
    runProject(rw5, "site.rw5", siteRw5());
    const std::string report = normalised(rw5, "site.rw5");
    EXPECT_NE(report.find("Unadjusted Observations"), std::string::npos) << report;
    EXPECT_EQ(report, normalised(numeric, "site.vkr"));
}

TEST(Rw5Run, OneControlPointTakesTheFirstBacksightAzimuth) {
    testsupport::TempFolder folder("rw5-run-one-control");
    std::string raw = siteRw5();
    const std::size_t b = raw.find("SP,PNB");
    raw.erase(b, raw.find('\n', b) + 1 - b);
    // Azimuth A to D: atan2(210.33, -119.4) = 119.582683 deg = 119 34'57.7".
    raw.replace(raw.find("BK,OPA,BPD,BS,"), 14, "BK,OPA,BPD,BS119.34577,");
    runProject(folder, "site.rw5", raw);
    const std::string err = testsupport::readBytes(folder / "site.ERR");
    EXPECT_NE(err.find("\r\nInitial azimuth from first BK record in .RW5 file.\r\n"),
              std::string::npos)
        << err;
    EXPECT_EQ(err.find("could not be computed"), std::string::npos) << err;
    const std::string report = testsupport::readBytes(folder / "site.RPT");
    EXPECT_NE(report.find(pastPreliminaryCoordinates), std::string::npos) << report;
}

TEST(Rw5Run, WithoutControlTheFirstSetupStartsTheNetwork) {
    testsupport::TempFolder folder("rw5-run-no-control");
    // Without its control-error and stored-point records.
    const std::string site = siteRw5();
    std::string raw;
    for (std::size_t at = 0, end; at < site.size(); at = end + 1) {
        end = site.find('\n', at);
        const std::string line = site.substr(at, end - at);
        if (line.rfind("SP,", 0) != 0 && line.rfind("CSE,", 0) != 0)
            raw += line + "\n";
    }
    runProject(folder, "site.rw5", raw);
    const std::string err = testsupport::readBytes(folder / "site.ERR");
    EXPECT_EQ(err.find("No control points found"), std::string::npos) << err;
    const std::string report = testsupport::readBytes(folder / "site.RPT");
    EXPECT_NE(report.find(pastPreliminaryCoordinates), std::string::npos) << report;
}

// Two points whose names agree in their first 10 characters were one point
// with averaged observations, and the run ended well: a name longer than the
// lists hold now stops the run, and the error report names the file, the
// line and the name.
TEST(Rw5Run, LongNamesThatWouldMergeStopTheRun) {
    testsupport::TempFolder folder("rw5-run-long-names");
    std::string raw = siteRw5();
    const std::size_t first = raw.find("FPC,");
    ASSERT_NE(first, std::string::npos);
    raw.replace(first, 4, "FPLONGNAME001,");
    const std::size_t second = raw.find("FPC,", first);
    ASSERT_NE(second, std::string::npos);
    raw.replace(second, 4, "FPLONGNAME002,");
    EXPECT_EQ(runProject(folder, "site.rw5", raw), 1);
    const std::string err = testsupport::readBytes(folder / "site.ERR");
    EXPECT_NE(err.find("\r\n  File: " + (folder / "site.rw5").string() +
                       ", line 13\r\nThe foresight point \"LONGNAME001\" is longer than 10 "
                       "characters.\r\n"),
              std::string::npos)
        << err;
}
