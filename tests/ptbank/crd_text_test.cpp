#include "ptbank/crd_text.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

using namespace ptbank;

TEST(PointNameOrder, ComparesRunsOfDigitsByValueAndLettersWithoutCase) {
    struct Case {
        const char* a;
        const char* b;
        int expected;
    };
    const Case cases[] = {
        {"", "", 0},
        {"2", "10", -1},
        {"10", "2", 1},
        {"A2", "A10", -1},
        {"a1", "A1", 0},
        {"10", "10A", -1},
        {"1.5", "1.25", 1}, // compared as decimals
        {"007", "7", -1},   // equal values: the whole texts decide
        {"B", "a", 1},
        {"A", "AB", -1},  // a prefix comes first
        {"X9", "X09", 1}, // values 9 and 9, then "X9" > "X09" as text
        {"_", "a", -1},   // folded to lower case: '_' (95) < 'a' (97)
        {"P100", "P99", 1},
        {"", "1", -1},
        // Runs past the range of long read as its largest value, as strtol
        // reads them: equal there, the next places decide (9 > 8).
        {"A99999999999999999999", "A99999999999999999998", 1},
        {"99999999999999999999", "9223372036854775807", 1}, // equal at the first place, then
        // from the second: 19 nines (again the largest) against 223372036854775807
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.a) + " vs " + c.b);
        EXPECT_EQ(comparePointNames(c.a, c.b), c.expected);
        EXPECT_EQ(comparePointNames(c.b, c.a), -c.expected) << "antisymmetric";
    }
}

// Keys stand in for comparePointNames only where they agree with it on every
// pair: random names over alphabets that mix the characters on both sides of
// the digits, runs of digits of every length and letters of both cases.
TEST(PointNameOrder, KeysCompareAsTheNamesWhereverBothAreUsable) {
    std::mt19937 rng(20261210);
    const std::string alphabets[] = {"0123456789AaBbZz_-/ !~:@[`{", "P0123456789", "019aZ"};
    int compared = 0;
    for (const std::string& alphabet : alphabets) {
        for (int k = 0; k < 100000; ++k) {
            std::string a, b;
            const std::size_t la = rng() % 18, lb = rng() % 18;
            for (std::size_t i = 0; i < la; ++i)
                a += alphabet[rng() % alphabet.size()];
            for (std::size_t i = 0; i < lb; ++i)
                b += alphabet[rng() % alphabet.size()];
            if (rng() % 3 == 0) // near misses: the same name with one character changed
                b = a.empty() ? a : a.substr(0, a.size() - 1) + alphabet[rng() % alphabet.size()];
            const PointNameKey ka = pointNameKey(a), kb = pointNameKey(b);
            if (!ka.usable || !kb.usable)
                continue;
            ++compared;
            ASSERT_EQ(comparePointNameKeys(ka, kb), comparePointNames(a, b)) << a << " vs " << b;
        }
    }
    EXPECT_GT(compared, 100000);
}

TEST(PointNameOrder, KeysAreMadeOnlyForPlainNames) {
    struct Case {
        std::string name;
        bool usable;
    };
    const Case cases[] = {
        {"", true},
        {"P12", true},
        {"a1b22c333", true},
        {"1234567890123456", true}, // 16 digits
        {"P012", false},            // a leading zero: equal values, other texts
        {"0", false},
        {"1.5", false},                // decimals compare by value
        {"ABCDEFGHIJKLMNOPQ", false},  // 17 characters
        {std::string("A\tB"), false},  // a control character
        {std::string("A\xe9"), false}, // beyond ASCII
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(pointNameKey(c.name).usable, c.usable);
    }
}

// The order is not transitive: this is why the library never hands it to a
// library sort that relies on a strict weak ordering.
TEST(PointNameOrder, MixingLeadingZerosAndDecimalsFormsACycle) {
    EXPECT_EQ(comparePointNames("01", "1"), -1);
    EXPECT_EQ(comparePointNames("1", "1.0"), -1);
    EXPECT_EQ(comparePointNames("1.0", "01"), -1);
}

TEST(CrdStringTest, CapacityFollowsTheGrowthRule) {
    struct Case {
        std::size_t length;
        int capacity;
    };
    // n + 6 while n + 1 < 10, else 4 (n + 1) / 3.
    for (const Case c : {Case{0, 6}, Case{8, 14}, Case{9, 13}, Case{10, 14}, Case{20, 28}}) {
        SCOPED_TRACE(c.length);
        EXPECT_EQ(CrdString(std::string(c.length, 'x')).capacity(), c.capacity);
    }
}

