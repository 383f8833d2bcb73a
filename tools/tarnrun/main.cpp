// tarnrun: runs a project's adjustment (or its preprocessing) without a
// window, printing each stage, answering questions by policy and saying
// where the reports went.
//
// Exit status: 0 the run reached its end and the adjustment converged (or
// preprocessing completed); 1 the run stopped early, final points were not
// stored in the coordinate file, or an output could not be written; 2 the run
// ended but the adjustment failed or was cancelled; 3 usage error, a folder
// that does not exist, an unreadable project, or a project setting refused.

#include "console_shell.hpp"
#include "error_report_messages.hpp"
#include "model/settings/global_vars.hpp"
#include "model/settings/ini_paths.hpp"
#include "model/settings/project_file.hpp"
#include "platform/paths.hpp"
#include "platform/system_reason.hpp"
#include "reports/report_files.hpp"
#include "run/processing_driver.hpp"
#include "run_options.hpp"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <malloc.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int exitCompleted = 0;
constexpr int exitStopped = 1;
constexpr int exitAdjustmentFailed = 2;
constexpr int exitUsage = 3;

void onInterrupt(int) {
    ConsoleShell::cancelRequested = 1;
}

// Ctrl-C is the Cancel button from here on, also when the program was
// started with SIGINT blocked (a Ctrl-C already waiting is taken now).
void takeInterrupts() {
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigset_t interrupt;
    sigemptyset(&interrupt);
    sigaddset(&interrupt, SIGINT);
    sigprocmask(SIG_UNBLOCK, &interrupt, nullptr);
}

// A project file this user can read: its reason names the file otherwise.
bool readableFile(const std::string& path, std::string& error) {
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored)) {
        error = "cannot open project " + path + ": it is a folder";
        return false;
    }
    if (::access(path.c_str(), R_OK) != 0) {
        error = platform::withSystemReason("cannot open project " + path, errno);
        return false;
    }
    return true;
}

// A setting the project holds but cannot have (not a number, out of its
// range) would have the run work with another value than the project's: no
// run, and the refusals stand in the error report as well as on the
// console. The coordinate outputs of an earlier run stay as they are.
void refuseProject(const std::string& path, const std::vector<std::string>& refusals,
                   std::string& error) {
    for (const std::string& refusal : refusals)
        std::fprintf(stderr, "tarnrun: %s\n", refusal.c_str());
    error = "project " + path + " not run: the settings above were refused";
    std::vector<std::string> messages = refusals;
    messages.push_back(error);
    const std::filesystem::path errorReport = projectOutputPath(".ERR");
    std::string writeError;
    if (!recordInErrorReport(errorReport, fileStamp(errorReport), messages, writeError))
        std::fprintf(stderr, "tarnrun: %s\n", writeError.c_str());
}

bool loadProject(const std::string& path, std::string& error) {
    if (!readableFile(path, error))
        return false;
    projectVars.setDefaults();
    std::vector<std::string> refusals;
    const bool read = isTextProjectFile(path)
                          ? projectVars.readProjectFile(path, refusals) != 0
                          : projectVars.readLegacyProjectFile(path, refusals) != 0;
    if (!read) {
        error = "cannot read project " + path;
        return false;
    }
    std::error_code ec;
    projectVars.projectFileName = std::filesystem::absolute(path, ec).lexically_normal().string();
    if (!refusals.empty()) {
        refuseProject(path, refusals, error);
        return false;
    }
    return true;
}

// A folder named on the command line must be there: a run that cannot use
// it would only find out halfway.
bool existingFolder(const std::string& option, const std::string& folder, std::string& error) {
    std::error_code ec;
    if (folder.empty() || std::filesystem::is_directory(folder, ec))
        return true;
    error = ec ? platform::withSystemReason(option + " " + folder, ec.value())
               : option + " " + folder + ": not a folder";
    return false;
}

// The context of the run. Folders: the command line first, then
// TARNWELL.INI beside the program; without either the ellipse copy goes to
// the user's private temporary folder and the geoid grids are looked for in
// the program's own folder. Nobody is asked anything: the policy answers.
RunContext runContext(ShellServices& shell, const RunOptions& options) {
    iniPaths ini;
    ini.read(iniFolder(""));
    projectVars.tmpDir =
        !options.tmpDir.empty() ? platform::withTrailingSeparator(options.tmpDir) : ini.tmpDir;
    projectVars.exeDir =
        !options.geoidDir.empty() ? platform::withTrailingSeparator(options.geoidDir) : ini.exeDir;
    AnswerPolicy answers = options.policy;
    answers.unattended = true;
    return RunContext(shell, projectVars.tmpDir, projectVars.getGeoidFolder(), answers);
}

