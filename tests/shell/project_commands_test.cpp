// The project commands against real .prj files: open, refuse, save, save as,
// recent, new, close and the program defaults.

#include "engine/adjustment_results.hpp"
#include "gui_test_support.hpp"
#include "model/settings/project_defaults.hpp"
#include "shell/command_ids.hpp"
#include "shell/settings/settings_sheet.hpp"

#include <gtest/gtest.h>
#include <wx/filedlg.h>

#include <csignal>
#include <sys/resource.h>
#include <utility>
#include <vector>

namespace {

using guitest::ChooseFile;
using guitest::ExpectMessage;
using guitest::RecordingRunWindows;
using guitest::ShellTest;
namespace fs = std::filesystem;

// The settings sheet that follows a new project, cancelled.
guitest::OnDialog<CSettingsPropSht> closeTheSheet() {
    return guitest::OnDialog<CSettingsPropSht>([](CSettingsPropSht&) { return wxID_CANCEL; });
}

class ProjectCommands : public ShellTest {
protected:
    // The main window with the report calls recorded.
    CMainFrame& openWindow() {
        CMainFrame& frame = openMainWindow();
        frame.shell().setRunWindows(&windows);
        return frame;
    }
    void openThroughTheDialog(CMainFrame& frame, const fs::path& path) {
        wxTEST_DIALOG(frame.openProject(), ChooseFile(path));
    }
    std::string changedQuestion(const fs::path& path) const {
        return "Project " + path.string() + "  has changed. Do you want to save it?";
    }
    static void expectNoProject(const CMainFrame& frame) {
        EXPECT_EQ(frame.GetTitle(), "Tarnwell");
        EXPECT_EQ(frame.state().projectName, "");
        EXPECT_EQ(frame.state().projectFile, "");
        EXPECT_FALSE(frame.state().projectOpen);
        EXPECT_FALSE(frame.state().canSave);
        EXPECT_FALSE(frame.state().canClose);
    }

