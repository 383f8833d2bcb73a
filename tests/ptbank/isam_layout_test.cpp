// The engine's files byte for byte against images built by hand, field by
// field, from the layout tables: the 60-byte header, the data file's header
// area and free list, index nodes of both kinds and a split.

#include "isam_support.hpp"

namespace {

using namespace ptbank;
using isamtest::Bytes;
using isamtest::entry;
using isamtest::fileBytes;
using isamtest::Header;
using isamtest::headerBytes;
using isamtest::IsamTest;
using isamtest::nodeBytes;
using isamtest::NodeImage;
using isamtest::place;
using isamtest::textKey;

using IsamLayout = IsamTest;

TEST_F(IsamLayout, NewDataFileHasItsHeaderAreaUpToTheFirstRecordBoundary) {
    startEngine();
    struct Row {
        int recordLength;
        std::uint32_t firstRecord; // ceil(128 / length) x length
    };
    // 48: 3 records = 144; 200: 1 record = 200; 5: 26 records = 130.
    for (const Row row : {Row{48, 144}, Row{200, 200}, Row{5, 130}}) {
        SCOPED_TRACE(row.recordLength);
        const auto path = file("d" + std::to_string(row.recordLength) + ".dat");
        // SHARED (1) and READ-ONLY (8) are not stored: mode 11 is stored as 2.
        ASSERT_EQ(isamCreateDataFile(0, path, row.recordLength, 1024, 11), 0);
        Header h;
        h.recordLength = static_cast<std::uint16_t>(row.recordLength);
        h.extensionSize = 1024;
        h.mode = 2;
        h.duplicateFlag = 1;
        h.logicalEnd = h.physicalEnd = row.firstRecord - 1;
        Bytes expected = headerBytes(h);
        expected.resize(row.firstRecord, 0);
        EXPECT_EQ(fileBytes(path), expected);
        EXPECT_EQ(isamNewRecord(0), row.firstRecord);
        ASSERT_EQ(isamCloseFile(0, 1), 0);
    }
}

TEST_F(IsamLayout, RecordsGrowByTheExtensionAndReleasedOnesFormAStack) {
    startEngine();
    const auto path = file("points.dat");
    ASSERT_EQ(isamCreateDataFile(0, path, 48, 1024, isamMode::permanent), 0);
    const Bytes a(48, 'a');
    const Bytes b(48, 'b');
    ASSERT_EQ(isamNewRecord(0), 144u);
    ASSERT_EQ(isamWriteRecord(0, 144, a), 0);
    ASSERT_EQ(isamNewRecord(0), 192u);
    ASSERT_EQ(isamWriteRecord(0, 192, b), 0);
    ASSERT_EQ(isamReleaseRecord(0, 144), 0);
    ASSERT_EQ(isamReleaseRecord(0, 192), 0);
    ASSERT_EQ(isamCloseFile(0, 1), 0);

    // The first growth by 48 bytes: the physical end was 143, below the
    // extension size 1024, so it becomes 1024 - 1 = 1023 and bytes 144 to
    // 1023 are filled with 0xFF. Two records used: logical end 143 + 96 = 239.
    Header h;
    h.recordLength = 48;
    h.extensionSize = 1024;
    h.mode = 2;
    h.duplicateFlag = 1;
    h.active = 0;     // two new, two released
    h.freeHead = 192; // the last one released
    h.logicalEnd = 239;
    h.physicalEnd = 1023;
    h.serial = 2;
    Bytes expected = headerBytes(h);
    expected.resize(144, 0);
    expected.resize(1024, 0xFF);
    place(expected, 144, a);
    place(expected, 192, b);
    place(expected, 144, {0xFF, 0, 0, 0, 0});   // released: mark, end of list
    place(expected, 192, {0xFF, 144, 0, 0, 0}); // released: mark, next is 144
    EXPECT_EQ(fileBytes(path), expected);

    ASSERT_EQ(isamOpenFile(0, path, isamMode::permanent), 0);
    EXPECT_EQ(isamNewRecord(0), 192u) << "the most recently released record comes first";
    EXPECT_EQ(isamNewRecord(0), 144u);
    EXPECT_EQ(isamNewRecord(0), 240u);
}

TEST_F(IsamLayout, IndexWithOneKeyHasItsLimitsAndALeafRoot) {
    startEngine(); // 1024-byte nodes
    const auto path = file("points.idx");
    ASSERT_EQ(isamCreateIndexFile(1, path, 10, 0, 0, 0, 2048, isamMode::permanent), 0);
    // Key length 10, unique: entry 10 bytes plus a 4-byte pointer.
    // Inner keys (1024 - 14) / 14 = 72, inner bytes 1010; a leaf has the same
    // 72 slots, the last for its high key: leaf bytes 14 x 72 - 10 = 998.
    Header h;
    h.nodeSize = 1024;
    h.extensionSize = 2048;
    h.mode = 2;
    h.fileType = 1;
    h.innerKeys = 72;
    h.innerBytes = 1010;
    h.leafKeys = 72;
    h.leafBytes = 998;
    h.keyLength = 10;
    h.logicalEnd = h.physicalEnd = 1023; // the header fills one node
    Bytes expected = headerBytes(h);
    expected.resize(1024, 0);
    EXPECT_EQ(fileBytes(path), expected);

    const Bytes key = textKey("    7"); // a point name right-justified, as the layer stores it
    ASSERT_EQ(isamAddKey(1, key, 144, isamSplit::ascending), 0);
    ASSERT_EQ(isamCloseFile(1, 1), 0);
    // One node grown: the physical end 1023 was below the extension 2048,
    // so it becomes 2047 and the node is written over the 0xFF fill.
    h.active = 1;
    h.root = 1024;
    h.logicalEnd = h.physicalEnd = 2047;
    expected = headerBytes(h);
    expected.resize(1024, 0);
    NodeImage leaf;
    leaf.entries = {entry(144, key)};
    leaf.highKey = Bytes(10, 0xFF);        // the first leaf's high key
    leaf.highKeyOffset = 14 + 71 * 14 + 4; // slot 72, after its pointer
    place(expected, 1024, nodeBytes(leaf, 1024));
    EXPECT_EQ(fileBytes(path), expected);
}

TEST_F(IsamLayout, AscendingSplitKeepsSixSeventhsLeftAndMakesAnInnerRoot) {
    startEngine(6, 14, 1); // 128-byte nodes
    const auto path = file("small.idx");
    ASSERT_EQ(isamCreateIndexFile(1, path, 10, 0, 0, 0, 0, isamMode::permanent), 0);
    const std::string names = "ABCDEFGH";
    for (std::size_t i = 0; i < names.size(); ++i)
        ASSERT_EQ(isamAddKey(1, textKey(names.substr(i, 1)),
                             1000 + 16 * static_cast<std::uint32_t>(i), isamSplit::ascending),
                  0);
    ASSERT_EQ(isamCloseFile(1, 1), 0);

    // A leaf of 128 bytes holds 7 entries (leaf bytes 102, entries of 14). The 8th makes n = 8;
    // mode 1 cuts at 6 x 8 / 7 = 6: A..F stay, G and H go to a new node at 256, and a new root at
    // 384 holds (F -> 128) and (all 0xFF -> 256). Extension 0: no fill, ends follow.
    Header h = isamtest::smallIndexHeader();
    h.active = 8;
    h.root = 384;
    h.logicalEnd = h.physicalEnd = 511;
    Bytes expected = headerBytes(h);
    expected.resize(128, 0);
    const std::size_t highKeyOffset = 14 + 7 * 14 + 4; // slot 8, after its pointer
    NodeImage left;
    left.right = 256;
    for (std::uint32_t i = 0; i < 6; ++i)
        left.entries.push_back(entry(1000 + 16 * i, textKey(names.substr(i, 1))));
    left.highKey = textKey("F");
    left.highKeyOffset = highKeyOffset;
    NodeImage right;
    right.left = 128;
    right.entries = {entry(1096, textKey("G")), entry(1112, textKey("H"))};
    right.highKey = Bytes(10, 0xFF);
    right.highKeyOffset = highKeyOffset;
    NodeImage root;
    root.leaf = false;
    root.entries = {entry(128, textKey("F")), entry(256, Bytes(10, 0xFF))};
    place(expected, 128, nodeBytes(left, 128));
    place(expected, 256, nodeBytes(right, 128));
    place(expected, 384, nodeBytes(root, 128));
    EXPECT_EQ(fileBytes(path), expected);
}

TEST_F(IsamLayout, DuplicateLeafStoresTheKeyWithItsPositionSuffixOnly) {
    startEngine(6, 14, 1); // 128-byte nodes
    const auto path = file("dup.idx");
    ASSERT_EQ(isamCreateIndexFile(1, path, 8, 0, 1, 0, 0, isamMode::permanent), 0);
    ASSERT_EQ(isamAddKey(1, textKey("AB", 8), 0x01020304, isamSplit::half), 0);
    ASSERT_EQ(isamCloseFile(1, 1), 0);
    // Key length 8 with duplicates: inner keys (128 - 14) / (8 + 4) = 9,
    // leaf keys 114 / 8 = 14, leaf bytes (14 - 1) x 8 = 104.
    Header h;
    h.nodeSize = 128;
    h.mode = 2;
    h.fileType = 1;
    h.duplicateFlag = 1;
    h.innerKeys = 9;
    h.innerBytes = 114;
    h.leafKeys = 14;
    h.leafBytes = 104;
    h.keyLength = 8;
    h.active = 1;
    h.root = 128;
    h.logicalEnd = h.physicalEnd = 255;
    Bytes expected = headerBytes(h);
    expected.resize(128, 0);
    NodeImage leaf;
    // The key's last 4 bytes become the position, most significant first.
    leaf.entries = {Bytes{'A', 'B', ' ', ' ', 0x01, 0x02, 0x03, 0x04}};
    leaf.highKey = Bytes(8, 0xFF);
    leaf.highKeyOffset = 14 + 13 * 8; // slot 14; no pointer in this kind of leaf
    place(expected, 128, nodeBytes(leaf, 128));
    EXPECT_EQ(fileBytes(path), expected);
}

// Entries of each leaf along the sibling chain, read from the file's bytes.
std::vector<int> leafCounts(const Bytes& file, std::size_t nodeSize) {
    const auto u32 = [&](std::size_t at) {
        return std::uint32_t{file[at]} | std::uint32_t{file[at + 1]} << 8 |
               std::uint32_t{file[at + 2]} << 16 | std::uint32_t{file[at + 3]} << 24;
    };
    std::vector<int> counts;
    std::uint32_t leaf = 0;
    for (std::size_t at = nodeSize; at + nodeSize <= file.size(); at += nodeSize)
        if (file[at + 12] == 1 && u32(at + 4) == 0)
            leaf = static_cast<std::uint32_t>(at); // the leaf with no left sibling
    for (; leaf != 0; leaf = u32(leaf))
        counts.push_back(file[leaf + 8] | file[leaf + 9] << 8);
    return counts;
}

TEST_F(IsamLayout, SplitModesFillTheLeftNodesAsSpecified) {
    // 1024-byte nodes, key length 10: a leaf holds 71 entries; the 72nd
    // splits it, leaving n = 72 entries to share. Ascending keys only ever
    // split the last leaf, so every leaf but the last keeps k entries:
    // mode 0: 72 / 2 = 36; mode 1: 6 x 72 / 7 = 61 (about six sevenths of 71);
    // mode 2: 72 / 7 + 1 = 11.
    struct Row {
        int mode;
        int keep;
    };
    for (const Row row :
         {Row{isamSplit::half, 36}, Row{isamSplit::ascending, 61}, Row{isamSplit::early, 11}}) {
        SCOPED_TRACE(row.mode);
        startEngine();
        const auto path = file("split" + std::to_string(row.mode) + ".idx");
        ASSERT_EQ(isamCreateIndexFile(1, path, 10, 0, 0, 0, 2048, isamMode::permanent), 0);
        for (int i = 1; i <= 1000; ++i) {
            char name[16];
            std::snprintf(name, sizeof name, "%10d", i);
            ASSERT_EQ(isamAddKey(1, textKey(name), static_cast<std::uint32_t>(i), row.mode), 0);
        }
        ASSERT_EQ(isamCloseFile(1, 1), 0);
        const std::vector<int> counts = leafCounts(fileBytes(path), 1024);
        ASSERT_GT(counts.size(), 2u);
        int total = 0;
        for (std::size_t i = 0; i < counts.size(); ++i) {
            total += counts[i];
            if (i + 1 < counts.size()) {
                EXPECT_EQ(counts[i], row.keep) << "leaf " << i;
            }
        }
        EXPECT_EQ(total, 1000);
        isamRelease();
    }
}

} // namespace
