#pragma once
// The system calls through which the ISAM engine reaches its files. They
// default to the POSIX functions; tests replace single entries to make a
// positioned read or write, an open or a close fail and then restore them
// with `isamRestoreSystemCalls`. A positioned transfer failing with EINVAL,
// ESPIPE or EOVERFLOW counts as a failed seek.

#include <sys/types.h>

#include <cstddef>

namespace ptbank {

struct IsamSystemCalls {
    int (*open)(const char* path, int flags, mode_t mode);
    ssize_t (*pread)(int fd, void* buffer, std::size_t count, off_t offset);
    ssize_t (*pwrite)(int fd, const void* buffer, std::size_t count, off_t offset);
    int (*close)(int fd);
};

IsamSystemCalls& isamSystemCalls();
void isamRestoreSystemCalls();

} // namespace ptbank
