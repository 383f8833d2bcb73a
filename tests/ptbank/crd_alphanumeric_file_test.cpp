// The alphanumeric .crd file through CrdFile, checked against bytes laid out
// by hand from the format's tables (crd_test_support.hpp).

#include "crd_test_support.hpp"

#include "ptbank/crd_file.hpp"

#include "platform/sentinels.hpp"

using namespace ptbank;
using namespace crdtest;

namespace {

class AlphaFile : public CrdTest {
protected:
    void SetUp() override {
        CrdTest::SetUp();
        setCurrentUserType(crd_type::vkNumeric);
    }

    // Points written out of order; expected order under the point-name rules:
    // "10" < "A2" < "A10" < "A_1" < "B2" ('_' folds above digits).
    void writeUnordered(CrdFile& file) {
        ASSERT_EQ(file.write(point("B2", 2.0, 20.0, 200.0, "b two"), 1, 0, {}), 1);
        ASSERT_EQ(file.write(point("a-1", 1.0, 10.0, missingElevation, "dash"), 1, 0, {}), 1);
        ASSERT_EQ(file.write(point("A10", 3.0, 30.0, 0.0, "ten", "CP"), 1, 0, {}), 1);
        ASSERT_EQ(file.write(point("A2", 4.0, 40.0, 4.5), 1, 0, {}), 1);
        ASSERT_EQ(file.write(point(" 10 ", 5.0, 50.0, 5.5), 1, 0, {}), 1);
    }

    static Bytes expectedSorted() {
        Bytes b = alphaHeader(0.0, "03/07/2024", "");
        appendAlphaPoint(b, 50.0, 5.0, 5.5, "", "10");
        appendAlphaPoint(b, 40.0, 4.0, 4.5, "", "A2");
        appendAlphaPoint(b, 30.0, 3.0, 1e-50, "CP/ten", "A10");
        appendAlphaPoint(b, 10.0, 1.0, 0.0, "dash", "A_1");
        appendAlphaPoint(b, 20.0, 2.0, 200.0, "b two", "B2");
        return b;
    }
};

} // namespace

TEST_F(AlphaFile, NewFileHeaderAndSortedRecordsMatchTheLayoutTable) {
    CrdFile file;
    ASSERT_EQ(file.open(at("site.crd"), 0, -1), 1) << "alphanumeric is the default type";
    EXPECT_EQ(file.fileType(), crd_type::alphanumeric);
    EXPECT_EQ(readBytes(at("site.crd")), alphaHeader(0.0, "03/07/2024", ""));
    writeUnordered(file);
    EXPECT_EQ(readBytes(at("site.crd")), expectedSorted());
    EXPECT_EQ(file.lowestName(), "10");
    EXPECT_EQ(file.highestName(), "B2");
    EXPECT_EQ(file.backEnd()->pointCount(), 5);

    // Reopened, the names come from the first and last records.
    file.close();
    ASSERT_EQ(file.open(at("site.crd"), 0, -1), 1);
    EXPECT_EQ(file.lowestName(), "10");
    EXPECT_EQ(file.highestName(), "B2");
    EXPECT_EQ(file.headerDate(), "03/07/2024");
    EXPECT_EQ(file.headerNumber(), "0.000");
}

TEST_F(AlphaFile, DashesAndCommasAreStoredAsUnderscores) {
    CrdFile file;
    ASSERT_EQ(file.open(at("site.crd"), 0, -1), 1);
    writeUnordered(file);
    crdIoPointRec p;
    EXPECT_EQ(file.read("a-1", p, 1), 0) << "the name is stored as A_1";
    ASSERT_EQ(file.read("a_1", p, 1), 1);
    EXPECT_STREQ(p.name, "A_1");
    EXPECT_EQ(p.elevation, missingElevation);
    ASSERT_EQ(file.read("a10", p, 1), 1);
    EXPECT_STREQ(p.code, "CP");
    EXPECT_STREQ(p.description, "ten");
    EXPECT_EQ(p.elevation, 0.0);
}

TEST_F(AlphaFile, RewritingANameReplacesItsRecordInPlace) {
    CrdFile file;
    ASSERT_EQ(file.open(at("site.crd"), 0, -1), 1);
    writeUnordered(file);
    ASSERT_EQ(file.write(point("a2", 9.0, 90.0, 9.5, "moved"), 1, 0, {}), 1);
    Bytes expected = expectedSorted();
    Bytes replaced = alphaHeader(0.0, "", "");
    appendAlphaPoint(replaced, 90.0, 9.0, 9.5, "moved", "A2");
    std::copy(replaced.begin() + 104, replaced.end(), expected.begin() + 104 + 66);
    EXPECT_EQ(readBytes(at("site.crd")), expected) << "same length, record 1 rewritten";
}

