// The history companion (.his), checked byte for byte against records laid
// out by hand from the format's field table.

#include "crd_test_support.hpp"

#include "ptbank/crd_file.hpp"
#include "ptbank/crd_history.hpp"

using namespace ptbank;
using namespace crdtest;

namespace {

// Appends fields little-endian, texts with their terminator.
struct HistoryBytes {
    Bytes b;
    HistoryBytes& text(const std::string& s) {
        b.insert(b.end(), s.begin(), s.end());
        b.push_back(0);
        return *this;
    }
    HistoryBytes& u8(std::uint8_t v) {
        b.push_back(v);
        return *this;
    }
    HistoryBytes& u16(std::uint16_t v) {
        b.push_back(static_cast<std::uint8_t>(v));
        b.push_back(static_cast<std::uint8_t>(v >> 8));
        return *this;
    }
    HistoryBytes& u32(std::uint32_t v) {
        for (int shift = 0; shift < 32; shift += 8)
            b.push_back(static_cast<std::uint8_t>(v >> shift));
        return *this;
    }
    HistoryBytes& f64(double v) {
        putDouble(b, b.size(), v);
        return *this;
    }
};

class History : public CrdTest {
protected:
    void SetUp() override {
        CrdTest::SetUp();
        setCurrentUserType(crd_type::vkNumeric);
        file = std::make_unique<CrdFile>(); // after the test's user name is in place
        ASSERT_EQ(file->open(at("h.crd"), 0, -1), 1);
        file->setHistorySwitch(1);
    }

    std::unique_ptr<CrdFile> file;
};

} // namespace

TEST_F(History, WritesAndDeletionsAreRecordedAsLaidOut) {
    const auto t0 = static_cast<std::uint32_t>(fixedClock_s);
    // New point: mask 0x1 new | 0x100 time | 0x1000 user.
    ASSERT_EQ(file->write(point("P1", 1.0, 2.0, 3.0, "oak", "TREE"), 1, 0, {}), 1);
    // Same values again: no record.
    now_s += 3;
    ASSERT_EQ(file->write(point("P1", 1.0, 2.0, 3.0, "oak", "TREE"), 1, 0, {}), 1);
    // Northing changed with action 7 and a note, 4 s after the stamp: 0x40
    // northing | 0x200 action | 0x400 note | 0x1000 user | 0x2000 same user.
    now_s += 1;
    ASSERT_EQ(file->write(point("P1", 1.0, 5.0, 3.0, "oak", "TREE"), 1, 7, "fix"), 1);
    // New point with the same note, 10 s after the stamp: 0x1 | 0x100 |
    // 0x400 | 0x800 same note | 0x1000 | 0x2000.
    now_s += 6;
    ASSERT_EQ(file->write(point("p2", 7.0, 8.0, -99999999.0), 1, 0, "fix"), 1);
    // Deletion: 250 (0x2 | 0x8 | 0x10 | 0x20 | 0x40 | 0x80) | 0x1000 | 0x2000.
    now_s += 1;
    ASSERT_EQ(file->deletePoint("P1", 0, {}), 1);

    HistoryBytes expected;
    expected.b.assign(historyHeader.begin(), historyHeader.end());
    expected.text("P1").u16(0x1101).u32(t0).text("surveyor");
    expected.text("P1").u16(0x3640).u8(7).text("fix").f64(2.0);
    expected.text("p2").u16(0x3D01).u32(t0 + 10);
    expected.text("P1").u16(0x30FA).text("oak").text("TREE").f64(1.0).f64(5.0).f64(3.0);
    EXPECT_EQ(std::string(historyHeader.begin(), historyHeader.end() - 1), "CRD HISTORY V2");
    EXPECT_EQ(readBytes(at("h.his")), expected.b);
}

TEST_F(History, UserNameIsWrittenAgainAfterTheCompanionWasReopened) {
    ASSERT_EQ(file->write(point("A", 1.0, 1.0, 1.0), 1, 0, {}), 1);
    file->close();
    ASSERT_EQ(file->open(at("h.crd"), 0, -1), 1);
    file->setHistorySwitch(1);
    ASSERT_EQ(file->write(point("B", 1.0, 1.0, 1.0), 1, 0, {}), 1);
    HistoryBytes expected;
    expected.b.assign(historyHeader.begin(), historyHeader.end());
    expected.text("A").u16(0x1101).u32(static_cast<std::uint32_t>(fixedClock_s)).text("surveyor");
    expected.text("B").u16(0x1101).u32(static_cast<std::uint32_t>(fixedClock_s)).text("surveyor");
    EXPECT_EQ(readBytes(at("h.his")), expected.b) << "the last stamp is forgotten on close too";
}

TEST_F(History, NothingIsRecordedWhenSwitchedOffSuspendedOrAskedNotTo) {
    file->setHistorySwitch(0);
    ASSERT_EQ(file->write(point("A", 1.0, 1.0, 1.0), 1, 0, {}), 1);
    file->setHistorySwitch(1);
    ASSERT_EQ(file->write(point("B", 1.0, 1.0, 1.0), 1, 255, {}), 1);
    file->suspendHistory();
    file->suspendHistory();
    ASSERT_EQ(file->write(point("C", 1.0, 1.0, 1.0), 1, 0, {}), 1);
    file->restoreHistory();
    EXPECT_EQ(file->historySwitch(), 0);
    file->restoreHistory();
    EXPECT_EQ(file->historySwitch(), 1);
    EXPECT_FALSE(std::filesystem::exists(at("h.his")));
}

TEST_F(History, ACompanionOfAnotherFormatIsLeftUntouched) {
    const Bytes foreign = {'N', 'O', 'T', ' ', 'H', 'I', 'S', 'T',
                           'O', 'R', 'Y', ' ', 'V', '1', 0,   9};
    writeBytes(at("h.his"), foreign);
    ASSERT_EQ(file->write(point("A", 1.0, 1.0, 1.0), 1, 0, {}), 1);
    EXPECT_EQ(readBytes(at("h.his")), foreign);
    EXPECT_EQ(console, "\nCRD HISTORY FAILED: " + at("h.his") + " not valid.\n");
}

TEST_F(History, CreatingAFileRemovesAStaleCompanion) {
    ASSERT_EQ(file->write(point("A", 1.0, 1.0, 1.0), 1, 0, {}), 1);
    ASSERT_TRUE(std::filesystem::exists(at("h.his")));
    CrdFile other;
    file->close();
    ASSERT_EQ(other.open(at("h.crd"), 1, crd_type::alphanumeric), 1);
    EXPECT_FALSE(std::filesystem::exists(at("h.his")));
    std::string path;
    EXPECT_FALSE(historyPath("", path));
    EXPECT_TRUE(historyPath("/a.b/site.crd", path));
    EXPECT_EQ(path, "/a.b/site.his");
}
