// The supplemental control line reader: any line of any text format reads
// into a point whose coordinates are unset or data, or is refused naming
// what is wrong, never a crash.

#include "fuzz_input.hpp"
#include "input/supplemental_lines.hpp"
#include "platform/c_locale_text.hpp"

#include <cstdlib>

namespace {

bool unsetOrData(double value) {
    return !isSet(value) || platform::isDataNumber(value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    for (const std::string& line : fuzzinput::linesOf(fuzzinput::textOf(data, size)))
        for (const int format : {supplementalNez, supplementalLatLong, supplementalNezStdErrs}) {
            SupplementalLine read;
            if (readSupplementalLine(format, line, read).empty() &&
                !(unsetOrData(read.northing) && unsetOrData(read.easting) &&
                  unsetOrData(read.elevation)))
                std::abort();
        }
    return 0;
}
