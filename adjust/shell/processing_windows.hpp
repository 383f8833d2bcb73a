#pragma once
// The windows of processing runs in the main window: the progress dialog
// while a run is under way, the message list, and the report windows, at
// most one of each kind, and the coordinate file library's point-overwrite
// question. Ctrl+C and Ctrl+A are the active report window's wherever the
// keyboard focus is in the main window. While a run is under way every other window of the
// program is disabled, so that no command can change the project under it.

#include "shell/wx_shell.hpp"

#include "ptbank/dialogs/wx_crd_ui.hpp"

#include <array>
#include <functional>
#include <memory>
#include <optional>

class CChildFrame;
class CProgress;
class wxMDIParentFrame;
class wxKeyEvent;
class wxWindowDisabler;

class ProcessingWindows : public RunWindows {
public:
    // `lastReportClosed` is called when the last report window goes.
    ProcessingWindows(wxMDIParentFrame& frame, std::function<void()> lastReportClosed);
    ~ProcessingWindows() override;
    ProcessingWindows(const ProcessingWindows&) = delete;
    ProcessingWindows& operator=(const ProcessingWindows&) = delete;

    // Puts up the progress dialog and disables every other window.
    void startRun();
    // Takes the progress dialog down and enables the windows again.
    void endRun();
    bool running() const { return progress_ != nullptr; }
    // Brings the report that the last run brought forward to the front
    // again, over a window refreshed after the run.
    void bringRunReportForward();
    CProgress* progress() const { return progress_; }
    CChildFrame* report(ReportKind kind) const { return reports_[index(kind)]; }

    void setMessage(const std::string& text) override;
    void setPercent(int percent) override;
    void showCancel(bool shown) override;
    void pump() override;
    bool cancelled() override;
    void messageList(const std::vector<std::string>& lines) override;
    // Opens or reloads the window of `kind`; a file that cannot be opened
    // gives "Error opening %s: <the system's reason>", an empty one changes
    // nothing.
    void showReport(const std::string& path, ReportKind kind) override;
    void activateReport(ReportKind kind) override;
    void closeAllReports() override;
    void appendToReport(const std::string& line) override;
    int overwritePrompt(crdOverwriteRec& request) override;

private:
    static size_t index(ReportKind kind) { return static_cast<size_t>(kind); }
    void reportGone(CChildFrame* window);
    void onCharHook(wxKeyEvent& event);

    wxMDIParentFrame& frame_;
    std::function<void()> lastReportClosed_;
    CProgress* progress_ = nullptr;
    std::unique_ptr<wxWindowDisabler> disabler_;
    std::array<CChildFrame*, 3> reports_{};
    std::optional<ReportKind> broughtForward_;
    // The coordinate file library's questions and messages in windows.
    ptbank::WxCrdUi crdUi_;
};
