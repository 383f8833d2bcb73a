// Every error code of the engine, each produced by the situation it names.
// Damaged headers are made by patching a file the engine wrote, at the
// offsets of the header table.

#include "isam_support.hpp"

#include <cerrno>
#include <climits>
#include <functional>

#if defined(__SANITIZE_ADDRESS__)
// An impossible allocation must come back as a null pointer (the engine's
// out-of-memory code), not end the test program.
extern "C" const char* __asan_default_options() {
    return "allocator_may_return_null=1";
}
#endif

namespace {

using namespace ptbank;
using isamtest::Bytes;
using isamtest::fileBytes;
using isamtest::IsamTest;
using isamtest::textKey;

constexpr int dataFile = 0;
constexpr int indexFile = 1;

// A positioned read at an offset the file cannot take, as pread reports it.
ssize_t failingSeek(int, void*, std::size_t, off_t) {
    errno = EINVAL;
    return -1;
}
ssize_t failingWrite(int, const void*, std::size_t, off_t) {
    errno = EIO;
    return -1;
}
int failingClose(int) {
    return -1;
}
int failingOpen(const char*, int, mode_t) {
    return -1;
}

class IsamErrors : public IsamTest {
protected:
    // A data file of 48-byte records with one record, and an index holding A.
    void prepare() {
        isamRelease();
        isamRestoreSystemCalls();
        for (const auto& entry : isamtest::fs::directory_iterator(folder_))
            isamtest::fs::remove_all(entry.path());
        startEngine();
        ASSERT_EQ(isamCreateDataFile(dataFile, dataPath(), 48, 1024, isamMode::permanent), 0);
        ASSERT_EQ(isamNewRecord(dataFile), 144u);
        ASSERT_EQ(isamWriteRecord(dataFile, 144, record), 0);
        ASSERT_EQ(
            isamCreateIndexFile(indexFile, indexPath(), 10, 0, 0, 0, 2048, isamMode::permanent), 0);
        ASSERT_EQ(isamAddKey(indexFile, textKey("A"), 144, isamSplit::half), 0);
    }

    isamtest::fs::path dataPath() const { return file("p.dat"); }
    isamtest::fs::path indexPath() const { return file("p.idx"); }

    // Closes the file, changes bytes at `offset` and opens it again.
    int patchAndOpen(int fileNo, const isamtest::fs::path& path, std::size_t offset,
                     const Bytes& bytes) {
        isamCloseFile(fileNo, 1);
        Bytes contents = fileBytes(path);
        std::copy(bytes.begin(), bytes.end(),
                  contents.begin() + static_cast<std::ptrdiff_t>(offset));
        isamtest::writeFileBytes(path, contents);
        return isamOpenFile(fileNo, path, isamMode::permanent);
    }

    // The code of an operation that returns a position: it must give 0.
    static int positionCode(std::uint32_t position) {
        EXPECT_EQ(position, 0u);
        return isamError;
    }

