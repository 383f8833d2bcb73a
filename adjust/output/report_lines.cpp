#include "output/report_lines.hpp"

#include "platform/shell_services.hpp"
#include "platform/system_reason.hpp"

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

// The path a handle was opened with, as the system keeps it; empty when it
// cannot be told.
std::string pathOfHandle(int handle) {
    const std::string link = "/proc/self/fd/" + std::to_string(handle);
    char path[4096];
    const ssize_t length = ::readlink(link.c_str(), path, sizeof path);
    return length > 0 && static_cast<std::size_t>(length) < sizeof path
               ? std::string(path, static_cast<std::size_t>(length))
               : std::string();
}

// No run context reaches writeLine and writeRptErrLine: their interface has none, so the shell is
// the active one (the run installs its own for its length).
int reportWriteFailure(int handle) {
    const int reason = errno;
    const std::string path = pathOfHandle(handle);
    const std::string text =
        path.empty() ? "Error writing output" : "Error writing output to " + path;
    activeShell().message(platform::withSystemReason(text, reason), MessageKind::ok);
    return 1;
}

} // namespace

int writeLine(int handle, const std::string& text) {
    if (handle <= 0)
        return 0;
    if (!writeBytes(handle, text.data(), text.size()) || !writeBytes(handle, lineEnd, 2))
        return reportWriteFailure(handle);
    return 0;
}

int writeRptErrLine(const std::string& text) {
    const int handles[] = {rptFile, errFile};
    for (const int handle : handles) {
        if (handle > 0 && !writeBytes(handle, text.data(), text.size()))
            return reportWriteFailure(handle);
    }
    for (const int handle : handles) {
        if (handle > 0 && !writeBytes(handle, lineEnd, 2))
            return reportWriteFailure(handle);
    }
    return 0;
}

std::string skipLeadingBlanks(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first);
}
