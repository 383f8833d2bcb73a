#pragma once
// The command line of tarnrun.

#include "console_shell.hpp"

#include <optional>
#include <string>

struct RunOptions {
    // --help or --version: print it and run nothing.
    enum class Request { run, help, version } request = Request::run;
    std::string projectPath;
    bool preprocess = false;
    // 0 adjustment; 10 float one observation at a time; 11 reweighting passes.
    int mode = 0;
    int count = 0;
    // --blunder=check:PROX: the preprocessing run of blunder detection.
    bool blunderCheck = false;
    double proximity = 0.0;
    std::string tmpDir;
    std::string geoidDir;
    // Without --overwrite: all after an adjustment, keep after --preprocess,
    // so preliminary coordinates never replace stored points unasked.
    ConsolePolicy policy;
};

// The options, or nullopt with the reason in `error`.
std::optional<RunOptions> parseRunOptions(int argc, const char* const* argv, std::string& error);

// The usage text: every option, the exit statuses and where the outputs go.
const char* runUsage();
