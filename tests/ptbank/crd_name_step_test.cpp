// Point-name stepping: the file rule on disk files and the text rule of
// memory files and unknown handles, each on the examples worked by hand
// from its rule.

#include "crd_test_support.hpp"

#include "ptbank/crd_file.hpp"
#include "ptbank/crd_name_step.hpp"

using namespace ptbank;

namespace {

struct StepRow {
    const char* name;
    int step;
    const char* expected;
    int result;
};

class NameStep : public crdtest::CrdTest {};

TEST_F(NameStep, FileRuleOnAnAlphanumericFile) {
    CrdFile file;
    ASSERT_EQ(file.open(at("site.crd"), 1, crd_type::alphanumeric), 1);
    const StepRow rows[] = {
        {"17", 1, "18", 1},     {"A9", 1, "A10", 1}, {"5A", 1, "5B", 1},   {"5Z", 1, "6A", 1},
        {"1AZ", 1, "1BZ", 1},   {"A", 1, "B", 1},    {"Z", 1, "Z2", 1},    {"AB", 1, "AB2", 1},
        {"12.5", 1, "12.6", 1}, {"A", 3, "A3", 1},   {"1A2", 1, "1A3", 1}, {"P-7", 1, "P6", 1},
        {"X4", 0, "X4", 1},     {"", 5, "5", 1},     {"5Z", 2, "6B", 1},
    };
    for (const StepRow& row : rows) {
        SCOPED_TRACE(std::string(row.name) + " by " + std::to_string(row.step));
        std::string name = row.name;
        EXPECT_EQ(incrementPointName(file, name, row.step), row.result);
        EXPECT_EQ(name, row.expected);
    }
}

TEST_F(NameStep, FileRuleHoldsNumericFilesToTheirRange) {
    CrdFile file;
    ASSERT_EQ(file.open(at("job.crd"), 1, crd_type::numeric), 1);
    const StepRow rows[] = {
        {"17", 1, "18", 1},
        {"99999", 1, "99999", 0},
        {"A", 1, "1", 0},
        {"5", -9, "4", 1},
    };
    for (const StepRow& row : rows) {
        SCOPED_TRACE(row.name);
        std::string name = row.name;
        EXPECT_EQ(incrementPointName(file, name, row.step), row.result);
        EXPECT_EQ(name, row.expected);
    }
}

TEST(NameStepText, LastRunOfDigitsRightJustified) {
    const StepRow rows[] = {
        {"A9B", 1, "A10B", 0}, {"12", 1, "13", 0},  {"P-7", 1, "P-8", 0},   {"ABC", 1, "ABC1", 0},
        {"1A2", 1, "1A3", 0},  {"99", 5, "104", 0}, {"  A 9", 1, "A10", 0},
    };
    for (const StepRow& row : rows) {
        SCOPED_TRACE(row.name);
        std::string out;
        EXPECT_EQ(incrementNameText(row.name, out, row.step), row.result);
        const std::string expected = row.expected;
        EXPECT_EQ(out, std::string(255 - expected.size(), ' ') + expected);
    }
}

TEST(NameStepText, NamesThatCannotGrowBecomeX) {
    std::string out;
    incrementNameText(std::string(255, 'Q'), out, 1);
    EXPECT_EQ(out, std::string(255, 'X'));
    incrementNameText(std::string(254, 'Q') + "9", out, 1);
    EXPECT_EQ(out, std::string(255, 'X'));
    // Twenty-five nines do not fit 64 bits: the number is held at the largest.
    incrementNameText(std::string(25, '9'), out, 1);
    EXPECT_EQ(out.substr(out.find_first_not_of(' ')), "9223372036854775807");
}

} // namespace
