// The example with a supplemental control file: its points the raw data
// uses become coordinate records of the run, with the file's standard
// errors; points nothing observes are left out.

#include "site_copy_run.hpp"

#include <gtest/gtest.h>

namespace {

struct SupplementalRun {
    int status = -1;
    std::string report;
    std::string errors;
};

SupplementalRun runWith(int format, const std::string& file) {
    testsupport::TempFolder folder("supp-run");
    globalVars settings = sitecopy::exampleSettings();
    settings.supplamentalNE = 1;
    settings.nezFileFmtType = format;
    // Named relative to the project's folder.
    settings.controlNEFileName = "control.nez";
    testsupport::writeBytes(folder / "control.nez", file);
    SupplementalRun run;
    run.status =
        sitecopy::run(folder, settings, testsupport::readBytes(sitecopy::exampleFile("site.vkr")));
    run.report = testsupport::readBytes(folder / "site.RPT");
    run.errors = testsupport::readBytes(folder / "site.ERR");
    return run;
}

TEST(SupplementalControlRun, TheFilesObservedPointsJoinTheRun) {
    // C as a text-format-5 point; ZZ is observed by nothing; the last line has no end.
    const SupplementalRun run = runWith(5, "ZZ 1 2 3 NONE X\nC,1050.420,1430.150,51.120,SUPPC,CP");
    ASSERT_EQ(run.status, 0) << run.errors;
    // The raw data's last standard errors (all fixed) are in force after it.
    EXPECT_NE(run.report.find(" C               1050.420      1430.150      FIXED     FIXED\r\n"),
              std::string::npos)
        << run.report;
    EXPECT_NE(run.report.find("    3 Fixed Points"), std::string::npos);
    EXPECT_EQ(run.report.find(" ZZ "), std::string::npos);
}

TEST(SupplementalControlRun, FormatSevenGivesThePointItsOwnStandardErrors) {
    const SupplementalRun run = runWith(7, "D,880.600,1210.330,49.870,0.015,0.025,0.02,SUPPD,DC\n");
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_NE(run.report.find("    1 Observed Points,    2 Fixed Points"), std::string::npos)
        << run.report;
    EXPECT_NE(run.report.find(" D                880.600      1210.330"), std::string::npos);
}

TEST(SupplementalControlRun, AFileThatCannotBeOpenedStopsTheRunNamingIt) {
    testsupport::TempFolder folder("supp-missing");
    globalVars settings = sitecopy::exampleSettings();
    settings.supplamentalNE = 1;
    settings.nezFileFmtType = 5;
    settings.controlNEFileName = (folder / "absent.nez").string();
    EXPECT_NE(
        sitecopy::run(folder, settings, testsupport::readBytes(sitecopy::exampleFile("site.vkr"))),
        0);
    const std::string console = testsupport::readBytes(folder / "console.txt");
    EXPECT_NE(console.find("Error opening " + (folder / "absent.nez").string()), std::string::npos)
        << console;
}

// A damaged number is never read as 0 (nor as its leading digits), which
// held D fixed at northing 0 and left the run to fail without a hint: the
// run stops naming the file, the line and the field.
TEST(SupplementalControlRun, ADamagedNumberStopsTheRunNamingFileLineAndField) {
    const SupplementalRun run = runWith(5, "C,1050.420,1430.150,51.120,SUPPC,CP\r\n"
                                           "D,N880.600,1210.330,49.870,SUPPD,DC\r\n");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.errors.find("Bad northing \"N880.600\" in "), std::string::npos) << run.errors;
    EXPECT_NE(run.errors.find("control.nez, line 2: D,N880.600,1210.330,49.870,SUPPD,DC\r\n"),
              std::string::npos)
        << run.errors;
}

} // namespace
