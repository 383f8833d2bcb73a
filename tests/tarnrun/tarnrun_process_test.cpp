// tarnrun run as a user runs it: a project in a fresh folder, the program
// started as its own process, its exit status, messages and files checked.

#include "model/settings/global_vars.hpp"
#include "support/temp_folder.hpp"
#include "support/terrestrial_3d_project.hpp"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace fs = std::filesystem;
using testsupport::readBytes;
using testsupport::writeBytes;

namespace {

struct RunResult {
    int status = -1;
    std::string out;
    std::string err;
};

// Starts tarnrun with `args`; with `interruptFirst` a Ctrl-C is already
// waiting when it starts (sent while SIGINT is blocked, delivered once the
// program unblocks it).
RunResult runTarnrun(const std::vector<std::string>& args, const fs::path& folder,
                     bool interruptFirst = false) {
    const fs::path outPath = folder / "stdout.txt";
    const fs::path errPath = folder / "stderr.txt";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t mask;
    sigemptyset(&mask);
    if (interruptFirst)
        sigaddset(&mask, SIGINT);
    posix_spawnattr_setsigmask(&attributes, &mask);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);

    std::vector<std::string> all = {TARNRUN_PATH};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : all)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    RunResult result;
    if (posix_spawn(&pid, TARNRUN_PATH, &actions, &attributes, argv.data(), environ) != 0)
        return result;
    if (interruptFirst)
        kill(pid, SIGINT);
    int wstatus = 0;
    waitpid(pid, &wstatus, 0);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    result.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
    result.out = readBytes(outPath);
    result.err = readBytes(errPath);
    return result;
}

// A project in its own folder; the settings start from the defaults.
class TarnrunProject : public ::testing::Test {
protected:
    void SetUp() override { settings.pInputFileName = "site.vkr\n"; }

    std::string writeProject() {
        const std::string path = (folder / "site.prj").string();
        EXPECT_NE(settings.writeProjectFile(path), 0);
        return path;
    }
    RunResult run(bool interruptFirst = false, const std::string& option = "") {
        const std::string project = writeProject();
        std::vector<std::string> args = {"--quiet", "--tmp", folder.path().string()};
        if (!option.empty())
            args.push_back(option);
        args.push_back(project);
        return runTarnrun(args, folder.path(), interruptFirst);
    }

    testsupport::TempFolder folder{"tarnrun"};
    globalVars settings;
};

// The error report with its date line (the sixth) replaced by a fixed text.
std::string normalisedDate(const std::string& text) {
    std::size_t start = 0;
    for (int line = 0; line < 5 && start != std::string::npos; ++line)
        start = text.find("\r\n", start) + 2;
    const std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos || end - start != 24)
        return text;
    return text.substr(0, start) + "<date>" + text.substr(end);
}

} // namespace

TEST(Tarnrun, UsageErrorsExitWith3) {
    testsupport::TempFolder folder("tarnrun-usage");
    RunResult r = runTarnrun({}, folder.path());
    EXPECT_EQ(r.status, 3);
    EXPECT_NE(r.err.find("usage: tarnrun"), std::string::npos);
    r = runTarnrun({"--blunder=sometimes", "x.prj"}, folder.path());
    EXPECT_EQ(r.status, 3);
}

TEST(Tarnrun, HelpAndVersionAnswerOnStdoutAndExitWith0) {
    testsupport::TempFolder folder("tarnrun-help");
    for (const char* option : {"--help", "-h"}) {
        SCOPED_TRACE(option);
        const RunResult r = runTarnrun({option}, folder.path());
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.out.rfind("usage: tarnrun [options] PROJECT.prj\n", 0), 0u) << r.out;
        EXPECT_NE(r.out.find("exit status"), std::string::npos);
        EXPECT_EQ(r.err, "");
    }
    const RunResult r = runTarnrun({"--version"}, folder.path());
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "tarnrun (Tarnwell) " TARNWELL_VERSION "\n");
}

TEST(Tarnrun, AnUnknownOptionExitsWith3AndTheUsageOnStderr) {
    testsupport::TempFolder folder("tarnrun-unknown");
    for (const char* option : {"--frobnicate", "-x"}) {
        SCOPED_TRACE(option);
        const RunResult r = runTarnrun({option, "site.prj"}, folder.path());
        EXPECT_EQ(r.status, 3);
        EXPECT_EQ(r.err.rfind("tarnrun: unknown option " + std::string(option) + "\n", 0), 0u)
            << r.err;
        EXPECT_NE(r.err.find("usage: tarnrun"), std::string::npos);
        EXPECT_EQ(r.out, "");
    }
}

