// Changes the engine holds in memory: when they reach the file, and how a
// file whose held changes never reached it is recognised.

#include "isam_support.hpp"

#include "ptbank/isam/isam_check.hpp"

namespace {

using namespace ptbank;
using isamtest::Bytes;
using isamtest::fileBytes;
using isamtest::IsamTest;
using isamtest::textKey;

using IsamWriteBack = IsamTest;

constexpr std::size_t updateFlagOffset = 16;

Bytes recordAt(const Bytes& file, std::size_t position, std::size_t length) {
    if (file.size() < position + length)
        return {};
    return Bytes(file.begin() + static_cast<std::ptrdiff_t>(position),
                 file.begin() + static_cast<std::ptrdiff_t>(position + length));
}

TEST_F(IsamWriteBack, HeldChangesReachTheFileWhenFlushedClosedOrReleased) {
    startEngine();
    const auto path = file("held.dat");
    ASSERT_EQ(isamCreateDataFile(0, path, 48, 1024, isamMode::permanent), 0);
    ASSERT_EQ(isamNewRecord(0), 144u);
    ASSERT_EQ(isamWriteRecord(0, 144, Bytes(48, 'a')), 0);
    // Held: the header on disk says "in update", the record and the growth
    // to 1024 bytes are not there yet, and reading gives what was written.
    Bytes onDisk = fileBytes(path);
    EXPECT_EQ(onDisk[updateFlagOffset], 'u');
    EXPECT_EQ(onDisk.size(), 144u);
    Bytes out(48, 0);
    ASSERT_EQ(isamReadRecord(0, 144, out), 0);
    EXPECT_EQ(out, Bytes(48, 'a'));

    ASSERT_EQ(isamFlushFile(0), 0);
    onDisk = fileBytes(path);
    EXPECT_EQ(onDisk[updateFlagOffset], 0);
    EXPECT_EQ(onDisk.size(), 1024u);
    EXPECT_EQ(recordAt(onDisk, 144, 48), Bytes(48, 'a'));
    EXPECT_EQ(recordAt(onDisk, 192, 48), Bytes(48, 0xFF)) << "the growth is filled with 0xFF";

    ASSERT_EQ(isamWriteRecord(0, 144, Bytes(48, 'b')), 0);
    EXPECT_EQ(fileBytes(path)[updateFlagOffset], 'u');
    isamRelease();
    onDisk = fileBytes(path);
    EXPECT_EQ(onDisk[updateFlagOffset], 0);
    EXPECT_EQ(recordAt(onDisk, 144, 48), Bytes(48, 'b'));
}

TEST_F(IsamWriteBack, IndexNodesHeldInTheCacheReachTheFileAtClose) {
    startEngine(3, 14, 1); // 128-byte nodes, the fewest buffers
    const auto path = file("held.idx");
    ASSERT_EQ(isamCreateIndexFile(1, path, 10, 0, 0, 0, 0, isamMode::permanent), 0);
    // 200 keys in 128-byte nodes: far more nodes than the 3 buffers asked for.
    for (std::uint32_t i = 1; i <= 200; ++i)
        ASSERT_EQ(isamAddKey(1, textKey("K" + std::to_string(1000 + i)), i, isamSplit::half), 0);
    EXPECT_EQ(fileBytes(path)[updateFlagOffset], 'u');
    ASSERT_EQ(isamCloseFile(1, 1), 0);
    EXPECT_EQ(fileBytes(path)[updateFlagOffset], 0);

    ASSERT_EQ(isamOpenFile(1, path, isamMode::permanent), 0);
    const IsamCheckReport report = isamCheckIndex(1);
    EXPECT_TRUE(report.ok()) << report.text();
    Bytes key(10, 0);
    std::uint32_t walked = 0;
    for (std::uint32_t p = isamFirstKey(1, key); p != 0; p = isamNextKey(1, key))
        EXPECT_EQ(p, ++walked);
    EXPECT_EQ(walked, 200u);
}

TEST_F(IsamWriteBack, FileClosedForNowIsReopenedToWriteWhatItHolds) {
    constexpr int files = 256;
    startEngine(6, files, 8);
    const auto first = file("0.dat");
    ASSERT_EQ(isamCreateDataFile(0, first, 48, 0, 0), 0);
    ASSERT_EQ(isamNewRecord(0), 144u);
    ASSERT_EQ(isamWriteRecord(0, 144, Bytes(48, 'k')), 0);
    // 255 more non-permanent files: the 256th open closes file 0 for now.
    for (int n = 1; n < files; ++n)
        ASSERT_EQ(isamCreateDataFile(n, file(std::to_string(n) + ".dat"), 48, 0, 0), 0) << n;
    ASSERT_EQ(isamCloseFile(0, 1), 0);
    const Bytes onDisk = fileBytes(first);
    EXPECT_EQ(onDisk[updateFlagOffset], 0);
    EXPECT_EQ(recordAt(onDisk, 144, 48), Bytes(48, 'k'));
}

TEST_F(IsamWriteBack, FileLeftWithChangesStillHeldIsRefusedAsInUpdate) {
    startEngine();
    const auto path = file("left.dat");
    ASSERT_EQ(isamCreateDataFile(0, path, 48, 1024, isamMode::permanent), 0);
    ASSERT_EQ(isamNewRecord(0), 144u);
    // What a process that died now would leave behind.
    const auto copy = file("copy.dat");
    isamtest::writeFileBytes(copy, fileBytes(path));
    EXPECT_EQ(isamOpenFile(2, copy, isamMode::permanent), isamErr::inUpdate);
}

} // namespace
