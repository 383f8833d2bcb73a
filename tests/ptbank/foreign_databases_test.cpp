// The .mdb and .zak back-ends against a scripted fake of the ptvault
// library (which calls they make, in which order, with which arguments, and
// what they make of each status), and the stand-in ptvault library itself
// through the exported interface.

#include "crd_test_support.hpp"

#include "ptbank/crd_file.hpp"
#include "ptbank/vault_calls.hpp"
#include "ptbank/vk_crd_api.h"
#include "ptbank/vk_crd_handles.hpp"

#include <cstring>
#include <deque>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Log = std::vector<std::string>;

// ---- the fake ---------------------------------------------------------------

struct FakePoint {
    std::string name;
    double northing = 0.0, easting = 0.0, elevation = 0.0;
    std::string description;
};

struct Fake {
    Log log;
    // Result of the next call of each function (by its log name); 1 when none is scripted.
    std::map<std::string, std::deque<int>> results;
    // Points handed out by successful finds and current-record reads, in turn;
    // a find without one echoes the name it was asked for.
    std::deque<FakePoint> found;
    std::string highest = "H9", lowest = "A1";
    std::int32_t handle = 77;
    lddPoint writtenLdd{};
    ZakPoint writtenZak;
};

Fake fake;

int next(const std::string& function) {
    auto& queue = fake.results[function];
    if (queue.empty())
        return 1;
    const int result = queue.front();
    queue.pop_front();
    return result;
}

template <typename Record> void fill(Record& out, const std::string& asked) {
    FakePoint p{asked, 10.0, 20.0, 30.0, "FOUND"};
    if (!fake.found.empty()) {
        p = fake.found.front();
        fake.found.pop_front();
    }
    out.northing = p.northing;
    out.easting = p.easting;
    out.elevation = p.elevation;
    std::strncpy(out.name, p.name.c_str(), sizeof out.name - 1);
    std::strncpy(out.description, p.description.c_str(), sizeof out.description - 1);
}

template <const char* kind> struct FakeCalls {
    static std::string name(const char* what) { return std::string(what) + "_" + kind; }
    static std::string at(const std::int32_t* h) { return " " + std::to_string(*h); }

    static int open(std::int32_t* h, const char* path, int mode, char* highest, char* lowest,
                    const std::string& extra) {
        const bool exists = fs::exists(path);
        fake.log.push_back(name("open") + " " + fs::path(path).filename().string() + " " +
                           std::to_string(mode) + extra + (exists ? " present" : " absent"));
        const int status = next(name("open"));
        if (status == 1) {
            *h = fake.handle;
            std::strcpy(highest, fake.highest.c_str());
            std::strcpy(lowest, fake.lowest.c_str());
        }
        return status;
    }
    static int close(std::int32_t* h) {
        fake.log.push_back(name("close") + at(h));
        return next(name("close"));
    }
    static int count(std::int32_t* h) {
        fake.log.push_back(name("count") + at(h));
        return next(name("count"));
    }
    template <typename Record> static int find(std::int32_t* h, const char* n, int d, Record** r) {
        fake.log.push_back(name("find") + at(h) + " " + n + " " + std::to_string(d));
        const int status = next(name("find"));
        if (status == 1)
            fill(**r, n);
        return status;
    }
    template <typename Record> static int write(std::int32_t* h, Record** r, int flag) {
        fake.log.push_back(name("write") + at(h) + " " + (*r)->name + " " + std::to_string(flag));
        if constexpr (std::is_same_v<Record, lddPoint>)
            fake.writtenLdd = **r;
        else {
            fake.writtenZak.northing = (*r)->northing;
            fake.writtenZak.easting = (*r)->easting;
            fake.writtenZak.elevation = (*r)->elevation;
            std::memcpy(fake.writtenZak.name, (*r)->name, sizeof fake.writtenZak.name);
            std::memcpy(fake.writtenZak.description, (*r)->description,
                        sizeof fake.writtenZak.description);
        }
        return next(name("write"));
    }
    static int remove(std::int32_t* h, const char* n) {
        fake.log.push_back(name("remove") + at(h) + " " + n);
        return next(name("remove"));
    }
    static int removeAll(std::int32_t* h) {
        fake.log.push_back(name("removeAll") + at(h));
        return next(name("removeAll"));
    }
    static int move(std::int32_t* h, int step) {
        fake.log.push_back(name("move") + at(h) + " " + std::to_string(step));
        return next(name("move"));
    }
    template <typename Record> static int current(std::int32_t* h, Record** r) {
        fake.log.push_back(name("current") + at(h));
        const int status = next(name("current"));
        if (status == 1)
            fill(**r, "?");
        return status;
    }
};

