// Indexes with compressed keys (key types 4, 8 and 12), built byte by byte
// from the layout: each entry is its pointer (when its kind has one), the
// leading count (bytes shared with the entry before, not stored), the
// trailing count (zero bytes cut from the key's end), the rest of the key,
// and under duplicates the 4-byte position suffix whole. The engine must
// walk, find, insert and delete in such nodes and write them back the same way.

#include "isam_support.hpp"

#include "ptbank/isam/isam_check.hpp"

namespace {

using namespace ptbank;
using isamtest::Bytes;
using isamtest::fileBytes;
using isamtest::Header;
using isamtest::headerBytes;
using isamtest::IsamTest;
using isamtest::place;

constexpr int indexFile = 1;
constexpr std::size_t nodeSize = 128;
constexpr std::size_t leafAt = 128;
constexpr std::size_t entryArea = leafAt + 14;

// A 10-byte key: the text, then zero bytes.
Bytes zeroPaddedKey(std::string_view text) {
    Bytes key(10, 0);
    std::copy(text.begin(), text.end(), key.begin());
    return key;
}

Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

Bytes u32le(std::uint32_t v) {
    return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
            static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
}

Bytes text(std::string_view t) {
    return Bytes(t.begin(), t.end());
}

// The leaf's 14-byte header: no siblings, `count` entries, `used` bytes, leaf flag 1.
Bytes leafHeader(int count, int used) {
    return concat(
        {u32le(0),
         u32le(0),
         {static_cast<std::uint8_t>(count), 0, static_cast<std::uint8_t>(used), 0, 1, 0}});
}

class IsamCompressedKeys : public IsamTest {
protected:
    // Writes an index of 128-byte nodes whose root is the one leaf at 128,
    // holding `entries` (bytes as stored) and the all-0xFF high key at
    // `highKeyAt` (from the node's start), and opens it.
    void writeAndOpen(Header h, const Bytes& entries, int count, std::size_t highKeyAt) {
        h.nodeSize = nodeSize;
        h.mode = 2;
        h.fileType = 1;
        h.active = count;
        h.root = static_cast<std::uint32_t>(leafAt);
        h.logicalEnd = h.physicalEnd = 255;
        Bytes image = headerBytes(h);
        image.resize(256, 0);
        place(image, leafAt, leafHeader(count, static_cast<int>(entries.size())));
        place(image, entryArea, entries);
        place(image, leafAt + highKeyAt, Bytes(static_cast<std::size_t>(h.keyLength), 0xFF));
        isamtest::writeFileBytes(path(), image);
        image_ = image;
        ASSERT_EQ(isamOpenFile(indexFile, path(), isamMode::permanent), 0);
    }

    // The leaf as the engine wrote it back, after closing the file: its
    // header and entry area up to `used` bytes.
    Bytes leafWrittenBack(std::size_t used) {
        EXPECT_EQ(isamCloseFile(indexFile, 1), 0);
        const Bytes bytes = fileBytes(path());
        EXPECT_EQ(bytes.size(), 256u);
        if (bytes.size() < 256)
            return {};
        EXPECT_TRUE(std::all_of(bytes.begin() + static_cast<std::ptrdiff_t>(entryArea + used),
                                bytes.begin() + static_cast<std::ptrdiff_t>(leafAt + highKey_),
                                [](std::uint8_t b) { return b == 0; }))
            << "bytes after the entries in use are zero";
        return Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(leafAt),
                     bytes.begin() + static_cast<std::ptrdiff_t>(entryArea + used));
    }

    std::vector<std::uint32_t> walkPositions() {
        std::vector<std::uint32_t> positions;
        Bytes out(10, 0);
        for (std::uint32_t p = isamFirstKey(indexFile, out); p != 0;
             p = isamNextKey(indexFile, out))
            positions.push_back(p);
        EXPECT_EQ(isamError, 0);
        return positions;
    }

    isamtest::fs::path path() const { return file("c.idx"); }

    Bytes image_;
    std::size_t highKey_ = 0;
};

// Key type 12, unique keys of 10 bytes, 128-byte nodes. An entry is at most
// 4 + 1 + 1 + 10 = 16 bytes: inner keys 114 / 16 = 7, inner bytes 114; a
// leaf has 7 slots, the last for its high key: leaf bytes 16 x 7 - 12 = 100,
// and the high key lies in slot 7 after its pointer: 14 + 6 x 16 + 4 = 114.
Header bothCountsHeader() {
    Header h;
    h.keyType = 12;
    h.keyLength = 10;
    h.innerKeys = 7;
    h.innerBytes = 114;
    h.leafKeys = 7;
    h.leafBytes = 100;
    return h;
}

