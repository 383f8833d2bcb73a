// The processing commands and the report windows in the running program:
// the example project run from the menu, cancelling, commands that arrive
// during a run, a missing geoid grid, and report files of either line end.

#include "gui_test_support.hpp"
#include "run/processing_driver.hpp"
#include "shell/command_ids.hpp"
#include "shell/message_list_dialog.hpp"
#include "shell/progress_dialog.hpp"
#include "shell/report_window.hpp"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/button.h>
#include <wx/gauge.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>

#include <functional>

namespace {

using guitest::ChooseFile;
using guitest::ShellTest;
namespace fs = std::filesystem;

const fs::path exampleFolder = fs::path(TARNWELL_FIXTURES) / ".." / ".." / "examples" / "site";

// Answers every message box and message list of a run with OK and keeps
// their texts, whatever stage the run reaches.
class AnswerEveryBox : public wxModalDialogHook {
public:
    AnswerEveryBox() { Register(); }
    ~AnswerEveryBox() override { Unregister(); }

    std::vector<std::string> boxes;
    std::vector<std::vector<std::string>> lists;

protected:
    int Enter(wxDialog* dialog) override {
        if (auto* box = dynamic_cast<wxMessageDialog*>(dialog)) {
            boxes.push_back(box->GetMessage().utf8_string());
            return wxID_OK;
        }
        if (auto* list = dynamic_cast<CDlgMsg*>(dialog)) {
            lists.push_back(list->lines());
            return wxID_OK;
        }
        return wxID_NONE;
    }
    void Exit(wxDialog*) override {}
};

// The lines of a CR LF file, as a reader independent of the window sees them.
std::vector<std::string> fileLines(const fs::path& path) {
    const std::string bytes = testsupport::readBytes(path);
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end = bytes.find("\r\n"); end != std::string::npos;
         start = end + 2, end = bytes.find("\r\n", start))
        lines.push_back(bytes.substr(start, end - start));
    if (start < bytes.size())
        lines.push_back(bytes.substr(start));
    return lines;
}

// The scrolled text panel keeps its paint events to itself: draw it now.
void paintNow(CChildFrame* window) {
    wxYield();
    window->view()->Refresh();
    window->view()->Update();
    wxYield();
}

std::vector<std::string> windowLines(const CChildFrame& window) {
    std::vector<std::string> lines;
    for (int i = 0; i < window.text().lineCount(); ++i)
        lines.push_back(window.text().line(i));
    return lines;
}

class Processing : public ShellTest {
protected:
    // The main window with the example project (copied here) open.
    CMainFrame& openExample() {
        for (const char* name : {"site.prj", "site.vkr", "site.cls"})
            fs::copy_file(exampleFolder / name, file(name));
        CMainFrame& frame = openMainWindow();
        wxTEST_DIALOG(frame.openProject(), ChooseFile(file("site.prj")));
        EXPECT_TRUE(frame.state().projectOpen);
        return frame;
    }
    static void command(CMainFrame& frame, int id) {
        wxCommandEvent event(wxEVT_MENU, id);
        frame.ProcessWindowEvent(event);
    }
    // Runs `step` from inside the next run, at its first look at the events.
    static void duringTheRun(CMainFrame& frame, std::function<void()> step) {
        frame.CallAfter([step] { step(); });
    }

    AnswerEveryBox answers;
};

