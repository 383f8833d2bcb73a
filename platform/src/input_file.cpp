#include "platform/input_file.hpp"

#include "platform/system_reason.hpp"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

std::string inputFileProblem(const std::filesystem::path& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return systemReason(errno);
    if (S_ISDIR(info.st_mode))
        return systemReason(EISDIR);
    if (!S_ISREG(info.st_mode))
        return "not a regular file";
    if (::access(path.c_str(), R_OK) != 0)
        return systemReason(errno);
    return {};
}

} // namespace platform
