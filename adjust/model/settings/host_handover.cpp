#include "model/settings/host_handover.hpp"

#include "model/settings/global_vars.hpp"
#include "platform/shared_memory.hpp"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

void emptyText(std::span<char> destination) {
    if (!destination.empty())
        destination[0] = '\0';
}

} // namespace

char* takeSharedString(SharedCursor& cursor, std::span<char> destination, std::size_t n) {
    const std::size_t available =
        cursor.block.size() - std::min(cursor.offset, cursor.block.size());
    const char* start = cursor.block.data() + (cursor.block.size() - available);
    std::size_t length = n;
    std::size_t taken = n;
    if (n == 0) {
        length = available == 0 ? 0 : strnlen(start, available);
        taken = std::min(length + 1, available);
    }
    cursor.offset = cursor.block.size() - available + std::min(taken, available);
    if (length > available || length + 1 > destination.size()) {
        emptyText(destination);
        return destination.data();
    }
    std::memcpy(destination.data(), start, length);
    destination[length] = '\0';
    return destination.data();
}

void readHostFileNames(std::span<const char> block, std::span<char, hostNameBufferSize> rawName,
                       std::span<char, hostNameBufferSize> crdName) {
    SharedCursor cursor{block};
    takeSharedString(cursor, rawName, 0);
    takeSharedString(cursor, crdName, 0);
}

int readHostHandOver(globalVars& settings, const std::string& blockName) {
    const auto block = platform::SharedMemoryBlock::open(blockName);
    if (!block.isOpen())
        return 1;
    std::array<char, hostNameBufferSize> rawName{};
    std::array<char, hostNameBufferSize> crdName{};
    readHostFileNames(block.bytes(), rawName, crdName);
    const std::string raw = rawName.data();
    const std::string crd = crdName.data();
    if (!raw.empty() && raw != "NORAW")
        settings.pInputFileName = raw;
    if (!crd.empty() && crd != "NOCRD")
        settings.crdFileName = crd;
    return 0;
}
