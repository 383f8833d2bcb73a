// The example project's traverse run through tarnrun the way a surveyor runs
// it, on copies in temporary folders: preprocessing alone, the adjustment
// with its report and ellipse files, the blunder modes, a run without
// control, and the same traverse read from .RW5 records.
//
// The example's true coordinates (examples/site/README.md): A 1000.000 /
// 1000.000 and B 1180.250 / 1245.800 fixed, C 1050.420 / 1430.150, D 880.600 /
// 1210.330 (northing / easting). The copies print coordinates to six
// decimals (coordPrec=6) so that the checks are not limited by the listing.

#include "tarnrun_command.hpp"
#include "platform/c_locale_text.hpp"
#include "support/report_text.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int exitCompleted = 0;
constexpr int exitStopped = 1;

std::string exampleFile(const std::string& name) {
    return std::string(TARNWELL_FIXTURES) + "/../../examples/site/" + name;
}

std::string siteRw5() {
    return testsupport::readBytes(std::string(TARNWELL_FIXTURES) + "/input/rw5/site.rw5");
}

// The example's project, printing six decimals and naming `rawFile`, with
// that raw file and the example's closure file, in `folder`.
void writeProject(const testsupport::TempFolder& folder, const std::string& rawFile,
                  const std::string& rawText) {
    std::string project = testsupport::readBytes(exampleFile("site.prj"));
    project = testsupport::replaceAll(project, "site.vkr", rawFile);
    project = testsupport::replaceAll(project, "coordPrec=3", "coordPrec=6");
    testsupport::writeBytes(folder / "site.prj", project);
    testsupport::writeBytes(folder / rawFile, rawText);
    std::filesystem::copy_file(exampleFile("site.cls"), folder / "site.cls");
}

// tarnrun on the project in `folder` with `options` before the project;
// its exit status.
int runTarnrun(const testsupport::TempFolder& folder, const std::string& options = "") {
    return tarnruntest::runQuiet(folder / "site.prj", folder / "console.txt", options);
}

std::string withoutCarriageReturns(std::string text) {
    std::erase(text, '\r');
    return text;
}

std::string fileText(const testsupport::TempFolder& folder, const std::string& name) {
    return withoutCarriageReturns(testsupport::readBytes(folder / name));
}

// The lines of `text` from the line `caption` up to the next empty line.
std::string sectionOf(const std::string& text, const std::string& caption) {
    const std::size_t start = text.find("\n" + caption + "\n");
    if (start == std::string::npos)
        return "";
    const std::size_t end = text.find("\n\n", start + 1);
    return text.substr(start + 1, end == std::string::npos ? std::string::npos : end - start);
}

struct NorthEast {
    double north = NAN, east = NAN;
};

// The first line of `text` that starts with " <name> " or "<name> " (the
// report's and the .OUT's point lines), read for the numbers at the given
// field positions (blank separated, the name being field 0).
NorthEast pointLine(const std::string& text, const std::string& name, int northField,
                    int eastField) {
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        std::vector<std::string> words;
        for (std::string word; fields >> word;)
            words.push_back(word);
        if (words.size() > static_cast<std::size_t>(std::max(northField, eastField)) &&
            words[0] == name)
            return {platform::atofC(words[northField]), platform::atofC(words[eastField])};
    }
    return {};
}

NorthEast adjustedPoint(const std::string& report, const std::string& name) {
    return pointLine(sectionOf(report, "Adjusted Local Coordinates"), name, 1, 2);
}

// The name, northing, easting and elevation fields of each .NEZ line.
std::string namesAndCoordinates(const std::string& nez) {
    std::istringstream lines(nez);
    std::string kept;
    for (std::string line; std::getline(lines, line);) {
        std::size_t end = 0;
        for (int field = 0; field < 4 && end != std::string::npos; ++field)
            end = line.find(',', end + 1);
        kept += line.substr(0, end) + "\n";
    }
    return kept;
}

double degrees(double d, double m, double s) {
    return (d + m / 60.0 + s / 3600.0) * std::numbers::pi / 180.0;
}

// Horizontal distance of a sight from its slope distance and zenith angle.
double horizontal(double slope, double zenith) {
    return std::abs(slope * std::sin(zenith));
}

// One control point taken out of the .RW5 traverse, the first backsight's
// azimuth given instead: azimuth A to D = atan2(210.33, -119.4) =
// 119.582683 deg = 119 34'57.7".
std::string rw5WithOneControlPoint() {
    std::string raw = siteRw5();
    const std::size_t b = raw.find("SP,PNB");
    raw.erase(b, raw.find('\n', b) + 1 - b);
    raw.replace(raw.find("BK,OPA,BPD,BS,"), 14, "BK,OPA,BPD,BS119.34577,");
    return raw;
}

// The data are the truth rounded to 1 mm (slope distances) and 0.1" (angle
// readings): a distance is off by at most 0.5 mm, an angle by at most 0.1"
// (0.15 mm across the longest line, 305 m). The adjustment spreads these
// over the eight observations; 1 mm bounds what it can leave in C and D
// (the deviations are in fact below 0.45 mm).
constexpr double roundingOfTheData = 0.001;

