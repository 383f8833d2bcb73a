// The memory coordinate file: its order, its add/replace rules, walks in
// both directions, block growth, and a long random run against std::map.

#include "ptbank/crd_memory_file.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

using namespace ptbank;

namespace {

crdPointRec pointNamed(const std::string& name, double northing = 0.0) {
    crdPointRec p{};
    std::strncpy(p.name, name.c_str(), sizeof p.name - 1);
    std::strcpy(p.code, "CP");
    p.northing = northing;
    p.easting = 2.0 * northing;
    p.elevation = -99999999.0;
    std::strcpy(p.description, "IRON PIN");
    return p;
}

std::vector<std::string> walkForwards(MemoryCrdFile& file) {
    std::vector<std::string> names;
    crdPointRec p{};
    file.findTop(p.name);
    while (file.next(p.name, p) == 1)
        names.push_back(p.name);
    return names;
}

std::vector<std::string> walkBackwards(MemoryCrdFile& file, const std::string& from) {
    std::vector<std::string> names;
    crdPointRec p = pointNamed(from);
    while (file.previous(p.name, p) == 1)
        names.push_back(p.name);
    return names;
}

class MemoryFile : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(file.init(), 1); }
    void add(std::initializer_list<const char*> names) {
        for (const char* name : names)
            ASSERT_EQ(file.write(MemoryCrdFile::add, pointNamed(name)), 0) << name;
    }
    MemoryCrdFile file;
};

TEST_F(MemoryFile, OrdersByNameLengthThenWithoutCase) {
    add({"10", "9", "100"});
    EXPECT_EQ(walkForwards(file), (std::vector<std::string>{"9", "10", "100"}));
    MemoryCrdFile letters;
    ASSERT_EQ(letters.init(), 1);
    for (const char* name : {"B", "a", "C"})
        ASSERT_EQ(letters.write(MemoryCrdFile::add, pointNamed(name)), 0);
    EXPECT_EQ(walkForwards(letters), (std::vector<std::string>{"a", "B", "C"}));
}

TEST_F(MemoryFile, OneNameInAnyCaseIsOnePoint) {
    add({"a1"});
    EXPECT_EQ(file.write(MemoryCrdFile::add, pointNamed("A1")), -1);
    EXPECT_EQ(file.write(MemoryCrdFile::replace, pointNamed("A1", 5.0)), 0);
    crdPointRec out{};
    ASSERT_EQ(file.read("a1", out), 0);
    EXPECT_STREQ(out.name, "A1"); // the new spelling is stored
    EXPECT_EQ(out.northing, 5.0);
    EXPECT_EQ(file.write(MemoryCrdFile::replace, pointNamed("B7")), -1);
    EXPECT_EQ(file.count(), 1);
}

TEST_F(MemoryFile, KeysOnTheFirstWordAfterLeadingBlanks) {
    // Names read from disk files arrive right-justified; taking the word
    // before the first blank would make every one of them an empty name.
    add({"12 and more words", "      7"});
    EXPECT_EQ(walkForwards(file), (std::vector<std::string>{"7", "12"}));
    crdPointRec out{};
    EXPECT_EQ(file.read("  12", out), 0);
    EXPECT_STREQ(out.name, "12");
    EXPECT_STREQ(out.code, "CP");
    EXPECT_STREQ(out.description, "IRON PIN");
    EXPECT_EQ(file.write(MemoryCrdFile::add, pointNamed("   ")), -1);
}

TEST_F(MemoryFile, NextAndPreviousOfNamesThatAreNotStored) {
    add({"2", "4", "6"});
    crdPointRec out{};
    ASSERT_EQ(file.next("5", out), 1);
    EXPECT_STREQ(out.name, "6"); // also when it is the last point
    EXPECT_EQ(file.next("6", out), 0);
    ASSERT_EQ(file.previous("9", out), 1);
    EXPECT_STREQ(out.name, "6");
    EXPECT_EQ(file.previous("2", out), 0);
    EXPECT_EQ(file.previous("", out), 0);
    ASSERT_EQ(file.next("", out), 1);
    EXPECT_STREQ(out.name, "2");
    EXPECT_EQ(walkBackwards(file, "99"), (std::vector<std::string>{"6", "4", "2"}));
}

