// The library's own numeric raw input: its "C " sub-record, the "DO" switch
// and a list entry that cannot be opened.

#include "graph_project.hpp"

#include "vistra/network_model.hpp"
#include "vistra/project_input.hpp"

#include <gtest/gtest.h>

using graphtest::GraphProject;

namespace {

struct CoordinateCase {
    const char* text; // after the '6'
    const char* name;
    double northing;
    double easting;
    double elevation;
    const char* description;
};

std::vector<std::string> controlNames() {
    std::vector<std::string> names;
    coordRec p;
    for (int i = 0; controlPointList2D.getAt(i, p) == 0; ++i)
        names.emplace_back(p.name);
    return names;
}

} // namespace

// A description is one word: it ends at the first blank after its
// apostrophe, whether it stands fourth (no elevation) or fifth.
TEST(GraphRawInput, ACoordinateSubRecordTakesOneWordAsItsDescription) {
    const CoordinateCase cases[] = {
        {"C P1 100.5 200.25 'word1 word2", "P1", 100.5, 200.25, notComputed, "word1"},
        {"C P2 100.5 200.25 55.5 'word", "P2", 100.5, 200.25, 55.5, "word"},
        {"C P3 100.5 200.25 55.5", "P3", 100.5, 200.25, 55.5, ""},
    };
    GraphProject project;
    for (const CoordinateCase& c : cases) {
        SCOPED_TRACE(c.text);
        vkrReaderState state;
        rawRec record;
        ASSERT_EQ(parseGraphSubRecord(c.text, record, state), rawRecordStore);
        EXPECT_EQ(record.kind, rawCoord);
        EXPECT_STREQ(record.pointName, c.name);
        EXPECT_EQ(record.northing, c.northing);
        EXPECT_EQ(record.easting, c.easting);
        EXPECT_EQ(record.elevation, c.elevation);
        EXPECT_STREQ(record.description, c.description);
    }
}

TEST(GraphRawInput, RecordsThatDoNotParseAreSkippedAndOtherSubRecordsStoreNothing) {
    GraphProject project;
    vkrReaderState state;
    rawRec record;
    // A '1' record without a backsight is malformed.
    EXPECT_EQ(parseGraphRawLine("1A", record, state), rawRecordNothing);
    EXPECT_EQ(parseGraphRawLine("5anything", record, state), rawRecordNothing);
    EXPECT_EQ(parseGraphRawLine("6S ignored", record, state), rawRecordNothing);
    EXPECT_EQ(parseGraphRawLine("6XX unknown", record, state), rawRecordNothing);
    EXPECT_EQ(parseGraphRawLine("9 other", record, state), rawRecordNothing);
    EXPECT_EQ(parseGraphRawLine("6E H 12.5", record, state), rawRecordStore);
}

// "DO" turns reading off until the next "DO"; each file starts reading.
TEST(GraphRawInput, DoSubRecordsKeepRecordsOutUntilTheNextDoAndEachFileStartsReading) {
    GraphProject project;
    project.writeVkr("one.vkr", {"6SE X:! Y:! Z:!", "6C P1 100 100 1", "6DO", "6C P2 200 200 2",
                                 "6DO", "6C P3 300 300 3", "6DO", "6C P4 400 400 4"});
    project.writeVkr("two.vkr", {"6SE X:! Y:! Z:!", "6C P5 500 500 5"});
    EXPECT_EQ(readVkrInput("one.vkr\ntwo.vkr\n"), 0);
    EXPECT_EQ(controlNames(), (std::vector<std::string>{"P1", "P3", "P5"}));
    EXPECT_EQ(rawDataList.count(), 0) << "the raw records go once the lists are built";
}

// An empty entry names no file that opens: the raw input of the build is
// dropped, silently.
TEST(GraphRawInput, AListEntryThatDoesNotOpenDropsTheRawInput) {
    const char* lists[] = {"one.vkr\n\n", "one.vkr\nabsent.vkr\n", "\none.vkr\n"};
    for (const char* list : lists) {
        SCOPED_TRACE(list);
        GraphProject project;
        project.writeVkr("one.vkr", {"6SE X:! Y:! Z:!", "6C P1 100 100 1"});
        projectVars.pInputFileName = list;
        RecordingShell shell;
        rawDataGraph g(shell);
        EXPECT_EQ(g.pointCount(), 0);
        EXPECT_EQ(controlPointList2D.count(), 0);
        EXPECT_EQ(rawDataList.count(), 0);
        EXPECT_TRUE(shell.boxes.empty());
    }
}

TEST(GraphRawInput, AListWithoutALineEndIsOneFile) {
    GraphProject project;
    project.writeVkr("one.vkr", {"6SE X:! Y:! Z:!", "6C P1 100 100 1"});
    EXPECT_EQ(readVkrInput("one.vkr"), 0);
    EXPECT_EQ(controlNames(), (std::vector<std::string>{"P1"}));
}
