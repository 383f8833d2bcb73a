#pragma once
// Scratch files of one user never sit under a fixed name in a folder that
// every user can write: another user could read them, replace them, or plant
// a link in their place.

#include <filesystem>
#include <optional>
#include <string>

namespace platform {

// The user's own temporary folder: $XDG_RUNTIME_DIR when it names a folder
// of this user's that nobody else may enter, else "tarnwell-<uid>" under the
// system's temporary folder ($TMPDIR, else /tmp), created with mode 0700
// when missing. A folder of that name that is a link, belongs to someone
// else or lets others in is refused. nullopt with the reason in `error` when
// no such folder can be had.
std::optional<std::filesystem::path> privateTemporaryFolder(std::string& error);

} // namespace platform
