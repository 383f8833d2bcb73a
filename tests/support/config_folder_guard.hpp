#pragma once
// Points the user's configuration folder (XDG_CONFIG_HOME) at a folder of the
// test's own and puts the previous setting back afterwards.

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

namespace testsupport {

class ConfigFolderGuard {
public:
    explicit ConfigFolderGuard(const std::filesystem::path& folder) {
        if (const char* xdg = std::getenv("XDG_CONFIG_HOME"))
            saved_ = xdg;
        setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
    }
    ~ConfigFolderGuard() {
        if (saved_)
            setenv("XDG_CONFIG_HOME", saved_->c_str(), 1);
        else
            unsetenv("XDG_CONFIG_HOME");
    }
    ConfigFolderGuard(const ConfigFolderGuard&) = delete;
    ConfigFolderGuard& operator=(const ConfigFolderGuard&) = delete;

private:
    std::optional<std::string> saved_;
};

} // namespace testsupport