// A folder named on the command line must be there before anything runs.
TEST(Tarnrun, FoldersThatDoNotExistExitWith3NamingThem) {
    testsupport::TempFolder folder("tarnrun-folders");
    globalVars settings;
    settings.pInputFileName = "site.vkr\n";
    const std::string project = (folder / "site.prj").string();
    ASSERT_NE(settings.writeProjectFile(project), 0);
    writeBytes(folder / "a-file", "x");
    const std::string missing = (folder / "missing").string();
    const std::string file = (folder / "a-file").string();
    struct Row {
        const char* option;
        std::string folder;
        std::string said;
    };
    const Row rows[] = {
        {"--tmp", missing, "tarnrun: --tmp " + missing + ": No such file or directory\n"},
        {"--geoid-dir", missing,
         "tarnrun: --geoid-dir " + missing + ": No such file or directory\n"},
        {"--tmp", file, "tarnrun: --tmp " + file + ": not a folder\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.option + (" " + row.folder));
        const RunResult r = runTarnrun({row.option, row.folder, project}, folder.path());
        EXPECT_EQ(r.status, 3);
        EXPECT_EQ(r.err, row.said);
        EXPECT_FALSE(fs::exists(folder / "site.ERR")) << "nothing ran";
    }
}

TEST(Tarnrun, MissingProjectExitsWith3NamingTheFile) {
    testsupport::TempFolder folder("tarnrun-missing");
    const std::string missing = (folder / "nowhere.prj").string();
    const RunResult r = runTarnrun({missing}, folder.path());
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.err, "tarnrun: cannot open project " + missing + ": No such file or directory\n");
    EXPECT_FALSE(fs::exists(missing)) << "a missing project is never created";
}

TEST(Tarnrun, AFileThatIsNotAProjectExitsWith3) {
    testsupport::TempFolder folder("tarnrun-foreign");
    const fs::path notes = folder / "notes.prj";
    writeBytes(notes, "these are my field notes, not a project\n");
    const RunResult r = runTarnrun({notes.string()}, folder.path());
    EXPECT_EQ(r.status, 3);
    EXPECT_NE(r.err.find("Unable to open " + notes.string() + ": it is not a project file\n"),
              std::string::npos)
        << r.err;
    EXPECT_EQ(readBytes(notes), "these are my field notes, not a project\n");
}

// The stop comes before the run opens its reports; its message still
// reaches the error report, which then holds only that.
TEST_F(TarnrunProject, NoRawDataDesignatedStopsBeforeAnyReport) {
    settings.includeRawData = 0;
    writeBytes(folder / "site.RPT", "old report");
    writeBytes(folder / "site.ERR", "old errors");
    const RunResult r = run();
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Cannot perform horizontal adjustment.\nNeither a GPS or TS raw file has "
                         "been designated"),
              std::string::npos);
    EXPECT_FALSE(fs::exists(folder / "site.RPT")) << "the previous outputs are deleted first";
    EXPECT_EQ(readBytes(folder / "site.ERR"),
              "Cannot perform horizontal adjustment.\r\nNeither a GPS or TS raw file has been "
              "designated\r\n");
}

// A stop that comes before the run deletes the previous outputs (the geoid
// grid is missing) replaces the old error report: it must not pass for this
// run's.
TEST_F(TarnrunProject, AStopBeforeTheOutputsAreDeletedReplacesTheOldErrorReport) {
    settings.geoidModel = 1;
    settings.gridSystem = 1;
    writeBytes(folder / "site.ERR", "old errors\r\n");
    const std::string project = writeProject();
    const RunResult r = runTarnrun({"--quiet", "--tmp", folder.path().string(), "--geoid-dir",
                                    folder.path().string(), project},
                                   folder.path());
    EXPECT_EQ(r.status, 1);
    const std::string err = readBytes(folder / "site.ERR");
    EXPECT_EQ(err.find("old errors"), std::string::npos) << err;
    EXPECT_EQ(err.rfind("The appropriate grid files were not found.", 0), 0u) << err;
}

