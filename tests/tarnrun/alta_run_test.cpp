// The example adjusted with the ALTA tolerance report on: the run reaches
// its end, the report lists the named connection and, for the all-
// connections test, every failing connection once, largest ratio first.

#include "site_copy_run.hpp"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

struct AltaRun {
    int status = -1;
    std::vector<std::string> report;
};

AltaRun runWithAlta(double tolerance, const std::string& altFile, int ppm = 0) {
    testsupport::TempFolder folder("alta-run");
    globalVars settings = sitecopy::exampleSettings();
    settings.relativeErrFileOn = 1;
    settings.ALTARptOn = 1;
    settings.altaTolerance = tolerance;
    settings.altaPPM = ppm;
    // Named relative to the project's folder.
    settings.relativeErrFileNm = "site.alt";
    testsupport::writeBytes(folder / "site.alt", altFile);
    AltaRun run;
    run.status =
        sitecopy::run(folder, settings, testsupport::readBytes(sitecopy::exampleFile("site.vkr")));
    run.report = sitecopy::lines(testsupport::readBytes(folder / "site.RPT"));
    return run;
}

std::vector<std::string> linesStartingWith(const std::vector<std::string>& lines,
                                           const std::string& start) {
    std::vector<std::string> found;
    std::copy_if(lines.begin(), lines.end(), std::back_inserter(found),
                 [&](const std::string& l) { return l.starts_with(start); });
    return found;
}

TEST(AltaRun, TheReportListsTheConnectionsAndTheRunReachesItsEnd) {
    // A tolerance of 0.1 um: every connection between adjusted points fails.
    const AltaRun run = runWithAlta(1e-7, "REL_ERR_PAIRS C-D\r\nREL_ERR_ALL A,C,D,c\r\n");
    ASSERT_EQ(run.status, 0);
    const auto heading =
        std::find(run.report.begin(), run.report.end(), "Relative Error and ALTA Tolerances");
    ASSERT_NE(heading, run.report.end());
    // The ALTA section runs up to the adjusted observations.
    const std::vector<std::string> r(heading,
                                     std::find(heading, run.report.end(), "Adjusted Observations"));
    EXPECT_NE(std::find(r.begin(), r.end(),
                        "Alta Tolerance Report ,Specific Connections, 95% Confidence Interval"),
              r.end());
    // C-D is listed twice: as the named pair and once among all connections
    // (C named twice by case does not list it again); A-C and A-D as well.
    EXPECT_EQ(linesStartingWith(r, " C          D  ").size(), 2u);
    EXPECT_EQ(linesStartingWith(r, " A          C  ").size(), 1u);
    EXPECT_EQ(linesStartingWith(r, " A          D  ").size(), 1u);
    // The listings after the ALTA report are written.
    EXPECT_NE(std::find(heading, run.report.end(), "Statistics"), run.report.end());
}

TEST(AltaRun, AGenerousToleranceLetsEveryConnectionPass) {
    const AltaRun run = runWithAlta(10.0, "REL_ERR_ALL A,B,C,D\r\n");
    ASSERT_EQ(run.status, 0);
    EXPECT_NE(std::find(run.report.begin(), run.report.end(),
                        " All connection combinations passed the tolerance test"),
              run.report.end());
}

// A zero tolerance with no ppm allows nothing: every connection between
// adjusted points fails, and its ratio is a word, not "inf" or "nan".
TEST(AltaRun, AZeroToleranceFailsEveryConnectionWithAWordForItsRatio) {
    const AltaRun run = runWithAlta(0.0, "REL_ERR_PAIRS C-D\r\nREL_ERR_ALL A,C,D\r\n", 0);
    ASSERT_EQ(run.status, 0);
    const auto heading =
        std::find(run.report.begin(), run.report.end(), "Relative Error and ALTA Tolerances");
    ASSERT_NE(heading, run.report.end());
    const std::vector<std::string> section(
        heading, std::find(heading, run.report.end(), "Adjusted Observations"));
    const std::vector<std::string> rows = linesStartingWith(section, " C          D  ");
    ASSERT_EQ(rows.size(), 2u);
    for (const std::string& line : section) {
        EXPECT_EQ(line.find("nan"), std::string::npos) << line;
        EXPECT_EQ(line.find("inf "), std::string::npos) << line;
    }
    for (const std::string& row : rows)
        EXPECT_NE(row.find("infinite"), std::string::npos) << row;
}

} // namespace