void expectNearTheTruth(const std::string& report) {
    struct Truth {
        const char* name;
        double north, east;
    };
    for (const Truth& t : {Truth{"C", 1050.420, 1430.150}, Truth{"D", 880.600, 1210.330}}) {
        SCOPED_TRACE(t.name);
        const NorthEast p = adjustedPoint(report, t.name);
        EXPECT_NEAR(p.north, t.north, roundingOfTheData) << report;
        EXPECT_NEAR(p.east, t.east, roundingOfTheData);
    }
}

} // namespace

TEST(AdjustmentRun, PreprocessingWritesTheCoordinatesOfTheTraverse) {
    testsupport::TempFolder folder("preprocess");
    writeProject(folder, "site.vkr", testsupport::readBytes(exampleFile("site.vkr")));
    EXPECT_EQ(runTarnrun(folder, "--preprocess"), exitCompleted);
    const std::string out = fileText(folder, "site.OUT");
    EXPECT_NE(out.find("UNADJUSTED COORDINATES"), std::string::npos) << out;
    EXPECT_TRUE(fs::exists(folder / "site.NEZ"));
    EXPECT_EQ(sectionOf(fileText(folder, "site.RPT"), "Adjusted Coordinates"), "");

    // By hand: D is thrown from A along az(A, B) less the angle D-A-B,
    // C from B along az(B, A) plus the angle A-B-C; each distance is the
    // mean of the horizontal distances measured from its two ends (the two
    // faces agree).
    const double azAB = std::atan2(1245.800 - 1000.000, 1180.250 - 1000.000);
    const double azAD = azAB - degrees(294, 9, 50.3);
    const double dAD =
        (horizontal(241.858, degrees(90, 0, 42.6)) + horizontal(241.858, degrees(89, 56, 48.1))) /
        2;
    const double azBC = azAB + std::numbers::pi + degrees(251, 24, 31.6);
    const double dBC =
        (horizontal(225.482, degrees(90, 16, 46.3)) + horizontal(225.483, degrees(89, 40, 38.2))) /
        2;
    struct Expected {
        const char* name;
        double north, east;
    };
    // The .OUT prints six decimals: half a unit of the last one.
    const double printed = 0.5e-6 + 1e-9;
    for (const Expected& e :
         {Expected{"D", 1000.000 + dAD * std::cos(azAD), 1000.000 + dAD * std::sin(azAD)},
          Expected{"C", 1180.250 + dBC * std::cos(azBC), 1245.800 + dBC * std::sin(azBC)}}) {
        SCOPED_TRACE(e.name);
        const NorthEast p = pointLine(out, e.name, 2, 3);
        EXPECT_NEAR(p.north, e.north, printed) << out;
        EXPECT_NEAR(p.east, e.east, printed);
    }
}

TEST(AdjustmentRun, ReportHoldsTheAdjustedSectionsAndTheEllipseFilesAreWritten) {
    testsupport::TempFolder folder("adjust");
    testsupport::TempFolder tmp("adjust-tmp");
    writeProject(folder, "site.vkr", testsupport::readBytes(exampleFile("site.vkr")));
    EXPECT_EQ(runTarnrun(folder, "--tmp '" + tmp.path().string() + "'"), exitCompleted);
    const std::string report = fileText(folder, "site.RPT");
    for (const char* caption :
         {"Adjusted Coordinates", "Adjusted Local Coordinates",
          "Adjusted Coordinates Error Ellipses, 95% CI", "Adjusted Observations",
          "Adjusted Distances", "Adjusted Angles", "Statistics"}) {
        SCOPED_TRACE(caption);
        EXPECT_NE(report.find("\n" + std::string(caption) + "\n"), std::string::npos) << report;
    }
    EXPECT_NE(sectionOf(report, "Adjusted Distances").find("Residual"), std::string::npos);
    EXPECT_NE(sectionOf(report, "Adjusted Distances").find("Root Mean Square (RMS)"),
              std::string::npos);
    EXPECT_NE(sectionOf(report, "Adjusted Angles").find("Root Mean Square (RMS)"),
              std::string::npos);
    EXPECT_NE(report.find(" Degrees of freedom:4\n"), std::string::npos);
    EXPECT_NE(report.find("the Chi-Square test at the 95.00 significance level\n"),
              std::string::npos);
    expectNearTheTruth(report);

    const std::string eel = testsupport::readBytes(folder / "site.EEL");
    EXPECT_NE(eel.find("EE,PNC,"), std::string::npos) << eel;
    EXPECT_NE(eel.find("EE,PND,"), std::string::npos);
    EXPECT_EQ(testsupport::readBytes(tmp / "TARNWELL.EEL"), eel);
}

