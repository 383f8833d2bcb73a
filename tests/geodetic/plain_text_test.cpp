// The geodetic library's own text conversions write numbers with a decimal
// point whatever the process-wide locale, as printf does in the C locale.

#include "support/comma_locale.hpp"

#include "../../geodetic/core/plain_text.hpp"

#include <gtest/gtest.h>

namespace {

using geodetic_detail::fixedDecimals;
using geodetic_detail::paddedNumber;

void expectCLocaleConversions() {
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

} // namespace
