// The processing commands and the report windows in the running program:
// the example project run from the menu, cancelling, commands that arrive
// during a run, a missing geoid grid, and report files of either line end.

#include "gui_test_support.hpp"

#include "engine/adjustment_results.hpp"
#include "ring_network.hpp"
#include "run/processing_driver.hpp"
#include "shell/command_ids.hpp"
#include "shell/message_list_dialog.hpp"
#include "shell/progress_dialog.hpp"
#include "shell/report_window.hpp"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/button.h>
#include <wx/menu.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>
#include <wx/settings.h>
#include <wx/toolbar.h>
#include <wx/uiaction.h>

#include <dlfcn.h>
#include <wx/choice.h>
#include <wx/mdi.h>
#include <wx/propdlg.h>
#include <wx/slider.h>
#include <wx/textctrl.h>

#include <functional>
#include <map>

namespace {

using guitest::AnswerEveryBox;
using guitest::ChooseFile;
using guitest::fileLines;
using guitest::ShellTest;
using guitest::windowLines;
namespace fs = std::filesystem;

const fs::path exampleFolder = fs::path(TARNWELL_FIXTURES) / ".." / ".." / "examples" / "site";

// The scrolled text panel keeps its paint events to itself: draw it now.
void paintNow(CChildFrame* window) {
    wxYield();
    window->view()->Refresh();
    window->view()->Update();
    wxYield();
}

class Processing : public ShellTest {
protected:
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
    wxTheApp->ProcessIdle(); // the idle pass brings the tool bar back
    EXPECT_TRUE(frame.GetToolBar()->GetToolEnabled(shellid::newProject));
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

// What a user sees of the main window's controls: the bars and the report
// tabs themselves, and every command of the menus and the tool bar.
struct ControlStates {
    bool menuBar = false;
    std::vector<bool> menus;
    bool toolBar = false;
    bool statusBar = false;
    bool reportTabs = true; // or no report window
    std::map<int, bool> menuItems;
    std::map<int, bool> tools;
};

void collectItems(wxMenu* menu, std::map<int, bool>& items) {
    for (wxMenuItem* item : menu->GetMenuItems()) {
        if (item->IsSubMenu())
            collectItems(item->GetSubMenu(), items);
        else if (!item->IsSeparator())
            items[item->GetId()] = item->IsEnabled();
    }
}

// After the idle pass that brings the menus and the tool bar up to date.
ControlStates controlStates(CMainFrame& frame) {
    wxTheApp->ProcessIdle();
    frame.UpdateWindowUI(wxUPDATE_UI_RECURSE);
    wxMenuBar* menuBar = frame.GetMenuBar();
    menuBar->UpdateMenus();
    ControlStates states;
    states.menuBar = menuBar->IsEnabled();
    for (size_t i = 0; i < menuBar->GetMenuCount(); ++i) {
        states.menus.push_back(menuBar->IsEnabledTop(i));
        collectItems(menuBar->GetMenu(i), states.menuItems);
    }
    wxToolBar* toolBar = frame.GetToolBar();
    states.toolBar = toolBar->IsEnabled();
    for (size_t i = 0; i < toolBar->GetToolsCount(); ++i) {
        const wxToolBarToolBase* tool = toolBar->GetToolByPos(static_cast<int>(i));
        if (!tool->IsSeparator())
            states.tools[tool->GetId()] = tool->IsEnabled();
    }
    states.statusBar = frame.GetStatusBar()->IsEnabled();
    if (CChildFrame* report = frame.runWindows().report(ReportKind::report))
        states.reportTabs =
            report->FindWindow(sectionTabsId)->IsEnabled() && report->view()->IsEnabled();
    return states;
}

// Commands that follow whether the last run was completed.
bool followsTheLastRun(int id) {
    return id == shellid::relErrEllipse || id == shellid::relErrEllipseButton ||
           id == shellid::inverse || id == shellid::inverseButton;
}

// Close All and Print also follow whether a report window is open.
void expectSameStates(CMainFrame& frame, const ControlStates& before) {
    const ControlStates after = controlStates(frame);
    EXPECT_TRUE(after.menuBar);
    EXPECT_EQ(after.menus, before.menus);
    EXPECT_TRUE(after.toolBar);
    EXPECT_TRUE(after.statusBar);
    EXPECT_TRUE(after.reportTabs);
    const bool completed = frame.state().lastRunResult != 0;
    const bool childActive = frame.GetActiveChild() != nullptr;
    const auto expected = [&](int id, bool before) {
        if (followsTheLastRun(id))
            return completed;
        if (id == shellid::closeAll || id == shellid::print || id == shellid::printButton)
            return childActive;
        return before;
    };
    for (const auto& [id, enabled] : before.menuItems) {
        EXPECT_EQ(after.menuItems.at(id), expected(id, enabled)) << "menu command " << id;
    }
    for (const auto& [id, enabled] : before.tools)
        EXPECT_EQ(after.tools.at(id), expected(id, enabled)) << "tool " << id;
}

// A run disables the whole window while it lasts; whatever way it ends,
// every bar and every command that could be used before can be used again.
TEST_F(Processing, EveryControlComesBackAfterEachKindOfRun) {
    CMainFrame& frame = openExample();
    const ControlStates before = controlStates(frame);
    EXPECT_TRUE(before.menuItems.at(shellid::networkAdjustment));
    EXPECT_TRUE(before.tools.at(shellid::networkAdjustmentButton));

    const struct {
        const char* kind;
        std::function<void()> run;
    } runs[] = {
        {"completed", [&] { command(frame, shellid::networkAdjustment); }},
        {"again", [&] { command(frame, shellid::networkAdjustment); }},
        {"preprocess", [&] { command(frame, shellid::preprocess); }},
        {"failed",
         [&] {
             fs::rename(file("site.vkr"), file("away.vkr"));
             command(frame, shellid::networkAdjustment);
             fs::rename(file("away.vkr"), file("site.vkr"));
         }},
        {"cancelled",
         [&] {
             duringTheRun(frame, [&] { frame.runWindows().progress()->setCancelled(); });
             command(frame, shellid::networkAdjustment);
         }},
    };
    for (const auto& run : runs) {
        SCOPED_TRACE(run.kind);
        run.run();
        EXPECT_EQ(frame.runWindows().progress(), nullptr);
        expectSameStates(frame, before);
    }
    EXPECT_TRUE(frame.state().lastRun.cancelled);
    EXPECT_NE(frame.runWindows().report(ReportKind::report), nullptr);
}

// The keys a user presses for Process > Network Adjustment reach the menu
// after a run as they did before it.
TEST_F(Processing, ASecondRunStartsFromTheMenu) {
    CMainFrame& frame = openExample();
    int runs = 0;
    frame.Bind(
        wxEVT_MENU,
        [&runs](wxCommandEvent& event) {
            ++runs;
            event.Skip();
        },
        shellid::networkAdjustment);
    bool menuOpen = false;
    frame.Bind(wxEVT_MENU_OPEN, [&menuOpen](wxMenuEvent& event) {
        menuOpen = true;
        event.Skip();
    });
    for (int expected = 1; expected <= 2; ++expected) {
        SCOPED_TRACE(expected);
        frame.Raise();
        frame.SetFocus();
        guitest::waitForFirstPaint(&frame);
        menuOpen = false;
        wxUIActionSimulator keys;
        keys.Char('p', wxMOD_ALT);
        guitest::yieldUntil([&] { return menuOpen; });
        ASSERT_TRUE(menuOpen) << "the Process menu did not open";
        keys.Char('n');
        guitest::yieldUntil([&] { return runs == expected; });
        EXPECT_EQ(runs, expected);
        EXPECT_EQ(frame.runWindows().progress(), nullptr);
        EXPECT_NE(frame.state().lastRunResult, 0);
    }
}

// The processing windows of the main window, with the user's Escape (a real
// key, to the window that has the focus) pressed as soon as the progress
// dialog shows a message that starts with `phase`.
class EscapeInPhase : public RunWindows {
public:
    EscapeInPhase(RunWindows& windows, std::string phase)
        : windows_(windows), phase_(std::move(phase)) {}

