#include "reports/report_windows.hpp"

#include "platform/shell_services.hpp"
#include "reports/report_files.hpp"

#include <filesystem>

namespace {

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
