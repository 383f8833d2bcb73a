#include "platform/c_locale_text.hpp"
#include "support/comma_locale.hpp"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <random>
#include <string>
#include <vector>

using namespace platform;

TEST(CLocaleText, FormatsWithPointUnderCommaLocale) {
    testsupport::CommaLocale comma;
    TARNWELL_REQUIRE_COMMA(comma);
    EXPECT_EQ(formatC("%.3f|%10.4f|%e", 1234.5, -0.25, 1.5e-7), "1234.500|   -0.2500|1.500000e-07");
}

TEST(CLocaleText, ParsesWithPointUnderCommaLocale) {
    testsupport::CommaLocale comma;
    TARNWELL_REQUIRE_COMMA(comma);
    EXPECT_DOUBLE_EQ(atofC("12.3045"), 12.3045);
    EXPECT_EQ(parseDouble(" 2.5 "), 2.5);
}

TEST(CLocaleText, AtofBehavesLikeTheCLibrary) {
    struct Row {
        const char* text;
        double expected;
    };
    const Row rows[] = {
        {"  3.25abc", 3.25}, {"-0.5", -0.5}, {"abc", 0.0}, {"", 0.0}, {"1e3", 1000.0}, {"+7", 7.0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(atofC(row.text), row.expected);
    }
    EXPECT_EQ(atolC(" 42x"), 42);
    EXPECT_EQ(atoiC("-17"), -17);
    EXPECT_EQ(atoiC("99999999999999"), 2147483647);
}

TEST(CLocaleText, StrictParseRefusesTrailingText) {
    EXPECT_FALSE(parseDouble("1.5x").has_value());
    EXPECT_FALSE(parseDouble("").has_value());
    EXPECT_FALSE(parseDouble("   ").has_value());
    EXPECT_FALSE(parseLong("12.5").has_value());
    EXPECT_EQ(parseLong(" -12 "), -12L);
}

// The strict parse and atofC read a plain decimal without the C library;
// the value must be the one strtod gives (the nearest double), whatever the digits.
TEST(CLocaleText, StrictParseReadsPlainDecimalsAsStrtodDoes) {
    std::vector<std::string> texts = {
        "9007199254740993", // halfway between two doubles: to even
        "9007199254740995", // and the other way
        "0.1",
        "-0.0",
        "+12.5",
        "-.5",
        "5.",
        "000123.4500",
        "1.5e3", // not plain: goes to strtod
        "123456789012345678901234567890.123456789",
        "0.000000000000000000000000000000000000001",
    };
    std::mt19937 random(5);
    for (int i = 0; i < 20000; ++i) {
        std::string text = random() % 4 == 0 ? "-" : (random() % 8 == 0 ? "+" : "");
        const int digits = 1 + static_cast<int>(random() % 24);
        const int point = static_cast<int>(random() % (digits + 2)) - 1; // -1: no point
        for (int d = 0; d < digits; ++d) {
            if (d == point)
                text += '.';
            text += static_cast<char>('0' + random() % 10);
        }
        texts.push_back(text);
    }
    for (const std::string& text : texts) {
        SCOPED_TRACE(text);
        char* end = nullptr;
        const double expected = std::strtod(text.c_str(), &end);
        ASSERT_EQ(*end, '\0');
        const std::optional<double> parsed = parseDouble(text);
        ASSERT_TRUE(parsed.has_value());
        EXPECT_EQ(std::signbit(*parsed), std::signbit(expected));
        EXPECT_EQ(*parsed, expected);
        EXPECT_EQ(atofC(text), expected);
    }
    // A plain decimal too large for a double is no number.
    EXPECT_FALSE(parseDouble(std::string(400, '9')).has_value());
    for (const char* text : {"+-5", "-+5", "1..2", ".", "-", "+", "1.2.3", "- 5"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(parseDouble(text).has_value());
    }
}

// formatFixed writes what printf writes: exact binary ties (0.125, 2.5)
// rounded half to even, negative zero, every flag, width and precision of
// the listings, and what it leaves to printf (infinities, NaN, a negative
// precision, a width to the left).
TEST(CLocaleText, FormatFixedWritesWhatPrintfWrites) {
    const auto byPrintf = [](double value, int width, int precision, char flag) {
        if (flag == ' ')
            return formatC("% *.*f", width, precision, value);
        if (flag == '0')
            return formatC("%0*.*f", width, precision, value);
        return formatC("%*.*f", width, precision, value);
    };
    std::vector<double> values = {0.0,           -0.0,     0.5,       1.5,    2.5,
                                  -2.5,          0.125,    0.375,     2.675,  1.005,
                                  1e15 + 0.5,    1e22,     1e300,     -1e300, 5e-324,
                                  12345678.9005, INFINITY, -INFINITY, NAN,    359.99999999};
    std::mt19937_64 random(42);
    std::uniform_int_distribution<int> exponent(-8, 12);
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    for (int i = 0; i < 1000; ++i) {
        const double v = mantissa(random) * std::pow(10.0, exponent(random));
        values.push_back(v);
        values.push_back(std::round(v * 1000.0) / 1000.0 + 0.0005);
        values.push_back(std::round(v * 8.0) / 8.0);
    }
    for (const double value : values)
        for (const char flag : {'\0', ' ', '0'})
            for (const int width : {0, 2, 4, 7, 9, 12, -9})
                for (const int precision : {0, 1, 3, 4, 9, 45, -1}) {
                    const std::string expected = byPrintf(value, width, precision, flag);
                    ASSERT_EQ(formatFixed(value, width, precision, flag), expected)
                        << value << " width " << width << " precision " << precision << " flag '"
                        << flag << "'";
                }
}

// Halfway cases are the ones a scaled product can get wrong: k / 2^(p+1)
// with k odd lies exactly halfway between two p-decimal texts, and values
// just either side of halfway, or of the largest whole product the exact
// path takes (2^52), must round as the binary value's decimal expansion does.
TEST(CLocaleText, FormatFixedRoundsHalfwayAsPrintfAtEveryPrecision) {
    std::mt19937_64 random(7);
    std::uniform_int_distribution<std::int64_t> odd(0, (std::int64_t{1} << 40));
    for (int precision = 0; precision <= 24; ++precision) {
        std::vector<double> values;
        for (int i = 0; i < 300; ++i) {
            const double halfway = std::ldexp(static_cast<double>(2 * odd(random) + 1),
                                              -(precision + 1) - static_cast<int>(i % 12));
            values.push_back(halfway);
            values.push_back(-halfway);
            values.push_back(std::nextafter(halfway, 0.0));
            values.push_back(std::nextafter(halfway, 1e308));
        }
        const double limit = 4503599627370496.0 / std::pow(10.0, precision);
        for (const double near :
             {limit, std::nextafter(limit, 0.0), std::nextafter(limit, 1e308), limit / 2, -limit})
            values.push_back(near);
        for (const double value : values) {
            const std::string expected = formatC("%.*f", precision, value);
            ASSERT_EQ(formatFixed(value, 0, precision, '\0'), expected)
                << std::hexfloat << value << " precision " << precision;
        }
    }
}

namespace {

template <class... Args> void expectAsCLibrary(const std::string& fmt, Args... args) {
    char expected[1024];
    std::snprintf(expected, sizeof expected, fmt.c_str(), args...);
    ASSERT_EQ(formatC(fmt.c_str(), args...), expected) << "format \"" << fmt << "\"";
}

// Each flag set, width and precision, given in the format or as arguments,
// of one conversion, for each value.
template <class T>
void expectEverySpecAsCLibrary(const char* conversion, const std::vector<T>& values) {
    const char* flagSets[] = {"", "-", "+", " ", "0", "-0", "+0", " 0", "+ ", "#", "-+0 "};
    const char* widths[] = {"", "1", "8", "12", "*"};
    const char* precisions[] = {"", ".", ".0", ".2", ".7", ".30", ".*"};
    const int starWidths[] = {-9, 0, 9};
    const int starPrecisions[] = {-1, 0, 3};
    for (const char* flags : flagSets)
        for (const std::string width : widths)
            for (const std::string precision : precisions) {
                const std::string fmt =
                    std::string("<%") + flags + width + precision + conversion + ">";
                for (const T& value : values) {
                    if (width == "*" && precision == ".*") {
                        for (const int w : starWidths)
                            for (const int p : starPrecisions)
                                expectAsCLibrary(fmt, w, p, value);
                    } else if (width == "*") {
                        for (const int w : starWidths)
                            expectAsCLibrary(fmt, w, value);
                    } else if (precision == ".*") {
                        for (const int p : starPrecisions)
                            expectAsCLibrary(fmt, p, value);
                    } else {
                        expectAsCLibrary(fmt, value);
                    }
                }
            }
}

} // namespace

// formatC writes the common conversions itself: every flag, width and
// precision must come out as the C library writes them.
TEST(CLocaleText, FormatCWritesWhatTheCLibraryWrites) {
    const std::vector<int> ints = {0, 1, -1, 7, -42, 123456, INT_MIN, INT_MAX};
    expectEverySpecAsCLibrary("d", ints);
    expectEverySpecAsCLibrary("i", ints);
    expectEverySpecAsCLibrary("hd", std::vector<int>{0, -1, 40000, -40000});
    expectEverySpecAsCLibrary("hhd", std::vector<int>{0, 200, -129});
    expectEverySpecAsCLibrary("u", std::vector<unsigned>{0, 1, 4000000000U});
    expectEverySpecAsCLibrary("ld", std::vector<long>{0, -5, LONG_MIN, LONG_MAX});
    expectEverySpecAsCLibrary("lld", std::vector<long long>{LLONG_MIN, 99});
    expectEverySpecAsCLibrary("zu", std::vector<std::size_t>{0, 17, SIZE_MAX});
    expectEverySpecAsCLibrary("x", std::vector<unsigned>{0, 255});
    const std::vector<double> doubles = {0.0,      -0.0,      0.5,       -0.004,
                                         2.5,      0.125,     1234.5678, -1e-7,
                                         1e20,     -1e300,    5e-324,    123456789.987654321,
                                         INFINITY, -INFINITY, NAN};
    expectEverySpecAsCLibrary("f", doubles);
    expectEverySpecAsCLibrary("lf", doubles);
    expectEverySpecAsCLibrary("F", doubles);
    expectEverySpecAsCLibrary("e", std::vector<double>{0.0, -1234.5});
    expectEverySpecAsCLibrary("g", std::vector<double>{0.0, -1234.5, 1e-9});
    expectEverySpecAsCLibrary("s",
                              std::vector<const char*>{"", "a", "hello world", "\xc3\xbc\xc3\xaf"});
    expectEverySpecAsCLibrary("c", std::vector<int>{'A', ' ', '%'});
}

TEST(CLocaleText, FormatCKeepsTextAndMixesConversions) {
    expectAsCLibrary("plain text, no conversion");
    expectAsCLibrary("100%% of %d%%", 7);
    expectAsCLibrary("%s=%-6.2f|%5d|%c|%e|%s", "x", -3.14159, 42, 'q', 6.02e23, "end");
    expectAsCLibrary("%Lf and %d", 1.5L, 3);
    expectAsCLibrary("%2$d %1$d", 1, 2);
    expectAsCLibrary("%s|%.3s", static_cast<const char*>(nullptr), "abcdef");
    expectAsCLibrary("%0*ld", 8, 123L);
}

TEST(CLocaleText, FormatsLongText) {
    const std::string long_text(5000, 'x');
    EXPECT_EQ(formatC("%s=%d", long_text.c_str(), 3), long_text + "=3");
}

// Infinity and NaN are never numbers of a file; overflowing text is none either.
TEST(CLocaleText, NonFiniteTextIsNoNumber) {
    for (const char* text : {"inf", "INF", "-Infinity", "nan", "NAN(123)", "1e400", "-1e999"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(atofC(text), 0.0);
        EXPECT_FALSE(parseDouble(text).has_value());
        EXPECT_TRUE(startsWithNonDataNumber(text));
    }
}

TEST(CLocaleText, DataNumbersAreFiniteAndOfSurveySize) {
    EXPECT_TRUE(isDataNumber(0.0));
    EXPECT_TRUE(isDataNumber(-999999999.0));
    EXPECT_TRUE(isDataNumber(largestDataNumber));
    EXPECT_FALSE(isDataNumber(1e308));
    EXPECT_FALSE(isDataNumber(std::nan("")));
    EXPECT_TRUE(startsWithNonDataNumber(" 1e308xyz"));
    EXPECT_FALSE(startsWithNonDataNumber("5.000"));
    EXPECT_FALSE(startsWithNonDataNumber("abc"));
    EXPECT_FALSE(startsWithNonDataNumber(""));
}

// A data file's number field is the whole field or nothing: a damaged field
// never reads as its leading digits.
TEST(CLocaleText, DataNumberFieldIsWholeOrNone) {
    struct Row {
        const char* text;
        std::optional<double> expected;
    };
    const Row rows[] = {
        {"30.816", 30.816}, {" -0.5\t", -0.5}, {"+7", 7.0},       {"1.5e3", 1500.0}, {".25", 0.25},
        {"12.", 12.0},      {"30#.816", {}},   {"9Q.25023", {}},  {"N880.600", {}},  {"1.5x", {}},
        {"1,5", {}},        {"inf", {}},       {"-Infinity", {}}, {"nan", {}},       {"NAN(1)", {}},
        {"0x10", {}},       {"1e400", {}},     {"2e12", {}},      {"", {}},          {"   ", {}},
        {"-", {}},          {"1 2", {}},       {"1e", {}},        {"--1", {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(parseDataNumber(row.text), row.expected);
    }
}
