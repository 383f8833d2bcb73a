#include "isam/engine_state.hpp"
#include "isam/file_stream.hpp"
#include "isam/node_cache.hpp"
#include "isam/write_back.hpp"

#include <algorithm>
#include <new>

namespace ptbank {

std::int32_t isamError = 0;

} // namespace ptbank

namespace ptbank::isam {

namespace {

constexpr std::uint32_t clockLimit = 65535;
constexpr int maxSectors = 511; // the node size is stored in 16 bits
constexpr int sectorBytes = 128;
// The node cache grows on demand to hold this many bytes of nodes, so the
// inner levels and the leaves of a file of a million keys stay in memory; the
// number of buffers asked for at initialisation is the least it holds.
constexpr std::size_t nodeCacheBytes = std::size_t{32} << 20;

// Renumbers the non-zero stamps 1, 2, ... in their order, so the least
// recently used stays the least recently used, and returns the highest.
template <typename Table, typename StampOf>
std::uint32_t renumberStamps(Table& table, StampOf stampOf) {
    std::vector<std::uint16_t> used;
    for (auto& item : table)
        if (stampOf(item) != 0)
            used.push_back(stampOf(item));
    std::sort(used.begin(), used.end());
    used.erase(std::unique(used.begin(), used.end()), used.end());
    for (auto& item : table) {
        std::uint16_t& stamp = stampOf(item);
        if (stamp != 0)
            stamp = static_cast<std::uint16_t>(std::lower_bound(used.begin(), used.end(), stamp) -
                                               used.begin() + 1);
    }
    return static_cast<std::uint32_t>(used.size());
}

template <typename Table, typename StampOf>
std::uint16_t nextStamp(std::uint32_t& clock, Table& table, StampOf stampOf) {
    if (++clock > clockLimit)
        clock = renumberStamps(table, stampOf) + 1;
    return static_cast<std::uint16_t>(clock);
}

} // namespace

// Never destroyed: files still open when the program ends are closed by
// other static objects' destructors (the handle table of the point-file
// interface), which may run after this one's would have.
Engine& engine() {
    static Engine& instance = *new Engine;
    return instance;
}

int fail(int code) {
    isamError = code;
    return code;
}

void touchFile(FileBlock& block) {
    if (block.permanent())
        return;
    Engine& e = engine();
    block.usageStamp = nextStamp(e.fileClock, e.files,
                                 [](FileBlock& b) -> std::uint16_t& { return b.usageStamp; });
}

FileUse::FileUse(int fileNo) {
    Engine& e = engine();
    if (!e.ready) {
        code_ = isamErr::notInitialised;
        return;
    }
    if (fileNo < 0 || fileNo >= static_cast<int>(e.files.size())) {
        code_ = isamErr::badFileNumber;
        return;
    }
    FileBlock& block = e.files[static_cast<std::size_t>(fileNo)];
    if (block.state == FileState::free) {
        code_ = isamErr::notOpen;
        return;
    }
    block.inUse = true;
    block_ = &block;
    if (block.state == FileState::closedForNow)
        code_ = reopenClosedForNow(block);
    touchFile(block);
}

FileUse::~FileUse() {
    if (block_ != nullptr)
        block_->inUse = false;
}

} // namespace ptbank::isam

namespace ptbank {

using namespace isam;

int isamInit(int buffers, int files, int sectors) {
    isamError = 0;
    Engine& e = engine();
    if (e.ready)
        return fail(isamErr::initialisedTwice);
    if (buffers < 3 || files < 0 || sectors < 1 || sectors > maxSectors)
        return fail(isamErr::badInitParameters);
    const std::size_t nodeSize = static_cast<std::size_t>(sectors) * sectorBytes;
    // The first pool, by far the largest table, comes first and without
    // throwing, so that a request too large for the machine is an error code.
    e.nodeSize = static_cast<std::uint16_t>(nodeSize);
    e.bufferLimit = std::max(static_cast<std::size_t>(buffers), nodeCacheBytes / nodeSize);
    try {
        if (!addNodeBuffers(static_cast<std::size_t>(buffers))) {
            e = Engine{};
            return fail(isamErr::outOfMemory);
        }
        e.files.assign(static_cast<std::size_t>(files), FileBlock{});
    } catch (const std::bad_alloc&) {
        e = Engine{};
        return fail(isamErr::outOfMemory);
    }
    e.ready = true;
    return 0;
}

int isamRelease() {
    isamError = 0;
    Engine& e = engine();
    for (std::size_t fileNo = 0; fileNo < e.files.size(); ++fileNo) {
        if (e.files[fileNo].state != FileState::free)
            flushFile(static_cast<int>(fileNo));
        physicalClose(e.files[fileNo]);
    }
    e = Engine{};
    return 0;
}

} // namespace ptbank
