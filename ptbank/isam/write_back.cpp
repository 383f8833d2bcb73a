#include "isam/write_back.hpp"

#include "isam/file_stream.hpp"
#include "isam/node_cache.hpp"

#include <algorithm>
#include <vector>

namespace ptbank::isam {

namespace {

// The records a data file holds in memory: past this many bytes the changed
// ones are written and all are let go.
constexpr std::size_t recordBudget = std::size_t{8} << 20;
// The update flag a batch in progress leaves on disk ('c' means another thing).
constexpr std::uint8_t inUpdateMark = 'u';

int writeHeaderMarked(FileBlock& block, std::uint8_t mark) {
    FileHeader marked = block.header;
    marked.updateFlag = mark;
    return writeAt(block, 0, encodeFileHeader(marked));
}

std::span<std::uint8_t> slotBytes(FileBlock& block, std::size_t slot) {
    const std::size_t length = block.header.recordLength;
    return std::span(block.pending.records.bytes).subspan(slot * length, length);
}

// Writes the changed records, those that follow one another in one transfer.
int writeChangedRecords(FileBlock& block) {
    if (const int code = writeGrowth(block); code != 0)
        return code;
    HeldRecords& held = block.pending.records;
    std::vector<std::size_t> slots;
    for (std::size_t k = 0; k < held.changed.size(); ++k)
        if (held.changed[k])
            slots.push_back(k);
    std::sort(slots.begin(), slots.end(),
              [&](std::size_t a, std::size_t b) { return held.positions[a] < held.positions[b]; });
    const std::size_t length = block.header.recordLength;
    std::vector<std::uint8_t> run;
    for (std::size_t first = 0; first < slots.size();) {
        const std::uint32_t start = held.positions[slots[first]];
        std::size_t end = first + 1;
        while (end < slots.size() && held.positions[slots[end]] == start + (end - first) * length)
            ++end;
        run.clear();
        for (std::size_t k = first; k < end; ++k) {
            const auto bytes = slotBytes(block, slots[k]);
            run.insert(run.end(), bytes.begin(), bytes.end());
        }
        if (const int code = writeAt(block, start, run); code != 0)
            return code;
        for (std::size_t k = first; k < end; ++k)
            held.changed[slots[k]] = false;
        first = end;
    }
    return 0;
}

// A slot for the record at `position`: held already, else a new one, which
// `fill` (when given) reads from the file. Over the budget, the records held
// are written and let go first.
int slotFor(FileBlock& block, std::uint32_t position, bool fill, std::size_t& slot) {
    HeldRecords& held = block.pending.records;
    if (const auto found = held.slotAt.find(position); found != held.slotAt.end()) {
        slot = found->second;
        return 0;
    }
    if (held.bytes.size() >= recordBudget) {
        if (const int code = writeChangedRecords(block); code != 0)
            return code;
        held = HeldRecords{};
    }
    slot = held.positions.size();
    held.bytes.resize(held.bytes.size() + block.header.recordLength);
    if (fill)
        if (const int code = readFileBytes(block, position, slotBytes(block, slot)); code != 0) {
            held.bytes.resize(held.bytes.size() - block.header.recordLength);
            return code;
        }
    held.positions.push_back(position);
    held.changed.push_back(false);
    held.slotAt.emplace(position, slot);
    return 0;
}

// The fill range holding `offset`, or the first one after it.
const std::pair<std::uint32_t, std::uint32_t>* fillAtOrAfter(const FileBlock& block,
                                                             std::uint32_t offset) {
    for (const auto& fill : block.pending.fills)
        if (fill.second >= offset)
            return &fill;
    return nullptr;
}

} // namespace

int writeGrowth(FileBlock& block) {
    auto& fills = block.pending.fills;
    while (!fills.empty()) {
        if (!fillWithFF(block, fills.front().first, fills.front().second))
            return isamErr::writeFailed;
        fills.erase(fills.begin());
        block.pending.lengthToCommit = true;
    }
    return 0;
}

int grow(FileBlock& block, std::uint32_t bytes, std::uint32_t& position) {
    FileHeader& h = block.header;
    const std::uint64_t newEnd = std::uint64_t{h.logicalEnd} + bytes;
    if (newEnd > maxLogicalEnd)
        return isamErr::offsetOverflow;
    if (const int code = flagUpdate(block); code != 0)
        return code;
    position = h.logicalEnd + 1;
    h.logicalEnd = static_cast<std::uint32_t>(newEnd);
    if (newEnd <= h.physicalEnd)
        return 0;
    const std::uint32_t stepped =
        h.physicalEnd < h.extensionSize ? h.extensionSize - 1u : h.physicalEnd + h.extensionSize;
    if (h.extensionSize <= bytes || stepped < newEnd) {
        h.physicalEnd = h.logicalEnd;
        return 0;
    }
    auto& fills = block.pending.fills;
    if (!fills.empty() && fills.back().second + 1 == h.physicalEnd + 1)
        fills.back().second = stepped;
    else
        fills.emplace_back(h.physicalEnd + 1, stepped);
    h.physicalEnd = stepped;
    return 0;
}

int readFileBytes(FileBlock& block, std::uint32_t offset, std::span<std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const std::uint32_t at = offset + static_cast<std::uint32_t>(done);
        const auto* fill = fillAtOrAfter(block, at);
        std::size_t count = bytes.size() - done;
        if (fill != nullptr && fill->first <= at) {
            count = std::min<std::size_t>(count, fill->second - at + 1u);
            std::fill_n(bytes.begin() + static_cast<std::ptrdiff_t>(done), count, 0xFF);
        } else {
            if (fill != nullptr)
                count = std::min<std::size_t>(count, fill->first - at);
            if (const int code = readAt(block, at, bytes.subspan(done, count)); code != 0)
                return code;
        }
        done += count;
    }
    return 0;
}