constexpr char lddKind[] = "ldd";
constexpr char zakKind[] = "zak";
using Ldd = FakeCalls<lddKind>;
using Zak = FakeCalls<zakKind>;

void installFake() {
    auto& calls = ptbank::vaultCalls();
    calls.ldd.openDb = [](std::int32_t* h, const char* path, int mode, int a, int b, char* hi,
                          char* lo) {
        return Ldd::open(h, path, mode, hi, lo, " " + std::to_string(a) + " " + std::to_string(b));
    };
    calls.ldd.closeDb = Ldd::close;
    calls.ldd.pointCount = Ldd::count;
    calls.ldd.findPoint = Ldd::find<lddPoint>;
    calls.ldd.writePoint = Ldd::write<lddPoint>;
    calls.ldd.removePoint = Ldd::remove;
    calls.ldd.removePoints = Ldd::removeAll;
    calls.ldd.moveCursor = Ldd::move;
    calls.ldd.readCurrent = Ldd::current<lddPoint>;
    calls.zak.openDb = [](std::int32_t* h, const char* path, int mode, char* hi, char* lo) {
        return Zak::open(h, path, mode, hi, lo, "");
    };
    calls.zak.closeDb = Zak::close;
    calls.zak.pointCount = Zak::count;
    calls.zak.findPoint = Zak::find<ZakPoint>;
    calls.zak.writePoint = Zak::write<ZakPoint>;
    calls.zak.removePoint = Zak::remove;
    calls.zak.removePoints = Zak::removeAll;
    calls.zak.moveCursor = Zak::move;
    calls.zak.readCurrent = Zak::current<ZakPoint>;
    calls.lastMessage = [] { return static_cast<const char*>(nullptr); };
}

class ForeignBackEnds : public crdtest::CrdTest {
protected:
    void SetUp() override {
        CrdTest::SetUp();
        fake = Fake{};
        installFake();
        ptbank::setCurrentUserType(ptbank::crd_type::vkNumeric); // the neutral layout
    }
    void TearDown() override {
        ptbank::resetVaultCalls();
        CrdTest::TearDown();
    }

    // An existing database file (any content: the fake never reads it).
    std::string existing(const std::string& name) {
        crdtest::writeBytes(dir / name, crdtest::Bytes{'d', 'b'});
        return at(name);
    }

    ptbank::CrdIO& backEnd(ptbank::CrdFile& file) {
        ptbank::CrdIO* io = file.backEnd();
        EXPECT_NE(io, nullptr);
        return *io;
    }
};

TEST_F(ForeignBackEnds, OpenCreateAndCloseCalls) {
    {
        ptbank::CrdFile file;
        ASSERT_EQ(file.open(existing("job.mdb"), 0, -1), 1);
        EXPECT_EQ(file.fileType(), 6);
        EXPECT_EQ(file.highestName(), "H9");
        EXPECT_EQ(file.lowestName(), "A1");
        EXPECT_EQ(file.path(), at("job.mdb"));
    }
    {
        ptbank::CrdFile file;
        ASSERT_EQ(file.open(at("new.mdb"), 1, 6), 1);
    }
    {
        ptbank::CrdFile file;
        ASSERT_EQ(file.open(existing("old.zak"), 1, 5), 1);
        EXPECT_EQ(file.nameSize(), 9);
        EXPECT_EQ(file.descSize(), 29);
        EXPECT_EQ(file.maxLegalName(), "ZZZZZZZZ");
    }
    EXPECT_EQ(fake.log, (Log{"open_ldd job.mdb 0 -1 -1 present", "close_ldd 77",
                             "open_ldd new.mdb 1 9 31 absent", "close_ldd 77",
                             // a .zak file is deleted before it is created
                             "open_zak old.zak 1 absent", "close_zak 77"}));
}

