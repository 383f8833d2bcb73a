// Blunder detection by preprocessing, run from the command line on the
// example: a planted blunder is listed against the preliminary coordinates,
// the points lying close together are reported, and nothing but the error
// report is written.

#include "site_copy_run.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace {

struct CheckRun {
    int status = -1;
    std::string errors;
    testsupport::TempFolder folder{"blunder-check"};
};

std::string exampleRaw() {
    return testsupport::readBytes(sitecopy::exampleFile("site.vkr"));
}

// The example's raw data with `from` replaced by `to` wherever it stands.
std::string changed(std::string raw, const std::string& from, const std::string& to) {
    for (std::size_t at = raw.find(from); at != std::string::npos; at = raw.find(from, at))
        raw.replace(at, from.size(), to), at += to.size();
    return raw;
}

void check(CheckRun& run, const std::string& raw, const std::string& options) {
    run.status = sitecopy::run(run.folder, sitecopy::exampleSettings(), raw, options);
    run.errors = testsupport::readBytes(run.folder / "site.ERR");
}

// The lines of the listing that name an observation.
std::vector<std::string> listedObservations(const std::string& errors) {
    std::vector<std::string> listed;
    for (const std::string& line : sitecopy::lines(errors))
        if (line.starts_with("Distance:") || line.starts_with("Angle:") ||
            line.starts_with("Azimuth:"))
            listed.push_back(line);
    return listed;
}

TEST(BlunderCheckRun, TheCleanExampleListsNothing) {
    CheckRun run;
    check(run, exampleRaw(), "--blunder=check:0.1");
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_NE(run.errors.find("PREPROCESSING & K-MATRIX ANALYSIS"), std::string::npos);
    EXPECT_NE(run.errors.find("\r\nK-Matrix Analysis.\r\n"), std::string::npos) << run.errors;
    EXPECT_NE(run.errors.find("\r\nPoint Proximity Report:\r\n"), std::string::npos);
    EXPECT_TRUE(listedObservations(run.errors).empty()) << run.errors;
    EXPECT_NE(run.errors.find("\r\nChecking raw data syntax and angle & distance spreads.\r\n\r\n"),
              std::string::npos)
        << run.errors;
    // Only the error report is written.
    EXPECT_FALSE(std::filesystem::exists(run.folder / "site.RPT"));
    EXPECT_FALSE(std::filesystem::exists(run.folder / "site.NEZ"));
}

TEST(BlunderCheckRun, APlantedDistanceBlunderIsListed) {
    CheckRun run;
    // D to A measured 10 m long in both faces at the setup on D.
    check(run, changed(exampleRaw(), "7.31129   241.858", "7.31129   251.858"),
          "--blunder=check:0.1");
    ASSERT_EQ(run.status, 0) << run.errors;
    const std::vector<std::string> listed = listedObservations(run.errors);
    ASSERT_FALSE(listed.empty()) << run.errors;
    // Every listed observation touches the line A-D: through D's preliminary
    // position, or the line itself.
    for (const std::string& line : listed)
        EXPECT_NE(line.find(" D"), std::string::npos) << line;
}

TEST(BlunderCheckRun, PointsCloserThanTheProximityAreReported) {
    CheckRun run;
    // E, weighted control 0.05 north of A; F 0.07 north of B.
    const std::string extra = "6SE X:0.01 Y:0.01 Z:0.01\n"
                              "6C E 1000.050 1000.000 50.000 'CP,control E\n"
                              "6C F 1180.320 1245.800 52.340 'CP,control F\n";
    std::string raw = exampleRaw();
    const std::size_t firstSetup = raw.find("\n1A");
    raw.insert(firstSetup + 1, extra);
    check(run, raw, "--blunder=check:0.06");
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_NE(run.errors.find("  Points  E  and A are within     0.050 of each other.\r\n"),
              std::string::npos)
        << run.errors;
    EXPECT_EQ(run.errors.find("  Points  F "), std::string::npos) << run.errors;
}

TEST(BlunderCheckRun, WithoutRedundancyTheProximityReportIsStillWritten) {
    CheckRun run;
    // Only the setup on A: D by its distance and angle from A and B, the
    // sights to B without distances; as many observations as unknowns.
    std::string raw = exampleRaw();
    raw = raw.substr(0, raw.find("\n1B") + 1);
    raw = changed(changed(raw, "294.09503   304.817", "294.09503          "), "114.09503   304.817",
                  "114.09503          ");
    globalVars settings = sitecopy::exampleSettings();
    settings.includeClosure = 0;
    run.status = sitecopy::run(run.folder, settings, raw, "--blunder=check:0.1");
    run.errors = testsupport::readBytes(run.folder / "site.ERR");
    ASSERT_EQ(run.status, 0) << run.errors;
    const std::string console = testsupport::readBytes(run.folder / "console.txt");
    EXPECT_NE(console.find("Zero Degrees of freedom. No horizontal\nadjustment performed.\nOnly "
                           "sideshots reduced."),
              std::string::npos)
        << console;
    EXPECT_EQ(run.errors.find("K-Matrix Analysis."), std::string::npos);
    EXPECT_NE(run.errors.find("\r\nPoint Proximity Report:\r\n"), std::string::npos);
}