TEST_F(MemoryFile, DeletingTheFoundPointKeepsTheOrder) {
    add({"1", "3", "5"});
    crdPointRec out{};
    ASSERT_EQ(file.read("3", out), 0);
    EXPECT_EQ(file.remove("3"), 0);
    EXPECT_EQ(file.remove("3"), -1);
    add({"4", "2"});
    EXPECT_EQ(walkForwards(file), (std::vector<std::string>{"1", "2", "4", "5"}));
}

TEST_F(MemoryFile, GrowsBeyondItsFirstBlock) {
    // The first block holds the head and 999 points; the next ones come 100 at a time.
    for (int i = 1; i <= 2500; ++i)
        ASSERT_EQ(file.write(MemoryCrdFile::add, pointNamed(std::to_string(i), i)), 0) << i;
    EXPECT_EQ(file.count(), 2500);
    crdPointRec out{};
    ASSERT_EQ(file.read("1000", out), 0);
    EXPECT_EQ(out.northing, 1000.0);
}

TEST_F(MemoryFile, ReleasedFileHoldsNothing) {
    add({"1"});
    EXPECT_EQ(file.release(), 0);
    EXPECT_FALSE(file.hasList());
    crdPointRec out{};
    EXPECT_EQ(file.read("1", out), 1);
    EXPECT_EQ(file.next("", out), 0);
    EXPECT_EQ(file.write(MemoryCrdFile::add, pointNamed("1")), -1);
    EXPECT_EQ(file.findTop(out.name), -1);
}

// The list's order as a std::map key: length, then lower-cased text.
struct ModelKey {
    std::string text;
    bool operator<(const ModelKey& other) const {
        if (text.size() != other.text.size())
            return text.size() < other.text.size();
        return lower(text) < lower(other.text);
    }
    static std::string lower(std::string s) {
        for (char& c : s)
            c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
        return s;
    }
};

TEST_F(MemoryFile, RandomRunAgreesWithAnOrderedMap) {
    std::mt19937 random(20240307);
    const std::string alphabet = "0123456789abAB";
    std::map<ModelKey, double> model;
    for (int step = 0; step < 20000; ++step) {
        std::string name;
        const int length = 1 + static_cast<int>(random() % 3);
        for (int i = 0; i < length; ++i)
            name += alphabet[random() % alphabet.size()];
        const double value = step;
        SCOPED_TRACE(name);
        crdPointRec out{};
        switch (random() % 5) {
        case 0: {
            const bool stored = model.contains({name});
            EXPECT_EQ(file.write(MemoryCrdFile::add, pointNamed(name, value)), stored ? -1 : 0);
            if (!stored)
                model[{name}] = value;
            break;
        }
        case 1: {
            const bool stored = model.contains({name});
            EXPECT_EQ(file.write(MemoryCrdFile::replace, pointNamed(name, value)), stored ? 0 : -1);
            if (stored) {
                model.erase({name});
                model[{name}] = value;
            }
            break;
        }
        case 2:
            EXPECT_EQ(file.remove(name), model.erase({name}) == 1 ? 0 : -1);
            break;
        case 3: {
            const auto it = model.upper_bound({name});
            ASSERT_EQ(file.next(name, out), it == model.end() ? 0 : 1);
            if (it != model.end()) {
                EXPECT_EQ(out.northing, it->second);
            }
            break;
        }
        default: {
            const auto it = model.lower_bound({name});
            ASSERT_EQ(file.previous(name, out), it == model.begin() ? 0 : 1);
            if (it != model.begin()) {
                EXPECT_EQ(out.northing, std::prev(it)->second);
            }
            break;
        }
        }
    }
    EXPECT_EQ(file.count(), static_cast<int>(model.size()));
}

} // namespace
