// Point sequences of the closure file: ranges up and down, prefixes, the
// end of a range at the highest name, invalid ranges, and the compact text
// written back. Expected names are written out by hand from each sequence.

#include "input/point_sequence.hpp"

#include <gtest/gtest.h>

#include <cctype>
#include <set>

namespace {

std::vector<std::string> parsed(const std::string& text, const RangeNames& names,
                                std::string& error) {
    simpleList<ptNameRec> list;
    parseTrvPtList(text, list, names, error);
    return pointNamesOf(list);
}

std::string compactTextOf(const std::vector<std::string>& names) {
    simpleList<ptNameRec> list;
    for (const std::string& name : names) {
        ptNameRec record;
        setPointName(record.name, name);
        list.append(record);
    }
    return trvPtListToText(list);
}

struct SequenceCase {
    std::string text;
    std::vector<std::string> names;
    std::string error;
};

TEST(PointSequence, RangesAndNamesGiveTheirMembersInOrder) {
    const RangeNames everyName{{}, [](std::string_view) { return std::string("9"); }};
    const std::vector<SequenceCase> cases = {
        {"1-5,9", {"1", "2", "3", "4", "5", "9"}, ""},
        {"10-7", {"10", "9", "8", "7"}, ""},
        {"A1-A3", {"A1", "A2", "A3"}, ""},
        {"a1-A3", {"a1", "a2", "a3"}, ""},
        {"7-", {"7", "8", "9"}, ""},
        {"101 102\t103", {"101", "102", "103"}, ""},
        // Separators in a row make no empty name.
        {"1, 2", {"1", "2"}, ""},
        {"1,,2 ,\t3", {"1", "2", "3"}, ""},
        // A leading zero keeps the width of the start's number.
        {"0010-0012", {"0010", "0011", "0012"}, ""},
        {"P099-P101", {"P099", "P100", "P101"}, ""},
        {"A1-B3", {}, "Invalid Point Sequence: A1-B3"},
        {"12A-14", {}, "Invalid Point Sequence: 12A-14"},
        {"-5", {}, "Invalid Point Sequence: -5"},
        {"1-1000000", {}, "Invalid Point Sequence: 1-1000000"},
        // Names before the fault stay.
        {"1,2,X1-Y2,3", {"1", "2"}, "Invalid Point Sequence: X1-Y2"},
        {"", {}, "Traverse Point List is Empty"},
        // A name is never cut to 10 characters: cut, it names another point.
        {"1,CONTROLPT001,2",
         {"1"},
         "The point name \"CONTROLPT001\" is longer than 10 characters."},
        {"1,CP000000001-CP000000003",
         {"1"},
         "The point name \"CP000000001\" is longer than 10 characters."},
    };
    for (const SequenceCase& c : cases) {
        SCOPED_TRACE(c.text);
        std::string error;
        EXPECT_EQ(parsed(c.text, everyName, error), c.names);
        EXPECT_EQ(error, c.error);
    }
}

TEST(PointSequence, RangesTakeOnlyExistingNamesButSingleNamesAlways) {
    const std::set<std::string> project = {"1", "2", "4", "0011"};
    const RangeNames existing{[&](std::string_view n) { return project.count(std::string(n)) > 0; },
                              [](std::string_view) { return std::string("4"); }};
    std::string error;
    EXPECT_EQ(parsed("1-5,9", existing, error), (std::vector<std::string>{"1", "2", "4", "9"}));
    EXPECT_EQ(parsed("3-", existing, error), (std::vector<std::string>{"4"}));
    EXPECT_EQ(parsed("0010-0012", existing, error), (std::vector<std::string>{"0011"}));
}

// With the project's names at hand a range takes the same members as when
// every number of its span is tried, in the range's order, and the work
// follows the names the project holds: a file that repeats a wide range
// costs no more than its points.
TEST(PointSequence, WideRangesTakeTheirMembersFromTheProjectsNames) {
    const std::vector<std::string> project = {"1", "2", "4", "0011", "cp7", "CP5", "X9", "70000"};
    std::set<std::string> upper;
    for (const std::string& name : project) {
        std::string u = name;
        for (char& c : u)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        upper.insert(u);
    }
    long asked = 0;
    const auto exists = [&](std::string_view n) {
        ++asked;
        std::string u(n);
        for (char& c : u)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return upper.count(u) > 0;
    };
    const RangeNames tried{exists, {}};
    const RangeNames known{exists, {}, [&] { return project; }};
    struct Row {
        const char* text;
        std::vector<std::string> names;
    };
    for (const Row& row :
         {Row{"1-100000", {"1", "2", "4", "70000"}}, Row{"100000-1", {"70000", "4", "2", "1"}},
          Row{"0001-0099", {"0011"}}, Row{"CP1-CP99999", {"CP5", "CP7"}},
          Row{"cp99999-cp1", {"cp7", "cp5"}}}) {
        SCOPED_TRACE(row.text);
        std::string error;
        EXPECT_EQ(parsed(row.text, tried, error), row.names);
        EXPECT_EQ(parsed(row.text, known, error), row.names);
    }

    std::string repeated = "1-100000";
    for (int i = 0; i < 900; ++i)
        repeated += ",1-100000";
    asked = 0;
    std::string error;
    EXPECT_EQ(parsed(repeated, known, error).size(), 901u * 4u);
    EXPECT_LE(asked, 901L * static_cast<long>(project.size()))
        << "one question per known name and range";
}

// Taking every name of every range, a list stops growing at the most names
// a range may span: a repeated wide range is refused, not expanded.
TEST(PointSequence, EveryNameOfRepeatedRangesIsBoundedByTheRangeLimit) {
    std::string error;
    const std::string range = "1-" + std::to_string(maxRangeMembers);
    EXPECT_EQ(parsed(range, RangeNames{}, error).size(), static_cast<std::size_t>(maxRangeMembers));
    EXPECT_EQ(parsed(range + "," + range, RangeNames{}, error).size(),
              static_cast<std::size_t>(maxRangeMembers));
    EXPECT_EQ(error, "Invalid Point Sequence: " + range);
}

TEST(PointSequence, ARangeToTheEndStopsAtTheHighestNameWithTheSamePrefix) {
    const std::vector<std::string> project = {"7", "CP1", "12", "cp30", "9", "15B", "CP4"};
    EXPECT_EQ(highestNameFor("3", project), "12");
    EXPECT_EQ(highestNameFor("Cp2", project), "cp30");
    EXPECT_EQ(highestNameFor("X1", project), "");
}

TEST(PointSequence, NextNamesAndTheOrderOfNames) {
    EXPECT_EQ(nextPointName("9", 1), "10");
    EXPECT_EQ(nextPointName("A10", -1), "A9");
    EXPECT_EQ(nextPointName("0099", 1), "0100");
    EXPECT_EQ(comparePointNames("9", "10"), -1);
    EXPECT_EQ(comparePointNames("b2", "A30"), 1);
    EXPECT_EQ(comparePointNames("a7", "A7"), 0);
}

TEST(PointSequence, CompactTextJoinsRunsAndParsesBackToTheSameNames) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"1", "2", "3", "5", "6", "8"}, "1-3,5,6,8"},
        {{"1", "2", "3", "5", "6"}, "1-3,5-6"},
        {{"7"}, "7"},
        {{"10", "9", "8", "7"}, "10-7"},
        {{"1", "2", "3", "10", "9", "8"}, "1-3,10-8"},
        {{"0010", "0011", "0012"}, "0010-0012"},
        {{"A", "B", "C"}, "A,B,C"},
        {{"4", "1", "2", "3", "4", "1"}, "4,1-4,1"},
    };
    for (const auto& [names, text] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(compactTextOf(names), text);
        std::string error;
        EXPECT_EQ(parsed(text, RangeNames{}, error), names);
    }
}

} // namespace
