#pragma once
// The 60-byte header at offset 0 of every data and index file, and the sizes
// derived from it.

#include <array>
#include <cstdint>
#include <span>

namespace ptbank::isam {

inline constexpr std::uint16_t engineStamp = 97;
inline constexpr std::size_t fileHeaderSize = 60;
inline constexpr std::int16_t dataFileType = 0;
inline constexpr std::int16_t indexFileType = 1;
inline constexpr std::int16_t variableFileType = 2;
inline constexpr int maxKeyLength = 64;
inline constexpr int nodeHeaderSize = 14;
inline constexpr std::uint32_t maxLogicalEnd = 2147483647u;

// Key type bits that compress an index's entries: a byte counting the
// leading key bytes shared with the entry before (not stored), and a byte
// counting the trailing zero bytes removed.
inline constexpr std::uint8_t leadCountBit = 4;
inline constexpr std::uint8_t trailCountBit = 8;

struct FileHeader {
    std::uint16_t stamp = 0;
    std::uint16_t nodeSize = 0;
    std::uint16_t recordLength = 0;
    std::uint16_t extensionSize = 0;
    std::uint16_t fileMode = 0;
    std::int16_t fileType = 0;
    std::uint8_t updateFlag = 0;
    std::uint8_t keyType = 0;
    std::uint8_t duplicateFlag = 0;
    std::int32_t activeEntries = 0;
    std::uint32_t freeListHead = 0;
    std::uint32_t logicalEnd = 0;
    std::uint32_t physicalEnd = 0;
    std::uint32_t serialNumber = 0;
    std::uint32_t rootNode = 0;
    std::uint16_t leafBytes = 0;
    std::uint16_t innerBytes = 0;
    std::uint16_t leafKeys = 0;
    std::uint16_t innerKeys = 0;
    std::int16_t keyLength = 0;

    bool isIndex() const { return fileType == indexFileType; }
    bool duplicates() const { return duplicateFlag != 0; }
    bool leadCount() const { return (keyType & leadCountBit) != 0; }
    bool trailCount() const { return (keyType & trailCountBit) != 0; }
    // The count bytes each entry of this index carries.
    int countBytes() const { return (leadCount() ? 1 : 0) + (trailCount() ? 1 : 0); }
};

std::array<std::uint8_t, fileHeaderSize> encodeFileHeader(const FileHeader& header);
FileHeader decodeFileHeader(std::span<const std::uint8_t, fileHeaderSize> bytes);

// Bytes before the first record: whole records, at least 128 bytes.
std::uint32_t dataHeaderArea(std::uint16_t recordLength);

// Bytes before the first node: whole nodes holding the 60-byte header.
std::uint32_t indexHeaderArea(std::uint16_t nodeSize);

// Header area of the file, by its kind.
std::uint32_t headerArea(const FileHeader& header);

// The leaf and inner limits an index of this key length, duplicate flag and
// node size has; false when fewer than 3 entries fit in a node.
bool computeIndexLimits(FileHeader& header);

} // namespace ptbank::isam