TEST_F(Processing, TheExampleRunsFromTheMenuAndItsReportsOpen) {
    CMainFrame& frame = openExample();
    EXPECT_TRUE(guitest::commandEnabled(&frame, shellid::networkAdjustment));
    bool sawProgress = false;
    duringTheRun(frame, [&] {
        CProgress* progress = frame.runWindows().progress();
        sawProgress = progress != nullptr && progress->IsShown();
    });
    command(frame, shellid::networkAdjustment);
    EXPECT_TRUE(sawProgress);
    EXPECT_EQ(frame.runWindows().progress(), nullptr);

    ASSERT_TRUE(fs::exists(file("site.RPT")));
    ASSERT_TRUE(fs::exists(file("site.ERR")));
    CChildFrame* report = frame.runWindows().report(ReportKind::report);
    CChildFrame* errors = frame.runWindows().report(ReportKind::error);
    ASSERT_NE(report, nullptr);
    ASSERT_NE(errors, nullptr);
    EXPECT_EQ(report->GetTitle().utf8_string(),
              "Lst. Sq. Reduction Report: " + file("site.RPT").string());
    EXPECT_EQ(errors->GetTitle().utf8_string(),
              "Lst. Sq. Error Report: " + file("site.ERR").string());
    EXPECT_EQ(windowLines(*report), fileLines(file("site.RPT")));
    EXPECT_EQ(windowLines(*errors), fileLines(file("site.ERR")));
    // The example's report has these three titles.
    EXPECT_EQ(report->tabLabels(),
              (std::vector<std::string>{"Entire Rpt.", "Preprocess", "Unadjusted Obs.",
                                        "Adjusted Obs.", "Adjusted NE"}));
    EXPECT_TRUE(errors->tabLabels().empty());
    EXPECT_EQ(frame.state().lastRun.adjustment, AdjustmentOutcome::converged);
    EXPECT_NE(frame.state().lastRunResult, 0);
    EXPECT_TRUE(answers.boxes.empty());
    ASSERT_TRUE(fs::exists(file("site.OUT")));
    CChildFrame* listing = frame.runWindows().report(ReportKind::output);
    ASSERT_NE(listing, nullptr);
    EXPECT_EQ(windowLines(*listing), fileLines(file("site.OUT")));
    EXPECT_TRUE(listing->tabLabels().empty());

    frame.Raise();
    report->activate();
    paintNow(report);
    const auto path = fs::path(TARNWELL_BINARY_DIR) / "screenshots" / "report_window.png";
    EXPECT_TRUE(guitest::saveScreenshot(&frame, path));

    // The Window menu brings a closed report back.
    report->Close(true);
    wxTheApp->ProcessIdle();
    EXPECT_EQ(frame.runWindows().report(ReportKind::report), nullptr);
    command(frame, shellid::lsReport);
    report = frame.runWindows().report(ReportKind::report);
    ASSERT_NE(report, nullptr);
    EXPECT_EQ(windowLines(*report), fileLines(file("site.RPT")));

    // A later command's line reaches the open report, shown at its end.
    report->showSection(1);
    frame.shell().appendToReport(" Relative Error Ellipse: A -> B");
    EXPECT_EQ(report->text().line(report->text().lineCount() - 1),
              " Relative Error Ellipse: A -> B");
    EXPECT_EQ(report->currentTab(), 0);
    EXPECT_EQ(report->linesInView().count, report->text().lineCount());
}

TEST_F(Processing, PreprocessRunsFromTheMenu) {
    CMainFrame& frame = openExample();
    command(frame, shellid::preprocess);
    EXPECT_EQ(frame.runWindows().progress(), nullptr);
    EXPECT_TRUE(answers.boxes.empty());
    EXPECT_NE(frame.state().lastRunResult, 0);
    for (const auto& [extension, kind] :
         {std::pair{".RPT", ReportKind::report}, std::pair{".ERR", ReportKind::error},
          std::pair{".OUT", ReportKind::output}}) {
        SCOPED_TRACE(extension);
        ASSERT_TRUE(fs::exists(file(std::string("site") + extension)));
        ASSERT_NE(frame.runWindows().report(kind), nullptr);
        EXPECT_EQ(windowLines(*frame.runWindows().report(kind)),
                  fileLines(file(std::string("site") + extension)));
    }
}

