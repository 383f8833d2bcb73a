// The indexed coordinate formats (.crd with .idx, .vkc with .vki) as other
// programs use them through the exported C interface, and the back-end's
// own rules as the coordinate file object sees them.

#include "vk_crd_api_support.hpp"

#include "ptbank/crd_file.hpp"
#include "ptbank/isam/point_database.hpp"
#include "ptbank/vk_crd_api.h"
#include "ptbank/vk_crd_handles.hpp"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace crdtest;

namespace fs = std::filesystem;

class IndexedFiles : public crdtest::CrdApiTest {
protected:
    VkCrdHandle open(const std::string& name, int defaultType = -1) {
        if (defaultType >= 0)
            VkCrdApi_SetDefaultCRDType(defaultType);
        VkCrdHandle h = VKCRD_NO_HANDLE;
        EXPECT_EQ(VkCrdApi_open_coordfile(at(name).c_str(), 0, &h), 0) << name;
        return h;
    }

    void writeAll(VkCrdHandle h, const Names& points) {
        for (std::size_t i = 0; i < points.size(); ++i) {
            crdPointRec p = pointRec(points[i], 1000.0 + i, 5000.0 + i, 100.0 + i, "IRON PIN");
            EXPECT_EQ(VkCrdApi_write_point(1, &p, h), 0) << points[i];
        }
    }

    crdPointRec read(VkCrdHandle h, const std::string& name, int expected = 0) {
        crdPointRec p{};
        char buffer[VKCRD_NAME_SIZE] = {};
        std::strncpy(buffer, name.c_str(), sizeof buffer - 1);
        EXPECT_EQ(VkCrdApi_read_point(h, buffer, &p), expected) << name;
        return p;
    }
};

TEST_F(IndexedFiles, NumericIndexedFileIsCreatedReopenedWalkedAndRanged) {
    VkCrdHandle h = open("job.crd", 4);
    EXPECT_TRUE(fs::exists(at("job.crd")));
    EXPECT_TRUE(fs::exists(at("job.idx")));
    EXPECT_EQ(VkCrdApi_GetCrdType(h), 4);
    writeAll(h, {"10", "2", "5", "1", "3"});
    EXPECT_EQ(walk(h), (Names{"1", "2", "3", "5", "10"}));
    EXPECT_EQ(walkBackwards(h), (Names{"10", "5", "3", "2", "1"}));
    EXPECT_EQ(walk(h, "2-5"), (Names{"2", "3", "5"}));
    EXPECT_EQ(walk(h, "5-2,10"), (Names{"5", "3", "2", "10"}));

    ASSERT_EQ(VkCrdApi_end_coord_file(&h), 0);
    h = open("job.crd");
    EXPECT_EQ(VkCrdApi_GetCrdType(h), 4);
    EXPECT_EQ(VkCrdApi_GetTotalPoints(h), 5);
    EXPECT_EQ(walk(h), (Names{"1", "2", "3", "5", "10"}));
    char highest[VKCRD_NAME_SIZE] = "";
    VkCrdApi_GetMaxPointName(highest, h);
    EXPECT_STREQ(highest, "10");
    EXPECT_EQ(VkCrdApi_GetPointNameSize(h), 6);
    EXPECT_EQ(VkCrdApi_GetPointDescSize(h), 101);
    EXPECT_EQ(VkCrdApi_GetPointCodeSize(h), 5);
    char legal[VKCRD_NAME_SIZE];
    VkCrdApi_GetMaxLegalPointName(legal, h);
    EXPECT_STREQ(legal, "65535");
    int version = -1;
    ASSERT_EQ(VkCrdApi_GetCrdFileVersion(h, &version), 1);
    EXPECT_EQ(version, 1);

    const crdPointRec p = read(h, "5");
    EXPECT_STREQ(p.name, "    5");
    EXPECT_EQ(p.northing, 1002.0);
    EXPECT_EQ(p.easting, 5002.0);
    EXPECT_EQ(p.elevation, 102.0);
    EXPECT_EQ(withoutBlanks(p.description), "IRON PIN");
    read(h, "4", 1);
    read(h, "70000", -2);
}

