// The exported point-file interface as another program uses it: every
// library call in these tests is one of the exported C functions. The
// fixture only gives each test its own folder and a freshly loaded library.

#include "vk_crd_api_support.hpp"

#include "ptbank/crd_file_type.hpp"
#include "ptbank/crd_user_type_sync.hpp"
#include "ptbank/vk_crd_api.h"
#include "ptbank/vk_crd_handles.hpp"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace crdtest;

class CInterface : public crdtest::CrdApiTest {
protected:
    // A new file of the type at the name, holding the points named.
    VkCrdHandle makeFile(const std::string& name, int type, const Names& points) {
        VkCrdApi_SetDefaultCRDType(type);
        VkCrdHandle h = VKCRD_NO_HANDLE;
        EXPECT_EQ(VkCrdApi_open_coordfile(at(name).c_str(), 0, &h), 0);
        writeAll(h, points);
        return h;
    }

    void writeAll(VkCrdHandle h, const Names& points) {
        for (std::size_t i = 0; i < points.size(); ++i) {
            crdPointRec p = pointRec(points[i], 1000.0 + i, 5000.0 + i, 100.0 + i, "IRON PIN");
            EXPECT_EQ(VkCrdApi_write_point(1, &p, h), 0) << points[i];
        }
    }

    VkCrdHandle makeMemoryFile() {
        VkCrdHandle h = VKCRD_NO_HANDLE;
        EXPECT_EQ(VkCrdApi_OpenSelectFile(&h, nullptr, 1, 0), 1);
        return h;
    }
};

TEST_F(CInterface, NumericFileWalksForwardsBackwardsAndByRange) {
    const VkCrdHandle h = makeFile("job.crd", 0, {"1", "2", "3", "4", "5", "7"});
    ASSERT_NE(h, VKCRD_NO_HANDLE);
    EXPECT_EQ(VkCrdApi_GetCrdType(h), 0);
    EXPECT_EQ(VkCrdApi_GetTotalPoints(h), 6);
    EXPECT_EQ(walk(h), (Names{"1", "2", "3", "4", "5", "7"}));
    EXPECT_EQ(walkBackwards(h), (Names{"7", "5", "4", "3", "2", "1"}));
    EXPECT_EQ(walk(h, "1-3,7"), (Names{"1", "2", "3", "7"}));
    EXPECT_EQ(walk(h, "5-1"), (Names{"5", "4", "3", "2", "1"}));
    EXPECT_EQ(walk(h, " all "), (Names{"1", "2", "3", "4", "5", "7"}));
    // A numeric file's names come back right-justified in 6 characters.
    crdPointRec p{};
    ASSERT_EQ(VkCrdApi_get_first_point(h, &p), 0);
    EXPECT_STREQ(p.name, "     1");
    EXPECT_EQ(p.northing, 1000.0);
    EXPECT_EQ(p.easting, 5000.0);
    EXPECT_EQ(p.elevation, 100.0);
}

TEST_F(CInterface, AlphanumericFileWalksInPointNameOrder) {
    const VkCrdHandle h = makeFile("site.crd", 1, {"B1", "A10", "A2", "A1"});
    EXPECT_EQ(VkCrdApi_GetCrdType(h), 1);
    EXPECT_EQ(walk(h), (Names{"A1", "A2", "A10", "B1"}));
    EXPECT_EQ(walk(h, "A1-A10"), (Names{"A1", "A2", "A10"}));
    EXPECT_EQ(walk(h, "B1-A2"), (Names{"B1", "A10", "A2"}));
    EXPECT_EQ(walkBackwards(h), (Names{"B1", "A10", "A2", "A1"}));
}