TEST_F(ForeignBackEnds, RefusedBeforeAnyCall) {
    ptbank::CrdFile mdb;
    ASSERT_EQ(mdb.open(existing("job.mdb"), 0, -1), 1);
    ptbank::CrdFile zak;
    ASSERT_EQ(zak.open(existing("job.zak"), 0, -1), 1);
    fake.log.clear();
    struct Row {
        ptbank::CrdFile* file;
        std::string path;
        int word;
    };
    const Row rows[] = {{&mdb, at("missing.MDB"), 21},
                        {&zak, at("missing.zak"), 21},
                        {&mdb, existing("points.txt"), 31},
                        {&zak, existing("points.mdb"), 32}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.path);
        EXPECT_EQ(backEnd(*row.file).open(row.path), 0);
        EXPECT_EQ(backEnd(*row.file).errorWord(), row.word);
    }
    EXPECT_EQ(fake.log, Log{});
}

TEST_F(ForeignBackEnds, EveryStatusMapsAsItsTableSays) {
    struct Row {
        int status;
        int mdb;
        int zak;
    };
    const Row rows[] = {{1, 0, 0},     {2, 0, 0},     {0, 50, 50},   {-2, 50, 50},  {-1, 29, 34},
                        {-3, 29, 34},  {-4, 23, 23},  {-5, 22, 22},  {-6, 51, 50},  {-7, 6, 13},
                        {-8, 6, 50},   {-9, 30, 35},  {-10, 30, 35}, {-11, 30, 35}, {-12, 21, 21},
                        {-13, 21, 21}, {-14, 23, 50}, {-15, 30, 50}, {-16, 50, 50}, {3, 50, 50}};
    ptbank::CrdFile mdb;
    ASSERT_EQ(mdb.open(existing("job.mdb"), 0, -1), 1);
    ptbank::CrdFile zak;
    ASSERT_EQ(zak.open(existing("job.zak"), 0, -1), 1);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.status);
        fake.results["remove_ldd"] = {row.status};
        fake.results["remove_zak"] = {row.status};
        EXPECT_EQ(backEnd(mdb).deletePoints("P1", mdb), row.mdb == 0 ? 1 : 0);
        EXPECT_EQ(mdb.errorWord(), row.mdb);
        EXPECT_EQ(backEnd(zak).deletePoints("P1", zak), row.zak == 0 ? 1 : 0);
        EXPECT_EQ(zak.errorWord(), row.zak);
        // The same mapping at open and when emptying the database.
        fake.results["open_ldd"] = {row.status};
        ptbank::CrdFile again;
        EXPECT_EQ(again.open(existing("again.mdb"), 0, -1), row.mdb == 0 ? 1 : 0);
        fake.results["removeAll_zak"] = {row.status};
        EXPECT_EQ(backEnd(zak).clear(zak), row.zak == 0 ? 1 : 0);
        EXPECT_EQ(zak.errorWord(), row.zak);
    }
}

TEST_F(ForeignBackEnds, ReadAndWriteExchangeRecords) {
    ptbank::CrdFile mdb;
    ASSERT_EQ(mdb.open(existing("job.mdb"), 0, -1), 1);
    fake.log.clear();
    fake.results["find_ldd"] = {0};
    ASSERT_EQ(
        mdb.write(crdtest::point(" 12A", 5000.0, 1000.0, -99999999.0, "PIN", "CODE"), 1, 0, {}), 1);
    EXPECT_EQ(fake.log, (Log{"find_ldd 77  12A 0", "write_ldd 77  12A -1"}));
    EXPECT_EQ(fake.writtenLdd.elevation, -1.0e20);
    EXPECT_EQ(fake.writtenLdd.northing, 1000.0);
    EXPECT_EQ(fake.writtenLdd.easting, 5000.0);
    EXPECT_EQ(fake.writtenLdd.number, 12u);
    EXPECT_STREQ(fake.writtenLdd.description, "PIN");
    EXPECT_EQ(mdb.lowestName(), " 12A");

    fake.found = {{"P7", 1.5, 2.5, -1.0e20, "IRON"}};
    ptbank::crdIoPointRec out;
    ASSERT_EQ(mdb.read("P7", out, 1), 1);
    EXPECT_EQ(out.elevation, -99999999.0);
    EXPECT_EQ(out.northing, 1.5);
    EXPECT_EQ(out.easting, 2.5);
    EXPECT_STREQ(out.description, "IRON");
    fake.results["find_ldd"] = {0};
    EXPECT_EQ(mdb.read("P8", out, 1), 0);
    EXPECT_EQ(mdb.errorWord(), 10);
    fake.results["write_ldd"] = {0};
    EXPECT_EQ(mdb.write(crdtest::point("P9", 1, 1, 1), 1, 0, {}), 0);
    EXPECT_EQ(mdb.errorWord(), 11);

    ptbank::CrdFile zak;
    ASSERT_EQ(zak.open(existing("job.zak"), 0, -1), 1);
    EXPECT_EQ(zak.validateId("ABCDEFGHI"), 1);
    EXPECT_EQ(zak.validateId(""), 2);
    ASSERT_EQ(
        zak.write(crdtest::point("ABCDEFGH", 1, 2, -99999999.0, std::string(40, 'd')), 1, 0, {}),
        1);
    EXPECT_EQ(std::string(fake.writtenZak.description), std::string(28, 'd'));
    EXPECT_STREQ(fake.writtenZak.name, "ABCDEFGH");
    EXPECT_EQ(fake.writtenZak.elevation, -100000000.0);
    fake.results["write_zak"] = {-3};
    EXPECT_EQ(zak.write(crdtest::point("Z1", 1, 1, 1), 1, 0, {}), 0);
    EXPECT_EQ(zak.errorWord(), 12);
}