TEST_F(IndexedFiles, AlphanumericIndexedFileKeepsCodesAndUpperCasesNames) {
    VkCrdHandle h = open("site.vkc");
    EXPECT_TRUE(fs::exists(at("site.vki")));
    EXPECT_EQ(VkCrdApi_GetCrdType(h), 3);
    crdPointRec coded = pointRec("cp1", 10.5, 20.25, -99999999.0, "CONTROL", "TRAV");
    ASSERT_EQ(VkCrdApi_write_point(1, &coded, h), 0);
    writeAll(h, {"B2", "A10", "A1"});
    // Keys are right-justified, so shorter names come first.
    EXPECT_EQ(walk(h), (Names{"A1", "B2", "A10", "CP1"}));
    EXPECT_EQ(walk(h, "B2-CP1"), (Names{"B2", "A10", "CP1"}));

    ASSERT_EQ(VkCrdApi_end_coord_file(&h), 0);
    h = open("site.vkc");
    const crdPointRec p = read(h, "CP1");
    EXPECT_EQ(withoutBlanks(p.code), "TRAV");
    EXPECT_EQ(withoutBlanks(p.description), "CONTROL");
    EXPECT_EQ(p.elevation, -99999999.0);
    EXPECT_EQ(p.northing, 10.5);
    int version = -1;
    ASSERT_EQ(VkCrdApi_GetCrdFileVersion(h, &version), 1);
    EXPECT_EQ(version, 3);
    crdPointRec hyphen = pointRec("A-1", 1, 1);
    EXPECT_EQ(VkCrdApi_write_point(1, &hyphen, h), -2);
    char bad[VKCRD_NAME_SIZE] = "A-1";
    EXPECT_EQ(VkCrdApi_vk_valid_pointid(h, bad), -1);
}

TEST_F(IndexedFiles, PointsAreRewrittenAndDeleted) {
    VkCrdHandle h = open("site.vkc");
    writeAll(h, {"P1", "P2", "P3"});
    crdPointRec moved = pointRec("P2", 7.0, 8.0, 9.0);
    EXPECT_EQ(VkCrdApi_write_crd_point(0, &moved, h), 1);
    EXPECT_EQ(read(h, "P2").northing, 1001.0);
    EXPECT_EQ(VkCrdApi_write_crd_point(1, &moved, h), 0);
    EXPECT_EQ(read(h, "P2").northing, 7.0);
    EXPECT_EQ(VkCrdApi_GetTotalPoints(h), 3);

    char p3[VKCRD_NAME_SIZE] = "P3";
    EXPECT_EQ(VkCrdApi_delete_point(h, p3), 0);
    char highest[VKCRD_NAME_SIZE] = "";
    VkCrdApi_GetMaxPointName(highest, h);
    EXPECT_STREQ(highest, "P2");
    EXPECT_EQ(walk(h), (Names{"P1", "P2"}));
    EXPECT_EQ(VkCrdApi_GetTotalPoints(h), 2);
}

TEST_F(IndexedFiles, RenamedCopiedAndDeleted) {
    VkCrdHandle source = open("source.vkc");
    writeAll(source, {"A", "B", "C"});
    VkCrdHandle target = open("target.vkc");
    writeAll(target, {"Z"});
    ASSERT_EQ(VkCrdApi_Copy(source, target), 1);
    EXPECT_EQ(walk(target), (Names{"A", "B", "C"}));
    EXPECT_EQ(walk(source), (Names{"A", "B", "C"}));
    // The file copy leaves no rebuild file behind.
    EXPECT_FALSE(fs::exists(at("target_.vkc")));
    EXPECT_FALSE(fs::exists(at("target_.vki")));

    ASSERT_EQ(VkCrdApi_RenameFile(target, at("moved.vkc").c_str()), 1);
    for (const char* gone : {"target.vkc", "target.vki"})
        EXPECT_FALSE(fs::exists(at(gone))) << gone;
    for (const char* there : {"moved.vkc", "moved.vki"})
        EXPECT_TRUE(fs::exists(at(there))) << there;
    EXPECT_EQ(walk(target), (Names{"A", "B", "C"}));
    char path[VKCRD_PATH_SIZE];
    VkCrdApi_GetCrdFileName(target, path);
    EXPECT_EQ(std::string(path), at("moved.vkc"));

    // Renaming onto an existing pair is refused and changes nothing.
    EXPECT_EQ(VkCrdApi_RenameFile(target, at("source.vkc").c_str()), 0);
    EXPECT_EQ(walk(target), (Names{"A", "B", "C"}));
    EXPECT_EQ(walk(source), (Names{"A", "B", "C"}));

    VkCrdHandle copy = VKCRD_NO_HANDLE;
    VkCrdApi_SetNewCrdFileDescLen(40);
    ASSERT_EQ(VkCrdApi_FileCopy(source, dir.string().c_str(), &copy, 4), 0);
    ASSERT_EQ(VkCrdApi_DeleteFile(&target), 1);
    for (const char* gone : {"moved.vkc", "moved.vki"})
        EXPECT_FALSE(fs::exists(at(gone))) << gone;
}