TEST_F(CInterface, ReadsWritesAndDeletesPoints) {
    const VkCrdHandle h = makeFile("site.crd", 1, {"A1", "A2"});
    crdPointRec p{};
    char name[VKCRD_NAME_SIZE] = " A2 ";
    ASSERT_EQ(VkCrdApi_read_point(h, name, &p), 0);
    EXPECT_STREQ(name, "A2"); // trimmed in the caller's buffer
    EXPECT_STREQ(p.name, "       A2");
    EXPECT_EQ(p.northing, 1001.0);
    EXPECT_EQ(std::string(p.description), std::string("IRON PIN") + std::string(23, ' '));

    char missing[VKCRD_NAME_SIZE] = "Q9";
    EXPECT_EQ(VkCrdApi_read_point(h, missing, &p), 1);
    EXPECT_STREQ(p.name, "Q9");
    EXPECT_EQ(p.northing, 0.0);

    // A disk write justifies the caller's record to the format's widths.
    crdPointRec added = pointRec("  C5", 1.0, 2.0);
    ASSERT_EQ(VkCrdApi_write_point(1, &added, h), 0);
    EXPECT_STREQ(added.name, "       C5");

    crdPointRec kept = pointRec("A1", 9.0, 9.0);
    EXPECT_EQ(VkCrdApi_write_crd_point(0, &kept, h), 1);
    char a1[VKCRD_NAME_SIZE] = "A1";
    ASSERT_EQ(VkCrdApi_read_point(h, a1, &p), 0);
    EXPECT_EQ(p.northing, 1000.0);
    EXPECT_EQ(VkCrdApi_write_crd_point(1, &kept, h), 0);
    ASSERT_EQ(VkCrdApi_read_point(h, a1, &p), 0);
    EXPECT_EQ(p.northing, 9.0);

    char a2[VKCRD_NAME_SIZE] = "A2";
    EXPECT_EQ(VkCrdApi_delete_point(h, a2), 0);
    EXPECT_EQ(walk(h), (Names{"A1", "C5"}));
    char tooLong[VKCRD_NAME_SIZE] = "ABCDEFGHIJKL";
    EXPECT_EQ(VkCrdApi_read_point(h, tooLong, &p), -2);
    crdPointRec longName = pointRec("ABCDEFGHIJKL", 1, 1);
    EXPECT_EQ(VkCrdApi_write_point(1, &longName, h), -2);
}

TEST_F(CInterface, EmptyFileHasNoFirstPoint) {
    const VkCrdHandle h = makeFile("empty.crd", 1, {});
    crdPointRec p = pointRec("X", 1, 1);
    EXPECT_EQ(VkCrdApi_get_first_point(h, &p), 1);
    EXPECT_STREQ(p.name, "");
    EXPECT_EQ(VkCrdApi_GetTotalPoints(h), 0);
}

TEST_F(CInterface, LowerCaseFileNameOpensTheFileItNames) {
    // Upper-casing the name before opening would make a new empty SITE.crd
    // beside the user's file on this system.
    VkCrdHandle h = makeFile("site.crd", 1, {"A1", "A2"});
    ASSERT_EQ(VkCrdApi_end_coord_file(&h), 0);
    VkCrdHandle again = VKCRD_NO_HANDLE;
    ASSERT_EQ(VkCrdApi_open_coordfile(at("site.crd").c_str(), 0, &again), 0);
    EXPECT_EQ(walk(again), (Names{"A1", "A2"}));
    EXPECT_FALSE(std::filesystem::exists(at("SITE.crd")));
    char path[VKCRD_PATH_SIZE];
    VkCrdApi_GetCrdFileName(again, path);
    EXPECT_EQ(std::string(path), at("site.crd"));
}

TEST_F(CInterface, PathWithoutExtensionOpensTheCrdFile) {
    VkCrdHandle h = VKCRD_NO_HANDLE;
    ASSERT_EQ(VkCrdApi_open_coordfile(at("plain").c_str(), 0, &h), 0);
    EXPECT_TRUE(std::filesystem::exists(at("plain.crd")));
}

