#include "model/key_table.hpp"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

// Names that differ only in letter case, beyond the 10th character or by a
// character whose byte matches another's in a different place: the cases a
// packed key could get wrong.
std::string randomName(std::mt19937& random) {
    static const char letters[] = "aAbB01-.";
    const std::size_t length = 1 + random() % 12;
    std::string name;
    for (std::size_t i = 0; i < length; ++i)
        name += letters[random() % (sizeof letters - 1)];
    return name;
}

} // namespace

TEST(KeyTable, FindsWhatATableOfTextKeysFinds) {
    std::mt19937 random(11);
    keyTable<pointKey, int> table;
    std::unordered_map<std::string, int> reference; // keyed by pointNameKey
    for (int i = 0; i < 20000; ++i) {
        const std::string name = randomName(random);
        const auto [value, added] = table.emplace(pointKeyOf(name), i);
        const auto [expected, expectedAdded] = reference.emplace(pointNameKey(name), i);
        ASSERT_EQ(added, expectedAdded) << name;
        ASSERT_EQ(*value, expected->second) << name;
    }
    EXPECT_EQ(table.size(), reference.size());
    for (int i = 0; i < 20000; ++i) {
        const std::string name = randomName(random);
        const auto expected = reference.find(pointNameKey(name));
        const int* found = table.find(pointKeyOf(name));
        ASSERT_EQ(found != nullptr, expected != reference.end()) << name;
        if (found != nullptr) {
            EXPECT_EQ(*found, expected->second) << name;
        }
    }
}

// Names that differ in letter case gather under one key; a table grown
// past its first slots keeps every value.
TEST(KeyTable, GathersTheValuesOfOneNameWhateverItsCase) {
    keyTable<pointKey, std::vector<int>> table;
    const char* names[] = {"P9", "a", "P1", "A", "p9", "Z"};
    for (int i = 0; i < 6; ++i)
        table[pointKeyOf(names[i])].push_back(i);
    for (int i = 0; i < 100; ++i)
        table[pointKeyOf("F" + std::to_string(i))].push_back(i);
    EXPECT_EQ(table.size(), 104u);
    const struct {
        const char* name;
        std::vector<int> values;
    } expected[] = {{"p9", {0, 4}}, {"A", {1, 3}}, {"p1", {2}}, {"z", {5}}, {"f99", {99}}};
    for (const auto& row : expected) {
        const std::vector<int>* found = table.find(pointKeyOf(row.name));
        ASSERT_NE(found, nullptr) << row.name;
        EXPECT_EQ(*found, row.values) << row.name;
    }
}

TEST(KeyTable, ALineIsTheSameKeyInEitherDirection) {
    struct Row {
        const char* a;
        const char* b;
        const char* c;
        const char* d;
        bool same;
    };
    const Row rows[] = {
        {"A", "B", "B", "A", true},  {"A", "B", "a", "b", true},
        {"A", "B", "A", "C", false}, {"AB", "C", "A", "BC", false},
        {"A", "A", "A", "A", true},  {"ABCDEFGHIJK", "X", "x", "abcdefghij", true},
        {"", "A", "A", "", true},    {"", "A", "A", "A", false},
    };
    keyTable<lineKey, int> table;
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.a) + "-" + row.b + " / " + row.c + "-" + row.d);
        EXPECT_EQ(lineKeyOf(row.a, row.b) == lineKeyOf(row.c, row.d), row.same);
        EXPECT_EQ(lineKeyOf(row.a, row.b) == lineKeyOf(row.c, row.d),
                  lineNameKey(row.a, row.b) == lineNameKey(row.c, row.d));
        table.clear();
        table.emplace(lineKeyOf(row.a, row.b), 1);
        EXPECT_EQ(table.contains(lineKeyOf(row.c, row.d)), row.same);
    }
}

TEST(KeyGroups, KeepsEachKeysValuesInTheOrderTheyWereAdded) {
    std::mt19937 random(5);
    keyGroups<pointKey> groups;
    std::unordered_map<std::string, std::vector<int>> reference; // keyed by pointNameKey
    std::vector<std::string> names;
    for (int i = 0; i < 20000; ++i) {
        names.push_back(randomName(random));
        groups.add(pointKeyOf(names.back()), i);
        reference[pointNameKey(names.back())].push_back(i);
    }
    groups.seal();
    for (const std::string& name : names) {
        const std::span<const int> found = groups.of(pointKeyOf(name));
        ASSERT_EQ(std::vector<int>(found.begin(), found.end()), reference[pointNameKey(name)])
            << name;
    }
    EXPECT_TRUE(groups.of(pointKeyOf("not added")).empty());
    keyGroups<lineKey> none;
    none.seal();
    EXPECT_TRUE(none.of(lineKeyOf("A", "B")).empty());
}

TEST(DistinctPointKeys, CountsANameOnceWhateverItsCase) {
    const struct {
        std::vector<const char*> names;
        std::vector<const char*> distinct;
    } rows[] = {
        {{"A", "B", "C"}, {"a", "b", "c"}},
        {{"STA1", "sta1", "B"}, {"sta1", "b"}},
        {{"X", "Y", "x"}, {"x", "y"}},
        {{"P", "P", "P"}, {"p"}},
        {{"ABCDEFGHIJK", "abcdefghijZ"}, {"abcdefghij"}},
    };
    for (const auto& row : rows) {
        distinctPointKeys keys;
        for (const char* name : row.names)
            keys.add(name);
        std::vector<pointKey> expected;
        for (const char* name : row.distinct)
            expected.push_back(pointKeyOf(name));
        EXPECT_EQ(std::vector<pointKey>(keys.begin(), keys.end()), expected) << row.names[0];
    }
}