    RecordingRunWindows windows;
};

TEST_F(ProjectCommands, OpenReadsTheProjectAndShowsItsReports) {
    guitest::writeProject(file("site.prj"), {"maxIterations=25", "crdFileName=site.crd"});
    for (const char* extension : {".RPT", ".ERR", ".OUT"})
        testsupport::writeBytes(file(std::string("site") + extension), "report\r\n");
    CMainFrame& frame = openWindow();
    openThroughTheDialog(frame, file("site.prj"));

    EXPECT_EQ(projectVars.maxIterations, 25);
    EXPECT_EQ(projectVars.crdFileName, "site.crd");
    EXPECT_EQ(projectVars.projectFileName, file("site.prj").string());
    EXPECT_EQ(frame.GetTitle(), "Tarnwell - Project: site");
    EXPECT_EQ(frame.state().projectFile, file("site.prj").string());
    EXPECT_TRUE(frame.state().projectOpen && frame.state().canSave && frame.state().canClose);
    EXPECT_FALSE(frame.state().modified);
    const std::vector<std::pair<std::string, ReportKind>> shown = {
        {file("site.ERR").string(), ReportKind::error},
        {file("site.OUT").string(), ReportKind::output},
        {file("site.RPT").string(), ReportKind::report},
    };
    EXPECT_EQ(windows.shown, shown);
}

TEST_F(ProjectCommands, AFileThatIsNotAProjectIsRefused) {
    CMainFrame& frame = openWindow();
    for (const char* name : {"not_a_project.prj", "shorter_than_the_key.prj"}) {
        SCOPED_TRACE(name);
        const fs::path path = fs::path(TARNWELL_FIXTURES) / "shell" / name;
        wxTEST_DIALOG(
            frame.openProject(), ChooseFile(path),
            ExpectMessage("Unable to open " + path.string() + ": it is not a project file", wxOK));
        expectNoProject(frame);
        EXPECT_EQ(projectVars.maxIterations, globalVars().maxIterations);
    }
    EXPECT_TRUE(windows.shown.empty());
}

// Expects the project open dialog to start in `folder`, and cancels it.
class StartsIn : public wxExpectModalBase<wxFileDialog, StartsIn> {
public:
    explicit StartsIn(fs::path folder) : folder_(std::move(folder)) {}

protected:
    int OnInvoked(wxFileDialog* dialog) const override {
        EXPECT_EQ(dialog->GetDirectory().utf8_string(), folder_.string());
        return wxID_CANCEL;
    }

private:
    fs::path folder_;
};

TEST_F(ProjectCommands, CancellingOpenKeepsTheOpenProject) {
    guitest::writeProject(file("site.prj"), {"maxIterations=25"});
    testsupport::writeBytes(file("site.RPT"), "report\r\n");
    CMainFrame& frame = openWindow();
    openThroughTheDialog(frame, file("site.prj"));
    const ProjectState before = frame.state();
    wxTEST_DIALOG(frame.openProject(), ChooseFile(""));
    EXPECT_EQ(frame.GetTitle(), "Tarnwell - Project: site");
    EXPECT_EQ(frame.state().projectFile, before.projectFile);
    EXPECT_TRUE(frame.state().projectOpen && frame.state().canSave && frame.state().canClose);
    EXPECT_TRUE(frame.state().lsReportEnabled);
    EXPECT_EQ(projectVars.maxIterations, 25);
    EXPECT_EQ(projectVars.projectFileName, file("site.prj").string());
}

TEST_F(ProjectCommands, TheOpenDialogStartsInTheLastProjectsFolder) {
    fs::create_directories(folder() / "recent");
    fs::create_directories(folder() / "jobs");
    fs::create_directories(folder() / "tmp");
    guitest::writeProject(folder() / "recent" / "old.prj");
    guitest::writeProject(folder() / "jobs" / "site.prj");
    projectVars.tmpDir = (folder() / "tmp").string();
    {
        CMainFrame& frame = openWindow();
        wxTEST_DIALOG(frame.openProject(), StartsIn(folder() / "tmp"));
        destroyMainWindow();
    }
    storeProfile(defaultsSection, "MRUProject", (folder() / "recent" / "old.prj").string());
    CMainFrame& frame = openWindow();
    projectVars.tmpDir = (folder() / "tmp").string();
    wxTEST_DIALOG(frame.openProject(), StartsIn(folder() / "recent"));
    openThroughTheDialog(frame, folder() / "jobs" / "site.prj");
    wxTEST_DIALOG(frame.openProject(), StartsIn(folder() / "jobs"));
    frame.closeProject();
    wxTEST_DIALOG(frame.openProject(), StartsIn(folder() / "jobs"));
}

TEST_F(ProjectCommands, SaveWithoutANameAsksForOne) {
    CMainFrame& frame = openWindow();
    wxTEST_DIALOG(frame.saveProjectCommand(), ChooseFile(file("named.prj"), "Save As"));
    EXPECT_EQ(testsupport::readBytes(file("named.prj")).rfind("TARNWELL_PROJECT_VERSION=7\r\n", 0),
              0u);
    EXPECT_EQ(frame.GetTitle(), "Tarnwell - Project: named");
}

TEST_F(ProjectCommands, SaveAsReopensUnderTheNewName) {
    guitest::writeProject(file("old.prj"), {"maxIterations=25"});
    testsupport::writeBytes(file("old.RPT"), "old report\r\n");
    testsupport::writeBytes(file("new.ERR"), "new errors\r\n");
    CMainFrame& frame = openWindow();
    openThroughTheDialog(frame, file("old.prj"));
    windows.shown.clear();

    wxTEST_DIALOG(frame.saveProjectAs(), ChooseFile(file("new")));
    EXPECT_EQ(frame.GetTitle(), "Tarnwell - Project: new");
    EXPECT_EQ(frame.state().projectFile, file("new.prj").string());
    EXPECT_EQ(projectVars.maxIterations, 25);
    const std::vector<std::pair<std::string, ReportKind>> shown = {
        {file("new.ERR").string(), ReportKind::error}};
    EXPECT_EQ(windows.shown, shown);
}

// The project opened last is the recent one at once; gone since, it leaves
// no project open.
TEST_F(ProjectCommands, ARecentProjectThatIsGoneLeavesNoProject) {
    storeProfile(defaultsSection, "MRUProject", file("gone.prj").string());
    CMainFrame& frame = openWindow();
    guitest::writeProject(file("site.prj"));
    openThroughTheDialog(frame, file("site.prj"));
    fs::remove(file("site.prj"));
    wxCommandEvent recent(wxEVT_MENU, shellid::recentProject);
    wxTEST_DIALOG(
        frame.ProcessWindowEvent(recent),
        ExpectMessage("Unable to open " + file("site.prj").string() + ": No such file or directory",
                      wxOK));
    expectNoProject(frame);
}

TEST_F(ProjectCommands, TheRecentProjectOpens) {
    guitest::writeProject(file("last.prj"), {"maxIterations=30"});
    storeProfile(defaultsSection, "MRUProject", file("last.prj").string());
    CMainFrame& frame = openWindow();
    frame.openRecentProject();
    EXPECT_EQ(frame.GetTitle(), "Tarnwell - Project: last");
    EXPECT_EQ(projectVars.maxIterations, 30);
    EXPECT_TRUE(frame.state().projectOpen);

    destroyMainWindow();
    EXPECT_EQ(profile().getString(defaultsSection, "MRUProject", ""), file("last.prj").string());
}

// The new file and memory both hold the program defaults; closing without
// saving still asks first.
TEST_F(ProjectCommands, ANewProjectStartsFromTheProgramDefaultsAndAsksBeforeClosing) {
    storeProfile(defaultsSection, "maxIterations", "25");
    CMainFrame& frame = openWindow();
    wxTEST_DIALOG(frame.newProject(), ChooseFile(file("fresh"), "New Project"), closeTheSheet());

    globalVars written;
    ASSERT_NE(written.readProjectFile(file("fresh.prj").string()), 0);
    EXPECT_EQ(written.maxIterations, 25);
    EXPECT_EQ(projectVars.maxIterations, 25);
    EXPECT_EQ(frame.GetTitle(), "Tarnwell - Project: fresh");
    EXPECT_TRUE(frame.state().modified);

    bool closed = true;
    wxTEST_DIALOG(closed = frame.Close(), ExpectMessage(changedQuestion(file("fresh.prj")), wxNO));
    EXPECT_TRUE(closed);
    mainWindowClosed();
}

// A new project runs with what its file holds, so it computes the same when
// opened again: the built-in defaults while none are saved, else the saved
// ones. Its GPS vectors come from .GPS files and its level files are read in
// the project's unit.
TEST_F(ProjectCommands, ANewProjectFileHoldsTheSettingsItRunsWith) {
    struct Expected {
        double convergeLimit;
        int includeSS, distPrec, horizUnits, zUnits, ttlStaUnits, levelUnits;
    };
    struct Case {
        const char* name;
        std::vector<std::pair<const char*, const char*>> saved;
        Expected expected;
    };
    const Case cases[] = {
        {"built-in", {}, {0.002, 1, 2, 0, 0, 0, 0}},
        {"saved in US feet",
         {{"convergeLimit", "0.0005"},
          {"includeSS", "0"},
          {"distPrec", "4"},
          {"HorizUnits", "1"},
          {"ZUnits", "1"},
          {"ttlStaUnits", "1"}},
         {0.0005, 0, 4, 1, 1, 1, 1}},
    };
    CMainFrame& frame = openWindow();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const auto& [name, value] : c.saved)
            storeProfile(defaultsSection, name, value);
        const fs::path path = file(std::string(c.name) + ".prj");
        wxTEST_DIALOG(frame.newProject(), ChooseFile(path), closeTheSheet());
        globalVars written;
        ASSERT_NE(written.readProjectFile(path.string()), 0);
        for (const globalVars* g : {&written, &projectVars}) {
            SCOPED_TRACE(g == &written ? "file" : "memory");
            EXPECT_DOUBLE_EQ(g->convergeLimit, c.expected.convergeLimit);
            EXPECT_EQ(g->includeSS, c.expected.includeSS);
            EXPECT_EQ(g->distPrec, c.expected.distPrec);
            EXPECT_EQ(g->HorizUnits, c.expected.horizUnits);
            EXPECT_EQ(g->ZUnits, c.expected.zUnits);
            EXPECT_EQ(g->ttlStaUnits, c.expected.ttlStaUnits);
            EXPECT_EQ(g->levelUnits, c.expected.levelUnits);
            EXPECT_EQ(g->gpsFileFmtType, 0);
            EXPECT_EQ(g->GPSUnits, 0);
            EXPECT_EQ(g->ellipsoid, 15);
        }
        frame.saveProjectCommand();
    }
}