TEST_F(CInterface, CopiesRenamesAndDeletesFiles) {
    const VkCrdHandle source = makeFile("source.crd", 0, {"1", "2", "3"});
    VkCrdHandle target = makeFile("target.crd", 1, {"Z9"});
    ASSERT_EQ(VkCrdApi_Copy(source, target), 1);
    EXPECT_EQ(walk(target), (Names{"1", "2", "3"}));

    ASSERT_EQ(VkCrdApi_RenameFile(target, at("renamed.crd").c_str()), 1);
    EXPECT_FALSE(std::filesystem::exists(at("target.crd")));
    EXPECT_TRUE(std::filesystem::exists(at("renamed.crd")));
    // The handle names the new path, so a later delete removes the renamed
    // file and makes nothing at the old one.
    char path[VKCRD_PATH_SIZE];
    VkCrdApi_GetCrdFileName(target, path);
    EXPECT_EQ(std::string(path), at("renamed.crd"));
    ASSERT_EQ(VkCrdApi_close_coord_file(target), 0);
    EXPECT_EQ(VkCrdApi_IsOpen(target), 0);
    ASSERT_EQ(VkCrdApi_DeleteFile(&target), 1);
    EXPECT_EQ(target, VKCRD_NO_HANDLE);
    EXPECT_FALSE(std::filesystem::exists(at("renamed.crd")));
    EXPECT_FALSE(std::filesystem::exists(at("target.crd")));
}

TEST_F(CInterface, CopyOntoItselfKeepsTheFile) {
    const VkCrdHandle disk = makeFile("job.crd", 0, {"1", "2"});
    EXPECT_EQ(VkCrdApi_Copy(disk, disk), 0);
    EXPECT_EQ(walk(disk), (Names{"1", "2"}));
    const VkCrdHandle memory = makeMemoryFile();
    writeAll(memory, {"1", "2"});
    EXPECT_EQ(VkCrdApi_Copy(memory, memory), 0);
    EXPECT_EQ(walk(memory), (Names{"1", "2"}));
}

TEST_F(CInterface, CopyFromAClosedFileLeavesTheDestination) {
    const VkCrdHandle source = makeFile("source.crd", 0, {"1"});
    const VkCrdHandle target = makeFile("target.crd", 1, {"Z9"});
    ASSERT_EQ(VkCrdApi_close_coord_file(source), 0);
    EXPECT_EQ(VkCrdApi_Copy(source, target), 0);
    EXPECT_EQ(walk(target), (Names{"Z9"}));
}

TEST_F(CInterface, MemoryFilesEachKeepTheirOwnPoints) {
    VkCrdHandle first = makeMemoryFile();
    VkCrdHandle second = makeMemoryFile();
    EXPECT_EQ(first, VKCRD_MEMORY_HANDLE);
    EXPECT_NE(second, first);
    EXPECT_NE(second, VKCRD_NO_HANDLE);
    EXPECT_EQ(VkCrdApi_IsMemoryFile(second), 1);
    EXPECT_EQ(VkCrdApi_GetCrdType(second), 2);
    writeAll(first, {"10", "9", "100"});
    writeAll(second, {"B", "a", "C"});
    EXPECT_EQ(walk(first), (Names{"9", "10", "100"}));
    EXPECT_EQ(walk(second), (Names{"a", "B", "C"}));
    // Ending one never disturbs the other (the sanitizer sees any use of freed nodes).
    ASSERT_EQ(VkCrdApi_end_coord_file(&first), 0);
    EXPECT_EQ(walk(second), (Names{"a", "B", "C"}));
    EXPECT_EQ(VkCrdApi_GetTotalPoints(second), 3);
    crdPointRec p{};
    EXPECT_EQ(VkCrdApi_prev_coord(second, std::strcpy(p.name, "ZZ"), &p), 1);
    EXPECT_STREQ(p.name, "C");
    // Handle 0 is free again for the next memory file.
    EXPECT_EQ(makeMemoryFile(), VKCRD_MEMORY_HANDLE);
}

TEST_F(CInterface, PointsPassBetweenDiskAndMemoryFiles) {
    // Disk records carry right-justified names; the memory file stores
    // each under its name, not under an empty one.
    const VkCrdHandle disk = makeFile("job.crd", 0, {"1", "2", "3"});
    const VkCrdHandle memory = makeMemoryFile();
    ASSERT_EQ(VkCrdApi_Copy(disk, memory), 1);
    EXPECT_EQ(walk(memory), (Names{"1", "2", "3"}));
    crdPointRec p{};
    char two[VKCRD_NAME_SIZE] = "2";
    ASSERT_EQ(VkCrdApi_read_point(memory, two, &p), 0);
    EXPECT_EQ(p.northing, 1001.0);

    const VkCrdHandle back = makeFile("back.crd", 1, {});
    ASSERT_EQ(VkCrdApi_Copy(memory, back), 1);
    EXPECT_EQ(walk(back), (Names{"1", "2", "3"}));
    char two2[VKCRD_NAME_SIZE] = "2";
    ASSERT_EQ(VkCrdApi_read_point(back, two2, &p), 0);
    EXPECT_EQ(p.easting, 5001.0);
}

