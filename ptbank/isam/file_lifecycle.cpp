// Creating, opening and closing data and index files.

#include "isam/engine_state.hpp"
#include "isam/file_stream.hpp"
#include "isam/node_cache.hpp"
#include "isam/write_back.hpp"

#include <limits>
#include <system_error>
#include <vector>

namespace ptbank {

using namespace isam;

namespace {

constexpr std::uint8_t updateMarkC = 'c';
constexpr int maxRecordLength = 65535;

// 0 when the engine is ready and `fileNo` names a free block.
int claimFreeBlock(int fileNo) {
    Engine& e = engine();
    if (!e.ready)
        return isamErr::notInitialised;
    if (fileNo < 0 || fileNo >= static_cast<int>(e.files.size()))
        return isamErr::badFileNumber;
    if (e.files[static_cast<std::size_t>(fileNo)].state != FileState::free)
        return isamErr::fileNumberInUse;
    return 0;
}

FileBlock& blockOf(int fileNo) {
    return engine().files[static_cast<std::size_t>(fileNo)];
}

std::uint16_t storedMode(int mode) {
    return static_cast<std::uint16_t>(mode & ~(isamMode::shared | isamMode::readOnly));
}

bool refusedKeyType(int keyType) {
    return keyType == 2 || keyType == 3;
}

bool badKeyLength(int keyLength, bool duplicates) {
    // With duplicates the key's last 4 bytes carry the record position.
    const int shortest = duplicates ? 4 : 1;
    return keyLength < shortest || keyLength > maxKeyLength;
}

// Writes the header area (the header, then zeros) of a file just created and
// opens its block; a failure removes the half-made file.
int finishCreation(FileBlock& block) {
    std::vector<std::uint8_t> area(headerArea(block.header), 0);
    const auto header = encodeFileHeader(block.header);
    std::copy(header.begin(), header.end(), area.begin());
    if (const int code = writeAt(block, 0, area); code != 0) {
        physicalClose(block);
        std::error_code ignored;
        std::filesystem::remove(block.path, ignored);
        block = FileBlock{};
        return fail(code);
    }
    block.state = FileState::open;
    block.walk = {};
    touchFile(block);
    return 0;
}

int refuseOpen(FileBlock& block, int code) {
    physicalClose(block);
    block = FileBlock{};
    return fail(code);
}

// The checks of a header just read, in the order the engine has always made them.
int headerFault(const FileHeader& h, std::uint16_t configuredNodeSize) {
    if (h.fileType < 0 || h.fileType > variableFileType)
        return isamErr::unknownFileType;
    if (h.nodeSize > configuredNodeSize)
        return isamErr::nodeSizeTooLarge;
    if (h.stamp != engineStamp)
        return isamErr::badStamp;
    if (h.keyLength > maxKeyLength)
        return isamErr::badKeyLength;
    if (h.updateFlag == updateMarkC)
        return isamErr::markedC;
    if (h.updateFlag != 0)
        return isamErr::inUpdate;
    if (h.fileType == variableFileType)
        return isamErr::variableLength;
    return 0;
}

// Checks of fields that a damaged file could hold and that later arithmetic relies on.
int dataHeaderFault(const FileHeader& h) {
    if (h.recordLength < 5)
        return isamErr::badRecordLength;
    const std::uint32_t first = dataHeaderArea(h.recordLength);
    const bool endOk = h.logicalEnd + 1u >= first && h.logicalEnd <= maxLogicalEnd &&
                       (h.logicalEnd + 1u - first) % h.recordLength == 0;
    const bool headOk =
        h.freeListHead == 0 || (h.freeListHead >= first && h.freeListHead <= h.logicalEnd &&
                                (h.freeListHead - first) % h.recordLength == 0);
    // More records in use than the file has places for: the next new record
    // would step the count past its largest value.
    const bool countOk =
        endOk && h.activeEntries >= 0 &&
        static_cast<std::uint32_t>(h.activeEntries) <= (h.logicalEnd + 1u - first) / h.recordLength;
    return endOk && headOk && countOk ? 0 : isamErr::corruptHeaderPositions;
}

int indexHeaderFault(const FileHeader& h) {
    if (badKeyLength(h.keyLength, h.duplicates()))
        return isamErr::badKeyLength;
    if (refusedKeyType(h.keyType))
        return isamErr::badKeyType;
    FileHeader limits = h;
    if (!computeIndexLimits(limits) || limits.leafBytes != h.leafBytes ||
        limits.innerBytes != h.innerBytes || limits.leafKeys != h.leafKeys ||
        limits.innerKeys != h.innerKeys)
        return isamErr::corruptHeaderLimits;
    const std::uint32_t first = indexHeaderArea(h.nodeSize);
    const bool endOk = h.logicalEnd + 1u >= first && h.logicalEnd <= maxLogicalEnd &&
                       (h.logicalEnd + 1u - first) % h.nodeSize == 0;
    const bool rootOk = h.rootNode == 0 || (endOk && checkNodePosition(h, h.rootNode) == 0);
    // Every key takes bytes of a node: no index holds more keys than bytes.
    const bool countOk =
        h.activeEntries >= 0 && static_cast<std::uint32_t>(h.activeEntries) <= h.logicalEnd;
    return endOk && rootOk && countOk ? 0 : isamErr::corruptHeaderPositions;
}

} // namespace

int isamCreateDataFile(int fileNo, const std::filesystem::path& path, int recordLength,
                       int extensionSize, int mode) {
    isamError = 0;
    if (const int code = claimFreeBlock(fileNo); code != 0)
        return fail(code);
    if ((mode & isamMode::variableLength) != 0)
        return fail(isamErr::variableLength);
    if (recordLength < 5 || recordLength > maxRecordLength)
        return fail(isamErr::badRecordLength);
    FileBlock& block = blockOf(fileNo);
    block = FileBlock{};
    block.path = path;
    block.header.fileMode = storedMode(mode);
    if (const int created = physicalCreate(block); created != 0) {
        block = FileBlock{};
        return fail(created > 0 ? isamErr::dataExists : isamErr::cannotCreateData);
    }
    FileHeader& h = block.header;
    h.stamp = engineStamp;
    h.recordLength = static_cast<std::uint16_t>(recordLength);
    h.extensionSize = static_cast<std::uint16_t>(extensionSize);
    h.fileType = dataFileType;
    h.duplicateFlag = 1;
    h.logicalEnd = h.physicalEnd = dataHeaderArea(h.recordLength) - 1;
    return finishCreation(block);
}

int isamCreateIndexFile(int fileNo, const std::filesystem::path& path, int keyLength, int keyType,
                        int duplicates, int members, int extensionSize, int mode) {
    isamError = 0;
    // Members would share one file under numbers that a reopened file cannot
    // recover; nothing uses them, so they are refused.
    if (members != 0)
        return fail(isamErr::badMembers);
    if (const int code = claimFreeBlock(fileNo); code != 0)
        return fail(code);
    FileBlock& block = blockOf(fileNo);
    block = FileBlock{};
    FileHeader& h = block.header;
    h.stamp = engineStamp;
    h.nodeSize = engine().nodeSize;
    h.extensionSize = static_cast<std::uint16_t>(extensionSize);
    h.fileMode = storedMode(mode);
    h.fileType = indexFileType;
    h.keyType = static_cast<std::uint8_t>(keyType);
    h.duplicateFlag = duplicates != 0 ? 1 : 0;
    h.keyLength = static_cast<std::int16_t>(keyLength);
    if (keyLength < 1 || (h.duplicates() && keyLength < 4)) {
        block = FileBlock{};
        return fail(isamErr::badKeyLength);
    }
    // A key beyond the 16-bit field cannot fit a node either.
    const bool fits =
        keyLength <= std::numeric_limits<std::int16_t>::max() && computeIndexLimits(h);
    const bool keyTypeRefused = keyType < 0 || keyType > 255 || refusedKeyType(keyType);
    const int refused = !fits                      ? isamErr::keyTooLongForNode
                        : keyLength > maxKeyLength ? isamErr::badKeyLength
                        : keyTypeRefused           ? isamErr::badKeyType
                                                   : 0;
    if (refused != 0) {
        block = FileBlock{};
        return fail(refused);
    }
    h.logicalEnd = h.physicalEnd = indexHeaderArea(h.nodeSize) - 1;
    block.path = path;
    if (const int created = physicalCreate(block); created != 0) {
        block = FileBlock{};
        return fail(created > 0 ? isamErr::indexExists : isamErr::cannotCreateIndex);
    }
    return finishCreation(block);
}

int isamOpenFile(int fileNo, const std::filesystem::path& path, int mode) {
    isamError = 0;
    if (const int code = claimFreeBlock(fileNo); code != 0)
        return fail(code);
    if ((mode & isamMode::readOnly) != 0)
        mode &= ~isamMode::shared;
    FileBlock& block = blockOf(fileNo);
    block = FileBlock{};
    block.path = path;
    block.header.fileMode = static_cast<std::uint16_t>(mode);
    if (const int opened = physicalOpen(block); opened != 0) {
        block = FileBlock{};
        return fail(opened < 0 ? isamErr::cannotOpen : opened);
    }
    std::array<std::uint8_t, fileHeaderSize> bytes{};
    if (const int code = readAt(block, 0, bytes); code != 0)
        return refuseOpen(block, code);
    FileHeader h = decodeFileHeader(bytes);
    int fault = headerFault(h, engine().nodeSize);
    if (fault == 0)
        fault = h.isIndex() ? indexHeaderFault(h) : dataHeaderFault(h);
    if (fault != 0)
        return refuseOpen(block, fault);
    const bool modeChanged = h.fileMode != mode;
    h.fileMode = static_cast<std::uint16_t>(mode);
    block.header = h;
    if (modeChanged && !block.readOnly())
        if (const int code = writeHeader(block); code != 0)
            return refuseOpen(block, code);
    block.state = FileState::open;
    block.walk = {};
    touchFile(block);
    return 0;
}

int isamFlushFile(int fileNo) {
    isamError = 0;
    FileUse use(fileNo);
    if (use.code() != 0)
        return fail(use.code());
    const int code = flushFile(fileNo);
    return code != 0 ? fail(code) : 0;
}

int isamCloseFile(int fileNo, int /*closeMode*/) {
    isamError = 0;
    Engine& e = engine();
    if (!e.ready)
        return fail(isamErr::notInitialised);
    if (fileNo < 0 || fileNo >= static_cast<int>(e.files.size()))
        return fail(isamErr::badFileNumber);
    FileBlock& block = blockOf(fileNo);
    if (block.state == FileState::free)
        return fail(isamErr::notOpen);
    int written = flushFile(fileNo);
    if (block.header.isIndex())
        if (const int dropped = dropCachedNodes(fileNo); written == 0)
            written = dropped;
    const int closed = physicalClose(block);
    block = FileBlock{};
    if (written != 0)
        return fail(written);
    return closed != 0 ? fail(closed) : 0;
}

} // namespace ptbank