TEST_F(ProjectCommands, ANewProjectEmptiesTheFileNames) {
    guitest::writeProject(file("site.prj"), {"crdFileName=site.crd", "pInputFileName=day1.vkr\n"});
    CMainFrame& frame = openWindow();
    openThroughTheDialog(frame, file("site.prj"));
    wxTEST_DIALOG(frame.newProject(), ChooseFile(file("fresh.prj")), closeTheSheet());
    EXPECT_EQ(projectVars.crdFileName, "");
    EXPECT_EQ(projectVars.pInputFileName, "");
    EXPECT_EQ(projectVars.projectFileName, file("fresh.prj").string());
    // Nor does the new file take the old project's files with it.
    globalVars written;
    ASSERT_NE(written.readProjectFile(file("fresh.prj").string()), 0);
    EXPECT_EQ(written.crdFileName, "");
    EXPECT_EQ(written.pInputFileName, "");
}

// Cancelling the new project's file dialog must not leave the caption and
// the commands of the old project over reset settings.
TEST_F(ProjectCommands, CancellingANewProjectKeepsTheOpenOne) {
    guitest::writeProject(file("site.prj"), {"maxIterations=25"});
    CMainFrame& frame = openWindow();
    openThroughTheDialog(frame, file("site.prj"));
    wxTEST_DIALOG(frame.newProject(), ChooseFile(""));
    EXPECT_EQ(frame.GetTitle(), "Tarnwell - Project: site");
    EXPECT_EQ(frame.state().projectFile, file("site.prj").string());
    EXPECT_TRUE(frame.state().projectOpen);
    EXPECT_EQ(projectVars.maxIterations, 25);
}

