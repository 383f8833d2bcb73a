#include "platform/file_replace.hpp"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

bool writeAll(int fd, std::string_view contents) {
    const char* p = contents.data();
    std::size_t left = contents.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

// A new file takes the permissions a plain open() would have given it.
void applyDefaultMode(int fd) {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
}

} // namespace

bool replaceFile(const std::filesystem::path& path, std::string_view contents, std::string& error) {
    const std::filesystem::path folder =
        path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
    std::string pattern = (folder / (path.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        const int reason = errno;
        error =
            "cannot create a temporary file beside " + path.string() + ": " + std::strerror(reason);
        errno = reason;
        return false;
    }
    struct stat old {};
    if (::stat(path.c_str(), &old) == 0)
        ::fchmod(fd, old.st_mode & 07777);
    else
        applyDefaultMode(fd);
    const bool written = writeAll(fd, contents) && ::fsync(fd) == 0;
    const int writeErrno = errno;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed) {
        const int reason = written ? errno : writeErrno;
        ::unlink(pattern.c_str());
        error = "cannot write " + path.string() + ": " + std::strerror(reason);
        errno = reason;
        return false;
    }
    if (::rename(pattern.c_str(), path.c_str()) != 0) {
        const int reason = errno;
        error = "cannot replace " + path.string() + ": " + std::strerror(reason);
        ::unlink(pattern.c_str());
        errno = reason;
        return false;
    }
    return true;
}

} // namespace platform
