// tarnrun: runs a project's adjustment (or its preprocessing) without a
// window, printing each stage, answering questions by policy and saying
// where the reports went.
//
// Exit status: 0 the run reached its end and the adjustment converged (or
// preprocessing completed); 1 the run stopped early or an output could not
// be written; 2 the run ended but the adjustment failed or was cancelled;
// 3 usage error or unreadable project.

#include "console_shell.hpp"
#include "model/settings/global_vars.hpp"
#include "model/settings/ini_paths.hpp"
#include "model/settings/project_file.hpp"
#include "platform/paths.hpp"
#include "run/processing_driver.hpp"
#include "run_options.hpp"

#include <csignal>
#include <cstdio>
#include <filesystem>
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

bool loadProject(const std::string& path, std::string& error) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) {
        error = "cannot open project " + path + ": no such file";
        return false;
    }
    projectVars.setDefaults();
    std::vector<std::string> refusals;
    const bool read = isTextProjectFile(path)
                          ? projectVars.readProjectFile(path, refusals) != 0
                          : projectVars.readLegacyProjectFile(path, refusals) != 0;
    for (const std::string& refusal : refusals)
        std::fprintf(stderr, "tarnrun: %s\n", refusal.c_str());
    if (!read) {
        error = "cannot read project " + path;
        return false;
    }
    projectVars.projectFileName = fs::absolute(path, ec).lexically_normal().string();
    return true;
}

// The context of the run. Folders: the command line first, then
// TARNWELL.INI beside the program, then the system's temporary folder and
// the program's own folder. Nobody is asked anything: the policy answers.
RunContext runContext(ShellServices& shell, const RunOptions& options) {
    iniPaths ini;
    ini.read(iniFolder(""));
    projectVars.tmpDir =
        !options.tmpDir.empty() ? platform::withTrailingSeparator(options.tmpDir)
        : !ini.tmpDir.empty()
            ? ini.tmpDir
            : platform::withTrailingSeparator(std::filesystem::temp_directory_path().string());
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
    return result.adjustment == AdjustmentOutcome::failed ? exitAdjustmentFailed : exitCompleted;
}

} // namespace

int main(int argc, char** argv) {
    std::string error;
    const auto options = parseRunOptions(argc, argv, error);
    if (!options) {
        std::fprintf(stderr, "tarnrun: %s\n%s", error.c_str(), runUsage());
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
    const RunContext context = runContext(shell, *options);
    const RunResult result = options->preprocess
                                 ? preprocessNetwork(context)
                                 : adjustNetwork(context, options->mode, options->count);
    const int status = exitStatus(result, result.cancelled || shell.cancelled());
    for (const std::string& failure : result.writeFailures)
        std::fprintf(stderr, "tarnrun: %s\n", failure.c_str());
    if (status == exitStopped && result.writeFailures.empty() && !shell.lastMessage().empty())
        std::fprintf(stderr, "tarnrun: the run stopped: %s\n", shell.lastMessage().c_str());
    setActiveShell(nullptr);
    return status;
}
