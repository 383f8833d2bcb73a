#include "shell/processing_windows.hpp"

#include "shell/message_list_dialog.hpp"
#include "shell/progress_dialog.hpp"
#include "shell/report_window.hpp"

#include "platform/system_reason.hpp"
#include "ptbank/crd_overwrite_rec.h"

#include <algorithm>
#include <filesystem>

#include <wx/mdi.h>
#include <wx/utils.h>

ProcessingWindows::ProcessingWindows(wxMDIParentFrame& frame,
                                     std::function<void()> lastReportClosed)
    : frame_(frame), lastReportClosed_(std::move(lastReportClosed)) {
    frame_.Bind(wxEVT_CHAR_HOOK, &ProcessingWindows::onCharHook, this);
}

// The report windows outlive this object when the main window is deleted.
ProcessingWindows::~ProcessingWindows() {
    frame_.Unbind(wxEVT_CHAR_HOOK, &ProcessingWindows::onCharHook, this);
    for (CChildFrame* window : reports_)
        if (window != nullptr)
            window->forgetOwner();
}

// Cancel is offered from the start of the run to its end: on a big network
// every phase (reading, the lists, the preliminary coordinates, the
// factorizations, the statistics, the listings) takes seconds, and Escape or
// Cancel ends each of them. The engine's requests to hide it are not followed.
void ProcessingWindows::startRun() {
    broughtForward_.reset();
    progress_ = new CProgress(&frame_);
    disabler_ = std::make_unique<wxWindowDisabler>(progress_);
    progress_->showCancel();
    progress_->Update();
}

void ProcessingWindows::endRun() {
    disabler_.reset();
    if (progress_ != nullptr)
        progress_->Destroy();
    progress_ = nullptr;
}

void ProcessingWindows::setMessage(const std::string& text) {
    if (progress_ != nullptr)
        progress_->setMessage(text);
}

void ProcessingWindows::setPercent(int percent) {
    if (progress_ != nullptr)
        progress_->setPosition(percent);
}

void ProcessingWindows::showCancel(bool shown) {
    if (progress_ != nullptr && shown)
        progress_->showCancel();
}

void ProcessingWindows::pump() {
    if (progress_ != nullptr)
        progress_->pumpMessages();
}

bool ProcessingWindows::cancelled() {
    return progress_ != nullptr && progress_->isCancelled();
}

void ProcessingWindows::messageList(const std::vector<std::string>& lines) {
    CDlgMsg dialog(&frame_);
    for (const std::string& text : lines)
        dialog.addMessage(text);
    dialog.ShowModal();
}

void ProcessingWindows::showReport(const std::string& path, ReportKind kind) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec) {
        activeShell().message(platform::withSystemReason("Error opening " + path, ec.value()),
                              MessageKind::ok);
        return;
    }
    if (size == 0)
        return;
    if (CChildFrame* window = reports_[index(kind)]) {
        window->reload(path);
        return;
    }
    auto* window =
        new CChildFrame(&frame_, path, kind, [this](CChildFrame* gone) { reportGone(gone); });
    reports_[index(kind)] = window;
    window->Show();
}

void ProcessingWindows::reportGone(CChildFrame* window) {
    std::replace(reports_.begin(), reports_.end(), window, static_cast<CChildFrame*>(nullptr));
    if (std::all_of(reports_.begin(), reports_.end(), [](CChildFrame* w) { return !w; }))
        lastReportClosed_();
}

void ProcessingWindows::activateReport(ReportKind kind) {
    if (running())
        broughtForward_ = kind;
    if (CChildFrame* window = reports_[index(kind)])
        window->activate();
}

void ProcessingWindows::bringRunReportForward() {
    if (broughtForward_)
        activateReport(*broughtForward_);
}

// The keys reach the main window from the report's text, from the row of
// window tabs (which a click on a tab leaves with the focus) and from the
// section tabs alike.
void ProcessingWindows::onCharHook(wxKeyEvent& event) {
    auto* report = dynamic_cast<CChildFrame*>(frame_.GetActiveChild());
    const int key = event.GetKeyCode();
    if (report == nullptr || event.GetModifiers() != wxMOD_CONTROL) {
        event.Skip();
    } else if (key == 'C' || key == WXK_INSERT) {
        report->copySelection();
    } else if (key == 'A') {
        report->selectAll();
    } else {
        event.Skip();
    }
}

void ProcessingWindows::closeAllReports() {
    for (CChildFrame* window : reports_)
        if (window != nullptr)
            window->Close(true);
}

void ProcessingWindows::appendToReport(const std::string& line) {
    if (CChildFrame* window = reports_[index(ReportKind::report)])
        window->appendText(line);
}

// The coordinate file library asks, over the main window, unless the
// stored point is the same as the new one.
int ProcessingWindows::overwritePrompt(crdOverwriteRec& request) {
    return VkCrdApi_overwrite_point(&request, &frame_);
}
