// Opening, type recognition, walks, rebuilds, copies and renames of
// coordinate files through CrdFile.

#include "crd_test_support.hpp"

#include "ptbank/crd_file.hpp"
#include "ptbank/crd_range.hpp"

#include <csignal>
#include <sys/resource.h>

using namespace ptbank;
using namespace crdtest;

namespace {

// Makes every write beyond `bytes` in any file fail, as a full disk would.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = saved_;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }

private:
    rlimit saved_{};
    void (*previousHandler_)(int) = nullptr;
};

std::vector<std::string> walkNames(CrdList& list) {
    std::vector<std::string> names;
    crdIoPointRec p;
    while (list.next(p) == 1)
        names.push_back(p.name);
    return names;
}

std::vector<std::string> allNames(CrdFile& file) {
    file.setRange(nullptr);
    return walkNames(file);
}

class FileObject : public CrdTest {
protected:
    // A numeric file holding the given point numbers.
    void makeNumeric(CrdFile& file, const std::string& name, std::initializer_list<int> numbers) {
        ASSERT_EQ(file.open(at(name), 1, crd_type::numeric), 1);
        for (const int n : numbers)
            ASSERT_EQ(file.write(point(std::to_string(n), n, 2.0 * n, 1.0), 1, 0, {}), 1);
    }
    void makeAlpha(CrdFile& file, const std::string& name,
                   std::initializer_list<const char*> names) {
        ASSERT_EQ(file.open(at(name), 1, crd_type::alphanumeric), 1);
        for (const char* n : names)
            ASSERT_EQ(file.write(point(n, 1.0, 2.0, 3.0), 1, 0, {}), 1);
    }
};

} // namespace

