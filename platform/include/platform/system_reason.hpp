#pragma once
// Messages about a file carry the system's reason with them, so that a user
// can tell a missing file from a folder they may not write.

#include <string>

namespace platform {

// The system's text for an errno value ("Permission denied").
std::string systemReason(int error);

// `text`, ": " and the system's text for `error`.
std::string withSystemReason(const std::string& text, int error);

} // namespace platform
