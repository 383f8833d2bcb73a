#include "isam/node_cache.hpp"

#include "isam/file_stream.hpp"

#include <algorithm>

namespace ptbank::isam {

namespace {

FileBlock& blockOf(int fileNo) {
    return engine().files[static_cast<std::size_t>(fileNo)];
}

std::span<std::uint8_t> nodeBytes(NodeBuffer& buffer, const FileHeader& header) {
    return buffer.image.first(header.nodeSize);
}

int writeBuffer(NodeBuffer& buffer) {
    FileBlock& block = blockOf(buffer.fileNumber);
    const int code = writeAt(block, buffer.position, nodeBytes(buffer, block.header));
    if (code == 0)
        buffer.dirty = false;
    return code;
}

NodeBuffer* cached(int fileNo, std::uint32_t position) {
    for (NodeBuffer& buffer : engine().buffers)
        if (buffer.fileNumber == fileNo && buffer.position == position)
            return &buffer;
    return nullptr;
}

// The least recently used buffer, emptied: a dirty node is written first.
int takeBuffer(NodeBuffer*& taken) {
    auto& buffers = engine().buffers;
    NodeBuffer& oldest = *std::min_element(
        buffers.begin(), buffers.end(),
        [](const NodeBuffer& a, const NodeBuffer& b) { return a.usageStamp < b.usageStamp; });
    if (oldest.dirty && oldest.fileNumber >= 0)
        if (const int code = writeBuffer(oldest); code != 0)
            return code;
    oldest.fileNumber = -1;
    oldest.dirty = false;
    taken = &oldest;
    return 0;
}

} // namespace

int checkNodePosition(const FileHeader& header, std::uint32_t position) {
    if (position == 0)
        return isamErr::nodePositionZero;
    const std::uint32_t first = indexHeaderArea(header.nodeSize);
    if (position < first || (position - first) % header.nodeSize != 0 ||
        std::uint64_t{position} + header.nodeSize - 1 > header.logicalEnd)
        return isamErr::nodeOutsideFile;
    return 0;
}

// The buffer holding the node at `position`, or a free one given to it;
// `hit` tells which. Returns 0 or the error of writing out a dirty node.
static int bufferFor(int fileNo, std::uint32_t position, NodeBuffer*& buffer, bool& hit) {
    buffer = cached(fileNo, position);
    hit = buffer != nullptr;
    if (!hit) {
        if (const int code = takeBuffer(buffer); code != 0)
            return code;
        buffer->position = position;
    }
    return 0;
}

int fetchNodeImage(int fileNo, std::uint32_t position, std::span<const std::uint8_t>& image) {
    FileBlock& block = blockOf(fileNo);
    if (const int code = checkNodePosition(block.header, position); code != 0)
        return code;
    NodeBuffer* buffer = nullptr;
    bool hit = false;
    if (const int code = bufferFor(fileNo, position, buffer, hit); code != 0)
        return code;
    if (!hit) {
        if (const int code = readAt(block, position, nodeBytes(*buffer, block.header)); code != 0)
            return code;
        buffer->fileNumber = fileNo;
    }
    touchBuffer(*buffer);
    image = nodeBytes(*buffer, block.header);
    return 0;
}

int storeNodeImage(int fileNo, std::uint32_t position, std::span<const std::uint8_t> image) {
    FileBlock& block = blockOf(fileNo);
    if (const int code = checkNodePosition(block.header, position); code != 0)
        return code;
    NodeBuffer* buffer = nullptr;
    bool hit = false;
    if (const int code = bufferFor(fileNo, position, buffer, hit); code != 0)
        return code;
    buffer->fileNumber = fileNo;
    touchBuffer(*buffer);
    std::copy(image.begin(), image.end(), nodeBytes(*buffer, block.header).begin());
    buffer->dirty = true;
    return writeBuffer(*buffer);
}

int dropCachedNodes(int fileNo) {
    const bool open = blockOf(fileNo).state == FileState::open;
    int first = 0;
    for (NodeBuffer& buffer : engine().buffers) {
        if (buffer.fileNumber != fileNo)
            continue;
        if (buffer.dirty && open)
            if (const int code = writeBuffer(buffer); code != 0 && first == 0)
                first = code;
        buffer.fileNumber = -1;
        buffer.dirty = false;
        buffer.usageStamp = 0;
    }
    return first;
}

} // namespace ptbank::isam
