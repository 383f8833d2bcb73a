#include "model/number_format.hpp"
#include "output/report_lines.hpp"
#include "platform/shell_services.hpp"
#include "reports/report_files.hpp"
#include "support/comma_locale.hpp"
#include "support/project_vars_guard.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <cstdlib>

namespace fs = std::filesystem;

namespace {

// A project "net1.prj" in a temporary folder, with the clock fixed.
class OutputFiles : public ::testing::Test {
protected:
    void SetUp() override {
        previousShell_ = setActiveShell(&shell);
        projectVars.projectFileName = (folder / "net1.prj").string();
        setenv("TZ", "UTC", 1);
        tzset();
        // 2026-12-09 23:58:15 UTC, a Wednesday
        shell.clock = std::chrono::system_clock::from_time_t(1796860695);
    }
    void TearDown() override {
        closeRptFile();
        closeErrFile();
        setActiveShell(previousShell_);
    }

    testsupport::ProjectVarsGuard guard;
    testsupport::TempFolder folder{"output-files"};
    RecordingShell shell;

private:
    ShellServices* previousShell_ = nullptr;
};

} // namespace

TEST_F(OutputFiles, NamesComeFromTheProjectFile) {
    EXPECT_EQ(projectOutputPath(".RPT"), (folder / "net1.RPT").string());
    EXPECT_EQ(projectOutputPath(".OUT"), (folder / "net1.OUT").string());
}

// The coordinate outputs stay until new ones replace them: a run that fails
// must not leave the user with no coordinates at all.
TEST_F(OutputFiles, DeletesThePreviousReportsOnly) {
    for (const char* name :
         {"net1.RPT", "net1.ERR", "net1.NEZ", "net1.OUT", "net1.prj", "net1.EEL"})
        testsupport::writeBytes(folder / name, "old");
    EXPECT_EQ(deleteOutputFiles(), 0);
    EXPECT_EQ(projectVars.reportFileName, (folder / "net1.RPT").string());
    for (const char* gone : {"net1.RPT", "net1.ERR"})
        EXPECT_FALSE(fs::exists(folder / gone)) << gone;
    for (const char* kept : {"net1.NEZ", "net1.OUT", "net1.prj", "net1.EEL"})
        EXPECT_TRUE(fs::exists(folder / kept)) << kept;
    EXPECT_EQ(deleteOutputFiles(), 0) << "missing files are no error";
}

// A staged output stands at its name only once committed; discarded (or
// dropped) it leaves the previous file and no temporary file behind.
TEST_F(OutputFiles, AStagedOutputReplacesThePreviousFileOnlyWhenCommitted) {
    struct Row {
        const char* what;
        bool commit;
        const char* expected;
    };
    for (const Row& row : {Row{"committed", true, "new\r\n"}, Row{"discarded", false, "old"}}) {
        SCOPED_TRACE(row.what);
        testsupport::writeBytes(folder / "net1.NEZ", "old");
        {
            StagedOutput nez((folder / "net1.NEZ").string());
            ASSERT_GT(nez.create(), 0);
            EXPECT_EQ(writeLine(nez.handle(), "new"), 0);
            EXPECT_EQ(testsupport::readBytes(folder / "net1.NEZ"), "old") << "not yet in place";
            if (row.commit) {
                EXPECT_TRUE(nez.commit());
            }
        }
        EXPECT_EQ(testsupport::readBytes(folder / "net1.NEZ"), row.expected);
        int files = 0;
        for (const auto& entry : fs::directory_iterator(folder.path()))
            files += entry.path().filename().string().rfind("net1.NEZ", 0) == 0 ? 1 : 0;
        EXPECT_EQ(files, 1) << "no temporary file is left";
    }
}

TEST_F(OutputFiles, NewFilesReplaceOldOnesAndAppendingNeedsAnExistingFile) {
    EXPECT_EQ(openRptFile(appendToFile), -1);
    EXPECT_FALSE(fs::exists(folder / "net1.RPT")) << "appending never creates";
    testsupport::writeBytes(folder / "net1.RPT", "old contents");
    ASSERT_GT(openRptFile(startNewFile), 0);
    ASSERT_GT(openErrFile(startNewFile), 0);
    writeRptErrLine("new");
    EXPECT_EQ(closeRptFile(), 0);
    EXPECT_EQ(rptFile, 0);
    EXPECT_EQ(closeRptFile(), 0) << "closing a closed file does nothing";
    closeErrFile();
    EXPECT_EQ(testsupport::readBytes(folder / "net1.RPT"), "new\r\n");
    ASSERT_GT(openRptFile(appendToFile), 0);
    writeLine(rptFile, "more");
    closeRptFile();
    EXPECT_EQ(testsupport::readBytes(folder / "net1.RPT"), "new\r\nmore\r\n");
    EXPECT_EQ(testsupport::readBytes(folder / "net1.ERR"), "new\r\n");
}