int flagUpdate(FileBlock& block) {
    if (block.pending.flaggedOnDisk)
        return 0;
    if (const int code = writeHeaderMarked(block, inUpdateMark); code != 0)
        return code;
    block.pending.flaggedOnDisk = true;
    return 0;
}

int noteHeaderChange(FileBlock& block) {
    if (const int code = flagUpdate(block); code != 0)
        return code;
    block.pending.headerChanged = true;
    return 0;
}

int readRecordBytes(FileBlock& block, std::uint32_t position, std::span<std::uint8_t> bytes) {
    std::size_t slot = 0;
    if (const int code = slotFor(block, position, true, slot); code != 0)
        return code;
    const auto held = slotBytes(block, slot);
    std::copy_n(held.begin(), bytes.size(), bytes.begin());
    return 0;
}

int writeRecordBytes(FileBlock& block, std::uint32_t position,
                     std::span<const std::uint8_t> bytes) {
    if (const int code = flagUpdate(block); code != 0)
        return code;
    std::size_t slot = 0;
    // A part of a record joins the batch with the rest of the record as stored.
    const bool whole = bytes.size() == block.header.recordLength;
    if (const int code = slotFor(block, position, !whole, slot); code != 0)
        return code;
    std::copy(bytes.begin(), bytes.end(), slotBytes(block, slot).begin());
    block.pending.records.changed[slot] = true;
    return 0;
}

int flushFile(int fileNo) {
    FileBlock& block = engine().files[static_cast<std::size_t>(fileNo)];
    PendingWrites& pending = block.pending;
    if (!pending.flaggedOnDisk && !pending.headerChanged)
        return 0;
    if (block.state == FileState::closedForNow)
        if (const int code = reopenClosedForNow(block); code != 0)
            return code;
    if (const int code = writeGrowth(block); code != 0)
        return code;
    const int written =
        block.header.isIndex() ? writeChangedNodes(fileNo) : writeChangedRecords(block);
    if (written != 0)
        return written;
    if (pending.lengthToCommit) {
        if (const int code = commitLength(block); code != 0)
            return code;
        pending.lengthToCommit = false;
    }
    if (const int code = writeHeaderMarked(block, 0); code != 0)
        return code;
    pending.flaggedOnDisk = false;
    pending.headerChanged = false;
    return 0;
}

} // namespace ptbank::isam