// Entries of AB, ABC, ABCD and B (zero-padded to 10 bytes) at 144, 192, 240, 288:
//   AB:   no entry before, 8 zeros cut, "AB" stored        (8 bytes)
//   ABC:  "AB" shared, 7 zeros cut, "C" stored             (7 bytes)
//   ABCD: "ABC" shared, 6 zeros cut, "D" stored            (7 bytes)
//   B:    nothing shared, 9 zeros cut, "B" stored          (7 bytes)
const Bytes entryAB = concat({u32le(144), {0, 8}, text("AB")});
const Bytes entryABC = concat({u32le(192), {2, 7}, text("C")});
const Bytes entryABCD = concat({u32le(240), {3, 6}, text("D")});
const Bytes entryB = concat({u32le(288), {0, 9}, text("B")});

TEST_F(IsamCompressedKeys, CreatedIndexHasTheLimitsOfItsLongestEntry) {
    startEngine(6, 14, 1);
    ASSERT_EQ(isamCreateIndexFile(indexFile, path(), 10, 12, 0, 0, 0, isamMode::permanent), 0);
    ASSERT_EQ(isamCloseFile(indexFile, 1), 0);
    Header h = bothCountsHeader();
    h.nodeSize = nodeSize;
    h.mode = 2;
    h.fileType = 1;
    h.logicalEnd = h.physicalEnd = 127;
    Bytes expected = headerBytes(h);
    expected.resize(128, 0);
    EXPECT_EQ(fileBytes(path()), expected);
}

TEST_F(IsamCompressedKeys, WalkAndFindExpandEachKeyFromTheOneBefore) {
    startEngine(6, 14, 1);
    highKey_ = 114;
    writeAndOpen(bothCountsHeader(), concat({entryAB, entryABC, entryABCD, entryB}), 4, highKey_);
    EXPECT_EQ(walkPositions(), (std::vector<std::uint32_t>{144, 192, 240, 288}));

    Bytes out(10, 0);
    EXPECT_EQ(isamFindEqual(indexFile, zeroPaddedKey("ABCD")), 240u);
    EXPECT_EQ(isamFindEqual(indexFile, zeroPaddedKey("ABD")), 0u);
    EXPECT_EQ(isamFindAtLeast(indexFile, zeroPaddedKey("ABCA"), out), 240u);
    EXPECT_EQ(out, zeroPaddedKey("ABCD")) << "the key comes out whole";
    EXPECT_EQ(isamFindGreater(indexFile, zeroPaddedKey("ABC"), out), 240u);
    EXPECT_EQ(isamFindLess(indexFile, zeroPaddedKey("B"), out), 240u);
    EXPECT_EQ(isamPrevKey(indexFile, out), 192u);
    EXPECT_EQ(out, zeroPaddedKey("ABC"));
    const IsamCheckReport report = isamCheckIndex(indexFile);
    EXPECT_TRUE(report.ok()) << report.text();
}

TEST_F(IsamCompressedKeys, InsertAndDeleteRecountTheSharedBytes) {
    startEngine(6, 14, 1);
    highKey_ = 114;
    writeAndOpen(bothCountsHeader(), concat({entryAB, entryABC, entryABCD, entryB}), 4, highKey_);
    // ABCC at 336 goes between ABC and ABCD: "ABC" shared with ABC, 6 zeros
    // cut, "C" stored; ABCD after it still shares "ABC" with ABCC.
    ASSERT_EQ(isamAddKey(indexFile, zeroPaddedKey("ABCC"), 336, isamSplit::half), 0);
    const Bytes entryABCC = concat({u32le(336), {3, 6}, text("C")});
    Bytes entries = concat({entryAB, entryABC, entryABCC, entryABCD, entryB});
    EXPECT_EQ(leafWrittenBack(entries.size()),
              concat({leafHeader(5, static_cast<int>(entries.size())), entries}));

    // Without ABC, ABCC follows AB: "AB" shared, "CC" stored.
    ASSERT_EQ(isamOpenFile(indexFile, path(), isamMode::permanent), 0);
    ASSERT_EQ(isamDeleteKey(indexFile, zeroPaddedKey("ABC"), 192), 0);
    EXPECT_EQ(walkPositions(), (std::vector<std::uint32_t>{144, 336, 240, 288}));
    entries = concat({entryAB, concat({u32le(336), {2, 6}, text("CC")}), entryABCD, entryB});
    EXPECT_EQ(leafWrittenBack(entries.size()),
              concat({leafHeader(4, static_cast<int>(entries.size())), entries}));

    // Without the first entry, the next one is stored whole: AB gone, ABCC
    // shares nothing and keeps "ABCC".
    ASSERT_EQ(isamOpenFile(indexFile, path(), isamMode::permanent), 0);
    ASSERT_EQ(isamDeleteKey(indexFile, zeroPaddedKey("AB"), 144), 0);
    entries = concat({concat({u32le(336), {0, 6}, text("ABCC")}), entryABCD, entryB});
    EXPECT_EQ(leafWrittenBack(entries.size()),
              concat({leafHeader(3, static_cast<int>(entries.size())), entries}));
}

