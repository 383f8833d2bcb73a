#pragma once
// B-tree nodes of index files, decoded from and encoded to their on-disk
// image: a 14-byte header (right sibling u32, left sibling u32, entry count
// i16, bytes in use u16, leaf flag u8, member number u8) and fixed-size
// entries from offset 14. Entry kinds:
// - leaf, unique keys: record position u32, key;
// - leaf, duplicates: key only, its last 4 bytes the record position (big-endian);
// - inner: child position u32, key (with its position suffix under duplicates).
// A leaf keeps its high key in the key part of its last entry slot.
//
// Compressed indexes (key type bits 4 and 8) store each entry as: the
// pointer (when the kind has one), the leading count (bit 4: key bytes equal
// to those of the entry before, not stored; 0 for a node's first entry),
// the trailing count (bit 8: zero bytes removed from the key's end), the
// remaining key bytes, and under duplicates the 4-byte position suffix
// whole, outside both counts. Entries then differ in size; the slots that
// fix the limits and the high key's place are those of the longest entry,
// and the high key is kept whole. In memory a node always holds its entries
// expanded, at the fixed size of pointer and key.

#include "isam/file_header.hpp"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace ptbank::isam {

struct NodeShape {
    int keyLength = 0;
    int pointerSize = 0; // 4, or 0 in a leaf of an index with duplicates
    int entrySize = 0;   // an expanded entry: pointer and key
    int maxBytes = 0;    // entry bytes that may be in use on disk
    int highKeySlot = 0; // leaf: the slot (from 1) holding the high key
    bool leadCount = false;
    bool trailCount = false;
    int suffixLength = 0; // the position suffix, kept out of compression

    bool compressed() const { return leadCount || trailCount; }
    // The size of a slot on disk: an entry with its count bytes.
    int slotSize() const { return entrySize + (leadCount ? 1 : 0) + (trailCount ? 1 : 0); }
};

NodeShape nodeShape(const FileHeader& header, bool leaf);

struct Node {
    std::uint32_t position = 0;
    std::uint32_t right = 0;
    std::uint32_t left = 0;
    bool leaf = true;
    NodeShape shape;
    std::vector<std::uint8_t> entries; // count() entries back to back
    std::vector<std::uint8_t> highKey; // leaves only

    int count() const { return static_cast<int>(entries.size()) / shape.entrySize; }
    // Bytes entries 1 ... k take on disk.
    int bytesThrough(int k) const;
    int bytesUsed() const { return bytesThrough(count()); }
    bool overflows() const { return bytesUsed() > shape.maxBytes; }
    // Entries are numbered from 1.
    const std::uint8_t* key(int i) const;
    std::uint32_t pointer(int i) const;
    void setPointer(int i, std::uint32_t pointer);
    // Puts (pointer, key) before entry i; under duplicates a leaf stores the key alone.
    void insert(int i, std::uint32_t pointer, const std::uint8_t* key);
    void erase(int i);
};

// An empty node of the file's leaf or inner kind; a leaf's high key is all 0xFF.
Node emptyNode(const FileHeader& header, std::uint32_t position, bool leaf);

// Reads the node at `position` (through the cache) and checks its header:
// 0, a position fault, a transfer error or `corruptNode`.
int loadNode(int fileNo, std::uint32_t position, Node& node);

// Writes the node at its position (through the cache).
int storeNode(int fileNo, const Node& node);

// The key as stored for `position`: under duplicates its last 4 bytes carry
// the record position, most significant first, so equal keys sort by position.
using KeyBytes = std::array<std::uint8_t, maxKeyLength>; // a key in its first key length bytes
KeyBytes storedKey(const FileHeader& header, std::span<const std::uint8_t> key,
                   std::uint32_t position);

// Compares `target` with `nodeKey` over `length` bytes. Key types 0, 4, 8
// and 12 (bit 16 ignored): byte by byte from the first, giving +i or -i where i is the
// 1-based place of the first difference; key type 1: from the last byte,
// giving the difference of the first differing bytes. Another key type sets
// `known` false.
int compareKeys(std::uint8_t keyType, const std::uint8_t* target, const std::uint8_t* nodeKey,
                int length, bool& known);

} // namespace ptbank::isam
