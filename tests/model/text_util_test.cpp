#include "model/settings/text_fields.hpp"
#include "support/comma_locale.hpp"

#include <gtest/gtest.h>

TEST(TextUtil, SqueezeBlanksTrimsAndHalvesPairsInOnePass) {
    const struct {
        std::string in;
        std::string out;
        int replaced;
    } cases[] = {
        {"a    b", "a  b", 2}, // four blanks become two
        {"a   b", "a  b", 1},  {"a  b  c", "a b c", 2}, {" \t\r\nx y\r\n", "x y", 0},
        {"", "", 0},           {"   ", "", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("[" + c.in + "]");
        std::string text = c.in;
        EXPECT_EQ(squeezeBlanks(text), c.replaced);
        EXPECT_EQ(text, c.out);
    }
}

TEST(TextUtil, BlankStripping) {
    const struct {
        std::string in;
        std::string lineEnd;  // trimLineEnd
        std::string trailing; // stripTrailingBlanks
        std::string leading;  // stripLeadingBlanks
        std::string both;     // stripBlanks
        std::string noBlanks; // removeAllBlanks
    } cases[] = {
        {"  a b \r\n", "a b", "  a b \r\n", "a b \r\n", "a b \r\n", "ab\r\n"},
        {" \ta b  ", "\ta b", " \ta b", "\ta b  ", "\ta b", "\tab"},
        {"", "", "", "", "", ""},
        {"    ", "", "", "", "", ""},
        {"\r\n \r\n", "", "\r\n \r\n", "\r\n \r\n", "\r\n \r\n", "\r\n\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("[" + c.in + "]");
        std::string text = c.in;
        trimLineEnd(text);
        EXPECT_EQ(text, c.lineEnd);
        text = c.in;
        stripTrailingBlanks(text);
        EXPECT_EQ(text, c.trailing);
        text = c.in;
        stripLeadingBlanks(text);
        EXPECT_EQ(text, c.leading);
        text = c.in;
        stripBlanks(text);
        EXPECT_EQ(text, c.both);
        text = c.in;
        removeAllBlanks(text);
        EXPECT_EQ(text, c.noBlanks);
    }
}

TEST(TextUtil, CountFieldsCountsBlanksCommasAndTabs) {
    EXPECT_EQ(countFields("a,,b"), 3);
    EXPECT_EQ(countFields(""), 1);
    EXPECT_EQ(countFields("a b\tc,d"), 4);
}

TEST(TextUtil, GetDelimitedField) {
    std::string field = "untouched";
    EXPECT_EQ(getDelimitedField("a;;b", field, ';', 0), 0);
    EXPECT_EQ(field, "a");
    EXPECT_EQ(getDelimitedField("a;;b", field, ';', 1), 0);
    EXPECT_EQ(field, "") << "two delimiters in a row make an empty field";
    EXPECT_EQ(getDelimitedField("a;;b", field, ';', 2), 0);
    EXPECT_EQ(field, "b");
    field = "untouched";
    EXPECT_EQ(getDelimitedField("a;;b", field, ';', 3), 1);
    EXPECT_EQ(getDelimitedField("", field, ';', 0), 1);
    EXPECT_EQ(field, "untouched");
    EXPECT_EQ(getDelimitedField("a;b;", field, ';', 2), 0);
    EXPECT_EQ(field, "") << "a delimiter at the end leaves an empty last field";
    EXPECT_EQ(getDelimitedField(" x ,y", field, ',', 0), 0);
    EXPECT_EQ(field, " x ") << "fields are not trimmed";
}

TEST(TextUtil, FillField) {
    std::string field = "old";
    fillField(field, '-', 5);
    EXPECT_EQ(field, "-----");
    fillField(field, ' ', 0);
    EXPECT_EQ(field, "");
}

TEST(TextUtil, LatitudeAndLongitudeTexts) {
    const struct {
        const char* text;
        int lat;
        int lon;
    } cases[] = {
        {"90", 1, 1},    {"-90.0", 1, 1}, {"90.0001", 0, 1}, {"-180", 0, 1},
        {"180.5", 0, 0}, {"45.3N", 1, 1}, {"abc", 1, 1},     {" -91", 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(isValidLatText(c.text), c.lat);
        EXPECT_EQ(isValidLonText(c.text), c.lon);
    }
}

TEST(TextUtil, SignedPackedDegrees) {
    testsupport::CommaLocale comma;
    // -45°30' = -45.5°; 10°15'30" = 10 + 15/60 + 30/3600 = 10.258333...
    EXPECT_DOUBLE_EQ(signedDmsToDegrees(-45.3), -45.5);
    EXPECT_NEAR(signedDmsToDegrees(10.1530), 10.0 + 15.0 / 60.0 + 30.0 / 3600.0, 1e-12);
    EXPECT_NEAR(signedDmsToDegrees(-0.0030), -30.0 / 3600.0, 1e-12);
}

TEST(TextUtil, FindWindowByTitle) {
    int a = 0, b = 0, c = 0, d = 0;
    const std::vector<TopLevelWindow> windows = {
        {&a, "Tarnwell Editor - front"},
        {&b, "Report - site.RPT"},
        {&c, "Tarnwell Editor - day1.rw5"},
        {&d, "Tarnwell Editor - day2.rw5"},
    };
    const void* found = &a;
    EXPECT_EQ(findWindowByTitle(windows, "", found, false), 0);
    EXPECT_EQ(found, &a) << "an empty text leaves the out value alone";
    EXPECT_NE(findWindowByTitle(windows, "Tarnwell Editor", found, false), 0);
    EXPECT_EQ(found, &c) << "the frontmost window is not tested";
    EXPECT_NE(findWindowByTitle(windows, "Tarnwell Editor", found, true), 0);
    EXPECT_EQ(found, &d);
    EXPECT_EQ(findWindowByTitle(windows, "Tarnwell Editor", found, true), 0);
    EXPECT_EQ(found, nullptr);
    EXPECT_EQ(findWindowByTitle(windows, "tarnwell editor", found, false), 0)
        << "the search is case-sensitive";
    const std::vector<TopLevelWindow> longTitle = {{&a, ""}, {&b, std::string(999, '.') + "X"}};
    EXPECT_EQ(findWindowByTitle(longTitle, "X", found, false), 0)
        << "only the first 999 characters of a title are searched";
}
