#include "model/settings/global_vars.hpp"
#include "model/settings/host_handover.hpp"
#include "platform/shared_memory.hpp"
#include "support/host_block.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <unistd.h>

namespace {

using testsupport::HostBlock;
using NameBuffer = std::array<char, hostNameBufferSize>;

std::string blockOf(const std::string& raw, const std::string& crd) {
    return raw + '\0' + crd + '\0';
}

struct Names {
    std::string raw;
    std::string crd;
};

Names namesIn(const std::string& block) {
    NameBuffer raw;
    NameBuffer crd;
    raw.fill('#');
    crd.fill('#');
    readHostFileNames(block, raw, crd);
    return {raw.data(), crd.data()};
}

// A block's contents and the two names expected from it.
struct BlockCase {
    const char* name;
    std::string block;
    std::string raw;
    std::string crd;
};

std::string testBlockName(const char* what) {
    return std::string("tarnwell-handover-") + what + "-" + std::to_string(::getpid());
}

} // namespace

TEST(HostFileNames, CopiesTheTwoStringsBounded) {
    const std::string longest(259, 'r');
    const std::string tooLong(260, 'x');
    const BlockCase cases[] = {
        {"two names", blockOf("C:\\Jobs\\site.rw5", "/data/Site.crd"), "C:\\Jobs\\site.rw5",
         "/data/Site.crd"},
        {"259 characters fit", blockOf(longest, "a.crd"), longest, "a.crd"},
        {"a longer raw name is refused, the next is still found", blockOf(tooLong, "a.crd"), "",
         "a.crd"},
        {"a longer coordinate name is refused", blockOf("a.rw5", tooLong), "a.rw5", ""},
        {"unterminated last string ends with the block", std::string("a.rw5\0b.crd", 11), "a.rw5",
         "b.crd"},
        {"one string only", std::string("a.rw5\0", 6), "a.rw5", ""},
        {"empty block", "", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Names names = namesIn(c.block);
        EXPECT_EQ(names.raw, c.raw);
        EXPECT_EQ(names.crd, c.crd);
    }
}

TEST(HostFileNames, TakeSharedStringCountsBytesOrTakesAString) {
    const std::string block = std::string("ABCDEFGH\0rest", 13);
    SharedCursor cursor{block};
    std::array<char, 8> small{};
    takeSharedString(cursor, small, 3);
    EXPECT_STREQ(small.data(), "ABC");
    EXPECT_EQ(cursor.offset, 3u);
    takeSharedString(cursor, small, 0);
    EXPECT_STREQ(small.data(), "DEFGH");
    EXPECT_EQ(cursor.offset, 9u) << "past the string and its NUL";
    takeSharedString(cursor, small, 20);
    EXPECT_STREQ(small.data(), "") << "more bytes than the block holds are refused";
    EXPECT_EQ(cursor.offset, 13u) << "the cursor stops at the end of the block";
    SharedCursor again{block};
    takeSharedString(again, small, 8);
    EXPECT_STREQ(small.data(), "") << "8 bytes and a NUL do not fit 8";
}

TEST(HostHandOver, NamesReplaceTheSettingsUnlessTheyMeanNone) {
    const BlockCase cases[] = {
        {"both names", blockOf("day1.rw5", "site.crd"), "day1.rw5", "site.crd"},
        {"NORAW", blockOf("NORAW", "site.crd"), "held.rw5\n", "site.crd"},
        {"NOCRD", blockOf("day1.rw5", "NOCRD"), "day1.rw5", "held.crd"},
        {"empty names", blockOf("", ""), "held.rw5\n", "held.crd"},
        {"the comparison is exact", blockOf("noraw", "NOCRD "), "noraw", "NOCRD "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string name = testBlockName("cases");
        HostBlock host(name, c.block);
        ASSERT_TRUE(host.created());
        globalVars settings;
        settings.pInputFileName = "held.rw5\n";
        settings.crdFileName = "held.crd";
        EXPECT_EQ(readHostHandOver(settings, name), 0);
        EXPECT_EQ(settings.pInputFileName, c.raw);
        EXPECT_EQ(settings.crdFileName, c.crd);
    }
}

TEST(HostHandOver, WithoutABlockNothingChanges) {
    globalVars settings;
    settings.crdFileName = "held.crd";
    EXPECT_EQ(readHostHandOver(settings, testBlockName("absent")), 1);
    EXPECT_EQ(settings.crdFileName, "held.crd");
    EXPECT_EQ(settings.pInputFileName, "");
}

// The one test that uses the block name a host creates.
TEST(HostHandOver, ReadsTheLsSettingsBlockAHostCreated) {
    HostBlock host("LS_Settings",
                   blockOf("/jobs/North Field/day1.rw5", "/jobs/North Field/NF.crd"));
    ASSERT_TRUE(host.created());
    globalVars settings;
    EXPECT_EQ(readHostHandOver(settings), 0);
    EXPECT_EQ(settings.pInputFileName, "/jobs/North Field/day1.rw5");
    EXPECT_EQ(settings.crdFileName, "/jobs/North Field/NF.crd");
}
