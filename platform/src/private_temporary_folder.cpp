#include "platform/private_temporary_folder.hpp"

#include "platform/system_reason.hpp"

#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

constexpr mode_t othersMayEnter = 077;

// A real folder (not a link to one) of this user that only the user may enter.
bool isOwnPrivateFolder(const std::filesystem::path& folder, std::string& error) {
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0) {
        error = withSystemReason(folder.string(), errno);
        return false;
    }
    if (!S_ISDIR(info.st_mode))
        error = folder.string() + " is not a folder";
    else if (info.st_uid != ::geteuid())
        error = folder.string() + " belongs to another user";
    else if ((info.st_mode & othersMayEnter) != 0)
        error = folder.string() + " may be entered by other users";
    else
        return true;
    return false;
}

std::optional<std::filesystem::path> runtimeFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime == nullptr || *runtime == '\0')
        return std::nullopt;
    std::string ignored;
    if (!isOwnPrivateFolder(runtime, ignored))
        return std::nullopt;
    return std::filesystem::path(runtime);
}

} // namespace

std::optional<std::filesystem::path> privateTemporaryFolder(std::string& error) {
    if (const auto runtime = runtimeFolder())
        return runtime;
    std::error_code ec;
    const std::filesystem::path shared = std::filesystem::temp_directory_path(ec);
    if (ec) {
        error = "no temporary folder: " + ec.message();
        return std::nullopt;
    }
    const std::filesystem::path own = shared / ("tarnwell-" + std::to_string(::geteuid()));
    if (::mkdir(own.c_str(), 0700) != 0 && errno != EEXIST) {
        error = withSystemReason("cannot create " + own.string(), errno);
        return std::nullopt;
    }
    if (!isOwnPrivateFolder(own, error))
        return std::nullopt;
    return own;
}

} // namespace platform