TEST_F(CInterface, MemoryFileReadWriteAndDelete) {
    const VkCrdHandle h = makeMemoryFile();
    writeAll(h, {"12", "7"});
    crdPointRec p = pointRec("7", 1, 1);
    EXPECT_EQ(VkCrdApi_write_point(1, &p, h), -1); // already stored
    EXPECT_EQ(VkCrdApi_write_crd_point(0, &p, h), 1);
    EXPECT_EQ(VkCrdApi_write_crd_point(1, &p, h), 0);
    char seven[VKCRD_NAME_SIZE] = "7";
    ASSERT_EQ(VkCrdApi_read_point(h, seven, &p), 0);
    EXPECT_EQ(p.northing, 1.0);
    char highest[VKCRD_NAME_SIZE] = "";
    VkCrdApi_GetMaxPointName(highest, h);
    EXPECT_STREQ(highest, "12");
    EXPECT_EQ(VkCrdApi_delete_point(h, seven), 0);
    EXPECT_EQ(VkCrdApi_delete_point(h, seven), -1);
    EXPECT_EQ(walk(h), (Names{"12"}));
    EXPECT_EQ(VkCrdApi_SetCrdFeetFlag(h, 1), 1);
    EXPECT_EQ(VkCrdApi_GetCrdFeetFlag(h, 0), 1);
    ASSERT_EQ(VkCrdApi_close_coord_file(h), 0);
    EXPECT_EQ(VkCrdApi_IsMemoryFile(h), 0);
    EXPECT_EQ(VkCrdApi_IsOpen(h), 0);
}

TEST_F(CInterface, GeneratedFilesInAFolder) {
    VkCrdHandle h = VKCRD_NO_HANDLE;
    ASSERT_EQ(VkCrdApi_OpenSelectFile(&h, (dir.string() + "/").c_str(), 0, 0), 1);
    char path[VKCRD_PATH_SIZE];
    VkCrdApi_GetCrdFileName(h, path);
    const std::string name = std::filesystem::path(path).filename().string();
    EXPECT_EQ(name.substr(0, 3), "TMP");
    EXPECT_EQ(std::filesystem::path(path).extension(), ".crd");
    EXPECT_EQ(VkCrdApi_GetCrdType(h), 0);
    // A closed handle takes the next generated file, of the type asked for.
    ASSERT_EQ(VkCrdApi_close_coord_file(h), 0);
    ASSERT_EQ(VkCrdApi_OpenSelectFile(&h, dir.string().c_str(), 0, 0), 1);
    EXPECT_EQ(VkCrdApi_GetCrdType(h), 0);

    VkCrdHandle random = VKCRD_NO_HANDLE;
    char newPath[VKCRD_PATH_SIZE];
    char indexPath[VKCRD_PATH_SIZE] = "old";
    ASSERT_EQ(
        VkCrdApi_open_random_coordfile(dir.string().c_str(), newPath, indexPath, h, &random, 1, 0),
        0);
    EXPECT_TRUE(std::filesystem::exists(newPath));
    EXPECT_STREQ(indexPath, "");
    EXPECT_EQ(VkCrdApi_GetCrdType(random), 1);
    EXPECT_EQ(VkCrdApi_open_random_coordfile(dir.string().c_str(), newPath, indexPath, 4321,
                                             &random, 1, 0),
              1);
}

TEST_F(CInterface, FileCopyTakesEveryPointEvenDuringAWalk) {
    const VkCrdHandle source = makeFile("source.crd", 0, {"1", "2", "3"});
    crdPointRec p{};
    ASSERT_EQ(VkCrdApi_get_first_point(source, &p), 0);
    ASSERT_EQ(VkCrdApi_next_coord(source, p.name, &p), 1);
    VkCrdHandle copy = VKCRD_NO_HANDLE;
    ASSERT_EQ(VkCrdApi_FileCopy(source, dir.string().c_str(), &copy, 1), 1);
    ASSERT_NE(copy, VKCRD_NO_HANDLE);
    EXPECT_EQ(VkCrdApi_GetCrdType(copy), 1);
    EXPECT_EQ(walk(copy), (Names{"1", "2", "3"}));
}