// With A the only control and no azimuth nothing can be placed: the check
// heads its list as its own and names every point it could not place, not
// only the instrument and backsight points the adjustment would name.
TEST(BlunderCheckRun, PointsThatCannotBePlacedAreAllNamed) {
    CheckRun run;
    std::string raw = exampleRaw();
    const std::size_t controlB = raw.find("6C B");
    raw.erase(controlB, raw.find('\n', controlB) + 1 - controlB);
    check(run, raw, "--blunder=check:0.1");
    EXPECT_EQ(run.status, 1);
    const std::vector<std::string> lines = sitecopy::lines(run.errors);
    const auto heading =
        std::find(lines.begin(), lines.end(), "Error computing initial NEZ estimates for points:");
    ASSERT_NE(heading, lines.end()) << run.errors;
    ASSERT_NE(heading + 1, lines.end());
    // In the point list's order, each name after a blank.
    std::vector<std::string> named;
    std::istringstream names(*(heading + 1));
    for (std::string name; names >> name;)
        named.push_back(name);
    std::sort(named.begin(), named.end());
    EXPECT_EQ(named, (std::vector<std::string>{"B", "C", "D"})) << run.errors;
}

// The check tells a raw file it cannot read in its own words: a file that
// cannot be opened, and a record it cannot parse by its number (the header
// line is none), followed by the record and an empty line.
TEST(BlunderCheckRun, UnreadableRawDataIsToldInTheChecksOwnWords) {
    CheckRun run;
    const std::string damagedLine = "1B             1.480 A             1.600   45.00000   30#.816";
    std::string raw = exampleRaw();
    const std::size_t at = raw.find("1B             1.480 A");
    ASSERT_NE(at, std::string::npos);
    raw.replace(at, damagedLine.size(), damagedLine);
    const long recordNumber = std::count(raw.begin(), raw.begin() + at, '\n');
    check(run, raw, "--blunder=check:0.1");
    EXPECT_EQ(run.status, 1);
    const std::string heading = "Error parsing raw record: " + std::to_string(recordNumber);
    const std::vector<std::string> lines = sitecopy::lines(run.errors);
    const auto told = std::find(lines.begin(), lines.end(), heading);
    ASSERT_NE(told, lines.end()) << run.errors;
    ASSERT_GE(lines.end() - told, 5);
    EXPECT_EQ(told[1].substr(0, damagedLine.size()), damagedLine);
    EXPECT_EQ(told[2], "In " + (run.folder / "site.vkr").string() + ", line " +
                           std::to_string(recordNumber + 1) + ".");
    EXPECT_EQ(told[4], "") << run.errors;

    CheckRun missing;
    globalVars settings = sitecopy::exampleSettings();
    settings.pInputFileName = "gone.vkr\n";
    missing.status = sitecopy::run(missing.folder, settings, exampleRaw(), "--blunder=check:0.1");
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(testsupport::readBytes(missing.folder / "site.ERR")
                  .find("Error opening raw data file: " + (missing.folder / "gone.vkr").string() +
                        ": No such file or directory"),
              std::string::npos)
        << testsupport::readBytes(missing.folder / "site.ERR");
}

TEST(BlunderCheckRun, AnErrorReportThatCannotBeOpenedIsNamed) {
    CheckRun run;
    // A folder, not empty, where the error report would go.
    std::filesystem::create_directory(run.folder / "site.ERR");
    testsupport::writeBytes(run.folder / "site.ERR" / "kept", "x");
    check(run, exampleRaw(), "--blunder=check:0.1");
    EXPECT_EQ(run.status, 1);
    const std::string console = testsupport::readBytes(run.folder / "console.txt");
    EXPECT_NE(console.find("error opening " + (run.folder / "site.ERR").string()),
              std::string::npos)
        << console;
}

TEST(BlunderCheckRun, ABadProximityIsAUsageError) {
    CheckRun run;
    check(run, exampleRaw(), "--blunder=check:near");
    EXPECT_EQ(run.status, 3);
}

} // namespace
