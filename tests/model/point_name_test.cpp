#include "model/point_name.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

TEST(PointName, StoredNamesAreCutAtTenCharactersAndZeroFilled) {
    struct Row {
        const char* given;
        const char* stored;
    };
    const Row rows[] = {
        {"", ""},
        {"P1", "P1"},
        {"ABCDEFGHIJ", "ABCDEFGHIJ"},  // 10 characters: kept whole
        {"ABCDEFGHIJK", "ABCDEFGHIJ"}, // 11: the last one cut
        {"ABCDEFGHIJKLMNOP", "ABCDEFGHIJ"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.given);
        pointNameField field;
        std::memset(field, 'x', sizeof field);
        setPointName(field, row.given);
        EXPECT_STREQ(field, row.stored);
        for (std::size_t i = std::strlen(row.stored); i < sizeof field; ++i)
            EXPECT_EQ(field[i], '\0') << "byte " << i;
        EXPECT_EQ(fixedText(field), row.stored);
    }
}

TEST(PointName, FixedTextStopsAtTheFieldEndWithoutATerminator) {
    char code[4] = {'A', 'B', 'C', 'D'};
    EXPECT_EQ(fixedText(code), "ABCD");
}

TEST(PointName, NamesCompareOnTheirFirstTenCharactersIgnoringCase) {
    struct Row {
        const char* a;
        const char* b;
        bool same;
    };
    const Row rows[] = {
        {"p1", "P1", true},
        {"CP-7a", "cp-7A", true},
        {"P1", "P10", false},
        {"P1", "P1 ", false},
        {"", "", true},
        {"", "A", false},
        {"ABCDEFGHIJ", "abcdefghij", true},
        {"ABCDEFGHIJ", "ABCDEFGHI", false}, // 10 against 9
        {"ABCDEFGHIJK", "ABCDEFGHIJ",
         true}, // an 11-character name is the point stored as its first 10
        {"ABCDEFGHIJK", "ABCDEFGHIJZ", true}, // they differ past the 10th only
        {"ABCDEFGHIK", "ABCDEFGHIJ", false},  // the 10th character counts
        {"\xe9t1", "\xc9T1", false},          // case mapping is ASCII only
        {"ABCDEFGH", "ABCDEFGH\x01", false},  // a 9th character, however small
        {"ABCDEFGHI", "ABCDEFGHIa", false},   // and a 10th
        {"AB", "AB\x01", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.a) + " / " + row.b);
        EXPECT_EQ(sameName(row.a, row.b), row.same);
        EXPECT_EQ(sameName(row.b, row.a), row.same);
        // The keys of the name tables agree with the comparison.
        EXPECT_EQ(pointNameKey(row.a) == pointNameKey(row.b), row.same);
        EXPECT_EQ(pointKeyOf(row.a) == pointKeyOf(row.b), row.same);
    }
}