TEST_F(ForeignBackEnds, PointsDatabaseNamingRule) {
    ptbank::CrdFile points;
    ASSERT_EQ(points.open(existing("POINTS.mdb"), 0, -1), 1);
    ptbank::CrdFile other;
    ASSERT_EQ(other.open(existing("job.mdb"), 0, -1), 1);
    struct Row {
        std::string name;
        int inPoints;
        int elsewhere;
    };
    const Row rows[] = {
        {"12345678", 6, 0}, {"1234567", 0, 0}, {"A_12", 0, 0}, {"12A", 6, 0},
        {"A-1", 6, 0},      {"", 2, 2},        {"ab", 0, 0},   {std::string(256, 'A'), 1, 1}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(points.validateId(row.name), row.inPoints);
        EXPECT_EQ(other.validateId(row.name), row.elsewhere);
    }
    fake.log.clear();
    EXPECT_EQ(points.write(crdtest::point("12A", 1, 1, 1), 1, 0, {}), 0);
    EXPECT_EQ(points.errorWord(), 6);
    EXPECT_EQ(fake.log, Log{}); // refused before the database is asked anything
}

TEST_F(ForeignBackEnds, WalkFindsThenStepsTheRecordCursor) {
    ptbank::CrdFile mdb;
    fake.lowest = "P1";
    ASSERT_EQ(mdb.open(existing("job.mdb"), 0, -1), 1);
    fake.log.clear();
    for (const char* name : {"P1", "P1", "P2", "P2"})
        fake.found.push_back(FakePoint{name, 0.0, 0.0, 0.0, ""});
    fake.results["move_ldd"] = {1, 0};
    ptbank::crdIoPointRec point;
    ASSERT_EQ(mdb.next(point), 1);
    EXPECT_STREQ(point.name, "P1");
    ASSERT_EQ(mdb.next(point), 1);
    EXPECT_STREQ(point.name, "P2");
    EXPECT_EQ(mdb.next(point), 0);
    EXPECT_EQ(fake.log, (Log{"find_ldd 77 P1 1", "find_ldd 77 P1 1", "move_ldd 77 1",
                             "current_ldd 77", "find_ldd 77 P2 1", "move_ldd 77 1"}));
    ptbank::crdCursor cursor;
    backEnd(mdb).cursorIndex(cursor);
    EXPECT_STREQ(cursor.name, "P2");
}

TEST_F(ForeignBackEnds, WithoutADatabasePointOperationsAnswer22) {
    ptbank::CrdFile mdb;
    ASSERT_EQ(mdb.open(existing("job.mdb"), 0, -1), 1);
    fake.results["open_ldd"] = {-12};
    EXPECT_EQ(backEnd(mdb).open(existing("other.mdb")), 0);
    EXPECT_EQ(mdb.errorWord(), 21);
    EXPECT_EQ(mdb.isOpen(), 1); // stays attached
    EXPECT_EQ(mdb.clear(), 0);
    EXPECT_EQ(mdb.errorWord(), 22);
    ptbank::crdIoPointRec out;
    EXPECT_EQ(mdb.read("P1", out, 1), 0);
    EXPECT_EQ(mdb.errorWord(), 22);
    EXPECT_EQ(backEnd(mdb).pointCount(), 0);
}

