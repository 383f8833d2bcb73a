// Records of data files: allocation from the free list or by growth, release,
// and transfers of whole records.

#include "isam/engine_state.hpp"
#include "isam/file_stream.hpp"
#include "isam/write_back.hpp"

#include "platform/binary_io.hpp"

#include <array>

namespace ptbank {

using namespace isam;

namespace {

constexpr std::uint8_t releasedMark = 0xFF;
constexpr std::size_t freeLinkBytes = 5;

int writeCheck(const FileBlock& block) {
    return block.readOnly() ? isamErr::readOnly : 0;
}

int kindCheck(const FileBlock& block) {
    return block.header.isIndex() ? isamErr::wrongFileKind : 0;
}

bool isRecordPosition(const FileHeader& h, std::uint32_t position) {
    const std::uint32_t first = dataHeaderArea(h.recordLength);
    return position >= first && (position - first) % h.recordLength == 0;
}

// Position 0 and positions that are not the start of a record (inside the
// header area, or between records) would let a record transfer overwrite the
// header or two neighbouring records: 29. Beyond the logical end: 30.
int positionCheck(const FileHeader& h, std::uint32_t position) {
    if (position == 0 || (!h.isIndex() && !isRecordPosition(h, position)))
        return isamErr::positionZero;
    if (position > h.logicalEnd)
        return isamErr::beyondEnd;
    return 0;
}

int firstFailure(std::initializer_list<int> codes) {
    for (const int code : codes)
        if (code != 0)
            return code;
    return 0;
}

// Takes the record at the head of the free list: its mark must be there and
// its link must name another record (or none).
int popFreeRecord(FileBlock& block, std::uint32_t& position) {
    FileHeader& h = block.header;
    std::array<std::uint8_t, freeLinkBytes> bytes{};
    if (const int code = readRecordBytes(block, h.freeListHead, bytes); code != 0)
        return code;
    platform::ByteReader r(bytes);
    const std::uint8_t mark = r.u8();
    const std::uint32_t link = r.u32();
    if (mark != releasedMark || (link != 0 && (!isRecordPosition(h, link) || link > h.logicalEnd)))
        return isamErr::freeListCorrupt;
    position = h.freeListHead;
    h.freeListHead = link;
    return 0;
}

} // namespace

std::uint32_t isamNewRecord(int fileNo) {
    isamError = 0;
    FileUse use(fileNo);
    if (use.code() != 0) {
        fail(use.code());
        return 0;
    }
    FileBlock& block = use.block();
    if (const int code = firstFailure({writeCheck(block), kindCheck(block)}); code != 0) {
        fail(code);
        return 0;
    }
    FileHeader& h = block.header;
    const std::uint32_t oldHead = h.freeListHead;
    const std::uint32_t oldEnd = h.logicalEnd;
    ++h.activeEntries;
    std::uint32_t position = 0;
    int code = ++h.serialNumber == 0 ? isamErr::serialOverflow : 0;
    if (code == 0)
        code = h.freeListHead != 0 ? popFreeRecord(block, position)
                                   : grow(block, h.recordLength, position);
    if (code == 0)
        code = noteHeaderChange(block);
    if (code != 0) {
        --h.activeEntries;
        h.freeListHead = oldHead;
        h.logicalEnd = oldEnd;
        fail(code);
        return 0;
    }
    return position;
}

int isamReleaseRecord(int fileNo, std::uint32_t position) {
    isamError = 0;
    FileUse use(fileNo);
    if (use.code() != 0)
        return fail(use.code());
    FileBlock& block = use.block();
    FileHeader& h = block.header;
    if (const int code =
            firstFailure({writeCheck(block), positionCheck(h, position), kindCheck(block)});
        code != 0)
        return fail(code);
    if (position == h.freeListHead)
        return fail(isamErr::releasedTwice);
    platform::ByteWriter link;
    link.u8(releasedMark);
    link.u32(h.freeListHead);
    const std::uint32_t oldHead = h.freeListHead;
    --h.activeEntries;
    h.freeListHead = position;
    int code = writeRecordBytes(block, position, link.bytes());
    if (code == 0)
        code = noteHeaderChange(block);
    if (code != 0) {
        ++h.activeEntries;
        h.freeListHead = oldHead;
        return fail(code);
    }
    return 0;
}

namespace {

// Checks shared by record transfers, in the engine's order; `writing` adds
// the READ-ONLY check.
int transferCheck(FileUse& use, std::uint32_t position, std::size_t bufferSize, bool writing) {
    if (use.code() != 0)
        return use.code();
    const FileBlock& block = use.block();
    const FileHeader& h = block.header;
    return firstFailure({kindCheck(block), positionCheck(h, position),
                         bufferSize < h.recordLength ? isamErr::nullBuffer : 0,
                         writing ? writeCheck(block) : 0});
}

std::size_t usableSize(std::span<const std::uint8_t> buffer) {
    return buffer.data() == nullptr ? 0 : buffer.size();
}

} // namespace

int isamReadRecord(int fileNo, std::uint32_t position, std::span<std::uint8_t> record) {
    isamError = 0;
    FileUse use(fileNo);
    if (const int code = transferCheck(use, position, usableSize(record), false); code != 0)
        return fail(code);
    const int code =
        readRecordBytes(use.block(), position, record.first(use.block().header.recordLength));
    return code != 0 ? fail(code) : 0;
}

int isamWriteRecord(int fileNo, std::uint32_t position, std::span<const std::uint8_t> record) {
    isamError = 0;
    FileUse use(fileNo);
    if (const int code = transferCheck(use, position, usableSize(record), true); code != 0)
        return fail(code);
    const int code =
        writeRecordBytes(use.block(), position, record.first(use.block().header.recordLength));
    return code != 0 ? fail(code) : 0;
}

} // namespace ptbank
