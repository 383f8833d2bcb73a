#pragma once
// Runs tarnrun the way a user types it, output to a console file. The
// system's temporary folder is pointed at the project's own folder and the
// user's runtime folder is taken away, so runs in parallel test processes
// never share a file there.

#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/wait.h>

namespace tarnruntest {

// `shellSetup`: shell words run before tarnrun in the same shell ("umask
// 027;"); `environment`: variables given to tarnrun ("XDG_RUNTIME_DIR=/x").
inline int runIn(const std::string& shellSetup, const std::string& environment,
                 const std::filesystem::path& project, const std::filesystem::path& console,
                 const std::string& options = "") {
    const std::string command = shellSetup + " env -u XDG_RUNTIME_DIR " + environment +
                                " TMPDIR='" + project.parent_path().string() + "' '" +
                                std::string(TARNRUN_PATH) + "' --quiet " + options + " '" +
                                project.string() + "' >'" + console.string() + "' 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

inline int runQuiet(const std::filesystem::path& project, const std::filesystem::path& console,
                    const std::string& options = "") {
    return runIn("", "", project, console, options);
}

} // namespace tarnruntest
