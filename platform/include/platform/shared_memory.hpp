#pragma once
// Named shared-memory blocks through which programs of the family hand each
// other file names at start-up ("LS_Settings", "GL_Settings"). A block is a
// POSIX shared-memory object "/<name>", mapped whole.

#include <cstddef>
#include <span>
#include <string>

namespace platform {

class SharedMemoryBlock {
public:
    SharedMemoryBlock() = default;
    ~SharedMemoryBlock();
    SharedMemoryBlock(SharedMemoryBlock&& other) noexcept;
    SharedMemoryBlock& operator=(SharedMemoryBlock&& other) noexcept;
    SharedMemoryBlock(const SharedMemoryBlock&) = delete;
    SharedMemoryBlock& operator=(const SharedMemoryBlock&) = delete;

    // Maps an existing block for reading and writing; isOpen() is false when
    // there is no block of that name, it is empty, or it cannot be mapped.
    static SharedMemoryBlock open(const std::string& name);
    // Creates the block (or resizes an existing one) to `size` bytes, all
    // zero, and maps it; isOpen() is false on failure.
    static SharedMemoryBlock create(const std::string& name, std::size_t size);
    // Removes the name; mappings already made stay valid until unmapped.
    static bool remove(const std::string& name);

    bool isOpen() const { return data_ != nullptr; }
    // The mapped bytes; empty when not open.
    std::span<char> bytes() const { return {data_, size_}; }

private:
    SharedMemoryBlock(char* data, std::size_t size) : data_(data), size_(size) {}
    void unmap();

    char* data_ = nullptr;
    std::size_t size_ = 0;
};

} // namespace platform
