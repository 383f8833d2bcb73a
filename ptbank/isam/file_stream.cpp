#include "isam/file_stream.hpp"

#include "ptbank/isam/isam_system_calls.hpp"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <array>

namespace ptbank {

namespace {

int openFile(const char* path, int flags, mode_t mode) {
    return ::open(path, flags, mode);
}

constexpr IsamSystemCalls posixCalls{openFile, ::pread, ::pwrite, ::close};

} // namespace

IsamSystemCalls& isamSystemCalls() {
    static IsamSystemCalls calls = posixCalls;
    return calls;
}

void isamRestoreSystemCalls() {
    isamSystemCalls() = posixCalls;
}

} // namespace ptbank

namespace ptbank::isam {

namespace {

constexpr std::size_t fixupBytes = 64;
constexpr std::size_t fillBlock = 65536;

// Other cooperating openers are kept out by an exclusive lock, as the files
// were opened with reading and writing denied to others.
int openLocked(const std::filesystem::path& path, int flags) {
    IsamSystemCalls& sys = isamSystemCalls();
    const int fd = sys.open(path.c_str(), flags | O_CLOEXEC, 0666);
    if (fd < 0)
        return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        sys.close(fd);
        return -1;
    }
    return fd;
}

void closeLeastRecentForNow() {
    Engine& e = engine();
    FileBlock* oldest = nullptr;
    for (FileBlock& block : e.files) {
        if (block.state != FileState::open || block.permanent() || block.inUse ||
            block.usageStamp == 0)
            continue;
        if (oldest == nullptr || block.usageStamp < oldest->usageStamp)
            oldest = &block;
    }
    if (oldest == nullptr)
        return;
    physicalClose(*oldest);
    oldest->state = FileState::closedForNow;
}

// Opens with the engine's rules: room is made among the non-permanent files
// first, and one failed open is retried after closing another file for now.
int openWithRetry(FileBlock& block, int flags) {
    Engine& e = engine();
    if (!block.permanent() && e.openNonPermanent >= maxOpenNonPermanent)
        closeLeastRecentForNow();
    int fd = openLocked(block.path, flags);
    if (fd < 0) {
        closeLeastRecentForNow();
        fd = openLocked(block.path, flags);
    }
    if (fd < 0)
        return -1;
    block.fd = fd;
    if (!block.permanent())
        ++e.openNonPermanent;
    return 0;
}

bool badOffset(int error) {
    return error == EINVAL || error == ESPIPE || error == EOVERFLOW;
}

} // namespace

bool fillWithFF(FileBlock& block, std::uint32_t from, std::uint32_t to) {
    static const std::array<std::uint8_t, fillBlock> ff = [] {
        std::array<std::uint8_t, fillBlock> bytes{};
        bytes.fill(0xFF);
        return bytes;
    }();
    for (std::uint64_t at = from; at <= to;) {
        const std::size_t count = static_cast<std::size_t>(
            std::min<std::uint64_t>(std::uint64_t{to} - at + 1, fillBlock));
        if (isamSystemCalls().pwrite(block.fd, ff.data(), count, static_cast<off_t>(at)) !=
            static_cast<ssize_t>(count))
            return false;
        at += count;
    }
    return true;
}

int physicalOpen(FileBlock& block) {
    if (openWithRetry(block, O_RDWR) != 0)
        return -1;
    std::array<std::uint8_t, fixupBytes> first{};
    if (const int code = readAt(block, 0, first); code != 0) {
        physicalClose(block);
        return code;
    }
    std::fill(first.begin() + fileHeaderSize, first.end(), 0);
    if (const int code = writeAt(block, 0, first); code != 0) {
        physicalClose(block);
        return code;
    }
    return 0;
}

int physicalCreate(FileBlock& block) {
    IsamSystemCalls& sys = isamSystemCalls();
    const int existing = sys.open(block.path.c_str(), O_RDWR | O_CLOEXEC, 0);
    if (existing >= 0) {
        sys.close(existing);
        return 1;
    }
    // O_EXCL: a file that appeared meanwhile, or one we may not open, stays untouched.
    return openWithRetry(block, O_RDWR | O_CREAT | O_EXCL);
}

int physicalClose(FileBlock& block) {
    if (block.fd < 0)
        return 0;
    const int result = isamSystemCalls().close(block.fd);
    block.fd = -1;
    if (!block.permanent())
        --engine().openNonPermanent;
    return result == 0 ? 0 : isamErr::closeFailed;
}

int reopenClosedForNow(FileBlock& block) {
    if (physicalOpen(block) != 0)
        return isamErr::reopenFailed;
    block.state = FileState::open;
    return 0;
}

int readAt(FileBlock& block, std::uint32_t offset, std::span<std::uint8_t> bytes) {
    const ssize_t got =
        isamSystemCalls().pread(block.fd, bytes.data(), bytes.size(), static_cast<off_t>(offset));
    if (got < 0 && badOffset(errno))
        return isamErr::seekFailed;
    return got == static_cast<ssize_t>(bytes.size()) ? 0 : isamErr::readFailed;
}

int writeAt(FileBlock& block, std::uint32_t offset, std::span<const std::uint8_t> bytes) {
    const ssize_t put =
        isamSystemCalls().pwrite(block.fd, bytes.data(), bytes.size(), static_cast<off_t>(offset));
    if (put < 0 && badOffset(errno))
        return isamErr::seekFailed;
    return put == static_cast<ssize_t>(bytes.size()) ? 0 : isamErr::writeFailed;
}

int writeHeader(FileBlock& block) {
    return writeAt(block, 0, encodeFileHeader(block.header));
}

int commitLength(FileBlock& block) {
    physicalClose(block);
    if (physicalOpen(block) != 0) {
        block.state = FileState::closedForNow;
        return isamErr::commitFailed;
    }
    return 0;
}

} // namespace ptbank::isam
