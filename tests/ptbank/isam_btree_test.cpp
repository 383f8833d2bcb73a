// Behaviour of the key operations at the places that matter: empty leaves
// left by deletions, the edges of the relative finds, refused additions and
// deletions, and the walk after a missed exact find.

#include "isam_support.hpp"

#include "ptbank/isam/isam_check.hpp"

#include <algorithm>

namespace {

using namespace ptbank;
using isamtest::Bytes;
using isamtest::fileBytes;
using isamtest::IsamTest;
using isamtest::keyText;
using isamtest::textKey;
using isamtest::writeFileBytes;

constexpr int indexFile = 1;

// 128-byte nodes: after A..H added in ascending order the tree is a root
// over two leaves, A..F at 128 and G, H at 256 (see the layout test).
class IsamKeys : public IsamTest {
protected:
    void SetUp() override {
        IsamTest::SetUp();
        startEngine(6, 14, 1);
        ASSERT_EQ(
            isamCreateIndexFile(indexFile, file("keys.idx"), 10, 0, 0, 0, 0, isamMode::permanent),
            0);
        for (std::uint32_t i = 0; i < names.size(); ++i)
            ASSERT_EQ(isamAddKey(indexFile, textKey(names.substr(i, 1)), positionOf(i),
                                 isamSplit::ascending),
                      0);
    }

    static std::uint32_t positionOf(std::uint32_t i) { return 1000 + 16 * i; }
    static std::uint32_t positionOf(char name) {
        return positionOf(static_cast<std::uint32_t>(name - 'A'));
    }

    void expectIndexHolds() {
        const IsamCheckReport report = isamCheckIndex(indexFile);
        EXPECT_TRUE(report.ok()) << report.text();
    }