    const Bytes record = Bytes(48, 'r');
    Bytes out = Bytes(48, 0);
};

struct Row {
    int code;
    const char* situation;
    std::function<int()> action;
};

TEST_F(IsamErrors, EachCodeComesFromItsSituation) {
    const Row rows[] = {
        {2, "key already present", [&] { return isamAddKey(indexFile, textKey("A"), 9, 0); }},
        {3, "key present with another position",
         [&] { return isamDeleteKey(indexFile, textKey("A"), 192); }},
        {4, "key absent", [&] { return isamDeleteKey(indexFile, textKey("B"), 144); }},
        {10, "out of memory",
         [&] {
             isamRelease();
             return isamInit(INT_MAX, 14, 511);
         }},
        {11, "two buffers",
         [&] {
             isamRelease();
             return isamInit(2, 14, 8);
         }},
        {11, "negative files",
         [&] {
             isamRelease();
             return isamInit(6, -1, 8);
         }},
        {11, "no sectors",
         [&] {
             isamRelease();
             return isamInit(6, 14, 0);
         }},
        {11, "node size beyond 16 bits",
         [&] {
             isamRelease();
             return isamInit(6, 14, 512);
         }},
        {12, "missing file", [&] { return isamOpenFile(2, file("none.dat"), 2); }},
        {12, "file locked by another opener", [&] { return isamOpenFile(2, dataPath(), 2); }},
        {13, "file type 3",
         [&] {
             return patchAndOpen(dataFile, dataPath(), 10, {3, 0});
         }},
        {14, "update flag set", [&] { return patchAndOpen(dataFile, dataPath(), 16, {'x'}); }},
        {15, "update flag 'c'", [&] { return patchAndOpen(dataFile, dataPath(), 16, {'c'}); }},
        {16, "index in a missing folder",
         [&] { return isamCreateIndexFile(2, file("no/x.idx"), 10, 0, 0, 0, 0, 2); }},
        {17, "data file in a missing folder",
         [&] { return isamCreateDataFile(2, file("no/x.dat"), 48, 0, 2); }},
        {18, "index exists",
         [&] { return isamCreateIndexFile(2, indexPath(), 10, 0, 0, 0, 0, 2); }},
        {19, "data file exists", [&] { return isamCreateDataFile(2, dataPath(), 48, 0, 2); }},
        {20, "key too long for three entries in 128-byte nodes",
         [&] {
             isamRelease();
             isamInit(6, 14, 1);
             return isamCreateIndexFile(2, file("x.idx"), 64, 0, 0, 0, 0, 2);
         }},
        {21, "record length 4", [&] { return isamCreateDataFile(2, file("x.dat"), 4, 0, 2); }},
        {22, "file number past the table", [&] { return isamOpenFile(14, dataPath(), 2); }},
        {22, "negative file number", [&] { return isamReadRecord(-1, 144, out); }},
        {23, "index members",
         [&] { return isamCreateIndexFile(2, file("x.idx"), 10, 0, 0, 1, 0, 2); }},
        {24, "close failed",
         [&] {
             // Written out first: the batch's growth closes and reopens the file.
             isamFlushFile(dataFile);
             isamSystemCalls().close = failingClose;
             const int code = isamCloseFile(dataFile, 1);
             isamRestoreSystemCalls();
             return code;
         }},
        {26, "closing a free number", [&] { return isamCloseFile(5, 1); }},
        {26, "reading through a free number", [&] { return isamReadRecord(5, 144, out); }},
        {28, "key with position 0", [&] { return isamAddKey(indexFile, textKey("B"), 0, 0); }},
        {29, "record position 0", [&] { return isamReadRecord(dataFile, 0, out); }},
        {29, "record position inside the header area",
         [&] { return isamWriteRecord(dataFile, 10, record); }},
        {29, "record position between records", [&] { return isamReleaseRecord(dataFile, 150); }},
        {30, "record beyond the logical end", [&] { return isamReadRecord(dataFile, 192, out); }},
        {31, "released record lost its mark",
         [&] {
             isamReleaseRecord(dataFile, 144);
             isamWriteRecord(dataFile, 144, record);
             return positionCode(isamNewRecord(dataFile));
         }},
        {32, "released twice",
         [&] {
             isamReleaseRecord(dataFile, 144);
             return isamReleaseRecord(dataFile, 144);
         }},
        {33, "no record buffer", [&] { return isamReadRecord(dataFile, 144, {}); }},
        {33, "record buffer too short",
         [&] { return isamWriteRecord(dataFile, 144, std::span(record).first(47)); }},
        {33, "key too short",
         [&] { return isamAddKey(indexFile, std::span(record).first(9), 144, 0); }},
        {35, "seek failed",
         [&] {
             // Closed and opened again first: a record held in memory needs no read.
             isamCloseFile(dataFile, 1);
             isamOpenFile(dataFile, dataPath(), isamMode::permanent);
             isamSystemCalls().pread = failingSeek;
             return isamReadRecord(dataFile, 144, out);
         }},
        {36, "record never written (no extension fill)",
         [&] {
             isamCreateDataFile(2, file("x.dat"), 48, 0, 2);
             return isamReadRecord(2, isamNewRecord(2), out);
         }},
        {37, "write failed",
         [&] {
             // A record write is held in memory; the failure shows when it is written out.
             EXPECT_EQ(isamWriteRecord(dataFile, 144, record), 0);
             isamSystemCalls().pwrite = failingWrite;
             return isamFlushFile(dataFile);
         }},
        {37, "write failed on closing",
         [&] {
             isamSystemCalls().pwrite = failingWrite;
             return isamCloseFile(indexFile, 1);
         }},
        {39, "file offset overflow",
         [&] {
             isamCreateDataFile(2, file("big.dat"), 64, 0, 2);
             // Logical and physical end 2147483647: records of 64 bytes
             // from 128 fill exactly up to there.
             patchAndOpen(2, file("big.dat"), 28, {0xFF, 0xFF, 0xFF, 0x7F, 0xFF, 0xFF, 0xFF, 0x7F});
             return positionCode(isamNewRecord(2));
         }},
        {40, "node size 2048 above the configured 1024",
         [&] {
             return patchAndOpen(indexFile, indexPath(), 2, {0x00, 0x08});
         }},
        {43, "stamp 96",
         [&] {
             return patchAndOpen(dataFile, dataPath(), 0, {96, 0});
         }},
        {44, "serial number wraps",
         [&] {
             patchAndOpen(dataFile, dataPath(), 36, {0xFF, 0xFF, 0xFF, 0xFF});
             return positionCode(isamNewRecord(dataFile));
         }},
        {45, "key length 65",
         [&] { return isamCreateIndexFile(2, file("x.idx"), 65, 0, 0, 0, 0, 2); }},
        {45, "stored key length 65",
         [&] {
             return patchAndOpen(indexFile, indexPath(), 58, {65, 0});
         }},
        {45, "key length 0",
         [&] { return isamCreateIndexFile(2, file("x.idx"), 0, 0, 0, 0, 0, 2); }},
        {45, "duplicates with a key shorter than their position",
         [&] { return isamCreateIndexFile(2, file("x.idx"), 3, 0, 1, 0, 0, 2); }},
        {46, "creating on an open number",
         [&] { return isamCreateDataFile(dataFile, file("x.dat"), 48, 0, 2); }},
        {46, "opening on an open number", [&] { return isamOpenFile(indexFile, dataPath(), 2); }},
        {47, "engine not initialised",
         [&] {
             isamRelease();
             return positionCode(isamNewRecord(dataFile));
         }},
        {48, "record from an index", [&] { return positionCode(isamNewRecord(indexFile)); }},
        {48, "key into a data file", [&] { return isamAddKey(dataFile, textKey("B"), 144, 0); }},
        {49, "reopening after growth failed",
         [&] {
             // The growth is written, and the length committed, with the batch.
             isamCreateDataFile(2, file("x.dat"), 48, 1024, 2);
             EXPECT_EQ(isamNewRecord(2), 144u);
             isamSystemCalls().open = failingOpen;
             return isamFlushFile(2);
         }},
        {52, "key type 2",
         [&] { return isamCreateIndexFile(2, file("x.idx"), 10, 2, 0, 0, 0, 2); }},
        {52, "key type 3",
         [&] { return isamCreateIndexFile(2, file("x.idx"), 10, 3, 0, 0, 0, 2); }},
        {52, "stored key type 3", [&] { return patchAndOpen(indexFile, indexPath(), 17, {3}); }},
        {53, "variable-length mode",
         [&] { return isamCreateDataFile(2, file("x.dat"), 48, 0, isamMode::variableLength); }},
        {53, "variable-length file type",
         [&] {
             return patchAndOpen(dataFile, dataPath(), 10, {2, 0});
         }},
        {54, "write to a read-only file",
         [&] {
             isamCloseFile(dataFile, 1);
             isamOpenFile(dataFile, dataPath(), isamMode::readOnly);
             return isamWriteRecord(dataFile, 144, record);
         }},
        {54, "key into a read-only index",
         [&] {
             isamCloseFile(indexFile, 1);
             isamOpenFile(indexFile, indexPath(), isamMode::readOnly | isamMode::shared);
             return isamAddKey(indexFile, textKey("B"), 144, 0);
         }},
        {125, "initialised twice", [&] { return isamInit(6, 14, 8); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.situation) + " -> " + std::to_string(row.code));
        prepare();
        ASSERT_FALSE(HasFatalFailure());
        EXPECT_EQ(row.action(), row.code);
        EXPECT_EQ(isamError, row.code);
    }
}

TEST_F(IsamErrors, RefusedCreationLeavesTheExistingFileUnchanged) {
    prepare();
    const Bytes data = fileBytes(dataPath());
    const Bytes index = fileBytes(indexPath());
    EXPECT_EQ(isamCreateDataFile(2, dataPath(), 64, 0, 2), isamErr::dataExists);
    EXPECT_EQ(isamCreateIndexFile(3, indexPath(), 8, 0, 0, 0, 0, 2), isamErr::indexExists);
    EXPECT_EQ(fileBytes(dataPath()), data);
    EXPECT_EQ(fileBytes(indexPath()), index);
}

TEST_F(IsamErrors, ReleasingTheHeadAgainLeavesTheFreeListAlone) {
    prepare();
    ASSERT_EQ(isamNewRecord(dataFile), 192u);
    ASSERT_EQ(isamReleaseRecord(dataFile, 144), 0);
    const Bytes before = fileBytes(dataPath());
    EXPECT_EQ(isamReleaseRecord(dataFile, 144), isamErr::releasedTwice);
    EXPECT_EQ(fileBytes(dataPath()), before);
    EXPECT_EQ(isamNewRecord(dataFile), 144u);
    EXPECT_EQ(isamNewRecord(dataFile), 240u);
}

TEST_F(IsamErrors, PathsLongerThanTheOldFixedBufferWork) {
    startEngine();
    std::string longName(200, 'n');
    const auto path = file(longName + ".dat");
    ASSERT_GT(path.native().size(), 144u);
    ASSERT_EQ(isamCreateDataFile(0, path, 48, 0, 2), 0);
    ASSERT_EQ(isamCloseFile(0, 1), 0);
    EXPECT_EQ(isamOpenFile(0, path, 2), 0);
}

} // namespace
