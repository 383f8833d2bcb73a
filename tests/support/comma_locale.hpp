#pragma once
// Installs a real comma-decimal C locale (German) as the process-wide locale
// for the lifetime of the guard, compiling it with localedef into a private
// folder when the system has none, so tests can prove that file output does
// not follow the user's locale.

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace testsupport {

class CommaLocale {
public:
    CommaLocale() {
        previous_ = std::setlocale(LC_ALL, nullptr);
        if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr)
            installPrivateLocale();
        char probe[16];
        std::snprintf(probe, sizeof probe, "%.1f", 1.5);
        active_ = std::string(probe) == "1,5";
    }
    ~CommaLocale() { std::setlocale(LC_ALL, previous_.c_str()); }
    CommaLocale(const CommaLocale&) = delete;
    CommaLocale& operator=(const CommaLocale&) = delete;

    // True when printf really writes a decimal comma now.
    bool active() const { return active_; }

private:
    void installPrivateLocale() {
        const auto folder = std::filesystem::temp_directory_path() /
                            ("tarnwell-locale-" + std::to_string(getuid()));
        std::filesystem::create_directories(folder);
        const auto target = folder / "de_DE.UTF-8";
        if (!std::filesystem::exists(target)) {
            const std::string command =
                "localedef -i de_DE -f UTF-8 '" + target.string() + "' >/dev/null 2>&1";
            if (std::system(command.c_str()) != 0 && !std::filesystem::exists(target))
                return;
        }
        setenv("LOCPATH", folder.c_str(), 1);
        std::setlocale(LC_ALL, "de_DE.UTF-8");
    }

    std::string previous_;
    bool active_ = false;
};

} // namespace testsupport