TEST(AdjustmentRun, BlunderModesWriteTheirErrorFileSections) {
    struct Row {
        const char* option;
        const char* note; // the closing note of the mode
        int listings;     // "Adjusted Observations" sections in the .ERR
    };
    const Row rows[] = {
        // Three best passes rerun with their listing, the floated row marked.
        {"--blunder=float:3", "with ** is the observation that floated.\n", 3},
        // Two passes: the listing of the pass before the last.
        {"--blunder=reweight:2", "largest residual and standard residual.\n\n", 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.option);
        testsupport::TempFolder folder("blunder");
        writeProject(folder, "site.vkr", testsupport::readBytes(exampleFile("site.vkr")));
        EXPECT_EQ(runTarnrun(folder, row.option), exitCompleted);
        const std::string err = fileText(folder, "site.ERR");
        EXPECT_NE(err.find(row.note), std::string::npos) << err;
        int listings = 0;
        for (std::size_t at = 0;
             (at = err.find("\nAdjusted Observations\n", at)) != std::string::npos; ++at)
            ++listings;
        EXPECT_EQ(listings, row.listings) << err;
    }
}

// A 0.1 m blunder planted in the line C-D (every sight of it lengthened):
// floating that line leaves a consistent network, so its pass has the
// smallest reference variance and is listed first, marked.
TEST(AdjustmentRun, FloatingFindsAPlantedDistanceBlunder) {
    testsupport::TempFolder folder("planted-blunder");
    std::string raw = testsupport::readBytes(exampleFile("site.vkr"));
    raw = testsupport::replaceAll(raw, "277.779", "277.879");
    raw = testsupport::replaceAll(raw, "277.780", "277.880");
    writeProject(folder, "site.vkr", raw);
    EXPECT_EQ(runTarnrun(folder, "--blunder=float:3"), exitCompleted);
    const std::string err = fileText(folder, "site.ERR");
    const std::size_t firstMark = err.find(" **\n");
    ASSERT_NE(firstMark, std::string::npos) << err;
    const std::size_t lineStart = err.rfind('\n', firstMark) + 1;
    const std::string marked = err.substr(lineStart, firstMark - lineStart);
    EXPECT_EQ(marked.rfind(" C             D ", 0), 0u) << marked;
}

// Without control the traverse cannot be placed: the run stops before the
// adjustment with the control advice and prints no adjusted numbers.
TEST(AdjustmentRun, WithoutControlTheRunStopsBeforeAdjusting) {
    testsupport::TempFolder folder("no-control");
    std::string raw;
    std::istringstream lines(testsupport::readBytes(exampleFile("site.vkr")));
    for (std::string line; std::getline(lines, line);)
        if (line.rfind("6", 0) != 0)
            raw += line + "\n";
    writeProject(folder, "site.vkr", raw);
    EXPECT_EQ(runTarnrun(folder), exitStopped);
    const std::string err = fileText(folder, "site.ERR");
    EXPECT_NE(err.find("\nNo control points found.\n"
                       "Either two control points, or one control point and an azimuth are "
                       "required.\n"),
              std::string::npos)
        << err;
    EXPECT_EQ(fileText(folder, "site.RPT").find("Adjusted"), std::string::npos);
    EXPECT_FALSE(fs::exists(folder / "site.OUT"));
    EXPECT_FALSE(fs::exists(folder / "site.EEL"));
}

TEST(AdjustmentRun, Rw5TraverseGivesTheSameAdjustedCoordinates) {
    testsupport::TempFolder numeric("same-vkr");
    testsupport::TempFolder rw5("same-rw5");
    writeProject(numeric, "site.vkr", testsupport::readBytes(exampleFile("site.vkr")));
    writeProject(rw5, "site.rw5", siteRw5());
    EXPECT_EQ(runTarnrun(numeric), exitCompleted);
    EXPECT_EQ(runTarnrun(rw5), exitCompleted);
    const std::string coordinates =
        sectionOf(fileText(rw5, "site.RPT"), "Adjusted Local Coordinates");
    EXPECT_NE(coordinates.find(" C "), std::string::npos) << coordinates;
    EXPECT_EQ(coordinates, sectionOf(fileText(numeric, "site.RPT"), "Adjusted Local Coordinates"));
    // The .RW5 records carry descriptions but no point codes.
    EXPECT_EQ(namesAndCoordinates(fileText(rw5, "site.NEZ")),
              namesAndCoordinates(fileText(numeric, "site.NEZ")));
}

TEST(AdjustmentRun, Rw5WithOneControlPointIsOrientedByTheFirstBacksightAndAdjusts) {
    testsupport::TempFolder folder("rw5-one-control");
    writeProject(folder, "site.rw5", rw5WithOneControlPoint());
    EXPECT_EQ(runTarnrun(folder), exitCompleted);
    EXPECT_NE(
        fileText(folder, "site.ERR").find("\nInitial azimuth from first BK record in .RW5 file.\n"),
        std::string::npos);
    const std::string report = fileText(folder, "site.RPT");
    // B is now adjusted too; the azimuth was written to 0.1" (0.15 mm at
    // 305 m), within the same bound as the rest of the data.
    expectNearTheTruth(report);
    const NorthEast b = adjustedPoint(report, "B");
    EXPECT_NEAR(b.north, 1180.250, roundingOfTheData) << report;
    EXPECT_NEAR(b.east, 1245.800, roundingOfTheData);
}