TEST_F(ForeignBackEnds, PointCountAndDeletion) {
    ptbank::CrdFile zak;
    ASSERT_EQ(zak.open(existing("job.zak"), 0, -1), 1);
    fake.results["count_zak"] = {12, -4};
    EXPECT_EQ(backEnd(zak).pointCount(), 12);
    EXPECT_EQ(backEnd(zak).pointCount(), 0);
    EXPECT_EQ(zak.errorWord(), 50);
    fake.log.clear();
    ASSERT_EQ(zak.deleteFilesWithCompanions(0), 1);
    EXPECT_EQ(fake.log, (Log{"close_zak 77"}));
    EXPECT_FALSE(fs::exists(at("job.zak")));
}

// ---- the stand-in library -------------------------------------------------------

class VaultStandIn : public crdtest::CrdTest {
protected:
    void SetUp() override {
        CrdTest::SetUp();
        ptbank::resetVaultCalls();
        ptbank::resetVkCrdApiForTests();
    }
    void TearDown() override {
        ptbank::resetVkCrdApiForTests();
        CrdTest::TearDown();
    }
};

std::vector<std::string> walkNames(VkCrdHandle h) {
    std::vector<std::string> names;
    crdPointRec p{};
    VkCrdApi_find_coord_top(p.name, h);
    while (VkCrdApi_next_coord(h, p.name, &p) == 1)
        names.push_back(ptbank::trimmedText(p.name));
    return names;
}

TEST_F(VaultStandIn, DatabasesOfBothKindsRoundTrip) {
    for (const char* name : {"job.mdb", "job.zak"}) {
        SCOPED_TRACE(name);
        VkCrdHandle h = VKCRD_NO_HANDLE;
        ASSERT_EQ(VkCrdApi_open_coordfile(at(name).c_str(), 0, &h), 0);
        for (const char* point : {"P10", "P2", "p1", "7"}) {
            crdPointRec p{};
            std::strcpy(p.name, point);
            p.northing = 100.0;
            p.easting = 200.0;
            p.elevation = -99999999.0;
            std::strcpy(p.description, "MON");
            ASSERT_EQ(VkCrdApi_write_point(1, &p, h), 0) << point;
        }
        ASSERT_EQ(VkCrdApi_end_coord_file(&h), 0);
        ASSERT_EQ(VkCrdApi_open_coordfile(at(name).c_str(), 0, &h), 0);
        EXPECT_EQ(walkNames(h), (std::vector<std::string>{"7", "p1", "P2", "P10"}));
        EXPECT_EQ(VkCrdApi_GetTotalPoints(h), 4);
        crdPointRec p{};
        char wanted[VKCRD_NAME_SIZE] = "P2";
        ASSERT_EQ(VkCrdApi_read_point(h, wanted, &p), 0);
        EXPECT_EQ(p.northing, 100.0);
        EXPECT_EQ(p.elevation, -99999999.0);
        EXPECT_EQ(ptbank::trimmedText(p.description), "MON");
        char gone[VKCRD_NAME_SIZE] = "P2";
        EXPECT_EQ(VkCrdApi_delete_point(h, gone), 0);
        EXPECT_EQ(walkNames(h), (std::vector<std::string>{"7", "p1", "P10"}));
    }
}

TEST_F(VaultStandIn, ForeignFileIsRefusedWithAMessage) {
    const std::string path = at("survey.mdb");
    crdtest::writeBytes(path, crdtest::Bytes{0, 1, 0, 0, 'S', 't', 'a', 'n', 'd', 'a', 'r', 'd'});
    VkCrdHandle h = VKCRD_NO_HANDLE;
    EXPECT_EQ(VkCrdApi_open_coordfile(path.c_str(), 0, &h), -1);
    EXPECT_EQ(h, VKCRD_NO_HANDLE);
    EXPECT_NE(console.find(path + " is not a point database this system can read"),
              std::string::npos)
        << console;
    EXPECT_EQ(crdtest::readBytes(path).size(), 12u); // left as it was
}

} // namespace
