#include "isam/file_header.hpp"

#include "platform/binary_io.hpp"

#include <algorithm>

namespace ptbank::isam {

std::array<std::uint8_t, fileHeaderSize> encodeFileHeader(const FileHeader& h) {
    platform::ByteWriter w;
    w.u16(h.stamp);
    w.u16(h.nodeSize);
    w.u16(h.recordLength);
    w.u16(h.extensionSize);
    w.u16(h.fileMode);
    w.i16(h.fileType);
    w.zeros(4);
    w.u8(h.updateFlag);
    w.u8(h.keyType);
    w.u8(h.duplicateFlag);
    w.zeros(1);
    w.i32(h.activeEntries);
    w.u32(h.freeListHead);
    w.u32(h.logicalEnd);
    w.u32(h.physicalEnd);
    w.u32(h.serialNumber);
    w.u32(h.rootNode);
    w.zeros(6);
    w.u16(h.leafBytes);
    w.u16(h.innerBytes);
    w.u16(h.leafKeys);
    w.u16(h.innerKeys);
    w.i16(h.keyLength);
    std::array<std::uint8_t, fileHeaderSize> out{};
    std::copy(w.bytes().begin(), w.bytes().end(), out.begin());
    return out;
}

FileHeader decodeFileHeader(std::span<const std::uint8_t, fileHeaderSize> bytes) {
    platform::ByteReader r(bytes);
    FileHeader h;
    h.stamp = r.u16();
    h.nodeSize = r.u16();
    h.recordLength = r.u16();
    h.extensionSize = r.u16();
    h.fileMode = r.u16();
    h.fileType = r.i16();
    r.skip(4);
    h.updateFlag = r.u8();
    h.keyType = r.u8();
    h.duplicateFlag = r.u8();
    r.skip(1);
    h.activeEntries = r.i32();
    h.freeListHead = r.u32();
    h.logicalEnd = r.u32();
    h.physicalEnd = r.u32();
    h.serialNumber = r.u32();
    h.rootNode = r.u32();
    r.skip(6);
    h.leafBytes = r.u16();
    h.innerBytes = r.u16();
    h.leafKeys = r.u16();
    h.innerKeys = r.u16();
    h.keyLength = r.i16();
    return h;
}

std::uint32_t dataHeaderArea(std::uint16_t recordLength) {
    const std::uint32_t records = (128u + recordLength - 1) / recordLength;
    return records * recordLength;
}

std::uint32_t indexHeaderArea(std::uint16_t nodeSize) {
    const std::uint32_t nodes = (fileHeaderSize + nodeSize - 1) / nodeSize;
    return nodes * nodeSize;
}

std::uint32_t headerArea(const FileHeader& header) {
    return header.isIndex() ? indexHeaderArea(header.nodeSize)
                            : dataHeaderArea(header.recordLength);
}

bool computeIndexLimits(FileHeader& h) {
    const int entryLength = h.keyLength + h.countBytes();
    const int areaBytes = h.nodeSize - nodeHeaderSize;
    const int innerKeys = areaBytes / (entryLength + 4);
    if (innerKeys < 3)
        return false;
    h.innerKeys = static_cast<std::uint16_t>(innerKeys);
    h.innerBytes = static_cast<std::uint16_t>(areaBytes);
    if (h.duplicates()) {
        const int leafKeys = areaBytes / entryLength;
        h.leafKeys = static_cast<std::uint16_t>(leafKeys);
        h.leafBytes = static_cast<std::uint16_t>((leafKeys - 1) * entryLength);
    } else {
        // The leaf's last slot holds its high key, so one entry fewer is in use.
        h.leafKeys = static_cast<std::uint16_t>(innerKeys);
        h.leafBytes = static_cast<std::uint16_t>((entryLength + 4) * innerKeys - entryLength);
    }
    return true;
}

} // namespace ptbank::isam
