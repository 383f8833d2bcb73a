// The numeric .crd file through CrdFile, checked against bytes laid out by
// hand from the format's tables (crd_test_support.hpp).

#include "crd_test_support.hpp"

#include "ptbank/crd_file.hpp"

#include "platform/sentinels.hpp"

using namespace ptbank;
using namespace crdtest;

namespace {

class NumericFile : public CrdTest {
protected:
    void SetUp() override {
        CrdTest::SetUp();
        setCurrentUserType(crd_type::vkNumeric); // callers work in the neutral layout
    }
};

} // namespace

TEST_F(NumericFile, NewFileWithTwoPointsMatchesTheLayoutTable) {
    CrdFile file;
    setDefaultCrdType(crd_type::numeric);
    ASSERT_EQ(file.open(at("job.crd"), 0, -1), 1);
    EXPECT_EQ(file.fileType(), crd_type::numeric);
    EXPECT_EQ(readBytes(at("job.crd")), numericHeader(0.0, 0.0, 2024.0307, ""))
        << "a new file holds only its header, dated from the clock";

    ASSERT_EQ(file.write(point("1", 1000.5, 2000.25, missingElevation, "oak", "TREE"), 0, 0, {}),
              1);
    ASSERT_EQ(file.write(point("5", 0.0, 0.0, missingElevation, "origin"), 0, 0, {}), 1);

    Bytes expected = numericHeader(5.0, 0.0, 2024.0307, "");
    appendNumericPoint(expected, 2000.25, 1000.5, 0.0, "TREE/oak"); // no elevation is 0.0
    appendNumericEmptySlot(expected);
    appendNumericEmptySlot(expected);
    appendNumericEmptySlot(expected);
    appendNumericPoint(expected, 0.0, 0.0, 1e-6, "origin"); // differs from an empty slot
    EXPECT_EQ(readBytes(at("job.crd")), expected);
    EXPECT_EQ(expected.size(), 6u * 56u);
    EXPECT_EQ(file.backEnd()->pointCount(), 5) << "the highest record number, empty slots included";
    EXPECT_EQ(file.highestName(), "5");
    EXPECT_EQ(file.lowestName(), "1");
}

TEST_F(NumericFile, ReadsByNumberAndDirectionFromAHandBuiltFile) {
    Bytes bytes = numericHeader(5.0, 12.5, 2023.1105, "SURVEY");
    appendNumericPoint(bytes, 5000.0, 6000.0, 101.25, "IP/iron pin");
    appendNumericEmptySlot(bytes);
    appendNumericEmptySlot(bytes);
    appendNumericEmptySlot(bytes);
    appendNumericPoint(bytes, 0.0, 0.0, 1e-50, "true zero");
    writeBytes(at("hand.crd"), bytes);

    CrdFile file;
    ASSERT_EQ(file.open(at("hand.crd"), 0, -1), 1);
    EXPECT_EQ(file.fileType(), crd_type::numeric);
    EXPECT_EQ(file.title(), "SURVEY");
    EXPECT_EQ(file.headerNumber(), "12.500");
    EXPECT_EQ(file.headerDate(), "2023.1105");

    crdIoPointRec p;
    ASSERT_EQ(file.read("1", p, 0), 1);
    EXPECT_EQ(p.northing, 5000.0);
    EXPECT_EQ(p.easting, 6000.0);
    EXPECT_EQ(p.elevation, 101.25);
    EXPECT_STREQ(p.code, "IP");
    EXPECT_STREQ(p.description, "iron pin");

    EXPECT_EQ(file.read("3", p, 0), 0);
    EXPECT_EQ(file.errorWord(), crd_error::noCoordinate);
    EXPECT_EQ(console, "\nRequested point# 3 has no coordinate stored.");
    EXPECT_EQ(file.read("9", p, 1), 0);
    EXPECT_EQ(file.errorWord(), crd_error::noCoordinate);

    ASSERT_EQ(file.readNear("3", p, 1, 1), 1);
    EXPECT_STREQ(p.name, "5");
    EXPECT_EQ(p.elevation, 0.0) << "1e-50 is a true zero";
    ASSERT_EQ(file.readNear("3", p, 1, -1), 1);
    EXPECT_STREQ(p.name, "1");
    EXPECT_EQ(file.readNear("9", p, 1, 1), 0) << "beyond the highest name";
    ASSERT_EQ(file.backEnd()->readPoint("9", p, -1, 1, nullptr), 1);
    EXPECT_STREQ(p.name, "5") << "from above the file downwards";
    ASSERT_EQ(file.backEnd()->readPoint("0", p, 1, 1, nullptr), 1);
    EXPECT_STREQ(p.name, "1") << "from below 1 upwards";
}

