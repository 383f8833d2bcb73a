#pragma once
// What the desktop program's tests share: a fresh configuration folder and
// fresh project settings per test, the main window made and torn down,
// waiting for a window's first paint, screenshots, and canned answers to
// message boxes that also check their text.

#include "gridctrl/grid_ctrl.hpp"
#include "model/settings/global_vars.hpp"
#include "platform/profile_store.hpp"
#include "shell/main_frame.hpp"
#include "shell/report_window.hpp"
#include "shell/wx_shell.hpp"
#include "support/config_folder_guard.hpp"
#include "support/project_vars_guard.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>
#include <wx/modalhook.h>
#include <wx/testing.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace guitest {

// While one exists, a modal dialog that no wxTEST_DIALOG expects is shown
// for real instead of being refused (the test then ends it itself).
class RealDialogsAllowed {
public:
    RealDialogsAllowed();
    ~RealDialogsAllowed();
    RealDialogsAllowed(const RealDialogsAllowed&) = delete;
    RealDialogsAllowed& operator=(const RealDialogsAllowed&) = delete;
};
bool realDialogsAllowed();

// Runs the pending events until `window` has painted once.
void waitForFirstPaint(wxWindow* window);

// Runs the pending events until `done` says so, or for as many rounds as a
// window's first paint may take.
void yieldUntil(const std::function<bool()>& done);

// Lets the toolkit finish what the last input set going: the events it
// has, its idle work, and the X server's answers to the requests those made,
// until a round brings no more.
void settle();

// `dialog` belongs to `owner` and its middle is the owner's middle (to the
// pixel that halving an odd size loses).
void expectCentredOn(const wxWindow* dialog, const wxWindow* owner);

// The title of the top-level window that has the X server's keyboard focus
// (which the keys a user types go to); empty when no window of a title has it.
std::string titleWithTheKeyboardFocus();

// Writes what `window` shows on the screen to `path` as a PNG; false on failure.
bool saveScreenshot(wxWindow* window, const std::filesystem::path& path);

// A left click (shift-click with `shift`) on the middle of a grid cell,
// through the grid's own mouse handling: it notifies the grid's parent as a
// user's click does.
void clickCell(gridctrl::CGridCtrl& grid, int row, int col, bool shift = false);

// A key press as the window's event handling meets it: wxEVT_CHAR_HOOK,
// then (unless that was used) wxEVT_KEY_DOWN and wxEVT_CHAR, each sent to
// `window` and passed up its parents as the toolkit passes them.
void pressKey(wxWindow* window, int code, int modifiers = wxMOD_NONE);

// Whether the command `id` is enabled, as the window's update handlers say.
bool commandEnabled(wxWindow* window, int id);

// Expects a message box of the main window with exactly `text` and the
// caption "Tarnwell", and answers it with `button` (wxOK, wxYES, wxNO, wxCANCEL).
class ExpectMessage : public wxExpectModalBase<wxMessageDialog, ExpectMessage> {
public:
    ExpectMessage(std::string text, int button) : text_(std::move(text)), button_(button) {}

protected:
    int OnInvoked(wxMessageDialog* dialog) const override;

private:
    std::string text_;
    int button_;
};

// Expects a file dialog of the main window (with `title` when one is given)
// and chooses `path` in it; an empty path cancels it.
class ChooseFile : public wxExpectModalBase<wxFileDialog, ChooseFile> {
public:
    explicit ChooseFile(std::filesystem::path path, std::string title = {})
        : path_(std::move(path)), title_(std::move(title)) {}

protected:
    int OnInvoked(wxFileDialog* dialog) const override;

private:
    std::filesystem::path path_;
    std::string title_;
};

// Expects a modal dialog of type `Dialog` and hands it to `act`, whose answer
// (wxID_OK, wxID_CANCEL, ...) ends it; dialogs that `act` opens meet the
// expectations that follow this one.
template <class Dialog> class OnDialog : public wxExpectModalBase<Dialog, OnDialog<Dialog>> {
public:
    explicit OnDialog(std::function<int(Dialog&)> act) : act_(std::move(act)) {}

protected:
    int OnInvoked(Dialog* dialog) const override { return act_(*dialog); }

private:
    std::function<int(Dialog&)> act_;
};

// Report-window calls as the processing windows would receive them.
class RecordingRunWindows : public RunWindows {
public:
    void setMessage(const std::string&) override {}
    void setPercent(int) override {}
    void showCancel(bool) override {}
    void pump() override {}
    bool cancelled() override { return false; }
    void messageList(const std::vector<std::string>& lines) override { lists.push_back(lines); }
    void showReport(const std::string& path, ReportKind kind) override {
        shown.push_back({path, kind});
    }
    void activateReport(ReportKind) override {}
    void closeAllReports() override {}
    void appendToReport(const std::string&) override {}
    int overwritePrompt(crdOverwriteRec&) override { return 0; }

    std::vector<std::pair<std::string, ReportKind>> shown;
    std::vector<std::vector<std::string>> lists;
};

// Each test: its own folder (with the user's configuration folder inside
// it), fresh project settings, and no main window left behind.
class ShellTest : public ::testing::Test {
protected:
    ShellTest();
    ~ShellTest() override;

    const std::filesystem::path& folder() const { return folder_.path(); }
    std::filesystem::path file(const std::string& name) const { return folder_ / name; }

    // The program's profile as stored now; values set here are saved at once.
    platform::ProfileStore profile() const;
    void storeProfile(const std::string& section, const std::string& name,
                      const std::string& value) const;

    // Makes and shows the main window (no start-up dialog) and waits for its paint.
    CMainFrame& openMainWindow();
    // The main window with the example project (copied into the test's folder) open.
    CMainFrame& openExample();
    // Sends the menu command `id` to the window.
    static void command(CMainFrame& frame, int id);
    // Closes the window without the close questions and deletes it, which
    // writes its profile values.
    void destroyMainWindow();
    // The window closed itself: deletes it as the event loop would.
    void mainWindowClosed();
    CMainFrame* frame() const { return frame_; }
    void adoptFrame(CMainFrame* frame) { frame_ = frame; }

private:
    testsupport::TempFolder folder_;
    testsupport::ConfigFolderGuard config_;
    testsupport::ProjectVarsGuard settings_;

protected:
    CMainFrame* frame_ = nullptr;
};

// Answers every message box and message list with OK and keeps their texts,
// whatever stage a run reaches; both must belong to the main window.
class AnswerEveryBox : public wxModalDialogHook {
public:
    AnswerEveryBox() { Register(); }
    ~AnswerEveryBox() override { Unregister(); }
    AnswerEveryBox(const AnswerEveryBox&) = delete;
    AnswerEveryBox& operator=(const AnswerEveryBox&) = delete;

    std::vector<std::string> boxes;
    std::vector<std::vector<std::string>> lists;

protected:
    int Enter(wxDialog* dialog) override;
    void Exit(wxDialog*) override {}
};

// The lines of a CR LF file, as a reader independent of the window sees them.
std::vector<std::string> fileLines(const std::filesystem::path& path);
// The lines a report window holds.
std::vector<std::string> windowLines(const CChildFrame& window);

// A project file holding every built-in default but the settings given as
// "key=value" lines.
void writeProject(const std::filesystem::path& path, const std::vector<std::string>& changes = {});

} // namespace guitest