TEST_F(IndexedFiles, FileCopyIntoANumericIndexedFile) {
    VkCrdHandle source = open("job.crd", 0);
    writeAll(source, {"1", "2", "3"});
    VkCrdHandle copy = VKCRD_NO_HANDLE;
    ASSERT_EQ(VkCrdApi_FileCopy(source, dir.string().c_str(), &copy, 4), 1);
    EXPECT_EQ(VkCrdApi_GetCrdType(copy), 4);
    EXPECT_EQ(walk(copy), (Names{"1", "2", "3"}));
    // The description width of the source (31 characters) is the new file's.
    EXPECT_EQ(VkCrdApi_GetPointDescSize(copy), 32);
    char path[VKCRD_PATH_SIZE];
    VkCrdApi_GetCrdFileName(copy, path);
    EXPECT_TRUE(fs::exists(fs::path(path).replace_extension(".idx")));
}

// The engine's file table holds ten data and index pairs; files opened and
// closed in any order get free numbers, never those of a file still open.
TEST_F(IndexedFiles, TenIndexedFilesOpenAtOnce) {
    std::vector<VkCrdHandle> handles;
    for (int i = 0; i < ptbank::point_db::filePairs; ++i) {
        SCOPED_TRACE(i);
        handles.push_back(open("f" + std::to_string(i) + ".vkc"));
        writeAll(handles.back(), {"P" + std::to_string(i)});
    }
    VkCrdHandle refused = VKCRD_NO_HANDLE;
    EXPECT_EQ(VkCrdApi_open_coordfile(at("one-more.vkc").c_str(), 0, &refused), -1);
    EXPECT_EQ(refused, VKCRD_NO_HANDLE);
    for (int i = 0; i < ptbank::point_db::filePairs; ++i)
        EXPECT_EQ(walk(handles[static_cast<std::size_t>(i)]), (Names{"P" + std::to_string(i)}));

    ASSERT_EQ(VkCrdApi_end_coord_file(&handles[3]), 0);
    ASSERT_EQ(VkCrdApi_end_coord_file(&handles[0]), 0);
    const VkCrdHandle again = open("f0.vkc");
    const VkCrdHandle another = open("one-more.vkc");
    writeAll(another, {"N1"});
    EXPECT_EQ(walk(again), (Names{"P0"}));
    EXPECT_EQ(walk(another), (Names{"N1"}));
    for (int i : {1, 2, 4, 9})
        EXPECT_EQ(walk(handles[static_cast<std::size_t>(i)]), (Names{"P" + std::to_string(i)}));
}

// Emptying a file is a rebuild beside it, which needs a pair of its own.
TEST_F(IndexedFiles, NineOpenFilesLeaveRoomToEmptyOne) {
    std::vector<VkCrdHandle> handles;
    for (int i = 0; i < ptbank::point_db::filePairs - 1; ++i)
        handles.push_back(open("f" + std::to_string(i) + ".vkc"));
    writeAll(handles[0], {"A", "B"});
    writeAll(handles[1], {"C"});
    ASSERT_EQ(VkCrdApi_Copy(handles[1], handles[0]), 1);
    EXPECT_EQ(walk(handles[0]), (Names{"C"}));
}

class IndexedBackEnd : public crdtest::CrdTest {
protected:
    void SetUp() override {
        CrdTest::SetUp();
        ptbank::setCurrentUserType(ptbank::crd_type::vkNumeric);
    }
    ptbank::CrdIO& backEnd(ptbank::CrdFile& file) {
        ptbank::CrdIO* io = file.backEnd();
        EXPECT_NE(io, nullptr);
        return *io;
    }
};

