// Damaged .crd files: targeted truncations and a deterministic fuzz run over
// mutated fixtures. Under the sanitizers of the test build any out-of-bounds
// access or undefined conversion fails the test; a damaged file may be
// refused or read, but never crash the library.

#include "crd_test_support.hpp"

#include "ptbank/crd_file.hpp"

#include <limits>
#include <random>

using namespace ptbank;
using namespace crdtest;

namespace {

Bytes numericFixture() {
    Bytes b = numericHeader(5.0, 1.0, 2024.0307, "FUZZ");
    appendNumericPoint(b, 1.0, 2.0, 3.0, "one");
    appendNumericEmptySlot(b);
    appendNumericPoint(b, 3.0, 4.0, 0.0, "CP/three");
    appendNumericEmptySlot(b);
    appendNumericPoint(b, 0.0, 0.0, 1e-6, "origin");
    return b;
}

Bytes alphaFixture(const std::string& marker) {
    Bytes b = alphaHeader(2.0, "03/07/2024", "FUZZ", marker);
    appendAlphaPoint(b, 1.0, 2.0, 3.0, "a", "A1");
    appendAlphaPoint(b, 4.0, 5.0, 6.0, "b", "B20");
    appendAlphaPoint(b, 7.0, 8.0, 9.0, "c", "C3");
    appendAlphaPoint(b, 1.5, 2.5, 3.5, "d", "D_4");
    return b;
}

void mutate(Bytes& bytes, std::mt19937& rng) {
    const double specials[] = {std::numeric_limits<double>::quiet_NaN(),
                               std::numeric_limits<double>::infinity(),
                               -1.0,
                               1e300,
                               99999.0,
                               100000.0,
                               0.0};
    std::uniform_int_distribution<int> kind(0, 4);
    const auto pick = [&rng](std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n == 0 ? 0 : n - 1)(rng);
    };
    switch (kind(rng)) {
    case 0: // one random byte
        if (!bytes.empty())
            bytes[pick(bytes.size())] = static_cast<std::uint8_t>(rng());
        break;
    case 1: // truncation
        bytes.resize(pick(bytes.size() + 1));
        break;
    case 2: // junk at the end
        for (std::size_t i = pick(80); i > 0; --i)
            bytes.push_back(static_cast<std::uint8_t>(rng()));
        break;
    case 3: // a special number where a double lies in a record
        if (bytes.size() >= 8)
            putDouble(bytes, pick(bytes.size() / 8) * 8, specials[pick(std::size(specials))]);
        break;
    default: // a field without its terminator
        if (!bytes.empty()) {
            const std::size_t at = pick(bytes.size());
            for (std::size_t i = at; i < bytes.size() && i < at + 40; ++i)
                bytes[i] = 'X';
        }
        break;
    }
}

// Everything a caller may do with an open file, bounded.
void exercise(CrdFile& file) {
    crdIoPointRec p;
    for (const char* name : {"1", "3", "5", "A1", "C3", "zz", ""}) {
        file.read(name, p, 0);
        file.readNear(name, p, 1, 1);
        file.readNear(name, p, 1, -1);
    }
    file.setRange(nullptr);
    for (int steps = 0; steps < 300 && file.next(p) == 1; ++steps) {
    }
    file.setRange("1-4,A1-C9");
    for (int steps = 0; steps < 300 && file.next(p) == 1; ++steps) {
    }
    file.countInRange("ALL");
    file.write(point("3", 1.0, 2.0, 3.0, "new"), 1, 0, {});
    file.deletePoint("1", 0, {});
}

class DamagedFiles : public CrdTest {};

} // namespace

TEST_F(DamagedFiles, TruncatedNumericRecordIsAReadFailure) {
    Bytes bytes = numericFixture();
    bytes.resize(bytes.size() - 20); // point 5 cut short
    writeBytes(at("cut.crd"), bytes);
    CrdFile file;
    ASSERT_EQ(file.open(at("cut.crd"), 0, -1), 1);
    crdIoPointRec p;
    EXPECT_EQ(file.read("5", p, 0), 0);
    EXPECT_EQ(file.errorWord(), crd_error::readFailed);
    EXPECT_EQ(console, "\nCan't read point from numeric crd file.\n");
    EXPECT_EQ(file.read("1", p, 0), 1) << "what is whole stays readable";
}

TEST_F(DamagedFiles, ImpossibleHighestNumberIsRefused) {
    for (const double highest : {std::numeric_limits<double>::quiet_NaN(), -1.0, 100000.0, 1e300}) {
        SCOPED_TRACE(highest);
        Bytes bytes = numericFixture();
        putDouble(bytes, 0, highest);
        writeBytes(at("bad.crd"), bytes);
        console.clear();
        CrdFile file;
        EXPECT_EQ(file.open(at("bad.crd"), 0, -1), 0);
        EXPECT_EQ(console, "\nError 2: Could not open file: " + at("bad.crd") +
                               "\nIt might be read-only or in use by another application or be "
                               "invalid.\n");
        EXPECT_EQ(readBytes(at("bad.crd")), bytes) << "a refused file is not touched";
    }
}

TEST_F(DamagedFiles, AlphanumericFileWithAPartialRecordKeepsItsWholeRecords) {
    Bytes bytes = alphaFixture("New CRD Format2");
    bytes.resize(bytes.size() - 30);
    writeBytes(at("cut.crd"), bytes);
    CrdFile file;
    ASSERT_EQ(file.open(at("cut.crd"), 0, -1), 1);
    EXPECT_EQ(file.countInRange(nullptr), 3);
    EXPECT_EQ(file.highestName(), "C3");
    crdIoPointRec p;
    EXPECT_EQ(file.read("D_4", p, 1), 0);
    EXPECT_EQ(file.read("B20", p, 1), 1);
}

TEST_F(DamagedFiles, MutatedFixturesNeverCrashTheLibrary) {
    std::mt19937 rng(20240307);
    const Bytes bases[] = {numericFixture(), alphaFixture("New CRD Format2"),
                           alphaFixture("New CRD Format")};
    int opened = 0;
    for (int round = 0; round < 300; ++round) {
        SCOPED_TRACE(round);
        Bytes bytes = bases[static_cast<std::size_t>(round) % std::size(bases)];
        const int mutations = std::uniform_int_distribution<int>(1, 6)(rng);
        for (int m = 0; m < mutations; ++m)
            mutate(bytes, rng);
        const std::string path = at("fuzz" + std::to_string(round % 7) + ".crd");
        writeBytes(path, bytes);
        CrdFile file;
        if (file.open(path, 0, -1) == 1) {
            ++opened;
            exercise(file);
        } else {
            EXPECT_EQ(file.errorWord(), crd_error::notOpen);
        }
    }
    EXPECT_GT(opened, 100) << "most damage still leaves a readable file";
}