// Every stop's message is in the error report, once, also when the run
// wrote it there itself.
TEST_F(TarnrunProject, EveryStopMessageIsInTheErrorReportOnce) {
    struct Row {
        const char* name;
        void (*set)(globalVars&);
        const char* message;
    };
    const Row rows[] = {
        {"no raw file defined", [](globalVars& s) { s.pInputFileName.clear(); },
         "Cannot perform horizontal adjustment.\r\nNo raw data file has been defined\r\n"},
        {"missing raw file", [](globalVars&) {}, "Error opening "},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        globalVars saved = settings;
        row.set(settings);
        fs::remove(folder / "site.vkr");
        const RunResult r = run();
        settings = saved;
        EXPECT_EQ(r.status, 1);
        const std::string err = readBytes(folder / "site.ERR");
        const std::size_t first = err.find(row.message);
        ASSERT_NE(first, std::string::npos) << err;
        EXPECT_EQ(err.find(row.message, first + 1), std::string::npos) << err;
    }
}

// A report file that cannot be made is named with the system's reason.
TEST_F(TarnrunProject, AReportThatCannotBeOpenedIsNamedWithTheReason) {
    fs::create_directories(folder / "site.RPT" / "inside");
    writeBytes(folder / "site.vkr", "header\n");
    const RunResult r = run();
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("error opening " + (folder / "site.RPT").string() + ": Is a directory\n"),
              std::string::npos)
        << r.err;
}

TEST_F(TarnrunProject, NoRawFileDefinedStops) {
    settings.pInputFileName.clear();
    const RunResult r = run();
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(
        r.err.find("Cannot perform horizontal adjustment.\nNo raw data file has been defined"),
        std::string::npos);
}

TEST_F(TarnrunProject, VerticalOnlyWithoutAnyFileStops) {
    settings.horizAdjust = 0;
    settings.pInputFileName.clear();
    const RunResult r = run();
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("No raw data file has been defined"), std::string::npos);
}

TEST_F(TarnrunProject, OpensAndHeadsTheErrorReport) {
    writeBytes(folder / "site.vkr", testsupport::terrestrial3DRaw());
    testsupport::useTerrestrial3DSystem(settings);
    const RunResult r = run();
    EXPECT_EQ(r.status, 0);
    const std::string rule = "     =====================================\r\n";
    const std::string err = normalisedDate(readBytes(folder / "site.ERR"));
    EXPECT_EQ(err.substr(0, err.find("Output File:")),
              "\r\n" + rule + "     LEAST SQUARES ADJUSTMENT ERROR REPORT\r\n" + rule +
                  "\r\n<date>\r\nInput Raw Files:\r\n    site.vkr\r\n");
    EXPECT_NE(err.find("Output File: " + (folder / "site.RPT").string() + "\r\n\r\n"),
              std::string::npos);
    EXPECT_TRUE(fs::exists(folder / "site.RPT"));
    EXPECT_NE(r.out.find("error report: " + (folder / "site.ERR").string()), std::string::npos)
        << "tarnrun says where the reports went";
}

TEST_F(TarnrunProject, CtrlCEndsTheRunWithStatus2AndKeepsTheFiles) {
    writeBytes(folder / "site.vkr", "header\n");
    const RunResult r = run(true);
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(fs::exists(folder / "site.ERR"));
}

TEST_F(TarnrunProject, NoValidRawFileSpecifiedStopsAfterTheHeaders) {
    // Horizontal adjustment off and a level file named: the checks pass, but
    // the raw data to be used has no file.
    settings.horizAdjust = 0;
    settings.pInputFileName.clear();
    settings.pLevRawFileName = "site.lev\n";
    const RunResult r = run();
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("No valid raw data file specified."), std::string::npos);
    EXPECT_NE(readBytes(folder / "site.ERR").find("LEAST SQUARES ADJUSTMENT ERROR REPORT"),
              std::string::npos);
    EXPECT_NE(readBytes(folder / "site.RPT").find("LEAST SQUARES ADJUSTMENT REPORT"),
              std::string::npos);
}

TEST_F(TarnrunProject, AMissingRawFileIsALoaderFailureNamingIt) {
    const RunResult r = run();
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Error opening " + (folder / "site.vkr").string() +
                         ": No such file or directory\n"),
              std::string::npos);
    EXPECT_EQ(r.err.find("error loading input file"), std::string::npos)
        << "the reader's message says it all";
    EXPECT_NE(readBytes(folder / "site.ERR")
                  .find("Error opening " + (folder / "site.vkr").string() +
                        ": No such file or directory\r\n"),
              std::string::npos);
    EXPECT_FALSE(fs::exists(folder / "site.vkr")) << "a missing raw file is never created";
    EXPECT_TRUE(fs::exists(folder / "site.ERR"));
}
