#include "platform/record_fields.hpp"

#include "support/comma_locale.hpp"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

using namespace std::string_literals;

namespace {

using Fields = std::vector<std::string_view>;

} // namespace

TEST(RecordFields, SplitsByTheFormatsRule) {
    EXPECT_EQ(platform::splitOnBlanks("  A1 \t 100.5  200 "), (Fields{"A1", "100.5", "200"}));
    EXPECT_EQ(platform::splitOnBlanks(" \t "), Fields{});
    EXPECT_EQ(platform::splitOn("SP,PNA1 , N 5000,,--x", ','),
              (Fields{"SP", "PNA1", "N 5000", "", "--x"}));
    EXPECT_EQ(platform::splitOn("", ','), Fields{""});
    EXPECT_EQ(platform::splitOn("a,", ','), (Fields{"a", ""}));
    EXPECT_EQ(platform::fixedColumn("1 STA1      1.500", 2, 10), "STA1      ");
    EXPECT_EQ(platform::fixedColumn("1 STA1", 4, 10), "A1");
    EXPECT_EQ(platform::fixedColumn("1 STA1", 6, 10), "");
    EXPECT_EQ(platform::afterCode("FS0.380", "FS"), std::optional<std::string_view>("0.380"));
    EXPECT_EQ(platform::afterCode("fs0.380", "FS"), std::optional<std::string_view>("0.380"));
    EXPECT_EQ(platform::afterCode("BS0.380", "FS"), std::nullopt);
    EXPECT_EQ(platform::afterCode("F", "FS"), std::nullopt);
}

TEST(RecordFields, ChecksTheFieldCount) {
    EXPECT_FALSE(platform::checkFieldCount(4, 4, 5));
    EXPECT_FALSE(platform::checkFieldCount(5, 4, 5));
    const auto fewer = platform::checkFieldCount(3, 5, 5);
    ASSERT_TRUE(fewer);
    EXPECT_EQ(fewer->sentence(), "The record has 3 fields; it needs 5.");
    const auto more = platform::checkFieldCount(7, 4, 6);
    ASSERT_TRUE(more);
    EXPECT_EQ(more->sentence(), "The record has 7 fields; it needs 4 to 6.");

    const Fields fields{"A", "1.5"};
    EXPECT_EQ(*platform::fieldAt(fields, 1, "HI"), "1.5");
    EXPECT_FALSE(platform::fieldAt(fields, 1, "HI").fault());
    const auto missing = platform::fieldAt(fields, 2, "rod height");
    ASSERT_FALSE(missing);
    ASSERT_TRUE(missing.fault());
    EXPECT_EQ(missing.fault()->fault, platform::FieldFault::missing);
    EXPECT_EQ(missing.error().sentence(), "The rod height is missing.");
    const platform::FieldError noCode = platform::missingField("latitude", "LN-75.0");
    EXPECT_EQ(noCode.fault, platform::FieldFault::missing);
    EXPECT_EQ(noCode.text, "LN-75.0");
    EXPECT_EQ(noCode.sentence(), "The latitude is missing.");
}