// A new project whose file cannot be written leaves the open project open
// as it was, with its settings, and shows no settings sheet: the old one was
// closed first and the sheet opened on no project.
TEST_F(ProjectCommands, ANewProjectThatCannotBeWrittenKeepsTheOpenOne) {
    guitest::writeProject(file("site.prj"), {"maxIterations=25"});
    CMainFrame& frame = openWindow();
    openThroughTheDialog(frame, file("site.prj"));
    const std::string unwritable = file("fresh.prj").string();
    {
        // Files of this process may not grow past 16 bytes while the new
        // project is made: its file cannot be written.
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit small = saved;
        small.rlim_cur = 16;
        setrlimit(RLIMIT_FSIZE, &small);
        wxTEST_DIALOG(frame.newProject(), ChooseFile(unwritable),
                      ExpectMessage("Error writing to: " + unwritable, wxOK));
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);
    }
    EXPECT_FALSE(fs::exists(unwritable));
    EXPECT_EQ(frame.GetTitle(), "Tarnwell - Project: site");
    EXPECT_EQ(frame.state().projectFile, file("site.prj").string());
    EXPECT_EQ(projectVars.projectFileName, file("site.prj").string());
    EXPECT_TRUE(frame.state().projectOpen);
    EXPECT_FALSE(frame.state().modified);
    EXPECT_EQ(projectVars.maxIterations, 25);
}

