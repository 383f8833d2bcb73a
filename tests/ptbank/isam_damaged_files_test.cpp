// Damaged and truncated files are refused with an error code, never a
// crash or a hang: each row damages one field of a file the engine wrote
// (at the offsets of the layout tables) and names the code that follows.

#include "isam_support.hpp"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <functional>

namespace {

using namespace ptbank;
using isamtest::Bytes;
using isamtest::fileBytes;
using isamtest::IsamTest;
using isamtest::textKey;

constexpr int dataFile = 0;
constexpr int indexFile = 1;

struct Damage {
    const char* what;
    int code;
    std::function<void(Bytes& data, Bytes& index)> damage;
    std::function<int()> operation; // run after both files are opened again
};

void put(Bytes& file, std::size_t offset, const Bytes& bytes) {
    isamtest::place(file, offset, bytes);
}

class IsamDamagedFiles : public IsamTest {
protected:
    // 128-byte nodes. Index: leaves A..F at 128 and G, H at 256 under a root
    // at 384 (entries at 384 + 14: F -> 128, all 0xFF -> 256). Data file:
    // 48-byte records, 144 released, 192 live.
    void build() {
        isamRelease();
        for (const auto& entry : isamtest::fs::directory_iterator(folder_))
            isamtest::fs::remove_all(entry.path());
        startEngine(6, 14, 1);
        ASSERT_EQ(isamCreateIndexFile(indexFile, file("d.idx"), 10, 0, 0, 0, 0, 2), 0);
        const std::string names = "ABCDEFGH";
        for (std::size_t i = 0; i < names.size(); ++i)
            ASSERT_EQ(isamAddKey(indexFile, textKey(names.substr(i, 1)), 192, isamSplit::ascending),
                      0);
        ASSERT_EQ(isamCreateDataFile(dataFile, file("d.dat"), 48, 0, 2), 0);
        ASSERT_EQ(isamNewRecord(dataFile), 144u);
        ASSERT_EQ(isamNewRecord(dataFile), 192u);
        ASSERT_EQ(isamWriteRecord(dataFile, 144, Bytes(48, 'x')), 0);
        ASSERT_EQ(isamWriteRecord(dataFile, 192, Bytes(48, 'y')), 0);
        ASSERT_EQ(isamReleaseRecord(dataFile, 144), 0);
        ASSERT_EQ(isamCloseFile(dataFile, 1), 0);
        ASSERT_EQ(isamCloseFile(indexFile, 1), 0);
    }

    // Damages the files and reopens them: the first refusal, else the operation's code.
    int damageAndRun(const Damage& row) {
        Bytes data = fileBytes(file("d.dat"));
        Bytes index = fileBytes(file("d.idx"));
        row.damage(data, index);
        isamtest::writeFileBytes(file("d.dat"), data);
        isamtest::writeFileBytes(file("d.idx"), index);
        if (const int code = isamOpenFile(dataFile, file("d.dat"), 2); code != 0)
            return code;
        if (const int code = isamOpenFile(indexFile, file("d.idx"), 2); code != 0)
            return code;
        return row.operation();
    }

