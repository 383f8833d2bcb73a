// The ALTA points file: its records, the written form, the maximum's range,
// a missing file that reading leaves missing, and a last line without a line
// end.

#include "input/alta_points_file.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <cctype>
#include <fstream>

namespace {

void writeBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

AltaPoints readBack(const std::filesystem::path& path, std::vector<std::string>& errors) {
    AltaPoints points;
    EXPECT_TRUE(readAltaPointsFile(path, points, errors));
    return points;
}

TEST(AltaPointsFile, EntriesAreNamesRangesAndDescriptions) {
    testsupport::TempFolder folder("alta");
    writeBytes(folder / "a.alt", "REL_ERR_ALL 1,5-9,DESC:fence\r\n");
    std::vector<std::string> errors;
    const AltaPoints points = readBack(folder / "a.alt", errors);
    EXPECT_EQ(points.entries, (std::vector<AltaEntry>{{AltaEntry::name, "1"},
                                                      {AltaEntry::name, "5-9"},
                                                      {AltaEntry::description, "FENCE"}}));
    EXPECT_TRUE(errors.empty());
}

TEST(AltaPointsFile, PairLinesAddUpAndAreWrittenBackAsOne) {
    testsupport::TempFolder folder("alta");
    // Blanks after a comma are no part of a name; the last line has no end.
    writeBytes(folder / "a.alt", "REL_ERR_PAIRS 1-2, 3-4\nREL_ERR_PAIRS 5-6\nRPT_ALL_MAX_PTS 12");
    std::vector<std::string> errors;
    const AltaPoints points = readBack(folder / "a.alt", errors);
    EXPECT_EQ(points.pairs, (std::vector<AltaPair>{{"1", "2"}, {"3", "4"}, {"5", "6"}}));
    EXPECT_EQ(points.maxPoints, 12);
    std::string error;
    ASSERT_TRUE(writeAltaPointsFile(folder / "b.alt", points, error)) << error;
    EXPECT_EQ(testsupport::readBytes(folder / "b.alt"),
              "RPT_ALL_MAX_PTS 12\r\nREL_ERR_ALL \r\nREL_ERR_PAIRS 1-2,3-4,5-6\r\n");
}

TEST(AltaPointsFile, AMaximumOutsideItsRangeBecomesTwentyFive) {
    testsupport::TempFolder folder("alta");
    for (const auto& [text, want] : std::vector<std::pair<std::string, int>>{
             {"2000", 25}, {"-1", 25}, {"0", 0}, {"1000", 1000}}) {
        writeBytes(folder / "a.alt", "RPT_ALL_MAX_PTS " + text + "\n");
        std::vector<std::string> errors;
        EXPECT_EQ(readBack(folder / "a.alt", errors).maxPoints, want) << text;
    }
}

// A maximum is a whole number or its line is refused, named with file and
// line: "1O" is not read as 1, nor "12.5" as 12.
TEST(AltaPointsFile, AMaximumThatIsNoWholeNumberIsRefusedAndTheMaximumKept) {
    testsupport::TempFolder folder("alta");
    const std::string path = (folder / "a.alt").string();
    for (const char* text : {"1O", "12.5", "7 points", "inf", "0x10", "2,0", "+"}) {
        writeBytes(path, "RPT_ALL_MAX_PTS 40\r\nRPT_ALL_MAX_PTS " + std::string(text) + "\r\n");
        std::vector<std::string> errors;
        EXPECT_EQ(readBack(path, errors).maxPoints, 40) << text;
        std::string value(text);
        for (char& c : value)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        EXPECT_EQ(errors,
                  std::vector<std::string>{"Error parsing record: RPT_ALL_MAX_PTS " + value +
                                           "\r\nFile: " + path + ", line 2: The maximum \"" +
                                           value + "\" is not a whole number."})
            << text;
    }
}

// A name is never cut to the 10 characters the report compares: the line
// naming a longer one is refused with its file and line, and its pairs or
// entries are left out; the other lines are read.
TEST(AltaPointsFile, ANameLongerThanAPointNameIsRefused) {
    testsupport::TempFolder folder("alta");
    const std::string path = (folder / "a.alt").string();
    writeBytes(path, "REL_ERR_PAIRS 1-2,CONTROLPT001-3\r\nREL_ERR_ALL 4,CP000000001-CP000000009\r\n"
                     "REL_ERR_ALL 5,DESC:a description longer than ten\r\nREL_ERR_PAIRS 6-7\r\n");
    std::vector<std::string> errors;
    const AltaPoints points = readBack(path, errors);
    EXPECT_EQ(points.pairs, (std::vector<AltaPair>{{"6", "7"}}));
    EXPECT_EQ(points.entries,
              (std::vector<AltaEntry>{{AltaEntry::name, "5"},
                                      {AltaEntry::description, "A DESCRIPTION LONGER THAN TEN"}}));
    EXPECT_EQ(errors,
              (std::vector<std::string>{
                  "Error parsing record: REL_ERR_PAIRS 1-2,CONTROLPT001-3\r\nFile: " + path +
                      ", line 1: The point name \"CONTROLPT001\" is longer than 10 characters.",
                  "Error parsing record: REL_ERR_ALL 4,CP000000001-CP000000009\r\nFile: " + path +
                      ", line 2: The point name \"CP000000001\" is longer than 10 characters."}));
}

// Lines ending in a lone CR are lines: the file read as one line took the
// maximum into the pairs' value and lost it.
TEST(AltaPointsFile, LinesEndingInALoneCrAreLines) {
    testsupport::TempFolder folder("alta");
    writeBytes(folder / "a.alt", "REL_ERR_PAIRS 1-2\rRPT_ALL_MAX_PTS 12\rREL_ERR_ALL 3\r");
    std::vector<std::string> errors;
    const AltaPoints points = readBack(folder / "a.alt", errors);
    EXPECT_EQ(points.pairs, (std::vector<AltaPair>{{"1", "2"}}));
    EXPECT_EQ(points.maxPoints, 12);
    EXPECT_EQ(points.entries, (std::vector<AltaEntry>{{AltaEntry::name, "3"}}));
    EXPECT_TRUE(errors.empty());
}

TEST(AltaPointsFile, AMissingFileReadsEmptyAndIsNotCreated) {
    testsupport::TempFolder folder("alta");
    std::vector<std::string> errors;
    const AltaPoints points = readBack(folder / "none.alt", errors);
    EXPECT_TRUE(points.pairs.empty());
    EXPECT_TRUE(points.entries.empty());
    EXPECT_FALSE(std::filesystem::exists(folder / "none.alt"));
}

TEST(AltaPointsFile, ALineWithoutKeywordIsReportedAndReadingGoesOn) {
    testsupport::TempFolder folder("alta");
    writeBytes(folder / "a.alt", "junk here\nREL_ERR_PAIRS a-b\n");
    std::vector<std::string> errors;
    const AltaPoints points = readBack(folder / "a.alt", errors);
    EXPECT_EQ(points.pairs, (std::vector<AltaPair>{{"A", "B"}}));
    EXPECT_EQ(errors, (std::vector<std::string>{"Error parsing record: JUNK HERE\r\nFile: " +
                                                (folder / "a.alt").string() +
                                                ", line 1: The keyword is missing."}));
}

TEST(AltaPointsFile, NoPathIsAnError) {
    AltaPoints points;
    std::vector<std::string> errors;
    EXPECT_FALSE(readAltaPointsFile("", points, errors));
    EXPECT_EQ(errors,
              (std::vector<std::string>{
                  "ALTA reporting option chosen.\nBut no alta points file has been chosen"}));
}

} // namespace