TEST_F(CInterface, UnknownHandleDefaults) {
    const VkCrdHandle unknown = 777;
    crdPointRec p = pointRec("1", 1, 1);
    char name[VKCRD_NAME_SIZE] = "1";
    char text[VKCRD_PATH_SIZE] = "unchanged";
    int version = 42;
    EXPECT_EQ(VkCrdApi_IsOpen(unknown), 0);
    EXPECT_EQ(VkCrdApi_coord_file_open(unknown), 0);
    EXPECT_EQ(VkCrdApi_coord_file_named(unknown), 0);
    EXPECT_EQ(VkCrdApi_close_coord_file(unknown), 1);
    EXPECT_EQ(VkCrdApi_IsMemoryFile(unknown), 0);
    EXPECT_EQ(VkCrdApi_RenameFile(unknown, "x.crd"), 0);
    EXPECT_EQ(VkCrdApi_find_coord_top(name, unknown), 0);
    EXPECT_EQ(VkCrdApi_get_first_point(unknown, &p), -1);
    EXPECT_EQ(VkCrdApi_next_coord(unknown, p.name, &p), -1);
    EXPECT_EQ(VkCrdApi_prev_coord(unknown, p.name, &p), -1);
    EXPECT_EQ(VkCrdApi_read_point(unknown, name, &p), -1);
    EXPECT_EQ(VkCrdApi_delete_point(unknown, name), -1);
    EXPECT_EQ(VkCrdApi_write_point(1, &p, unknown), -1);
    EXPECT_EQ(VkCrdApi_write_crd_point(1, &p, unknown), -1);
    EXPECT_EQ(VkCrdApi_GetTotalPoints(unknown), 0);
    EXPECT_EQ(VkCrdApi_GetCrdType(unknown), -1);
    EXPECT_EQ(VkCrdApi_GetCrdFeetFlag(unknown, 1), -1);
    EXPECT_EQ(VkCrdApi_SetCrdFeetFlag(unknown, 1), 0);
    EXPECT_EQ(VkCrdApi_GetPointNameSize(unknown), 256);
    EXPECT_EQ(VkCrdApi_GetPointDescSize(unknown), 256);
    EXPECT_EQ(VkCrdApi_GetPointCodeSize(unknown), 5);
    EXPECT_EQ(VkCrdApi_GetCfInfoStructPtr(unknown), nullptr);
    EXPECT_EQ(VkCrdApi_GetCrdFileVersion(unknown, &version), 0);
    EXPECT_EQ(version, 42);
    EXPECT_EQ(VkCrdApi_allPtsAreNumeric(unknown), -1);
    EXPECT_EQ(VkCrdApi_Copy(unknown, unknown), 0);
    VkCrdApi_GetMaxPointName(text, unknown);
    EXPECT_STREQ(text, "unchanged");
    VkCrdApi_GetCrdFileName(unknown, text);
    EXPECT_STREQ(text, "");
    VkCrdHandle h = unknown;
    EXPECT_EQ(VkCrdApi_end_coord_file(&h), 1);
    EXPECT_EQ(VkCrdApi_DeleteFile(&h), 0);
    EXPECT_EQ(h, unknown);
}

TEST_F(CInterface, WidthsOfMemoryAndDiskFiles) {
    const VkCrdHandle memory = makeMemoryFile();
    EXPECT_EQ(VkCrdApi_GetPointNameSize(memory), 255);
    EXPECT_EQ(VkCrdApi_GetPointDescSize(memory), 255);
    EXPECT_EQ(VkCrdApi_GetPointCodeSize(memory), 4);
    const VkCrdHandle numeric = makeFile("job.crd", 0, {});
    EXPECT_EQ(VkCrdApi_GetPointNameSize(numeric), 7);
    EXPECT_EQ(VkCrdApi_GetPointDescSize(numeric), 32);
    crdPointRec p{};
    VkCrdApi_null_data(&p, numeric);
    EXPECT_STREQ(p.name, "      ");
    EXPECT_STREQ(p.code, "");
    EXPECT_EQ(std::string(p.description), std::string(31, ' '));
    EXPECT_EQ(p.elevation, -99999999.0);
    VkCrdApi_null_data(&p, memory);
    EXPECT_EQ(std::string(p.name), std::string(255, ' '));
    EXPECT_STREQ(p.code, "    ");
    char highest[VKCRD_NAME_SIZE];
    VkCrdApi_GetMaxLegalPointName(highest, numeric);
    EXPECT_STREQ(highest, "999999");
    int version = 0;
    EXPECT_EQ(VkCrdApi_GetCrdFileVersion(numeric, &version), 1);
    EXPECT_EQ(version, 1);
}