int exitStatus(const RunResult& result, bool cancelled) {
    if (cancelled)
        return exitAdjustmentFailed;
    if (!result.reachedEnd || !result.writeFailures.empty())
        return exitStopped;
    if (result.adjustment == AdjustmentOutcome::failed)
        return exitAdjustmentFailed;
    return result.coordinateFile.any() ? exitStopped : exitCompleted;
}

// --help and --version answer on stdout and run nothing.
int answerRequest(RunOptions::Request request) {
    if (request == RunOptions::Request::help)
        std::fputs(runUsage(), stdout);
    else
        std::printf("tarnrun (Tarnwell) %s\n", TARNWELL_VERSION);
    return exitCompleted;
}

// The reasons of a run that did not complete, on the console and in its
// error report.
void reportUnfinishedRun(const ConsoleShell& shell, const RunResult& result, int status,
                         const FileStamp& errorReportBefore) {
    std::vector<std::string> reasons = shell.messages();
    if (result.coordinateFile.any()) {
        reasons.push_back(result.coordinateFile.text());
        std::fprintf(stderr, "tarnrun: %s\n", result.coordinateFile.text().c_str());
    } else if (status == exitStopped && result.writeFailures.empty() && !reasons.empty()) {
        std::fprintf(stderr, "tarnrun: the run stopped: %s\n", reasons.back().c_str());
    }
    if (!result.previousCoordinatesKept.empty())
        reasons.push_back(result.previousCoordinatesKept);
    std::string error;
    if (!recordInErrorReport(projectOutputPath(".ERR"), errorReportBefore, reasons, error))
        std::fprintf(stderr, "tarnrun: %s\n", error.c_str());
}

// The BLAS library starts a worker thread per core as it loads, and each
// spins before it sleeps: over half a second of system time in every run,
// though the computing code keeps all BLAS work on its own thread. The
// library takes its thread count from the environment only as it loads, so
// tarnrun starts itself once more with one BLAS thread; when it cannot, it
// runs on as it is.
void restartWithOneBlasThread(char** argv) {
    if (std::getenv("OPENBLAS_NUM_THREADS") != nullptr ||
        ::setenv("OPENBLAS_NUM_THREADS", "1", 1) != 0)
        return;
    ::execv("/proc/self/exe", argv);
}

// Each iteration of a large network allocates and frees blocks of hundreds
// of megabytes (design rows, weights, normal equations). The C library maps
// such blocks afresh and hands them back to the system when they are freed,
// so every iteration paid for new zeroed pages again: over half of the
// system time of a run of a million sightings. tarnrun ends with its run, so
// it keeps freed memory in the process for the next block instead.
void keepFreedMemoryForReuse() {
    ::mallopt(M_MMAP_MAX, 0);
    ::mallopt(M_TRIM_THRESHOLD, INT_MAX);
}

} // namespace

int main(int argc, char** argv) {
    restartWithOneBlasThread(argv);
    keepFreedMemoryForReuse();
    std::string error;
    const auto options = parseRunOptions(argc, argv, error);
    if (!options) {
        std::fprintf(stderr, "tarnrun: %s\n%s", error.c_str(), runUsage());
        return exitUsage;
    }
    if (options->request != RunOptions::Request::run)
        return answerRequest(options->request);
    if (!existingFolder("--tmp", options->tmpDir, error) ||
        !existingFolder("--geoid-dir", options->geoidDir, error)) {
        std::fprintf(stderr, "tarnrun: %s\n", error.c_str());
        return exitUsage;
    }
    ConsoleShell shell(options->policy);
    // Reading the project settings shows its problems through the active shell.
    setActiveShell(&shell);
    takeInterrupts();
    // At the file-size limit a write fails (and is reported) rather than
    // ending the program with half-written outputs.
    std::signal(SIGXFSZ, SIG_IGN);
    if (!loadProject(options->projectPath, error)) {
        std::fprintf(stderr, "tarnrun: %s\n", error.c_str());
        return exitUsage;
    }
    const FileStamp errorReportBefore = fileStamp(projectOutputPath(".ERR"));
    const RunContext context = runContext(shell, *options);
    const RunResult result =
        options->blunderCheck ? checkNetworkForBlunders(context, options->proximity)
        : options->preprocess ? preprocessNetwork(context)
                              : adjustNetwork(context, options->mode, options->count);
    const int status = exitStatus(result, result.cancelled || shell.cancelled());
    for (const std::string& failure : result.writeFailures)
        std::fprintf(stderr, "tarnrun: %s\n", failure.c_str());
    if (!result.previousCoordinatesKept.empty())
        std::fprintf(stderr, "tarnrun: %s\n", result.previousCoordinatesKept.c_str());
    if (status != exitCompleted)
        reportUnfinishedRun(shell, result, status, errorReportBefore);
    setActiveShell(nullptr);
    return status;
}