TEST_F(IndexedBackEnd, EmptyFileOpensWithoutNames) {
    struct Row {
        const char* name;
        int type;
    };
    for (const auto& [name, type] : {Row{"empty.crd", 4}, Row{"empty.vkc", 3}}) {
        SCOPED_TRACE(name);
        {
            ptbank::CrdFile file;
            ASSERT_EQ(file.open(at(name), 1, type), 1);
            ASSERT_EQ(file.isOpen(), 1);
        }
        ptbank::CrdFile file;
        ASSERT_EQ(file.open(at(name), 0, -1), 1);
        EXPECT_EQ(file.lowestName(), "");
        EXPECT_EQ(file.highestName(), "");
        EXPECT_EQ(backEnd(file).pointCount(), 0);
        EXPECT_EQ(backEnd(file).deleteRange("ALL", 0, file), 0);
        // The same path again: nothing is reopened.
        EXPECT_EQ(backEnd(file).open(at(name)), 1);
    }
}

TEST_F(IndexedBackEnd, ReadsByDirectionAndRefusesWhatDoesNotFit) {
    ptbank::setNewFileDescLen(10);
    ptbank::CrdFile file;
    ASSERT_EQ(file.open(at("job.crd"), 1, 4), 1);
    for (const char* name : {"2", "4", "8"})
        ASSERT_EQ(file.write(crdtest::point(name, 1, 2, 3), 1, 0, {}), 1) << name;
    ptbank::CrdIO& io = backEnd(file);
    ptbank::crdIoPointRec out;
    ptbank::crdCursor cursor;
    EXPECT_EQ(io.readPoint("5", out, 1, 1, &cursor), 1);
    EXPECT_STREQ(out.name, "8");
    EXPECT_STREQ(cursor.name, "8");
    EXPECT_EQ(io.readPoint("5", out, -1, 1, nullptr), 1);
    EXPECT_STREQ(out.name, "4");
    EXPECT_EQ(io.readPoint("5", out, 0, 1, nullptr), 0);
    EXPECT_EQ(io.errorWord(), 10);

    ptbank::crdIoPointRec previous;
    EXPECT_EQ(io.writePoint(crdtest::point("6", 1, 1, 1, std::string(11, 'd')), 1, previous), 0);
    EXPECT_EQ(io.errorWord(), 8);
    EXPECT_EQ(io.writePoint(crdtest::point("6A", 1, 1, 1), 1, previous), 0);
    EXPECT_EQ(io.errorWord(), 7);
    EXPECT_EQ(io.pointCount(), 3);

    struct Row {
        const char* name;
        int code;
    };
    for (const Row& row : {Row{"123456", 1}, Row{"0", 3}, Row{"70000", 4}, Row{"12A", 5},
                           Row{"", 2}, Row{" 65535 ", 0}}) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(io.validateId(row.name), row.code);
    }
}

TEST_F(IndexedBackEnd, DeletesRangesInPlace) {
    ptbank::CrdFile file;
    ASSERT_EQ(file.open(at("site.vkc"), 1, 3), 1);
    for (const char* name : {"A1", "A2", "A3", "B1", "B2"})
        ASSERT_EQ(file.write(crdtest::point(name, 1, 2, 3), 1, 0, {}), 1) << name;
    ptbank::CrdIO& io = backEnd(file);
    EXPECT_EQ(io.deleteRange("A3-A2, B2", 0, file), 3);
    EXPECT_EQ(io.pointCount(), 2);
    EXPECT_EQ(file.lowestName(), "A1");
    EXPECT_EQ(file.highestName(), "B1");
    EXPECT_EQ(io.deleteRange("all", 0, file), 2);
    EXPECT_EQ(io.pointCount(), 0);
    EXPECT_EQ(file.highestName(), "");
}

// The points of an indexed file as its index finds them, each with its
// easting, read back through the data file.
std::vector<std::pair<std::string, double>> storedPoints(ptbank::CrdFile& file) {
    std::vector<std::pair<std::string, double>> points;
    file.setRange(nullptr);
    ptbank::crdIoPointRec p;
    while (file.next(p) == 1)
        points.emplace_back(p.name, p.easting);
    return points;
}

