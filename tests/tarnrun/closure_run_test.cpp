// The example project's closures through tarnrun, in an adjustment and in
// preprocessing: the loop D,A,B,C,D,A with angle and vertical closure and
// the point-to-point traverse A,B,C,D,A between the fixed points A and B.
// The observations are true values rounded to 1 mm and 0.1": the four angles
// add up to 1080 deg exactly, and carried round the loop from A (Python,
// horizontal distances s sin z meaned over both ends) they miss A by
// dN -0.00017, dE -0.00025, 0.0003 m in all: below what three decimals
// show, so the closures are exact at the report's precision.

#include "site_copy_run.hpp"
#include "support/report_text.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

void copyExample(const testsupport::TempFolder& folder) {
    for (const char* name : {"site.prj", "site.vkr", "site.cls"})
        fs::copy_file(sitecopy::exampleFile(name), folder / name);
}

bool holds(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

std::ptrdiff_t countOf(const std::vector<std::string>& lines, const std::string& line) {
    return std::count(lines.begin(), lines.end(), line);
}

} // namespace

TEST(ClosureRun, TheExampleListsBothClosuresInTheReportAndTheErrorReport) {
    for (const std::string options : {"", "--preprocess"}) {
        SCOPED_TRACE("options: " + options);
        testsupport::TempFolder folder("cls-run");
        copyExample(folder);
        EXPECT_EQ(tarnruntest::runQuiet(folder / "site.prj", folder / "console.txt", options), 0);
        for (const char* file : {"site.RPT", "site.ERR"}) {
            SCOPED_TRACE(file);
            const auto lines = sitecopy::lines(testsupport::readBytes(folder / file));
            EXPECT_TRUE(holds(lines, "Traverse Closures"));
            EXPECT_TRUE(holds(lines, "D,A,B,C,D,A"));
            EXPECT_TRUE(holds(lines, "A,B,C,D,A"));
            EXPECT_TRUE(holds(lines, "Traverse starting and ending on different points;"));
            EXPECT_TRUE(holds(lines, " D          A          B              294-09'50.3\"      "
                                     "304.808       2.340"));
            EXPECT_TRUE(holds(lines, "Total angular error:      000-00'00.0\" "));
            EXPECT_TRUE(holds(lines, "Elevation Error:             -0.000"));
            // The loop before and after balancing, and the point-to-point traverse.
            EXPECT_EQ(countOf(lines, "Distance Traversed:  1049.922 Closure: 1:Exact"), 2);
            EXPECT_EQ(countOf(lines, "Correct Ending Coordinates, North:  1000.000 East:  "
                                     "1000.000"),
                      3);
        }
        const std::string console = testsupport::readBytes(folder / "console.txt");
        // No message box was raised about the closures.
        EXPECT_EQ(console.find("closure"), std::string::npos) << console;
    }
}

// The closures the project asks for cannot be computed: like any file the
// project names, a missing closure file stops the run.
TEST(ClosureRun, AClosureFileThatIsNotThereStopsTheRun) {
    testsupport::TempFolder folder("cls-missing");
    copyExample(folder);
    fs::remove(folder / "site.cls");
    EXPECT_EQ(tarnruntest::runQuiet(folder / "site.prj", folder / "console.txt"), 1);
    const std::string err = testsupport::readBytes(folder / "site.ERR");
    EXPECT_NE(err.find("Error opening traverse closure file: " + (folder / "site.cls").string() +
                       ": No such file or directory\r\n"),
              std::string::npos)
        << err;
    EXPECT_FALSE(fs::exists(folder / "site.cls"));
}

// A closure file whose lines end in a lone CR lists the same closures: it
// was read as one line, which made one empty closure, and the run ended
// well without them.
TEST(ClosureRun, LinesEndingInALoneCrListTheSameClosures) {
    testsupport::TempFolder folder("cls-run-cr");
    copyExample(folder);
    testsupport::writeBytes(
        folder / "site.cls",
        testsupport::replaceAll(testsupport::readBytes(folder / "site.cls"), "\r\n", "\r"));
    EXPECT_EQ(tarnruntest::runQuiet(folder / "site.prj", folder / "console.txt"), 0);
    const auto lines = sitecopy::lines(testsupport::readBytes(folder / "site.RPT"));
    EXPECT_TRUE(holds(lines, "D,A,B,C,D,A"));
    EXPECT_TRUE(holds(lines, "A,B,C,D,A"));
    EXPECT_EQ(countOf(lines, "Distance Traversed:  1049.922 Closure: 1:Exact"), 2);
}