TEST_F(AlphaFile, NearestNamesInEitherDirection) {
    CrdFile file;
    ASSERT_EQ(file.open(at("site.crd"), 0, -1), 1);
    writeUnordered(file);
    struct Case {
        const char* name;
        int direction;
        const char* found; // nullptr: nothing that way
    };
    const Case cases[] = {
        {"A5", 1, "A10"},   {"A5", -1, "A2"},   {"A2", 1, "A2"},   {"A3", 0, nullptr},
        {"0", -1, nullptr}, {"0", 1, "10"},     {"C", 1, nullptr}, {"C", -1, "B2"},
        {"A_0", 1, "A_1"},  {"A_0", -1, "A10"}, {"b2", -1, "B2"},  {"10", 1, "10"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " " + std::to_string(c.direction));
        crdIoPointRec p;
        const int r = file.backEnd()->readPoint(c.name, p, c.direction, 1, nullptr);
        if (!c.found) {
            EXPECT_EQ(r, 0);
            EXPECT_EQ(file.errorWord(), crd_error::noCoordinate);
        } else {
            ASSERT_EQ(r, 1);
            EXPECT_STREQ(p.name, c.found);
        }
    }
}

TEST_F(AlphaFile, NameAndDescriptionLimits) {
    CrdFile file;
    ASSERT_EQ(file.open(at("site.crd"), 0, -1), 1);
    EXPECT_EQ(file.write(point("ABCDEFGHIJ", 1, 1, 1), 1, 0, {}), 0);
    EXPECT_EQ(file.errorWord(), crd_error::nameTooLong);
    EXPECT_EQ(file.write(point("  ", 1, 1, 1), 0, 0, {}), 0);
    EXPECT_EQ(file.errorWord(), crd_error::emptyName);
    EXPECT_EQ(console, "\nInvalid point number: empty string.");
    EXPECT_EQ(file.write(point("P", 1, 1, 1, std::string(28, 'd'), "CODE"), 1, 0, {}), 0)
        << "the packed code counts against the 31 characters";
    EXPECT_EQ(file.errorWord(), crd_error::descriptionTooLong);
    EXPECT_EQ(file.write(point("ABCDEFGHI", 1, 1, 1, std::string(31, 'd')), 1, 0, {}), 1);
    EXPECT_EQ(file.validateId("ABCDEFGHIJ"), crd_error::nameTooLong);
    EXPECT_EQ(file.validateId(""), crd_error::emptyName);
    EXPECT_EQ(file.validateId("ANY"), 0);
    EXPECT_EQ(file.maxLegalName(), "");
    EXPECT_EQ(file.nameSize(), 10);
}

TEST_F(AlphaFile, HeaderTextsAreWrittenIntoTheirFields) {
    CrdFile file;
    ASSERT_EQ(file.open(at("site.crd"), 0, -1), 1);
    CrdIO& io = *file.backEnd();
    EXPECT_EQ(io.setTitle(std::string(40, 'T')), 1);
    EXPECT_EQ(io.setHeaderNumber("3.5"), 1);
    EXPECT_EQ(io.setHeaderDate("12/31/1999"), 1);
    EXPECT_EQ(readBytes(at("site.crd")), alphaHeader(3.5, "12/31/1999", std::string(31, 'T')));
}

TEST_F(AlphaFile, OlderUnsortedFilesAreSortedOnOpen) {
    Bytes old = alphaHeader(2.0, "01/02/2003", "OLD JOB", "New CRD Format");
    appendAlphaPoint(old, 9.0, 9.0, 9.0, "z", "Z9");
    appendAlphaPoint(old, 10.0, 10.0, 10.0, "a ten", "A10");
    appendAlphaPoint(old, 2.0, 2.0, 2.0, "a two", "A2");
    appendAlphaPoint(old, 5.0, 5.0, 5.0, "m", "M5");
    writeBytes(at("old.crd"), old);

    CrdFile file;
    ASSERT_EQ(file.open(at("old.crd"), 0, -1), 1);
    EXPECT_EQ(file.fileType(), crd_type::alphanumeric);
    Bytes sorted = alphaHeader(2.0, "01/02/2003", "OLD JOB");
    appendAlphaPoint(sorted, 2.0, 2.0, 2.0, "a two", "A2");
    appendAlphaPoint(sorted, 10.0, 10.0, 10.0, "a ten", "A10");
    appendAlphaPoint(sorted, 5.0, 5.0, 5.0, "m", "M5");
    appendAlphaPoint(sorted, 9.0, 9.0, 9.0, "z", "Z9");
    EXPECT_EQ(readBytes(at("old.crd")), sorted);
    EXPECT_EQ(file.lowestName(), "A2");
    EXPECT_EQ(file.highestName(), "Z9");
    EXPECT_EQ(file.title(), "OLD JOB");
}
