#include "src/binary_file.hpp"

#include "platform/file_replace.hpp"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ptbank {

bool BinaryFile::open(const std::string& path, Mode mode, bool denyWriters) {
    close();
    const int flags = mode == Mode::create ? (O_RDWR | O_CREAT | O_TRUNC) : O_RDWR;
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    if (denyWriters && ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    size_ = static_cast<std::uint64_t>(status.st_size);
    return true;
}

void BinaryFile::close() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    size_ = 0;
}

bool BinaryFile::readAt(std::uint64_t offset, std::span<std::uint8_t> out) const {
    if (fd_ < 0)
        return false;
    std::size_t done = 0;
    while (done < out.size()) {
        const ssize_t n =
            ::pread(fd_, out.data() + done, out.size() - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool BinaryFile::writeAt(std::uint64_t offset, std::span<const std::uint8_t> data) {
    if (fd_ < 0)
        return false;
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::pwrite(fd_, data.data() + done, data.size() - done,
                                   static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    if (offset + data.size() > size_)
        size_ = offset + data.size();
    return true;
}

bool copyFileReplacing(const std::string& from, const std::string& to) {
    std::ifstream in(from, std::ios::binary);
    if (!in)
        return false;
    const std::string contents((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
    if (in.bad())
        return false;
    std::string error;
    return platform::replaceFile(to, contents, error);
}

bool renameWithoutReplacing(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    // File systems without the no-replace flag: a hard link fails when `to` exists.
    if (errno != EINVAL || ::link(from.c_str(), to.c_str()) != 0)
        return false;
    ::unlink(from.c_str());
    return true;
}

namespace {

// A copy of `path` under a new name in its folder; empty when none could be made.
std::string keptCopyOf(const std::string& path) {
    std::string copy = path + ".XXXXXX";
    const int fd = ::mkstemp(copy.data());
    if (fd < 0)
        return {};
    ::close(fd);
    if (copyFileReplacing(path, copy))
        return copy;
    ::unlink(copy.c_str());
    return {};
}

} // namespace

bool replacePair(const FilePair& from, const FilePair& to) {
    const std::string oldFirst = keptCopyOf(to.first);
    bool replaced = false;
    if (!oldFirst.empty() && ::rename(from.first.c_str(), to.first.c_str()) == 0) {
        replaced = ::rename(from.second.c_str(), to.second.c_str()) == 0;
        if (!replaced)
            ::rename(oldFirst.c_str(), to.first.c_str());
    }
    if (!oldFirst.empty())
        ::unlink(oldFirst.c_str());
    if (!replaced) {
        ::unlink(from.first.c_str());
        ::unlink(from.second.c_str());
    }
    return replaced;
}

} // namespace ptbank
