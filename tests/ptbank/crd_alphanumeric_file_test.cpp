// The alphanumeric .crd file through CrdFile, checked against bytes laid out
// by hand from the format's tables (crd_test_support.hpp).

#include "crd_test_support.hpp"

#include "ptbank/crd_file.hpp"

#include "platform/sentinels.hpp"

#include <algorithm>
#include <cctype>
#include <map>
#include <random>
#include <string>
#include <vector>

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

namespace {

// Names that sort and compare in every way the point-name order knows:
// numbers, leading zeros, decimals, letters after digits, and pairs that
// differ only in a zero or a trailing digit.
std::vector<std::string> mixedNames() {
    std::vector<std::string> names;
    for (int i = 1; i <= 120; ++i) {
        names.push_back("P" + std::to_string(i));
        if (i % 3 == 0)
            names.push_back("A0" + std::to_string(i)); // beside "A<i>"
        if (i % 4 == 0)
            names.push_back("A" + std::to_string(i));
        if (i % 5 == 0)
            names.push_back(std::to_string(i) + ".5");
        if (i % 10 == 0)
            names.push_back(std::to_string(i) + ".50"); // beside "<i>.5"
        if (i % 6 == 0)
            names.push_back("B_" + std::to_string(i) + "X");
        if (i % 7 == 0)
            names.push_back(std::to_string(i));
    }
    // The longest a record holds, differing in their last character alone.
    names.push_back("LONGNAME");
    for (char last = '1'; last <= '9'; ++last)
        names.push_back(std::string("LONGNAME") + last);
    return names;
}

std::string lowerCased(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The file's names in its own order, walked without any look-up by name.
std::vector<std::string> namesInFileOrder(CrdFile& file) {
    std::vector<std::string> names;
    crdIoPointRec p;
    file.setRange(nullptr);
    while (file.next(p) == 1)
        names.push_back(p.name);
    return names;
}

} // namespace

// Each name must come back from its own record however the writes moved the
// records about, in any order of reading and in any letter case; the easting
// says which write the record holds.
TEST_F(AlphaFile, EveryNameIsReadFromItsOwnRecordAfterWritesInAnyOrder) {
    std::vector<std::string> names = mixedNames();
    std::mt19937 shuffle(20261210);
    std::shuffle(names.begin(), names.end(), shuffle);
    std::map<std::string, double> expected; // upper-cased name -> easting

    CrdFile file;
    ASSERT_EQ(file.open(at("mixed.crd"), 0, -1), 1);
    const auto readsBack = [&](const std::string& name) {
        crdIoPointRec p;
        if (file.read(name, p, 1) != 1)
            return ::testing::AssertionFailure() << name << " not found";
        const double want = expected.at(upperCased(name));
        if (p.easting != want || upperCased(p.name) != upperCased(name))
            return ::testing::AssertionFailure()
                   << name << " read " << p.name << " at " << p.easting << ", wrote " << want;
        return ::testing::AssertionSuccess();
    };
    for (std::size_t i = 0; i < names.size(); ++i) {
        const double easting = 1000.0 + static_cast<double>(i);
        ASSERT_EQ(file.write(point(names[i], easting, 1.0, 2.0), 1, 0, {}), 1) << names[i];
        expected[upperCased(names[i])] = easting;
        // Every write moves later records on: an earlier name must still be found.
        ASSERT_TRUE(readsBack(names[i * 7 % (i + 1)]));
    }
    // Rewritten in lower case: replaced where they are, nothing added.
    for (std::size_t i = 0; i < names.size(); i += 5) {
        const double easting = 5000.0 + static_cast<double>(i);
        ASSERT_EQ(file.write(point(lowerCased(names[i]), easting, 1.0, 2.0), 1, 0, {}), 1);
        expected[upperCased(names[i])] = easting;
    }
    EXPECT_EQ(file.backEnd()->pointCount(), static_cast<int>(names.size()));

    for (int pass = 0; pass < 2; ++pass) {
        SCOPED_TRACE(pass == 0 ? "as written" : "reopened");
        std::vector<std::string> order = namesInFileOrder(file);
        ASSERT_EQ(order.size(), names.size());
        for (const std::string& name : order)
            EXPECT_TRUE(readsBack(name));
        for (auto name = order.rbegin(); name != order.rend(); ++name)
            EXPECT_TRUE(readsBack(lowerCased(*name)));
        for (const std::string& name : names)
            EXPECT_TRUE(readsBack(name));
        file.close();
        ASSERT_EQ(file.open(at("mixed.crd"), 0, -1), 1);
    }

    crdIoPointRec p;
    for (const char* absent : {"P121", "A01", "A3", "120.500", "B_6", "LONGNAME10", "LONGNAME0", "P1.0"}) {
        EXPECT_EQ(file.read(absent, p, 1), 0) << absent;
        EXPECT_EQ(file.errorWord(), crd_error::noCoordinate) << absent;
    }
}

// Files sorted from the older layout can hold one name twice: a read of that
// name gives the same record each time, and a write replaces a record.
TEST_F(AlphaFile, ANameHeldTwiceIsReadFromOneRecordAndRewrittenInPlace) {
    Bytes old = alphaHeader(0.0, "01/02/2003", "", "New CRD Format");
    appendAlphaPoint(old, 9.0, 9.0, 9.0, "z", "Z9");
    appendAlphaPoint(old, 2.0, 2.0, 2.0, "first", "C2");
    appendAlphaPoint(old, 1.0, 1.0, 1.0, "a", "A1");
    appendAlphaPoint(old, 3.0, 3.0, 3.0, "second", "C2");
    writeBytes(at("old.crd"), old);

    CrdFile file;
    ASSERT_EQ(file.open(at("old.crd"), 0, -1), 1);
    const auto readsOneRecord = [&file](const std::string& expected) {
        crdIoPointRec p;
        for (const char* before : {"C2", "A1", "c2", "Z9"}) {
            SCOPED_TRACE(before);
            ASSERT_EQ(file.read(before, p, 1), 1);
            ASSERT_EQ(file.read("C2", p, 1), 1);
            EXPECT_EQ(p.description, expected);
        }
    };
    crdIoPointRec p;
    ASSERT_EQ(file.read("C2", p, 1), 1);
    readsOneRecord(p.description);

    ASSERT_EQ(file.write(point("c2", 7.0, 7.0, 7.0, "new"), 1, 0, {}), 1);
    EXPECT_EQ(file.backEnd()->pointCount(), 4);
    ASSERT_EQ(file.read("C2", p, 1), 1);
    readsOneRecord(p.description);
}

// Other programs may store names in lower case: they are found in any case,
// and a write of the same name replaces the record.
TEST_F(AlphaFile, NamesStoredInLowerCaseAreFoundInAnyCase) {
    Bytes bytes = alphaHeader(0.0, "01/02/2003", "");
    appendAlphaPoint(bytes, 1.0, 1.0, 1.0, "one", "a1");
    appendAlphaPoint(bytes, 2.0, 2.0, 2.0, "two", "b2x");
    appendAlphaPoint(bytes, 3.0, 3.0, 3.0, "three", "Longname3");
    writeBytes(at("lower.crd"), bytes);

    CrdFile file;
    ASSERT_EQ(file.open(at("lower.crd"), 0, -1), 1);
    crdIoPointRec p;
    for (const char* name : {"B2X", "a1", "LONGNAME3", "A1", "b2X", "longname3"}) {
        ASSERT_EQ(file.read(name, p, 1), 1) << name;
        EXPECT_EQ(upperCased(p.name), upperCased(name));
    }
    ASSERT_EQ(file.write(point("B2x", 5.0, 5.0, 5.0, "moved"), 1, 0, {}), 1);
    EXPECT_EQ(file.backEnd()->pointCount(), 3);
    ASSERT_EQ(file.read("b2x", p, 1), 1);
    EXPECT_STREQ(p.description, "moved");
}
