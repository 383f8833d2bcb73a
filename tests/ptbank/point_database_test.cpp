// The point database layer on its own: record and header images laid out by
// hand from the layout tables, the name rules, and the bookkeeping of count
// and highest name across writes, deletions and reopening.

#include "crd_test_support.hpp"

#include "ptbank/crd_text.hpp"
#include "ptbank/isam/isam.hpp"
#include "ptbank/isam/isam_check.hpp"
#include "ptbank/isam/point_database.hpp"

#include "platform/binary_io.hpp"

#include <cstring>
#include <string>

namespace {

using crdtest::Bytes;
using namespace ptbank;

crdShortPointRec shortPoint(const std::string& name, double n, double e, double z,
                            const std::string& desc = "", const std::string& code = "") {
    crdShortPointRec p{};
    std::strncpy(p.name, name.c_str(), sizeof p.name - 1);
    std::strncpy(p.code, code.c_str(), sizeof p.code - 1);
    std::strncpy(p.description, desc.c_str(), sizeof p.description - 1);
    p.northing = n;
    p.easting = e;
    p.elevation = z;
    return p;
}

std::string padded(const std::string& text, std::size_t width) {
    std::string s = text.substr(0, std::min(text.size(), width));
    s.resize(width, ' ');
    return s;
}

std::string rightJustified(const std::string& text, std::size_t width) {
    return std::string(width - text.size(), ' ') + text;
}

// Layout table by sub-type: leading code bytes, name width, fixed part.
struct Shape {
    int codeBytes, nameWidth, fixedPart;
};
constexpr Shape shapes[] = {{2, 5, 31}, {2, 5, 33}, {3, 10, 37}, {4, 10, 38}};

// First record of a data file: the header area is whole records of at least
// 128 bytes, so with record length L it is L * ceil(128 / L).
std::size_t firstRecordAt(std::size_t length) {
    return (128 + length - 1) / length * length;
}

class PointDatabase : public crdtest::CrdTest {
protected:
    void SetUp() override {
        CrdTest::SetUp();
        ASSERT_EQ(pointDbInit(), 0);
    }
    void TearDown() override {
        pointDbClose(db);
        pointDbShutdown();
        CrdTest::TearDown();
    }

    // A new pair named "pts" in the test folder; an empty data extension
    // lets the requested sub-type choose.
    void create(int subType, int descLength, const std::string& extension = "", int feet = 0) {
        pointDbClose(db);
        db = PointDb{};
        db.directory = dir.string() + "/";
        db.baseName = "pts";
        db.dataExtension = extension;
        db.descLength = descLength;
        ASSERT_EQ(pointDbOpen(1, db, subType, feet), 0);
    }

    void reopen() {
        const PointDb was = db;
        pointDbClose(db);
        db = PointDb{};
        db.directory = was.directory;
        db.baseName = was.baseName;
        db.dataExtension = was.dataExtension.empty() ? ".crd" : was.dataExtension;
        ASSERT_EQ(pointDbOpen(0, db, 0, 0), 0);
    }

    void expectConsistent() {
        const IsamCheckReport report = isamCheckPair(db.dataFileNo, db.indexFileNo);
        EXPECT_TRUE(report.ok()) << report.text();
    }

    Bytes fileBytes() { return crdtest::readBytes(db.dataPath()); }