    bool pressed() const { return pressed_; }

    void setMessage(const std::string& text) override {
        windows_.setMessage(text);
        if (pressed_ || text.rfind(phase_, 0) != 0)
            return;
        pressed_ = true;
        wxUIActionSimulator().Char(WXK_ESCAPE);
    }
    void setPercent(int percent) override { windows_.setPercent(percent); }
    void showCancel(bool shown) override { windows_.showCancel(shown); }
    void pump() override { windows_.pump(); }
    bool cancelled() override { return windows_.cancelled(); }
    void messageList(const std::vector<std::string>& lines) override {
        windows_.messageList(lines);
    }
    void showReport(const std::string& path, ReportKind kind) override {
        windows_.showReport(path, kind);
    }
    void activateReport(ReportKind kind) override { windows_.activateReport(kind); }
    void closeAllReports() override { windows_.closeAllReports(); }
    void appendToReport(const std::string& line) override { windows_.appendToReport(line); }
    int overwritePrompt(crdOverwriteRec& request) override {
        return windows_.overwritePrompt(request);
    }

private:
    RunWindows& windows_;
    std::string phase_;
    bool pressed_ = false;
};

// A run on a network of 5,000 points. Escape pressed while the adjustment
// iterates ends the run before any result is listed, with its message in
// the error report: the run looks at its events often enough, on any
// machine, since the key goes when the dialog reaches that phase.
TEST_F(Processing, ALongRunCancelledWithEscapeEndsAtOnce) {
    guitest::writeRingNetwork(file("ring.vkr"), 5000);
    std::string project = testsupport::readBytes(exampleFolder / "site.prj");
    project.replace(project.find("site.vkr"), 8, "ring.vkr");
    // Its closure file is there, with no closure of the ring defined.
    project.replace(project.find("site.cls"), 8, "ring.cls");
    testsupport::writeBytes(file("ring.prj"), project);
    testsupport::writeBytes(file("ring.cls"), "");
    CMainFrame& frame = openMainWindow();
    wxTEST_DIALOG(frame.openProject(), ChooseFile(file("ring.prj")));
    const ControlStates before = controlStates(frame);

    EscapeInPhase escape(frame.runWindows(), "Iteration:");
    frame.shell().setRunWindows(&escape);
    command(frame, shellid::networkAdjustment);
    frame.shell().setRunWindows(&frame.runWindows());

    ASSERT_TRUE(escape.pressed()) << "the adjustment never said it was iterating";
    EXPECT_EQ(answers.boxes, std::vector<std::string>{"The user aborted processing."});
    EXPECT_NE(testsupport::readBytes(file("ring.ERR")).find("The user aborted processing."),
              std::string::npos);
    EXPECT_EQ(testsupport::readBytes(file("ring.RPT")).find("Adjusted Coordinates"),
              std::string::npos);
    expectSameStates(frame, before);
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
    EXPECT_EQ(answers.boxes[0],
              "Error opening " + file("gone.ERR").string() + ": No such file or directory");

    // Closing the last report window forgets the last run.
    frame.closeAllChildren();
    wxTheApp->ProcessIdle();
    EXPECT_EQ(frame.runWindows().report(ReportKind::report), nullptr);
    EXPECT_EQ(frame.state().lastRunResult, 0);
}

// Whether the screenshot's pixel is the selection colour the bar fills with.
bool isFill(const wxImage& image, int x, int y) {
    const wxColour fill = wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHT);
    return image.GetRed(x, y) == fill.Red() && image.GetGreen(x, y) == fill.Green() &&
           image.GetBlue(x, y) == fill.Blue();
}

TEST_F(Processing, TheProgressDialogShowsWhatTheEngineSays) {
    CMainFrame& frame = openMainWindow();
    frame.runWindows().startRun();
    CProgress* progress = frame.runWindows().progress();
    ASSERT_NE(progress, nullptr);
    EXPECT_EQ(progress->GetTitle(), "Adjustment Progress");
    guitest::expectCentredOn(progress, &frame);
    wxWindow* message = progress->FindWindow(progressid::messageLine);
    wxWindow* bar = progress->FindWindow(progressid::bar);
    wxWindow* cancel = progress->FindWindow(progressid::cancelButton);
    ASSERT_TRUE(message && bar && cancel);
    // Cancel is offered from the start of the run to its end, whatever the
    // engine asks: every phase of a big run takes its time.
    EXPECT_TRUE(cancel->IsShown());
    const wxSize size = progress->GetSize();

    frame.shell().setMessage("Iteration:  2");
    frame.shell().setPercent(40);
    frame.shell().showCancel(false);
    EXPECT_EQ(message->GetLabel(), "Iteration:  2");
    EXPECT_EQ(progress->position(), 40);
    EXPECT_TRUE(cancel->IsShown());
    frame.shell().showCancel(true);
    EXPECT_TRUE(cancel->IsShown());
    EXPECT_EQ(progress->GetSize(), size);

    // The message over the bar over Cancel (in client coordinates), each whole
    // and inside the dialog.
    const wxRect client(progress->GetClientSize());
    for (const wxWindow* control : {message, bar, cancel}) {
        EXPECT_TRUE(client.Contains(control->GetRect())) << control->GetId();
        EXPECT_GE(control->GetSize().y, control->GetBestSize().y) << control->GetId();
    }
    EXPECT_LE(message->GetRect().GetBottom(), bar->GetRect().GetTop());
    EXPECT_LE(bar->GetRect().GetBottom(), cancel->GetRect().GetTop());
    EXPECT_GE(bar->GetSize().y, 16);
    EXPECT_GE(bar->GetSize().x, 300);

    guitest::waitForFirstPaint(progress);
    const auto path = fs::path(TARNWELL_BINARY_DIR) / "screenshots" / "progress.png";
    ASSERT_TRUE(guitest::saveScreenshot(progress, path));
    const wxImage image(path.string(), wxBITMAP_TYPE_PNG);
    ASSERT_TRUE(image.IsOk());
    const wxPoint barAt = bar->GetScreenPosition() - progress->GetScreenPosition();
    const int middle = barAt.y + bar->GetSize().y / 2;
    const int width = bar->GetSize().x;
    EXPECT_TRUE(isFill(image, barAt.x + width * 20 / 100, middle));
    EXPECT_TRUE(isFill(image, barAt.x + width * 38 / 100, middle));
    EXPECT_FALSE(isFill(image, barAt.x + width * 42 / 100, middle));
    EXPECT_FALSE(isFill(image, barAt.x + width * 80 / 100, middle));

    // A look at the events repaints what changed.
    int paints = 0;
    bar->Bind(wxEVT_PAINT, [&paints](wxPaintEvent& event) {
        ++paints;
        event.Skip();
    });
    frame.shell().setPercent(70);
    frame.shell().pump();
    EXPECT_GT(paints, 0);
    EXPECT_FALSE(frame.shell().cancelled());
    wxKeyEvent other(wxEVT_CHAR_HOOK);
    other.m_keyCode = 'A';
    progress->ProcessWindowEvent(other);
    EXPECT_FALSE(frame.shell().cancelled());
    frame.runWindows().endRun();
    EXPECT_EQ(frame.runWindows().progress(), nullptr);
}

} // namespace