    const std::string names = "ABCDEFGH";
    Bytes out = Bytes(10, 0);
};

TEST_F(IsamKeys, RelativeFindsAtTheirEdges) {
    struct Row {
        const char* what;
        std::uint32_t (*find)(int, std::span<const std::uint8_t>, std::span<std::uint8_t>);
        const char* target;
        char expected; // 0: nothing found
    };
    const Row rows[] = {
        {"less than the smallest", isamFindLess, "A", 0},
        {"less than beyond the largest", isamFindLess, "Z", 'H'},
        {"less than a stored key", isamFindLess, "G", 'F'},
        {"less than an absent key", isamFindLess, "Fa", 'F'},
        {"greater than a stored key", isamFindGreater, "F", 'G'},
        {"greater than an absent key", isamFindGreater, "Ca", 'D'},
        {"greater than the largest", isamFindGreater, "H", 0},
        {"at least a stored key", isamFindAtLeast, "C", 'C'},
        {"at least an absent key", isamFindAtLeast, "Fa", 'G'},
        {"at least beyond the largest", isamFindAtLeast, "Ha", 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const std::uint32_t got = row.find(indexFile, textKey(row.target), out);
        EXPECT_EQ(isamError, 0);
        if (row.expected == 0) {
            EXPECT_EQ(got, 0u);
            EXPECT_EQ(out[0], 0) << "nothing found: the out key starts with 0";
        } else {
            EXPECT_EQ(got, positionOf(row.expected));
            EXPECT_EQ(keyText(out), keyText(textKey(std::string(1, row.expected))));
        }
    }
}

TEST_F(IsamKeys, WalkCrossesLeavesBothWays) {
    ASSERT_EQ(isamFirstKey(indexFile, out), positionOf('A'));
    std::string forward = "A";
    while (isamNextKey(indexFile, out) != 0)
        forward += static_cast<char>(out[0]);
    EXPECT_EQ(forward, names);
    EXPECT_EQ(isamNextKey(indexFile, out), 0u) << "past the end the walk is cleared";

    ASSERT_EQ(isamFindEqual(indexFile, textKey("H")), positionOf('H'));
    std::string backward = "H";
    while (isamPrevKey(indexFile, out) != 0)
        backward += static_cast<char>(out[0]);
    EXPECT_EQ(backward, "HGFEDCBA");
    EXPECT_EQ(isamError, 0);
}

TEST_F(IsamKeys, NextAfterAMissedFindEqualGivesTheFirstGreaterKey) {
    // The walk stands where the absent key would be, before D: the next key
    // is D itself, not the one after it, and the previous one is C.
    EXPECT_EQ(isamFindEqual(indexFile, textKey("Ca")), 0u);
    EXPECT_EQ(isamError, 0);
    EXPECT_EQ(isamNextKey(indexFile, out), positionOf('D'));
    EXPECT_EQ(isamFindEqual(indexFile, textKey("Ca")), 0u);
    EXPECT_EQ(isamPrevKey(indexFile, out), positionOf('C'));
    // At the end of a leaf (between F and G) the next key is in the next leaf.
    EXPECT_EQ(isamFindEqual(indexFile, textKey("Fa")), 0u);
    EXPECT_EQ(isamNextKey(indexFile, out), positionOf('G'));
}

// In a damaged leaf "the key after F" may be one before F; a walk that went
// on from it would come back to it for ever, so the find refuses it.
TEST_F(IsamKeys, AKeyOutOfOrderIsRefusedByTheRelativeFinds) {
    struct Row {
        const char* what;
        std::uint32_t (*find)(int, std::span<const std::uint8_t>, std::span<std::uint8_t>);
        const char* target;
        char damaged; // the stored key whose first byte is overwritten
        char with;
    };
    const Row rows[] = {
        {"greater than F gives B", isamFindGreater, "F", 'G', 'B'},
        {"less than Fa gives Z", isamFindLess, "Fa", 'F', 'Z'},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        ASSERT_EQ(isamCloseFile(indexFile, 0), 0);
        const Bytes intact = fileBytes(file("keys.idx"));
        Bytes damaged = intact;
        const Bytes key = textKey(std::string(1, row.damaged));
        const auto at = std::search(damaged.begin(), damaged.end(), key.begin(), key.end());
        ASSERT_NE(at, damaged.end());
        *at = static_cast<std::uint8_t>(row.with);
        writeFileBytes(file("keys.idx"), damaged);
        ASSERT_EQ(isamOpenFile(indexFile, file("keys.idx"), isamMode::permanent), 0);

        EXPECT_EQ(row.find(indexFile, textKey(row.target), out), 0u);
        EXPECT_EQ(isamError, isamErr::keysOutOfOrder);

        ASSERT_EQ(isamCloseFile(indexFile, 0), 0);
        writeFileBytes(file("keys.idx"), intact);
        ASSERT_EQ(isamOpenFile(indexFile, file("keys.idx"), isamMode::permanent), 0);
    }
}

TEST_F(IsamKeys, EmptiedLeafStaysInTheChainAndIsPassedOver) {
    for (const char name : std::string("ABCDEF"))
        ASSERT_EQ(isamDeleteKey(indexFile, textKey(std::string(1, name)), positionOf(name)), 0);
    expectIndexHolds();
    // The leaf at 128 is empty but still first in the chain (count 0 at
    // offset 8, right sibling 256 at offset 0).
    ASSERT_EQ(isamFlushFile(indexFile), 0);
    const Bytes bytes = fileBytes(file("keys.idx"));
    EXPECT_EQ(bytes[128 + 8], 0);
    EXPECT_EQ(bytes[128 + 0], 0x00);
    EXPECT_EQ(bytes[128 + 1], 0x01);

    EXPECT_EQ(isamFirstKey(indexFile, out), positionOf('G'));
    EXPECT_EQ(isamFindAtLeast(indexFile, textKey("B"), out), positionOf('G'));
    EXPECT_EQ(isamFindLess(indexFile, textKey("G"), out), 0u);
    EXPECT_EQ(isamError, 0);
    EXPECT_EQ(isamFindEqual(indexFile, textKey("B")), 0u);
    EXPECT_EQ(isamNextKey(indexFile, out), positionOf('G'));
    // Keys go back into the empty leaf.
    ASSERT_EQ(isamAddKey(indexFile, textKey("C"), 7, isamSplit::half), 0);
    EXPECT_EQ(isamFirstKey(indexFile, out), 7u);
    expectIndexHolds();
}

TEST_F(IsamKeys, RefusedAdditionsAndDeletionsChangeNothing) {
    const Bytes before = fileBytes(file("keys.idx"));
    EXPECT_EQ(isamAddKey(indexFile, textKey("C"), 5, isamSplit::half), isamErr::keyExists);
    EXPECT_EQ(isamAddKey(indexFile, textKey("Q"), 0, isamSplit::half), isamErr::keyPositionZero);
    EXPECT_EQ(isamDeleteKey(indexFile, textKey("C"), positionOf('D')), isamErr::keyPositionDiffers);
    EXPECT_EQ(isamError, isamErr::keyPositionDiffers);
    EXPECT_EQ(isamDeleteKey(indexFile, textKey("Q"), 5), isamErr::keyNotFound);
    EXPECT_EQ(fileBytes(file("keys.idx")), before);
    expectIndexHolds();
}

TEST_F(IsamKeys, ManyKeysInRandomOrderKeepTheTreeWhole) {
    // Descending and interleaved insertions split leaves away from the right
    // edge and make the inner levels split too.
    for (int i = 2000; i >= 1; --i) {
        char name[16];
        std::snprintf(name, sizeof name, "%c%05d", 'a' + i % 7, i * 7919 % 10007);
        ASSERT_EQ(isamAddKey(indexFile, textKey(name), static_cast<std::uint32_t>(i + 100), i % 3),
                  0)
            << name;
    }
    expectIndexHolds();
    int count = 0;
    for (std::uint32_t p = isamFirstKey(indexFile, out); p != 0; p = isamNextKey(indexFile, out))
        ++count;
    EXPECT_EQ(count, 2008);
}

TEST_F(IsamKeys, DuplicateKeysAreKeptInPositionOrder) {
    ASSERT_EQ(isamCreateIndexFile(2, file("dup.idx"), 8, 0, 1, 0, 0, isamMode::permanent), 0);
    for (const std::uint32_t position : {300u, 100u, 200u})
        ASSERT_EQ(isamAddKey(2, textKey("SAME", 8), position, isamSplit::half), 0);
    Bytes key(8, 0);
    std::vector<std::uint32_t> order;
    for (std::uint32_t p = isamFirstKey(2, key); p != 0; p = isamNextKey(2, key))
        order.push_back(p);
    EXPECT_EQ(order, (std::vector<std::uint32_t>{100, 200, 300}));
    EXPECT_EQ(isamDeleteKey(2, textKey("SAME", 8), 200), 0);
    EXPECT_EQ(isamDeleteKey(2, textKey("SAME", 8), 200), isamErr::keyNotFound);
}

TEST_F(IsamKeys, KeyTypeOneComparesFromTheLastByte) {
    ASSERT_EQ(isamCreateIndexFile(2, file("rev.idx"), 4, 1, 0, 0, 0, isamMode::permanent), 0);
    // From the last byte: "ZZZA" < "AAAB" < "BBBB".
    for (const char* name : {"BBBB", "AAAB", "ZZZA"})
        ASSERT_EQ(isamAddKey(2, textKey(name, 4), 9, isamSplit::half), 0);
    Bytes key(4, 0);
    std::string order;
    for (std::uint32_t p = isamFirstKey(2, key); p != 0; p = isamNextKey(2, key))
        order += keyText(key) + " ";
    EXPECT_EQ(order, "ZZZA AAAB BBBB ");
}

} // namespace