TEST_F(Processing, EscapeEndsTheRun) {
    CMainFrame& frame = openExample();
    duringTheRun(frame, [&] {
        wxKeyEvent escape(wxEVT_CHAR_HOOK);
        escape.m_keyCode = WXK_ESCAPE;
        frame.runWindows().progress()->ProcessWindowEvent(escape);
    });
    command(frame, shellid::networkAdjustment);
    EXPECT_TRUE(frame.state().lastRun.cancelled);
    ASSERT_FALSE(answers.boxes.empty());
    EXPECT_EQ(answers.boxes.back(), "The user aborted processing.");
    EXPECT_NE(testsupport::readBytes(file("site.ERR")).find("The user aborted processing."),
              std::string::npos);
    EXPECT_EQ(frame.state().lastRunResult, 0);
}

TEST_F(Processing, TheCancelButtonEndsTheRun) {
    CMainFrame& frame = openExample();
    duringTheRun(frame, [&] {
        auto* cancel = wxDynamicCast(
            frame.runWindows().progress()->FindWindow(progressid::cancelButton), wxButton);
        wxCommandEvent click(wxEVT_BUTTON, progressid::cancelButton);
        click.SetEventObject(cancel);
        cancel->ProcessWindowEvent(click);
    });
    command(frame, shellid::networkAdjustment);
    EXPECT_TRUE(frame.state().lastRun.cancelled);
    ASSERT_FALSE(answers.boxes.empty());
    EXPECT_EQ(answers.boxes.back(), "The user aborted processing.");
}

// Every event runs while the engine works; a command that closed or
// replaced the project then would pull the lists from under it.
TEST_F(Processing, NoOtherCommandActsDuringARun) {
    CMainFrame& frame = openExample();
    const std::string rawFiles = projectVars.pInputFileName;
    bool disabled = false;
    bool commandsOff = true;
    duringTheRun(frame, [&] {
        disabled = !frame.IsEnabled();
        for (int id : {shellid::closeProject, shellid::openProject, shellid::exitProgram,
                       shellid::networkAdjustment, shellid::preprocess, shellid::lsReport})
            commandsOff = commandsOff && !guitest::commandEnabled(&frame, id);
        wxCloseEvent close(wxEVT_CLOSE_WINDOW);
        close.SetCanVeto(true);
        frame.ProcessWindowEvent(close);
    });
    for (int id : {shellid::closeProject, shellid::networkAdjustment, shellid::newProject,
                   shellid::closeAll})
        wxQueueEvent(&frame, new wxCommandEvent(wxEVT_MENU, id));
    command(frame, shellid::networkAdjustment);

    EXPECT_TRUE(disabled);
    EXPECT_TRUE(commandsOff);
    EXPECT_TRUE(frame.IsEnabled());
    EXPECT_TRUE(frame.state().projectOpen);
    EXPECT_EQ(frame.state().projectFile, file("site.prj").string());
    EXPECT_EQ(projectVars.pInputFileName, rawFiles);
    EXPECT_NE(frame.runWindows().report(ReportKind::error), nullptr);
    EXPECT_TRUE(guitest::commandEnabled(&frame, shellid::closeProject));
}

TEST_F(Processing, AMissingGeoidGridIsNamedAndNothingRuns) {
    guitest::writeProject(file("geoid.prj"),
                          {"pInputFileName=site.vkr", "geoidModel=1", "gridSystem=1"});
    CMainFrame& frame = openMainWindow();
    wxTEST_DIALOG(frame.openProject(), ChooseFile(file("geoid.prj")));
    const std::string grids = (folder() / "nogrids").string() + "/";
    projectVars.exeDir = grids;
    command(frame, shellid::networkAdjustment);
    ASSERT_EQ(answers.boxes.size(), 1u);
    EXPECT_EQ(answers.boxes[0],
              "The appropriate grid files were not found. Do one of the following:\n"
              "  1. Download the grid files from the Velmora/V&K website and install them in "
              "the\n       " +
                  grids +
                  " directory,\n  2. Or use the \"Use the Project Geoid Separation\" option in "
                  "the Project Settings dialog box.");
    EXPECT_FALSE(fs::exists(file("geoid.RPT")));
    EXPECT_EQ(frame.runWindows().progress(), nullptr);
}