#ifdef VISTRA_LIBRARY
// The example's traverse after a run, in the graphics window, kept as a
// screenshot: north up, the ellipses of the adjusted points drawn.
TEST_F(Processing, TheExampleNetworkIsDrawnWithItsEllipses) {
    using ShowFn =
        int (*)(std::uint16_t*, void*, void*, const globalVars*, int, const errEllipseRec*, int);
    CMainFrame& frame = openExample();
    command(frame, shellid::networkAdjustment);
    ASSERT_FALSE(errEllipses.empty());
    void* library = dlopen(VISTRA_LIBRARY, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    ASSERT_NE(library, nullptr) << dlerror();
    auto show = reinterpret_cast<ShowFn>(dlsym(library, "showZureruvuvLS"));
    ASSERT_NE(show, nullptr);
    std::uint16_t id = 0xFFFF;
    ASSERT_EQ(show(&id, nullptr, static_cast<wxObject*>(&frame), &projectVars, 1,
                   errEllipses.data(), static_cast<int>(errEllipses.size())),
              1);
    wxMDIChildFrame* graphics = nullptr;
    for (wxWindow* child : frame.GetClientWindow()->GetChildren())
        if (auto* f = wxDynamicCast(child, wxMDIChildFrame);
            f != nullptr && f->GetTitle().StartsWith("Network Graphics: "))
            graphics = f;
    ASSERT_NE(graphics, nullptr);
    wxYield();
    wxTheApp->ProcessIdle();
    graphics->Activate();
    wxYield();
    ASSERT_NE(frame.GetActiveChild(), nullptr);
    EXPECT_EQ(frame.GetActiveChild(), graphics) << frame.GetActiveChild()->GetTitle();
    // The picture is taken as a user sets it up to look at the ellipses, from
    // the window's settings sheet (ellipses 20 per cent and magenta, traverse
    // labels 14).
    wxCommandEvent settingsCommand(wxEVT_TOOL, 32803);
    wxTEST_DIALOG(graphics->ProcessWindowEvent(settingsCommand),
                  guitest::OnDialog<wxPropertySheetDialog>([](wxPropertySheetDialog& sheet) {
                      auto* slider = dynamic_cast<wxSlider*>(sheet.FindWindow(1099));
                      auto* colour = dynamic_cast<wxChoice*>(sheet.FindWindow(1098));
                      auto* labels = dynamic_cast<wxTextCtrl*>(sheet.FindWindow(1093));
                      EXPECT_TRUE(slider && colour && labels);
                      if (!slider || !colour || !labels)
                          return wxID_CANCEL;
                      slider->SetValue(20);
                      wxCommandEvent drag(wxEVT_SLIDER, 1099);
                      drag.SetEventObject(slider);
                      slider->ProcessWindowEvent(drag);
                      colour->SetSelection(3);
                      labels->SetValue("14");
                      wxCommandEvent apply(wxEVT_BUTTON, wxID_APPLY);
                      apply.SetEventObject(sheet.FindWindow(wxID_APPLY));
                      sheet.FindWindow(wxID_APPLY)->ProcessWindowEvent(apply);
                      return wxID_OK;
                  }));
    wxCommandEvent zoomExtents(wxEVT_TOOL, 32804); // the whole network in view
    graphics->ProcessWindowEvent(zoomExtents);
    wxCommandEvent zoomOut(wxEVT_TOOL, 32802); // and room round it
    graphics->ProcessWindowEvent(zoomOut);
    graphics->Refresh();
    graphics->Update();
    wxYield();
    const auto path = fs::path(TARNWELL_BINARY_DIR) / "screenshots" / "graphics.png";
    ASSERT_TRUE(guitest::saveScreenshot(&frame, path));
    wxImage shot(path.string());
    ASSERT_TRUE(shot.IsOk());
    int red = 0;
    int magenta = 0;
    for (int y = 0; y < shot.GetHeight(); ++y)
        for (int x = 0; x < shot.GetWidth(); ++x) {
            red += shot.GetRed(x, y) > 200 && shot.GetGreen(x, y) < 60 && shot.GetBlue(x, y) < 60;
            magenta +=
                shot.GetRed(x, y) > 200 && shot.GetGreen(x, y) < 60 && shot.GetBlue(x, y) > 200;
        }
    EXPECT_GT(red, 200) << "the traverse is drawn in red";
    EXPECT_GT(magenta, 100) << "the ellipses of C and D are drawn in magenta";
    graphics->Close(true);
    wxYield();
}

// The graphics window, refreshed after a run, stayed in front of the report
// that the run had brought forward.
TEST_F(Processing, TheRunsReportStaysInFrontOfTheRefreshedGraphics) {
    CMainFrame& frame = openExample();
    frame.showGraphics();
    ASSERT_NE(frame.graphicsWindowId(), GraphicsLibrary::noWindow);
    wxYield();
    wxTheApp->ProcessIdle();
    ASSERT_NE(frame.GetActiveChild(), nullptr);
    ASSERT_TRUE(frame.GetActiveChild()->GetTitle().StartsWith("Network Graphics: "));
    command(frame, shellid::preprocess);
    wxYield();
    wxTheApp->ProcessIdle();
    CChildFrame* report = frame.runWindows().report(ReportKind::report);
    ASSERT_NE(report, nullptr);
    ASSERT_NE(frame.GetActiveChild(), nullptr);
    EXPECT_EQ(frame.GetActiveChild(), report) << frame.GetActiveChild()->GetTitle();
}
#endif