// A save that fails says so and keeps the project marked as changed.
TEST_F(ProjectCommands, AFailedSaveIsReportedAndTheChangesKept) {
    fs::create_directories(file("gone"));
    CMainFrame& frame = openWindow();
    wxTEST_DIALOG(frame.newProject(), ChooseFile(file("gone/fresh.prj")), closeTheSheet());
    fs::remove_all(file("gone"));
    wxTEST_DIALOG(frame.saveProjectCommand(),
                  ExpectMessage("Error writing to: " + file("gone/fresh.prj").string(), wxOK));
    EXPECT_TRUE(frame.state().modified);
}

// Yes to saving, then a save that fails: the window stays open.
TEST_F(ProjectCommands, ClosingStaysOpenWhenTheSaveItAskedForFails) {
    fs::create_directories(file("gone"));
    CMainFrame& frame = openWindow();
    wxTEST_DIALOG(frame.newProject(), ChooseFile(file("gone/fresh.prj")), closeTheSheet());
    fs::remove_all(file("gone"));
    bool closed = true;
    wxTEST_DIALOG(closed = frame.Close(),
                  ExpectMessage(changedQuestion(file("gone/fresh.prj")), wxYES),
                  ExpectMessage("Error writing to: " + file("gone/fresh.prj").string(), wxOK));
    EXPECT_FALSE(closed);
    EXPECT_TRUE(frame.IsShown());
    EXPECT_EQ(frame.GetTitle(), "Tarnwell - Project: fresh");
}

TEST_F(ProjectCommands, SavingClearsTheChangeAndTheQuestion) {
    CMainFrame& frame = openWindow();
    wxTEST_DIALOG(frame.newProject(), ChooseFile(file("fresh.prj")), closeTheSheet());
    frame.saveProjectCommand();
    EXPECT_FALSE(frame.state().modified);
    globalVars reread;
    reread.readProjectFile(file("fresh.prj").string());
    EXPECT_EQ(reread.maxIterations, projectVars.maxIterations);
    frame.closeProject();
    expectNoProject(frame);
}

TEST_F(ProjectCommands, CloseProjectReturnsToTheProgramDefaultsAndForgetsTheResults) {
    storeProfile(defaultsSection, "maxIterations", "40");
    guitest::writeProject(file("site.prj"), {"maxIterations=25", "crdFileName=site.crd"});
    CMainFrame& frame = openWindow();
    openThroughTheDialog(frame, file("site.prj"));
    varCovMatrix = std::make_unique<Cofactors>();
    errEllipses.resize(1);
    errEllipseCount = 1;
    wxCommandEvent close(wxEVT_MENU, shellid::closeProject);
    frame.ProcessWindowEvent(close);
    expectNoProject(frame);
    EXPECT_EQ(projectVars.maxIterations, 40);
    EXPECT_EQ(projectVars.crdFileName, "");
    EXPECT_EQ(varCovMatrix, nullptr);
    EXPECT_TRUE(errEllipses.empty());
    EXPECT_EQ(errEllipseCount, 0);
}

TEST_F(ProjectCommands, SaveAsDefaultStoresTheSettingsForNewProjects) {
    guitest::writeProject(file("site.prj"), {"maxIterations=25"});
    CMainFrame& frame = openWindow();
    openThroughTheDialog(frame, file("site.prj"));
    wxCommandEvent saveDefaults(wxEVT_MENU, shellid::saveAsDefault);
    frame.ProcessWindowEvent(saveDefaults);
    EXPECT_EQ(profile().getInt(defaultsSection, "maxIterations", -1), 25);
}

} // namespace
