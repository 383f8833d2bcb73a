#pragma once
// Paths read from files may carry Windows separators; file names are opened
// with the case they have, and fixed companion names are looked up without
// regard to case only when the exact name does not exist.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// A path text from a file or a setting, with every backslash taken as a separator.
std::filesystem::path pathFromText(std::string_view text);

// The exact path when it exists, else the one entry of its folder whose name
// equals the file name without regard to ASCII case; nullopt when neither exists.
std::optional<std::filesystem::path> findFileIgnoringCase(const std::filesystem::path& path);

// ASCII-only case-insensitive comparison of two names or extensions.
bool equalsIgnoringCase(std::string_view a, std::string_view b);

// The folder text with the platform separator at its end, as folder settings expect.
std::string withTrailingSeparator(std::string folder);

} // namespace platform
