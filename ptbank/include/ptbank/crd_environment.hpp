#pragma once
// What the coordinate file library takes from its surroundings: where its
// console diagnostics go, the clock behind file dates and history stamps, and
// the name of the logged-on user. Programs keep the defaults; tests replace
// them to capture messages and fix the time.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace ptbank {

struct CrdEnvironment {
    // Receives each diagnostic text exactly as the library prints it
    // (default: standard output).
    std::function<void(std::string_view)> console;
    // Seconds since 1970-01-01 UTC (default: the system clock).
    std::function<std::int64_t()> clock;
    // The logged-on user's name, or empty when the system cannot give it
    // (default: the password database entry of the real user id).
    std::function<std::string()> userName;
};

// The library-wide environment; replace members to redirect them.
CrdEnvironment& crdEnvironment();
// Puts every member back to its default.
void resetCrdEnvironment();

// Prints through the environment's console.
void crdPrint(std::string_view text);

} // namespace ptbank
