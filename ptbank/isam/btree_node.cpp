#include "isam/btree_node.hpp"

#include "isam/engine_state.hpp"
#include "isam/node_cache.hpp"

#include "platform/binary_io.hpp"

#include <algorithm>

namespace ptbank::isam {

namespace {

constexpr int positionSize = 4;
constexpr std::uint16_t ignoredKeyTypeBit = 16;

std::uint32_t readBigEndian(const std::uint8_t* p) {
    return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 |
           std::uint32_t{p[3]};
}

std::uint32_t readLittleEndian(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
           std::uint32_t{p[3]} << 24;
}

void writeLittleEndian(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < positionSize; ++i)
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::size_t slotOffset(const NodeShape& shape, int i) {
    return static_cast<std::size_t>(i - 1) * static_cast<std::size_t>(shape.entrySize);
}

// Where the high key lies in the entry area: the key part of the last slot.
std::size_t highKeyOffset(const NodeShape& shape) {
    return static_cast<std::size_t>(shape.highKeySlot - 1) *
               static_cast<std::size_t>(shape.slotSize()) +
           static_cast<std::size_t>(shape.pointerSize);
}

// The counts of a compressed entry's key, given the key before it (none for
// a node's first entry).
struct KeyCounts {
    int lead = 0;
    int trail = 0;
};

KeyCounts countsOf(const NodeShape& shape, const std::uint8_t* key, const std::uint8_t* before) {
    const int compressible = shape.keyLength - shape.suffixLength;
    KeyCounts counts;
    if (shape.leadCount && before != nullptr)
        while (counts.lead < compressible && key[counts.lead] == before[counts.lead])
            ++counts.lead;
    if (shape.trailCount)
        while (counts.trail < compressible - counts.lead &&
               key[compressible - 1 - counts.trail] == 0)
            ++counts.trail;
    return counts;
}

int diskSize(const NodeShape& shape, const KeyCounts& counts) {
    return shape.slotSize() - counts.lead - counts.trail;
}

// Writes entry i of `node` compressed at `out`; returns the bytes written.
int encodeEntry(const Node& node, int i, std::uint8_t* out) {
    const NodeShape& shape = node.shape;
    const std::uint8_t* key = node.key(i);
    const KeyCounts counts = countsOf(shape, key, i > 1 ? node.key(i - 1) : nullptr);
    std::uint8_t* p = out;
    if (shape.pointerSize != 0) {
        writeLittleEndian(p, node.pointer(i));
        p += shape.pointerSize;
    }
    if (shape.leadCount)
        *p++ = static_cast<std::uint8_t>(counts.lead);
    if (shape.trailCount)
        *p++ = static_cast<std::uint8_t>(counts.trail);
    const int compressible = shape.keyLength - shape.suffixLength;
    p = std::copy(key + counts.lead, key + compressible - counts.trail, p);
    p = std::copy(key + compressible, key + shape.keyLength, p);
    return static_cast<int>(p - out);
}

// Expands the `count` compressed entries in `area` (`used` bytes) into the
// node: false when they do not take exactly those bytes or a count is impossible.
bool decodeEntries(std::span<const std::uint8_t> area, int count, int used, Node& node) {
    const NodeShape& shape = node.shape;
    const int compressible = shape.keyLength - shape.suffixLength;
    node.entries.assign(static_cast<std::size_t>(count) * static_cast<std::size_t>(shape.entrySize),
                        0);
    int at = 0;
    for (int i = 1; i <= count; ++i) {
        const int fixed = shape.slotSize() - shape.keyLength; // pointer and counts
        if (at + fixed > used)
            return false;
        std::uint8_t* entry = node.entries.data() + slotOffset(shape, i);
        const std::uint8_t* p = area.data() + at;
        std::copy(p, p + shape.pointerSize, entry);
        p += shape.pointerSize;
        const int lead = shape.leadCount ? *p++ : 0;
        const int trail = shape.trailCount ? *p++ : 0;
        const int stored = compressible - lead - trail;
        if ((lead > 0 && i == 1) || stored < 0 || at + fixed + stored + shape.suffixLength > used)
            return false;
        std::uint8_t* key = entry + shape.pointerSize;
        if (lead > 0)
            std::copy(key - shape.entrySize, key - shape.entrySize + lead, key);
        std::copy_n(p, stored, key + lead);
        std::copy_n(p + stored, shape.suffixLength, key + compressible);
        at += fixed + stored + shape.suffixLength;
    }
    return at == used;
}

} // namespace

int Node::bytesThrough(int k) const {
    if (!shape.compressed())
        return k * shape.entrySize;
    int bytes = 0;
    for (int i = 1; i <= k; ++i)
        bytes += diskSize(shape, countsOf(shape, key(i), i > 1 ? key(i - 1) : nullptr));
    return bytes;
}

NodeShape nodeShape(const FileHeader& h, bool leaf) {
    NodeShape shape;
    shape.keyLength = h.keyLength;
    shape.pointerSize = leaf && h.duplicates() ? 0 : positionSize;
    shape.entrySize = shape.pointerSize + h.keyLength;
    shape.maxBytes = leaf ? h.leafBytes : h.innerBytes;
    shape.highKeySlot = leaf ? h.leafKeys : 0;
    shape.leadCount = h.leadCount();
    shape.trailCount = h.trailCount();
    shape.suffixLength = h.duplicates() ? positionSize : 0;
    return shape;
}

const std::uint8_t* Node::key(int i) const {
    return entries.data() + slotOffset(shape, i) + static_cast<std::size_t>(shape.pointerSize);
}

std::uint32_t Node::pointer(int i) const {
    if (shape.pointerSize == 0)
        return readBigEndian(key(i) + shape.keyLength - positionSize);
    return readLittleEndian(entries.data() + slotOffset(shape, i));
}

void Node::setPointer(int i, std::uint32_t pointer) {
    writeLittleEndian(entries.data() + slotOffset(shape, i), pointer);
}

void Node::insert(int i, std::uint32_t pointer, const std::uint8_t* key) {
    const std::size_t at = slotOffset(shape, i);
    entries.insert(entries.begin() + static_cast<std::ptrdiff_t>(at),
                   static_cast<std::size_t>(shape.entrySize), 0);
    std::uint8_t* entry = entries.data() + at;
    if (shape.pointerSize != 0)
        writeLittleEndian(entry, pointer);
    std::copy(key, key + shape.keyLength, entry + shape.pointerSize);
}

void Node::erase(int i) {
    const auto from = entries.begin() + static_cast<std::ptrdiff_t>(slotOffset(shape, i));
    entries.erase(from, from + shape.entrySize);
}

Node emptyNode(const FileHeader& header, std::uint32_t position, bool leaf) {
    Node node;
    node.position = position;
    node.leaf = leaf;
    node.shape = nodeShape(header, leaf);
    if (leaf)
        node.highKey.assign(static_cast<std::size_t>(header.keyLength), 0xFF);
    return node;
}

int loadNode(int fileNo, std::uint32_t position, Node& node) {
    std::span<const std::uint8_t> image;
    if (const int code = fetchNodeImage(fileNo, position, image); code != 0)
        return code;
    const FileHeader& header = engine().files[static_cast<std::size_t>(fileNo)].header;
    platform::ByteReader r(image);
    const std::uint32_t right = r.u32();
    const std::uint32_t left = r.u32();
    const std::int16_t count = r.i16();
    const std::uint16_t used = r.u16();
    const std::uint8_t leafFlag = r.u8();
    if (leafFlag > 1 || count < 0)
        return isamErr::corruptNode;
    // Filled in place, so a node loaded again and again keeps its storage.
    node.position = position;
    node.leaf = leafFlag == 1;
    node.shape = nodeShape(header, node.leaf);
    node.right = right;
    node.left = node.leaf ? left : 0;
    if (used > node.shape.maxBytes)
        return isamErr::corruptNode;
    const auto area = image.subspan(nodeHeaderSize);
    if (node.shape.compressed()) {
        if (!decodeEntries(area, count, used, node))
            return isamErr::corruptNode;
    } else {
        if (used != count * node.shape.entrySize)
            return isamErr::corruptNode;
        node.entries.assign(area.begin(), area.begin() + used);
    }
    if (node.leaf) {
        const auto high =
            area.subspan(highKeyOffset(node.shape), static_cast<std::size_t>(node.shape.keyLength));
        node.highKey.assign(high.begin(), high.end());
    } else {
        node.highKey.clear();
    }
    return 0;
}

int storeNode(int fileNo, const Node& node) {
    std::span<std::uint8_t> image;
    if (const int code = nodeImageToStore(fileNo, node.position, image); code != 0)
        return code;
    std::uint8_t* p = image.data();
    writeLittleEndian(p, node.right);
    writeLittleEndian(p + 4, node.leaf ? node.left : 0);
    const auto count = static_cast<std::uint16_t>(node.count());
    p[8] = static_cast<std::uint8_t>(count);
    p[9] = static_cast<std::uint8_t>(count >> 8);
    p[12] = node.leaf ? 1 : 0;
    p[13] = 0;
    const auto area = image.subspan(nodeHeaderSize);
    std::size_t used = node.entries.size();
    if (node.shape.compressed()) {
        used = 0;
        for (int i = 1; i <= node.count(); ++i)
            used += static_cast<std::size_t>(encodeEntry(node, i, area.data() + used));
    } else {
        std::copy(node.entries.begin(), node.entries.end(), area.begin());
    }
    std::fill(area.begin() + static_cast<std::ptrdiff_t>(used), area.end(), 0);
    p[10] = static_cast<std::uint8_t>(used);
    p[11] = static_cast<std::uint8_t>(used >> 8);
    if (node.leaf)
        std::copy(node.highKey.begin(), node.highKey.end(),
                  area.begin() + static_cast<std::ptrdiff_t>(highKeyOffset(node.shape)));
    return 0;
}

KeyBytes storedKey(const FileHeader& header, std::span<const std::uint8_t> key,
                   std::uint32_t position) {
    KeyBytes stored{};
    const auto length = static_cast<std::size_t>(header.keyLength);
    std::copy_n(key.begin(), length, stored.begin());
    if (header.duplicates())
        for (int i = 0; i < positionSize; ++i)
            stored[length - positionSize + static_cast<std::size_t>(i)] =
                static_cast<std::uint8_t>(position >> (8 * (positionSize - 1 - i)));
    return stored;
}

int compareKeys(std::uint8_t keyType, const std::uint8_t* target, const std::uint8_t* nodeKey,
                int length, bool& known) {
    switch (keyType & ~ignoredKeyTypeBit) {
    case 0:
    case leadCountBit:
    case trailCountBit:
    case leadCountBit | trailCountBit:
        for (int i = 0; i < length; ++i)
            if (target[i] != nodeKey[i])
                return target[i] > nodeKey[i] ? i + 1 : -(i + 1);
        return 0;
    case 1:
        for (int i = length - 1; i >= 0; --i)
            if (target[i] != nodeKey[i])
                return int{target[i]} - int{nodeKey[i]};
        return 0;
    default:
        known = false;
        return 0;
    }
}

} // namespace ptbank::isam
