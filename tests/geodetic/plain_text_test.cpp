// The geodetic library's own text conversions read and write numbers with a
// decimal point whatever the process-wide locale, as C's atof and printf do
// in the C locale.

#include "support/comma_locale.hpp"

#include "../../geodetic/core/plain_text.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

namespace {

using geodetic_detail::fixedDecimals;
using geodetic_detail::leadingNumber;
using geodetic_detail::nextLine;
using geodetic_detail::paddedNumber;

void expectCLocaleConversions() {
    struct Read {
        const char* text;
        double value;
    };
    for (const Read& row : {Read{"  -12.5e1xyz", -125.0}, Read{"+3.25", 3.25},
                            Read{"\t41.5 N", 41.5}, Read{"abc", 0.0}, Read{"", 0.0}}) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(leadingNumber(row.text), row.value);
    }
    EXPECT_TRUE(std::isinf(leadingNumber("1e999")));
    EXPECT_EQ(fixedDecimals(1234.56789, 4), "1234.5679");
    EXPECT_EQ(fixedDecimals(-0.00004, 4), "-0.0000");
    EXPECT_EQ(fixedDecimals(2.0, 4), "2.0000");
}

TEST(GeodeticPlainText, NumbersFollowTheCLocale) {
    expectCLocaleConversions();
}

TEST(GeodeticPlainText, NumbersIgnoreACommaDecimalLocale) {
    testsupport::CommaLocale comma;
    TARNWELL_REQUIRE_COMMA(comma);
    expectCLocaleConversions();
}

TEST(GeodeticPlainText, PaddedNumbersAsPrintfPadsThem) {
    EXPECT_EQ(paddedNumber(101, 4, '0'), "0101"); // "%04d"
    EXPECT_EQ(paddedNumber(12345, 4, '0'), "12345");
    EXPECT_EQ(paddedNumber(6, 3, ' '), "  6"); // "%3d"
    EXPECT_EQ(paddedNumber(180, 3, ' '), "180");
}

TEST(GeodeticPlainText, LinesEndAtLfOrCrLfAndALastLineNeedsNoEnd) {
    std::istringstream in("first\r\nsecond\n\r\nlast");
    std::vector<std::string> lines;
    for (std::string line; nextLine(in, line);)
        lines.push_back(line);
    EXPECT_EQ(lines, (std::vector<std::string>{"first", "second", "", "last"}));
}

} // namespace
