#include "reports/report_files.hpp"

#include "model/settings/global_vars.hpp"
#include "model/settings/project_paths.hpp"
#include "output/report_lines.hpp"
#include "platform/c_locale_text.hpp"
#include "platform/paths.hpp"
#include "platform/shell_services.hpp"

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <initializer_list>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int failedOpen = -1;

std::string withExtension(const std::string& path, const std::string& extension) {
    std::filesystem::path p = platform::pathFromText(path);
    p.replace_extension(extension);
    return p.string();
}

void removeIfPresent(const std::string& path) {
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
}

// Descriptor 0 would read as "not open" to the writers: move it elsewhere.
int keepOffZero(int fd) {
    if (fd != 0)
        return fd;
    const int moved = ::fcntl(fd, F_DUPFD_CLOEXEC, 1);
    ::close(fd);
    return moved < 0 ? failedOpen : moved;
}

// A new file gets what the user's umask leaves of read-write for all, as any
// file the user makes: colleagues may read the reports if the umask says so.
// Its lines go through a buffer until it is closed.
int openOutput(const std::string& path, int mode) {
    if (mode == startNewFile)
        removeIfPresent(path);
    const int handle = keepOffZero(
        mode == startNewFile ? ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666)
                             : ::open(path.c_str(), O_RDWR | O_APPEND | O_CLOEXEC));
    startBufferedOutput(handle);
    return handle;
}

// A file whose last lines could not be written closes with the failure
// noted and a result of 1.
int closeHandle(int& handle) {
    if (handle <= 0) {
        handle = 0;
        return 0;
    }
    const int pendingWritten = endBufferedOutput(handle);
    const int result = ::close(handle);
    handle = 0;
    return result != 0 ? result : pendingWritten;
}

} // namespace

std::string projectOutputPath(const std::string& extension) {
    return withExtension(projectVars.projectFileName, extension);
}

int deleteOutputFiles() {
    projectVars.reportFileName = projectOutputPath(".RPT");
    removeIfPresent(projectVars.reportFileName);
    removeIfPresent(withExtension(projectVars.reportFileName, ".ERR"));
    return 0;
}

int openRptFile(int mode) {
    projectVars.reportFileName = projectOutputPath(".RPT");
    rptFile = openOutput(projectVars.reportFileName, mode);
    return rptFile;
}

int openErrFile(int mode) {
    const std::string& base = projectVars.reportFileName.empty() ? projectVars.projectFileName
                                                                 : projectVars.reportFileName;
    errFile = openOutput(withExtension(base, ".ERR"), mode);
    return errFile;
}

int StagedOutput::create() {
    discard();
    std::string pattern = path_ + ".XXXXXX";
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0)
        return failedOpen;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
    tempPath_ = pattern;
    handle_ = keepOffZero(fd);
    if (handle_ == failedOpen)
        removeIfPresent(tempPath_);
    else
        startBufferedOutput(handle_);
    return handle_;
}

bool StagedOutput::commit() {
    if (handle_ <= 0)
        return false;
    const bool closed = closeHandle(handle_) == 0;
    if (closed && ::rename(tempPath_.c_str(), path_.c_str()) == 0) {
        tempPath_.clear();
        return true;
    }
    const int reason = errno;
    discard();
    errno = reason;
    return false;
}

void StagedOutput::discard() {
    closeHandle(handle_);
    if (!tempPath_.empty())
        removeIfPresent(tempPath_);
    tempPath_.clear();
}

int closeRptFile() {
    return closeHandle(rptFile);
}

int closeErrFile() {
    return closeHandle(errFile);
}

std::string ctimeText(std::chrono::system_clock::time_point when) {
    static const char* const days[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const std::time_t t = std::chrono::system_clock::to_time_t(when);
    std::tm local{};
    localtime_r(&t, &local);
    return platform::formatC("%.3s %.3s%3d %.2d:%.2d:%.2d %d", days[local.tm_wday],
                             months[local.tm_mon], local.tm_mday, local.tm_hour, local.tm_min,
                             local.tm_sec, 1900 + local.tm_year);
}

std::vector<std::string> inputFileNames() {
    std::vector<std::string> names = fileListNames(projectVars.pInputFileName);
    const auto add = [&names](const std::string& list) {
        for (std::string& name : fileListNames(list))
            names.push_back(std::move(name));
    };
    if (projectVars.includeGPSVectors != 0)
        add(projectVars.pGPSFileName);
    if (projectVars.includeLevData != 0)
        add(projectVars.pLevRawFileName);
    return names;
}

// No run context reaches writeErrHeader: its interface has none, so the shell is
// the active one (the run installs its own for its length).
int writeErrHeader(int handle) {
    const std::string rule = "     " + std::string(37, '=');
    for (const std::string& line :
         {std::string(), rule, std::string("     LEAST SQUARES ADJUSTMENT ERROR REPORT"), rule,
          std::string(), ctimeText(activeShell().now()), std::string("Input Raw Files:")}) {
        if (writeLine(handle, line) != 0)
            return 1;
    }
    for (const std::string& name : inputFileNames()) {
        if (writeLine(handle, "    " + name) != 0)
            return 1;
    }
    if (projectVars.supplamentalNE != 0 &&
        writeLine(handle, "Control File:  " + projectVars.controlNEFileName) != 0)
        return 1;
    if (writeLine(handle, "Output File: " + projectVars.reportFileName) != 0)
        return 1;
    return writeLine(handle, "") != 0 ? 1 : 0;
}