    Bytes out = Bytes(48, 0);
};

TEST_F(IsamDamagedFiles, AreRefusedWithTheirCode) {
    const auto find = [&](const char* name) {
        return [&, name] {
            isamFindEqual(indexFile, textKey(name));
            return isamError;
        };
    };
    const auto atLeast = [&](const char* name) {
        return [&, name] {
            isamFindAtLeast(indexFile, textKey(name), out);
            return isamError;
        };
    };
    const auto newRecord = [&] {
        isamNewRecord(dataFile);
        return isamError;
    };
    const auto nothing = [] { return 0; };
    const auto u32 = [](std::uint32_t v) {
        return Bytes{static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                     static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
    };
    const Damage rows[] = {
        {"index cut inside its root", 36, [](Bytes&, Bytes& i) { i.resize(400); }, find("A")},
        {"index cut inside its header", 36, [](Bytes&, Bytes& i) { i.resize(40); }, nothing},
        {"data file cut inside its header", 36, [](Bytes& d, Bytes&) { d.resize(63); }, nothing},
        {"index node size 0", 214,
         [](Bytes&, Bytes& i) {
             put(i, 2, {0, 0});
         },
         nothing},
        {"index leaf limit changed", 214,
         [](Bytes&, Bytes& i) {
             put(i, 54, {9, 0});
         },
         nothing},
        // The next new record would step the count past its largest value.
        {"data file counting more records than it has places", 215,
         [&](Bytes& d, Bytes&) { put(d, 20, u32(0x7fffffff)); }, newRecord},
        {"index counting more keys than it has bytes", 215,
         [&](Bytes&, Bytes& i) { put(i, 20, u32(0x7fffffff)); }, nothing},
        {"root off a node boundary", 215, [&](Bytes&, Bytes& i) { put(i, 40, u32(130)); }, nothing},
        {"index end off a node boundary", 215, [&](Bytes&, Bytes& i) { put(i, 28, u32(500)); },
         nothing},
        {"leaf count beyond its limit", 206,
         [](Bytes&, Bytes& i) {
             put(i, 128 + 8, {50, 0});
         },
         find("A")},
        {"leaf flag 7", 206, [](Bytes&, Bytes& i) { put(i, 128 + 12, {7}); }, find("A")},
        {"bytes in use disagree with the count", 206,
         [](Bytes&, Bytes& i) {
             put(i, 128 + 10, {5, 0});
         },
         find("A")},
        {"child position 0", 207, [&](Bytes&, Bytes& i) { put(i, 384 + 14, u32(0)); }, find("A")},
        {"child past the end", 208, [&](Bytes&, Bytes& i) { put(i, 384 + 14, u32(4096)); },
         find("A")},
        {"child off a node boundary", 208, [&](Bytes&, Bytes& i) { put(i, 384 + 14, u32(200)); },
         find("A")},
        {"root is its own child", 212, [&](Bytes&, Bytes& i) { put(i, 384 + 14, u32(384)); },
         find("A")},
        {"leaves linked in a ring", 212, [&](Bytes&, Bytes& i) { put(i, 256, u32(128)); },
         atLeast("Z")},
        {"leaf linked to an inner node", 213, [&](Bytes&, Bytes& i) { put(i, 256, u32(384)); },
         atLeast("Z")},
        {"backward walk meets a broken link", 34, [&](Bytes&, Bytes& i) { put(i, 128, u32(0)); },
         [&] {
             isamFindEqual(indexFile, textKey("G"));
             isamPrevKey(indexFile, out);
             return isamError;
         }},
        {"unknown key type 32", 210, [](Bytes&, Bytes& i) { put(i, 17, {32}); }, find("A")},
        {"record length 3", 21,
         [](Bytes& d, Bytes&) {
             put(d, 4, {3, 0});
         },
         nothing},
        {"free-list head between records", 215, [&](Bytes& d, Bytes&) { put(d, 24, u32(150)); },
         nothing},
        {"data end off a record boundary", 215, [&](Bytes& d, Bytes&) { put(d, 28, u32(200)); },
         nothing},
        {"negative active entries", 215, [&](Bytes& d, Bytes&) { put(d, 20, u32(0xFFFFFFFF)); },
         nothing},
        {"free link between records", 31, [&](Bytes& d, Bytes&) { put(d, 145, u32(150)); },
         newRecord},
        {"free link past the end", 31, [&](Bytes& d, Bytes&) { put(d, 145, u32(4800)); },
         newRecord},
    };
    for (const Damage& row : rows) {
        SCOPED_TRACE(row.what);
        build();
        ASSERT_FALSE(HasFatalFailure());
        EXPECT_EQ(damageAndRun(row), row.code);
    }
}

TEST_F(IsamDamagedFiles, DescentDeeperThanNineInnerLevelsIsRefused) {
    // By hand: 10 inner nodes in a chain, each with the one entry
    // (all 0xFF -> next node), then an empty leaf. 128-byte nodes, key 10.
    isamtest::Header h = isamtest::smallIndexHeader();
    h.root = 128;
    h.logicalEnd = h.physicalEnd = 128 * 12 - 1;
    Bytes file = isamtest::headerBytes(h);
    file.resize(128, 0);
    for (std::uint32_t n = 1; n <= 10; ++n) {
        isamtest::NodeImage inner;
        inner.leaf = false;
        inner.entries = {isamtest::entry(128 * (n + 1), Bytes(10, 0xFF))};
        isamtest::place(file, 128 * n, isamtest::nodeBytes(inner, 128));
    }
    isamtest::NodeImage leaf;
    leaf.highKey = Bytes(10, 0xFF);
    leaf.highKeyOffset = 14 + 7 * 14 + 4;
    isamtest::place(file, 128 * 11, isamtest::nodeBytes(leaf, 128));
    isamtest::writeFileBytes(this->file("deep.idx"), file);
    startEngine(6, 14, 1);
    ASSERT_EQ(isamOpenFile(indexFile, this->file("deep.idx"), 2), 0);
    EXPECT_EQ(isamFindEqual(indexFile, textKey("A")), 0u);
    EXPECT_EQ(isamError, isamErr::treeTooDeep);
    EXPECT_EQ(isamAddKey(indexFile, textKey("A"), 5, 0), isamErr::treeTooDeep);
}

bool lockedByAnother(const isamtest::fs::path& path) {
    const int fd = ::open(path.c_str(), O_RDWR);
    const bool locked = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
    ::close(fd);
    return locked;
}

TEST_F(IsamDamagedFiles, NonPermanentFilesAreClosedForNowAndReopenedOnUse) {
    constexpr int files = 256;
    startEngine(6, files + 1, 8);
    for (int n = 0; n < files; ++n)
        ASSERT_EQ(isamCreateDataFile(n, file(std::to_string(n) + ".dat"), 48, 0, 0), 0) << n;
    // The 256th open found 255 non-permanent files open and closed the least
    // recently used, file 0, for now.
    EXPECT_FALSE(lockedByAnother(file("0.dat")));
    EXPECT_TRUE(lockedByAnother(file("1.dat")));
    EXPECT_EQ(isamNewRecord(0), 144u) << "used again, file 0 is reopened";
    EXPECT_TRUE(lockedByAnother(file("0.dat")));
    EXPECT_FALSE(lockedByAnother(file("1.dat"))) << "and file 1 made room";
    isamtest::fs::remove(file("1.dat"));
    EXPECT_EQ(isamNewRecord(1), 0u);
    EXPECT_EQ(isamError, isamErr::reopenFailed);
    EXPECT_EQ(isamCloseFile(1, 1), 0) << "a file closed for now is only marked free";
    EXPECT_EQ(isamCloseFile(0, 1), 0);
}

} // namespace
