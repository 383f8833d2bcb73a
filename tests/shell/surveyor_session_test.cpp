// What a surveyor meets in a session with the example project: a raw file
// that is missing or is no raw file, the state each run leaves for the
// commands after it, the Preprocess tab, report text selected and copied,
// "Ready" after each command, the recent project and the folder the file
// dialogs start in, and the questions that guard what is not yet saved.

#include "gui_test_support.hpp"

#include "engine/adjustment_results.hpp"
#include "shell/alta_points_dialog.hpp"
#include "shell/command_ids.hpp"
#include "shell/relative_error_dialog.hpp"
#include "shell/report_window.hpp"
#include "shell/tools/closure_editor.hpp"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/clipbrd.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>
#include <wx/stattext.h>
#include <wx/statusbr.h>
#include <wx/textctrl.h>

#include <algorithm>
#include <sstream>

namespace {

using guitest::AnswerEveryBox;
using guitest::ExpectMessage;
using guitest::OnDialog;
using guitest::ShellTest;
namespace fs = std::filesystem;

const fs::path screenshots = fs::path(TARNWELL_BINARY_DIR) / "screenshots";

bool holds(const std::vector<std::string>& lines, const std::string& text) {
    return std::any_of(lines.begin(), lines.end(), [&text](const std::string& line) {
        return line.find(text) != std::string::npos;
    });
}

std::string statusText(CMainFrame& frame) {
    return frame.GetStatusBar()->GetStatusText(0).utf8_string();
}

class SurveyorSession : public ShellTest {
protected:
    AnswerEveryBox answers;
};

// One box that names the file and the cause, and the same text in the error
// report window, where there were two or five boxes about consequences. A
// file that is no raw file is refused at its first line after the header:
// its code is none of a raw record's.
TEST_F(SurveyorSession, ARawFileThatCannotBeReadIsNamedOnceWithItsCause) {
    CMainFrame& frame = openExample();
    const std::string raw = file("site.vkr").string();
    const struct {
        const char* name;
        std::function<void()> spoil;
        std::string message;
    } cases[] = {
        {"missing", [&raw] { fs::remove(raw); },
         "Error opening " + raw + ": No such file or directory"},
        {"not a raw file",
         [&raw] {
             testsupport::writeBytes(raw, "qZ3kV9+/w8ar1Lk0pXb7mN2cT6yHs4uEo5jG==\r\n"
                                          "Hw7Ue1sQ0bVf3L9ZpK2mXr8aYt5cN6dG4jEo==\r\n");
         },
         "Error parsing raw record:\nHw7Ue1sQ0bVf3L9ZpK2mXr8aYt5cN6dG4jEo==\nIn " + raw +
             ", line 2.\nThe record code \"H\" names no record type of its file."},
        {"a file of its header alone",
         [&raw] { testsupport::writeBytes(raw, "qZ3kV9+/w8ar1Lk0pXb7mN2cT6yHs4uEo5jG==\r\n\r\n"); },
         "No raw data records in " + raw + ": none of its lines is a raw data record."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.spoil();
        answers.boxes.clear();
        command(frame, shellid::networkAdjustment);
        EXPECT_EQ(answers.boxes, std::vector<std::string>{c.message});
        CChildFrame* errors = frame.runWindows().report(ReportKind::error);
        ASSERT_NE(errors, nullptr);
        std::istringstream lines(c.message);
        for (std::string line; std::getline(lines, line);)
            EXPECT_TRUE(holds(guitest::windowLines(*errors), line)) << line;
    }
}

// The message pane says "Ready" again after a run and after the graphics
// window opened, whatever help text the menus and tools left in it.
TEST_F(SurveyorSession, TheStatusBarSaysReadyAfterEachCommand) {
    CMainFrame& frame = openExample();
    for (int id : {shellid::networkAdjustment, shellid::preprocess, shellid::graphics}) {
        SCOPED_TRACE(id);
        frame.GetStatusBar()->SetStatusText("", 0);
        command(frame, id);
        EXPECT_EQ(statusText(frame), "Ready");
    }
    command(frame, shellid::networkAdjustment);
    frame.Raise();
    CChildFrame* report = frame.runWindows().report(ReportKind::report);
    ASSERT_NE(report, nullptr);
    report->activate();
    wxTheApp->ProcessIdle();
    guitest::waitForFirstPaint(&frame);
    EXPECT_TRUE(guitest::saveScreenshot(&frame, screenshots / "main_window_after_run.png"));
}

// A Preprocess run's report has no settings header: the Preprocess tab
// shows its whole text instead of one blank line.
TEST_F(SurveyorSession, ThePreprocessTabShowsAPreprocessRunsReport) {
    CMainFrame& frame = openExample();
    command(frame, shellid::preprocess);
    CChildFrame* report = frame.runWindows().report(ReportKind::report);
    ASSERT_NE(report, nullptr);
    const std::vector<std::string> labels = report->tabLabels();
    ASSERT_GE(labels.size(), 2u);
    EXPECT_EQ(labels[1], "Preprocess");
    report->showSection(1);
    const ReportText::Range shown = report->linesInView();
    EXPECT_EQ(shown.count, report->text().lineCount());
    std::vector<std::string> lines;
    for (int i = shown.first; i < shown.first + shown.count; ++i)
        lines.push_back(report->text().line(i));
    EXPECT_TRUE(holds(lines, "Unadjusted Observations"));
}

// Text is selected with the mouse (a drag from one place to another) or all
// at once, and copied to the clipboard as the lines show it.
TEST_F(SurveyorSession, ReportTextIsSelectedAndCopied) {
    CMainFrame& frame = openExample();
    command(frame, shellid::networkAdjustment);
    CChildFrame* report = frame.runWindows().report(ReportKind::report);
    ASSERT_NE(report, nullptr);
    report->activate();
    wxYield();
    wxWindow* view = report->view();
    const int row = view->GetCharHeight();
    const int column = view->GetTextExtent("M").x;
    // Line 2 of the file is "     LEAST SQUARES ADJUSTMENT REPORT": from
    // its column 5 on line 2 to column 10 of line 3 ("     =====").
    const auto mouse = [view](wxEventType type, int x, int y) {
        wxMouseEvent event(type);
        event.SetPosition(wxPoint(x, y));
        event.m_leftDown = type != wxEVT_LEFT_UP;
        event.SetEventObject(view);
        view->ProcessWindowEvent(event);
    };
    mouse(wxEVT_LEFT_DOWN, 5 * column, 2 * row + row / 2);
    mouse(wxEVT_MOTION, 8 * column, 3 * row + row / 2);
    mouse(wxEVT_MOTION, 10 * column, 3 * row + row / 2);
    mouse(wxEVT_LEFT_UP, 10 * column, 3 * row + row / 2);
    const std::vector<std::string> lines = guitest::fileLines(file("site.RPT"));
    ASSERT_GT(lines.size(), 4u);
    const std::string expected = lines[2].substr(5) + "\n" + lines[3].substr(0, 10);
    EXPECT_EQ(report->selectedText(), expected);

    // Ctrl+C, as the user types it.
    wxKeyEvent copy(wxEVT_KEY_DOWN);
    copy.m_keyCode = 'C';
    copy.m_controlDown = true;
    copy.SetEventObject(view);
    view->ProcessWindowEvent(copy);
    ASSERT_TRUE(wxTheClipboard->Open());
    wxTextDataObject held;
    EXPECT_TRUE(wxTheClipboard->GetData(held));
    wxTheClipboard->Close();
    EXPECT_EQ(held.GetText().utf8_string(), expected);

    report->selectAll();
    std::string all;
    for (std::size_t i = 0; i < lines.size(); ++i)
        all += (i == 0 ? "" : "\n") + lines[i];
    EXPECT_EQ(report->selectedText(), all);
    EXPECT_TRUE(report->copySelection());
}

// The keys the context menu shows work as keys wherever the keyboard focus
// is in the report area: GTK gave them to the row of window tabs after a
// run or a click on a tab, where nothing took them.
TEST_F(SurveyorSession, ReportKeysSelectAllAndCopy) {
    CMainFrame& frame = openExample();
    command(frame, shellid::networkAdjustment);
    CChildFrame* report = frame.runWindows().report(ReportKind::report);
    ASSERT_NE(report, nullptr);
    report->activate();
    const std::vector<std::string> lines = guitest::fileLines(file("site.RPT"));
    std::string all;
    for (std::size_t i = 0; i < lines.size(); ++i)
        all += (i == 0 ? "" : "\n") + lines[i];
    for (wxWindow* focus : {static_cast<wxWindow*>(frame.GetClientWindow()), report->view()}) {
        SCOPED_TRACE(focus == report->view() ? "the text" : "the window tabs");
        // A click leaves nothing selected.
        for (wxEventType type : {wxEVT_LEFT_DOWN, wxEVT_LEFT_UP}) {
            wxMouseEvent click(type);
            click.SetPosition(wxPoint(2, 2));
            click.SetEventObject(report->view());
            report->view()->ProcessWindowEvent(click);
        }
        ASSERT_EQ(report->selectedText(), "");
        guitest::pressKey(focus, 'A', wxMOD_CONTROL);
        EXPECT_EQ(report->selectedText(), all) << "Ctrl+A selects the whole text";
        if (wxTheClipboard->Open()) {
            wxTheClipboard->SetData(new wxTextDataObject("before"));
            wxTheClipboard->Close();
        }
        guitest::pressKey(focus, 'C', wxMOD_CONTROL);
        ASSERT_TRUE(wxTheClipboard->Open());
        wxTextDataObject held;
        EXPECT_TRUE(wxTheClipboard->GetData(held));
        wxTheClipboard->Close();
        EXPECT_EQ(held.GetText().utf8_string(), all) << "Ctrl+C copies it";
    }
}

// The window a run brings to the front is still in front once the windows
// it opened have settled: the report after an adjustment or a Preprocess
// run (not the coordinate listing opened last), the error report, which
// holds the blunder listing, after every blunder detection method.
TEST_F(SurveyorSession, EachRunLeavesItsReportInFront) {
    CMainFrame& frame = openExample();
    const auto settle = [] {
        for (int round = 0; round < 5; ++round) {
            wxTheApp->ProcessPendingEvents();
            wxTheApp->ProcessIdle();
        }
    };
    const auto inFront = [&frame, &settle](ReportKind kind) {
        settle();
        CChildFrame* window = frame.runWindows().report(kind);
        EXPECT_NE(window, nullptr);
        EXPECT_EQ(frame.GetActiveChild(), window)
            << "in front: "
            << (frame.GetActiveChild() ? frame.GetActiveChild()->GetTitle().utf8_string() : "");
    };
    command(frame, shellid::networkAdjustment);
    inFront(ReportKind::report);
    command(frame, shellid::preprocess);
    inFront(ReportKind::report);
    for (int method : {blnrDlg::preprocessMethod, blnrDlg::floatMethod, blnrDlg::reweightMethod}) {
        SCOPED_TRACE(method);
        BlunderChoice choice;
        choice.method = method;
        frame.runBlunderMethod(choice);
        inFront(ReportKind::error);
        CChildFrame* errors = frame.runWindows().report(ReportKind::error);
        ASSERT_NE(errors, nullptr);
        EXPECT_TRUE(holds(guitest::windowLines(*errors), "BLUNDER DETECTION"));
    }
}

// After a blunder detection run the relative error ellipse either works on
// what that run left or says which run it needs; it never denies a point
// the network has.
TEST_F(SurveyorSession, TheRelativeErrorEllipseWorksFromTheLastRun) {
    CMainFrame& frame = openExample();
    command(frame, shellid::networkAdjustment);
    for (int method : {blnrDlg::preprocessMethod, blnrDlg::floatMethod, blnrDlg::reweightMethod}) {
        SCOPED_TRACE(method);
        BlunderChoice choice;
        choice.method = method;
        answers.boxes.clear();
        frame.runBlunderMethod(choice);
        if (method == blnrDlg::preprocessMethod) {
            // Its result is the error report, brought to the front.
            CChildFrame* errors = frame.runWindows().report(ReportKind::error);
            ASSERT_NE(errors, nullptr);
            EXPECT_EQ(frame.GetActiveChild(), errors);
            EXPECT_TRUE(holds(guitest::windowLines(*errors), "Point Proximity Report:"));
        }
        answers.boxes.clear();
        if (frame.openToolDialog(relErrEl::dialogId) == nullptr)
            command(frame, shellid::relErrEllipse);
        auto* dialog = dynamic_cast<relErrEl*>(frame.openToolDialog(relErrEl::dialogId));
        if (dialog == nullptr) {
            EXPECT_EQ(answers.boxes,
                      std::vector<std::string>{
                          "Variance-Covariance matrix not initialized.\nProject must be "
                          "processed to convergence before\nrelative error ellipses can be "
                          "computed."});
            continue;
        }
        static_cast<wxTextCtrl*>(dialog->FindWindow(relErrEl::fromEdit))->ChangeValue("A");
        static_cast<wxTextCtrl*>(dialog->FindWindow(relErrEl::toEdit))->ChangeValue("C");
        dialog->calculate();
        EXPECT_TRUE(answers.boxes.empty()) << answers.boxes.front();
        dialog->Destroy();
        wxTheApp->ProcessIdle();
    }
}

// The recent project is the one opened last, at once, not after a restart.
TEST_F(SurveyorSession, TheProjectOpenedIsTheRecentProjectAtOnce) {
    CMainFrame& frame = openMainWindow();
    EXPECT_FALSE(guitest::commandEnabled(&frame, shellid::recentProject));
    destroyMainWindow();
    CMainFrame& again = openExample();
    EXPECT_TRUE(guitest::commandEnabled(&again, shellid::recentProject));
    EXPECT_EQ(again.GetMenuBar()->GetLabel(shellid::recentProject).utf8_string(),
              file("site.prj").string());
    EXPECT_EQ(again.mruProject(), file("site.prj").string());
}

// Every file dialog of a project starts in the project's folder.
TEST_F(SurveyorSession, FileDialogsStartInTheProjectsFolder) {
    CMainFrame& frame = openExample();
    std::string shownFolder;
    wxTEST_DIALOG(frame.editClosureFile(false), OnDialog<wxFileDialog>([&](wxFileDialog& dialog) {
                      shownFolder = dialog.GetDirectory().utf8_string();
                      return wxID_CANCEL;
                  }));
    EXPECT_EQ(fs::path(shownFolder), folder());
}

// Exit on a changed project offers Cancel, which keeps the program and the
// project open.
TEST_F(SurveyorSession, ExitOnAChangedProjectCanBeCancelled) {
    CMainFrame& frame = openExample();
    globalVars changed = projectVars;
    changed.maxIterations = 7;
    frame.applySettingsSheet(changed);
    ASSERT_TRUE(frame.state().modified);
    long style = 0;
    wxTEST_DIALOG(EXPECT_FALSE(frame.Close()),
                  OnDialog<wxMessageDialog>([&style](wxMessageDialog& box) {
                      style = box.GetMessageDialogStyle();
                      return wxID_CANCEL;
                  }));
    EXPECT_TRUE(style & wxCANCEL);
    EXPECT_TRUE(style & wxYES_NO);
    EXPECT_TRUE(frame.IsShown());
    EXPECT_FALSE(frame.IsBeingDeleted());
    EXPECT_TRUE(frame.state().projectOpen);
    EXPECT_TRUE(frame.state().modified);
}

// Presses the editor's Exit (or Cancel) button.
void pressExit(wxDialog& editor) {
    wxCommandEvent exit(wxEVT_BUTTON, wxID_CANCEL);
    exit.SetEventObject(editor.FindWindow(wxID_CANCEL));
    editor.ProcessWindowEvent(exit);
}

// Runs the editor modally while `act` works it; an editor that `act` left
// open is a failure and is ended.
void runEditor(wxDialog& editor, std::function<void()> act) {
    wxTheApp->CallAfter([&editor, act] {
        act();
        if (editor.IsModal()) {
            ADD_FAILURE() << "the editor is still open";
            editor.EndModal(wxID_CANCEL);
        }
    });
    guitest::RealDialogsAllowed real;
    editor.ShowModal();
}

// The closure editor asks before its Exit drops an added or edited row, and
// asks nothing when nothing was edited.
TEST_F(SurveyorSession, TheClosureEditorAsksBeforeDroppingEdits) {
    CMainFrame& frame = openMainWindow();
    const std::string path = file("loops.cls").string();
    testsupport::writeBytes(path, "VERT_CLOSURE ON\r\nANG_CLOSURE ON\r\nTRAV_TYPE "
                                  "LOOP_INTERIOR_REF\r\nTRAV_LIST A,B,C,A\r\nTRAV_END\r\n");
    const std::string before = testsupport::readBytes(path);
    const std::string question = "Save the changes to " + path + "?";
    {
        trvClose editor(&frame, path);
        EXPECT_FALSE(editor.edited());
        runEditor(editor, [&] { pressExit(editor); });
        EXPECT_TRUE(answers.boxes.empty()) << "nothing was edited, nothing is asked";
    }
    {
        trvClose editor(&frame, path);
        editor.appendDefinitionRow();
        EXPECT_TRUE(editor.edited()) << "an added row";
        runEditor(editor, [&] {
            wxTEST_DIALOG(pressExit(editor), ExpectMessage(question, wxCANCEL));
            EXPECT_TRUE(editor.IsModal()) << "Cancel keeps the editor open";
            editor.grid().SetCellText(2, 1, "D,E,F");
            wxTEST_DIALOG(pressExit(editor), ExpectMessage(question, wxNO));
        });
    }
    EXPECT_EQ(testsupport::readBytes(path), before) << "No keeps the file as it was";
    {
        trvClose editor(&frame, path);
        editor.appendDefinitionRow();
        editor.grid().SetCellText(2, 1, "D,E,F");
        runEditor(editor,
                  [&] { wxTEST_DIALOG(pressExit(editor), ExpectMessage(question, wxYES)); });
    }
    EXPECT_NE(testsupport::readBytes(path).find("D,E,F"), std::string::npos);
}

// The ALTA points dialog asks the same before Cancel drops what was added.
TEST_F(SurveyorSession, TheAltaPointsDialogAsksBeforeDroppingEdits) {
    CMainFrame& frame = openMainWindow();
    const std::string path = file("site.alt").string();
    testsupport::writeBytes(path, "RPT_ALL_MAX_PTS 5\r\nREL_ERR_ALL 1\r\n");
    const std::string before = testsupport::readBytes(path);
    const std::string question = "Save the changes to " + path + "?";
    {
        CAltaPtsDlg dialog(&frame, path);
        EXPECT_FALSE(dialog.edited());
        runEditor(dialog, [&] { pressExit(dialog); });
        EXPECT_TRUE(answers.boxes.empty());
    }
    {
        CAltaPtsDlg dialog(&frame, path);
        static_cast<wxTextCtrl*>(dialog.FindWindow(CAltaPtsDlg::pointEdit))->ChangeValue("7");
        wxCommandEvent add(wxEVT_BUTTON, CAltaPtsDlg::addPointButton);
        add.SetEventObject(dialog.FindWindow(CAltaPtsDlg::addPointButton));
        dialog.ProcessWindowEvent(add);
        EXPECT_TRUE(dialog.edited());
        runEditor(dialog, [&] {
            wxTEST_DIALOG(pressExit(dialog), ExpectMessage(question, wxCANCEL));
            EXPECT_TRUE(dialog.IsModal());
            wxTEST_DIALOG(pressExit(dialog), ExpectMessage(question, wxNO));
        });
    }
    EXPECT_EQ(testsupport::readBytes(path), before);
}

// The main window cannot be made so small that GTK must squeeze a report
// window's tabs and scroll bar (it warns about each, which fails the test).
TEST_F(SurveyorSession, TheMainWindowKeepsRoomForItsReports) {
    CMainFrame& frame = openExample();
    command(frame, shellid::networkAdjustment);
    ASSERT_NE(frame.runWindows().report(ReportKind::report), nullptr);
    frame.SetSize(frame.FromDIP(wxSize(200, 120)));
    wxYield();
    EXPECT_GE(frame.GetSize().y, frame.FromDIP(400));
    EXPECT_GE(frame.GetSize().x, frame.FromDIP(560));
    frame.SetSize(frame.FromDIP(wxSize(800, 560)));
    wxYield();
}

} // namespace
