// The GPS readers meet damaged copies of a .GPS file: truncated at many
// places, with bytes replaced or inserted, lines repeated or dropped, very
// long runs of one character. They must never crash (the test build runs
// under AddressSanitizer and UndefinedBehaviorSanitizer); a failed reading
// must say why, and every vector and control point read keeps its bounds.

#include "gps_test_support.hpp"
#include "input/gps_control_points.hpp"
#include "input/gps_vector_reader.hpp"

#include <gtest/gtest.h>

#include <random>

using gpstest::GpsTest;

namespace {

// Bytes that mean something to the format, and some that mean nothing.
constexpr char interestingBytes[] = {'\0', '\n', '\r', '\t', ' ',    ',',    '-',   '.',
                                     'G',  'C',  '0',  '1',  '2',    '3',    '9',   'e',
                                     'E',  '+',  '#',  'x',  '\x7f', '\x80', '\xff'};

class GpsReaderMutation : public GpsTest {
protected:
    std::string original() const {
        return testsupport::readBytes(std::string(TARNWELL_FIXTURES) + "/input/gps/site.gps");
    }

    void readOnce(const std::string& bytes, const std::string& what) {
        SCOPED_TRACE(what);
        write("m.gps", bytes);
        shell.boxes.clear();
        const int vectors = readGpsVectorFiles(context, "m.gps\n", 1);
        EXPECT_TRUE(vectors == gpsReadDone || !shell.boxes.empty());
        gpsVectorRec v;
        for (int i = 0; gpsVectorList.getAt(i, v) == 0; ++i) {
            EXPECT_LE(fixedText(v.from).size(), pointNameMax);
            EXPECT_LE(fixedText(v.to).size(), pointNameMax);
            EXPECT_LE(fixedText(v.comment).size(), gpsCommentMax);
        }
        shell.boxes.clear();
        const int control = readGpsControlLines(context, "m.gps\n");
        EXPECT_TRUE(control == gpsControlDone || !shell.boxes.empty());
        for (const ptGPSXYZCntrl& p : gpsXyzControlArray) {
            EXPECT_TRUE(isSet(p.X) && isSet(p.Y) && isSet(p.Z));
            EXPECT_LE(fixedText(p.description).size(), gpsControlDescriptionMax);
        }
        gpsXyzControlArray.clear();
    }

    std::mt19937 random{33};
    std::size_t offsetIn(const std::string& bytes) {
        return std::uniform_int_distribution<std::size_t>(0, bytes.size())(random);
    }
    char anyInterestingByte() {
        return interestingBytes[std::uniform_int_distribution<std::size_t>(
            0, sizeof interestingBytes - 1)(random)];
    }
};

} // namespace

TEST_F(GpsReaderMutation, TruncatedFiles) {
    const std::string bytes = original();
    for (std::size_t length = 0; length <= bytes.size(); length += 3)
        readOnce(bytes.substr(0, length), "cut at " + std::to_string(length));
}

TEST_F(GpsReaderMutation, ReplacedAndInsertedBytes) {
    const std::string bytes = original();
    for (int i = 0; i < 200; ++i) {
        std::string damaged = bytes;
        const int changes = 1 + i % 4;
        for (int c = 0; c < changes; ++c) {
            const std::size_t at = offsetIn(damaged);
            if (c % 2 == 0 && at < damaged.size())
                damaged[at] = anyInterestingByte();
            else
                damaged.insert(at, 1, anyInterestingByte());
        }
        readOnce(damaged, "mutant " + std::to_string(i));
    }
}

TEST_F(GpsReaderMutation, RepeatedAndDroppedLines) {
    const std::string bytes = original();
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t end = bytes.find('\n', at);
        lines.push_back(bytes.substr(at, end == std::string::npos ? end : end - at + 1));
        at = end == std::string::npos ? bytes.size() : end + 1;
    }
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string dropped, repeated;
        for (std::size_t j = 0; j < lines.size(); ++j) {
            if (j != i)
                dropped += lines[j];
            repeated += lines[j];
            if (j == i)
                repeated += lines[j];
        }
        readOnce(dropped, "without line " + std::to_string(i + 1));
        readOnce(repeated, "line " + std::to_string(i + 1) + " twice");
    }
}

TEST_F(GpsReaderMutation, VeryLongRuns) {
    const std::string bytes = original();
    for (const char c : {'-', ' ', '9', ',', 'x', '\0'}) {
        for (int i = 0; i < 6; ++i) {
            std::string damaged = bytes;
            damaged.insert(offsetIn(damaged), std::string(5000, c));
            readOnce(damaged, std::string("run of ") + (c == '\0' ? "NUL" : std::string(1, c)));
        }
    }
}

TEST_F(GpsReaderMutation, TheUndamagedFileReadsWhole) {
    write("m.gps", original());
    ASSERT_EQ(readGpsVectorFiles(context, "m.gps\n", 1), gpsReadDone);
    EXPECT_EQ(gpsVectorList.count(), 3);
    ASSERT_EQ(readGpsControlLines(context, "m.gps\n"), gpsControlDone);
    ASSERT_EQ(gpsXyzControlArray.size(), 1u);
    EXPECT_EQ(fixedText(gpsXyzControlArray[0].description), "brass disk");
    EXPECT_TRUE(shell.boxes.empty());
}
