#include "output/report_lines.hpp"

#include "platform/shell_services.hpp"

#include <cerrno>
#include <unistd.h>

int rptFile = 0;
int errFile = 0;

namespace {

constexpr char lineEnd[] = "\r\n";

bool writeBytes(int handle, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(handle, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// No run context reaches writeLine and writeRptErrLine: their interface has none, so the shell is
// the active one (the run installs its own for its length).
int reportWriteFailure() {
    activeShell().message("Error writing output", MessageKind::ok);
    return 1;
}

} // namespace

int writeLine(int handle, const std::string& text) {
    if (handle <= 0)
        return 0;
    if (!writeBytes(handle, text.data(), text.size()) || !writeBytes(handle, lineEnd, 2))
        return reportWriteFailure();
    return 0;
}

int writeRptErrLine(const std::string& text) {
    const int handles[] = {rptFile, errFile};
    for (const int handle : handles) {
        if (handle > 0 && !writeBytes(handle, text.data(), text.size()))
            return reportWriteFailure();
    }
    for (const int handle : handles) {
        if (handle > 0 && !writeBytes(handle, lineEnd, 2))
            return reportWriteFailure();
    }
    return 0;
}

std::string skipLeadingBlanks(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first);
}
