#include "isam/node_cache.hpp"

#include "isam/file_stream.hpp"
#include "isam/write_back.hpp"

#include <algorithm>
#include <new>
#include <vector>

namespace ptbank::isam {

namespace {

// Buffers are added this many at a time once the first ones are in use.
constexpr std::size_t growthStep = 256;

FileBlock& blockOf(int fileNo) {
    return engine().files[static_cast<std::size_t>(fileNo)];
}

std::uint64_t cacheKey(int fileNo, std::uint32_t position) {
    return std::uint64_t{static_cast<std::uint32_t>(fileNo)} << 32 | position;
}

std::span<std::uint8_t> nodeBytes(NodeBuffer& buffer, const FileHeader& header) {
    return buffer.image.first(header.nodeSize);
}

void unlink(int i) {
    Engine& e = engine();
    NodeBuffer& b = e.buffers[static_cast<std::size_t>(i)];
    (b.newer >= 0 ? e.buffers[static_cast<std::size_t>(b.newer)].older : e.newest) = b.older;
    (b.older >= 0 ? e.buffers[static_cast<std::size_t>(b.older)].newer : e.oldest) = b.newer;
    b.newer = b.older = -1;
}

// Puts buffer i at one end of the recency chain. `away` is the link of a
// buffer that points from that end inwards, `toward` the one back out.
void linkAtEnd(int i, int Engine::*end, int Engine::*otherEnd, int NodeBuffer::*away,
               int NodeBuffer::*toward) {
    Engine& e = engine();
    NodeBuffer& b = e.buffers[static_cast<std::size_t>(i)];
    b.*away = e.*end;
    b.*toward = -1;
    if (e.*end >= 0)
        e.buffers[static_cast<std::size_t>(e.*end)].*toward = i;
    e.*end = i;
    if (e.*otherEnd < 0)
        e.*otherEnd = i;
}

void linkNewest(int i) {
    linkAtEnd(i, &Engine::newest, &Engine::oldest, &NodeBuffer::older, &NodeBuffer::newer);
}

// Free buffers go to the old end, so they are taken before any node is displaced.
void linkOldest(int i) {
    linkAtEnd(i, &Engine::oldest, &Engine::newest, &NodeBuffer::newer, &NodeBuffer::older);
}

void touch(int i) {
    if (engine().newest == i)
        return;
    unlink(i);
    linkNewest(i);
}

int writeBuffer(NodeBuffer& buffer) {
    FileBlock& block = blockOf(buffer.fileNumber);
    // A node displaced from the cache may belong to a file closed for now.
    if (block.state == FileState::closedForNow)
        if (const int code = reopenClosedForNow(block); code != 0)
            return code;
    if (const int code = writeGrowth(block); code != 0)
        return code;
    const int code = writeAt(block, buffer.position, nodeBytes(buffer, block.header));
    if (code == 0)
        buffer.dirty = false;
    return code;
}

void forget(int i) {
    Engine& e = engine();
    NodeBuffer& b = e.buffers[static_cast<std::size_t>(i)];
    e.bufferOf.erase(cacheKey(b.fileNumber, b.position));
    b.fileNumber = -1;
    b.dirty = false;
    unlink(i);
    linkOldest(i);
}

// The least recently used buffer, emptied: a changed node is written first.
// The table grows while it is below its limit and memory allows.
int takeBuffer(int& taken) {
    Engine& e = engine();
    if (e.buffers[static_cast<std::size_t>(e.oldest)].fileNumber >= 0 &&
        e.buffers.size() < e.bufferLimit)
        addNodeBuffers(std::min(growthStep, e.bufferLimit - e.buffers.size()));
    const int i = e.oldest;
    NodeBuffer& oldest = e.buffers[static_cast<std::size_t>(i)];
    if (oldest.fileNumber >= 0) {
        if (oldest.dirty)
            if (const int code = writeBuffer(oldest); code != 0)
                return code;
        forget(i);
    }
    taken = i;
    return 0;
}

// The buffer holding the node at `position`, or a free one given to it;
// `hit` tells which. Returns 0 or the error of writing out a changed node.
int bufferFor(int fileNo, std::uint32_t position, int& buffer, bool& hit) {
    Engine& e = engine();
    const auto found = e.bufferOf.find(cacheKey(fileNo, position));
    hit = found != e.bufferOf.end();
    if (hit) {
        buffer = found->second;
    } else {
        if (const int code = takeBuffer(buffer); code != 0)
            return code;
        NodeBuffer& b = e.buffers[static_cast<std::size_t>(buffer)];
        b.position = position;
        b.fileNumber = fileNo;
        e.bufferOf.emplace(cacheKey(fileNo, position), buffer);
    }
    touch(buffer);
    return 0;
}

std::vector<int> allBuffersOf(int fileNo) {
    std::vector<int> found;
    const auto& buffers = engine().buffers;
    for (std::size_t i = 0; i < buffers.size(); ++i)
        if (buffers[i].fileNumber == fileNo)
            found.push_back(static_cast<int>(i));
    return found;
}

// The buffers of the file's changed nodes, by position.
std::vector<int> changedBuffersOf(int fileNo) {
    const auto& buffers = engine().buffers;
    std::vector<int> found = blockOf(fileNo).pending.changedNodes;
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    std::erase_if(found, [&](int i) {
        const NodeBuffer& b = buffers[static_cast<std::size_t>(i)];
        return b.fileNumber != fileNo || !b.dirty;
    });
    std::sort(found.begin(), found.end(), [&](int a, int b) {
        return buffers[static_cast<std::size_t>(a)].position <
               buffers[static_cast<std::size_t>(b)].position;
    });
    return found;
}

} // namespace

bool addNodeBuffers(std::size_t count) {
    Engine& e = engine();
    const std::size_t nodeSize = e.nodeSize;
    std::unique_ptr<std::uint8_t[]> pool(new (std::nothrow) std::uint8_t[count * nodeSize]());
    if (!pool)
        return false;
    const std::size_t first = e.buffers.size();
    e.buffers.resize(first + count);
    for (std::size_t i = 0; i < count; ++i) {
        e.buffers[first + i].image = std::span(pool.get() + i * nodeSize, nodeSize);
        linkOldest(static_cast<int>(first + i));
    }
    e.pools.push_back(std::move(pool));
    return true;
}

int checkNodePosition(const FileHeader& header, std::uint32_t position) {
    if (position == 0)
        return isamErr::nodePositionZero;
    const std::uint32_t first = indexHeaderArea(header.nodeSize);
    if (position < first || (position - first) % header.nodeSize != 0 ||
        std::uint64_t{position} + header.nodeSize - 1 > header.logicalEnd)
        return isamErr::nodeOutsideFile;
    return 0;
}

int fetchNodeImage(int fileNo, std::uint32_t position, std::span<const std::uint8_t>& image) {
    FileBlock& block = blockOf(fileNo);
    if (const int code = checkNodePosition(block.header, position); code != 0)
        return code;
    int i = -1;
    bool hit = false;
    if (const int code = bufferFor(fileNo, position, i, hit); code != 0)
        return code;
    NodeBuffer& buffer = engine().buffers[static_cast<std::size_t>(i)];
    if (!hit) {
        if (const int code = readFileBytes(block, position, nodeBytes(buffer, block.header));
            code != 0) {
            forget(i);
            return code;
        }
    }
    image = nodeBytes(buffer, block.header);
    return 0;
}

int nodeImageToStore(int fileNo, std::uint32_t position, std::span<std::uint8_t>& image) {
    FileBlock& block = blockOf(fileNo);
    if (const int code = checkNodePosition(block.header, position); code != 0)
        return code;
    if (const int code = flagUpdate(block); code != 0)
        return code;
    int i = -1;
    bool hit = false;
    if (const int code = bufferFor(fileNo, position, i, hit); code != 0)
        return code;
    NodeBuffer& buffer = engine().buffers[static_cast<std::size_t>(i)];
    image = nodeBytes(buffer, block.header);
    if (!buffer.dirty)
        block.pending.changedNodes.push_back(i);
    buffer.dirty = true;
    return 0;
}

int writeChangedNodes(int fileNo) {
    FileBlock& block = blockOf(fileNo);
    const std::size_t nodeSize = block.header.nodeSize;
    if (const int code = writeGrowth(block); code != 0)
        return code;
    const std::vector<int> changed = changedBuffersOf(fileNo);
    auto& buffers = engine().buffers;
    std::vector<std::uint8_t> run;
    for (std::size_t first = 0; first < changed.size();) {
        // A run of nodes that follow one another in the file.
        std::size_t end = first + 1;
        const std::uint32_t start = buffers[static_cast<std::size_t>(changed[first])].position;
        while (end < changed.size() && buffers[static_cast<std::size_t>(changed[end])].position ==
                                           start + (end - first) * nodeSize)
            ++end;
        run.clear();
        for (std::size_t k = first; k < end; ++k) {
            const auto bytes =
                nodeBytes(buffers[static_cast<std::size_t>(changed[k])], block.header);
            run.insert(run.end(), bytes.begin(), bytes.end());
        }
        if (const int code = writeAt(block, start, run); code != 0)
            return code;
        for (std::size_t k = first; k < end; ++k)
            buffers[static_cast<std::size_t>(changed[k])].dirty = false;
        first = end;
    }
    block.pending.changedNodes.clear();
    return 0;
}

int dropCachedNodes(int fileNo) {
    const int written = blockOf(fileNo).state == FileState::open ? writeChangedNodes(fileNo) : 0;
    for (const int i : allBuffersOf(fileNo))
        forget(i);
    blockOf(fileNo).pending.changedNodes.clear();
    return written;
}

} // namespace ptbank::isam
