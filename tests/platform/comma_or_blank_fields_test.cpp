#include "platform/comma_or_blank_fields.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Fields = std::vector<std::string_view>;

TEST(CommaOrBlankFields, CommasAloneSplitARecordThatHoldsOne) {
    const struct {
        std::string record;
        Fields fields;
    } rows[] = {
        {"P 1.5\t2.5  3", {"P", "1.5", "2.5", "3"}},
        {"  P 1.5  ", {"P", "1.5"}},
        {"P,1.5,2.5", {"P", "1.5", "2.5"}},
        {"P , 1.5,\t2.5 ", {"P", "1.5", "2.5"}},
        // Runs of separators count as one.
        {"P,,1.5, ,2.5", {"P", "1.5", "2.5"}},
        // A blank inside a field of a comma-separated record stays in it.
        {"P,1245 800,3", {"P", "1245 800", "3"}},
        {"P 1245,800 3", {"P 1245", "800 3"}},
        {"", {}},
        {",", {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.record);
        EXPECT_EQ(platform::splitOnCommasOrBlanks(row.record), row.fields);
    }
}

} // namespace
