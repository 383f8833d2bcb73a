#include "platform/shared_memory.hpp"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace platform {
namespace {

std::string objectName(const std::string& name) {
    return "/" + name;
}

char* mapWhole(int fd, std::size_t size) {
    void* view = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    return view == MAP_FAILED ? nullptr : static_cast<char*>(view);
}

} // namespace

SharedMemoryBlock::~SharedMemoryBlock() {
    unmap();
}

SharedMemoryBlock::SharedMemoryBlock(SharedMemoryBlock&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)) {}

SharedMemoryBlock& SharedMemoryBlock::operator=(SharedMemoryBlock&& other) noexcept {
    if (this != &other) {
        unmap();
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
    }
    return *this;
}

void SharedMemoryBlock::unmap() {
    if (data_ != nullptr)
        ::munmap(data_, size_);
    data_ = nullptr;
    size_ = 0;
}

SharedMemoryBlock SharedMemoryBlock::open(const std::string& name) {
    const int fd = ::shm_open(objectName(name).c_str(), O_RDWR, 0);
    if (fd < 0)
        return {};
    struct stat info {};
    SharedMemoryBlock block;
    if (::fstat(fd, &info) == 0 && info.st_size > 0) {
        const auto size = static_cast<std::size_t>(info.st_size);
        if (char* data = mapWhole(fd, size); data != nullptr)
            block = SharedMemoryBlock(data, size);
    }
    ::close(fd);
    return block;
}

SharedMemoryBlock SharedMemoryBlock::create(const std::string& name, std::size_t size) {
    if (size == 0)
        return {};
    const int fd = ::shm_open(objectName(name).c_str(), O_RDWR | O_CREAT, 0600);
    if (fd < 0)
        return {};
    SharedMemoryBlock block;
    if (::ftruncate(fd, 0) == 0 && ::ftruncate(fd, static_cast<off_t>(size)) == 0) {
        if (char* data = mapWhole(fd, size); data != nullptr)
            block = SharedMemoryBlock(data, size);
    }
    ::close(fd);
    return block;
}

bool SharedMemoryBlock::remove(const std::string& name) {
    return ::shm_unlink(objectName(name).c_str()) == 0;
}

} // namespace platform