TEST_F(CInterface, NamesOfTypesAndSettings) {
    char name[VKCRD_NAME_SIZE];
    VkCrdApi_GetCRDTypeName(3, name);
    EXPECT_STREQ(name, "V&K Alphanumeric");
    VkCrdApi_GetCRDTypeName(0, name);
    EXPECT_STREQ(name, "Velmora Numeric");
    EXPECT_STREQ(VkCrdApi_GetCrdExtension(4), "crd");
    EXPECT_STREQ(VkCrdApi_GetCrdExtension(3), "vkc");
    EXPECT_STREQ(VkCrdApi_GetCrdExtension(2), "");
    EXPECT_STREQ(VkCrdApi_GetCrdExtension(99), "");
    for (const auto& [given, stored] : {std::pair{0, 100}, {100, 100}, {99, 99}}) {
        VkCrdApi_SetNewCrdFileDescLen(given);
        EXPECT_EQ(VkCrdApi_GetNewCrdFileDescLen(), stored) << given;
    }
    char temp[VKCRD_PATH_SIZE];
    VkCrdApi_MakeTempCrdFilename(temp, "/job/site.crd", 4);
    EXPECT_STREQ(temp, "/job/site_.crd");
    EXPECT_EQ(VkCrdApi_GetCurrentUserType(), 4);
}

TEST_F(CInterface, OpeningRules) {
    VkCrdHandle h = 123;
    EXPECT_EQ(VkCrdApi_open_coordfile((dir.string() + "\\").c_str(), 0, &h), -1);
    EXPECT_EQ(h, 123);
    VkCrdHandle seven = 7;
    EXPECT_EQ(VkCrdApi_OpenSelectFile(&seven, nullptr, 1, 0), 0);
    EXPECT_EQ(seven, 7);
    EXPECT_EQ(VkCrdApi_IsOpen(7), 0);
    const VkCrdHandle first = makeFile("a.crd", 1, {"A1"});
    VkCrdHandle same = first;
    EXPECT_EQ(VkCrdApi_open_coordfile(at("b.crd").c_str(), 0, &same), 1); // already open
    EXPECT_EQ(walk(first), (Names{"A1"}));
    EXPECT_FALSE(std::filesystem::exists(at("b.crd")));
}

TEST_F(CInterface, PointIdChecks) {
    char hyphen[VKCRD_NAME_SIZE] = "A-1";
    EXPECT_EQ(VkCrdApi_vk_valid_pointid(999, hyphen), -1);
    char lower[VKCRD_NAME_SIZE] = "  ab7 ";
    EXPECT_EQ(VkCrdApi_vk_valid_pointid(999, lower), 0);
    EXPECT_STREQ(lower, "AB7");
    char empty[VKCRD_NAME_SIZE] = "";
    EXPECT_EQ(VkCrdApi_vk_valid_pointid(999, empty), -4);
    const VkCrdHandle numeric = makeFile("job.crd", 0, {});
    char zero[VKCRD_NAME_SIZE] = "0";
    EXPECT_EQ(VkCrdApi_vk_valid_pointid(numeric, zero), -3);
    char big[VKCRD_NAME_SIZE] = "100000";
    EXPECT_EQ(VkCrdApi_vk_valid_pointid(numeric, big), -3);
    char fine[VKCRD_NAME_SIZE] = "17";
    EXPECT_EQ(VkCrdApi_vk_valid_pointid(numeric, fine), 0);
    EXPECT_EQ(VkCrdApi_cmp_pts("10", "9", numeric), 1);
    EXPECT_EQ(VkCrdApi_cmp_pts("A", "B", makeMemoryFile()), 0); // both count as 0
    EXPECT_EQ(VkCrdApi_cmp_pts("a", "B", 999), 1);              // bytes, case kept
    EXPECT_EQ(VkCrdApi_cmp_pts("9", "10", 999), -1);            // right-justified
}

