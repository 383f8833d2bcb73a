// File/Print: the chosen report windows' lines in view, each as a job of
// its own on the default printer.

#include "model/settings/global_vars.hpp"
#include "shell/main_frame.hpp"
#include "shell/print_dialog.hpp"
#include "shell/report_printing.hpp"
#include "shell/report_window.hpp"

namespace {

// The window's lines in view, copied: the job must not depend on the window,
// which may close while the job runs.
std::vector<std::string> linesInView(const CChildFrame& window) {
    const ReportText::Range range = window.linesInView();
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(range.count));
    for (int i = 0; i < range.count; ++i)
        lines.push_back(window.text().line(range.first + i));
    return lines;
}

} // namespace

void CMainFrame::printReports() {
    print dialog(this);
    if (dialog.ShowModal() != wxID_OK)
        return;
    const struct {
        int chosen;
        ReportKind kind;
    } jobs[] = {
        {dialog.nezListing, ReportKind::output},
        {dialog.leastSquaresReport, ReportKind::report},
        {dialog.errorReport, ReportKind::error},
    };
    for (const auto& job : jobs) {
        const CChildFrame* window = runWindows_.report(job.kind);
        if (job.chosen == 0 || window == nullptr)
            continue;
        // A job that failed says why; the next would fail the same way.
        if (const auto failure =
                printReportLines(this, projectVars.pInputFileName, linesInView(*window))) {
            shell_.message(*failure, MessageKind::ok);
            return;
        }
    }
}
