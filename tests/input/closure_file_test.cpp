// The closure definition file: records read from lines, settings carried
// between definitions, the written form and its round trip, a last line
// without a line end, and a failed write that keeps the previous file.

#include "input/closure_file.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <sys/resource.h>

namespace {

void writeBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

TEST(ClosureFile, ARecordIsTheFirstKeywordAnywhereInItsLine) {
    struct Case {
        std::string line;
        int keyword;
        std::string value;
    };
    const std::vector<Case> cases = {
        {"  trav_list  1-5,9 ", kwTravList, "1-5,9"},
        {"TRAV_LIST a1\tb2", kwTravList, "A1\tB2"},
        {"ANG_CLOSURE\tON", kwAngClosure, "ON"},
        {"VERT_CLOSURE,off\r", kwVertClosure, "OFF"},
        {"X TRAV_END", kwTravEnd, "TRAV_END"},
        {"TRAV_END", kwTravEnd, ""},
        {"TRAV_TYPE PT_TO_PT", kwTravType, "PT_TO_PT"},
        // A control byte is kept: deleted, it would make a keyword or a name
        // of what stood on either side of it.
        {"TRAV\x01_END", kwNone, ""},
        {"TRAV_TYPE TRAV_LIST", kwTravList, "TRAV_LIST"},
        {"END OF FILE", kwNone, "OF FILE"},
        {"", kwNone, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const ClosureRecord record = closureRecordOf(c.line, 1);
        EXPECT_EQ(record.keyword, c.keyword);
        EXPECT_EQ(record.value, c.value);
    }
}

// A damaged record is refused naming its field; a whole one is not. Control
// bytes were deleted, so "1\x002" became the point 12.
TEST(ClosureFile, ADamagedRecordIsRefusedNamingItsField) {
    const struct {
        std::string line;
        std::string refusal;
    } rows[] = {
        {"TRAV_LIST 1,2,3", ""},
        {"TRAV_LIST 7-,1 2", ""},
        {"", ""},
        {"TRAV_LIST 1,2,CONTROLPT01",
         "The point name \"CONTROLPT01\" is longer than 10 characters."},
        {"TRAV_LIST 1,CP000000001-CP3",
         "The point name \"CP000000001\" is longer than 10 characters."},
        {std::string("TRAV_LIST 1,2\x00"
                     "3",
                     15),
         "The point name \"2<NUL>3\" is not a name: it holds a control byte."},
        {"ANG_CLOSURE O\x1bN", "The ANG_CLOSURE value \"O<0x1B>N\" is not a name: it holds a "
                               "control byte."},
        {"X\x01 TRAV_END", "The keyword \"X<0x01>\" is not a name: it holds a control byte."},
        {"TRAV\x01_END", "The keyword is missing."},
        {"END OF FILE", "The keyword is missing."},
        // A setting's word outside its list left the setting as the
        // definition before had it.
        {"ang_closure on", ""},
        {"TRAV_TYPE gps_loop", ""},
        {"TRAV_TYPE PQ_TO_PT", "The TRAV_TYPE value \"PQ_TO_PT\" is not LOOP_INTERIOR_REF, "
                               "LOOP_EXTERIOR_REF, PT_TO_PT or GPS_LOOP."},
        {"VERT_CLOSURE QN", "The VERT_CLOSURE value \"QN\" is not ON or OFF."},
        {"ANG_CLOSURE ON OFF", "The ANG_CLOSURE value \"ON OFF\" is not ON or OFF."},
        {"TRAV_TYPE", "The TRAV_TYPE value is missing."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.line);
        EXPECT_EQ(closureRecordOf(row.line, 1).refusal, row.refusal);
    }
}

// A record of another word is refused (above) before any setting is applied.
TEST(ClosureFile, SettingsChangeOnlyForTheirOwnWords) {
    EXPECT_FALSE(closureRecordOf("VERT_CLOSURE YES", 2).refusal.empty());
    EXPECT_FALSE(closureRecordOf("TRAV_TYPE LOOP", 4).refusal.empty());
    ClosureSettings s;
    applyClosureSetting(s, closureRecordOf("ANG_CLOSURE ON", 1));
    applyClosureSetting(s, closureRecordOf("VERT_CLOSURE YES", 2));
    applyClosureSetting(s, closureRecordOf("TRAV_TYPE gps_loop", 3));
    EXPECT_EQ(s, (ClosureSettings{1, 0, gpsLoop}));
    applyClosureSetting(s, closureRecordOf("TRAV_TYPE LOOP", 4));
    applyClosureSetting(s, closureRecordOf("ANG_CLOSURE OFF", 5));
    EXPECT_EQ(s, (ClosureSettings{0, 0, gpsLoop}));
}

TEST(ClosureFile, DefinitionsInheritSettingsAndComeBackUpperCaseAndCompact) {
    testsupport::TempFolder folder("cls-read");
    const auto path = folder / "loops.cls";
    // The last line has no line end: its TRAV_END still ends a definition.
    writeBytes(path, "ANG_CLOSURE ON\r\nTRAV_TYPE PT_TO_PT\r\nTRAV_LIST cp1,1,2\r\n"
                     "TRAV_LIST 3,4,cp2\nTRAV_END\r\nnonsense here\r\n"
                     "VERT_CLOSURE ON\nTRAV_LIST 1,2,3,4\nTRAV_END");
    std::vector<ClosureDefinition> definitions;
    std::vector<std::string> errors;
    ASSERT_TRUE(readClosureDefinitions(path, definitions, errors));
    EXPECT_EQ(definitions, (std::vector<ClosureDefinition>{{"CP1,1-4,CP2", {1, 0, pointToPoint}},
                                                           {"1-4", {1, 1, pointToPoint}}}));
    EXPECT_EQ(errors,
              (std::vector<std::string>{"Error parsing record: NONSENSE HERE\r\nFile: " +
                                        path.string() + ", line 6: The keyword is missing."}));
}

// Ranges of the most members a list may have in all come back as written.
// Their names were gathered with a walk of the list from its head for each
// name, so a 200-byte file of such ranges took seconds.
TEST(ClosureFile, RangesOfTheMostMembersComeBackAsWritten) {
    testsupport::TempFolder folder("cls-long");
    const auto path = folder / "long.cls";
    writeBytes(path, "TRAV_LIST 1-60000,A40000-A1\r\nTRAV_END\r\n");
    std::vector<ClosureDefinition> definitions;
    std::vector<std::string> errors;
    ASSERT_TRUE(readClosureDefinitions(path, definitions, errors));
    ASSERT_EQ(definitions.size(), 1u);
    EXPECT_EQ(definitions[0].pointList, "1-60000,A40000-A1");
    EXPECT_TRUE(errors.empty());
}

TEST(ClosureFile, AFileThatIsNotThereIsNotCreated) {
    testsupport::TempFolder folder("cls-missing");
    std::vector<ClosureRecord> records;
    EXPECT_FALSE(readClosureRecords(folder / "none.cls", records));
    EXPECT_FALSE(std::filesystem::exists(folder / "none.cls"));
}

TEST(ClosureFile, WritesFiveLinesPerDefinitionAndReadsThemBack) {
    testsupport::TempFolder folder("cls-write");
    const auto path = folder / "loops.cls";
    const std::vector<ClosureDefinition> written = {
        {"4,1-4,1", {1, 1, loopInteriorRef}},
        {"", {0, 0, pointToPoint}}, // an empty row is not written
        {"G1-G3,G1", {0, 0, gpsLoop}},
    };
    std::string error;
    ASSERT_TRUE(writeClosureFile(path, written, error)) << error;
    EXPECT_EQ(testsupport::readBytes(path),
              "VERT_CLOSURE ON\r\nANG_CLOSURE ON\r\nTRAV_TYPE LOOP_INTERIOR_REF\r\n"
              "TRAV_LIST 4,1-4,1\r\nTRAV_END\r\n"
              "VERT_CLOSURE OFF\r\nANG_CLOSURE OFF\r\nTRAV_TYPE GPS_LOOP\r\n"
              "TRAV_LIST G1-G3,G1\r\nTRAV_END\r\n");
    std::vector<ClosureDefinition> read;
    std::vector<std::string> errors;
    ASSERT_TRUE(readClosureDefinitions(path, read, errors));
    EXPECT_EQ(read, (std::vector<ClosureDefinition>{written[0], written[2]}));
    EXPECT_TRUE(errors.empty());

    ASSERT_TRUE(writeClosureFile(path, {{"", {}}}, error)) << error;
    EXPECT_EQ(testsupport::readBytes(path), "");
}

TEST(ClosureFile, AFailedWriteKeepsThePreviousFile) {
    testsupport::TempFolder folder("cls-keep");
    const auto path = folder / "loops.cls";
    const std::string previous = "TRAV_LIST 1-4\r\nTRAV_END\r\n";
    writeBytes(path, previous);
    // Files of this process may not grow past 16 bytes: the new contents
    // cannot be written anywhere.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 16;
    setrlimit(RLIMIT_FSIZE, &small);
    std::string error;
    const bool written = writeClosureFile(path, {{"1,2,3,4,5,6,7,8,9,10", {1, 1, 0}}}, error);
    setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_FALSE(written);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(testsupport::readBytes(path), previous);
}

} // namespace
