// The level and trigonometric level line readers: any line is a record with
// usable numbers, not a record, or malformed, never a crash.

#include "fuzz_input.hpp"
#include "input/level_file_reader.hpp"
#include "platform/c_locale_text.hpp"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    for (const std::string& line : fuzzinput::linesOf(fuzzinput::textOf(data, size))) {
        levelRec level{};
        if (parseLevelLine(line, level) == levelLineResult::record &&
            !(platform::isDataNumber(level.elevation) && platform::isDataNumber(level.backsight) &&
              platform::isDataNumber(level.foresight)))
            std::abort();
        trigLevelRec trig{};
        parseTrigLevelLine(line, trig);
    }
    return 0;
}
