#include "reports/report_windows.hpp"

#include "platform/shell_services.hpp"
#include "reports/report_files.hpp"

#include <filesystem>

namespace {

// No run context reaches showRptReport, showErrReport and showOutReport (also menu commands outside
// any run): their interface has none, so the shell is the active one (the run installs its own for
// its length).
int showProjectReport(const char* extension, ReportKind kind) {
    const std::string path = projectOutputPath(extension);
    std::error_code ec;
    if (!std::filesystem::exists(path, ec))
        return 1;
    activeShell().showReport(path, kind);
    return 0;
}

} // namespace

int showRptReport() {
    return showProjectReport(".RPT", ReportKind::report);
}

int showErrReport() {
    return showProjectReport(".ERR", ReportKind::error);
}

int showOutReport() {
    return showProjectReport(".OUT", ReportKind::output);
}