TEST_F(NumericFile, OriginPointsAndTrueZeroElevations) {
    CrdFile file;
    ASSERT_EQ(file.open(at("z.crd"), 1, crd_type::numeric), 1);
    ASSERT_EQ(file.write(point("1", 0.0, 0.0, missingElevation), 1, 0, {}), 1);
    ASSERT_EQ(file.write(point("2", 0.0, 0.0, 0.0), 1, 0, {}), 1);
    Bytes expected = numericHeader(2.0, 0.0, 2024.0307, "");
    appendNumericPoint(expected, 0.0, 0.0, 1e-6, "");
    appendNumericPoint(expected, 0.0, 0.0, 1e-50, "");
    EXPECT_EQ(readBytes(at("z.crd")), expected);

    crdIoPointRec p;
    ASSERT_EQ(file.read("1", p, 1), 1);
    EXPECT_EQ(p.elevation, missingElevation);
    ASSERT_EQ(file.read("2", p, 1), 1);
    EXPECT_EQ(p.elevation, 0.0);
}

TEST_F(NumericFile, NamesMustBeCanonicalNumbersBelow100000) {
    CrdFile file;
    ASSERT_EQ(file.open(at("n.crd"), 1, crd_type::numeric), 1);
    CrdIO& io = *file.backEnd();
    EXPECT_EQ(io.compareIds("007", "7"), 0);
    EXPECT_EQ(io.compareIds("0", "000"), 0);
    EXPECT_EQ(io.compareIds("9", "10"), -1);

    struct Case {
        const char* name;
        int validate;
        const char* message; // printed by a write that is not quiet
    };
    const Case cases[] = {
        {"007", crd_error::notCanonicalNumber,
         "\nError: pt# 007 invalid for current CRD format of numeric only point numbers."},
        {"12A", crd_error::notCanonicalNumber,
         "\nError: pt# 12A invalid for current CRD format of numeric only point numbers."},
        {"0", crd_error::numberBelowOne, "\nError: Point number must be greater than 0."},
        {"100000", crd_error::numberTooLarge, "\nError: Point number must be less than 100000."},
        {"1234567", crd_error::nameTooLong, nullptr},
        {"", crd_error::emptyName, "\nError: Point number must be greater than 0."},
        {"99999", crd_error::none, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(file.validateId(c.name), c.validate);
        if (!c.message)
            continue;
        console.clear();
        EXPECT_EQ(file.write(point(c.name, 1.0, 1.0, 1.0), 0, 0, {}), 0);
        const int expectedWord =
            c.validate == crd_error::emptyName ? crd_error::numberBelowOne : c.validate;
        EXPECT_EQ(file.errorWord(), expectedWord);
        EXPECT_EQ(console, c.message);
    }
    EXPECT_EQ(file.write(point("3", 1.0, 1.0, 1.0, std::string(32, 'd')), 1, 0, {}), 0);
    EXPECT_EQ(file.errorWord(), crd_error::descriptionTooLong);
    EXPECT_EQ(file.maxLegalName(), "999999");
    EXPECT_EQ(file.minLegalName(), "1");
    EXPECT_EQ(file.nameSize(), 7);
    EXPECT_EQ(file.descSize(), 32);
    EXPECT_EQ(file.codeSize(), 1);
}

TEST_F(NumericFile, HeaderTextsAreStoredAsNumbers) {
    CrdFile file;
    ASSERT_EQ(file.open(at("h.crd"), 1, crd_type::numeric), 1);
    ASSERT_EQ(file.write(point("2", 1.0, 2.0, 3.0), 1, 0, {}), 1);
    CrdIO& io = *file.backEnd();
    EXPECT_EQ(io.setTitle("BOUNDARY JOB"), 1);
    EXPECT_EQ(io.setHeaderNumber("17.25"), 1);
    EXPECT_EQ(io.setHeaderDate("11/23/2024"), 1); // 2024 + 11/100 + 23/10000
    Bytes expected = numericHeader(2.0, 17.25, 2024 + 11 / 100.0 + 23 / 10000.0, "BOUNDARY JOB");
    appendNumericEmptySlot(expected);
    appendNumericPoint(expected, 2.0, 1.0, 3.0, "");
    EXPECT_EQ(readBytes(at("h.crd")), expected);
    EXPECT_EQ(io.setHeaderDate("2021.0102"), 1);
    EXPECT_EQ(readBytes(at("h.crd"))[16], numericHeader(0, 0, 2021.0102, "")[16]);
}

// A header whose highest number lags behind the records it holds must not
// blank those records when a higher number is written.
TEST_F(NumericFile, StaleHeaderNeverBlanksStoredRecords) {
    Bytes bytes = numericHeader(2.0, 0.0, 2024.0307, "");
    appendNumericPoint(bytes, 1.0, 1.0, 1.0, "one");
    appendNumericPoint(bytes, 2.0, 2.0, 2.0, "two");
    appendNumericPoint(bytes, 3.0, 3.0, 3.0, "three");
    writeBytes(at("stale.crd"), bytes);
    CrdFile file;
    ASSERT_EQ(file.open(at("stale.crd"), 0, -1), 1);
    ASSERT_EQ(file.write(point("5", 5.0, 5.0, 5.0, "five"), 1, 0, {}), 1);
    crdIoPointRec p;
    ASSERT_EQ(file.read("3", p, 1), 1);
    EXPECT_STREQ(p.description, "three");
}