TEST_F(CInterface, AllNumericNames) {
    EXPECT_EQ(VkCrdApi_allPtsAreNumeric(makeFile("job.crd", 0, {"4"})), 1);
    EXPECT_EQ(VkCrdApi_allPtsAreNumeric(makeFile("digits.crd", 1, {"12", "40"})), 1);
    EXPECT_EQ(VkCrdApi_allPtsAreNumeric(makeFile("mixed.crd", 1, {"12", "A4"})), 0);
}

// Stepping names: the file rule on disk files, the text rule elsewhere.
TEST_F(CInterface, NameSteppingByHandle) {
    const VkCrdHandle alpha = makeFile("site.crd", 1, {});
    const VkCrdHandle numeric = makeFile("job.crd", 0, {});
    const VkCrdHandle memory = makeMemoryFile();
    struct Row {
        VkCrdHandle handle;
        const char* name;
        int step;
        std::string expected;
        int result;
    };
    const std::string pad252(252, ' ');
    const Row rows[] = {
        {alpha, "A9", 1, "A10", 1},
        {alpha, "P-7", 1, "P6", 1},
        {numeric, "99999", 1, "99999", 0},
        {numeric, "17", 1, "18", 1},
        {memory, "P-7", 1, pad252 + "P-8", 1},
        {999, "A9B", 1, std::string(251, ' ') + "A10B", 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.name) + " on handle " + std::to_string(row.handle));
        char name[VKCRD_NAME_SIZE];
        std::strcpy(name, row.name);
        EXPECT_EQ(VkCrdApi_IncrementPointName(name, row.handle, row.step), row.result);
        EXPECT_EQ(std::string(name), row.expected);
    }
    ASSERT_EQ(VkCrdApi_close_coord_file(alpha), 0);
    char closed[VKCRD_NAME_SIZE] = "A9";
    EXPECT_EQ(VkCrdApi_IncrementPointName(closed, alpha, 1), 0);
}

TEST_F(CInterface, UserTypeFollowsTheOpenFile) {
    struct Row {
        VkCrdHandle handle;
        int before;
        int after;
    };
    const VkCrdHandle numeric = makeFile("job.crd", 0, {});
    const VkCrdHandle alpha = makeFile("site.crd", 1, {});
    const VkCrdHandle memory = makeMemoryFile();
    const Row rows[] = {
        {numeric, 1, 4}, {memory, 1, 4}, {alpha, 4, 3}, {999, 6, 6}, {VKCRD_NO_HANDLE, 3, 3}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.handle);
        VkCrdApi_SetCurrentUserType(row.before);
        syncCrdUserType(row.handle);
        EXPECT_EQ(VkCrdApi_GetCurrentUserType(), row.after);
    }
}

} // namespace

namespace {

// At most this many steps: a walk of a damaged five-point file that takes
// more has lost its way.
constexpr int walkBound = 50;

Names boundedWalk(VkCrdHandle h) {
    Names names;
    crdPointRec p{};
    VkCrdApi_find_coord_top(p.name, h);
    while (names.size() < walkBound && VkCrdApi_next_coord(h, p.name, &p) == 1)
        names.push_back(withoutBlanks(p.name));
    return names;
}

// Replaces the first occurrence of `from` in the file by `to` (same length).
void patchFile(const std::string& path, const std::string& from, const std::string& to) {
    Bytes bytes = readBytes(path);
    const auto at = std::search(bytes.begin(), bytes.end(), from.begin(), from.end());
    ASSERT_NE(at, bytes.end()) << from;
    std::copy(to.begin(), to.end(), at);
    writeBytes(path, bytes);
}

class DamagedIndexedFile : public CInterface {
protected:
    // A closed indexed numeric file holding points 1 to 5.
    void makeClosedFile() {
        const VkCrdHandle h =
            makeFile("job.crd", ptbank::crd_type::vkNumeric, {"1", "2", "3", "4", "5"});
        ASSERT_NE(h, VKCRD_NO_HANDLE);
        ASSERT_EQ(VkCrdApi_close_coord_file(h), 0);
    }
    VkCrdHandle reopen() {
        VkCrdHandle h = VKCRD_NO_HANDLE;
        VkCrdApi_open_coordfile(at("job.crd").c_str(), 0, &h);
        return h;
    }
};

} // namespace

