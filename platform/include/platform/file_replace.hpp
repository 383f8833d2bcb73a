#pragma once
// Replacing a file never deletes the old one first: the new contents go to a
// temporary file in the same folder, which is then renamed over the old one,
// so a failed write leaves the previous file intact.

#include <filesystem>
#include <string>
#include <string_view>

namespace platform {

// Writes `contents` to `path` by temporary file and rename. Returns true on
// success; on failure returns false with the reason in `error` (and the
// system's error number in errno) and leaves any existing file at `path`
// unchanged.
bool replaceFile(const std::filesystem::path& path, std::string_view contents, std::string& error);

} // namespace platform
