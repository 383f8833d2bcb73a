#pragma once
// Installs a real comma-decimal C locale (German) as the process-wide locale
// for the lifetime of the guard, so tests can prove that file output does not
// follow the user's locale. The system's de_DE.UTF-8 is used when it exists;
// otherwise the one that the CTest fixture "comma_locale" compiled into the
// build folder (TARNWELL_TEST_LOCPATH, compiled in). Tests call TARNWELL_REQUIRE_COMMA
// after constructing the guard: without a comma locale they skip, saying why.

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace testsupport {

class CommaLocale {
public:
    CommaLocale() {
        previous_ = std::setlocale(LC_ALL, nullptr);
        if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr)
            installBuildLocale();
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
    static void installBuildLocale() {
#ifdef TARNWELL_TEST_LOCPATH
        setenv("LOCPATH", TARNWELL_TEST_LOCPATH, 1);
        std::setlocale(LC_ALL, "de_DE.UTF-8");
#endif
    }

    std::string previous_;
    bool active_ = false;
};

} // namespace testsupport

// Skips the calling test when no comma-decimal locale could be installed.
#define TARNWELL_REQUIRE_COMMA(guard)                                                   \
    if (!(guard).active())                                                              \
    GTEST_SKIP() << "no comma-decimal locale: neither the system's de_DE.UTF-8 nor "     \
                    "the one the test fixture comma_locale makes with localedef "       \
                    "(Debian package 'locales') could be loaded"