    PointDb db;
};

// The header record of the empty file and the record of one point, each laid
// out from the tables: spaces first, then the fields at their offsets.
TEST_F(PointDatabase, RecordAndHeaderImagesOfEverySubType) {
    constexpr int d = 12;
    struct Row {
        int subType;
        std::string extension;
        std::string name;
        std::string code;
    };
    const Row rows[] = {{0, "", "7", "AB"},
                        {1, ".crd", "7", "ABCD"},
                        {2, ".vkc", "ab1", "ABC"},
                        {3, "", "ab1", "ABCD"}};
    for (const Row& row : rows) {
        SCOPED_TRACE("sub-type " + std::to_string(row.subType));
        const Shape s = shapes[row.subType];
        const std::size_t length = static_cast<std::size_t>(s.fixedPart + d);
        if (row.subType == 2) {
            // A ".vkc" data extension always makes sub-type 3; sub-type 2
            // comes from an empty extension.
            create(2, d, "", 1);
        } else {
            create(row.subType, d, row.extension, 1);
        }
        ASSERT_EQ(db.subType, row.subType);
        crdShortPointRec p = shortPoint(row.name, 1234.5, -678.25, -99999999.0, "PIN", row.code);
        ASSERT_EQ(pointDbWrite(1, p, db), 0);
        pointDbClose(db);

        const bool numeric = row.subType < 2;
        const std::string key = numeric ? "7" : "AB1";
        Bytes header(length, ' ');
        Bytes point(length, ' ');
        platform::ByteWriter h;
        h.fixedText("", s.codeBytes, 'X');
        h.zeros(s.nameWidth);
        h.u16(d);
        if (numeric) {
            h.u16(1);                        // count
            h.u16(7);                        // highest name as a number
            h.u16(row.subType == 1 ? 4 : 2); // code width
        } else {
            h.u32(1); // count
            h.fixedText(rightJustified(key, 10), 10);
            h.u8(1); // feet flag
            h.fixedText(row.subType == 2 ? "VER 2" : "VER 3", 5);
        }
        std::copy(h.bytes().begin(), h.bytes().end(), header.begin());

        platform::ByteWriter r;
        r.fixedText(row.code.substr(0, static_cast<std::size_t>(s.codeBytes)), s.codeBytes, ' ');
        r.fixedText(rightJustified(key, static_cast<std::size_t>(s.nameWidth)), s.nameWidth);
        r.f64(1234.5);
        r.f64(-678.25);
        r.f64(-99999999.0);
        r.fixedText(padded("PIN", d), d);
        if (row.subType == 1)
            r.fixedText("CD", 2);
        std::copy(r.bytes().begin(), r.bytes().end(), point.begin());

        const Bytes bytes =
            crdtest::readBytes(dir / (std::string("pts") + (numeric ? ".crd" : ".vkc")));
        const std::size_t at = firstRecordAt(length);
        ASSERT_GE(bytes.size(), at + 2 * length);
        EXPECT_EQ(Bytes(bytes.begin() + at, bytes.begin() + at + length), header);
        EXPECT_EQ(Bytes(bytes.begin() + at + length, bytes.begin() + at + 2 * length), point);
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
    }
}

TEST_F(PointDatabase, NumericNamesAreRightJustifiedKeys) {
    create(1, 20, ".crd");
    crdShortPointRec p = shortPoint("7", 1, 2, 3);
    ASSERT_EQ(pointDbWrite(1, p, db), 0);
    EXPECT_STREQ(p.name, "    7");
    crdShortPointRec out;
    std::string seven = "7";
    EXPECT_EQ(pointDbRead(seven, out, db), 0);
    EXPECT_EQ(seven, "    7");
    EXPECT_EQ(out.northing, 1.0);
    std::string padded7 = "007";
    EXPECT_EQ(pointDbRead(padded7, out, db), 1); // a different key
    for (const char* bad : {"0", "65536", "12A", "123456", "-3"}) {
        SCOPED_TRACE(bad);
        std::string name = bad;
        EXPECT_EQ(pointDbRead(name, out, db), -2);
    }
    std::string absent = "9";
    EXPECT_EQ(pointDbRead(absent, out, db), 1);
    EXPECT_EQ(out.elevation, -99999999.0);
    EXPECT_STREQ(out.name, "     ");
    EXPECT_EQ(std::string(out.description), std::string(20, ' '));
}

TEST_F(PointDatabase, AlphanumericNamesAreCheckedAndUpperCased) {
    create(3, 20, ".vkc");
    crdShortPointRec bad = shortPoint("ab-1", 1, 2, 3);
    EXPECT_EQ(pointDbWrite(1, bad, db), -2);
    crdShortPointRec good = shortPoint("ab1", 1, 2, 3);
    ASSERT_EQ(pointDbWrite(1, good, db), 0);
    EXPECT_STREQ(good.name, "       AB1");
    EXPECT_EQ(db.pointCount, 1u);
    crdShortPointRec out;
    std::string lower = " ab1 ";
    EXPECT_EQ(pointDbRead(lower, out, db), 0);
}

TEST_F(PointDatabase, HighestNameAndCountFollowWritesAndDeletions) {
    create(3, 20, ".vkc");
    for (const char* name : {"1", "2", "3", "2"}) {
        crdShortPointRec p = shortPoint(name, 1, 1, 1);
        ASSERT_GE(pointDbPut(1, p, db), 0) << name;
    }
    EXPECT_EQ(db.highestName, rightJustified("3", 10));
    EXPECT_EQ(db.pointCount, 3u);
    EXPECT_EQ(db.nextName, rightJustified("3", 10)); // after writing 2 again
    expectConsistent();

    std::string three = "3";
    ASSERT_EQ(pointDbDelete(three, db), 0);
    EXPECT_EQ(db.highestName, rightJustified("2", 10));
    std::string absent = "77";
    EXPECT_EQ(pointDbDelete(absent, db), 0);
    reopen();
    EXPECT_EQ(db.pointCount, 2u);
    EXPECT_EQ(db.highestName, rightJustified("2", 10));
    EXPECT_EQ(db.versionText, "VER 3");
    for (const char* name : {"2", "1"}) {
        std::string n = name;
        ASSERT_EQ(pointDbDelete(n, db), 0);
    }
    EXPECT_EQ(db.pointCount, 0u);
    EXPECT_EQ(trimmedText(db.highestName), "");
    expectConsistent();
}

TEST_F(PointDatabase, PutKeepsAStoredPointUnlessAskedToOverwrite) {
    create(1, 20, ".crd");
    crdShortPointRec first = shortPoint("5", 1, 1, 1);
    ASSERT_EQ(pointDbPut(0, first, db), 0);
    const Bytes before = fileBytes();
    crdShortPointRec second = shortPoint("5", 2, 2, 2);
    EXPECT_EQ(pointDbPut(0, second, db), 1);
    EXPECT_EQ(fileBytes(), before);
    EXPECT_EQ(pointDbPut(1, second, db), 0);
    crdShortPointRec out;
    std::string five = "5";
    ASSERT_EQ(pointDbRead(five, out, db), 0);
    EXPECT_EQ(out.northing, 2.0);
    EXPECT_EQ(db.pointCount, 1u);
}

TEST_F(PointDatabase, WalksAroundTheHeaderRecord) {
    create(3, 10, ".vkc");
    for (const char* name : {"B", "A", "C"}) {
        crdShortPointRec p = shortPoint(name, 1, 1, 1);
        ASSERT_EQ(pointDbWrite(1, p, db), 0);
    }
    std::string name;
    ASSERT_EQ(pointDbFirst(name, db), 0);
    EXPECT_EQ(name, ""); // the header record's zero key
    crdShortPointRec out;
    std::string walked;
    while (pointDbNext(name, out, db) == 1)
        walked += trimmedText(name);
    EXPECT_EQ(walked, "ABC");
    std::string fromA = "A";
    EXPECT_EQ(pointDbPrev(fromA, out, db), 0); // only the header record lies below
    std::string fromC = "C";
    ASSERT_EQ(pointDbPrev(fromC, out, db), 1);
    EXPECT_EQ(fromC, rightJustified("B", 10));
}

TEST_F(PointDatabase, MarkerDecidesTheSubTypeAtOpen) {
    create(3, 10, ".vkc");
    pointDbClose(db);
    db = PointDb{};
    db.directory = dir.string() + "/";
    db.baseName = "pts";
    db.dataExtension = ".vkc";
    ASSERT_EQ(pointDbOpen(0, db, 0, 0), 0);
    EXPECT_EQ(db.subType, 3);
    EXPECT_EQ(db.descLength, 10);
}

TEST_F(PointDatabase, FailedCreateLeavesNoDataFile) {
    crdtest::writeBytes(dir / "pts.idx", Bytes{'k', 'e', 'e', 'p'});
    db.directory = dir.string() + "/";
    db.baseName = "pts";
    db.dataExtension = ".crd";
    db.descLength = 20;
    EXPECT_EQ(pointDbOpen(1, db, 1, 0), -1);
    EXPECT_FALSE(std::filesystem::exists(dir / "pts.crd"));
    EXPECT_EQ(crdtest::readBytes(dir / "pts.idx"), (Bytes{'k', 'e', 'e', 'p'}));
    EXPECT_EQ(pointDbFreeFilePairs(), point_db::filePairs);
}

// A description length in the header record that disagrees with the data
// file's record length would make every read run past its record.
TEST_F(PointDatabase, HeaderDisagreeingWithTheRecordLengthIsRefused) {
    create(3, 20, ".vkc");
    pointDbClose(db);
    Bytes bytes = crdtest::readBytes(dir / "pts.vkc");
    const std::size_t at = firstRecordAt(38 + 20);
    bytes[at + 14] = 60; // D at offset 14 of the header record
    crdtest::writeBytes(dir / "pts.vkc", bytes);
    db = PointDb{};
    db.directory = dir.string() + "/";
    db.baseName = "pts";
    db.dataExtension = ".vkc";
    EXPECT_EQ(pointDbOpen(0, db, 3, 0), -1);
    EXPECT_EQ(db.open, 0);
    EXPECT_EQ(pointDbFreeFilePairs(), point_db::filePairs);
}

// A rewrite lands where the last read stopped; one not preceded by a read of
// the same point would overwrite another point under the wrong key.
TEST_F(PointDatabase, RewriteOfAnotherPointThanTheOneReadIsRefused) {
    create(3, 20, ".vkc");
    crdShortPointRec a = shortPoint("A", 1, 1, 1);
    crdShortPointRec b = shortPoint("B", 2, 2, 2);
    ASSERT_EQ(pointDbWrite(1, a, db), 0);
    ASSERT_EQ(pointDbWrite(1, b, db), 0);
    crdShortPointRec out;
    std::string nameA = "A";
    ASSERT_EQ(pointDbRead(nameA, out, db), 0);
    crdShortPointRec changedB = shortPoint("B", 9, 9, 9);
    EXPECT_EQ(pointDbWrite(0, changedB, db), -1);
    ASSERT_EQ(pointDbRead(nameA, out, db), 0);
    EXPECT_EQ(out.northing, 1.0);
    EXPECT_STREQ(out.name, rightJustified("A", 10).c_str());
    expectConsistent();
}

TEST(PointDatabaseNames, NextName) {
    struct Row {
        const char* name;
        int subType;
        long step;
        std::string expected; // trimmed
    };
    const Row rows[] = {
        {"A12B", 3, 1, "A13B"},
        {"99", 3, 1, "100"},
        {"ABC", 3, 1, "ABC1"},
        {"65535", 1, 1, "11111"},
        {"    41", 1, 1, "42"},
        {"ABCDEFGHIJ", 3, 1, "XXXXXXXXXX"},
        {"9999999999", 3, 1, "XXXXXXXXXX"},
        {"P 7 X", 3, 1, "P8X"},
        {"A9", 3, 2, "A11"},
        {"", 3, 1, "1"},
        {"ZZZZZ", 1, 1, "11111"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::string out;
        pointDbNextName(row.name, out, row.subType, row.step);
        const std::size_t width = row.subType < 2 ? 5 : 10;
        EXPECT_EQ(out.size(), width);
        EXPECT_EQ(trimmedText(out), row.expected);
    }
}

TEST(PointDatabaseNames, CheckName) {
    struct Row {
        const char* name;
        int result;
        std::string cleaned;
    };
    const Row rows[] = {
        {"  ab1 \r\n", 0, "AB1"}, {"ABCDEFGHIJK", 2, "ABCDEFGHIJK"},
        {"A B", 1, "A B"},        {"A/B", 1, "A/B"},
        {"A*B", 1, "A*B"},        {"A-B", 1, "A-B"},
        {"A+B", 1, "A+B"},        {"A\x7f", 1, "A\x7f"},
        {"A\xe9", 1, "A\xe9"},    {"A_B.1", 0, "A_B.1"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::string name = row.name;
        EXPECT_EQ(pointDbCheckName(name), row.result);
        EXPECT_EQ(name, row.cleaned);
    }
}

TEST(PointDatabaseNames, CompareByValueOrRightJustifiedWithoutCase) {
    PointDb numeric;
    pointDbSetLayout(1, numeric);
    PointDb alpha;
    pointDbSetLayout(3, alpha);
    struct Row {
        const PointDb* db;
        const char* a;
        const char* b;
        int expected;
    };
    const Row rows[] = {{&numeric, "10", "9", 1},
                        {&numeric, "007", "7", 0},
                        {&alpha, "B", "AA", -1},
                        {&alpha, "ab", "AB", 0},
                        {&alpha, "A10", "A9", 1}};
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.a) + " vs " + row.b);
        std::string a = row.a;
        std::string b = row.b;
        EXPECT_EQ(pointDbCompareNames(a, b, *row.db), row.expected);
    }
}

} // namespace
