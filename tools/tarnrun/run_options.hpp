#pragma once
// The command line of tarnrun.

#include "console_shell.hpp"

#include <optional>
#include <string>

struct RunOptions {
    std::string projectPath;
    bool preprocess = false;
    // 0 adjustment; 10 float one observation at a time; 11 reweighting passes.
    int mode = 0;
    int count = 0;
    std::string tmpDir;
    std::string geoidDir;
    ConsolePolicy policy;
};

// The options, or nullopt with the reason in `error`.
std::optional<RunOptions> parseRunOptions(int argc, const char* const* argv, std::string& error);

// The usage text printed with a usage error.
const char* runUsage();