TEST(CrdStringTest, AssignmentKeepsABufferThatFitsAndSurvivesSelfOverlap) {
    CrdString s("ABCDEFGHIJKLMNOPQRST"); // capacity 28
    s = "short";
    EXPECT_EQ(s.view(), "short");
    EXPECT_EQ(s.capacity(), 28) << "a buffer that holds the text is kept";
    s = std::string(40, 'y');
    EXPECT_EQ(s.capacity(), 54);
    s = s.view().substr(35); // the source lies inside the own buffer
    EXPECT_EQ(s.view(), "yyyyy");
    s = s;
    EXPECT_EQ(s.view(), "yyyyy");
    EXPECT_EQ(s.at(-1), 'y');
    EXPECT_EQ(s.at(1000), 'y');
    EXPECT_EQ((CrdString("ab") + "cd").view(), "abcd");
    EXPECT_EQ(CrdString("x").equals("x"), 1);
    EXPECT_EQ(CrdString("x").differs("X"), 1);
    CrdString t("  a b \r\n");
    t.trim();
    t.upperCase();
    EXPECT_EQ(t.view(), "A B");
}

TEST(TextTools, TrimModes) {
    char a[] = "\t  x y \t\r\n";
    int lead = -1;
    int len = -1;
    trimText(a, 1, &lead, &len);
    EXPECT_STREQ(a, "x y");
    EXPECT_EQ(lead, 3);
    EXPECT_EQ(len, 3);
    char b[] = "  x\t \r\n";
    trimText(b, 0);
    EXPECT_STREQ(b, "x\t") << "mode 0 keeps tabs";
    char empty[] = "";
    lead = 7;
    trimText(empty, 1, &lead, nullptr);
    EXPECT_EQ(lead, 7) << "an empty text leaves the outputs alone";

    char c[] = "A B  ";
    EXPECT_EQ(trimRightText(c, 1), 3);
    EXPECT_STREQ(c, "A_B");
    char d[] = "  A B\r\n";
    EXPECT_EQ(trimRightText(d, 0), 5);
    EXPECT_STREQ(d, "  A B");
    EXPECT_EQ(trimLeftText(d), 3);
    EXPECT_STREQ(d, "A B");
    char e[] = "abc\xe9z";
    upperCaseText(e);
    EXPECT_STREQ(e, "ABC\xe9Z") << "bytes above 127 are left alone";
}

TEST(TextTools, AlignmentInFixedWidths) {
    char out[16];
    EXPECT_EQ(rightAlignText(5, " AB ", out), 0);
    EXPECT_STREQ(out, "   AB");
    EXPECT_EQ(rightAlignText(5, "ABCDEFG", out), -1);
    EXPECT_STREQ(out, "ABCDE");
    EXPECT_EQ(leftAlignText(5, "AB", out), 0);
    EXPECT_STREQ(out, "AB   ");
    EXPECT_EQ(leftAlignText(3, "  ABCD", out), -1);
    EXPECT_STREQ(out, "ABC");
    fillTextTerminated(out, 3, '*');
    EXPECT_STREQ(out, "***");
    copyBytesTerminated(out, "XYZW", 2);
    EXPECT_STREQ(out, "XY");
}

TEST(TextTools, NumericIdCheck) {
    struct Case {
        const char* text;
        int maxLength;
        long minimum;
        long maximum;
        int expected;
    };
    const Case cases[] = {
        {" 12 ", 5, 1, -1, 0}, {"12a", 5, 1, -1, -1}, {"123456", 5, 1, -1, -2},
        {"0", 5, 1, -1, -3},   {"99", 5, 1, 99, 0},   {"100", 5, 1, 99, -3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(checkNumericId(c.text, c.maxLength, c.minimum, c.maximum), c.expected);
    }
}

TEST(TextTools, PathsAndTemporaryNames) {
    std::string folder;
    std::string name;
    std::string extension;
    splitPath("/jobs/site.v2/point.file.crd", &folder, &name, &extension);
    EXPECT_EQ(folder, "/jobs/site.v2/");
    EXPECT_EQ(name, "point.file");
    EXPECT_EQ(extension, ".crd");
    splitPath("/jobs/site.v2/README", &folder, &name, &extension);
    EXPECT_EQ(name, "README");
    EXPECT_EQ(extension, "") << "a dot in a folder name is no extension";

    const std::string dir = testing::TempDir();
    const std::string temp = makeUniqueTempName(dir, ".crd");
    ASSERT_TRUE(temp.starts_with(dir + "TMP"));
    EXPECT_TRUE(temp.ends_with(".crd"));
    EXPECT_LE(temp.size(), dir.size() + 3 + 5 + 4);
    EXPECT_EQ(fileIsMissing(temp), 1);
    std::ofstream(temp) << "x";
    EXPECT_EQ(fileIsMissing(temp), 0);
    std::filesystem::remove(temp);
}
