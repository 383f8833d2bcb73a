// The level and trigonometric level line readers: any line is a record with
// usable numbers, not a record, or malformed with the reason, never a crash.

#include "fuzz_input.hpp"
#include "input/level_file_reader.hpp"
#include "platform/c_locale_text.hpp"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    for (const std::string& line : fuzzinput::linesOf(fuzzinput::textOf(data, size))) {
        levelRec level{};
        std::string fault;
        const levelLineResult result = parseLevelLine(line, level, fault);
        if (result == levelLineResult::record &&
            !(platform::isDataNumber(level.elevation) && platform::isDataNumber(level.backsight) &&
              platform::isDataNumber(level.foresight)))
            std::abort();
        if ((result == levelLineResult::malformed) == fault.empty())
            std::abort();
        trigLevelRec trig{};
        fault.clear();
        if ((parseTrigLevelLine(line, trig, fault) == levelLineResult::malformed) == fault.empty())
            std::abort();
    }
    return 0;
}
