#pragma once
// The system calls through which the ISAM engine reaches its files. They
// default to the POSIX functions; tests replace single entries to make a
// seek, read, write, open or close fail and then restore them with
// `isamRestoreSystemCalls`.

#include <sys/types.h>

#include <cstddef>

namespace ptbank {

struct IsamSystemCalls {
    int (*open)(const char* path, int flags, mode_t mode);
    off_t (*lseek)(int fd, off_t offset, int whence);
    ssize_t (*read)(int fd, void* buffer, std::size_t count);
    ssize_t (*write)(int fd, const void* buffer, std::size_t count);
    int (*close)(int fd);
};

IsamSystemCalls& isamSystemCalls();
void isamRestoreSystemCalls();

} // namespace ptbank