// A record whose name was blanked would send every whole-file walk back to
// the first point: the walk stops at it instead.
TEST_F(DamagedIndexedFile, ARecordWithABlankNameEndsTheWalk) {
    makeClosedFile();
    patchFile(at("job.crd"), "    3", "     ");
    const VkCrdHandle h = reopen();
    ASSERT_NE(h, VKCRD_NO_HANDLE);
    const Names names = boundedWalk(h);
    EXPECT_LT(names.size(), static_cast<std::size_t>(walkBound));
    EXPECT_EQ(names, (Names{"1", "2"}));
    EXPECT_GE(VkCrdApi_allPtsAreNumeric(h), -1) << "returns at all";
}

// A key byte changed from a blank to a tab no longer reads back as itself:
// opening the file (which walks it) and walking it both end, whichever blank
// of the index was changed.
TEST_F(DamagedIndexedFile, AKeyThatDoesNotReadBackEndsTheWalk) {
    makeClosedFile();
    const Bytes index = readBytes(at("job.idx"));
    for (std::size_t i = 0; i < index.size(); ++i) {
        if (index[i] != ' ')
            continue;
        SCOPED_TRACE(i);
        Bytes damaged = index;
        damaged[i] = '\t';
        writeBytes(at("job.idx"), damaged);
        const VkCrdHandle h = reopen();
        if (h != VKCRD_NO_HANDLE) {
            EXPECT_LT(boundedWalk(h).size(), static_cast<std::size_t>(walkBound));
            VkCrdApi_close_coord_file(h);
        }
    }
}

// A record written twice (A1, B20, B20, C3) would step back to itself for
// ever: walking back from the end stops at the repeated name.
TEST_F(DamagedIndexedFile, ARepeatedRecordEndsAWalkBackwards) {
    for (const char* marker : {"New CRD Format2", "New CRD Format"}) {
        SCOPED_TRACE(marker);
        Bytes bytes = alphaHeader(2.0, "03/07/2024", "DUPL", marker);
        appendAlphaPoint(bytes, 1.0, 2.0, 3.0, "a", "A");
        appendAlphaPoint(bytes, 4.0, 5.0, 6.0, "b", "B");
        appendAlphaPoint(bytes, 4.0, 5.0, 6.0, "b", "B");
        appendAlphaPoint(bytes, 7.0, 8.0, 9.0, "c", "C");
        appendAlphaPoint(bytes, 1.5, 2.5, 3.5, "d", "D");
        writeBytes(at("dup.crd"), bytes);
        VkCrdHandle h = VKCRD_NO_HANDLE;
        ASSERT_EQ(VkCrdApi_open_coordfile(at("dup.crd").c_str(), 0, &h), 0);
        Names names;
        crdPointRec p{};
        std::strcpy(p.name, "D");
        ASSERT_EQ(VkCrdApi_read_point(h, p.name, &p), 0);
        while (names.size() < walkBound && VkCrdApi_prev_coord(h, p.name, &p) == 1)
            names.push_back(withoutBlanks(p.name));
        EXPECT_LT(names.size(), static_cast<std::size_t>(walkBound));
        ASSERT_FALSE(names.empty());
        EXPECT_EQ(names.front(), "C");
        VkCrdApi_close_coord_file(h);
    }
}

// A program may end with an indexed file still open: the handle table closes
// it while the program's static objects go, and the engine must still be there.
TEST_F(DamagedIndexedFile, AProgramEndingWithAnIndexedFileOpenExitsCleanly) {
    EXPECT_EXIT(
        {
            const VkCrdHandle h = makeFile("open.crd", ptbank::crd_type::vkNumeric, {"1", "2"});
            std::exit(h == VKCRD_NO_HANDLE ? 3 : 0);
        },
        ::testing::ExitedWithCode(0), "");
}
