#include "output/report_lines.hpp"

#include "platform/shell_services.hpp"
#include "platform/system_reason.hpp"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
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

constexpr std::size_t blockSize = 1 << 16;

struct PendingOutput {
    std::string bytes;
    bool failed = false;
};

// The buffered handles and what waits to be written to each. A map keeps
// each entry in place while a failure note adds to the error report's.
std::map<int, PendingOutput>& pendingOutputs() {
    static std::map<int, PendingOutput> pending;
    return pending;
}

// Writes the pending bytes; false (noted once) when the write failed now or before.
bool writePending(int handle, PendingOutput& pending) {
    if (pending.failed)
        return false;
    if (pending.bytes.empty())
        return true;
    const bool written = writeBytes(handle, pending.bytes.data(), pending.bytes.size());
    pending.bytes.clear();
    if (written)
        return true;
    pending.failed = true;
    reportWriteFailure(handle);
    return false;
}

// Writes `size` bytes to the handle, through its buffer when it has one; 0, or 1 after a failure.
int sendBytes(int handle, const char* data, std::size_t size) {
    auto found = pendingOutputs().find(handle);
    if (found == pendingOutputs().end())
        return writeBytes(handle, data, size) ? 0 : reportWriteFailure(handle);
    PendingOutput& pending = found->second;
    if (pending.failed)
        return 1;
    pending.bytes.append(data, size);
    if (pending.bytes.size() < blockSize)
        return 0;
    return writePending(handle, pending) ? 0 : 1;
}

} // namespace

void startBufferedOutput(int handle) {
    if (handle > 0)
        pendingOutputs()[handle] = PendingOutput{};
}

int endBufferedOutput(int handle) {
    auto found = pendingOutputs().find(handle);
    if (found == pendingOutputs().end())
        return 0;
    const bool written = writePending(handle, found->second);
    pendingOutputs().erase(handle);
    return written ? 0 : 1;
}

int flushBufferedOutput() {
    int result = 0;
    for (auto& [handle, pending] : pendingOutputs())
        if (!pending.failed && !writePending(handle, pending))
            result = 1;
    return result;
}

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
        // Behind the lines already written, and on disk at once.
        const std::string line = text + lineEnd;
        const auto buffered = pendingOutputs().find(errFile);
        failure.inErrorReport =
            buffered == pendingOutputs().end()
                ? writeBytes(errFile, line.data(), line.size())
                : !buffered->second.failed && (buffered->second.bytes.append(line),
                                               writePending(errFile, buffered->second));
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
    return sendBytes(handle, text.data(), text.size());
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
        if (handle > 0 && sendBytes(handle, text.data(), text.size()) != 0)
            return 1;
    }
    for (const int handle : handles) {
        if (handle > 0 && sendBytes(handle, lineEnd, 2) != 0)
            return 1;
    }
    return 0;
}

std::string skipLeadingBlanks(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first);
}
