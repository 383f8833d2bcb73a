#pragma once
// A file the user names as input must be a regular file this process can
// read: a folder would fail (or throw) at the first read, and a device such
// as /dev/zero would never end.

#include <filesystem>
#include <string>

namespace platform {

// Why `path` cannot be read as an input file, in the system's words ("No
// such file or directory", "Is a directory", "Permission denied"), or "not a
// regular file" for a device, pipe or socket; empty when it can be read.
std::string inputFileProblem(const std::filesystem::path& path);

} // namespace platform
