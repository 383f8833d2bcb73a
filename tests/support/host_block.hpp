#pragma once
// A hand-over block as a host program creates it (1024 bytes, `contents` at
// the start, zeros after), removed again when the guard ends.

#include "platform/shared_memory.hpp"

#include <cstring>
#include <string>

namespace testsupport {

class HostBlock {
public:
    HostBlock(const std::string& name, const std::string& contents) : name_(name) {
        block_ = platform::SharedMemoryBlock::create(name, 1024);
        if (block_.isOpen())
            std::memcpy(block_.bytes().data(), contents.data(), contents.size());
    }
    ~HostBlock() { platform::SharedMemoryBlock::remove(name_); }
    HostBlock(const HostBlock&) = delete;
    HostBlock& operator=(const HostBlock&) = delete;

    const std::string& name() const { return name_; }
    bool created() const { return block_.isOpen(); }

private:
    std::string name_;
    platform::SharedMemoryBlock block_;
};

} // namespace testsupport
