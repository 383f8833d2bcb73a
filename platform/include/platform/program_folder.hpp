#pragma once

#include <string>

namespace platform {

// Folder of the running program's executable, without a trailing separator.
std::string programFolder();

} // namespace platform