// A rebuilt pair replaces the file's own pair whole or not at all: when one
// of its two renames cannot happen, the old index stays with the old data.
TEST_F(IndexedBackEnd, CommitLeavesTheOldPairOrTheNewPairNeverAMix) {
    using Points = std::vector<std::pair<std::string, double>>;
    const Points oldPoints{{"1", 11.0}, {"2", 12.0}, {"3", 13.0}};
    const Points newPoints{{"7", 17.0}, {"8", 18.0}};
    struct Row {
        const char* what;
        const char* removedBeforeCommit; // makes that rename fail
        int committed;
        const Points* expected;
    };
    for (const Row& row : {Row{"both renames succeed", nullptr, 1, &newPoints},
                           Row{"the first rename fails", "rebuild.idx", 0, &oldPoints},
                           Row{"the second rename fails", "rebuild.crd", 0, &oldPoints}}) {
        SCOPED_TRACE(row.what);
        fs::remove_all(dir);
        fs::create_directory(dir);
        const auto fill = [this](const std::string& name, const Points& points) {
            ptbank::CrdFile file;
            ASSERT_EQ(file.open(at(name), 1, 4), 1);
            for (const auto& [pointName, easting] : points)
                ASSERT_EQ(file.write(crdtest::point(pointName, easting, 2, 3), 1, 0, {}), 1);
        };
        fill("rebuild.crd", newPoints);
        ptbank::CrdFile file;
        ASSERT_EQ(file.open(at("site.crd"), 1, 4), 1);
        for (const auto& [pointName, easting] : oldPoints)
            ASSERT_EQ(file.write(crdtest::point(pointName, easting, 2, 3), 1, 0, {}), 1);
        if (row.removedBeforeCommit)
            fs::remove(at(row.removedBeforeCommit));

        EXPECT_EQ(backEnd(file).commit(at("rebuild.crd")), row.committed);
        EXPECT_EQ(storedPoints(file), *row.expected);
        file.close();
        ptbank::CrdFile reopened;
        ASSERT_EQ(reopened.open(at("site.crd"), 0, -1), 1);
        EXPECT_EQ(storedPoints(reopened), *row.expected);
        std::vector<std::string> left;
        for (const auto& entry : fs::directory_iterator(dir))
            left.push_back(entry.path().filename().string());
        std::sort(left.begin(), left.end());
        EXPECT_EQ(left, (std::vector<std::string>{"site.crd", "site.idx"}))
            << "no temporary file is left behind";
    }
}

TEST_F(IndexedBackEnd, CreateRefusesOtherExtensions) {
    ptbank::CrdFile file;
    EXPECT_EQ(file.open(at("points.txt"), 1, 3), 0);
    EXPECT_FALSE(fs::exists(at("points.txt")));
    EXPECT_NE(console.find("Could not open file"), std::string::npos);
}

TEST_F(IndexedBackEnd, OlderSubTypesOpenAsIndexedFiles) {
    // Sub-types 0 and 2 are only ever read: make them with the layer itself.
    for (const int subType : {0, 2}) {
        SCOPED_TRACE(subType);
        ASSERT_EQ(ptbank::pointDbInit(), 0);
        ptbank::PointDb db;
        db.directory = dir.string() + "/";
        db.baseName = "old" + std::to_string(subType);
        db.descLength = 20;
        ASSERT_EQ(ptbank::pointDbOpen(1, db, subType, 0), 0);
        crdShortPointRec p{};
        std::strcpy(p.name, "12");
        p.elevation = -99999999.0;
        ASSERT_EQ(ptbank::pointDbWrite(1, p, db), 0);
        const std::string path = db.dataPath();
        ptbank::pointDbClose(db);
        ptbank::pointDbShutdown();

        ptbank::resetVkCrdApiForTests();
        VkCrdHandle h = VKCRD_NO_HANDLE;
        ASSERT_EQ(VkCrdApi_open_coordfile(path.c_str(), 1, &h), 0);
        EXPECT_EQ(VkCrdApi_GetCrdType(h), subType == 0 ? 4 : 3);
        int version = -1;
        ASSERT_EQ(VkCrdApi_GetCrdFileVersion(h, &version), 1);
        EXPECT_EQ(version, subType);
        EXPECT_EQ(walk(h), (Names{"12"}));
        ptbank::resetVkCrdApiForTests();
    }
}

} // namespace