TEST(CrdFileType, NamesExtensionsAndTypesByExtension) {
    resetCrdSettings();
    EXPECT_EQ(crdTypeName(0), "Velmora Numeric");
    EXPECT_EQ(crdTypeName(1), "Velmora Alphanumeric");
    EXPECT_EQ(crdTypeName(2), "Unrecognized");
    EXPECT_EQ(crdTypeName(7), "AutoDesk Civil 3D");
    EXPECT_EQ(crdTypeName(8), "Unrecognized");
    EXPECT_EQ(crdTypeExtension(3), "vkc");
    EXPECT_EQ(crdTypeExtension(-1), "");

    struct Case {
        int defaultType;
        const char* path;
        int expected;
    };
    const Case cases[] = {
        {1, "a.crd", 1},  {0, "a.crd", 0}, {4, "A.CRD", 4},  {3, "a.crd", 4},
        {1, "a.vkc", 3},  {1, "a.MDB", 6}, {1, "a.zak", 5},  {1, "a.dwg", 7},
        {1, "a.txt", -1}, {0, "", 0},      {1, "noext", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        setDefaultCrdType(c.defaultType);
        EXPECT_EQ(crdTypeByExtension(c.path), c.expected);
    }
    resetCrdSettings();
}

TEST(CrdFileType, LibrarySettings) {
    resetCrdSettings();
    EXPECT_EQ(defaultCrdType(), 1);
    setDefaultCrdType(0);
    EXPECT_EQ(defaultCrdType(), 0);
    EXPECT_EQ(currentUserType(), 1);
    EXPECT_EQ(newFileDescLen(), -1);
    for (const auto& [given, stored] : {std::pair{0, 100}, {150, 100}, {50, 50}, {99, 99}}) {
        setNewFileDescLen(given);
        EXPECT_EQ(newFileDescLen(), stored);
    }
    EXPECT_EQ(historyDefault(), 0);
    resetCrdSettings();
}

TEST(CrdFileType, TemporaryPathOfARebuild) {
    EXPECT_EQ(makeTempCrdPath("/job/site.crd", 4), "/job/site_.crd");
    EXPECT_EQ(makeTempCrdPath("/job/site.crd", 3), "/job/site_.vkc");
    EXPECT_EQ(makeTempCrdPath("/job/site.crd", 2), "/job/site_.crd");
    // A dot in a folder name is not the file's extension: the temporary file
    // stays beside the file instead of landing in the parent folder.
    EXPECT_EQ(makeTempCrdPath("/my.jobs/site", 1), "/my.jobs/site_.crd");
}

TEST_F(FileObject, TypeIsRecognisedFromContent) {
    Bytes vk(250, ' ');
    vk[0] = 'a';
    vk[120] = 'X';
    vk[121] = 'X';
    writeBytes(at("vk.crd"), vk);
    vk[122] = 'X';
    writeBytes(at("vk.vkc"), vk);
    writeBytes(at("alpha.crd"), alphaHeader(0, "", ""));
    writeBytes(at("short.crd"), Bytes(60, 0));
    writeBytes(at("empty.crd"), {});
    writeBytes(at("db.mdb"), Bytes(8, 1));
    writeBytes(at("db.zak"), Bytes(8, 1));
    writeBytes(at("drawing.dwg"), Bytes(8, 1));

    EXPECT_EQ(detectCrdType(at("vk.crd")), crd_type::unrecognised) << "no .idx companion";
    EXPECT_EQ(detectCrdType(at("vk.vkc")), crd_type::unrecognised) << "no .vki companion";
    writeBytes(at("vk.IDX"), Bytes(4, 0));
    writeBytes(at("vk.vki"), Bytes(4, 0));
    EXPECT_EQ(detectCrdType(at("vk.crd")), crd_type::vkNumeric) << "index found ignoring case";
    EXPECT_EQ(detectCrdType(at("vk.vkc")), crd_type::vkAlphanumeric);
    EXPECT_EQ(detectCrdType(at("alpha.crd")), crd_type::alphanumeric);
    EXPECT_EQ(detectCrdType(at("short.crd")), crd_type::numeric);
    EXPECT_EQ(detectCrdType(at("empty.crd")), crd_type::unknown);
    EXPECT_EQ(detectCrdType(at("missing.crd")), crd_type::unknown);
    EXPECT_EQ(detectCrdType(at("db.mdb")), crd_type::landDesktop);
    EXPECT_EQ(detectCrdType(at("db.zak")), crd_type::plainview);
    EXPECT_EQ(detectCrdType(at("drawing.dwg")), crd_type::unrecognised);

    CrdFile file;
    EXPECT_EQ(file.open(at("drawing.dwg"), 0, -1), 0);
    EXPECT_EQ(file.open(at("new.dwg"), 0, -1), 0) << "type 7 has no back-end";
    EXPECT_EQ(file.open(at("vk.crd"), 0, -1), 0) << "indexed files need their own back-end";
    EXPECT_EQ(file.errorWord(), crd_error::notOpen);
    EXPECT_EQ(file.isOpen(), 0);
    EXPECT_EQ(file.fileType(), -1);
    EXPECT_EQ(file.path(), "");
    EXPECT_EQ(file.validateId("1"), crd_error::notOpen);
}

TEST_F(FileObject, ALowerCaseNameOpensThatFileAndNoOther) {
    Bytes bytes = alphaHeader(0, "01/01/2020", "MINE");
    appendAlphaPoint(bytes, 1.0, 2.0, 3.0, "kept", "P1");
    writeBytes(at("site.crd"), bytes);
    CrdFile file;
    ASSERT_EQ(file.open(at("site.crd"), 0, -1), 1);
    crdIoPointRec p;
    EXPECT_EQ(file.read("P1", p, 1), 1);
    EXPECT_EQ(file.path(), at("site.crd"));
    file.close();
    std::vector<std::string> entries;
    for (const auto& e : std::filesystem::directory_iterator(dir))
        entries.push_back(e.path().filename().string());
    EXPECT_EQ(entries, std::vector<std::string>{"site.crd"});
}

TEST_F(FileObject, EmptyFilesAreCreatedAnewAndTheDefaultTypeLastsOneOpen) {
    writeBytes(at("empty.crd"), {});
    CrdFile file;
    setDefaultCrdType(crd_type::numeric);
    ASSERT_EQ(file.open(at("empty.crd"), 0, -1), 1);
    EXPECT_EQ(file.fileType(), crd_type::numeric);
    EXPECT_EQ(readBytes(at("empty.crd")).size(), 56u);
    EXPECT_EQ(defaultCrdType(), 1) << "reset by the open";
    ASSERT_EQ(file.open(at("next.crd"), 0, -1), 1);
    EXPECT_EQ(file.fileType(), crd_type::alphanumeric);
    ASSERT_EQ(file.open(at("forced.crd"), 1, crd_type::numeric), 1);
    EXPECT_EQ(file.fileType(), crd_type::numeric);
}

TEST_F(FileObject, FilesThatCannotBeOpenedForWritingAreRefused) {
    std::filesystem::create_directory(at("folder.crd"));
    CrdFile file;
    EXPECT_EQ(file.open(at("folder.crd"), 0, -1), 0);
    EXPECT_EQ(console, "\nError 1: Could not open file: " + at("folder.crd") +
                           "\nIt might be read-only or in use by another application.\n");

    CrdFile first;
    ASSERT_EQ(first.open(at("busy.crd"), 0, -1), 1);
    console.clear();
    CrdFile second;
    EXPECT_EQ(second.open(at("busy.crd"), 0, -1), 0) << "other writers are locked out";
    EXPECT_EQ(console, "\nError 2: Could not open file: " + at("busy.crd") +
                           "\nIt might be read-only or in use by another application or be "
                           "invalid.\n");
    first.close();
    EXPECT_EQ(second.open(at("busy.crd"), 0, -1), 1);
}

TEST_F(FileObject, RangeWalks) {
    CrdFile file;
    makeNumeric(file, "n.crd", {1, 2, 3, 5, 7, 9});
    struct Case {
        const char* range;
        std::vector<std::string> names;
    };
    const std::vector<Case> cases = {
        {"5-1", {"5", "3", "2", "1"}},
        {"1-3,7", {"1", "2", "3", "7"}},
        {"4-8", {"5", "7"}}, // both ends missing: the points between
        {" all ", {"1", "2", "3", "5", "7", "9"}},
        {"8", {}},
        {"9-20,2", {"9", "2"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.range);
        file.setRange(c.range);
        EXPECT_EQ(walkNames(file), c.names);
        crdIoPointRec p;
        EXPECT_EQ(file.next(p), 0) << "the walk stays at its end";
    }
    file.setRange(" all ");
    EXPECT_EQ(file.rangeText(), "1-9") << "a numeric file's lowest name is always 1";
    EXPECT_EQ(file.countInRange("ALL"), 6) << "empty slots are not counted";
    EXPECT_EQ(file.countInRange(nullptr), 9);
    EXPECT_EQ(file.countInRange("2-6"), 3);

    CrdFile alpha;
    makeAlpha(alpha, "a.crd", {"A9", "A10", "B1", "3", "40"});
    alpha.setRange("all");
    EXPECT_EQ(alpha.rangeText(), "3-B1");
    EXPECT_EQ(alpha.countInRange("all"), 5);
    alpha.setRange("A1-A10");
    EXPECT_EQ(walkNames(alpha), (std::vector<std::string>{"A9", "A10"}));
    EXPECT_EQ(isInRange("A5", "A1-A10"), 1);
    EXPECT_EQ(isInRange("B1", "A1-A10"), 0);
    EXPECT_EQ(isInRange("x", " all "), 1);
}

TEST_F(FileObject, DeletingPointsRebuildsTheFile) {
    CrdFile file;
    makeNumeric(file, "n.crd", {1, 2, 3, 4, 5, 6, 8, 10});
    file.backEnd()->setTitle("KEEP ME");
    EXPECT_EQ(file.deletePoint("3-5,8", 0, {}), 4);
    EXPECT_EQ(allNames(file), (std::vector<std::string>{"1", "2", "6", "10"}));
    EXPECT_EQ(file.title(), "KEEP ME");
    EXPECT_EQ(file.deletePoint("10", 0, {}), 1);
    EXPECT_EQ(file.highestName(), "6");
    EXPECT_EQ(readBytes(at("n.crd")).size(), 7u * 56u) << "the highest point was removed";
    EXPECT_EQ(file.deletePoint("50-60", 0, {}), 0) << "nothing in the range: rebuilt, 0";
    EXPECT_FALSE(std::filesystem::exists(at("n_.crd"))) << "no temporary file is left";

    CrdFile alpha;
    makeAlpha(alpha, "a.crd", {"A1", "B2", "C3"});
    alpha.setRange("A1-C3");
    crdIoPointRec p;
    ASSERT_EQ(alpha.next(p), 1);
    EXPECT_EQ(alpha.deletePoint("B2", 0, {}), 1);
    EXPECT_EQ(alpha.rangeText(), "B2-C3") << "the walk's range text survives a deletion";
    EXPECT_EQ(allNames(alpha), (std::vector<std::string>{"A1", "C3"}));
    EXPECT_EQ(readBytes(at("a.crd")).size(), 104u + 2u * 66u);
}

// The disk fills while the kept points are written: the original must stay
// as it was and the deletion must report failure.
TEST_F(FileObject, InterruptedRebuildLeavesTheOriginalIntact) {
    CrdFile file;
    ASSERT_EQ(file.open(at("big.crd"), 1, crd_type::alphanumeric), 1);
    for (int i = 1; i <= 400; ++i)
        ASSERT_EQ(file.write(point("P" + std::to_string(i), i, i, i), 1, 0, {}), 1);
    const Bytes before = readBytes(at("big.crd")); // 104 + 400 * 66 = 26504 bytes
    {
        FileSizeLimit limit(16 * 1024);
        EXPECT_EQ(file.deletePoint("P1-P5", 0, {}), -1);
    }
    EXPECT_EQ(readBytes(at("big.crd")), before);
    EXPECT_FALSE(std::filesystem::exists(at("big_.crd")));
    EXPECT_EQ(currentUserType(), crd_type::alphanumeric) << "saved types are restored";
    crdIoPointRec p;
    EXPECT_EQ(file.read("P3", p, 1), 1) << "the file stays open and whole";

    {
        FileSizeLimit limit(50); // not even the temporary header fits
        EXPECT_EQ(file.deletePoint("P1", 0, {}), -1);
        EXPECT_EQ(file.clear(), 0);
    }
    EXPECT_EQ(readBytes(at("big.crd")), before);
}

// The usual temporary name may be one of the user's own files.
TEST_F(FileObject, RebuildNeverDestroysAFileNamedLikeItsTemporary) {
    writeBytes(at("site_.crd"), Bytes{'m', 'i', 'n', 'e'});
    CrdFile file;
    makeAlpha(file, "site.crd", {"A", "B"});
    EXPECT_EQ(file.deletePoint("A", 0, {}), 1);
    EXPECT_EQ(file.clear(), 1);
    EXPECT_EQ(readBytes(at("site_.crd")), (Bytes{'m', 'i', 'n', 'e'}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir),
                            std::filesystem::directory_iterator()),
              2);
}

TEST_F(FileObject, ClearKeepsTheHeaderAndDropsCompanions) {
    CrdFile file;
    makeAlpha(file, "site.crd", {"A", "B"});
    file.backEnd()->setTitle("HEADER");
    writeBytes(at("site.his"), Bytes(3, 1));
    writeBytes(at("SITE.GRP"), Bytes(3, 1));
    ASSERT_EQ(file.clear(), 1);
    EXPECT_EQ(readBytes(at("site.crd")), alphaHeader(0.0, "03/07/2024", "HEADER"));
    EXPECT_FALSE(std::filesystem::exists(at("site.his")));
    EXPECT_FALSE(std::filesystem::exists(at("SITE.GRP")));
    EXPECT_EQ(file.lowestName(), "");
}

TEST_F(FileObject, CopyingPoints) {
    CrdFile source;
    makeAlpha(source, "src.crd", {"A", "B", "C"});
    CrdFile sameType;
    makeAlpha(sameType, "dst.crd", {"Z"});
    EXPECT_EQ(source.copyAllPoints(sameType), 1);
    EXPECT_EQ(readBytes(at("dst.crd")), readBytes(at("src.crd"))) << "a whole-file copy";
    EXPECT_EQ(allNames(sameType), (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(allNames(source), (std::vector<std::string>{"A", "B", "C"}));

    CrdFile numeric;
    makeNumeric(numeric, "num.crd", {2, 4});
    CrdFile alpha;
    makeAlpha(alpha, "fromnum.crd", {"OLD"});
    numeric.setRange(nullptr);
    EXPECT_EQ(numeric.copyAllPoints(alpha), 1);
    EXPECT_EQ(allNames(alpha), (std::vector<std::string>{"2", "4"}));

    // Copying onto itself would empty the file before reading it.
    EXPECT_EQ(source.copyAllPoints(source), 0);
    EXPECT_EQ(allNames(source), (std::vector<std::string>{"A", "B", "C"}));
}

TEST_F(FileObject, RenamingNeverReplacesAnotherFile) {
    CrdFile file;
    makeAlpha(file, "old.crd", {"A"});
    ASSERT_EQ(file.rename(at("new.crd")), 1);
    EXPECT_EQ(file.path(), at("new.crd"));
    EXPECT_FALSE(std::filesystem::exists(at("old.crd")));

    writeBytes(at("other.crd"), Bytes{'x'});
    EXPECT_EQ(file.rename(at("other.crd")), 0);
    EXPECT_EQ(file.errorWord(), crd_error::renameFailed);
    EXPECT_EQ(readBytes(at("other.crd")), Bytes{'x'});
    EXPECT_EQ(file.isOpen(), 1) << "still open at its own path";
    EXPECT_EQ(file.path(), at("new.crd"));
    crdIoPointRec p;
    EXPECT_EQ(file.read("A", p, 1), 1);
}

TEST_F(FileObject, DeletingAFileWithItsCompanions) {
    CrdFile file;
    makeNumeric(file, "gone.crd", {1});
    writeBytes(at("gone.his"), Bytes(2, 0));
    writeBytes(at("gone.grp"), Bytes(2, 0));
    writeBytes(at("gone.txt"), Bytes(2, 0));
    EXPECT_EQ(file.deleteFilesWithCompanions(1), 1);
    EXPECT_EQ(file.isOpen(), 0);
    EXPECT_FALSE(std::filesystem::exists(at("gone.crd")));
    EXPECT_FALSE(std::filesystem::exists(at("gone.his")));
    EXPECT_FALSE(std::filesystem::exists(at("gone.grp")));
    EXPECT_TRUE(std::filesystem::exists(at("gone.txt")));
    EXPECT_EQ(file.deleteFilesWithCompanions(1), 0) << "nothing open";
}

TEST_F(FileObject, CheckWritableAndHeaderCopy) {
    CrdFile numeric;
    makeNumeric(numeric, "n.crd", {1});
    EXPECT_EQ(numeric.checkWritable(point("12", 1, 1, 1)), 0);
    EXPECT_EQ(numeric.checkWritable(point("A", 1, 1, 1)), crd_error::notCanonicalNumber);
    EXPECT_EQ(numeric.checkWritable(point("12", 1, 1, 1, std::string(32, 'x'))),
              crd_error::descriptionTooLong);

    numeric.backEnd()->setTitle("T1");
    numeric.backEnd()->setHeaderDate("05/06/2007");
    CrdFile alpha;
    makeAlpha(alpha, "a.crd", {});
    alpha.copyHeader(numeric);
    EXPECT_EQ(alpha.title(), "T1");
    EXPECT_EQ(alpha.headerDate(), "05/06/2007");
    EXPECT_EQ(alpha.headerNumber(), "0.000");
}

// A back-end that lost its file (here: removed behind its back, so neither
// the rename nor the reopening works) reports itself closed instead of
// answering as if it were usable.
TEST_F(FileObject, ABackEndThatLostItsFileIsDropped) {
    CrdFile file;
    makeAlpha(file, "lost.crd", {"A"});
    std::filesystem::remove(at("lost.crd"));
    EXPECT_EQ(file.rename(at("found.crd")), 0);
    EXPECT_EQ(file.isOpen(), 0);
    EXPECT_EQ(file.errorWord(), crd_error::notOpen);
    crdIoPointRec p;
    EXPECT_EQ(file.read("A", p, 1), 0);
    EXPECT_EQ(file.next(p), 0);
    EXPECT_EQ(console, "\nError1: crd file not open");
}

TEST(RangeText, ItemsAreParsedAndBuilt) {
    std::string from;
    std::string to;
    std::string_view rest;
    EXPECT_EQ(parseRangeItem("1-3,7", from, to, &rest), 1);
    EXPECT_EQ(from, "1");
    EXPECT_EQ(to, "3");
    EXPECT_EQ(rest, "7");
    EXPECT_EQ(parseRangeItem("7", from, to, &rest), 1);
    EXPECT_EQ(to, "7");
    EXPECT_EQ(rest, "");
    EXPECT_EQ(parseRangeItem("A9-", from, to, nullptr), 1);
    EXPECT_EQ(to, "A9") << "an empty end becomes the start";
    EXPECT_EQ(parseRangeItem("-5", from, to, nullptr), 0);
    EXPECT_EQ(parseRangeItem("", from, to, nullptr), 0);

    std::string range;
    buildRangeText(range, "A-1", "a-1", false);
    EXPECT_EQ(range, "A_1");
    buildRangeText(range, "B,2", "C", false);
    EXPECT_EQ(range, "B_2-C,A_1");
    buildRangeText(range, "9", "", true);
    EXPECT_EQ(range, "B_2-C,A_1,9");
}

TEST_F(FileObject, StepsBackFromTheWalkPosition) {
    CrdFile file;
    makeNumeric(file, "n.crd", {1, 4, 6});
    crdIoPointRec p;
    file.setRange(nullptr);
    ASSERT_EQ(file.next(p), 1);
    ASSERT_EQ(file.next(p), 1);
    ASSERT_EQ(file.next(p), 1);
    EXPECT_STREQ(p.name, "6");
    ASSERT_EQ(file.previous(p), 1);
    EXPECT_STREQ(p.name, "4") << "empty slots are skipped backwards too";
    ASSERT_EQ(file.previous(p), 1);
    EXPECT_STREQ(p.name, "1");
    EXPECT_EQ(file.previous(p), 0);
    file.close();
    EXPECT_EQ(file.previous(p), 0);
    EXPECT_EQ(console, "\nError2: crd file not open");
}