// Each slip a user makes in a number field must refuse the field: read up
// to the slip, the field became another number without a word.
TEST(RecordFields, ReadsANumberWholeOrRefusesIt) {
    struct Row {
        std::string text;
        std::optional<double> value;
    };
    const Row rows[] = {
        {"166.5845", 166.5845},
        {"  -0.620\t", -0.620},
        {"+12", 12.0},
        {"1.5e2", 150.0},
        {".5", 0.5},
        {"166,5845", std::nullopt},  // decimal comma
        {"166 .5845", std::nullopt}, // blank inside
        {"0\t800", std::nullopt},    // tab inside
        {"0\0"
         "400"s,
         std::nullopt},               // NUL inside: never deleted so digits merge
        {"24\x01.858", std::nullopt}, // other control byte
        {"30#.816", std::nullopt},    // no prefix taken
        {"2abc", std::nullopt},
        {"0x1p-3", std::nullopt},
        {"inf", std::nullopt},
        {"nan", std::nullopt},
        {"1e300", std::nullopt}, // no survey number comes near
        {"", std::nullopt},
        {"   ", std::nullopt},
        {"-", std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(platform::recordExcerpt(row.text));
        const auto read = platform::readNumber(row.text, "distance");
        ASSERT_EQ(read.ok(), row.value.has_value());
        if (row.value)
            EXPECT_DOUBLE_EQ(*read, *row.value);
        else
            EXPECT_EQ(read.error().fault, platform::FieldFault::notANumber);
    }
    EXPECT_EQ(platform::readNumber("FS0\t800", "foresight").error().sentence(),
              "The foresight \"FS0<TAB>800\" is not a number.");
}

TEST(RecordFields, ReadsANumberInTheCLocaleWhateverTheProcessLocale) {
    const testsupport::CommaLocale comma_decimal;
    TARNWELL_REQUIRE_COMMA(comma_decimal);
    const auto point = platform::readNumber("1.5", "x");
    const auto comma = platform::readNumber("1,5", "x");
    ASSERT_TRUE(point);
    EXPECT_EQ(*point, 1.5);
    EXPECT_FALSE(comma);
}

TEST(RecordFields, ReadsAWholeNumberOrRefusesIt) {
    struct Row {
        std::string text;
        std::optional<long> value;
    };
    const Row rows[] = {
        {"25", 25},
        {" -3 ", -3},
        {"+7", 7},
        {"1e1", std::nullopt},
        {"1.5", std::nullopt},
        {"2abc", std::nullopt},
        {"0x10", std::nullopt},
        {"", std::nullopt},
        {"+", std::nullopt},
        {"1 0", std::nullopt},
        {"99999999999999999999", std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        const auto read = platform::readWholeNumber(row.text, "maxIterations");
        ASSERT_EQ(read.ok(), row.value.has_value());
        if (row.value)
            EXPECT_EQ(*read, *row.value);
        else
            EXPECT_EQ(read.error().fault, platform::FieldFault::notAWholeNumber);
    }
    EXPECT_EQ(platform::readWholeNumber("1e1", "maxIterations").error().sentence(),
              "The maxIterations \"1e1\" is not a whole number.");
}

// dd.mmss: the first two decimals are minutes, the next two seconds; 60 or
// more of either is a slip (75 minutes read as 1 deg 15 min moved a point
// 1.25 m).
TEST(RecordFields, ReadsAPackedAngleWithMinutesAndSecondsBelow60) {
    struct Row {
        const char* text;
        platform::FieldFault fault; // missing stands for none
        bool ok;
    };
    constexpr auto none = platform::FieldFault::missing;
    const Row rows[] = {
        {"90.0000", none, true},
        {"359.5959", none, true},
        {"359.59599", none, true},
        {"-12.3045", none, true},
        {"12.3", none, true}, // 30 minutes
        {"12", none, true},
        {"12.75", platform::FieldFault::notAnAngle, false},     // 75 minutes
        {"12.6", platform::FieldFault::notAnAngle, false},      // 60 minutes
        {"44.600108", platform::FieldFault::notAnAngle, false}, // 60 minutes
        {"44.0060", platform::FieldFault::notAnAngle, false},   // 60 seconds
        {"-44.0075", platform::FieldFault::notAnAngle, false},
        {"44,3000", platform::FieldFault::notANumber, false},
        {"120.3x000", platform::FieldFault::notANumber, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        const auto read = platform::readPackedAngle(row.text, "zenith");
        ASSERT_EQ(read.ok(), row.ok);
        if (!row.ok) {
            EXPECT_EQ(read.error().fault, row.fault);
        }
    }
    EXPECT_DOUBLE_EQ(*platform::readPackedAngle(" 12.3045 ", "angle"), 12.3045);
    EXPECT_EQ(
        platform::readPackedAngle("12.75", "zenith").error().sentence(),
        "The zenith \"12.75\" is not a dd.mmss angle: its minutes or seconds are 60 or more.");
}

// Fixed-column formats keep a blank between fields; a byte there means a
// field ran past its columns and read by its columns it would be cut.
TEST(RecordFields, RefusesAFieldThatRunsPastItsColumns) {
    //                        0123456789012345678901
    const std::string_view good = "1A          1.520 D";
    EXPECT_FALSE(platform::checkBlankColumn(good, 11, "HI", 12, 19));
    EXPECT_FALSE(platform::checkBlankColumn("1A", 11, "HI", 12, 19));
    const auto early = platform::checkBlankColumn("1A         11.520 D", 11, "HI", 12, 19);
    ASSERT_TRUE(early);
    EXPECT_EQ(early->fault, platform::FieldFault::outsideColumns);
    EXPECT_EQ(early->sentence(), "The HI \"11.520\" runs past its columns 12 to 19.");
}

// A name is kept whole or refused: cut at 10 characters, "LONGNAME001" and
// "LONGNAME002" became one point.
TEST(RecordFields, ReadsANameWholeOrRefusesIt) {
    EXPECT_EQ(*platform::readName("  STA 1 ", "point name", 10), "STA 1");
    EXPECT_EQ(*platform::readName("ABCDEFGHIJ", "point name", 10), "ABCDEFGHIJ");

    const auto longer = platform::readName("LONGNAME001", "point name", 10);
    ASSERT_FALSE(longer);
    EXPECT_EQ(longer.error().fault, platform::FieldFault::nameTooLong);
    EXPECT_EQ(longer.error().sentence(),
              "The point name \"LONGNAME001\" is longer than 10 characters.");

    const auto blank = platform::readName("   ", "sideshot point", 10);
    ASSERT_FALSE(blank);
    EXPECT_EQ(blank.error().sentence(), "The sideshot point is blank.");

    const auto control = platform::readName("A\0B"s, "point name", 10);
    ASSERT_FALSE(control);
    EXPECT_EQ(control.error().sentence(),
              "The point name \"A<NUL>B\" is not a name: it holds a control byte.");
}

// A refused record is quoted, not copied: a 100 MB line without a line end
// once landed whole in the error file and on the console.
// A word is one of its field's list exactly, or refused naming the list:
// read as no word, it left a setting as it was.
TEST(RecordFields, ReadsAWordOfItsListOrRefusesIt) {
    constexpr std::array<const char*, 3> types = {"LOOP", "PT_TO_PT", "GPS_LOOP"};
    EXPECT_EQ(*platform::readWord(" PT_TO_PT ", "type", types), 1u);
    EXPECT_EQ(*platform::readWord("GPS_LOOP", "type", types), 2u);
    const auto slip = platform::readWord("PQ_TO_PT", "type", types);
    ASSERT_FALSE(slip);
    EXPECT_EQ(slip.error().fault, platform::FieldFault::notInList);
    EXPECT_EQ(slip.error().sentence(), "The type \"PQ_TO_PT\" is not LOOP, PT_TO_PT or GPS_LOOP.");
    EXPECT_FALSE(platform::readWord("pt_to_pt", "type", types));
    EXPECT_FALSE(platform::readWord("PT_TO_PT X", "type", types));
    constexpr std::array<const char*, 2> switches = {"ON", "OFF"};
    EXPECT_EQ(platform::readWord("QN", "switch", switches).error().sentence(),
              "The switch \"QN\" is not ON or OFF.");
    EXPECT_EQ(platform::readWord(" ", "switch", switches).error().sentence(),
              "The switch is missing.");
}

TEST(RecordFields, NamesAnUnknownCodeOrPrefix) {
    EXPECT_EQ(platform::unknownRecordCode("QS").sentence(),
              "The record code \"QS\" names no record type of its file.");
    EXPECT_EQ(platform::unknownRecordCode("\x01P").sentence(),
              "The record code \"<0x01>P\" names no record type of its file.");
    EXPECT_EQ(platform::unknownPrefix("vertical", "QE90.0000").sentence(),
              "The vertical \"QE90.0000\" has a prefix its record does not know.");
    EXPECT_TRUE(platform::isBlankLine(""));
    EXPECT_TRUE(platform::isBlankLine(" \t "));
    EXPECT_FALSE(platform::isBlankLine(" x "));
    EXPECT_FALSE(platform::isBlankLine(std::string(1, '\0')));
}

TEST(RecordFields, QuotesABoundedExcerpt) {
    EXPECT_EQ(platform::recordExcerpt("SS,OP1,FP2"), "SS,OP1,FP2");
    EXPECT_EQ(platform::recordExcerpt("a\tb\0c\rd\ne\x1b"s), "a<TAB>b<NUL>c<CR>d<LF>e<0x1B>");

    const std::string exact(platform::excerptBytes, 'x');
    EXPECT_EQ(platform::recordExcerpt(exact), exact);

    const std::string huge(8 * 1024 * 1024, '7');
    const std::string quoted = platform::recordExcerpt(huge);
    EXPECT_EQ(quoted, std::string(platform::excerptBytes, '7') + "... (8388608 bytes)");

    // Control bytes shown by name count as what is shown, and a name that
    // does not fit whole is left out.
    const std::string controls(1000, '\x12');
    EXPECT_EQ(platform::recordExcerpt(controls), [] {
        std::string shown;
        for (std::size_t i = 0; i < platform::excerptBytes / 6; ++i)
            shown += "<0x12>";
        return shown + "... (1000 bytes)";
    }());
    const std::string tabAtTheEnd = std::string(platform::excerptBytes - 1, 'x') + "\t";
    EXPECT_EQ(platform::recordExcerpt(tabAtTheEnd),
              std::string(platform::excerptBytes - 1, 'x') + "... (200 bytes)");

    const auto field = platform::readNumber(huge + "x", "elevation");
    ASSERT_FALSE(field);
    EXPECT_LT(field.error().sentence().size(), 300u);
    EXPECT_NE(field.error().sentence().find("(8388609 bytes)"), std::string::npos);
}
