#include "ptbank/crd_environment.hpp"

#include <chrono>
#include <cstdio>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace ptbank {
namespace {

std::string passwordDatabaseUser() {
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found ||
        !found->pw_name)
        return {};
    return found->pw_name;
}

CrdEnvironment defaults() {
    CrdEnvironment env;
    env.console = [](std::string_view text) {
        std::fwrite(text.data(), 1, text.size(), stdout);
        std::fflush(stdout);
    };
    env.clock = [] {
        return static_cast<std::int64_t>(std::chrono::duration_cast<std::chrono::seconds>(
                                             std::chrono::system_clock::now().time_since_epoch())
                                             .count());
    };
    env.userName = passwordDatabaseUser;
    return env;
}

} // namespace

CrdEnvironment& crdEnvironment() {
    static CrdEnvironment env = defaults();
    return env;
}

void resetCrdEnvironment() {
    crdEnvironment() = defaults();
}

void crdPrint(std::string_view text) {
    crdEnvironment().console(text);
}

} // namespace ptbank