TEST_F(Processing, ReportFilesOfEitherLineEndDisplay) {
    CMainFrame& frame = openMainWindow();
    testsupport::writeBytes(file("lf.RPT"), "Tarnwell\nUnadjusted Observations\nA 1\n");
    testsupport::writeBytes(file("crlf.OUT"), "N E Z\r\n1 2 3\r\n");
    testsupport::writeBytes(file("empty.RPT"), "");
    frame.shell().showReport(file("lf.RPT").string(), ReportKind::report);
    frame.shell().showReport(file("crlf.OUT").string(), ReportKind::output);
    CChildFrame* report = frame.runWindows().report(ReportKind::report);
    CChildFrame* listing = frame.runWindows().report(ReportKind::output);
    ASSERT_NE(report, nullptr);
    ASSERT_NE(listing, nullptr);
    EXPECT_EQ(windowLines(*report),
              (std::vector<std::string>{"Tarnwell", "Unadjusted Observations", "A 1"}));
    EXPECT_EQ(report->tabLabels(),
              (std::vector<std::string>{"Entire Rpt.", "Preprocess", "Unadjusted Obs."}));
    report->showSection(2);
    EXPECT_EQ(report->linesInView().first, 0);
    EXPECT_EQ(report->linesInView().count, 3);
    EXPECT_EQ(windowLines(*listing), (std::vector<std::string>{"N E Z", "1 2 3"}));
    EXPECT_TRUE(listing->tabLabels().empty());

    // An empty file leaves the open window as it was; a missing one says so.
    frame.shell().showReport(file("empty.RPT").string(), ReportKind::report);
    EXPECT_EQ(frame.runWindows().report(ReportKind::report), report);
    EXPECT_EQ(report->GetTitle().utf8_string(),
              "Lst. Sq. Reduction Report: " + file("lf.RPT").string());
    EXPECT_EQ(report->text().lineCount(), 3);
    frame.shell().showReport(file("gone.ERR").string(), ReportKind::error);
    ASSERT_EQ(answers.boxes.size(), 1u);
    EXPECT_EQ(answers.boxes[0], "Error opening " + file("gone.ERR").string());

    // Closing the last report window forgets the last run.
    frame.closeAllChildren();
    wxTheApp->ProcessIdle();
    EXPECT_EQ(frame.runWindows().report(ReportKind::report), nullptr);
    EXPECT_EQ(frame.state().lastRunResult, 0);
}

TEST_F(Processing, TheProgressDialogShowsWhatTheEngineSays) {
    CMainFrame& frame = openMainWindow();
    frame.runWindows().startRun();
    CProgress* progress = frame.runWindows().progress();
    ASSERT_NE(progress, nullptr);
    EXPECT_EQ(progress->GetTitle(), "Adjustment Progress");
    EXPECT_FALSE(progress->FindWindow(progressid::cancelButton)->IsShown());
    frame.shell().setMessage("Iteration:  2");
    frame.shell().setPercent(40);
    frame.shell().showCancel(true);
    EXPECT_EQ(progress->FindWindow(progressid::messageLine)->GetLabel(), "Iteration:  2");
    EXPECT_EQ(wxDynamicCast(progress->FindWindow(progressid::bar), wxGauge)->GetValue(), 40);
    EXPECT_TRUE(progress->FindWindow(progressid::cancelButton)->IsShown());
    frame.shell().pump();
    EXPECT_FALSE(frame.shell().cancelled());
    wxKeyEvent other(wxEVT_CHAR_HOOK);
    other.m_keyCode = 'A';
    progress->ProcessWindowEvent(other);
    EXPECT_FALSE(frame.shell().cancelled());
    frame.runWindows().endRun();
    EXPECT_EQ(frame.runWindows().progress(), nullptr);
}

} // namespace