// Key type 4 with duplicates and 8-byte keys: the first 4 bytes compress,
// the position suffix (big-endian) is stored whole. A leaf entry is at most
// 1 + 8 = 9 bytes: leaf keys 114 / 9 = 12, leaf bytes 11 x 9 = 99, high key
// in slot 12 at 14 + 11 x 9 = 113; inner keys 114 / (9 + 4) = 8.
Header leadingDuplicatesHeader() {
    Header h;
    h.keyType = 4;
    h.duplicateFlag = 1;
    h.keyLength = 8;
    h.innerKeys = 8;
    h.innerBytes = 114;
    h.leafKeys = 12;
    h.leafBytes = 99;
    return h;
}

// "AB\0\0" at 0x90 and at 0xC0, then "AC\0\0" at 0xF0.
const Bytes dupFirst = concat({{0}, text("AB"), {0, 0}, {0, 0, 0, 0x90}});
const Bytes dupSame = concat({{4}, {0, 0, 0, 0xC0}});                    // all 4 bytes shared
const Bytes dupNext = concat({{1}, text("C"), {0, 0}, {0, 0, 0, 0xF0}}); // "A" shared

TEST_F(IsamCompressedKeys, DuplicateSuffixStaysWholeOutsideTheCount) {
    startEngine(6, 14, 1);
    highKey_ = 113;
    writeAndOpen(leadingDuplicatesHeader(), concat({dupFirst, dupSame, dupNext}), 3, highKey_);
    EXPECT_EQ(walkPositions(), (std::vector<std::uint32_t>{0x90, 0xC0, 0xF0}));
    const IsamCheckReport report = isamCheckIndex(indexFile);
    EXPECT_TRUE(report.ok()) << report.text();

    // A third AB at 0xA8 sorts between the two by its position.
    Bytes key = {'A', 'B', 0, 0, 0, 0, 0, 0};
    ASSERT_EQ(isamAddKey(indexFile, key, 0xA8, isamSplit::half), 0);
    ASSERT_EQ(isamDeleteKey(indexFile, key, 0x90), 0);
    EXPECT_EQ(walkPositions(), (std::vector<std::uint32_t>{0xA8, 0xC0, 0xF0}));
    const Bytes entries =
        concat({concat({{0}, text("AB"), {0, 0}, {0, 0, 0, 0xA8}}), dupSame, dupNext});
    EXPECT_EQ(leafWrittenBack(entries.size()),
              concat({leafHeader(3, static_cast<int>(entries.size())), entries}));
}

TEST_F(IsamCompressedKeys, ImpossibleCountsAreRefusedAsACorruptNode) {
    struct Row {
        const char* situation;
        Bytes entries;
    };
    const Row rows[] = {
        {"the first entry claims shared bytes", concat({u32le(144), {2, 0}, text("ABCDEFGH")})},
        {"the counts exceed the key", concat({u32le(144), {0, 11}})},
        {"the entry runs past the bytes in use", concat({u32le(144), {0, 0}, text("AB")})},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.situation);
        startEngine(6, 14, 1);
        highKey_ = 114;
        writeAndOpen(bothCountsHeader(), row.entries, 1, highKey_);
        Bytes out(10, 0);
        EXPECT_EQ(isamFirstKey(indexFile, out), 0u);
        EXPECT_EQ(isamError, isamErr::corruptNode);
        isamRelease();
    }
}

} // namespace
