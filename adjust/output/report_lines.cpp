#include "output/report_lines.hpp"

#include "platform/shell_services.hpp"
#include "platform/system_reason.hpp"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>
#include <vector>

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

struct WriteFailure {
    std::string text;
    bool inErrorReport = false;
};

std::vector<WriteFailure>& writeFailures() {
    static std::vector<WriteFailure> failures;
    return failures;
}

// The file behind a descriptor, for the message; the descriptor when the
// system cannot say.
std::string pathOfHandle(int handle) {
    const std::string link = "/proc/self/fd/" + std::to_string(handle);
    char path[4096];
    const ssize_t n = ::readlink(link.c_str(), path, sizeof path);
    return n > 0 ? std::string(path, static_cast<std::size_t>(n))
                 : "(descriptor " + std::to_string(handle) + ")";
}

int reportWriteFailure(int handle) {
    const std::string reason = std::strerror(errno);
    noteOutputWriteFailure(pathOfHandle(handle), reason);
    return 1;
}

} // namespace

// No run context reaches the line writers: their interface has none, so the
// shell is the active one (the run installs its own for its length). Each
// file's failure is shown and put in the error report once.
bool recordOutputWriteFailure(const std::string& path, const std::string& reason) {
    const std::string text = "Error writing output to " + path + ": " + reason;
    std::vector<WriteFailure>& failures = writeFailures();
    if (std::any_of(failures.begin(), failures.end(),
                    [&](const WriteFailure& f) { return f.text == text; }))
        return false;
    WriteFailure failure{text};
    if (errFile > 0 && pathOfHandle(errFile) != path) {
        const std::string line = text + lineEnd;
        failure.inErrorReport = writeBytes(errFile, line.data(), line.size());
    }
    failures.push_back(failure);
    return true;
}

void noteOutputWriteFailure(const std::string& path, const std::string& reason) {
    if (recordOutputWriteFailure(path, reason))
        activeShell().message("Error writing output to " + path + ": " + reason, MessageKind::ok);
}

std::vector<std::string> outputWriteFailures(bool onlyOutsideErrorReport) {
    std::vector<std::string> texts;
    for (const WriteFailure& failure : writeFailures())
        if (!onlyOutsideErrorReport || !failure.inErrorReport)
            texts.push_back(failure.text);
    return texts;
}

void clearOutputWriteFailures() {
    writeFailures().clear();
}

int writeText(int handle, const std::string& text) {
    if (handle <= 0)
        return 0;
    return writeBytes(handle, text.data(), text.size()) ? 0 : reportWriteFailure(handle);
}

// The line and its end go to the file in one system call: a report has
// thousands of lines, and a second call for each line end alone doubled the
// system's share of writing it.
int writeLine(int handle, const std::string& text) {
    std::string line;
    line.reserve(text.size() + 2);
    line.append(text).append(lineEnd, 2);
    return writeText(handle, line);
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