TEST_F(OutputFiles, ErrorReportTitleBlock) {
    projectVars.pInputFileName = "/data/a.rw5\n/data/b.vkr\n/data/unterminated";
    openRptFile(startNewFile);
    ASSERT_GT(openErrFile(startNewFile), 0);
    EXPECT_EQ(writeErrHeader(errFile), 0);
    closeErrFile();
    const std::string rule = "     =====================================\r\n";
    EXPECT_EQ(testsupport::readBytes(folder / "net1.ERR"),
              "\r\n" + rule + "     LEAST SQUARES ADJUSTMENT ERROR REPORT\r\n" + rule +
                  "\r\n"
                  "Wed Dec  9 23:58:15 2026\r\n"
                  "Input Raw Files:\r\n"
                  "    /data/a.rw5\r\n"
                  "    /data/b.vkr\r\n"
                  "    /data/unterminated\r\n"
                  "Output File: " +
                  (folder / "net1.RPT").string() + "\r\n\r\n");
}

TEST_F(OutputFiles, TitleBlockNamesTheSupplementalControlFile) {
    projectVars.supplamentalNE = 1;
    projectVars.controlNEFileName = "ctl.txt";
    openRptFile(startNewFile);
    openErrFile(startNewFile);
    writeErrHeader(errFile);
    closeErrFile();
    EXPECT_NE(testsupport::readBytes(folder / "net1.ERR")
                  .find("Input Raw Files:\r\nControl File:  ctl.txt\r\n"),
              std::string::npos);
}

// Every observation file the run reads is named, the GPS vector and the
// levelling files only while they are included.
TEST_F(OutputFiles, TitleBlockNamesTheGpsAndLevellingFilesWhenIncluded) {
    projectVars.pInputFileName = "site.vkr\n";
    projectVars.pGPSFileName = "day1.gps\nday2.gps\n";
    projectVars.pLevRawFileName = "loop.lev\n";
    const struct {
        int gps;
        int level;
        const char* listed;
    } cases[] = {
        {0, 0, "    site.vkr\r\nOutput File: "},
        {1, 0, "    site.vkr\r\n    day1.gps\r\n    day2.gps\r\nOutput File: "},
        {0, 1, "    site.vkr\r\n    loop.lev\r\nOutput File: "},
        {1, 1, "    site.vkr\r\n    day1.gps\r\n    day2.gps\r\n    loop.lev\r\nOutput File: "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.gps) + std::to_string(c.level));
        projectVars.includeGPSVectors = c.gps;
        projectVars.includeLevData = c.level;
        openRptFile(startNewFile);
        openErrFile(startNewFile);
        writeErrHeader(errFile);
        closeErrFile();
        closeRptFile();
        EXPECT_NE(testsupport::readBytes(folder / "net1.ERR")
                      .find(std::string("Input Raw Files:\r\n") + c.listed),
                  std::string::npos);
    }
}

TEST(CtimeText, FixedWidthEnglishForm) {
    setenv("TZ", "UTC", 1);
    tzset();
    testsupport::CommaLocale comma;
    EXPECT_EQ(ctimeText(std::chrono::system_clock::from_time_t(0)), "Thu Jan  1 00:00:00 1970");
    EXPECT_EQ(ctimeText(std::chrono::system_clock::from_time_t(1796860695)),
              "Wed Dec  9 23:58:15 2026");
}

TEST(NumberFormat, ReportNumbers) {
    testsupport::ProjectVarsGuard guard;
    EXPECT_EQ(formatElevation(-999999999.0), "");
    EXPECT_EQ(formatElevation(12.3456), "      12.346");
    EXPECT_EQ(formatCoordinate(5000.12345), "    5000.123");
    EXPECT_EQ(formatDistance(12.3456), "   12.346");
    EXPECT_EQ(formatDistanceShort(12.3456), " 12.346");
    EXPECT_EQ(formatStdError(-1.0), "  0.000");
    EXPECT_EQ(formatStdError(-2.0), "  0.000");
    EXPECT_EQ(formatStdError(-3.0), "");
    EXPECT_EQ(formatStdError(0.01234), "  0.012");
    EXPECT_EQ(formatStdErrorPrecCString(0.01234, 4), " 0.0123");
    EXPECT_EQ(formatAngleSeconds(-2.5), "-    2.5  ");
    EXPECT_EQ(formatAngleSeconds(2.5), "     2.5  ");
    projectVars.neOutPrec = 4;
    projectVars.zOutPrec = 2;
    EXPECT_EQ(formatNorthEastOut(1.5), "      1.5000");
    EXPECT_EQ(formatElevationOut(1.5), "        1.50");
    projectVars.distPrec = 1;
    EXPECT_EQ(formatElevationCString(12.3456), "        12.3");
    EXPECT_EQ(formatElevation(12.3456), "      12.346") << "report elevations use elevDispPrec";
    projectVars.distPrec = -1;
    EXPECT_EQ(formatElevation(12.3456), "      12.346");
    projectVars.angleType = 1;
    EXPECT_EQ(formatAngleSeconds(-2.5), " -0.00077");
}
